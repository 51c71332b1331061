#include "commandlinesession.h"

#include "appsettings.h"
#include "bandwidthestimate.h"
#include "camerachoice.h"
#include "cameramessages.h"
#include "capturesession.h"
#include "commandlinesound.h"
#include "devicewatcher.h"
#include "diagnosticsreport.h"
#include "framediagnostics.h"
#include "openpnpcamera.h"
#include "remoteserver.h"
#include "stillcapture.h"

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
    , session(new CaptureSession(this))
{
    session->setCamera(new OpenPNPCamera);
    progressTimer.setInterval(1000);
    connect(&progressTimer, &QTimer::timeout, this, &CommandLineSession::printProgress);
    durationTimer.setSingleShot(true);
    durationTimer.setTimerType(Qt::PreciseTimer);
    connect(&durationTimer, &QTimer::timeout, this, &CommandLineSession::stopOutputs);
    firstFrameTimer.setSingleShot(true);
    connect(&firstFrameTimer, &QTimer::timeout, this,
            [this] { fail(tr("The camera delivered no picture.")); });
}

CommandLineSession::~CommandLineSession() = default;

int CommandLineSession::run()
{
    cameraNames = session->camera()->availableCameras();
    const std::optional<CameraChoice> choice =
        CameraChoice::resolve(commandLine, session->camera(), cameraNames);
    if (!choice)
        return CommandLine::usageError;
    CameraBase *camera = session->camera();
    switch (commandLine.action) {
    case CommandLine::Action::ListCameras:
        for (const QString &name : std::as_const(cameraNames))
            printLine(stdout, name);
        return 0;
    case CommandLine::Action::ListFormats:
        for (const CameraBase::CameraFormat &format : camera->supportedFormats())
            printLine(stdout, format.description);
        return 0;
    case CommandLine::Action::ListAudio:
        return CommandLineSound::list(choice->camera >= 0 ? camera->cameraId(choice->camera)
                                                          : QString());
    case CommandLine::Action::Record:
    case CommandLine::Action::Publish:
    case CommandLine::Action::Snapshot:
    case CommandLine::Action::Diagnose:
    case CommandLine::Action::Serve:
        break;
    default:
        return CommandLine::usageError;
    }
    if (choice->format < 0) {
        printLine(stderr, tr("ostrel: the camera offers no format"));
        return 1;
    }

    if (commandLine.action == CommandLine::Action::Record &&
        !CameraChoice::canWrite(commandLine.file))
        return 1;
    if (!commandLine.noTransform)
        session->setOrientation(AppSettings::load().orientation);
    camera->setFormat(camera->supportedFormats().at(choice->format));
    cameraId = camera->cameraId(choice->camera);
    RecordingOptions options = commandLine.recording;
    if (options.minFreeBytes < 0)
        options.minFreeBytes = qint64(AppSettings::load().minFreeMegabytes) * 1000000;
    if (!commandLine.audioCodecGiven)
        options.audioCodec = AppSettings::load().soundCodec;
    session->setRecordingOptions(options);
    if (commandLine.action == CommandLine::Action::Record && !options.isTimelapse()) {
        QString error;
        if (!CommandLineSound::choose(session, commandLine.audio, cameraId, &error)) {
            printLine(stderr, error);
            return CommandLine::usageError;
        }
    }
    connect(session->recorder(), &Recorder::limitReached, this,
            &CommandLineSession::onLimitReached);
    connect(session, &CaptureSession::frameAvailable, this, &CommandLineSession::onFirstFrame);
    connect(session, &CaptureSession::cameraLost, this, &CommandLineSession::onCameraLost);
    connect(session->recorder(), &Recorder::errorOccurred, this,
            [this](const QString &error) { writerError = error; });
    connect(session->recorder(), &Recorder::finished, this,
            [this](const QString &, bool saved) { onRecordingFinished(saved); });
    connect(session->stills(), &StillCapture::saved, this, [this] {
        printLine(stderr, tr("Snapshot saved: %1").arg(commandLine.file));
        done = true;
        emit finished(0);
    });
    connect(session->stills(), &StillCapture::failed, this,
            [this](const QString &, const QString &error) {
                fail(tr("the picture could not be saved to %1: %2").arg(commandLine.file, error));
            });
    // A mode the camera's USB link cannot carry usually fails to start; say why first.
    if (const std::optional<UsbLink> link = UsbLink::ofCamera(session->cameraId())) {
        const QString warning = BandwidthEstimate::warning(camera->currentFormat(), *link);
        if (!warning.isEmpty())
            printLine(stderr, tr("ostrel: warning: %1").arg(warning));
    }
    if (commandLine.servePort >= 0) {
        const int code = startServing();
        if (code != 0)
            return code;
    }
    if (commandLine.action == CommandLine::Action::Serve) {
        disconnect(&durationTimer, nullptr, this, nullptr);
        connect(&durationTimer, &QTimer::timeout, this, &CommandLineSession::finishServing);
    }
    if (commandLine.action == CommandLine::Action::Diagnose) {
        session->diagnostics()->setWindow(commandLine.duration + 1);
        session->diagnostics()->setEnabled(true);
        disconnect(&durationTimer, nullptr, this, nullptr);
        connect(&durationTimer, &QTimer::timeout, this, &CommandLineSession::finishDiagnosis);
    }
    if (!session->start()) {
        const CameraBase::CameraFormat format = camera->currentFormat();
        printLine(stderr, tr("ostrel: the camera could not be started: %1")
                              .arg(CameraMessages::cause(camera->lastFailure(),
                                                         QSize(format.width, format.height))));
        return 1;
    }
    firstFrameTimer.start(firstFrameTimeoutMs);
    if (commandLine.action == CommandLine::Action::Diagnose ||
        (commandLine.action == CommandLine::Action::Serve && commandLine.duration > 0))
        durationTimer.start(int(commandLine.duration * 1000));
    return -1;
}

