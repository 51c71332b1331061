#pragma once

#include "overlaysettings.h"

#include <QCoreApplication>
#include <QSizeF>
#include <QTransform>

class QPainter;

// Draws the crosshair, the grid and the ruler of OverlaySettings over a picture of pictureSize
// pixels that toView maps into the painter's device; lines stay thin whatever the zoom. Used by
// the views and, with the identity, to burn the marks into a snapshot. Any thread.
class OverlayPainter
{
    Q_DECLARE_TR_FUNCTIONS(OverlayPainter)

public:
    static void paint(QPainter &painter, const OverlaySettings &overlays, QSizeF pictureSize,
                      const QTransform &toView);
    // The crosshair's point: the middle of the picture while none is set.
    static QPointF crosshairPoint(const OverlaySettings &overlays, QSizeF pictureSize);
};
