#include "mainwindow.h"

#include "cameracontrolspanel.h"
#include "cameramessages.h"
#include "cameraselection.h"
#include "controlpanel.h"
#include "devicewatcher.h"
#include "framehandover.h"
#include "fullscreenview.h"
#include "hotplugfollower.h"
#include "mainsplitter.h"
#include "notificationlabel.h"
#include "openpnpcamera.h"
#include "orientationcontrol.h"
#include "recordingcontroller.h"
#include "scancombobox.h"
#include "settingsdialog.h"
#include "snapshotsaver.h"
#include "videowriterthread.h"
#include "viewfinder.h"
#include "windowshortcuts.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent)
    , settings(AppSettings::load())
{
    setWindowTitle(tr("Ostrel Camera Viewer"));
    if (!restoreGeometry(AppSettings::windowGeometry()))
        resize(1200, 800);
    setupUI();
    recording =
        new RecordingController(overlays->recordingTimeLabel, overlays->recordingIndicator, this);
    snapshots = new SnapshotSaver(this);
    notificationLabel = new NotificationLabel(this);
    orientation =
        new OrientationControl(panel->flipButton, panel->rotateButton, settings.orientation, this);
    panel->cameraSelector->addItem(tr("Click to scan for cameras..."));
    setupConnections();
    addCaptureShortcuts(this);
    WindowShortcuts::addAdjustmentKeys(this, panel->brightnessSlider, panel->contrastSlider);
    // The camera started last is selected again (not started) once the window is up, unless a
    // camera has been chosen by then.
    if (!AppSettings::lastCameraId().isEmpty())
        QTimer::singleShot(0, this, [this] {
            if (!camera)
                onCameraSelectorAboutToShow();
        });
}

MainWindow::~MainWindow()
{
    AppSettings::storeWindowGeometry(saveGeometry());
    if (cameraRunning)
        camera->stopCapture();
    // The recording controller, a child, finishes a running file when it is deleted.
    recording->stop();
    delete fullscreenLabel;
}

void MainWindow::setupUI()
{
    panel = new ControlPanel;
    videoLabel = new ViewFinder(tr("No camera feed"));
    videoLabel->setObjectName(QStringLiteral("videoLabel"));
    videoLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    videoLabel->setMinimumSize(640, 480);
    videoLabel->setAccessibleName(tr("Camera picture"));
    overlays = std::make_unique<VideoOverlays>(videoLabel);

    auto *mainLayout = new QVBoxLayout(this);
    mainLayout->setObjectName(QStringLiteral("mainLayout"));
    mainLayout->addWidget(new MainSplitter(panel, videoLabel));
}

void MainWindow::setupConnections()
{
    connect(panel->cameraSelector, &ScanComboBox::aboutToShowPopup, this,
            &MainWindow::onCameraSelectorAboutToShow);
    connect(panel->startStopButton, &QPushButton::clicked, this, &MainWindow::onStartStopClicked);
    connect(panel->snapshotButton, &QPushButton::clicked, this, &MainWindow::takeSnapshot);
    connect(panel->recordButton, &QPushButton::clicked, this, &MainWindow::toggleRecording);
    connect(overlays->fullscreenButton, &QPushButton::clicked, this, &MainWindow::toggleFullscreen);
    connect(panel->resetButton, &QPushButton::clicked, this, &MainWindow::onResetDefaults);
    connect(panel->settingsButton, &QPushButton::clicked, this, &MainWindow::onShowSettings);
    connect(panel->brightnessSlider, &QSlider::valueChanged, this, &MainWindow::updateBrightness);
    connect(panel->contrastSlider, &QSlider::valueChanged, this, &MainWindow::updateContrast);
    connect(panel->cameraControls, &CameraControlsPanel::propertyChanged, this,
            &MainWindow::rememberProperty);

    VideoWriterThread *writer = recording->writer();
    connect(writer, &VideoWriterThread::errorOccurred, recording,
            &RecordingController::handleWriterError);
    // Only once the thread has ended is the file closed and the writer ready for the next one.
    connect(writer, &QThread::finished, recording, &RecordingController::handleWriterFinished);
    connect(recording, &RecordingController::stateChanged, this, &MainWindow::updateUIState);
    connect(videoLabel, &ViewFinder::doubleClicked, this, &MainWindow::toggleFullscreen);
    connect(recording, &RecordingController::notificationRequested, this,
            &MainWindow::showNotification);
    connect(snapshots, &SnapshotSaver::notificationRequested, this, &MainWindow::showNotification);
}

