#include "orientation.h"

#include <QTransform>

int Orientation::normalisedAngle(qint64 angle)
{
    const qint64 reduced = ((angle % 360) + 360) % 360;
    return reduced % 90 == 0 ? int(reduced) : 0;
}

Orientation Orientation::rotatedClockwise() const
{
    return {mirrored, normalisedAngle(qint64(angle) + 90)};
}

QImage Orientation::apply(const QImage &frame) const
{
    QImage image = frame;
    if (mirrored)
        image = image.mirrored(true, false);
    if (angle != 0)
        image = image.transformed(QTransform().rotate(angle), Qt::FastTransformation);
    return image;
}

QSize Orientation::apply(const QSize &size) const
{
    return angle == 90 || angle == 270 ? size.transposed() : size;
}
