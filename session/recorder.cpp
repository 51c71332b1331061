#include "recorder.h"

#include "h264passthroughwriter.h"
#include "recordingreport.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <optional>

namespace {

// The counts of two stretches of one recording: a time-lapse's camera may go away and return.
CameraBase::FrameCounts addedCounts(const CameraBase::FrameCounts &a,
                                    const CameraBase::FrameCounts &b)
{
    CameraBase::FrameCounts sum;
    sum.produced = a.produced + b.produced;
    sum.lostAtCamera = a.lostAtCamera + b.lostAtCamera;
    sum.damaged = a.damaged + b.damaged;
    sum.taken = a.taken + b.taken;
    sum.decoded = a.decoded + b.decoded;
    sum.displaySkipped = a.displaySkipped + b.displaySkipped;
    return sum;
}

} // namespace

Recorder::Recorder(QObject *parent, VideoWriterThread *writer)
    : QObject(parent)
    , writerThread(writer ? writer : new VideoWriterThread)
    , passThrough(new H264PassThroughWriter(this))
{
    writerThread->setParent(this);
    connect(writerThread, &VideoWriterThread::errorOccurred, this, &Recorder::onWriterError);
    connect(passThrough, &H264PassThroughWriter::errorOccurred, this, &Recorder::onWriterError);
    // Only once the thread has ended is the file closed and the writer ready for the next one.
    connect(writerThread, &QThread::finished, this, &Recorder::onWriterFinished);
    connect(passThrough, &QThread::finished, this, &Recorder::onWriterFinished);
}

Recorder::~Recorder()
{
    if (currentState == State::Recording) {
        detachCamera();
        requestWriterStop();
    }
}

WriterStatistics Recorder::statistics() const
{
    return passingThrough ? passThrough->statistics() : writerThread->statistics();
}

void Recorder::requestWriterStop()
{
    if (passingThrough)
        passThrough->requestStop();
    else
        writerThread->requestStop();
}

bool Recorder::start(const QString &path, const QImage &firstFrame, double fps,
                     const Orientation &orientation, CameraBase *camera,
                     const RecordingOptions &options)
{
    if (currentState != State::Idle || firstFrame.isNull())
        return false;
    // The default folders do not exist on every desktop; a folder that cannot be made is
    // reported by the writer when it cannot open the file.
    QDir().mkpath(QFileInfo(path).absolutePath());
    RecordingOptions writing = options;
    writing.fileName = path;
    writing.fps = fps > 0 ? fps : 30.0;
    writing.frameSize = orientation.apply(firstFrame.size());
    // The camera's own H.264 goes into the file untouched when nothing turns it; a time-lapse
    // takes pictures.
    passingThrough = camera && camera->deliversH264() && orientation.isIdentity() &&
                     writing.codec == RecordingOptions::Codec::H264 && !writing.isTimelapse();
    currentOptions = writing;
    currentOrientation = orientation;
    if (passingThrough) {
        if (!passThrough->startWriting(writing))
            return false;
        passThrough->start();
        return begin(path, camera);
    }
    if (!writerThread->startWriting(writing))
        return false;
    // Mirroring and rotating happen on the writer's encode threads.
    writerThread->setFrameTransform(orientation.isIdentity() ? VideoWriterThread::FrameTransform()
                                                             : [orientation](const QImage &frame) {
                                                                   return orientation.apply(frame);
                                                               });
    writerThread->start();
    // A recording stopped before the camera delivers again still holds the picture of its start.
    writerThread->addFrame(firstFrame);
    return begin(path, camera);
}

bool Recorder::begin(const QString &path, CameraBase *camera)
{
    cameraCounts = {};
    attachCamera(camera);
    currentPath = path;
    failed = false;
    paused = false;
    pausedMs = 0;
    clock.start();
    setState(State::Recording);
    return true;
}

void Recorder::attachCamera(CameraBase *camera)
{
    source = camera;
    if (!camera)
        return;
    countsAtStart = camera->frameCounts();
    if (passingThrough) {
        H264PassThroughWriter *writer = passThrough;
        camera->setCompressedTap(
            [writer](const CameraBase::CompressedFrame &frame) { writer->addFrame(frame); });
        return;
    }
    VideoWriterThread *writer = writerThread;
    // A Motion-JPEG file takes the camera's own JPEG when nothing is turned; H.264 always
    // encodes pictures.
    const bool cameraJpeg = currentOrientation.isIdentity() &&
                            currentOptions.codec == RecordingOptions::Codec::MotionJpeg;
    // The camera's microseconds on the monotonic clock are the writer's steady-clock time.
    camera->setRecordingTap(
        [writer](const QImage &rgb, const QByteArray &jpeg, qint64 timestampUs) {
            if (rgb.isNull())
                writer->addEncodedFrame(jpeg, timestampUs * 1000);
            else
                writer->addFrame(rgb, timestampUs * 1000);
        },
        cameraJpeg ? CameraBase::TapInput::CameraJpeg : CameraBase::TapInput::Picture);
}