// Snapshot, record and fullscreen keys, for the window and for the fullscreen view alike.
void MainWindow::addCaptureShortcuts(QWidget *target)
{
    WindowShortcuts::addCaptureKeys(
        target, [this] { takeSnapshot(); }, [this] { onRecordKey(); },
        [this] { toggleFullscreen(); });
}

void MainWindow::onRecordKey()
{
    if (!panel->recordButton->isEnabled())
        return;
    panel->recordButton->setChecked(!panel->recordButton->isChecked());
    toggleRecording();
}

void MainWindow::openCamera(int cameraIndex, int formatIndex, bool start)
{
    onCameraSelectorAboutToShow();
    panel->cameraSelector->setCurrentIndex(cameraIndex);
    if (formatIndex >= 0)
        panel->formatSelector->setCurrentIndex(formatIndex);
    if (start && selection->hasCamera())
        startCamera();
}

void MainWindow::enterFullscreen()
{
    if (!fullscreenLabel || !fullscreenLabel->isVisible())
        toggleFullscreen();
}

void MainWindow::createCamera()
{
    camera = new OpenPNPCamera(this);
    // Created after the camera so that it outlives it: the camera's destructor joins the capture
    // thread, which may still be inside a callback.
    handOver = new FrameHandOver(this);
    FrameHandOver *target = handOver;
    camera->setFrameCallback([target](const QImage &frame) { target->postFrame(frame); });
    camera->setFpsCallback([target](double fps) { target->postFps(fps); });
    connect(handOver, &FrameHandOver::frameAvailable, this, &MainWindow::onFrameAvailable);
    connect(handOver, &FrameHandOver::fpsAvailable, this, &MainWindow::onFpsAvailable);
    connect(camera, &CameraBase::cameraDisconnected, this, &MainWindow::onCameraDisconnected);

    selection = new CameraSelection(panel->cameraSelector, panel->formatSelector, camera, this);
    connect(selection, &CameraSelection::cameraChanging, this, [this] {
        if (cameraRunning)
            stopCamera(tr("No camera feed"));
    });
    connect(selection, &CameraSelection::cameraOpened, this, &MainWindow::updateUIState);
    connect(selection, &CameraSelection::formatFailed, this, &MainWindow::onFormatFailed);
    hotplug = new HotplugFollower(new DeviceWatcher(this), camera, selection, this);
    connect(hotplug, &HotplugFollower::rescanRequested, this,
            &MainWindow::onCameraSelectorAboutToShow);
    // Queued: the scan that finds the camera may run inside the camera's own report of the loss,
    // which stops the camera once it returns.
    connect(hotplug, &HotplugFollower::cameraReturned, this, &MainWindow::onCameraReturned,
            Qt::QueuedConnection);
    connect(selection, &CameraSelection::scanned, this, [this](bool found) {
        if (!found || videoLabel->message() == CameraMessages::noCamerasHelp())
            videoLabel->showMessage(found ? tr("No camera feed") : CameraMessages::noCamerasHelp());
    });
}

void MainWindow::onCameraReturned()
{
    if (cameraRunning || !selection->hasCamera())
        return;
    showNotification(tr("Camera reconnected: %1").arg(panel->cameraSelector->currentText()), true);
    startCamera();
}

void MainWindow::onCameraSelectorAboutToShow()
{
    if (!camera)
        createCamera();
    selection->scan();
    updateUIState();
}

void MainWindow::rememberProperty(CameraBase::Property property)
{
    if (cameraRunning)
        AppSettings::storeCameraProperty(selection->currentCameraId(), camera, property);
}

