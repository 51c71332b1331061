#include "commandlinesound.h"

#include "appsettings.h"
#include "capturesession.h"
#include "pulseaudiolisting.h"
#include "soundcapture.h"
#include "usblink.h"

#include <cstdio>

namespace {

QString usbPathOf(const QString &cameraId)
{
    const std::optional<UsbLink> link = UsbLink::ofCamera(cameraId);
    return link ? link->sysfsPath : QString();
}

void printLine(std::FILE *stream, const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stream);
    std::fflush(stream);
}

QString channelsText(const AudioFormat &format)
{
    return format.channels == 1 ? CommandLineSound::tr("mono") : CommandLineSound::tr("stereo");
}

} // namespace

int CommandLineSound::list(const QString &cameraId)
{
    QString error;
    const std::optional<AudioSourceList> sources = listAudioSources(&error);
    if (!sources) {
        printLine(stderr, tr("ostrel: no sound server: %1").arg(error));
        return 1;
    }
    const QString usbPath = usbPathOf(cameraId);
    for (const AudioSourceInfo &source : sources->ordered(usbPath)) {
        QString line = tr("%1\t%2 (%3 Hz, %4)")
                           .arg(source.name, source.description)
                           .arg(source.format.sampleRate)
                           .arg(channelsText(source.format));
        if (!source.isMonitor && source.belongsTo(usbPath))
            line += QLatin1Char('\t') + tr("the camera's microphone");
        else if (source.name == sources->defaultName)
            line += QLatin1Char('\t') + tr("default");
        printLine(stdout, line);
    }
    return 0;
}

bool CommandLineSound::choose(CaptureSession *session, const QString &choice,
                              const QString &cameraId, QString *error)
{
    const QString wanted = choice.isEmpty() ? AppSettings::soundSourceOf(cameraId) : choice;
    session->sound()->setSource(std::nullopt);
    if (wanted == QLatin1String("none"))
        return true;
    QString serverError;
    const std::optional<AudioSourceList> sources = listAudioSources(&serverError);
    if (!sources) {
        printLine(
            stderr,
            tr("ostrel: warning: no sound server (%1); recording without sound").arg(serverError));
        return true;
    }
    const std::optional<AudioSourceInfo> source = sources->chosen(wanted, usbPathOf(cameraId));
    if (!source) {
        const bool named = wanted != QLatin1String("camera") && wanted != QLatin1String("default");
        if (named && !choice.isEmpty()) {
            *error = tr("ostrel: no such sound source: %1 (see --list-audio)").arg(wanted);
            return false;
        }
        return true;
    }
    session->sound()->setSource(source);
    printLine(stderr, tr("Sound: %1 (%2 Hz, %3)")
                          .arg(source->description)
                          .arg(source->format.sampleRate)
                          .arg(channelsText(source->format)));
    return true;
}
