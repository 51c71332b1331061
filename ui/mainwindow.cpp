#include "mainwindow.h"

#include "appinfo.h"
#include "filenaming.h"
#include "framehandover.h"
#include "openpnpcamera.h"
#include "scancombobox.h"
#include "settingsdialog.h"
#include "videowriterthread.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSlider>
#include <QSplitter>
#include <QStandardPaths>
#include <QTimer>
#include <QTransform>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <exception>

namespace {

const QString logoPath = QStringLiteral(":/resources/logo.png");
const int logoHeight = 40;

const QString indicatorRedStyle = QStringLiteral(
    "QLabel { color: red; font-size: 20px; font-weight: bold; background: transparent; }");
const QString indicatorStartStyle =
    QStringLiteral("QLabel {font-size: 20px; font-weight: bold; background: transparent; }");
const QString indicatorHiddenStyle = QStringLiteral(
    "QLabel { color: transparent; font-size: 20px; font-weight: bold; background: transparent; }");
const QString recordButtonActiveStyle =
    QStringLiteral("QPushButton {background-color: white; color: red; font-weight: bold; }");
const QString notificationStyle = QStringLiteral(
    "QLabel {background-color: rgba(40, 44, 52, 220);color: white;border: 2px solid %1;"
    "border-radius: 6px;padding: 8px 12px;font-size: 12px;font-weight: bold;}");
const QString overlayStyle = QStringLiteral(
    "QLabel { background-color: rgba(0, 0, 0, 120); color: %1; padding: 5px; border-radius: 3px; "
    "font-weight: bold; font-size: 16px; }");

// Settings are written the moment they change, each time through a short-lived store.
void storeSetting(const QString &key, const QVariant &value)
{
    QSettings settings(QString::fromLatin1(AppInfo::organisation),
                       QString::fromLatin1(AppInfo::name));
    settings.setValue(key, value);
}

QIcon themedIcon(const QString &themeName, const QString &fallbackResource)
{
    return QIcon::fromTheme(themeName, QIcon(fallbackResource));
}

// The logo scaled to fit within maxWidth x 40, or a null pixmap when it cannot be loaded.
QPixmap scaledLogo(int maxWidth)
{
    const QPixmap logo(logoPath);
    if (logo.isNull() || maxWidth < 1)
        return QPixmap();
    // The size already keeps the aspect ratio; fitting it a second time could lose a pixel of
    // width to rounding.
    const QSize size = logo.size().scaled(maxWidth, logoHeight, Qt::KeepAspectRatio);
    return logo.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The default folders (Videos, Pictures) do not exist on every desktop: a file is never lost for
// want of its folder.
bool ensureParentDirectory(const QString &path)
{
    return QDir().mkpath(QFileInfo(path).absolutePath());
}

// The stored angle is used unchanged, however large; stepping it must not overflow.
int nextRotation(int angle)
{
    return int((qint64(angle) + 90) % 360);
}

} // namespace

QString formatRecordingTime(qint64 elapsedMs)
{
    const qint64 seconds = elapsedMs / 1000;
    const qint64 minutes = seconds / 60;
    const qint64 rest = seconds - 60 * minutes;
    return QStringLiteral("%1:%2")
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(rest, 2, 10, QLatin1Char('0'));
}

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(tr("Ostrel Camera Viewer"));
    resize(1200, 800);
    loadSettings();
    setupRecording();
    setupNotification();
    setupUI();
    setupControlPanel();
    // No handler is connected yet, so the stored value is not written back.
    flipButton->setChecked(horizontalFlip);
    updateRotateTooltip();
    cameraSelector->addItem(tr("Click to scan for cameras..."));
    setupConnections();
    setupShortcuts();
}

MainWindow::~MainWindow()
{
    if (cameraRunning) {
        camera->stopCapture();
        cameraRunning = false;
    }
    if (isRecording)
        finishRecordingOnDestruction();
    delete fullscreenLabel;
    fullscreenLabel = nullptr;
}

void MainWindow::loadSettings()
{
    QSettings settings(QString::fromLatin1(AppInfo::organisation),
                       QString::fromLatin1(AppInfo::name));
    recordingDirectory =
        settings
            .value(QStringLiteral("recordingDirectory"),
                   QStandardPaths::writableLocation(QStandardPaths::MoviesLocation))
            .toString();
    snapshotDirectory =
        settings
            .value(QStringLiteral("snapshotDirectory"),
                   QStandardPaths::writableLocation(QStandardPaths::PicturesLocation))
            .toString();
    showFpsCounter = settings.value(QStringLiteral("showFpsCounter"), true).toBool();
    autoSaveWithDefaultName =
        settings.value(QStringLiteral("autoSaveWithDefaultName"), true).toBool();
    horizontalFlip = settings.value(QStringLiteral("horizontalFlip"), false).toBool();
    rotationAngle = settings.value(QStringLiteral("rotationAngle"), 0).toInt();
}

void MainWindow::setupRecording()
{
    writerThread = new VideoWriterThread(this);
    connect(writerThread, &VideoWriterThread::errorOccurred, this, &MainWindow::onVideoWriterError);
    connect(writerThread, &VideoWriterThread::writingFinished, this,
            &MainWindow::onVideoWritingStopped);

    recordingTimer = new QTimer(this);
    connect(recordingTimer, &QTimer::timeout, this, &MainWindow::updateRecordingTime);
}

