#include "controlpanel.h"

#include "cameracontrolspanel.h"
#include "scancombobox.h"
#include "sliderscale.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const int logoHeight = 40;

QIcon themedIcon(const char *themeName, const char *fallbackResource)
{
    return QIcon::fromTheme(QString::fromLatin1(themeName),
                            QIcon(QString::fromLatin1(fallbackResource)));
}

// The logo scaled to fit within maxWidth x 40, or a null pixmap when it cannot be loaded.
QPixmap scaledLogo(int maxWidth)
{
    const QPixmap logo(QStringLiteral(":/resources/logo.png"));
    if (logo.isNull() || maxWidth < 1)
        return QPixmap();
    // The size already keeps the aspect ratio; fitting it a second time could lose a pixel of
    // width to rounding.
    const QSize size = logo.size().scaled(maxWidth, logoHeight, Qt::KeepAspectRatio);
    return logo.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QSlider *adjustmentSlider(const QString &toolTip, const QString &accessibleName)
{
    auto *slider = new QSlider(Qt::Horizontal);
    slider->setRange(0, 100);
    slider->setValue(50);
    slider->setEnabled(false);
    slider->setToolTip(toolTip);
    slider->setAccessibleName(accessibleName);
    return slider;
}

QPushButton *iconButton(const QIcon &icon, const QString &accessibleName, QSize size)
{
    auto *button = new QPushButton;
    button->setIcon(icon);
    button->setAccessibleName(accessibleName);
    button->setFixedSize(size);
    button->setIconSize(QSize(20, 20));
    return button;
}

QHBoxLayout *row(std::initializer_list<QWidget *> widgets, QWidget *stretched = nullptr)
{
    auto *layout = new QHBoxLayout;
    for (QWidget *widget : widgets)
        layout->addWidget(widget);
    if (stretched)
        layout->addWidget(stretched, 1);
    return layout;
}

} // namespace

ControlPanel::ControlPanel(QWidget *parent)
    : QWidget(parent)
{
    createWidgets();
    controlPanelLayout = new QVBoxLayout(this);
    controlPanelLayout->setObjectName(QStringLiteral("controlPanelLayout"));
    controlPanelLayout->addWidget(createCameraGroup());
    controlPanelLayout->addWidget(createAdjustmentGroup());
    controlPanelLayout->addWidget(cameraControls);
    controlPanelLayout->addWidget(createCaptureGroup());
    controlPanelLayout->addStretch();
    controlPanelLayout->addWidget(logoLabel);
    controlPanelLayout->addWidget(versionLabel);

    connect(brightnessSlider, &QSlider::valueChanged, this, [this](int position) {
        brightnessValueLabel->setText(SliderScale::brightnessText(position));
    });
    connect(contrastSlider, &QSlider::valueChanged, this, [this](int position) {
        contrastValueLabel->setText(SliderScale::contrastText(position));
    });
}

void ControlPanel::showCameraAdjustment(CameraBase *camera)
{
    using P = CameraBase::Property;
    brightnessScale = SliderScale::of(camera, P::Brightness);
    contrastScale = SliderScale::of(camera, P::Contrast);
    for (const P property : {P::Brightness, P::Contrast}) {
        if (const std::optional<int> value =
                camera ? camera->propertyValue(property) : std::nullopt)
            followProperty(property, *value, camera->propertyAuto(property).value_or(false));
    }
}

void ControlPanel::followProperty(CameraBase::Property property, int value, bool automatic)
{
    const bool brightness = property == CameraBase::Property::Brightness;
    const std::optional<SliderScale> &scale = brightness ? brightnessScale : contrastScale;
    if (scale && (brightness || property == CameraBase::Property::Contrast))
        showAdjustment(brightness ? brightnessSlider : contrastSlider, scale->toPosition(value),
                       automatic);
}

std::optional<int> ControlPanel::deviceValue(CameraBase::Property property, int position) const
{
    const std::optional<SliderScale> &scale =
        property == CameraBase::Property::Brightness ? brightnessScale : contrastScale;
    return scale ? std::optional<int>(scale->toDevice(position)) : std::nullopt;
}

void ControlPanel::showAdjustment(QSlider *slider, int position, bool automatic)
{
    {
        const QSignalBlocker blocker(slider);
        slider->setValue(position);
    }
    QLabel *label = slider == brightnessSlider ? brightnessValueLabel : contrastValueLabel;
    label->setText(slider == brightnessSlider ? SliderScale::brightnessText(position)
                                              : SliderScale::contrastText(position));
    // Under the camera's automatic control the slider follows the camera and takes no input.
    slider->setProperty("automatic", automatic);
    setAdjustable(adjustable);
}

void ControlPanel::setAdjustable(bool live)
{
    adjustable = live;
    for (QSlider *slider : {brightnessSlider, contrastSlider})
        slider->setEnabled(live && !slider->property("automatic").toBool());
    resetButton->setEnabled(live);
}

void ControlPanel::stepSlider(QSlider *slider, int step)
{
    if (!slider->isEnabled())
        return;
    if (slider->hasFocus()) {
        slider->triggerAction(step > 0 ? QAbstractSlider::SliderSingleStepAdd
                                       : QAbstractSlider::SliderSingleStepSub);
        return;
    }
    slider->setValue(std::clamp(slider->value() + step, SliderScale::lowest, SliderScale::highest));
}

