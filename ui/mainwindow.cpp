#include "mainwindow.h"

#include "benchtoolscontroller.h"
#include "cameracontrolspanel.h"
#include "cameraerrorbox.h"
#include "cameramessages.h"
#include "cameraselection.h"
#include "capturesession.h"
#include "controlkeeper.h"
#include "controlpanel.h"
#include "devicewatcher.h"
#include "fullscreenview.h"
#include "hotplugfollower.h"
#include "levelmeter.h"
#include "lossbox.h"
#include "mainsplitter.h"
#include "notificationlabel.h"
#include "openpnpcamera.h"
#include "orientationcontrol.h"
#include "panelscrollarea.h"
#include "publishcontroller.h"
#include "recordingcontroller.h"
#include "remoteserver.h"
#include "scancombobox.h"
#include "settingsdialog.h"
#include "snapshotsaver.h"
#include "soundcontroller.h"
#include "viewfinder.h"
#include "windowshortcuts.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent)
    , settings(AppSettings::load())
{
    setWindowTitle(tr("Ostrel Camera Viewer"));
    if (!restoreGeometry(AppSettings::windowGeometry()))
        resize(QSize(1200, 800).boundedTo(screen()->availableSize()));
    setupUI();
    session = new CaptureSession(this);
    session->setOrientation(settings.orientation);
    updateViewSize();
    recording =
        new RecordingController(session->recorder(), overlays->recordingTimeLabel,
                                overlays->recordingIndicator, overlays->recordingDetailLabel, this);
    recording->setPauseButton(panel->pauseButton);
    sound = new SoundController(session, overlays->levelMeter, this);
    snapshots = new SnapshotSaver(session, this);
    publishing = new PublishController(
        panel->publishButton, session, [this] { return settings.publishUrl; }, this);
    notificationLabel = new NotificationLabel(this);
    lossBox = new LossBox(this);
    benchTools = new BenchToolsController(this, session, videoLabel);
    const auto notify = [this](const QString &message, bool success) {
        showNotification(message, success);
    };
    connect(publishing, &PublishController::notificationRequested, this, notify);
    connect(benchTools, &BenchToolsController::notificationRequested, this, notify);
    connect(sound, &SoundController::notificationRequested, this, notify);
    orientation =
        new OrientationControl(panel->flipButton, panel->rotateButton, settings.orientation, this);
    panel->cameraSelector->addItem(tr("Click to scan for cameras..."));
    setupConnections();
    QString remoteError;
    if (!RemoteServer::startFromSettings(session, settings, &remoteError) && !remoteError.isEmpty())
        QTimer::singleShot(0, this, [this, remoteError] { showNotification(remoteError, false); });
    addCaptureShortcuts(this);
    WindowShortcuts::addAdjustmentKeys(this, panel->brightnessSlider, panel->contrastSlider);
    // The camera started last is selected again once the window is up, unless a camera has been
    // chosen by then; it also starts when the settings say so.
    if (!AppSettings::lastCameraId().isEmpty())
        QTimer::singleShot(0, this, &MainWindow::startLastCamera);
}

void MainWindow::startLastCamera()
{
    if (camera)
        return;
    onCameraSelectorAboutToShow();
    if (settings.startLastCamera && selection->hasCamera() &&
        selection->currentCameraId() == AppSettings::lastCameraId())
        startCamera();
}

MainWindow::~MainWindow()
{
    AppSettings::storeWindowGeometry(saveGeometry());
    // The session, a child, finishes a running file when it is deleted.
    session->stop();
    delete fullscreenLabel;
}

