#include "videowriterthread.h"

#include "audioencoder.h"
#include "frameencodequeue.h"
#include "jpegstream.h"
#include "recordingfiles.h"

#include <QDebug>
#include <QFile>

#include <algorithm>
#include <cmath>

namespace {

// Frames dropped over the life of the process, across all recordings and all writers. It sets
// the cadence of the drop warnings, so a long struggle is reported now and then rather than on
// every frame.
std::atomic<int> totalDropped{0};

// The queue bound, and what a trim leaves: trimming in large steps keeps it off the common path.
constexpr int maxQueuedFrames = 30;
constexpr int framesKeptByTrim = 15;
constexpr int dropWarningCadence = 30;

// While the first frame is awaited, the worker looks again this often.
constexpr std::chrono::milliseconds firstFramePoll{10};

// How long a stop waits for the frames it still writes to come out of the encoders.
constexpr std::chrono::milliseconds lastFramesBudget{3000};

// A paused worker looks at the stop request at least this often.
constexpr std::chrono::milliseconds pausedPoll{500};

// A time-lapse takes the camera's frames this many camera periods before its slot falls due.
constexpr double timelapseFramesWanted = 3.0;

// How long after its slot fell due a time-lapse still waits for the camera's frame: half an
// interval, at most a second.
std::chrono::nanoseconds timelapseLateLimit(double periodNs)
{
    return std::min(std::chrono::nanoseconds(std::llround(periodNs / 2)),
                    std::chrono::nanoseconds(std::chrono::seconds(1)));
}

} // namespace

VideoWriterThread::VideoWriterThread(QObject *parent)
    : QThread(parent)
    , queue(std::make_unique<FrameEncodeQueue>(maxQueuedFrames, framesKeptByTrim))
{}

VideoWriterThread::~VideoWriterThread()
{
    // Also ends a worker that was started but has not opened its file yet.
    stopWriting();
}

bool VideoWriterThread::startWriting(const QString &fileName, int, double fps,
                                     const QSize &frameSize)
{
    RecordingOptions motionJpeg;
    motionJpeg.fileName = fileName;
    motionJpeg.fps = fps;
    motionJpeg.frameSize = frameSize;
    return startWriting(motionJpeg);
}

bool VideoWriterThread::startWriting(const RecordingOptions &newOptions)
{
    // A worker that is still running, even one that has not opened its file yet or is just
    // unwinding, reads the parameters below; they must not change under it.
    if (writing || isRunning()) {
        qWarning() << "VideoWriterThread: Already writing";
        return false;
    }
    const QSize &size = newOptions.frameSize;
    if (newOptions.fileName.isEmpty() || !(newOptions.fps > 0.0) || size.width() < 1 ||
        size.height() < 1 || !(newOptions.timelapseIntervalS >= 0.0) ||
        (newOptions.isTimelapse() && !(newOptions.playbackFps > 0.0))) {
        qWarning() << "VideoWriterThread: Invalid parameters";
        return false;
    }
    if (const QString refused = AudioEncoder::refusal(newOptions); !refused.isEmpty()) {
        qWarning() << "VideoWriterThread: cannot record the sound:" << refused;
        return false;
    }

    options = newOptions;
    audio.reset(options.hasSound() ? options.audio : AudioFormat(), options.fps);
    openedAtNs = 0;
    stoppedAtNs = 0;
    wantedFromNs = 0;
    queue->reset(size, options.codec == RecordingOptions::Codec::H264
                           ? FrameEncodeQueue::Output::Yuv420
                           : FrameEncodeQueue::Output::Jpeg);
    stopRequested = false;
    paused = false;
    bytesWritten = 0;
    freeBytes = -1;
    endedAtLimit = RecordingLimit::None;
    framesWritten = 0;
    framesDuplicated = 0;
    framesDropped = 0;
    framesReceived = 0;
    framesSkipped = 0;
    accepting = true;
    return true;
}

bool VideoWriterThread::wanted() const
{
    if (!accepting || paused)
        return false;
    return !options.isTimelapse() || Clock::now().time_since_epoch().count() >= wantedFromNs.load();
}

void VideoWriterThread::setPaused(bool pause)
{
    paused = pause;
    queue->wake();
}

