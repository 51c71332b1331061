#pragma once

#include "camerabase.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

class FrameHandOver;
class QComboBox;
class QGridLayout;
class QLabel;
class QMessageBox;
class QPushButton;
class QShortcut;
class QSlider;
class QTimer;
class QVBoxLayout;
class ScanComboBox;
class VideoWriterThread;

// The application's only window: camera and format choice, the live picture with its overlays,
// image adjustment, snapshots, recording, the fullscreen view and the settings dialog.
// Everything here runs on the GUI thread; frames arrive from the camera's capture thread through
// a FrameHandOver.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void onCameraSelected(int index);
    void onFormatSelected(int index);
    void onFormatChanged(CameraBase::CameraFormat format);
    void onStartStopClicked();
    void updateBrightness(int value);
    void updateContrast(int value);
    void onCameraSelectorAboutToShow();
    void onResetDefaults();
    void onVideoWriterError(QString error);
    void onVideoWritingStopped();
    void onShowSettings();

private:
    friend class TestMainWindowAccess;

    // Construction steps.
    void loadSettings();
    void setupRecording();
    void setupNotification();
    void setupUI();
    void setupControlPanel();
    void setupConnections();
    void setupShortcuts();
    void updateLogo(int maxWidth);

    // Camera and live view.
    void createCamera();
    void onFrameAvailable();
    void onFpsAvailable();
    void displayFrame(const QImage &frame);
    QImage transformFrame(const QImage &frame) const;
    void onFlipToggled(bool checked);
    void onRotateClicked();
    void updateRotateTooltip();
    void onCameraDisconnected(QString reason);
    void showDisconnectionBox(const QString &title, const QString &text);
    void showNoFeed(const QString &text);
    void updateUIState();
    void syncAdjustmentControls();

    // Snapshots, recording, fullscreen.
    void takeSnapshot();
    void showNotification(const QString &message, bool success);
    void toggleRecording();
    bool startRecording(const QString &path, const QImage &firstFrame);
    void endRecordingControls(bool resetTimeText);
    void updateRecordingTime();
    void finishRecordingOnDestruction();
    void toggleFullscreen();
    void createFullscreenView();
    void resetDefaultsFromDialog();
    void stepSlider(QSlider *slider, int step);

    QLabel *videoLabel = nullptr;
    QLabel *logoLabel = nullptr;
    QLabel *versionLabel = nullptr;
    ScanComboBox *cameraSelector = nullptr;
    QComboBox *formatSelector = nullptr;
    QPushButton *startStopButton = nullptr;
    QPushButton *snapshotButton = nullptr;
    QPushButton *recordButton = nullptr;
    QPushButton *fullscreenButton = nullptr;
    QPushButton *settingsButton = nullptr;
    QSlider *brightnessSlider = nullptr;
    QSlider *contrastSlider = nullptr;
    QLabel *brightnessValueLabel = nullptr;
    QLabel *contrastValueLabel = nullptr;
    QPushButton *resetButton = nullptr;
    QPushButton *flipButton = nullptr;
    QPushButton *rotateButton = nullptr;
    QLabel *fpsLabel = nullptr;
    QLabel *recordingTimeLabel = nullptr;
    QLabel *recordingIndicator = nullptr;
    QLabel *fullscreenLabel = nullptr; // top-level, no parent: deleted by the destructor
    QShortcut *snapshotShortcut = nullptr;
    QShortcut *recordShortcut = nullptr;
    QShortcut *brightnessUpShortcut = nullptr;
    QShortcut *brightnessDownShortcut = nullptr;
    QShortcut *contrastUpShortcut = nullptr;
    QShortcut *contrastDownShortcut = nullptr;
    QLabel *notificationLabel = nullptr;
    QTimer *notificationTimer = nullptr;
    QVBoxLayout *mainLayout = nullptr;
    QVBoxLayout *controlPanelLayout = nullptr;
    QGridLayout *adjustmentLayout = nullptr;
    CameraBase *camera = nullptr;
    bool cameraRunning = false;
    VideoWriterThread *writerThread = nullptr;
    bool isRecording = false;
    QString currentRecordingPath;
    double recordingFps = 30.0;
    QTimer *recordingTimer = nullptr;
    QElapsedTimer recordingElapsed;
    int blinkCounter = 0;
    QString recordingDirectory;
    QString snapshotDirectory;
    bool showFpsCounter = true;
    bool autoSaveWithDefaultName = true;
    bool horizontalFlip = false;
    int rotationAngle = 0;

    FrameHandOver *handOver = nullptr;
    // The open "Camera Disconnected" box, so that a repeated report of the same loss does not
    // stack a second one on top of it.
    QPointer<QMessageBox> disconnectedBox;
};

// Recording time as shown in the overlay: minutes and seconds, each at least two digits.
QString formatRecordingTime(qint64 elapsedMs);