void MainWindow::setupNotification()
{
    notificationLabel = new QLabel(this);
    notificationLabel->setObjectName(QStringLiteral("notificationLabel"));
    notificationLabel->setWordWrap(true);
    notificationLabel->setAlignment(Qt::AlignCenter);
    notificationLabel->setStyleSheet(notificationStyle.arg(QStringLiteral("#61AFEF")));
    notificationLabel->hide();
    notificationLabel->setAttribute(Qt::WA_TransparentForMouseEvents);

    notificationTimer = new QTimer(this);
    notificationTimer->setObjectName(QStringLiteral("notificationTimer"));
    notificationTimer->setSingleShot(true);
    connect(notificationTimer, &QTimer::timeout, this, [this] {
        if (notificationLabel)
            notificationLabel->hide();
    });
}

void MainWindow::setupUI()
{
    videoLabel = new QLabel(tr("No camera feed"));
    videoLabel->setAlignment(Qt::AlignCenter);
    videoLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    videoLabel->setMinimumSize(640, 480);
    videoLabel->setStyleSheet(
        QStringLiteral("QLabel { background-color: #222; color: white; font-size: 18px; }"));

    logoLabel = new QLabel;
    logoLabel->setAlignment(Qt::AlignCenter);
    logoLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    logoLabel->setContentsMargins(0, 0, 0, 0);
    const QPixmap logo = scaledLogo(300);
    if (!logo.isNull()) {
        logoLabel->setPixmap(logo);
        logoLabel->setMinimumHeight(logoHeight);
    }

    versionLabel = new QLabel(tr("v%1").arg(QCoreApplication::applicationVersion()));
    versionLabel->setAlignment(Qt::AlignCenter);
    versionLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    versionLabel->setStyleSheet(
        QStringLiteral("QLabel { color: #888888; font-size: 12px; font-weight: normal; }"));

    cameraSelector = new ScanComboBox;
    cameraSelector->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    cameraSelector->setAccessibleName(tr("Camera"));

    formatSelector = new QComboBox;
    formatSelector->setEnabled(false);
    formatSelector->setAccessibleName(tr("Format"));

    startStopButton = new QPushButton(tr("Start Camera"));
    startStopButton->setEnabled(false);
    startStopButton->setMinimumWidth(100);

    snapshotButton = new QPushButton(tr("Snapshot"));
    snapshotButton->setEnabled(false);
    snapshotButton->setIcon(
        themedIcon(QStringLiteral("camera-photo"), QStringLiteral(":/resources/snapshot.png")));
    snapshotButton->setToolTip(tr("Take a snapshot of the current camera view (Ctrl+S)"));

    recordButton = new QPushButton(tr("Record"));
    recordButton->setEnabled(false);
    recordButton->setCheckable(true);
    recordButton->setIcon(
        themedIcon(QStringLiteral("media-record"), QStringLiteral(":/resources/record.png")));
    recordButton->setToolTip(tr("Start/stop recording video from camera (Ctrl+R)"));

    fullscreenButton = new QPushButton;
    fullscreenButton->setEnabled(false);
    fullscreenButton->setIcon(themedIcon(QStringLiteral("view-fullscreen"),
                                         QStringLiteral(":/resources/fullscreen.png")));
    fullscreenButton->setToolTip(tr("Toggle fullscreen camera view"));
    fullscreenButton->setAccessibleName(tr("Fullscreen"));
    fullscreenButton->setFixedSize(32, 32);
    fullscreenButton->setIconSize(QSize(20, 20));
    fullscreenButton->setStyleSheet(QStringLiteral(
        "QPushButton { background-color: rgba(0, 0, 0, 120); border: none; border-radius: 4px; "
        "color: white; } QPushButton:hover { background-color: rgba(0, 0, 0, 180); } "
        "QPushButton:disabled { background-color: rgba(0, 0, 0, 60); }"));

    settingsButton = new QPushButton;
    settingsButton->setIcon(themedIcon(QStringLiteral("preferences-system"),
                                       QStringLiteral(":/resources/settings.png")));
    settingsButton->setToolTip(tr("Configure recording and snapshot directories"));
    settingsButton->setAccessibleName(tr("Settings"));
    settingsButton->setFixedSize(32, 32);
    settingsButton->setIconSize(QSize(20, 20));

    brightnessSlider = new QSlider(Qt::Horizontal);
    brightnessSlider->setRange(0, 100);
    brightnessSlider->setValue(50);
    brightnessSlider->setEnabled(false);
    brightnessSlider->setToolTip(tr("Adjust camera brightness (use Up/Down arrow keys)"));
    brightnessSlider->setAccessibleName(tr("Brightness"));

    contrastSlider = new QSlider(Qt::Horizontal);
    contrastSlider->setRange(0, 100);
    contrastSlider->setValue(50);
    contrastSlider->setEnabled(false);
    contrastSlider->setToolTip(tr("Adjust camera contrast (use Shift+Up/Down arrow keys)"));
    contrastSlider->setAccessibleName(tr("Contrast"));

    brightnessValueLabel = new QLabel(QStringLiteral("0"));
    contrastValueLabel = new QLabel(QStringLiteral("1.00"));

    resetButton = new QPushButton(tr("Reset"));
    resetButton->setEnabled(false);
    resetButton->setMaximumWidth(80);
    resetButton->setToolTip(tr("Reset brightness and contrast to camera defaults"));

    flipButton = new QPushButton;
    flipButton->setCheckable(true);
    flipButton->setIcon(themedIcon(QStringLiteral("object-flip-horizontal"),
                                   QStringLiteral(":/resources/flip.png")));
    flipButton->setToolTip(tr("Mirror the camera image horizontally"));
    flipButton->setAccessibleName(tr("Mirror"));
    flipButton->setFixedSize(32, 28);
    flipButton->setIconSize(QSize(20, 20));

    rotateButton = new QPushButton;
    rotateButton->setIcon(themedIcon(QStringLiteral("object-rotate-right"),
                                     QStringLiteral(":/resources/rotate.png")));
    rotateButton->setAccessibleName(tr("Rotate"));
    rotateButton->setFixedSize(32, 28);
    rotateButton->setIconSize(QSize(20, 20));

    fpsLabel = new QLabel(tr("0.0 fps"));
    fpsLabel->setAlignment(Qt::AlignCenter);
    fpsLabel->setStyleSheet(overlayStyle.arg(QStringLiteral("#00FF00")));
    fpsLabel->setFixedWidth(100);
    fpsLabel->hide();

    recordingTimeLabel = new QLabel(QStringLiteral("00:00"));
    recordingTimeLabel->setAlignment(Qt::AlignCenter);
    recordingTimeLabel->setStyleSheet(overlayStyle.arg(QStringLiteral("#FFFFFF")));
    recordingTimeLabel->setFixedWidth(80);
    recordingTimeLabel->hide();

    recordingIndicator = new QLabel(QStringLiteral("\u25CF"));
    recordingIndicator->setAlignment(Qt::AlignCenter);
    recordingIndicator->setStyleSheet(
        QStringLiteral("QLabel { color: red; font-size: 20px; font-weight: bold; background: "
                       "transparent; font-size: 16px; }"));
    recordingIndicator->setFixedSize(30, 30);
    recordingIndicator->setAccessibleName(tr("Recording"));
    recordingIndicator->hide();

    const std::pair<QWidget *, const char *> named[] = {
        {videoLabel, "videoLabel"},
        {logoLabel, "logoLabel"},
        {versionLabel, "versionLabel"},
        {cameraSelector, "cameraSelector"},
        {formatSelector, "formatSelector"},
        {startStopButton, "startStopButton"},
        {snapshotButton, "snapshotButton"},
        {recordButton, "recordButton"},
        {fullscreenButton, "fullscreenButton"},
        {settingsButton, "settingsButton"},
        {brightnessSlider, "brightnessSlider"},
        {contrastSlider, "contrastSlider"},
        {brightnessValueLabel, "brightnessValueLabel"},
        {contrastValueLabel, "contrastValueLabel"},
        {resetButton, "resetButton"},
        {flipButton, "flipButton"},
        {rotateButton, "rotateButton"},
        {fpsLabel, "fpsLabel"},
        {recordingTimeLabel, "recordingTimeLabel"},
        {recordingIndicator, "recordingIndicator"},
    };
    for (const auto &[widget, name] : named)
        widget->setObjectName(QString::fromLatin1(name));
}

