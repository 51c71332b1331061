#include "zoomgeometry.h"

#include <algorithm>

void ZoomGeometry::setSizes(QSizeF view, QSizeF picture)
{
    if (picture != pictureSize)
        middle = QPointF(picture.width() / 2, picture.height() / 2);
    viewSize = view;
    pictureSize = picture;
    clampCentre();
}

double ZoomGeometry::scale() const
{
    if (pictureSize.isEmpty())
        return 1.0;
    return factor * std::min(viewSize.width() / pictureSize.width(),
                             viewSize.height() / pictureSize.height());
}

void ZoomGeometry::zoomAbout(QPointF viewPoint, double newFactor)
{
    const QPointF fixed = toPicture(viewPoint);
    factor = std::clamp(newFactor, minZoom, maxZoom);
    const QPointF fromMiddle = viewPoint - QPointF(viewSize.width() / 2, viewSize.height() / 2);
    middle = fixed - fromMiddle / scale();
    clampCentre();
}

void ZoomGeometry::pan(QPointF delta)
{
    middle -= delta / scale();
    clampCentre();
}

void ZoomGeometry::oneToOne(double devicePixelRatio)
{
    const double fitted = scale() / factor;
    if (fitted > 0)
        zoomAbout(QPointF(viewSize.width() / 2, viewSize.height() / 2),
                  1.0 / (devicePixelRatio * fitted));
}

void ZoomGeometry::fit()
{
    factor = 1.0;
    middle = QPointF(pictureSize.width() / 2, pictureSize.height() / 2);
}

QTransform ZoomGeometry::toView() const
{
    const double s = scale();
    return QTransform::fromTranslate(-middle.x(), -middle.y()) * QTransform::fromScale(s, s) *
           QTransform::fromTranslate(viewSize.width() / 2, viewSize.height() / 2);
}

QPointF ZoomGeometry::toPicture(QPointF viewPoint) const
{
    return toView().inverted().map(viewPoint);
}

QRectF ZoomGeometry::pictureRect() const
{
    return toView().mapRect(QRectF(QPointF(), pictureSize));
}

void ZoomGeometry::clampCentre()
{
    const double s = scale();
    const auto clampAxis = [s](double centre, double picture, double view) {
        const double half = view / s / 2;
        return picture * s <= view ? picture / 2 : std::clamp(centre, half, picture - half);
    };
    middle = QPointF(clampAxis(middle.x(), pictureSize.width(), viewSize.width()),
                     clampAxis(middle.y(), pictureSize.height(), viewSize.height()));
}
