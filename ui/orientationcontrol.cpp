#include "orientationcontrol.h"

#include "appsettings.h"

#include <QPushButton>

OrientationControl::OrientationControl(QPushButton *flipButton, QPushButton *rotateButton,
                                       const Orientation &initial, QObject *parent)
    : QObject(parent)
    , flipButton(flipButton)
    , rotateButton(rotateButton)
{
    // The stored values are shown, not written back.
    apply(initial, false);
    connect(flipButton, &QPushButton::toggled, this, [this](bool checked) {
        apply({checked, orientation.angle}, true);
    });
    connect(rotateButton, &QPushButton::clicked, this,
            [this] { apply(orientation.rotatedClockwise(), true); });
}

void OrientationControl::reset()
{
    apply(Orientation(), true);
}

void OrientationControl::apply(const Orientation &chosen, bool store)
{
    orientation = chosen;
    {
        const QSignalBlocker blocker(flipButton);
        flipButton->setChecked(chosen.mirrored);
    }
    rotateButton->setToolTip(
        tr("Rotate camera image 90° clockwise (currently %1°)").arg(chosen.angle));
    if (store)
        AppSettings::storeOrientation(chosen);
    emit changed(chosen);
}
