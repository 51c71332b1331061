#pragma once

#include "camerabase.h"
#include "sliderscale.h"

#include <QWidget>

#include <optional>

class CameraControlsPanel;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QSlider;
class QVBoxLayout;
class ScanComboBox;

// The left-hand panel of the window: camera and format choice, start and stop, the image
// adjustment sliders, the camera's own controls, the transform buttons, snapshot and record,
// and the logo. It only builds
// and lays out the widgets; the window wires them and decides their state.
class ControlPanel : public QWidget
{
    Q_OBJECT

public:
    explicit ControlPanel(QWidget *parent = nullptr);

    // Fits the logo into the given width, at most 40 pixels high.
    void updateLogo(int maxWidth);
    // Takes the running camera's brightness and contrast scales and shows its values, without
    // setting them back on the camera; a null camera forgets the scales.
    void showCameraAdjustment(CameraBase *camera);
    // A value the camera reports (brightness or contrast; anything else is ignored), shown as
    // the camera's automatic control when automatic.
    void followProperty(CameraBase::Property property, int value, bool automatic);
    // The camera's value for a slider position; none when the camera lacks the property.
    std::optional<int> deviceValue(CameraBase::Property property, int position) const;
    // Sliders and "Reset" take input while the camera runs, except a slider shown as automatic.
    void setAdjustable(bool live);
    // An arrow-key shortcut: five units on a slider. The window-wide shortcut takes the keys
    // even from a slider with the keyboard focus; that slider then moves by its own single
    // step, as the key would have moved it.
    static void stepSlider(QSlider *slider, int step);

    ScanComboBox *cameraSelector = nullptr;
    QComboBox *formatSelector = nullptr;
    QPushButton *startStopButton = nullptr;
    QPushButton *settingsButton = nullptr;
    QSlider *brightnessSlider = nullptr;
    QSlider *contrastSlider = nullptr;
    QLabel *brightnessValueLabel = nullptr;
    QLabel *contrastValueLabel = nullptr;
    QPushButton *resetButton = nullptr;
    QPushButton *flipButton = nullptr;
    QPushButton *rotateButton = nullptr;
    QPushButton *snapshotButton = nullptr;
    QPushButton *recordButton = nullptr;
    QPushButton *pauseButton = nullptr;
    QPushButton *publishButton = nullptr; // driven by the window's PublishController
    CameraControlsPanel *cameraControls = nullptr;
    QLabel *logoLabel = nullptr;
    QLabel *versionLabel = nullptr;
    QVBoxLayout *controlPanelLayout = nullptr;
    QGridLayout *adjustmentLayout = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    bool adjustable = false;
    std::optional<SliderScale> brightnessScale; // of the camera shown last
    std::optional<SliderScale> contrastScale;

    void showAdjustment(QSlider *slider, int position, bool automatic);
    void createWidgets();
    QWidget *createCameraGroup();
    QWidget *createAdjustmentGroup();
    QWidget *createCaptureGroup();
};
