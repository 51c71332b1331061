#include "mainwindow.h"

#include "cameraselection.h"
#include "controlpanel.h"
#include "framehandover.h"
#include "fullscreenview.h"
#include "notificationlabel.h"
#include "openpnpcamera.h"
#include "recordingcontroller.h"
#include "scancombobox.h"
#include "settingsdialog.h"
#include "snapshotsaver.h"
#include "videowriterthread.h"
#include "viewfinder.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QSplitter>
#include <QVBoxLayout>

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent)
    , settings(AppSettings::load())
{
    setWindowTitle(tr("Ostrel Camera Viewer"));
    resize(1200, 800);
    setupUI();
    recording =
        new RecordingController(overlays->recordingTimeLabel, overlays->recordingIndicator, this);
    snapshots = new SnapshotSaver(this);
    notificationLabel = new NotificationLabel(this);
    // No handler is connected yet, so the stored values are not written back.
    panel->flipButton->setChecked(settings.orientation.mirrored);
    applyOrientation(settings.orientation);
    panel->cameraSelector->addItem(tr("Click to scan for cameras..."));
    setupConnections();
    setupShortcuts();
}

MainWindow::~MainWindow()
{
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
    auto *splitter = new QSplitter(Qt::Horizontal);
    mainLayout->addWidget(splitter);
    splitter->addWidget(panel);
    splitter->addWidget(videoLabel);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 700});
    splitter->setHandleWidth(2);
    splitter->setStyleSheet(
        QStringLiteral("QSplitter::handle { background-color: #999; margin: 1px; border-radius: "
                       "3px; } QSplitter::handle:hover { background-color: #bbb; }"));
}

void MainWindow::setupConnections()
{
    connect(panel->cameraSelector, &ScanComboBox::aboutToShowPopup, this,
            &MainWindow::onCameraSelectorAboutToShow);
    connect(panel->cameraSelector, &QComboBox::currentIndexChanged, this,
            &MainWindow::onCameraSelected);
    connect(panel->formatSelector, &QComboBox::currentIndexChanged, this,
            &MainWindow::onFormatSelected);
    connect(panel->startStopButton, &QPushButton::clicked, this, &MainWindow::onStartStopClicked);
    connect(panel->snapshotButton, &QPushButton::clicked, this, &MainWindow::takeSnapshot);
    connect(panel->recordButton, &QPushButton::clicked, this, &MainWindow::toggleRecording);
    connect(overlays->fullscreenButton, &QPushButton::clicked, this, &MainWindow::toggleFullscreen);
    connect(panel->resetButton, &QPushButton::clicked, this, &MainWindow::onResetDefaults);
    connect(panel->settingsButton, &QPushButton::clicked, this, &MainWindow::onShowSettings);
    connect(panel->brightnessSlider, &QSlider::valueChanged, this, &MainWindow::updateBrightness);
    connect(panel->contrastSlider, &QSlider::valueChanged, this, &MainWindow::updateContrast);
    connect(panel->flipButton, &QPushButton::toggled, this, [this](bool checked) {
        applyOrientation({checked, settings.orientation.angle});
        AppSettings::storeOrientation(settings.orientation);
    });
    connect(panel->rotateButton, &QPushButton::clicked, this, &MainWindow::onRotateClicked);

    VideoWriterThread *writer = recording->writer();
    connect(writer, &VideoWriterThread::errorOccurred, this, &MainWindow::onVideoWriterError);
    // Only once the thread has ended is the file closed and the writer ready for the next one.
    connect(writer, &QThread::finished, this, &MainWindow::onVideoWritingStopped);
    connect(recording, &RecordingController::stateChanged, this, &MainWindow::updateUIState);
    connect(videoLabel, &ViewFinder::doubleClicked, this, &MainWindow::toggleFullscreen);
    connect(recording, &RecordingController::notificationRequested, this,
            &MainWindow::showNotification);
    connect(snapshots, &SnapshotSaver::notificationRequested, this, &MainWindow::showNotification);
}

