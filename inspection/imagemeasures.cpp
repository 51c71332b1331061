#include "imagemeasures.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

namespace ImageMeasures {

namespace {

// The grey values (Rec. 601 weights) of every step-th pixel of every step-th row of the region,
// read straight from the picture's pixels: no copy and no conversion of the whole frame.
QImage greyOf(const QImage &image, QRect region, int step)
{
    region = region.intersected(image.rect());
    step = std::max(step, 1);
    const bool packed = image.format() == QImage::Format_RGB888;
    const bool rgb32 = image.format() == QImage::Format_RGB32 ||
                       image.format() == QImage::Format_ARGB32 ||
                       image.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage source = packed || rgb32 ? image : image.convertToFormat(QImage::Format_RGB32);
    QImage grey(region.width() / step, region.height() / step, QImage::Format_Grayscale8);
    const auto luma = [](int r, int g, int b) {
        return uchar((77 * r + 150 * g + 29 * b) >> 8);
    };
    for (int y = 0; y < grey.height(); ++y) {
        const uchar *in = source.constScanLine(region.top() + y * step);
        uchar *out = grey.scanLine(y);
        for (int x = 0; x < grey.width(); ++x) {
            const int column = region.left() + x * step;
            if (packed) {
                const uchar *pixel = in + 3 * column;
                out[x] = luma(pixel[0], pixel[1], pixel[2]);
            } else {
                const QRgb pixel = reinterpret_cast<const QRgb *>(in)[column];
                out[x] = luma(qRed(pixel), qGreen(pixel), qBlue(pixel));
            }
        }
    }
    return grey;
}

// Above this width, peaking looks at every second pixel.
constexpr int maxPeakingWidth = 800;

inline int laplacian(const uchar *above, const uchar *row, const uchar *below, int x)
{
    return 4 * row[x] - row[x - 1] - row[x + 1] - above[x] - below[x];
}

} // namespace

double sharpness(const QImage &image, QRect region, int maxSide)
{
    const int side = std::max(region.width(), region.height());
    const QImage grey = greyOf(image, region, (side + maxSide - 1) / std::max(maxSide, 1));
    if (grey.width() < 3 || grey.height() < 3)
        return 0;
    double sum = 0;
    double squares = 0;
    const int width = grey.width(), height = grey.height();
    for (int y = 1; y + 1 < height; ++y) {
        const uchar *above = grey.constScanLine(y - 1);
        const uchar *row = grey.constScanLine(y);
        const uchar *below = grey.constScanLine(y + 1);
        for (int x = 1; x + 1 < width; ++x) {
            const double value = laplacian(above, row, below, x);
            sum += value;
            squares += value * value;
        }
    }
    const double count = double(width - 2) * double(height - 2);
    const double mean = sum / count;
    return squares / count - mean * mean;
}

QList<QPoint> peakingPoints(const QImage &image, int threshold, int maxPoints)
{
    // Wide pictures are looked at on every second pixel of every second row: a quarter of the
    // cost, and marks as fine as a screen shows them.
    const int step = image.width() > maxPeakingWidth ? 2 : 1;
    const QImage grey = greyOf(image, image.rect(), step);
    QList<QPoint> points;
    const int width = grey.width(), height = grey.height();
    for (int y = 1; y + 1 < height; ++y) {
        const uchar *above = grey.constScanLine(y - 1);
        const uchar *row = grey.constScanLine(y);
        const uchar *below = grey.constScanLine(y + 1);
        for (int x = 1; x + 1 < width; ++x) {
            if (std::abs(laplacian(above, row, below, x)) > threshold)
                points.append(QPoint(x * step, y * step));
        }
    }
    if (points.size() <= maxPoints)
        return points;
    QList<QPoint> spread;
    spread.reserve(maxPoints);
    for (qsizetype i = 0; i < maxPoints; ++i)
        spread.append(points.at(i * points.size() / maxPoints));
    return spread;
}

Histogram histogram(const QImage &image, int step)
{
    Histogram result;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    step = std::max(step, 1);
    quint64 dark = 0;
    quint64 light = 0;
    const int width = rgb.width(), height = rgb.height();
    for (int y = 0; y < height; y += step) {
        const auto *row = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < width; x += step) {
            const int r = qRed(row[x]), g = qGreen(row[x]), b = qBlue(row[x]);
            ++result.red[r];
            ++result.green[g];
            ++result.blue[b];
            // Rec. 601 weights, in integers.
            ++result.luma[(299 * r + 587 * g + 114 * b + 500) / 1000];
            dark += (r | g | b) == 0;
            light += r == 255 || g == 255 || b == 255;
            ++result.pixels;
        }
    }
    if (result.pixels > 0) {
        result.clippedDark = double(dark) / double(result.pixels);
        result.clippedLight = double(light) / double(result.pixels);
    }
    return result;
}

double millimetresPerPixel(QPointF a, QPointF b, double mm)
{
    const double pixels = QLineF(a, b).length();
    return pixels > 0 ? mm / pixels : 0;
}

double roundRulerLength(double mmPerPixel, double maxPixels)
{
    if (!(mmPerPixel > 0) || !(maxPixels > 0))
        return 0;
    const double most = mmPerPixel * maxPixels;
    const double power = std::pow(10.0, std::floor(std::log10(most)));
    for (double step : {5.0, 2.0, 1.0}) {
        if (step * power <= most)
            return step * power;
    }
    return power;
}

} // namespace ImageMeasures