int CommandLineSession::startServing()
{
    const QString token =
        commandLine.token.isEmpty() ? AppSettings::load().remoteToken : commandLine.token;
    const QHostAddress address(commandLine.serveAddress);
    QString error;
    auto *server = new RemoteServer(session, session);
    if (!server->listen(address, quint16(commandLine.servePort), token, &error)) {
        printLine(stderr, QStringLiteral("ostrel: ") + error);
        delete server;
        // Only a refusal of the command line itself is a usage error.
        return token.isEmpty() && !address.isLoopback() ? CommandLine::usageError : 1;
    }
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QLatin1Char('[') + address.toString() + QLatin1Char(']')
                             : address.toString();
    printLine(stderr, tr("Serving on http://%1:%2/").arg(host).arg(server->port()));
    return 0;
}

void CommandLineSession::finishServing()
{
    if (done)
        return;
    session->stop();
    done = true;
    emit finished(0);
}

// The first picture starts the work; the display hand-over is not needed after it.
void CommandLineSession::onFirstFrame()
{
    disconnect(session, &CaptureSession::frameAvailable, this, &CommandLineSession::onFirstFrame);
    firstFrameTimer.stop();
    if (done || commandLine.action == CommandLine::Action::Diagnose ||
        commandLine.action == CommandLine::Action::Serve)
        return;
    if (commandLine.action == CommandLine::Action::Snapshot) {
        if (!session->takeSnapshot(commandLine.file))
            fail(tr("The camera delivered no picture."));
        session->stop();
        return;
    }
    if (!commandLine.publishUrl.isEmpty())
        startPublishing();
    if (done)
        return;
    if (commandLine.action == CommandLine::Action::Record) {
        startRecording();
        return;
    }
    progressTimer.start();
    if (commandLine.duration > 0)
        durationTimer.start(int(commandLine.duration * 1000));
}

