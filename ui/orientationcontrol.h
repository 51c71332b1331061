#pragma once

#include "orientation.h"

#include <QObject>

class QPushButton;

// The mirror and rotate buttons and the orientation they choose, stored the moment it changes.
// GUI thread only.
class OrientationControl : public QObject
{
    Q_OBJECT

public:
    OrientationControl(QPushButton *flipButton, QPushButton *rotateButton,
                       const Orientation &initial, QObject *parent = nullptr);

    Orientation current() const { return orientation; }
    // Back to upright and unmirrored, stored.
    void reset();

signals:
    void changed(const Orientation &orientation);

private:
    void apply(const Orientation &chosen, bool store);

    QPushButton *flipButton;
    QPushButton *rotateButton;
    Orientation orientation;
};