void MainWindow::setupUI()
{
    panel = new ControlPanel;
    videoLabel = new ViewFinder(tr("No camera feed"));
    videoLabel->setObjectName(QStringLiteral("videoLabel"));
    videoLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // Small enough that the window fits a 1024x600 screen beside the panel in every language.
    videoLabel->setMinimumSize(320, 240);
    videoLabel->setAccessibleName(tr("Camera picture"));
    overlays = std::make_unique<VideoOverlays>(videoLabel);

    // The panel scrolls rather than make the window taller than a small screen.
    auto *panelScroll = new PanelScrollArea(panel);

    auto *mainLayout = new QVBoxLayout(this);
    mainLayout->setObjectName(QStringLiteral("mainLayout"));
    mainLayout->addWidget(new MainSplitter(panelScroll, videoLabel));
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
    for (auto [slider, property] :
         {std::pair(panel->brightnessSlider, CameraBase::Property::Brightness),
          std::pair(panel->contrastSlider, CameraBase::Property::Contrast)})
        connect(slider, &QSlider::valueChanged, this,
                [this, property = property](int position) { adjustProperty(property, position); });
    connect(panel->cameraControls, &CameraControlsPanel::propertyChanged, this,
            [this](CameraBase::Property property) {
                rememberProperty(property);
                // A profile loaded there may have changed brightness and contrast.
                if (const std::optional<int> value = camera->propertyValue(property))
                    panel->followProperty(property, *value,
                                          camera->propertyAuto(property).value_or(false));
            });

    connect(session->recorder(), &Recorder::stateChanged, this, &MainWindow::updateUIState);
    connect(session, &CaptureSession::frameAvailable, this, &MainWindow::displayFrame);
    connect(session, &CaptureSession::fpsChanged, this, &MainWindow::onFpsChanged);
    connect(session, &CaptureSession::cameraLost, this, &MainWindow::onCameraLost);
    connect(orientation, &OrientationControl::changed, session, &CaptureSession::setOrientation);
    connect(recording, &RecordingController::recordingTimeChanged, this,
            [this](const QString &time) {
                if (fullscreenLabel)
                    fullscreenLabel->setRecordingTime(time);
            });
    connect(videoLabel, &ViewFinder::doubleClicked, this, &MainWindow::toggleFullscreen);
    connect(videoLabel, &ViewFinder::sizeChanged, this, &MainWindow::updateViewSize);
    connect(recording, &RecordingController::notificationRequested, this,
            &MainWindow::showNotification);
    connect(snapshots, &SnapshotSaver::notificationRequested, this, &MainWindow::showNotification);
}

