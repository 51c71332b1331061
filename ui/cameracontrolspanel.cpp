#include "cameracontrolspanel.h"

#include "appinfo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMetaEnum>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A name for object names: "Exposure" gives "exposure".
QString keyOf(CameraBase::Property property)
{
    QString key =
        QString::fromLatin1(QMetaEnum::fromType<CameraBase::Property>().valueToKey(int(property)));
    key[0] = key[0].toLower();
    return key;
}

} // namespace

CameraControlsPanel::CameraControlsPanel(QWidget *parent)
    : QWidget(parent)
{
    toggleButton = new QToolButton;
    toggleButton->setObjectName(QStringLiteral("cameraControlsToggle"));
    toggleButton->setText(tr("Camera Controls"));
    toggleButton->setCheckable(true);
    toggleButton->setArrowType(Qt::RightArrow);
    toggleButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toggleButton->setFocusPolicy(Qt::StrongFocus);
    toggleButton->setToolTip(tr("Show or hide the camera's own controls"));

    content = new QWidget;
    content->setObjectName(QStringLiteral("cameraControlsContent"));
    content->setVisible(false);
    auto *contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    placeholder = new QLabel(tr("Start the camera to see its controls."));
    placeholder->setWordWrap(true);
    rowsLayout = new QGridLayout;
    resetAllButton = new QPushButton(tr("Reset all"));
    resetAllButton->setObjectName(QStringLiteral("cameraControlsResetButton"));
    resetAllButton->setToolTip(tr("Return every control of this section to the camera's default"));
    resetAllButton->setEnabled(false);
    contentLayout->addWidget(placeholder);
    contentLayout->addLayout(rowsLayout);
    contentLayout->addWidget(resetAllButton, 0, Qt::AlignLeft);
    contentLayout->addWidget(createProfileBox());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(toggleButton);
    layout->addWidget(content);

    connect(toggleButton, &QToolButton::toggled, this, [this](bool open) {
        toggleButton->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
        content->setVisible(open);
    });
    connect(resetAllButton, &QPushButton::clicked, this, &CameraControlsPanel::resetAll);
}

QWidget *CameraControlsPanel::createProfileBox()
{
    profileBox = new QWidget;
    profileBox->setObjectName(QStringLiteral("profileBox"));
    profileBox->setEnabled(false);
    profileSelector = new QComboBox;
    profileSelector->setAccessibleName(tr("Profile"));
    profileSelector->setToolTip(tr("The camera's saved control values"));
    auto *label = new QLabel(tr("&Profile:"));
    label->setBuddy(profileSelector);
    saveProfileButton = new QPushButton(tr("Save..."));
    saveProfileButton->setToolTip(tr("Save the camera's control values as a profile"));
    loadProfileButton = new QPushButton(tr("Load"));
    loadProfileButton->setToolTip(tr("Give the camera the profile's values"));
    renameProfileButton = new QPushButton(tr("Rename..."));
    deleteProfileButton = new QPushButton(tr("Delete"));
    applyOnStartBox = new QCheckBox(tr("Apply on start"));
    applyOnStartBox->setToolTip(tr("Apply this profile whenever the camera starts or returns"));
    keepValuesBox = new QCheckBox(tr("Keep my values"));
    keepValuesBox->setToolTip(tr("Put back values that another program changes"));
    const std::pair<QWidget *, const char *> named[] = {
        {profileSelector, "profileSelector"},
        {saveProfileButton, "saveProfileButton"},
        {loadProfileButton, "loadProfileButton"},
        {renameProfileButton, "renameProfileButton"},
        {deleteProfileButton, "deleteProfileButton"},
        {applyOnStartBox, "applyOnStartBox"},
        {keepValuesBox, "keepValuesBox"}};
    for (const auto &[widget, name] : named)
        widget->setObjectName(QLatin1String(name));

    auto *layout = new QGridLayout(profileBox);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label, 0, 0);
    layout->addWidget(profileSelector, 0, 1, 1, 3);
    layout->addWidget(saveProfileButton, 1, 0);
    layout->addWidget(loadProfileButton, 1, 1);
    layout->addWidget(renameProfileButton, 1, 2);
    layout->addWidget(deleteProfileButton, 1, 3);
    layout->addWidget(applyOnStartBox, 2, 0, 1, 2);
    layout->addWidget(keepValuesBox, 2, 2, 1, 2);

    connect(saveProfileButton, &QPushButton::clicked, this, &CameraControlsPanel::saveProfile);
    connect(loadProfileButton, &QPushButton::clicked, this, &CameraControlsPanel::loadProfile);
    connect(renameProfileButton, &QPushButton::clicked, this, &CameraControlsPanel::renameProfile);
    connect(deleteProfileButton, &QPushButton::clicked, this, &CameraControlsPanel::deleteProfile);
    connect(profileSelector, &QComboBox::currentTextChanged, this, [this](const QString &name) {
        const QSignalBlocker blocker(applyOnStartBox);
        applyOnStartBox->setChecked(profiles && !name.isEmpty() &&
                                    profiles->startProfile() == name);
        for (QWidget *button : std::initializer_list<QWidget *>{
                 loadProfileButton, renameProfileButton, deleteProfileButton, applyOnStartBox})
            button->setEnabled(!name.isEmpty());
    });
    connect(applyOnStartBox, &QCheckBox::toggled, this, [this](bool on) {
        if (profiles)
            profiles->setStartProfile(on ? profileSelector->currentText() : QString());
    });
    connect(keepValuesBox, &QCheckBox::toggled, this, [this](bool keep) {
        if (profiles)
            profiles->setKeepValues(keep);
        emit keepValuesChanged(keep);
    });
    return profileBox;
}