void VideoWriterThread::addFrame(const QImage &frame, qint64 takenNs)
{
    if (frame.isNull() || !wanted())
        return;
    ++framesReceived;
    const int dropped = queue->push(frame, takenNs);
    if (dropped < 0) {
        ++framesSkipped;
        qWarning() << "VideoWriterThread: Frame size mismatch. Expected:" << options.frameSize
                   << "Got:" << frame.size();
        return;
    }
    countDropped(dropped, "Queue full, dropped");
}

void VideoWriterThread::addEncodedFrame(const QByteArray &jpeg, qint64 takenNs)
{
    if (jpeg.isEmpty() || !wanted())
        return;
    ++framesReceived;
    if (options.codec != RecordingOptions::Codec::MotionJpeg) {
        ++framesSkipped;
        qWarning() << "VideoWriterThread: A JPEG frame for an H.264 recording, skipped";
        return;
    }
    const QSize declared = JpegStream::declaredSize(jpeg);
    const int dropped = queue->pushEncoded(jpeg, declared, takenNs);
    if (dropped < 0) {
        ++framesSkipped;
        qWarning() << "VideoWriterThread: Frame size mismatch. Expected:" << options.frameSize
                   << "Got:" << declared;
        return;
    }
    countDropped(dropped, "Queue full, dropped");
}

void VideoWriterThread::setFrameTransform(FrameTransform transform)
{
    queue->setTransform(std::move(transform));
}

void VideoWriterThread::countDropped(int count, const char *why)
{
    if (count <= 0)
        return;
    framesDropped += count;
    const int total = totalDropped += count;
    // Every time the total passes a multiple of the cadence, whatever the step.
    if (total / dropWarningCadence != (total - count) / dropWarningCadence)
        qWarning() << "VideoWriterThread:" << why << count << "frames (total dropped:" << total
                   << ")";
}

void VideoWriterThread::stopWriting()
{
    // A worker that has been started but has not opened its file yet is not writing, but it
    // must end all the same: it tests stopRequested right after the open.
    if (!writing && !isRunning())
        return;

    requestStop();
    if (isRunning()) {
        quit();
        if (!wait(5000)) {
            qWarning() << "VideoWriterThread: Writer did not finish in time, terminating it";
            terminate();
            wait(1000);
        }
    }
    accepting = false;
    writing = false;
}

void VideoWriterThread::requestStop()
{
    stopRequested = true;
    queue->interrupt();
}

WriterStatistics VideoWriterThread::statistics() const
{
    WriterStatistics result;
    result.framesWritten = framesWritten;
    result.framesDuplicated = framesDuplicated;
    result.framesDropped = framesDropped;
    result.framesReceived = framesReceived;
    result.framesRecorded = result.framesWritten - result.framesDuplicated;
    result.framesSkipped = framesSkipped;
    result.framesLost = result.framesDropped + result.framesSkipped;
    const qint64 opened = openedAtNs;
    const qint64 stopped = stoppedAtNs;
    const qint64 end = stopped != 0 ? stopped : Clock::now().time_since_epoch().count();
    if (opened != 0)
        result.elapsedMs = (end - opened) / 1000000;
    result.bytesWritten = bytesWritten;
    result.freeBytes = freeBytes;
    result.endedAtLimit = endedAtLimit;
    return result;
}

