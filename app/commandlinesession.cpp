#include "commandlinesession.h"

#include "appsettings.h"
#include "cameramessages.h"
#include "framehandover.h"
#include "openpnpcamera.h"
#include "recordingcontroller.h"
#include "snapshotsaver.h"
#include "videowriterthread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

// False when the line could not be written (nobody reads the terminal's pipe any more).
bool printLine(std::FILE *stream, const QString &line)
{
    const bool written = std::fputs(qPrintable(line + QLatin1Char('\n')), stream) >= 0;
    return std::fflush(stream) == 0 && written;
}

constexpr int firstFrameTimeoutMs = 10000;

} // namespace

CommandLineSession::CommandLineSession(const CommandLine &commandLine, QObject *parent)
    : QObject(parent)
    , commandLine(commandLine)
    , camera(new OpenPNPCamera(this))
{
    progressTimer.setInterval(1000);
    connect(&progressTimer, &QTimer::timeout, this, &CommandLineSession::printProgress);
    durationTimer.setSingleShot(true);
    durationTimer.setTimerType(Qt::PreciseTimer);
    connect(&durationTimer, &QTimer::timeout, this, &CommandLineSession::stopRecording);
    firstFrameTimer.setSingleShot(true);
    connect(&firstFrameTimer, &QTimer::timeout, this,
            [this] { fail(tr("The camera delivered no picture.")); });
}

CommandLineSession::~CommandLineSession()
{
    camera->setRecordingTap({});
    camera->stopCapture();
}

std::optional<CommandLineSession::Choice> CommandLineSession::resolve()
{
    cameraNames = camera->availableCameras();
    Choice choice;
    if (commandLine.action == CommandLine::Action::ListCameras)
        return choice;
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

int CommandLineSession::run()
{
    const std::optional<Choice> choice = resolve();
    if (!choice)
        return CommandLine::usageError;
    switch (commandLine.action) {
    case CommandLine::Action::ListCameras:
        for (const QString &name : std::as_const(cameraNames))
            printLine(stdout, name);
        return 0;
    case CommandLine::Action::ListFormats:
        for (const CameraBase::CameraFormat &format : camera->supportedFormats())
            printLine(stdout, format.description);
        return 0;
    case CommandLine::Action::Record:
    case CommandLine::Action::Snapshot:
        break;
    default:
        return CommandLine::usageError;
    }
    if (choice->format < 0) {
        printLine(stderr, tr("ostrel: the camera offers no format"));
        return 1;
    }

    if (commandLine.action == CommandLine::Action::Record && !canWrite(commandLine.file))
        return 1;
    if (!commandLine.noTransform)
        orientation = AppSettings::load().orientation;
    camera->setFormat(camera->supportedFormats().at(choice->format));
    auto *handOver = new FrameHandOver(this);
    camera->setFrameCallback([handOver](const QImage &frame) { handOver->postFrame(frame); });
    connect(handOver, &FrameHandOver::frameAvailable, this,
            [this, handOver] { onFrame(handOver->takeFrame()); });
    connect(camera, &CameraBase::cameraDisconnected, this, [this](const QString &reason) {
        if (recording)
            writerError = tr("the camera was disconnected (%1)").arg(reason);
        stopRecording();
        if (!recording)
            fail(tr("The camera was disconnected: %1").arg(reason));
    });
    if (!camera->startCapture()) {
        const CameraBase::CameraFormat format = camera->currentFormat();
        printLine(stderr, tr("ostrel: the camera could not be started: %1")
                              .arg(CameraMessages::cause(camera->lastFailure(),
                                                         QSize(format.width, format.height))));
        return 1;
    }
    firstFrameTimer.start(firstFrameTimeoutMs);
    return -1;
}

bool CommandLineSession::canWrite(const QString &path)
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

void CommandLineSession::onFrame(const QImage &frame)
{
    if (done || frame.isNull() || recording)
        return;
    firstFrameTimer.stop();
    if (commandLine.action == CommandLine::Action::Snapshot) {
        done = true;
        camera->stopCapture();
        QString error;
        if (SnapshotSaver::writeImage(orientation.apply(frame), commandLine.file, &error)) {
            printLine(stderr, tr("Snapshot saved: %1").arg(commandLine.file));
            emit finished(0);
        } else {
            printLine(stderr, tr("ostrel: the picture could not be saved to %1: %2")
                                  .arg(commandLine.file, error));
            emit finished(1);
        }
        return;
    }
    startRecording(frame);
}

void CommandLineSession::startRecording(const QImage &firstFrame)
{
    writer = new VideoWriterThread(this);
    connect(writer, &VideoWriterThread::errorOccurred, this, [this](const QString &error) {
        writerError = error;
        camera->setRecordingTap({});
    });
    connect(writer, &QThread::finished, this, &CommandLineSession::onWriterFinished);
    if (!RecordingController::startWriter(writer, commandLine.file, firstFrame,
                                          camera->currentFormat().fps, orientation, camera)) {
        fail(tr("The recording could not be started."));
        return;
    }
    recording = true;
    recordingClock.start();
    progressTimer.start();
    if (commandLine.duration > 0)
        durationTimer.start(int(commandLine.duration * 1000));
}

void CommandLineSession::interrupt()
{
    if (recording)
        stopRecording();
    else
        fail(tr("Interrupted."));
}

void CommandLineSession::stopRecording()
{
    if (!recording || !writer)
        return;
    camera->setRecordingTap({});
    writer->requestStop();
    durationTimer.stop();
}

void CommandLineSession::onWriterFinished()
{
    recording = false;
    progressTimer.stop();
    camera->stopCapture();
    const WriterStatistics statistics = writer->statistics();
    if (!writerError.isEmpty()) {
        fail(tr("Recording error occurred: %1").arg(writerError));
        return;
    }
    printProgress();
    printLine(stderr, tr("Recording saved: %1").arg(commandLine.file));
    done = true;
    emit finished(statistics.framesWritten > 0 && !outputLost ? 0 : 1);
}

void CommandLineSession::printProgress()
{
    if (!writer)
        return;
    const WriterStatistics statistics = writer->statistics();
    const bool written = printLine(
        stderr, tr("%1 s: %n frame(s) written, %2 dropped", nullptr, statistics.framesWritten)
                    .arg(recordingClock.elapsed() / 1000.0, 0, 'f', 1)
                    .arg(statistics.framesDropped));
    // Nobody can hear how the recording goes (the reader of a pipe has gone): it ends as on a
    // signal, with a finished file, and the exit code says that not all went well.
    if (!written && recording) {
        outputLost = true;
        stopRecording();
    }
}

void CommandLineSession::fail(const QString &reason)
{
    if (done)
        return;
    done = true;
    printLine(stderr, QStringLiteral("ostrel: ") + reason);
    emit finished(1);
}