void CameraControlsPanel::showProfiles(const QString &selected)
{
    const QSignalBlocker blocker(profileSelector);
    profileSelector->clear();
    if (profiles)
        profileSelector->addItems(profiles->names());
    const int index = profileSelector->findText(
        selected.isEmpty() && profiles ? profiles->startProfile() : selected);
    profileSelector->setCurrentIndex(index >= 0 ? index : 0);
    emit profileSelector->currentTextChanged(profileSelector->currentText());
}

void CameraControlsPanel::saveProfile()
{
    if (!camera || !profiles)
        return;
    const QString current = profileSelector->currentText();
    bool ok = false;
    const QString name = QInputDialog::getText(
        this, tr("Save Profile"), tr("Profile name:"), QLineEdit::Normal,
        current.isEmpty() ? tr("Profile %1").arg(profileSelector->count() + 1) : current, &ok);
    if (!ok)
        return;
    if (!profiles->save(name.trimmed(), ControlProfiles::read(camera))) {
        QMessageBox::warning(this, tr("Save Profile"),
                             tr("The profile could not be saved. Use a name that is not empty; "
                                "at most %1 profiles are kept.")
                                 .arg(ControlProfiles::maximum));
        return;
    }
    showProfiles(name.trimmed());
}

void CameraControlsPanel::loadProfile()
{
    const std::optional<ControlProfiles::Controls> controls =
        profiles ? profiles->load(profileSelector->currentText()) : std::nullopt;
    if (!camera || !controls)
        return;
    ControlProfiles::apply(camera, *controls);
    for (const Row &row : rows)
        showValues(row);
    for (const CameraBase::Property property : controls->keys())
        emit propertyChanged(property);
}

void CameraControlsPanel::renameProfile()
{
    const QString from = profileSelector->currentText();
    bool ok = false;
    const QString to = QInputDialog::getText(this, tr("Rename Profile"), tr("New name:"),
                                             QLineEdit::Normal, from, &ok);
    if (!ok || !profiles)
        return;
    if (!profiles->rename(from, to.trimmed())) {
        QMessageBox::warning(this, tr("Rename Profile"),
                             tr("The profile could not be renamed. Use a name that is not "
                                "empty and not taken."));
        return;
    }
    showProfiles(to.trimmed());
}

void CameraControlsPanel::deleteProfile()
{
    if (profiles && profiles->remove(profileSelector->currentText()))
        showProfiles(QString());
}

QString CameraControlsPanel::displayName(CameraBase::Property property)
{
    using P = CameraBase::Property;
    switch (property) {
    case P::Exposure:
        return tr("Exposure");
    case P::Focus:
        return tr("Focus");
    case P::Zoom:
        return tr("Zoom");
    case P::WhiteBalance:
        return tr("White balance");
    case P::Gain:
        return tr("Gain");
    case P::Brightness:
        return tr("Brightness");
    case P::Contrast:
        return tr("Contrast");
    case P::Saturation:
        return tr("Saturation");
    case P::Gamma:
        return tr("Gamma");
    case P::Hue:
        return tr("Hue");
    case P::Sharpness:
        return tr("Sharpness");
    case P::BacklightCompensation:
        return tr("Backlight compensation");
    case P::PowerLineFrequency:
        return tr("Power-line frequency");
    }
    return QString();
}

void CameraControlsPanel::clear()
{
    camera = nullptr;
    rows.clear();
    for (QWidget *widget : rowWidgets)
        delete widget;
    rowWidgets.clear();
    placeholder->setVisible(true);
    resetAllButton->setEnabled(false);
    profiles.reset();
    profileBox->setEnabled(false);
}

void CameraControlsPanel::showCamera(CameraBase *shown, const QString &cameraId)
{
    clear();
    if (!shown || !shown->isCapturing())
        return;
    camera = shown;
    profiles.emplace(QString::fromLatin1(AppInfo::organisation), QString::fromLatin1(AppInfo::name),
                     cameraId);
    profileBox->setEnabled(true);
    showProfiles(QString());
    {
        const QSignalBlocker blocker(keepValuesBox);
        keepValuesBox->setChecked(profiles->keepsValues());
    }
    for (const CameraBase::PropertyRange &range : camera->properties()) {
        if (range.property != CameraBase::Property::Brightness &&
            range.property != CameraBase::Property::Contrast)
            addRow(range);
    }
    placeholder->setVisible(rows.empty());
    resetAllButton->setEnabled(!rows.empty());
    for (const Row &row : rows)
        showValues(row);
}

