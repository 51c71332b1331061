#pragma once

#include "camerabase.h"
#include "controlprofiles.h"

#include <QWidget>

#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QSlider;
class QToolButton;

// The collapsible "Camera Controls" section: a row for each property the running camera supports
// (brightness and contrast have their sliders elsewhere), in the camera's own units and range,
// with an "Auto" box where the camera can control the property itself, and "Reset all"; below
// them the camera's named profiles and whether its values are kept. Every change goes to the
// camera at once; a slider under the camera's automatic control follows the camera and takes no
// input. GUI thread only.
class CameraControlsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit CameraControlsPanel(QWidget *parent = nullptr);

    // Builds the rows from the running camera and shows its values and the profiles kept under
    // cameraId; a null camera or one that does not run leaves the section empty.
    void showCamera(CameraBase *camera, const QString &cameraId);
    void clear();
    // A value the camera reports, shown without sending it back.
    void followProperty(CameraBase::Property property, int value, bool automatic);

    QToolButton *toggleButton = nullptr;
    QPushButton *resetAllButton = nullptr;
    QComboBox *profileSelector = nullptr;
    QPushButton *saveProfileButton = nullptr;
    QPushButton *loadProfileButton = nullptr;
    QPushButton *renameProfileButton = nullptr;
    QPushButton *deleteProfileButton = nullptr;
    QCheckBox *applyOnStartBox = nullptr;
    QCheckBox *keepValuesBox = nullptr;

signals:
    // The user changed the property (its value or automatic mode), also by loading a profile;
    // the camera has it already.
    void propertyChanged(CameraBase::Property property);
    // The user switched "Keep my values" for the camera shown.
    void keepValuesChanged(bool keep);

private:
    struct Row
    {
        CameraBase::PropertyRange range;
        QSlider *slider = nullptr; // or menu, for the power-line frequency
        QComboBox *menu = nullptr;
        QLabel *valueLabel = nullptr;
        QCheckBox *automatic = nullptr;
    };

    void addRow(const CameraBase::PropertyRange &range);
    QWidget *createProfileBox();
    void showProfiles(const QString &selected);
    void saveProfile();
    void loadProfile();
    void renameProfile();
    void deleteProfile();
    void showValues(const Row &row);
    void showValue(const Row &row, int value, bool automatic);
    void onValueEdited(const Row &row, int value);
    void onAutoEdited(const Row &row, bool automatic);
    void resetAll();
    static QString displayName(CameraBase::Property property);

    CameraBase *camera = nullptr;
    QWidget *content = nullptr;
    QGridLayout *rowsLayout = nullptr;
    QLabel *placeholder = nullptr;
    std::vector<Row> rows;
    std::vector<QWidget *> rowWidgets;
    QWidget *profileBox = nullptr;
    std::optional<ControlProfiles> profiles; // of the camera shown
};