void MainWindow::setupControlPanel()
{
    mainLayout = new QVBoxLayout(this);
    mainLayout->setObjectName(QStringLiteral("mainLayout"));

    auto *splitter = new QSplitter(Qt::Horizontal);
    mainLayout->addWidget(splitter);

    auto *controlPanel = new QWidget;
    controlPanelLayout = new QVBoxLayout(controlPanel);
    controlPanelLayout->setObjectName(QStringLiteral("controlPanelLayout"));

    auto *cameraGroup = new QGroupBox(tr("Camera Control"));
    auto *cameraGroupLayout = new QVBoxLayout(cameraGroup);
    auto *cameraRow = new QHBoxLayout;
    auto *cameraLabel = new QLabel(tr("Camera:"));
    cameraLabel->setBuddy(cameraSelector);
    cameraRow->addWidget(cameraLabel);
    cameraRow->addWidget(cameraSelector, 1);
    cameraGroupLayout->addLayout(cameraRow);
    auto *formatRow = new QHBoxLayout;
    auto *formatLabel = new QLabel(tr("Format:"));
    formatLabel->setBuddy(formatSelector);
    formatRow->addWidget(formatLabel);
    formatRow->addWidget(formatSelector, 1);
    cameraGroupLayout->addLayout(formatRow);
    auto *startRow = new QHBoxLayout;
    startRow->addWidget(startStopButton);
    startRow->addWidget(settingsButton);
    cameraGroupLayout->addLayout(startRow);
    controlPanelLayout->addWidget(cameraGroup);

    auto *adjustmentGroup = new QGroupBox(tr("Image Adjustment"));
    adjustmentLayout = new QGridLayout(adjustmentGroup);
    adjustmentLayout->setObjectName(QStringLiteral("adjustmentLayout"));
    auto *brightnessLabel = new QLabel(tr("Brightness:"));
    brightnessLabel->setBuddy(brightnessSlider);
    adjustmentLayout->addWidget(brightnessLabel, 0, 0);
    adjustmentLayout->addWidget(brightnessSlider, 0, 1);
    adjustmentLayout->addWidget(brightnessValueLabel, 0, 2);
    auto *contrastLabel = new QLabel(tr("Contrast:"));
    contrastLabel->setBuddy(contrastSlider);
    adjustmentLayout->addWidget(contrastLabel, 1, 0);
    adjustmentLayout->addWidget(contrastSlider, 1, 1);
    adjustmentLayout->addWidget(contrastValueLabel, 1, 2);
    auto *transformRow = new QWidget;
    auto *transformLayout = new QHBoxLayout(transformRow);
    transformLayout->addWidget(resetButton);
    transformLayout->addStretch();
    transformLayout->addWidget(new QLabel(tr("Transform:")));
    transformLayout->addWidget(flipButton);
    transformLayout->addWidget(rotateButton);
    adjustmentLayout->addWidget(transformRow, 2, 0, 1, 3);
    controlPanelLayout->addWidget(adjustmentGroup);

    auto *captureGroup = new QGroupBox(tr("Capture Controls"));
    auto *captureLayout = new QHBoxLayout(captureGroup);
    captureLayout->addWidget(snapshotButton);
    captureLayout->addWidget(recordButton);
    controlPanelLayout->addWidget(captureGroup);

    controlPanelLayout->addStretch();
    controlPanelLayout->addWidget(logoLabel);
    controlPanelLayout->addWidget(versionLabel);

    splitter->addWidget(controlPanel);
    splitter->addWidget(videoLabel);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 700});
    splitter->setHandleWidth(2);
    splitter->setStyleSheet(
        QStringLiteral("QSplitter::handle { background-color: #999; margin: 1px; border-radius: "
                       "3px; } QSplitter::handle:hover { background-color: #bbb; }"));

    // The overlays sit on top of the picture that videoLabel shows behind them.
    auto *overlayLayout = new QVBoxLayout(videoLabel);
    auto *topRow = new QHBoxLayout;
    auto *topLeft = new QHBoxLayout;
    topLeft->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    topLeft->addWidget(recordingIndicator);
    topLeft->addWidget(recordingTimeLabel);
    topLeft->addStretch();
    topRow->addLayout(topLeft);
    auto *topRight = new QHBoxLayout;
    topRight->setAlignment(Qt::AlignRight | Qt::AlignTop);
    topRight->addWidget(fpsLabel);
    topRow->addLayout(topRight);
    overlayLayout->addLayout(topRow);
    overlayLayout->addStretch();
    auto *bottomRow = new QHBoxLayout;
    bottomRow->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    bottomRow->addWidget(fullscreenButton);
    overlayLayout->addLayout(bottomRow);
}

