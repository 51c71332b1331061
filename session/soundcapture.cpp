#include "soundcapture.h"

#include "pulseaudiosource.h"
#include "recorder.h"

#include <QDebug>

SoundCapture::SoundCapture(Recorder *recorder, QObject *parent)
    : QObject(parent)
    , recorder(recorder)
    , makeSource([](const AudioSourceInfo &source) {
        return std::unique_ptr<AudioSource>(std::make_unique<PulseAudioSource>(source));
    })
    , scanner(new AudioSourceScanner(this))
{
    connect(scanner, &AudioSourceScanner::finished, this,
            [this](const AudioSourceList &list, const QString &error) {
                const bool wanted = choice != QLatin1String("none");
                if (!error.isEmpty() && wanted && !std::exchange(serverMissingTold, true)) {
                    qWarning().noquote()
                        << tr("Sound: no sound server (%1); recordings have no sound").arg(error);
                }
                chosen = wanted ? list.chosen(choice, cameraUsbPath) : std::nullopt;
                emit sourceChosen();
            });
    // The sound taken up to the stop still comes in while the file is finished.
    connect(recorder, &Recorder::stateChanged, this, [this](Recorder::State state) {
        if (state == Recorder::State::Idle)
            end();
    });
}

SoundCapture::~SoundCapture()
{
    end();
}

void SoundCapture::choose(const QString &newChoice, const QString &usbPath)
{
    choice = newChoice;
    cameraUsbPath = usbPath;
    scanner->scan();
}

void SoundCapture::begin()
{
    end();
    if (!chosen)
        return;
    capture = makeSource(*chosen);
    Recorder *target = recorder;
    capture->setChunkCallback([target](const AudioChunk &chunk) { target->addAudio(chunk); });
    // The source's signals come from its thread: one of a source since ended is ignored.
    AudioSource *source = capture.get();
    connect(source, &AudioSource::failed, this, [this, source](const QString &reason) {
        if (capture.get() == source)
            onFailed(reason);
    });
    connect(source, &AudioSource::lost, this, [this, source](const QString &reason) {
        if (capture.get() == source)
            onLost(reason);
    });
    capture->start();
    emit capturingChanged(true);
}

void SoundCapture::end()
{
    if (!capture)
        return;
    capture->stop();
    capture->setChunkCallback({});
    capture.reset();
    emit capturingChanged(false);
}

double SoundCapture::takePeak()
{
    return capture ? capture->takePeak() : -1.0;
}

void SoundCapture::onFailed(const QString &reason)
{
    const QString message = tr("Sound: %1 could not be recorded (%2); the recording has no sound")
                                .arg(chosen ? chosen->description : QString(), reason);
    qWarning().noquote() << message;
    end();
    emit problem(message);
}

void SoundCapture::onLost(const QString &reason)
{
    const QString message = tr("Sound: %1 was lost (%2); the recording goes on with silence")
                                .arg(chosen ? chosen->description : QString(), reason);
    qWarning().noquote() << message;
    end();
    emit problem(message);
}
