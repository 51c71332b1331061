#pragma once

#include <QImage>
#include <QSize>

// How the picture is turned before it is shown, saved or recorded: mirrored left to right, then
// rotated clockwise in steps of 90°. A plain value; apply() has no side effects.
struct Orientation
{
    bool mirrored = false;
    int angle = 0; // 0, 90, 180 or 270

    // Any stored angle as one the picture can take: reduced modulo 360, and 0 when it is not a
    // step of 90° (a hand-edited 45 must not tilt the picture or a recording's frame size).
    static int normalisedAngle(qint64 angle);

    Orientation rotatedClockwise() const;
    bool isIdentity() const { return !mirrored && angle == 0; }
    QImage apply(const QImage &frame) const;
    // The size of a frame of the given size once applied.
    QSize apply(const QSize &size) const;

    bool operator==(const Orientation &other) const
    {
        return mirrored == other.mirrored && angle == other.angle;
    }
};
