#pragma once

#include "appsettings.h"
#include "camerabase.h"
#include "videooverlays.h"

#include <QString>
#include <QWidget>

#include <memory>

class BenchToolsController;
class CameraSelection;
class CaptureSession;
class ControlPanel;
class FullscreenView;
class HotplugFollower;
class LossBox;
class NotificationLabel;
class OrientationControl;
class QShortcut;
class PublishController;
class RecordingController;
class SoundController;
class SnapshotSaver;
class ViewFinder;

// The application's only window. It composes the control panel, the view finder with its
// overlays, the recording controller and the snapshot saver over one capture session, and
// derives the state of every control from the session's state in updateUIState(). GUI thread
// only; the session hands it the frames to show.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Selects a camera and format as if chosen in the lists (after a scan), and starts the
    // camera when asked to.
    void openCamera(int cameraIndex, int formatIndex, bool start);
    // Opens the fullscreen view if the camera runs.
    void enterFullscreen();

private slots:
    void onStartStopClicked();
    void onCameraSelectorAboutToShow();
    void onResetDefaults();
    void onShowSettings();

private:
    void adjustProperty(CameraBase::Property property, int position);
    friend class TestMainWindowAccess;

    void setupUI();
    void setupConnections();
    void addCaptureShortcuts(QWidget *target);
    void onRecordKey();
    void createCamera();
    void onFormatFailed(const QString &description);
    void rememberProperty(CameraBase::Property property);
    void onCameraReturned();

    void onFpsChanged(double fps);
    void displayFrame(const QImage &frame);
    void startLastCamera();
    void startCamera();
    void stopCamera(const QString &message);
    // The camera no longer runs: message where the picture was.
    void showStopped(const QString &message);
    void onCameraLost(const QString &reason, const QString &interruptedRecording);
    void updateUIState();

    void takeSnapshot();
    void showNotification(const QString &message, bool success, const QString &folder = {});
    void toggleRecording();
    void toggleFullscreen();
    void updateViewSize();

    ControlPanel *panel = nullptr;
    ViewFinder *videoLabel = nullptr;
    std::unique_ptr<VideoOverlays> overlays;
    FullscreenView *fullscreenLabel = nullptr; // top-level, no parent: deleted by the destructor
    NotificationLabel *notificationLabel = nullptr;
    CaptureSession *session = nullptr;        // made with the first scan
    CameraBase *camera = nullptr;             // the session's
    CameraSelection *selection = nullptr;     // with the session
    HotplugFollower *hotplug = nullptr;       // with the session
    RecordingController *recording = nullptr; // with the session
    SoundController *sound = nullptr;         // with the session
    PublishController *publishing = nullptr;  // with the session
    SnapshotSaver *snapshots = nullptr;
    OrientationControl *orientation = nullptr;
    AppSettings settings;
    LossBox *lossBox = nullptr;
    BenchToolsController *benchTools = nullptr;
};
