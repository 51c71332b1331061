#include "settingsdialog.h"

#include "aboutlinks.h"
#include "appinfo.h"
#include "recordingsettingsgroup.h"
#include "soundsettingsgroup.h"
#include "usblink.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

SettingsDialog::SettingsDialog(const AppSettings &values, QWidget *parent)
    : QDialog(parent)
    , initial(values)
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(createInterfaceGroup(values));
    layout->addWidget(createDirectoryGroup(values));
    recordingGroup = new RecordingSettingsGroup(values);
    layout->addWidget(recordingGroup);
    const std::optional<UsbLink> link = UsbLink::ofCamera(values.cameraId);
    soundGroup = new SoundSettingsGroup(values, link ? link->sysfsPath : QString());
    layout->addWidget(soundGroup);
    layout->addWidget(createAboutGroup());

    auto *buttonRow = new QHBoxLayout;
    auto *resetButton = new QPushButton(tr("Reset to Defaults"));
    resetButton->setObjectName(QStringLiteral("resetToDefaultsButton"));
    resetButton->setToolTip(tr("Reset all settings to their default values"));
    auto *okButton = new QPushButton(tr("OK"));
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    auto *cancelButton = new QPushButton(tr("Cancel"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    buttonRow->addWidget(resetButton);
    buttonRow->addStretch();
    buttonRow->addWidget(okButton);
    buttonRow->addWidget(cancelButton);
    layout->addLayout(buttonRow);

    connect(resetButton, &QPushButton::clicked, this, &SettingsDialog::resetToDefaults);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    setWindowTitle(tr("Ostrel Settings"));
    setModal(true);
    resize(500, 700);
}

QWidget *SettingsDialog::createInterfaceGroup(const AppSettings &values)
{
    auto *group = new QGroupBox(tr("User Interface Settings"));
    auto *layout = new QVBoxLayout(group);
    showFpsCheckBox = new QCheckBox(tr("Show FPS Counter"));
    showFpsCheckBox->setObjectName(QStringLiteral("showFpsCheckBox"));
    showFpsCheckBox->setChecked(values.showFpsCounter);
    showFpsCheckBox->setToolTip(tr("Show/hide the FPS counter overlay on the camera view"));
    autoSaveCheckBox = new QCheckBox(tr("Auto-save with default filename"));
    autoSaveCheckBox->setObjectName(QStringLiteral("autoSaveCheckBox"));
    autoSaveCheckBox->setChecked(values.autoSaveWithDefaultName);
    autoSaveCheckBox->setToolTip(tr("When enabled, snapshots and recordings are saved "
                                    "automatically with default filenames without showing save "
                                    "dialog"));
    startLastCameraCheckBox = new QCheckBox(tr("Start the last camera when Ostrel opens"));
    startLastCameraCheckBox->setObjectName(QStringLiteral("startLastCameraCheckBox"));
    startLastCameraCheckBox->setChecked(values.startLastCamera);
    startLastCameraCheckBox->setToolTip(
        tr("When enabled, the camera used last starts by itself, in its last format"));
    layout->addWidget(showFpsCheckBox);
    layout->addWidget(autoSaveCheckBox);
    layout->addWidget(startLastCameraCheckBox);
    publishUrlEdit = new QLineEdit(values.publishUrl);
    publishUrlEdit->setObjectName(QStringLiteral("publishUrlEdit"));
    publishUrlEdit->setPlaceholderText(tr("Publish to: rtmp://, rtsp:// or srt:// address"));
    publishUrlEdit->setToolTip(tr("The media server the Publish button sends the picture to"));
    layout->addWidget(publishUrlEdit);
    return group;
}

QWidget *SettingsDialog::createDirectoryGroup(const AppSettings &values)
{
    auto *group = new QGroupBox(tr("Directory Settings"));
    auto *grid = new QGridLayout(group);

    struct Row
    {
        QString label;
        QString caption;
        QString openTip;
        QString name;
        QString directory;
        QLineEdit **field;
    };
    const Row rows[] = {
        {tr("Recording Directory:"), tr("Select Recording Directory"),
         tr("Open recording directory"), QStringLiteral("recording"), values.recordingDirectory,
         &recordingDirectoryEdit},
        {tr("Snapshot Directory:"), tr("Select Snapshot Directory"), tr("Open snapshot directory"),
         QStringLiteral("snapshot"), values.snapshotDirectory, &snapshotDirectoryEdit},
    };
    int row = 0;
    for (const Row &r : rows) {
        auto *label = new QLabel(r.label);
        auto *field = new QLineEdit(r.directory);
        field->setObjectName(r.name + QStringLiteral("DirectoryEdit"));
        field->setReadOnly(true);
        label->setBuddy(field);
        auto *browse = new QPushButton(tr("Browse..."));
        browse->setObjectName(r.name + QStringLiteral("BrowseButton"));
        auto *open = new QPushButton;
        open->setObjectName(r.name + QStringLiteral("OpenButton"));
        open->setIcon(QIcon::fromTheme(QStringLiteral("folder-open"),
                                       QIcon(QStringLiteral(":/resources/folder.png"))));
        open->setFixedSize(28, 28);
        open->setIconSize(QSize(16, 16));
        open->setToolTip(r.openTip);
        open->setAccessibleName(r.openTip);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        grid->addWidget(browse, row, 2);
        grid->addWidget(open, row, 3);
        *r.field = field;
        const QString caption = r.caption;
        connect(browse, &QPushButton::clicked, this,
                [this, field, caption] { chooseDirectory(field, caption); });
        connect(open, &QPushButton::clicked, this, [this, field] { openDirectory(field); });
        ++row;
    }
    return group;
}

QString SettingsDialog::aboutText()
{
    const QString vendor = QStringLiteral(OSTREL_VENDOR_URL);
    const QString support = QStringLiteral(OSTREL_SUPPORT_URL);
    return tr("<p><b>Version:</b> %1</p><p><b>Description:</b> Ostrel camera capture application "
              "with video recording capabilities.</p><p><b>Features:</b></p><ul><li>Real-time "
              "camera preview with adjustable brightness, contrast and transformation</li><li>"
              "High-resolution snapshot capture</li><li>Threaded video recording with frame "
              "duplication for consistent timing</li><li>Support for multiple camera formats and "
              "resolutions</li></ul><p><b>Links:</b></p>")
               .arg(QString::fromLatin1(AppInfo::version)) +
           QStringLiteral("<ul><li><a href=\"%1\">%1</a></li><li><a href=\"%2\">%3</a></li></ul>")
               .arg(vendor.toHtmlEscaped(), support.toHtmlEscaped(), tr("Contact Support")) +
           tr("<p>&copy; %1</p>").arg(QString::fromLatin1(AppInfo::organisation));
}

QWidget *SettingsDialog::createAboutGroup()
{
    auto *group = new QGroupBox(tr("About Ostrel Camera Viewer"));
    auto *layout = new QVBoxLayout(group);
    auto *about = new QLabel(aboutText());
    about->setObjectName(QStringLiteral("aboutLabel"));
    about->setWordWrap(true);
    about->setOpenExternalLinks(true);
    about->setTextFormat(Qt::RichText);
    layout->addWidget(about);
    layout->addStretch();
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(about);
    layout->addWidget(scroll);
    return group;
}

AppSettings SettingsDialog::values() const
{
    AppSettings chosen = initial;
    chosen.recordingDirectory = recordingDirectoryEdit->text();
    chosen.snapshotDirectory = snapshotDirectoryEdit->text();
    chosen.showFpsCounter = showFpsCheckBox->isChecked();
    chosen.autoSaveWithDefaultName = autoSaveCheckBox->isChecked();
    chosen.startLastCamera = startLastCameraCheckBox->isChecked();
    chosen.publishUrl = publishUrlEdit->text().trimmed();
    recordingGroup->applyTo(chosen);
    soundGroup->applyTo(chosen);
    return chosen;
}

void SettingsDialog::chooseDirectory(QLineEdit *field, const QString &caption)
{
    const QString directory = QFileDialog::getExistingDirectory(
        this, caption, field->text(), QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (!directory.isEmpty())
        field->setText(directory);
}

void SettingsDialog::openDirectory(const QLineEdit *field)
{
    if (!field->text().isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(field->text()));
}

void SettingsDialog::resetToDefaults()
{
    showFpsCheckBox->setChecked(true);
    autoSaveCheckBox->setChecked(true);
    startLastCameraCheckBox->setChecked(false);
    recordingGroup->resetToDefaults();
    soundGroup->resetToDefaults();
    recordingDirectoryEdit->setText(
        QStandardPaths::writableLocation(QStandardPaths::MoviesLocation));
    snapshotDirectoryEdit->setText(
        QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
    emit resetToDefaultsRequested();
}

bool SettingsDialog::edit(QWidget *parent, AppSettings &settings,
                          const std::function<void()> &resetOrientation)
{
    SettingsDialog dialog(settings, parent);
    connect(&dialog, &SettingsDialog::resetToDefaultsRequested, parent, resetOrientation);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const bool showFpsChanged = dialog.values().showFpsCounter != settings.showFpsCounter;
    settings.storeChoices(dialog.values());
    return showFpsChanged;
}