void Recorder::addAudio(const AudioChunk &chunk)
{
    // Each writer takes sound only while it records, unpaused, and not a time-lapse.
    if (passingThrough)
        passThrough->addAudio(chunk);
    else
        writerThread->addAudio(chunk);
}

void Recorder::holdWithoutCamera()
{
    if (currentState != State::Recording || !source)
        return;
    detachCamera();
    cameraGoneClock.start();
}

void Recorder::resumeWithCamera(CameraBase *camera)
{
    if (!isHeldWithoutCamera() || !camera)
        return;
    qWarning().noquote() << QStringLiteral("Time-lapse: the camera was away for %1 s")
                                .arg(cameraGoneClock.elapsed() / 1000.0, 0, 'f', 1);
    attachCamera(camera);
}

void Recorder::setPaused(bool pause)
{
    if (currentState != State::Recording || pause == paused)
        return;
    paused = pause;
    if (passingThrough)
        passThrough->setPaused(pause);
    else
        writerThread->setPaused(pause);
    if (pause)
        pauseClock.start();
    else
        pausedMs += pauseClock.elapsed();
    emit pausedChanged(pause);
}

void Recorder::stop()
{
    if (currentState != State::Recording)
        return;
    detachCamera();
    requestWriterStop();
    setState(State::Finishing);
}

qint64 Recorder::elapsedMs() const
{
    if (currentState != State::Recording)
        return 0;
    return clock.elapsed() - pausedMs - (paused ? pauseClock.elapsed() : 0);
}

qint64 Recorder::remainingMs() const
{
    const WriterStatistics statistics = this->statistics();
    const qint64 recorded = elapsedMs();
    if (currentState != State::Recording || statistics.bytesWritten <= 0 || recorded <= 0)
        return -1;
    std::optional<qint64> room;
    if (currentOptions.maxBytes > 0)
        room = currentOptions.maxBytes - statistics.bytesWritten;
    if (currentOptions.minFreeBytes > 0 && statistics.freeBytes >= 0) {
        const qint64 aboveFloor = statistics.freeBytes - currentOptions.minFreeBytes;
        room = room ? std::min(*room, aboveFloor) : aboveFloor;
    }
    if (!room)
        return -1;
    const double bytesPerMs = double(statistics.bytesWritten) / double(recorded);
    return *room <= 0 ? 0 : qint64(double(*room) / bytesPerMs);
}

qint64 Recorder::msToNextTimelapseFrame() const
{
    if (currentState != State::Recording || !currentOptions.isTimelapse())
        return -1;
    const qint64 periodMs =
        std::max<qint64>(1, std::llround(currentOptions.timelapseIntervalS * 1000.0));
    return periodMs - elapsedMs() % periodMs;
}

void Recorder::onWriterError(const QString &error)
{
    qWarning() << "Video writer error:" << error;
    if (currentState == State::Idle)
        return;
    // The writer ends by itself after an error; its file is finished with what it holds.
    failed = true;
    detachCamera();
    setState(State::Finishing);
    emit errorOccurred(error);
}

void Recorder::onWriterFinished()
{
    if (currentState == State::Idle)
        return;
    // The writer stopped by itself: the camera's frames need not reach it any longer.
    detachCamera();
    const RecordingLimit limit = statistics().endedAtLimit;
    if (limit != RecordingLimit::None)
        emit limitReached(limit);
    const QString path = currentPath;
    currentPath.clear();
    endReport = RecordingReport::endLine(cameraCounts, statistics());
    setState(State::Idle);
    emit finished(path, !failed);
}

// The tap is gone once this returns: no frame of the camera reaches the writer afterwards.
void Recorder::detachCamera()
{
    if (source) {
        source->setRecordingTap({});
        source->setCompressedTap({});
        cameraCounts = addedCounts(cameraCounts, source->frameCounts().since(countsAtStart));
    }
    source = nullptr;
}

void Recorder::setState(State state)
{
    currentState = state;
    emit stateChanged(state);
}
