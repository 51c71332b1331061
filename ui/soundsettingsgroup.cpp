#include "soundsettingsgroup.h"

#include "audiosourcescanner.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

SoundSettingsGroup::SoundSettingsGroup(const AppSettings &values, const QString &cameraUsbPath,
                                       QWidget *parent)
    : QGroupBox(tr("Sound"), parent)
    , cameraUsbPath(cameraUsbPath)
    , sourceBox(new QComboBox)
    , codecBox(new QComboBox)
    , serverNote(new QLabel)
    , scanner(new AudioSourceScanner(this))
{
    sourceBox->setObjectName(QStringLiteral("soundSourceBox"));
    sourceBox->setToolTip(tr("Where recordings of this camera take their sound from"));
    codecBox->setObjectName(QStringLiteral("soundCodecBox"));
    codecBox->addItem(tr("AAC"));
    codecBox->addItem(tr("Opus"));
    codecBox->setToolTip(tr("The sound's codec in MKV and MP4 files; AVI files hold it "
                            "uncompressed"));
    codecBox->setCurrentIndex(values.soundCodec == RecordingOptions::AudioCodec::Opus ? 1 : 0);
    serverNote->setObjectName(QStringLiteral("soundServerNote"));
    serverNote->setWordWrap(true);
    serverNote->setText(tr("Asking the sound server for its sources…"));

    auto *layout = new QFormLayout(this);
    layout->addRow(tr("Sound source:"), sourceBox);
    layout->addRow(tr("Sound codec:"), codecBox);
    layout->addRow(serverNote);

    showSources({}, {});
    select(values.soundSource);
    connect(scanner, &AudioSourceScanner::finished, this, &SoundSettingsGroup::showSources);
    scanner->scan();
}

void SoundSettingsGroup::showSources(const AudioSourceList &list, const QString &error)
{
    const QString choice = sourceBox->currentData().toString();
    sourceBox->clear();
    sourceBox->addItem(tr("None"), QStringLiteral("none"));
    const std::optional<AudioSourceInfo> microphone = list.cameraMicrophone(cameraUsbPath);
    sourceBox->addItem(microphone ? tr("The camera's microphone (%1)").arg(microphone->description)
                                  : tr("The camera's microphone"),
                       QStringLiteral("camera"));
    sourceBox->addItem(tr("The default source"), QStringLiteral("default"));
    for (const AudioSourceInfo &source : list.ordered(cameraUsbPath))
        sourceBox->addItem(source.description, source.name);
    if (!error.isEmpty())
        serverNote->setText(tr("No sound server (%1): recordings have no sound.").arg(error));
    else
        serverNote->setVisible(false);
    if (!choice.isEmpty())
        select(choice);
}

void SoundSettingsGroup::select(const QString &choice)
{
    int index = sourceBox->findData(choice);
    if (index < 0) {
        // A source not connected now is kept as chosen.
        sourceBox->addItem(tr("%1 (not connected)").arg(choice), choice);
        index = sourceBox->count() - 1;
    }
    sourceBox->setCurrentIndex(index);
}

void SoundSettingsGroup::applyTo(AppSettings &settings) const
{
    settings.soundSource = sourceBox->currentData().toString();
    settings.soundCodec = codecBox->currentIndex() == 1 ? RecordingOptions::AudioCodec::Opus
                                                        : RecordingOptions::AudioCodec::Aac;
}

void SoundSettingsGroup::resetToDefaults()
{
    select(QStringLiteral("camera"));
    codecBox->setCurrentIndex(0);
}
