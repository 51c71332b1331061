#pragma once

#include "appsettings.h"

#include <QDialog>
#include <QString>

#include <functional>

class QCheckBox;
class QLineEdit;
class RecordingSettingsGroup;
class SoundSettingsGroup;

// The settings dialog: directories for recordings and snapshots, the options, how recordings
// are written, the sound of values.cameraId's recordings and the About text. It edits a copy of the
// values; the window applies them only when the dialog is accepted.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    // The dialog's fields start from values; values() gives them back with the fields' choices.
    explicit SettingsDialog(const AppSettings &values, QWidget *parent = nullptr);

    AppSettings values() const;

    // Runs the dialog over settings and stores what changed when it is accepted; resetOrientation
    // runs at once when "Reset to Defaults" is pressed. True when the FPS counter was switched.
    static bool edit(QWidget *parent, AppSettings &settings,
                     const std::function<void()> &resetOrientation);

    // The rich text of the About group.
    static QString aboutText();

signals:
    // "Reset to Defaults" was pressed: the dialog's fields are back to their defaults; the
    // window resets the picture orientation at once.
    void resetToDefaultsRequested();

private:
    QWidget *createInterfaceGroup(const AppSettings &values);
    QWidget *createDirectoryGroup(const AppSettings &values);
    QWidget *createAboutGroup();
    void chooseDirectory(QLineEdit *field, const QString &caption);
    void openDirectory(const QLineEdit *field);
    void resetToDefaults();

    QCheckBox *showFpsCheckBox = nullptr;
    QCheckBox *autoSaveCheckBox = nullptr;
    QCheckBox *startLastCameraCheckBox = nullptr;
    QLineEdit *recordingDirectoryEdit = nullptr;
    QLineEdit *snapshotDirectoryEdit = nullptr;
    QLineEdit *publishUrlEdit = nullptr;
    RecordingSettingsGroup *recordingGroup = nullptr;
    SoundSettingsGroup *soundGroup = nullptr;
    AppSettings initial;
};