void MainWindow::setupConnections()
{
    connect(cameraSelector, &ScanComboBox::aboutToShowPopup, this,
            &MainWindow::onCameraSelectorAboutToShow);
    connect(cameraSelector, &QComboBox::currentIndexChanged, this, &MainWindow::onCameraSelected);
    connect(formatSelector, &QComboBox::currentIndexChanged, this, &MainWindow::onFormatSelected);
    connect(startStopButton, &QPushButton::clicked, this, &MainWindow::onStartStopClicked);
    connect(snapshotButton, &QPushButton::clicked, this, &MainWindow::takeSnapshot);
    connect(recordButton, &QPushButton::clicked, this, &MainWindow::toggleRecording);
    connect(fullscreenButton, &QPushButton::clicked, this, &MainWindow::toggleFullscreen);
    connect(resetButton, &QPushButton::clicked, this, &MainWindow::onResetDefaults);
    connect(settingsButton, &QPushButton::clicked, this, &MainWindow::onShowSettings);
    connect(brightnessSlider, &QSlider::valueChanged, this, &MainWindow::updateBrightness);
    connect(contrastSlider, &QSlider::valueChanged, this, &MainWindow::updateContrast);
    connect(flipButton, &QPushButton::toggled, this, &MainWindow::onFlipToggled);
    connect(rotateButton, &QPushButton::clicked, this, &MainWindow::onRotateClicked);
}

void MainWindow::setupShortcuts()
{
    auto shortcut = [this](const QString &keys) {
        return new QShortcut(QKeySequence(keys, QKeySequence::NativeText), this);
    };

    snapshotShortcut = shortcut(tr("Ctrl+S"));
    connect(snapshotShortcut, &QShortcut::activated, this, &MainWindow::takeSnapshot);

    recordShortcut = shortcut(tr("Ctrl+R"));
    connect(recordShortcut, &QShortcut::activated, [this] {
        if (!recordButton->isEnabled())
            return;
        recordButton->setChecked(!recordButton->isChecked());
        toggleRecording();
    });

    brightnessUpShortcut = shortcut(tr("Up"));
    connect(brightnessUpShortcut, &QShortcut::activated,
            [this] { stepSlider(brightnessSlider, 5); });
    brightnessDownShortcut = shortcut(tr("Down"));
    connect(brightnessDownShortcut, &QShortcut::activated,
            [this] { stepSlider(brightnessSlider, -5); });
    contrastUpShortcut = shortcut(tr("Shift+Up"));
    connect(contrastUpShortcut, &QShortcut::activated, [this] { stepSlider(contrastSlider, 5); });
    contrastDownShortcut = shortcut(tr("Shift+Down"));
    connect(contrastDownShortcut, &QShortcut::activated,
            [this] { stepSlider(contrastSlider, -5); });
}