void VideoWriterThread::run()
{
    RecordingFiles files(options, &audio);
    const QString openError = files.open();
    if (!openError.isEmpty() || files.limitReached() != RecordingLimit::None) {
        accepting = false;
        if (openError.isEmpty()) {
            emit errorOccurred(QStringLiteral("Not enough free space to record: %1 MB left")
                                   .arg(files.freeBytes() / 1000000));
            return;
        }
        qWarning() << "VideoWriterThread:" << options.fileName << openError;
        emit errorOccurred(QStringLiteral("Failed to open video writer for: ") + options.fileName);
        return;
    }
    freeBytes = files.freeBytes();

    Clock::time_point origin = Clock::now();
    static_assert(std::is_same_v<Clock::duration, std::chrono::nanoseconds>);
    // Never 0, which means "not open".
    openedAtNs = std::max<qint64>(1, origin.time_since_epoch().count());
    writing = true;
    queue->startWorkers(std::max(1, QThread::idealThreadCount()));

    QString error = writePaced(files, origin);
    const Clock::time_point stop = Clock::now();
    stoppedAtNs = stop.time_since_epoch().count();
    endedAtLimit = files.limitReached();
    // A time-lapse's frames after its last slot were taken for a slot that never fell due.
    if (error.isEmpty() && endedAtLimit == RecordingLimit::None && !options.isTimelapse())
        error = writeLastFrames(files, origin, stop);
    accepting = false;
    queue->endWorkers();
    const int unwritten = queue->size();
    queue->reset(options.frameSize);
    if (options.isTimelapse())
        framesReceived -= unwritten;
    else
        countDropped(unwritten, "Stopped before they were written, dropped");

    const QString closeError = files.finish();
    bytesWritten = files.bytesWritten();
    if (error.isEmpty() && !closeError.isEmpty())
        error = QStringLiteral("Error finishing the file: %1").arg(closeError);
    if (error.isEmpty() && framesWritten == 0) {
        // A file without a frame plays nowhere; it is not kept as if it were a recording.
        for (const QString &name : files.fileNames())
            QFile::remove(name);
        error = QStringLiteral("No frame reached the recording");
    }
    if (!error.isEmpty())
        emit errorOccurred(error);
    writing = false;
    emit writingFinished();
}

VideoWriterThread::Clock::duration VideoWriterThread::waitWhilePaused()
{
    // Sound from before the pause is placed before the time line moves on.
    audio.placeArrived();
    const Clock::time_point start = Clock::now();
    while (paused && !stopRequested)
        queue->sleepUntil(Clock::now() + pausedPoll);
    const Clock::duration pausedFor = Clock::now() - start;
    audio.shiftOrigin(pausedFor.count());
    return pausedFor;
}

QByteArray VideoWriterThread::prepared(const QByteArray &picture) const
{
    return options.codec == RecordingOptions::Codec::MotionJpeg
               ? JpegStream::withHuffmanTables(picture)
               : picture;
}

QString VideoWriterThread::writePaced(RecordingFiles &files, Clock::time_point &origin)
{
    const double periodNs = 1e9 / options.slotsPerSecond();
    const double cameraPeriodNs = 1e9 / options.fps;
    // Half a second of frames may wait for their slot; beyond that the oldest are dropped one at
    // a time, so a camera whose clock runs fast loses single frames, not a trim's worth at once.
    const int maxBacklog =
        std::clamp(int(std::ceil(options.slotsPerSecond() / 2)), 3, maxQueuedFrames - 1);
    QByteArray last;
    // Slot k falls due k periods after the file was opened, multiplied out so that rounding
    // errors do not add up. Slots are filled in order however late the worker is: the file's
    // length is the time it recorded.
    for (qint64 slot = framesWritten + 1; !stopRequested; slot = framesWritten + 1) {
        if (paused) {
            origin += waitWhilePaused();
            continue;
        }
        const auto due = origin + std::chrono::nanoseconds(std::llround(double(slot) * periodNs));
        const auto nextDue =
            origin + std::chrono::nanoseconds(std::llround(double(slot + 1) * periodNs));
        const auto graceEnd =
            origin + std::chrono::nanoseconds(std::llround(double(slot + 2) * periodNs));
        if (options.isTimelapse())
            wantedFromNs = (due - std::chrono::nanoseconds(
                                      std::llround(timelapseFramesWanted * cameraPeriodNs)))
                               .time_since_epoch()
                               .count();
        if (Clock::now() < due) {
            queue->sleepUntil(due);
            continue;
        }
        countDropped(queue->dropOldest(queue->size() - maxBacklog), "Encoder fell behind, dropped");
        // The first slot shows the newest picture there is for it, even one still being encoded
        // until the next slot falls due. Older ones are the picture the window had when the
        // recording began, given in case no camera frame comes, or frames from before the file
        // was open; written, they would keep every later frame late and be over at the stop.
        if (last.isEmpty() && queue->size() > 1 && Clock::now() < nextDue &&
            !queue->waitForAll(nextDue))
            continue;
        if (last.isEmpty())
            framesSkipped += queue->skipToNewestDone();
        else if (options.isTimelapse())
            // A time-lapse wants the newest picture at its slot; the frames before it were
            // never meant for the file.
            framesReceived -= queue->skipToNewestDone();

        QByteArray jpeg;
        QString encodeError;
        bool repeat = false;
        qint64 takenNs = 0;
        const FrameEncodeQueue::Front front = queue->takeFront(&jpeg, &encodeError, &takenNs);
        switch (front) {
        case FrameEncodeQueue::Front::Ready:
            audio.setOrigin(takenNs); // the first frame's: the sound taken with it plays with it
            jpeg = prepared(jpeg);
            last = jpeg;
            break;
        case FrameEncodeQueue::Front::Skipped:
            ++framesSkipped;
            qWarning() << "VideoWriterThread: Frame size mismatch after the transform. Expected:"
                       << options.frameSize;
            continue;
        case FrameEncodeQueue::Front::Failed:
            ++framesSkipped;
            return QStringLiteral("Error encoding frame: %1").arg(encodeError);
        case FrameEncodeQueue::Front::Empty:
        case FrameEncodeQueue::Front::Pending:
            if (last.isEmpty()) {
                // The first frame fills every slot that passed while it was awaited.
                queue->waitForFront(Clock::now() + firstFramePoll);
                continue;
            }
            // A frame still being encoded keeps its slot while the worker is at most two slots
            // behind the clock: the file does not care when a slot is written, while a repeat
            // would leave that frame late, and one too many at the stop. Further behind, the
            // file follows the clock.
            if (front == FrameEncodeQueue::Front::Pending && Clock::now() < graceEnd) {
                queue->waitForFront(graceEnd);
                continue;
            }
            // A time-lapse waits a little for a camera late with its frame: a repeat would show
            // the picture of a whole interval before.
            if (options.isTimelapse() && Clock::now() < due + timelapseLateLimit(periodNs)) {
                queue->waitForFront(due + timelapseLateLimit(periodNs));
                continue;
            }
            jpeg = last;
            repeat = true;
            break;
        }
        const QString writeError = writeSlot(files, jpeg, repeat);
        if (!writeError.isEmpty() || files.limitReached() != RecordingLimit::None)
            return writeError;
    }
    return QString();
}

