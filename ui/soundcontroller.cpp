#include "soundcontroller.h"

#include "appsettings.h"
#include "capturesession.h"
#include "levelmeter.h"
#include "soundcapture.h"
#include "usblink.h"

SoundController::SoundController(CaptureSession *session, LevelMeter *meter, QObject *parent)
    : QObject(parent)
    , session(session)
    , meter(meter)
{
    SoundCapture *sound = session->sound();
    connect(session, &CaptureSession::runningChanged, this, [this](bool running) {
        if (running)
            chooseSource();
    });
    connect(sound, &SoundCapture::capturingChanged, this, [this, sound](bool capturing) {
        if (capturing)
            this->meter->follow([sound] { return sound->takePeak(); });
        else
            this->meter->follow({});
    });
    connect(sound, &SoundCapture::problem, this,
            [this](const QString &message) { emit notificationRequested(message, false); });
}

void SoundController::chooseSource()
{
    const QString cameraId = session->cameraId();
    const std::optional<UsbLink> link = UsbLink::ofCamera(cameraId);
    session->sound()->choose(AppSettings::soundSourceOf(cameraId),
                             link ? link->sysfsPath : QString());
}