void MainWindow::stepSlider(QSlider *slider, int step)
{
    // A slider with the keyboard focus handles the arrow keys itself.
    if (!slider->isEnabled() || slider->hasFocus())
        return;
    slider->setValue(std::clamp(slider->value() + step, 0, 100));
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (fpsLabel)
        fpsLabel->move(videoLabel->width() - fpsLabel->width() - 10, 10);
    // The panel's layout spans its whole widget; the widget's width is current even before the
    // layout has been given its new geometry.
    if (logoLabel && controlPanelLayout)
        updateLogo(int(controlPanelLayout->parentWidget()->width() * 0.9));
}

void MainWindow::updateLogo(int maxWidth)
{
    const QPixmap logo = scaledLogo(maxWidth);
    if (logo.isNull())
        return;
    logoLabel->setPixmap(logo);
    logoLabel->setMinimumHeight(logoHeight);
    logoLabel->setFixedHeight(logo.height());
}

// ---------------------------------------------------------------------------------------------
// Camera and format selection

void MainWindow::createCamera()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
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
    QApplication::restoreOverrideCursor();
}

void MainWindow::onCameraSelectorAboutToShow()
{
    if (!camera)
        createCamera();

    QApplication::setOverrideCursor(Qt::WaitCursor);
    cameraSelector->blockSignals(true);
    cameraSelector->clear();
    cameraSelector->addItem(tr("Scanning for cameras..."));
    QCoreApplication::processEvents();

    const QStringList names = camera->availableCameras();
    cameraSelector->clear();
    if (!names.isEmpty()) {
        cameraSelector->addItems(names);
        startStopButton->setEnabled(true);
        cameraSelector->blockSignals(false);
        // Going through -1 makes the change to 0 announce itself even though the first item
        // already became current while signals were blocked.
        cameraSelector->setCurrentIndex(-1);
        cameraSelector->setCurrentIndex(0);
    } else {
        cameraSelector->addItem(tr("No cameras found"));
        startStopButton->setEnabled(false);
        formatSelector->setEnabled(false);
        cameraSelector->blockSignals(false);
    }
    QApplication::restoreOverrideCursor();
}

void MainWindow::onCameraSelected(int index)
{
    if (index < 0 || !camera)
        return;
    const QString text = cameraSelector->itemText(index);
    if (text == tr("Click to scan for cameras...") || text == tr("Scanning for cameras...") ||
        text == tr("No cameras found"))
        return;

    if (cameraRunning) {
        camera->stopCapture();
        cameraRunning = false;
        handOver->clear();
        startStopButton->setText(tr("Start Camera"));
        cameraSelector->setEnabled(true);
    }
    if (!camera->openCamera(index))
        return;

    // Not blocked: appending the first item makes it current and applies that format at once.
    formatSelector->clear();
    const QList<CameraBase::CameraFormat> formats = camera->supportedFormats();
    for (const CameraBase::CameraFormat &format : formats)
        formatSelector->addItem(format.description);
    startStopButton->setEnabled(!formats.isEmpty());
    if (!formats.isEmpty() && formatSelector->count() > 0) {
        formatSelector->setCurrentIndex(0);
        onFormatSelected(0);
    }
    updateUIState();
}

void MainWindow::onFormatSelected(int index)
{
    if (index < 0 || !camera)
        return;
    const QList<CameraBase::CameraFormat> formats = camera->supportedFormats();
    if (formats.isEmpty() || index >= formats.size())
        return;
    camera->setFormat(formats.at(index));
}

