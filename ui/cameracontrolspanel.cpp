#include "cameracontrolspanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
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
}

void CameraControlsPanel::showCamera(CameraBase *shown)
{
    clear();
    if (!shown || !shown->isCapturing())
        return;
    camera = shown;
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
    const int value = camera->propertyValue(row.range.property).value_or(row.range.def);
    if (row.slider) {
        const QSignalBlocker blocker(row.slider);
        row.slider->setValue(value);
        row.valueLabel->setText(QString::number(value));
    } else {
        row.menu->setCurrentIndex(row.menu->findData(value));
    }
    if (row.automatic) {
        const QSignalBlocker blocker(row.automatic);
        row.automatic->setChecked(camera->propertyAuto(row.range.property).value_or(false));
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