void CommandLineSession::startRecording()
{
    if (!session->startRecording(commandLine.file)) {
        fail(tr("The recording could not be started."));
        return;
    }
    progressTimer.start();
    if (commandLine.duration > 0)
        durationTimer.start(int(commandLine.duration * 1000));
}

void CommandLineSession::finishDiagnosis()
{
    if (done)
        return;
    DiagnosticsReport report;
    report.format = session->camera()->currentFormat();
    report.figures = FrameDiagnostics::figuresOf(session->diagnostics()->samples());
    report.counts = session->camera()->frameCounts();
    report.usbChecked = true;
    report.link = UsbLink::ofCamera(session->cameraId());
    session->stop();
    bool written = true;
    for (const QString &line : report.lines())
        written = printLine(stdout, line) && written;
    done = true;
    emit finished(report.counts.taken > 0 && written ? 0 : 1);
}

void CommandLineSession::interrupt()
{
    if (commandLine.action == CommandLine::Action::Diagnose) {
        finishDiagnosis();
        return;
    }
    if (commandLine.action == CommandLine::Action::Serve) {
        finishServing();
        return;
    }
    if (session->recorder()->state() == Recorder::State::Recording ||
        (commandLine.action == CommandLine::Action::Publish && session->isRunning()))
        stopOutputs();
    else if (session->recorder()->state() == Recorder::State::Idle)
        fail(tr("Interrupted."));
}

void CommandLineSession::togglePause()
{
    Recorder *recorder = session->recorder();
    if (recorder->state() != Recorder::State::Recording)
        return;
    recorder->setPaused(!recorder->isPaused());
    printLine(stderr, recorder->isPaused() ? tr("Recording paused") : tr("Recording resumed"));
    // The recording's length does not count the pause.
    if (recorder->isPaused()) {
        pausedRemainingMs = durationTimer.isActive() ? durationTimer.remainingTime() : -1;
        durationTimer.stop();
    } else if (pausedRemainingMs >= 0) {
        durationTimer.start(pausedRemainingMs);
        pausedRemainingMs = -1;
    }
}

void CommandLineSession::onLimitReached(RecordingLimit limit)
{
    printLine(stderr, limit == RecordingLimit::Size
                          ? tr("The recording reached its size limit and was stopped.")
                          : tr("The recording was stopped: the disk is nearly full."));
}

void CommandLineSession::stopOutputs()
{
    durationTimer.stop();
    if (commandLine.action == CommandLine::Action::Publish)
        finishPublishing();
    else
        session->stopRecording();
}

void CommandLineSession::startPublishing()
{
    connect(session->publisher(), &Publisher::stateChanged, this,
            &CommandLineSession::onPublishingState);
    publishClock.start();
    session->startPublishing(commandLine.publishUrl);
}

void CommandLineSession::onPublishingState(Publisher::State state, const QString &error)
{
    if (state == Publisher::State::Idle || done)
        return;
    if (state != Publisher::State::Failed) {
        printLine(stderr, error.isEmpty()
                              ? tr("Stream: %1").arg(Publisher::stateText(state))
                              : tr("Stream: %1 (%2)").arg(Publisher::stateText(state), error));
        return;
    }
    // Publishing that cannot start ends the program, a recording beside it with a whole file.
    const QString reason = tr("cannot publish to %1: %2").arg(commandLine.publishUrl, error);
    if (session->recorder()->state() != Recorder::State::Recording) {
        session->stop();
        fail(reason);
        return;
    }
    publishError = reason;
    stopOutputs();
}

void CommandLineSession::finishPublishing()
{
    if (done)
        return;
    done = true;
    progressTimer.stop();
    printProgress();
    const qint64 sent = session->publisher()->framesSent();
    session->stop();
    emit finished(sent > 0 && !outputLost ? 0 : 1);
}

