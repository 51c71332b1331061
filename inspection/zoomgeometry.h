#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QTransform>

// Where a picture lies in a view at a digital zoom of 1x (the whole picture fitted in) to 8x:
// which picture point is in the middle of the view, and how picture points map to the view's.
// Picture points are in the picture's own pixels, whatever size it is decoded at.
class ZoomGeometry
{
public:
    static constexpr double minZoom = 1.0;
    static constexpr double maxZoom = 8.0;

    void setSizes(QSizeF view, QSizeF picture);
    double zoom() const { return factor; }
    QPointF centre() const { return middle; }
    // View pixels per picture pixel.
    double scale() const;

    // Zooms to factor (clamped to 1x-8x) keeping the picture point under viewPoint where it is,
    // as far as the picture's edges allow.
    void zoomAbout(QPointF viewPoint, double newFactor);
    // Moves the picture by delta view pixels, as a drag does.
    void pan(QPointF delta);
    // One picture pixel on devicePixelRatio view pixels per device pixel (clamped to 1x-8x).
    void oneToOne(double devicePixelRatio);
    void fit();

    QTransform toView() const;
    QPointF toPicture(QPointF viewPoint) const;
    // The picture's rectangle in the view.
    QRectF pictureRect() const;

private:
    // Keeps the picture covering the view along each side it is larger than the view.
    void clampCentre();

    QSizeF viewSize;
    QSizeF pictureSize;
    double factor = 1.0;
    QPointF middle;
};