void MainWindow::setupShortcuts()
{
    addCaptureShortcuts(this);
    const std::pair<const char *, std::pair<QSlider *, int>> steps[] = {
        {QT_TR_NOOP("Up"), {panel->brightnessSlider, 5}},
        {QT_TR_NOOP("Down"), {panel->brightnessSlider, -5}},
        {QT_TR_NOOP("Shift+Up"), {panel->contrastSlider, 5}},
        {QT_TR_NOOP("Shift+Down"), {panel->contrastSlider, -5}},
    };
    for (const auto &[keys, target] : steps) {
        connect(new QShortcut(QKeySequence(tr(keys), QKeySequence::NativeText), this),
                &QShortcut::activated, this, [slider = target.first, step = target.second] {
                    ControlPanel::stepSlider(slider, step);
                });
    }
}

// Snapshot, record and fullscreen keys, for the window and for the fullscreen view alike.
void MainWindow::addCaptureShortcuts(QWidget *target)
{
    const std::pair<const char *, void (MainWindow::*)()> keys[] = {
        {QT_TR_NOOP("Ctrl+S"), &MainWindow::takeSnapshot},
        {QT_TR_NOOP("Ctrl+R"), &MainWindow::onRecordKey},
        {QT_TR_NOOP("F11"), &MainWindow::toggleFullscreen},
    };
    for (const auto &[sequence, handler] : keys) {
        connect(new QShortcut(QKeySequence(tr(sequence), QKeySequence::NativeText), target),
                &QShortcut::activated, this, handler);
    }
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
    connect(camera, &CameraBase::formatChanged, this, &MainWindow::onFormatChanged);
    connect(camera, &CameraBase::cameraDisconnected, this, &MainWindow::onCameraDisconnected);

    selection = new CameraSelection(panel->cameraSelector, panel->formatSelector, camera, this);
    connect(selection, &CameraSelection::cameraChanging, this, [this] {
        if (cameraRunning)
            stopCamera(tr("No camera feed"));
    });
    connect(selection, &CameraSelection::cameraOpened, this, &MainWindow::updateUIState);
    connect(selection, &CameraSelection::formatFailed, this, &MainWindow::onFormatFailed);
}

void MainWindow::onCameraSelectorAboutToShow()
{
    if (!camera)
        createCamera();
    selection->scan();
    updateUIState();
}

void MainWindow::onCameraSelected(int index)
{
    if (selection)
        selection->selectCamera(index);
}

void MainWindow::onFormatSelected(int index)
{
    if (selection)
        selection->selectFormat(index);
}

void MainWindow::onFormatChanged(CameraBase::CameraFormat format)
{
    selection->showFormat(format);
}

// The camera could not switch and has stopped: say so instead of freezing on the last picture.
void MainWindow::onFormatFailed(const QString &description)
{
    stopCamera(tr("No camera feed"));
    QMessageBox::critical(this, tr("Camera Error"),
                          tr("Failed to switch the camera to %1.").arg(description));
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
    videoLabel->setFrame(frame, settings.orientation);
    if (fullscreenLabel && fullscreenLabel->isVisible())
        fullscreenLabel->setFrame(frame, settings.orientation);
}

void MainWindow::applyOrientation(const Orientation &orientation)
{
    settings.orientation = orientation;
    panel->rotateButton->setToolTip(
        tr("Rotate camera image 90° clockwise (currently %1°)").arg(orientation.angle));
}

void MainWindow::onRotateClicked()
{
    applyOrientation(settings.orientation.rotatedClockwise());
    AppSettings::storeOrientation(settings.orientation);
}

void MainWindow::onStartStopClicked()
{
    if (!camera)
        return;
    if (cameraRunning)
        stopCamera(tr("No camera feed"));
    else
        startCamera();
}

void MainWindow::startCamera()
{
    if (camera->startCapture()) {
        cameraRunning = true;
        panel->showAdjustment(camera->brightness(), camera->contrast());
    } else {
        QMessageBox::critical(
            this, tr("Camera Error"),
            tr("Failed to start camera. Please check if another application is using it."));
    }
    updateUIState();
}

