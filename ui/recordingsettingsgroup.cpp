#include "recordingsettingsgroup.h"

#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>

namespace {

// What a minute of each format takes, measured at 1920x1080@30 on the synthetic camera with
// sensor noise (ostrel_bench_live_view record-pass-noise and record-h264, see the README).
constexpr int motionJpegMegabytesPerMinute = 460;
constexpr int h264MegabytesPerMinute = 8;

QSpinBox *countBox(const char *name, int max, const QString &suffix, const QString &zeroText,
                   const QString &tip)
{
    auto *box = new QSpinBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0, max);
    box->setSuffix(suffix);
    box->setSpecialValueText(zeroText);
    box->setToolTip(tip);
    return box;
}

} // namespace

RecordingSettingsGroup::RecordingSettingsGroup(const AppSettings &values, QWidget *parent)
    : QGroupBox(tr("Recording Settings"), parent)
{
    formatBox = new QComboBox;
    formatBox->setObjectName(QStringLiteral("recordingFormatBox"));
    formatBox->addItem(tr("Motion-JPEG AVI (about %1 MB per minute at 1080p30)")
                           .arg(motionJpegMegabytesPerMinute));
    formatBox->addItem(
        tr("H.264 MKV (about %1 MB per minute at 1080p30)").arg(h264MegabytesPerMinute));
    formatBox->addItem(
        tr("H.264 MP4 (about %1 MB per minute at 1080p30)").arg(h264MegabytesPerMinute));
    formatBox->setToolTip(tr("Motion-JPEG keeps the camera's own pictures and plays everywhere; "
                             "H.264 files are several times smaller"));
    segmentBox = countBox("segmentMinutesBox", 24 * 60, tr(" min"), tr("Never"),
                          tr("Start a new numbered file every so many minutes"));
    timelapseBox = countBox("timelapseSecondsBox", 24 * 3600, tr(" s"), tr("Off"),
                            tr("Record a time-lapse: one frame every so many seconds, played at "
                               "30 fps"));
    maxSizeBox = countBox("maxSizeBox", 100000000, tr(" MB"), tr("No limit"),
                          tr("Stop the recording once its files hold this much"));
    minFreeBox = countBox("minFreeBox", 100000000, tr(" MB"), tr("None"),
                          tr("Stop the recording before the free space on the disk falls below "
                             "this"));

    auto *layout = new QFormLayout(this);
    layout->addRow(tr("Recording format:"), formatBox);
    layout->addRow(tr("Start a new file every:"), segmentBox);
    layout->addRow(tr("Time-lapse, one frame every:"), timelapseBox);
    layout->addRow(tr("Stop at a size of:"), maxSizeBox);
    layout->addRow(tr("Keep free on the disk:"), minFreeBox);
    show(values);
}

void RecordingSettingsGroup::show(const AppSettings &values)
{
    formatBox->setCurrentIndex(int(values.recordingFormat));
    segmentBox->setValue(values.segmentMinutes);
    timelapseBox->setValue(values.timelapseSeconds);
    maxSizeBox->setValue(values.maxSizeMegabytes);
    minFreeBox->setValue(values.minFreeMegabytes);
}

void RecordingSettingsGroup::applyTo(AppSettings &settings) const
{
    settings.recordingFormat = AppSettings::RecordingFormat(formatBox->currentIndex());
    settings.segmentMinutes = segmentBox->value();
    settings.timelapseSeconds = timelapseBox->value();
    settings.maxSizeMegabytes = maxSizeBox->value();
    settings.minFreeMegabytes = minFreeBox->value();
}

void RecordingSettingsGroup::resetToDefaults()
{
    show(AppSettings::defaults());
}