void MainWindow::onFormatChanged(CameraBase::CameraFormat format)
{
    const QList<CameraBase::CameraFormat> formats = camera->supportedFormats();
    for (int i = 0; i < formats.size(); ++i) {
        if (formats.at(i).formatIndex == format.formatIndex) {
            const QSignalBlocker blocker(formatSelector);
            formatSelector->setCurrentIndex(i);
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Live view

void MainWindow::onFrameAvailable()
{
    const QImage frame = handOver->takeFrame();
    // A frame that was on its way when the camera stopped or was lost must not replace the
    // stop text.
    if (!cameraRunning || frame.isNull())
        return;
    displayFrame(frame);
}

void MainWindow::onFpsAvailable()
{
    const double fps = handOver->takeFps();
    fpsLabel->setText(tr("%1 fps").arg(fps, 0, 'f', 1));
}

QImage MainWindow::transformFrame(const QImage &frame) const
{
    QImage image = frame;
    if (horizontalFlip)
        image = image.mirrored(true, false);
    if (rotationAngle != 0)
        image = image.transformed(QTransform().rotate(rotationAngle), Qt::FastTransformation);
    return image;
}

void MainWindow::displayFrame(const QImage &frame)
{
    if (!frame.isNull()) {
        const QImage image = transformFrame(frame);
        const QSize area = videoLabel->size();
        const Qt::TransformationMode quality = area.width() <= 1280 && area.height() <= 720
                                                   ? Qt::SmoothTransformation
                                                   : Qt::FastTransformation;
        // Scaling before the pixmap conversion converts only the pixels that are shown.
        videoLabel->setPixmap(QPixmap::fromImage(image.scaled(area, Qt::KeepAspectRatio, quality)));
        if (fullscreenLabel && fullscreenLabel->isVisible()) {
            fullscreenLabel->setPixmap(QPixmap::fromImage(image.scaled(
                fullscreenLabel->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        }
    }
    if (isRecording && camera) {
        const QImage recorded = camera->latestFrame();
        if (!recorded.isNull())
            writerThread->addFrame(transformFrame(recorded));
    }
}

void MainWindow::onFlipToggled(bool checked)
{
    horizontalFlip = checked;
    storeSetting(QStringLiteral("horizontalFlip"), horizontalFlip);
}

void MainWindow::onRotateClicked()
{
    rotationAngle = nextRotation(rotationAngle);
    updateRotateTooltip();
    storeSetting(QStringLiteral("rotationAngle"), rotationAngle);
}

void MainWindow::updateRotateTooltip()
{
    rotateButton->setToolTip(
        tr("Rotate camera image 90° clockwise (currently %1°)").arg(rotationAngle));
    rotateButton->setText(QString());
}

// ---------------------------------------------------------------------------------------------
// Start, stop and disconnection

void MainWindow::showNoFeed(const QString &text)
{
    videoLabel->clear();
    videoLabel->setText(text);
}

void MainWindow::onStartStopClicked()
{
    if (!camera)
        return;
    if (cameraRunning) {
        // With the button unchecked and the camera still marked running this ends a recording.
        recordButton->setChecked(false);
        toggleRecording();
        camera->stopCapture();
        cameraRunning = false;
        handOver->clear();
        startStopButton->setText(tr("Start Camera"));
        fpsLabel->hide();
        showNoFeed(tr("No camera feed"));
    } else if (camera->startCapture()) {
        cameraRunning = true;
        startStopButton->setText(tr("Stop Camera"));
        fpsLabel->setVisible(showFpsCounter);
        syncAdjustmentControls();
    } else {
        QMessageBox::critical(
            this, tr("Camera Error"),
            tr("Failed to start camera. Please check if another application is using it."));
    }
    updateUIState();
}

void MainWindow::onCameraDisconnected(QString reason)
{
    // The connection watch keeps reporting until the camera has stopped, which happens only after
    // this handler returns: while the box of this loss is open, repeated reports are not shown.
    if (disconnectedBox)
        return;

    cameraRunning = false;
    if (handOver)
        handOver->clear();
    startStopButton->setText(tr("Start Camera"));
    fpsLabel->hide();
    cameraSelector->setEnabled(true);
    showNoFeed(tr("Camera disconnected"));

    if (recordButton->isChecked() || isRecording) {
        endRecordingControls(false);
        writerThread->stopWriting();
        recordButton->setChecked(false);
        if (!currentRecordingPath.isEmpty()) {
            showDisconnectionBox(tr("Recording Interrupted"),
                                 tr("Video recording was interrupted due to camera "
                                    "disconnection.\nThe partial recording has been saved to:\n") +
                                     currentRecordingPath);
        }
        updateUIState();
        return;
    }

    updateUIState();
    showDisconnectionBox(tr("Camera Disconnected"), tr("The camera has been disconnected: ") +
                                                        reason +
                                                        tr("\nPlease reconnect it and try again."));
    onCameraSelectorAboutToShow();
}

void MainWindow::showDisconnectionBox(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, this);
    disconnectedBox = &box;
    box.exec();
}

void MainWindow::updateUIState()
{
    for (QWidget *control :
         {static_cast<QWidget *>(brightnessSlider), static_cast<QWidget *>(contrastSlider),
          static_cast<QWidget *>(resetButton), static_cast<QWidget *>(snapshotButton),
          static_cast<QWidget *>(recordButton), static_cast<QWidget *>(fullscreenButton)})
        control->setEnabled(cameraRunning);

    if (!cameraRunning && recordButton->isChecked()) {
        recordButton->setChecked(false);
        if (isRecording) {
            isRecording = false;
            recordingTimer->stop();
            recordingTimeLabel->hide();
            recordingIndicator->hide();
            recordingIndicator->setStyleSheet(indicatorRedStyle);
        }
    }
    if (!cameraRunning && fullscreenLabel && fullscreenLabel->isVisible()) {
        fullscreenLabel->hide();
        fullscreenButton->setToolTip(tr("Toggle fullscreen camera view"));
    }
    cameraSelector->setEnabled(!cameraRunning);
    const bool hasFormats = camera && !camera->supportedFormats().isEmpty();
    formatSelector->setEnabled(!isRecording && hasFormats);
    flipButton->setEnabled(!isRecording && cameraRunning);
    rotateButton->setEnabled(!isRecording && cameraRunning);
}

// ---------------------------------------------------------------------------------------------
// Image adjustment

void MainWindow::updateBrightness(int value)
{
    const int brightness = value - 50;
    brightnessValueLabel->setText(QString::number(brightness));
    if (cameraRunning && camera)
        camera->setBrightness(brightness);
}

void MainWindow::updateContrast(int value)
{
    const double contrast = value / 50.0;
    contrastValueLabel->setText(QString::number(contrast, 'f', 2));
    if (cameraRunning && camera)
        camera->setContrast(contrast);
}

void MainWindow::syncAdjustmentControls()
{
    const double brightness = camera->brightness();
    const double contrast = camera->contrast();
    const QSignalBlocker brightnessBlocker(brightnessSlider);
    const QSignalBlocker contrastBlocker(contrastSlider);
    brightnessSlider->setValue(int(brightness + 50.0));
    contrastSlider->setValue(int(contrast * 50.0));
    brightnessValueLabel->setText(QString::number(int(brightness)));
    contrastValueLabel->setText(QString::number(contrast, 'f', 2));
}

void MainWindow::onResetDefaults()
{
    if (!cameraRunning || !camera)
        return;
    camera->resetBrightness();
    camera->resetContrast();
    syncAdjustmentControls();
}

// ---------------------------------------------------------------------------------------------
// Snapshots and notifications

void MainWindow::takeSnapshot()
{
    if (!cameraRunning || !camera)
        return;
    const QImage frame = camera->latestFrame();
    if (frame.isNull()) {
        showNotification(tr("No camera frame available"), false);
        return;
    }
    const QImage picture = transformFrame(frame);
    const CameraBase::CameraFormat format = camera->currentFormat();
    const QString defaultPath = FileNaming::snapshotPath(
        snapshotDirectory, QDateTime::currentDateTime(), QSize(format.width, format.height));

    const QString path = autoSaveWithDefaultName
                             ? FileNaming::firstFreePath(defaultPath)
                             : QFileDialog::getSaveFileName(this, tr("Save Snapshot"), defaultPath,
                                                            tr("Images (*.png *.jpg *.jpeg)"));
    if (path.isEmpty())
        return;
    if (ensureParentDirectory(path) && picture.save(path)) {
        showNotification(tr("Snapshot saved (%1x%2)\n%3")
                             .arg(picture.width())
                             .arg(picture.height())
                             .arg(QFileInfo(path).fileName()),
                         true);
    } else {
        showNotification(tr("Failed to save snapshot"), false);
    }
}

void MainWindow::showNotification(const QString &message, bool success)
{
    if (!notificationLabel)
        return;
    notificationLabel->setText(message);
    notificationLabel->setStyleSheet(
        notificationStyle.arg(success ? QStringLiteral("#98C379") : QStringLiteral("#E06C75")));
    notificationLabel->adjustSize();
    const int w = std::clamp(notificationLabel->width(), 200, 400);
    const int h = std::clamp(notificationLabel->height(), 40, 100);
    const QRect area = videoLabel->geometry();
    const int left = area.x() + (area.width() - w) / 2;
    const int top = area.y() + area.height() - 20 - h;
    notificationLabel->setGeometry(left, top, w, h);
    notificationLabel->show();
    notificationLabel->raise();
    notificationTimer->start(3000);
}

// ---------------------------------------------------------------------------------------------
// Recording

void MainWindow::toggleRecording()
{
    if (!cameraRunning || !camera)
        return;

    if (!recordButton->isChecked()) {
        endRecordingControls(true);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        writerThread->stopWriting();
        QApplication::restoreOverrideCursor();
        updateUIState();
        return;
    }

    const QString defaultPath =
        FileNaming::recordingPath(recordingDirectory, QDateTime::currentDateTime());
    const QString path = autoSaveWithDefaultName
                             ? FileNaming::firstFreePath(defaultPath)
                             : QFileDialog::getSaveFileName(this, tr("Save Video Recording"),
                                                            defaultPath, tr("Video Files (*.avi)"));
    if (path.isEmpty()) {
        recordButton->setChecked(false);
        return;
    }
    const QImage frame = camera->latestFrame();
    if (frame.isNull()) {
        showNotification(tr("No camera frame available"), false);
        recordButton->setChecked(false);
        return;
    }
    currentRecordingPath = path;
    // A directory that cannot be made is reported by the writer when it cannot open the file.
    ensureParentDirectory(path);
    if (startRecording(path, frame))
        return;

    showNotification(tr("Recording start failed"), false);
    recordButton->setChecked(false);
    isRecording = false;
    updateUIState();
}

bool MainWindow::startRecording(const QString &path, const QImage &firstFrame)
{
    try {
        const double formatFps = camera->currentFormat().fps;
        recordingFps = formatFps > 0 ? formatFps : 30.0;
        const int codec = 'M' | ('J' << 8) | ('P' << 16) | ('G' << 24);
        // The writer accepts frames of one size only: the size of the frames it will be fed,
        // which are transformed like the live picture.
        const QSize frameSize = transformFrame(firstFrame).size();
        if (!writerThread->startWriting(path, codec, recordingFps, frameSize))
            return false;
        writerThread->start();
        isRecording = true;
        recordingElapsed.start();
        recordingTimer->start(500);
        recordingTimeLabel->show();
        recordingIndicator->show();
        recordingIndicator->setStyleSheet(indicatorStartStyle);
        blinkCounter = 1;
        recordButton->setText(tr("Stop Recording"));
        recordButton->setStyleSheet(recordButtonActiveStyle);
        updateUIState();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

// Returns the recording controls to idle. The time text goes back to "00:00" only after a
// normal stop; after a failure it keeps the last time shown.
void MainWindow::endRecordingControls(bool resetTimeText)
{
    isRecording = false;
    recordingTimer->stop();
    recordingTimeLabel->hide();
    recordingIndicator->hide();
    recordingIndicator->setStyleSheet(indicatorRedStyle);
    recordButton->setText(tr("Record"));
    recordButton->setStyleSheet(QString());
    if (resetTimeText)
        recordingTimeLabel->setText(QStringLiteral("00:00"));
}

void MainWindow::updateRecordingTime()
{
    if (!isRecording)
        return;
    recordingTimeLabel->setText(formatRecordingTime(recordingElapsed.elapsed()));
    blinkCounter = (blinkCounter + 1) % 2;
    recordingIndicator->setStyleSheet(blinkCounter == 1 ? indicatorRedStyle : indicatorHiddenStyle);
}

void MainWindow::onVideoWriterError(QString error)
{
    qWarning() << "Video writer error:" << error;
    if (!isRecording)
        return;
    isRecording = false;
    recordingTimer->stop();
    recordingTimeLabel->hide();
    recordingIndicator->hide();
    recordButton->setChecked(false);
    recordButton->setText(tr("Record"));
    recordButton->setStyleSheet(QString());
    updateUIState();
    showNotification(tr("Recording error occurred"), false);
}

void MainWindow::onVideoWritingStopped()
{
    // The end of an earlier recording can be reported after the next one has started; the path
    // now belongs to the running recording and must stay.
    if (currentRecordingPath.isEmpty() || isRecording)
        return;
    showNotification(tr("Recording saved: %1").arg(QFileInfo(currentRecordingPath).fileName()),
                     true);
    currentRecordingPath.clear();
}

void MainWindow::finishRecordingOnDestruction()
{
    writerThread->stopWriting();
    isRecording = false;
    recordingTimer->stop();
}

// ---------------------------------------------------------------------------------------------
// Fullscreen view

void MainWindow::createFullscreenView()
{
    fullscreenLabel = new QLabel;
    fullscreenLabel->setObjectName(QStringLiteral("fullscreenLabel"));
    fullscreenLabel->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    fullscreenLabel->setStyleSheet(QStringLiteral("QLabel { background-color: black; }"));
    fullscreenLabel->setAlignment(Qt::AlignCenter);
    fullscreenLabel->setScaledContents(false);
    fullscreenLabel->setFocusPolicy(Qt::StrongFocus);
    fullscreenLabel->setAccessibleName(tr("Fullscreen camera view"));
    fullscreenLabel->installEventFilter(this);
}

void MainWindow::toggleFullscreen()
{
    if (!cameraRunning || !camera)
        return;
    if (!fullscreenLabel)
        createFullscreenView();
    if (fullscreenLabel->isVisible()) {
        fullscreenLabel->hide();
        fullscreenButton->setToolTip(tr("Toggle fullscreen camera view"));
        return;
    }
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    fullscreenLabel->setGeometry(screen->geometry());
    const QImage frame = camera->latestFrame();
    if (!frame.isNull()) {
        fullscreenLabel->setPixmap(
            QPixmap::fromImage(transformFrame(frame))
                .scaled(screen->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    fullscreenLabel->showFullScreen();
    fullscreenLabel->raise();
    fullscreenLabel->setFocus(Qt::OtherFocusReason);
    fullscreenButton->setToolTip(tr("Exit fullscreen (ESC)"));
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == fullscreenLabel && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        if (fullscreenLabel && fullscreenLabel->isVisible()) {
            fullscreenLabel->hide();
            fullscreenButton->setToolTip(tr("Toggle fullscreen camera view"));
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Settings

void MainWindow::onShowSettings()
{
    SettingsDialog::Values values;
    values.recordingDirectory = recordingDirectory;
    values.snapshotDirectory = snapshotDirectory;
    values.showFpsCounter = showFpsCounter;
    values.autoSaveWithDefaultName = autoSaveWithDefaultName;

    SettingsDialog dialog(values, this);
    connect(&dialog, &SettingsDialog::resetToDefaultsRequested, this,
            &MainWindow::resetDefaultsFromDialog);
    if (dialog.exec() != QDialog::Accepted)
        return;

    const SettingsDialog::Values chosen = dialog.values();
    if (chosen.recordingDirectory != recordingDirectory) {
        recordingDirectory = chosen.recordingDirectory;
        storeSetting(QStringLiteral("recordingDirectory"), recordingDirectory);
    }
    if (chosen.snapshotDirectory != snapshotDirectory) {
        snapshotDirectory = chosen.snapshotDirectory;
        storeSetting(QStringLiteral("snapshotDirectory"), snapshotDirectory);
    }
    if (chosen.showFpsCounter != showFpsCounter) {
        showFpsCounter = chosen.showFpsCounter;
        storeSetting(QStringLiteral("showFpsCounter"), showFpsCounter);
        if (cameraRunning)
            fpsLabel->setVisible(showFpsCounter);
    }
    if (chosen.autoSaveWithDefaultName != autoSaveWithDefaultName) {
        autoSaveWithDefaultName = chosen.autoSaveWithDefaultName;
        storeSetting(QStringLiteral("autoSaveWithDefaultName"), autoSaveWithDefaultName);
    }
}

// The orientation part of "Reset to Defaults" takes effect at once, even if the dialog is then
// cancelled.
void MainWindow::resetDefaultsFromDialog()
{
    flipButton->setChecked(false);
    horizontalFlip = false;
    rotationAngle = 0;
    updateRotateTooltip();
    storeSetting(QStringLiteral("horizontalFlip"), false);
    storeSetting(QStringLiteral("rotationAngle"), 0);
}