void CameraControlsPanel::addRow(const CameraBase::PropertyRange &range)
{
    const QString name = displayName(range.property);
    const QString key = keyOf(range.property);
    const int line = int(rows.size());
    Row row;
    row.range = range;
    auto *label = new QLabel(tr("%1:").arg(name));
    QWidget *editor = nullptr;
    // The power-line frequency is a menu whose entries every camera numbers alike.
    if (range.property == CameraBase::Property::PowerLineFrequency) {
        const QStringList entries = {tr("Off"), tr("50 Hz"), tr("60 Hz"), tr("Automatic")};
        row.menu = new QComboBox;
        for (int value = range.min; value <= range.max; ++value)
            row.menu->addItem(entries.value(value, QString::number(value)), value);
        editor = row.menu;
    } else {
        row.slider = new QSlider(Qt::Horizontal);
        row.slider->setRange(range.min, range.max);
        row.slider->setPageStep(qMax(1, (range.max - range.min) / 10));
        row.valueLabel = new QLabel;
        row.valueLabel->setObjectName(key + QStringLiteral("Value"));
        row.valueLabel->setMinimumWidth(40);
        editor = row.slider;
    }
    editor->setObjectName(key + QStringLiteral("Control"));
    editor->setAccessibleName(name);
    label->setBuddy(editor);
    rowsLayout->addWidget(label, line, 0);
    rowsLayout->addWidget(editor, line, 1);
    rowWidgets.insert(rowWidgets.end(), {label, editor});
    if (row.valueLabel) {
        rowsLayout->addWidget(row.valueLabel, line, 2);
        rowWidgets.push_back(row.valueLabel);
    }
    if (range.hasAuto) {
        row.automatic = new QCheckBox(tr("Auto"));
        row.automatic->setObjectName(key + QStringLiteral("Auto"));
        row.automatic->setAccessibleName(tr("Automatic %1").arg(name));
        rowsLayout->addWidget(row.automatic, line, 3);
        rowWidgets.push_back(row.automatic);
    }
    rows.push_back(row);

    const CameraBase::Property property = range.property;
    const auto find = [this, property]() -> const Row & {
        return *std::find_if(rows.begin(), rows.end(),
                             [property](const Row &r) { return r.range.property == property; });
    };
    if (row.slider)
        connect(row.slider, &QSlider::valueChanged, this,
                [this, find](int value) { onValueEdited(find(), value); });
    else
        connect(row.menu, &QComboBox::activated, this, [this, find](int index) {
            onValueEdited(find(), find().menu->itemData(index).toInt());
        });
    if (row.automatic)
        connect(row.automatic, &QCheckBox::toggled, this,
                [this, find](bool on) { onAutoEdited(find(), on); });
}

// Shows the camera's values without sending them back.
void CameraControlsPanel::showValues(const Row &row)
{
    showValue(row, camera->propertyValue(row.range.property).value_or(row.range.def),
              camera->propertyAuto(row.range.property).value_or(false));
}

void CameraControlsPanel::showValue(const Row &row, int value, bool automatic)
{
    QWidget *editor = row.slider ? static_cast<QWidget *>(row.slider) : row.menu;
    if (row.slider) {
        const QSignalBlocker blocker(row.slider);
        row.slider->setValue(value);
        row.valueLabel->setText(QString::number(value));
    } else {
        const QSignalBlocker blocker(row.menu);
        row.menu->setCurrentIndex(row.menu->findData(value));
    }
    editor->setEnabled(!automatic);
    if (row.automatic) {
        const QSignalBlocker blocker(row.automatic);
        row.automatic->setChecked(automatic);
    }
}

void CameraControlsPanel::followProperty(CameraBase::Property property, int value, bool automatic)
{
    for (const Row &row : rows) {
        if (row.range.property == property)
            showValue(row, value, automatic);
    }
}

void CameraControlsPanel::onValueEdited(const Row &row, int value)
{
    if (!camera)
        return;
    camera->setPropertyValue(row.range.property, value);
    // Setting a value by hand ended the automatic mode; what the camera took is shown.
    showValues(row);
    emit propertyChanged(row.range.property);
}

void CameraControlsPanel::onAutoEdited(const Row &row, bool automatic)
{
    if (!camera)
        return;
    camera->setPropertyAuto(row.range.property, automatic);
    showValues(row);
    emit propertyChanged(row.range.property);
}

void CameraControlsPanel::resetAll()
{
    if (!camera)
        return;
    for (const Row &row : rows) {
        camera->setPropertyValue(row.range.property, row.range.def);
        if (row.range.hasAuto)
            camera->setPropertyAuto(row.range.property, true);
        showValues(row);
        emit propertyChanged(row.range.property);
    }
}