// The camera could not switch and has stopped: say so instead of freezing on the last picture.
void MainWindow::onFormatFailed(const QString &description)
{
    stopCamera(tr("No camera feed"));
    const CameraBase::CameraFormat format = camera->currentFormat();
    CameraMessages::showError(this, tr("Failed to switch the camera to %1.").arg(description),
                              camera->lastFailure(), QSize(format.width, format.height));
}

void MainWindow::onFrameAvailable()
{
    const QImage frame = handOver->takeFrame();
    // A frame that was on its way when the camera stopped or was lost must not replace the
    // stop text.
    if (cameraRunning && !frame.isNull())
        displayFrame(frame);
}

void MainWindow::onFpsAvailable()
{
    overlays->fpsLabel->setText(tr("%1 fps").arg(handOver->takeFps(), 0, 'f', 1));
}

void MainWindow::displayFrame(const QImage &frame)
{
    videoLabel->setFrame(frame, orientation->current());
    if (fullscreenLabel && fullscreenLabel->isVisible())
        fullscreenLabel->setFrame(frame, orientation->current());
}

void MainWindow::onStartStopClicked()
{
    if (!camera)
        return;
    hotplug->forget();
    if (cameraRunning)
        stopCamera(tr("No camera feed"));
    else
        startCamera();
}

void MainWindow::startCamera()
{
    if (camera->startCapture()) {
        cameraRunning = true;
        const QString id = selection->currentCameraId();
        AppSettings::restoreCameraProperties(id, camera);
        AppSettings::storeLastCameraId(id);
        panel->showAdjustment(camera->brightness(), camera->contrast());
        panel->cameraControls->showCamera(camera);
    } else {
        const CameraBase::CameraFormat format = camera->currentFormat();
        CameraMessages::showError(this, CameraMessages::startFailed(camera->lastFailure()),
                                  camera->lastFailure(), QSize(format.width, format.height));
    }
    updateUIState();
}

// Ends a running recording (its file is finished in the background), stops the camera and
// shows message where the picture was.
void MainWindow::stopCamera(const QString &message)
{
    recording->stop();
    camera->stopCapture();
    showStopped(message);
}

void MainWindow::showStopped(const QString &message)
{
    cameraRunning = false;
    handOver->clear();
    panel->cameraControls->clear();
    videoLabel->showMessage(message);
    updateUIState();
}

void MainWindow::onCameraDisconnected(QString reason)
{
    // Only a running camera can be lost; a report that comes after it has stopped is the same
    // loss again.
    if (!cameraRunning)
        return;

    hotplug->cameraLost(selection->currentCameraId());
    const bool wasRecording = recording->state() == RecordingController::State::Recording;
    const QString recordingPath = recording->path();
    recording->stop();
    showStopped(tr("Camera disconnected"));

    const QString cause = CameraMessages::cause(camera->lastFailure());
    if (wasRecording) {
        showDisconnectionBox(tr("Recording Interrupted"), cause,
                             tr("Video recording was interrupted due to camera "
                                "disconnection.\nThe partial recording has been saved to:\n") +
                                 recordingPath);
        return;
    }
    showDisconnectionBox(tr("Camera Disconnected"), cause,
                         tr("The camera has been disconnected: ") + reason +
                             tr("\nPlease reconnect it and try again."));
    onCameraSelectorAboutToShow();
}

// Nothing waits for the box: a camera that returns while it is open starts again at once, and
// a later loss rewrites the open box instead of stacking another one on it.
void MainWindow::showDisconnectionBox(const QString &title, const QString &cause,
                                      const QString &text)
{
    if (!disconnectedBox) {
        disconnectedBox = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, this);
        connect(disconnectedBox, &QDialog::finished, disconnectedBox, &QObject::deleteLater);
        disconnectedBox->open();
    }
    disconnectedBox->setWindowTitle(title);
    disconnectedBox->setText(text);
    disconnectedBox->setInformativeText(cause);
}