QString VideoWriterThread::writeLastFrames(RecordingFiles &files, Clock::time_point origin,
                                           Clock::time_point stop)
{
    // Frames that came in since the last slot still belong to the recording, but only as many
    // as keep the file within one frame of the time it recorded; the rest count as dropped. A
    // recording stopped before its first slot still gets the frame it was given.
    const double elapsedS = std::chrono::duration<double>(stop - origin).count();
    const qint64 allowed = std::llround(elapsedS * options.slotsPerSecond()) + 1;
    const auto deadline = stop + lastFramesBudget;
    while (framesWritten < allowed && queue->size() > 0 && Clock::now() < deadline) {
        queue->waitForFront(Clock::now() + firstFramePoll);
        QByteArray jpeg;
        QString encodeError;
        qint64 takenNs = 0;
        switch (queue->takeFront(&jpeg, &encodeError, &takenNs)) {
        case FrameEncodeQueue::Front::Ready: {
            audio.setOrigin(takenNs);
            const QString writeError = writeSlot(files, prepared(jpeg), false);
            if (!writeError.isEmpty())
                return writeError;
            break;
        }
        case FrameEncodeQueue::Front::Failed:
            ++framesSkipped;
            return QStringLiteral("Error encoding frame: %1").arg(encodeError);
        case FrameEncodeQueue::Front::Skipped:
            ++framesSkipped;
            break;
        case FrameEncodeQueue::Front::Empty:
        case FrameEncodeQueue::Front::Pending:
            break;
        }
    }
    return QString();
}

QString VideoWriterThread::writeSlot(RecordingFiles &files, const QByteArray &picture, bool repeat)
{
    const QString error = files.writeSlot(picture);
    bytesWritten = files.bytesWritten();
    freeBytes = files.freeBytes();
    if (!error.isEmpty()) {
        framesSkipped += repeat ? 0 : 1;
        return QStringLiteral("Error writing frame: %1").arg(error);
    }
    if (repeat)
        ++framesDuplicated;
    ++framesWritten;
    emit frameWritten();
    return QString();
}
