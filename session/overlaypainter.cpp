#include "overlaypainter.h"

#include "imagemeasures.h"

#include <QLineF>
#include <QPainter>

namespace {

const QColor markColour(255, 64, 64);

// A line easy to see on light and dark pictures alike: a dark edge under a bright line.
void drawLine(QPainter &painter, const QLineF &line)
{
    painter.setPen(QPen(QColor(0, 0, 0, 160), 3));
    painter.drawLine(line);
    painter.setPen(QPen(markColour, 1));
    painter.drawLine(line);
}

void drawLabel(QPainter &painter, QPointF at, const QString &text)
{
    const QRectF box = painter.fontMetrics().boundingRect(text).adjusted(-3, -1, 3, 1);
    const QRectF placed = box.translated(at - box.bottomLeft() + QPointF(4, -4));
    painter.fillRect(placed, QColor(0, 0, 0, 160));
    painter.setPen(Qt::white);
    painter.drawText(placed, Qt::AlignCenter, text);
}

} // namespace

QPointF OverlayPainter::crosshairPoint(const OverlaySettings &overlays, QSizeF pictureSize)
{
    if (overlays.crosshairAt.x() < 0 || overlays.crosshairAt.y() < 0)
        return QPointF(int(pictureSize.width() / 2), int(pictureSize.height() / 2));
    return overlays.crosshairAt;
}

void OverlayPainter::paint(QPainter &painter, const OverlaySettings &overlays, QSizeF pictureSize,
                           const QTransform &toView)
{
    if (!overlays.anyShown() || pictureSize.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRectF picture = toView.mapRect(QRectF(QPointF(), pictureSize));
    if (overlays.grid) {
        for (int i = 1; i < overlays.gridColumns; ++i) {
            const double x = picture.left() + picture.width() * i / overlays.gridColumns;
            drawLine(painter, QLineF(x, picture.top(), x, picture.bottom()));
        }
        for (int i = 1; i < overlays.gridRows; ++i) {
            const double y = picture.top() + picture.height() * i / overlays.gridRows;
            drawLine(painter, QLineF(picture.left(), y, picture.right(), y));
        }
    }
    if (overlays.crosshair) {
        const QPointF pixel = crosshairPoint(overlays, pictureSize);
        // Through the middle of the pixel.
        const QPointF at = toView.map(pixel + QPointF(0.5, 0.5));
        drawLine(painter, QLineF(picture.left(), at.y(), picture.right(), at.y()));
        drawLine(painter, QLineF(at.x(), picture.top(), at.x(), picture.bottom()));
        drawLabel(painter, at, QStringLiteral("%1, %2").arg(pixel.x()).arg(pixel.y()));
    }
    if (overlays.ruler && overlays.rulerFrom != overlays.rulerTo) {
        const QLineF line(toView.map(overlays.rulerFrom), toView.map(overlays.rulerTo));
        drawLine(painter, line);
        const double mmPerPixel = overlays.millimetresPerPixel();
        if (mmPerPixel > 0) {
            drawLabel(painter, line.center(), tr("%1 mm").arg(overlays.rulerMillimetres));
            // A scale bar of a round length at the bottom left, a quarter of the picture wide.
            const double pixelsPerPictureUnit = picture.width() / pictureSize.width();
            const double mm = ImageMeasures::roundRulerLength(mmPerPixel, pictureSize.width() / 4);
            const double length = mm / mmPerPixel * pixelsPerPictureUnit;
            const QPointF start = picture.bottomLeft() + QPointF(16, -16);
            drawLine(painter, QLineF(start, start + QPointF(length, 0)));
            drawLabel(painter, start, tr("%1 mm").arg(mm));
        }
    }
    painter.restore();
}
