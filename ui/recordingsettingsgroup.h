#pragma once

#include "appsettings.h"

#include <QGroupBox>

class QComboBox;
class QSpinBox;

// The settings dialog's choices of how recordings are written: the format with what it costs,
// segments, time-lapse, and the limits that end a recording.
class RecordingSettingsGroup : public QGroupBox
{
    Q_OBJECT

public:
    explicit RecordingSettingsGroup(const AppSettings &values, QWidget *parent = nullptr);

    // Puts the group's choices into settings.
    void applyTo(AppSettings &settings) const;
    void resetToDefaults();

private:
    void show(const AppSettings &values);

    QComboBox *formatBox;
    QSpinBox *segmentBox;
    QSpinBox *timelapseBox;
    QSpinBox *maxSizeBox;
    QSpinBox *minFreeBox;
};
