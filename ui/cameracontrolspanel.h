#pragma once

#include "camerabase.h"

#include <QWidget>

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
// with an "Auto" box where the camera can control the property itself, and "Reset all". Every
// change goes to the camera at once. GUI thread only.
class CameraControlsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit CameraControlsPanel(QWidget *parent = nullptr);

    // Builds the rows from the running camera and shows its values; a null camera or one that
    // does not run leaves the section empty.
    void showCamera(CameraBase *camera);
    void clear();

    QToolButton *toggleButton = nullptr;
    QPushButton *resetAllButton = nullptr;

signals:
    // The user changed the property (its value or automatic mode); the camera has it already.
    void propertyChanged(CameraBase::Property property);

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
    void showValues(const Row &row);
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
};