// Ends a running recording (its file is finished in the background), stops the camera and
// shows message where the picture was.
void MainWindow::stopCamera(const QString &message)
{
    recording->stop();
    camera->stopCapture();
    cameraRunning = false;
    handOver->clear();
    videoLabel->showMessage(message);
    updateUIState();
}

void MainWindow::onCameraDisconnected(QString reason)
{
    // The connection watch keeps reporting until the camera has stopped, which happens only after
    // this handler returns: while the box of this loss is open, repeated reports are not shown.
    if (disconnectedBox)
        return;

    const bool wasRecording = recording->state() == RecordingController::State::Recording;
    const QString recordingPath = recording->path();
    recording->stop();
    cameraRunning = false;
    handOver->clear();
    videoLabel->showMessage(tr("Camera disconnected"));
    updateUIState();

    if (wasRecording) {
        showDisconnectionBox(tr("Recording Interrupted"),
                             tr("Video recording was interrupted due to camera "
                                "disconnection.\nThe partial recording has been saved to:\n") +
                                 recordingPath);
        return;
    }
    showDisconnectionBox(tr("Camera Disconnected"), tr("The camera has been disconnected: ") +
                                                        reason +
                                                        tr("\nPlease reconnect it and try again."));
    onCameraSelectorAboutToShow();
}

void MainWindow::showDisconnectionBox(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, this);
    disconnectedBox = &box;
    updateUIState();
    box.exec();
}

void MainWindow::updateUIState()
{
    using State = RecordingController::State;
    const State recordingState = recording->state();
    const bool hasCamera = selection && selection->hasCamera();
    // Nothing that needs the camera looks usable while a disconnection box is open.
    const bool live = cameraRunning && !disconnectedBox;
    for (QWidget *control :
         QList<QWidget *>{panel->brightnessSlider, panel->contrastSlider, panel->resetButton,
                          panel->snapshotButton, overlays->fullscreenButton})
        control->setEnabled(live);

    recording->updateRecordButton(panel->recordButton, live);

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
}

void MainWindow::updateContrast(int value)
{
    if (cameraRunning && camera)
        camera->setContrast(value / 50.0);
}

void MainWindow::onResetDefaults()
{
    if (!cameraRunning || !camera)
        return;
    camera->resetBrightness();
    camera->resetContrast();
    panel->showAdjustment(camera->brightness(), camera->contrast());
}

void MainWindow::takeSnapshot()
{
    if (!cameraRunning || !camera)
        return;
    const QImage frame = camera->latestFrame();
    if (frame.isNull()) {
        showNotification(tr("No camera frame available"), false);
        return;
    }
    const CameraBase::CameraFormat format = camera->currentFormat();
    const QString path = snapshots->choosePath(this, settings, QSize(format.width, format.height));
    if (!path.isEmpty())
        snapshots->save(frame, settings.orientation, path);
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
    if (!recording->start(path, frame, camera->currentFormat().fps, settings.orientation, camera))
        showNotification(tr("Recording start failed"), false);
}

void MainWindow::onVideoWriterError(QString error)
{
    recording->handleWriterError(error);
}

void MainWindow::onVideoWritingStopped()
{
    recording->handleWriterFinished();
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
        fullscreenLabel->enter(settings.orientation.apply(camera->latestFrame()));
}

void MainWindow::onShowSettings()
{
    SettingsDialog dialog({settings.recordingDirectory, settings.snapshotDirectory,
                           settings.showFpsCounter, settings.autoSaveWithDefaultName},
                          this);
    // The orientation part of "Reset to Defaults" takes effect at once, even if the dialog is
    // then cancelled; a running recording keeps the orientation it started with.
    connect(&dialog, &SettingsDialog::resetToDefaultsRequested, this, [this] {
        const QSignalBlocker blocker(panel->flipButton);
        panel->flipButton->setChecked(false);
        applyOrientation(Orientation());
        AppSettings::storeOrientation(settings.orientation);
    });
    if (dialog.exec() != QDialog::Accepted)
        return;

    const bool showFpsChanged = dialog.values().showFpsCounter != settings.showFpsCounter;
    settings.storeChoices(dialog.values());
    if (showFpsChanged)
        updateUIState();
}
