#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRect>

#include <array>

// Measures of a picture for the focus and exposure aids, and the ruler's scale. Pure functions
// of their input, for any thread.
namespace ImageMeasures {

// Sharpness of the region: the variance of the 4-neighbour Laplacian of its grey values. A sharp
// picture has strong second derivatives at its edges, a blurred one weak ones. A region larger
// than maxSide on a side is measured on every n-th pixel, so the cost stays bounded; the figure
// then compares with others measured alike.
double sharpness(const QImage &image, QRect region, int maxSide = 480);

// Focus peaking: the pixels of image whose Laplacian exceeds threshold, at most maxPoints of
// them (spread evenly over the picture when there are more).
QList<QPoint> peakingPoints(const QImage &image, int threshold = 60, int maxPoints = 10000);

struct Histogram
{
    std::array<quint32, 256> luma{};
    std::array<quint32, 256> red{};
    std::array<quint32, 256> green{};
    std::array<quint32, 256> blue{};
    quint64 pixels = 0;
    double clippedDark = 0;  // share of pixels with every channel at 0
    double clippedLight = 0; // share of pixels with any channel at 255
};
// Of every step-th pixel of every step-th row.
Histogram histogram(const QImage &image, int step = 1);

// Millimetres per picture pixel from two points mm apart; 0 when the points coincide.
double millimetresPerPixel(QPointF a, QPointF b, double mm);
// A round length (1, 2 or 5 times a power of ten mm) whose bar is at most maxPixels long.
double roundRulerLength(double mmPerPixel, double maxPixels);

} // namespace ImageMeasures