void CommandLineSession::onCameraLost(const QString &reason)
{
    if (session->recorder()->isHeldWithoutCamera()) {
        printLine(stderr, tr("The camera was disconnected (%1); the time-lapse goes on when it "
                             "returns.")
                              .arg(reason));
        if (!deviceWatcher) {
            deviceWatcher = new DeviceWatcher(this);
            connect(deviceWatcher, &DeviceWatcher::devicesChanged, this,
                    &CommandLineSession::restartReturnedCamera);
        }
        return;
    }
    if (session->recorder()->state() == Recorder::State::Idle)
        fail(tr("The camera was disconnected: %1").arg(reason));
    else
        writerError = tr("the camera was disconnected (%1)").arg(reason);
    durationTimer.stop();
}

void CommandLineSession::restartReturnedCamera()
{
    CameraBase *camera = session->camera();
    if (session->isRunning() || !session->recorder()->isHeldWithoutCamera())
        return;
    const CameraBase::CameraFormat format = camera->currentFormat();
    const QStringList names = camera->availableCameras();
    for (int i = 0; i < names.size(); ++i) {
        if (camera->cameraId(i) != cameraId || !camera->openCamera(i))
            continue;
        const QList<CameraBase::CameraFormat> formats = camera->supportedFormats();
        const auto same = std::find_if(formats.begin(), formats.end(), [&](const auto &f) {
            return f.width == format.width && f.height == format.height &&
                   f.fourcc == format.fourcc && qFuzzyCompare(f.fps, format.fps);
        });
        if (same != formats.end() && camera->setFormat(*same) && session->start())
            printLine(stderr, tr("The camera is back; the time-lapse goes on."));
        return;
    }
}

void CommandLineSession::onRecordingFinished(bool saved)
{
    // While serving, recordings come and go through the remote control.
    if (commandLine.action == CommandLine::Action::Serve) {
        printLine(stderr, saved ? tr("Recording saved: %1").arg(session->recorder()->path())
                                : tr("Recording error occurred: %1").arg(writerError));
        writerError.clear();
        return;
    }
    progressTimer.stop();
    const WriterStatistics statistics = session->recorder()->statistics();
    session->stop();
    if (!publishError.isEmpty()) {
        fail(publishError);
        return;
    }
    if (!saved || !writerError.isEmpty()) {
        fail(tr("Recording error occurred: %1").arg(writerError));
        return;
    }
    printProgress();
    printLine(stderr, tr("Recording saved: %1").arg(commandLine.file));
    // Last, so that a script finds it at the end: where camera frames were lost, if any.
    printLine(stderr, session->recorder()->report());
    done = true;
    emit finished(statistics.framesWritten > 0 && !outputLost ? 0 : 1);
}

void CommandLineSession::printProgress()
{
    const WriterStatistics statistics = session->recorder()->statistics();
    QString line =
        commandLine.action == CommandLine::Action::Publish
            ? tr("%1 s").arg(publishClock.elapsed() / 1000.0, 0, 'f', 1)
            : tr("%1 s: %n frame(s) written, %2 dropped", nullptr, statistics.framesWritten)
                  .arg(statistics.elapsedMs / 1000.0, 0, 'f', 1)
                  .arg(statistics.framesDropped);
    if (!commandLine.publishUrl.isEmpty()) {
        const Publisher *publisher = session->publisher();
        line +=
            tr("; stream %1: %n frame(s) sent, %2 dropped", nullptr, int(publisher->framesSent()))
                .arg(Publisher::stateText(publisher->state()))
                .arg(publisher->framesDropped());
    }
    const bool written = printLine(stderr, line);
    // Nobody can hear how the work goes (the reader of a pipe has gone): it ends as on a
    // signal, with a finished file, and the exit code says that not all went well.
    if (!written && !done &&
        (session->recorder()->state() == Recorder::State::Recording ||
         commandLine.action == CommandLine::Action::Publish)) {
        outputLost = true;
        stopOutputs();
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