void MainWindow::updateUIState()
{
    using State = RecordingController::State;
    const State recordingState = recording->state();
    const bool hasCamera = selection && selection->hasCamera();
    for (QWidget *control :
         QList<QWidget *>{panel->brightnessSlider, panel->contrastSlider, panel->resetButton,
                          panel->snapshotButton, overlays->fullscreenButton})
        control->setEnabled(cameraRunning);

    recording->updateRecordButton(panel->recordButton, cameraRunning);

    panel->startStopButton->setText(cameraRunning ? tr("Stop Camera") : tr("Start Camera"));
    panel->startStopButton->setEnabled(cameraRunning || hasCamera);
    panel->cameraSelector->setEnabled(!cameraRunning);
    panel->formatSelector->setEnabled(recordingState == State::Idle && hasCamera);
    panel->flipButton->setEnabled(recordingState == State::Idle && cameraRunning);
    panel->rotateButton->setEnabled(recordingState == State::Idle && cameraRunning);
    overlays->fpsLabel->setVisible(cameraRunning && settings.showFpsCounter);
    if (fullscreenLabel) {
        fullscreenLabel->setRecording(recordingState == State::Recording);
        if (!cameraRunning)
            fullscreenLabel->hide();
    }
}

// The panel shows the values; the camera takes them while it runs.
void MainWindow::updateBrightness(int value)
{
    if (cameraRunning && camera)
        camera->setBrightness(value - 50);
    rememberProperty(CameraBase::Property::Brightness);
}

void MainWindow::updateContrast(int value)
{
    if (cameraRunning && camera)
        camera->setContrast(value / 50.0);
    rememberProperty(CameraBase::Property::Contrast);
}

void MainWindow::onResetDefaults()
{
    if (!cameraRunning || !camera)
        return;
    camera->resetBrightness();
    camera->resetContrast();
    rememberProperty(CameraBase::Property::Brightness);
    rememberProperty(CameraBase::Property::Contrast);
    panel->showAdjustment(camera->brightness(), camera->contrast());
}

void MainWindow::takeSnapshot()
{
    if (cameraRunning && camera)
        snapshots->take(this, camera, settings, orientation->current());
}

void MainWindow::showNotification(const QString &message, bool success, const QString &folder)
{
    notificationLabel->showMessage(message, success, videoLabel->geometry(), folder);
}

void MainWindow::toggleRecording()
{
    if (!cameraRunning || !camera)
        return;
    if (panel->recordButton->isChecked())
        startRecording();
    else
        recording->stop();
    updateUIState();
}

void MainWindow::startRecording()
{
    const QString path = RecordingController::choosePath(this, settings);
    // The camera may have been lost while the dialog was open.
    if (path.isEmpty() || !cameraRunning)
        return;
    const QImage frame = camera->latestFrame();
    if (frame.isNull()) {
        showNotification(tr("No camera frame available"), false);
        return;
    }
    if (!recording->start(path, frame, camera->currentFormat().fps, orientation->current(), camera))
        showNotification(tr("Recording start failed"), false);
}

void MainWindow::toggleFullscreen()
{
    if (!cameraRunning || !camera)
        return;
    if (!fullscreenLabel) {
        fullscreenLabel = new FullscreenView;
        addCaptureShortcuts(fullscreenLabel);
        connect(fullscreenLabel, &FullscreenView::visibilityChanged, this, [this](bool visible) {
            overlays->fullscreenButton->setToolTip(visible ? tr("Exit fullscreen (ESC)")
                                                           : tr("Toggle fullscreen camera view"));
        });
    }
    fullscreenLabel->setRecording(recording->state() == RecordingController::State::Recording);
    if (fullscreenLabel->isVisible())
        fullscreenLabel->hide();
    else
        fullscreenLabel->enter(orientation->current().apply(camera->latestFrame()));
}

void MainWindow::onShowSettings()
{
    // The orientation part of "Reset to Defaults" takes effect at once, even if the dialog is
    // then cancelled; a running recording keeps the orientation it started with.
    if (SettingsDialog::edit(this, settings, [this] { orientation->reset(); }))
        updateUIState();
}
