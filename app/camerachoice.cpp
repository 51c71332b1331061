#include "camerachoice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

void printLine(std::FILE *stream, const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stream);
    std::fflush(stream);
}

} // namespace

std::optional<CameraChoice> CameraChoice::resolve(const CommandLine &commandLine,
                                                  CameraBase *camera,
                                                  const QStringList &cameraNames)
{
    CameraChoice choice;
    if (commandLine.action == CommandLine::Action::ListCameras)
        return choice;
    // The sound sources are listed with or without a camera to find a microphone of.
    if (commandLine.action == CommandLine::Action::ListAudio) {
        choice.camera = CommandLine::findCamera(cameraNames, commandLine.camera);
        return choice;
    }
    choice.camera = CommandLine::findCamera(cameraNames, commandLine.camera);
    if (choice.camera < 0) {
        printLine(stderr, commandLine.camera.isEmpty()
                              ? tr("ostrel: no camera found")
                              : tr("ostrel: no such camera: %1").arg(commandLine.camera));
        return std::nullopt;
    }
    if (!camera->openCamera(choice.camera)) {
        printLine(stderr, tr("ostrel: cannot open camera %1").arg(cameraNames.at(choice.camera)));
        return std::nullopt;
    }
    const QList<CameraBase::CameraFormat> formats = camera->supportedFormats();
    if (commandLine.format) {
        choice.format = CommandLine::findFormat(formats, *commandLine.format);
        if (choice.format < 0) {
            const CommandLine::FormatRequest &request = *commandLine.format;
            printLine(
                stderr,
                tr("ostrel: %1 has no format %2x%3@%4%5")
                    .arg(cameraNames.at(choice.camera))
                    .arg(request.width)
                    .arg(request.height)
                    .arg(request.fps)
                    .arg(request.fourcc.isEmpty() ? QString() : QLatin1Char(':') + request.fourcc));
            return std::nullopt;
        }
    } else if (!formats.isEmpty()) {
        choice.format = 0;
    }
    return choice;
}

bool CameraChoice::canWrite(const QString &path)
{
    // The writer opens the file only once the first frame is there, and its failure names no
    // cause: a file that cannot be made is refused before the camera starts, with the reason.
    const bool existed = QFileInfo::exists(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        printLine(stderr, tr("ostrel: cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    if (!existed)
        file.remove();
    return true;
}