// Snapshot, record and fullscreen keys, for the window and for the fullscreen view alike.
void MainWindow::addCaptureShortcuts(QWidget *target)
{
    WindowShortcuts::addCaptureKeys(
        target, [this] { takeSnapshot(); }, [this] { onRecordKey(); },
        [this] { toggleFullscreen(); }, [this] { recording->togglePause(); });
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
    session->setCamera(new OpenPNPCamera);
    camera = session->camera();
    connect(camera, &CameraBase::propertyChanged, panel, &ControlPanel::followProperty);
    connect(camera, &CameraBase::propertyChanged, panel->cameraControls,
            &CameraControlsPanel::followProperty);
    ControlKeeper *keeper = session->controlKeeper();
    connect(keeper, &ControlKeeper::valuesRestored, this,
            [this](const QString &message) { showNotification(message, true); });
    connect(panel->cameraControls, &CameraControlsPanel::keepValuesChanged, keeper,
            &ControlKeeper::setEnabled);

    selection = new CameraSelection(panel->cameraSelector, panel->formatSelector, camera, this);
    connect(selection, &CameraSelection::cameraChanging, this, [this] {
        if (session->isRunning())
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
    if (session->isRunning() || !selection->hasCamera())
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
    if (!session->isRunning())
        return;
    AppSettings::storeCameraProperty(selection->currentCameraId(), camera, property);
    session->controlKeeper()->remember(property);
}

// The camera could not switch and has stopped: say so instead of freezing on the last picture.
void MainWindow::onFormatFailed(const QString &description)
{
    stopCamera(tr("No camera feed"));
    const CameraBase::CameraFormat format = camera->currentFormat();
    CameraErrorBox::show(this, tr("Failed to switch the camera to %1.").arg(description),
                         camera->lastFailure(), QSize(format.width, format.height));
}

void MainWindow::onFpsChanged(double fps)
{
    overlays->fpsLabel->setText(tr("%1 fps").arg(fps, 0, 'f', 1));
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
    if (session->isRunning())
        stopCamera(tr("No camera feed"));
    else
        startCamera();
}

void MainWindow::startCamera()
{
    benchTools->cameraStarting();
    if (session->start()) {
        panel->showCameraAdjustment(camera);
        panel->cameraControls->showCamera(camera, session->cameraId());
    } else {
        const CameraBase::CameraFormat format = camera->currentFormat();
        CameraErrorBox::show(this, CameraMessages::startFailed(camera->lastFailure()),
                             camera->lastFailure(), QSize(format.width, format.height));
    }
    updateUIState();
}

// Ends a running recording (its file is finished in the background), stops the camera and
// shows message where the picture was.
void MainWindow::stopCamera(const QString &message)
{
    session->stop();
    showStopped(message);
}

void MainWindow::showStopped(const QString &message)
{
    panel->cameraControls->clear();
    videoLabel->showMessage(message);
    updateUIState();
}

void MainWindow::onCameraLost(const QString &reason, const QString &interruptedRecording)
{
    hotplug->cameraLost(selection->currentCameraId());
    showStopped(tr("Camera disconnected"));
    if (session->recorder()->isHeldWithoutCamera()) {
        showNotification(tr("Camera disconnected: the time-lapse goes on when it returns"), false);
        return;
    }

    const QString cause = CameraMessages::cause(camera->lastFailure());
    if (!interruptedRecording.isEmpty()) {
        lossBox->show(tr("Recording Interrupted"), cause,
                      tr("Video recording was interrupted due to camera "
                         "disconnection.\nThe partial recording has been saved to:\n") +
                          interruptedRecording);
        return;
    }
    lossBox->show(tr("Camera Disconnected"), cause,
                  tr("The camera has been disconnected: ") + reason +
                      tr("\nPlease reconnect it and try again."));
    onCameraSelectorAboutToShow();
}

void MainWindow::updateUIState()
{
    using State = Recorder::State;
    const State recordingState = session->recorder()->state();
    const bool cameraRunning = session->isRunning();
    const bool hasCamera = selection && selection->hasCamera();
    panel->setAdjustable(cameraRunning);
    for (QWidget *control : QList<QWidget *>{panel->snapshotButton, overlays->fullscreenButton})
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
void MainWindow::adjustProperty(CameraBase::Property property, int position)
{
    const std::optional<int> value = panel->deviceValue(property, position);
    if (session->isRunning() && value)
        camera->setPropertyValue(property, *value);
    rememberProperty(property);
}

// "Reset" returns brightness and contrast to the camera's own defaults.
void MainWindow::onResetDefaults()
{
    if (!session->isRunning())
        return;
    for (const CameraBase::PropertyRange &range : camera->properties()) {
        if (range.property == CameraBase::Property::Brightness ||
            range.property == CameraBase::Property::Contrast) {
            camera->setPropertyValue(range.property, range.def);
            rememberProperty(range.property);
        }
    }
    panel->showCameraAdjustment(camera);
}

void MainWindow::takeSnapshot()
{
    if (session->isRunning())
        snapshots->take(this, settings);
}

// While the fullscreen view hides the window, notices appear there.
void MainWindow::showNotification(const QString &message, bool success, const QString &folder)
{
    if (fullscreenLabel && fullscreenLabel->isVisible())
        fullscreenLabel->showNotification(message, success, folder);
    else
        notificationLabel->showMessage(message, success, videoLabel->geometry(), folder);
}

void MainWindow::toggleRecording()
{
    // A time-lapse waiting for its camera can be stopped all the same.
    if (!session->isRunning() && session->recorder()->state() != Recorder::State::Recording)
        return;
    if (panel->recordButton->isChecked())
        recording->startRecording(this, session, settings);
    else
        session->stopRecording();
    updateUIState();
}

void MainWindow::toggleFullscreen()
{
    if (!session->isRunning())
        return;
    if (!fullscreenLabel) {
        fullscreenLabel = new FullscreenView;
        addCaptureShortcuts(fullscreenLabel);
        benchTools->addView(fullscreenLabel);
        benchTools->addKeys(fullscreenLabel);
        connect(fullscreenLabel, &FullscreenView::visibilityChanged, this, [this](bool visible) {
            overlays->fullscreenButton->setToolTip(visible ? tr("Exit fullscreen (ESC)")
                                                           : tr("Toggle fullscreen camera view"));
            updateViewSize();
        });
        connect(fullscreenLabel, &ViewFinder::sizeChanged, this, &MainWindow::updateViewSize);
        connect(overlays->levelMeter, &LevelMeter::levelChanged, fullscreenLabel,
                &FullscreenView::setSoundLevel);
    }
    fullscreenLabel->setRecording(session->recorder()->state() == Recorder::State::Recording);
    if (fullscreenLabel->isVisible())
        fullscreenLabel->hide();
    else
        fullscreenLabel->enter(videoLabel->frame());
}

// The picture is decoded for the largest view showing it.
void MainWindow::updateViewSize()
{
    const bool fullscreen = fullscreenLabel && fullscreenLabel->isVisible();
    session->setViewSize(fullscreen ? fullscreenLabel->neededPictureSize()
                                    : videoLabel->neededPictureSize());
}

void MainWindow::onShowSettings()
{
    // The orientation part of "Reset to Defaults" takes effect at once, even if the dialog is
    // then cancelled; a running recording keeps the orientation it started with.
    settings = AppSettings::load(session->cameraId());
    if (SettingsDialog::edit(this, settings, [this] { orientation->reset(); }))
        updateUIState();
    sound->chooseSource();
}