void ControlPanel::createWidgets()
{
    cameraSelector = new ScanComboBox;
    cameraSelector->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    cameraSelector->setAccessibleName(tr("Camera"));

    formatSelector = new QComboBox;
    formatSelector->setEnabled(false);
    formatSelector->setAccessibleName(tr("Format"));

    startStopButton = new QPushButton(tr("Start Camera"));
    startStopButton->setEnabled(false);
    startStopButton->setMinimumWidth(100);

    settingsButton = iconButton(themedIcon("preferences-system", ":/resources/settings.png"),
                                tr("Settings"), QSize(32, 32));
    settingsButton->setToolTip(tr("Configure recording and snapshot directories"));

    brightnessSlider =
        adjustmentSlider(tr("Adjust camera brightness (use Up/Down arrow keys)"), tr("Brightness"));
    contrastSlider = adjustmentSlider(tr("Adjust camera contrast (use Shift+Up/Down arrow keys)"),
                                      tr("Contrast"));
    brightnessValueLabel = new QLabel(tr("0"));
    contrastValueLabel = new QLabel(tr("1.00"));

    resetButton = new QPushButton(tr("Reset"));
    resetButton->setEnabled(false);
    // 80 pixels, or what a longer translation needs.
    resetButton->setMaximumWidth(std::max(80, resetButton->sizeHint().width()));
    resetButton->setToolTip(tr("Reset brightness and contrast to camera defaults"));

    flipButton = iconButton(themedIcon("object-flip-horizontal", ":/resources/flip.png"),
                            tr("Mirror"), QSize(32, 28));
    flipButton->setCheckable(true);
    flipButton->setToolTip(tr("Mirror the camera image horizontally"));
    rotateButton = iconButton(themedIcon("object-rotate-right", ":/resources/rotate.png"),
                              tr("Rotate"), QSize(32, 28));

    snapshotButton = new QPushButton(tr("Snapshot"));
    snapshotButton->setEnabled(false);
    snapshotButton->setIcon(themedIcon("camera-photo", ":/resources/snapshot.png"));
    snapshotButton->setToolTip(tr("Take a snapshot of the current camera view (Ctrl+S)"));

    recordButton = new QPushButton(tr("Record"));
    recordButton->setEnabled(false);
    recordButton->setCheckable(true);
    recordButton->setIcon(themedIcon("media-record", ":/resources/record.png"));
    recordButton->setToolTip(tr("Start/stop recording video from camera (Ctrl+R)"));

    pauseButton = new QPushButton(tr("Pause"));
    pauseButton->setEnabled(false);
    pauseButton->setCheckable(true);
    pauseButton->setIcon(
        QIcon::fromTheme(QStringLiteral("media-playback-pause"),
                         pauseButton->style()->standardIcon(QStyle::SP_MediaPause)));
    pauseButton->setToolTip(tr("Pause/resume the recording (Ctrl+P)"));

    publishButton = new QPushButton(tr("Publish"));

    cameraControls = new CameraControlsPanel;

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

    const std::pair<QWidget *, const char *> named[] = {
        {cameraSelector, "cameraSelector"},
        {formatSelector, "formatSelector"},
        {startStopButton, "startStopButton"},
        {settingsButton, "settingsButton"},
        {brightnessSlider, "brightnessSlider"},
        {contrastSlider, "contrastSlider"},
        {brightnessValueLabel, "brightnessValueLabel"},
        {contrastValueLabel, "contrastValueLabel"},
        {resetButton, "resetButton"},
        {flipButton, "flipButton"},
        {rotateButton, "rotateButton"},
        {snapshotButton, "snapshotButton"},
        {recordButton, "recordButton"},
        {pauseButton, "pauseButton"},
        {publishButton, "publishButton"},
        {cameraControls, "cameraControls"},
        {logoLabel, "logoLabel"},
        {versionLabel, "versionLabel"},
    };
    for (const auto &[widget, name] : named)
        widget->setObjectName(QString::fromLatin1(name));
}

QWidget *ControlPanel::createCameraGroup()
{
    auto *group = new QGroupBox(tr("Camera Control"));
    auto *layout = new QVBoxLayout(group);
    auto *cameraLabel = new QLabel(tr("Camera:"));
    cameraLabel->setBuddy(cameraSelector);
    layout->addLayout(row({cameraLabel}, cameraSelector));
    auto *formatLabel = new QLabel(tr("Format:"));
    formatLabel->setBuddy(formatSelector);
    layout->addLayout(row({formatLabel}, formatSelector));
    layout->addLayout(row({startStopButton, settingsButton}));
    return group;
}

QWidget *ControlPanel::createAdjustmentGroup()
{
    auto *group = new QGroupBox(tr("Image Adjustment"));
    adjustmentLayout = new QGridLayout(group);
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
    return group;
}

QWidget *ControlPanel::createCaptureGroup()
{
    auto *group = new QGroupBox(tr("Capture Controls"));
    auto *layout = new QHBoxLayout(group);
    layout->addWidget(snapshotButton);
    layout->addWidget(recordButton);
    layout->addWidget(pauseButton);
    layout->addWidget(publishButton);
    return group;
}

void ControlPanel::updateLogo(int maxWidth)
{
    const QPixmap logo = scaledLogo(maxWidth);
    if (logo.isNull())
        return;
    logoLabel->setPixmap(logo);
    logoLabel->setMinimumHeight(logoHeight);
    logoLabel->setFixedHeight(logo.height());
}

void ControlPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateLogo(int(width() * 0.9));
}
