#pragma once

#include <QPointF>
#include <QString>

// The marks drawn over one camera's picture, remembered per camera. Points are in the pixels of
// the picture as shown (turned and mirrored).
struct OverlaySettings
{
    bool crosshair = false;
    QPointF crosshairAt{-1, -1}; // negative: the middle of the picture
    bool grid = false;
    int gridColumns = 3;
    int gridRows = 3;
    bool ruler = false;
    QPointF rulerFrom;
    QPointF rulerTo;
    double rulerMillimetres = 0; // the known distance between the two points; 0: not set
    bool burnIntoSnapshots = false;

    bool anyShown() const { return crosshair || grid || ruler; }
    // Millimetres per picture pixel of the ruler; 0 while not set.
    double millimetresPerPixel() const;

    static OverlaySettings load(const QString &cameraId);
    void save(const QString &cameraId) const;
};
