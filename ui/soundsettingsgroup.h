#pragma once

#include "appsettings.h"
#include "audiosourceinfo.h"

#include <QGroupBox>

class AudioSourceScanner;
class QComboBox;
class QLabel;

// The settings dialog's choice of sound: where the camera's recordings take it from (none, the
// camera's own microphone, the default source or a named one, as the sound server offers them)
// and its codec in Matroska and MP4 files.
class SoundSettingsGroup : public QGroupBox
{
    Q_OBJECT

public:
    // cameraUsbPath: the camera's USB device folder below /sys, to find its microphone; empty
    // when unknown.
    SoundSettingsGroup(const AppSettings &values, const QString &cameraUsbPath,
                       QWidget *parent = nullptr);

    void applyTo(AppSettings &settings) const;
    void resetToDefaults();

private:
    void showSources(const AudioSourceList &list, const QString &error);
    void select(const QString &choice);

    QString cameraUsbPath;
    QComboBox *sourceBox;
    QComboBox *codecBox;
    QLabel *serverNote;
    AudioSourceScanner *scanner;
};
