#include "videowriterthread.h"

#include "avimuxer.h"
#include "frameencodequeue.h"
#include "jpegstream.h"

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

bool VideoWriterThread::startWriting(const QString &fileName, int fourcc, double fps,
                                     const QSize &frameSize)
{
    // A worker that is still running, even one that has not opened its file yet or is just
    // unwinding, reads the parameters below; they must not change under it.
    if (writing || isRunning()) {
        qWarning() << "VideoWriterThread: Already writing";
        return false;
    }
    if (fileName.isEmpty() || !(fps > 0.0) || frameSize.width() < 1 || frameSize.height() < 1) {
        qWarning() << "VideoWriterThread: Invalid parameters";
        return false;
    }

    this->fileName = fileName;
    fourccCode = fourcc;
    framesPerSecond = fps;
    this->frameSize = frameSize;
    openedAtNs = 0;
    stoppedAtNs = 0;
    queue->reset(frameSize);
    stopRequested = false;
    framesWritten = 0;
    framesDuplicated = 0;
    framesDropped = 0;
    framesReceived = 0;
    framesSkipped = 0;
    accepting = true;
    return true;
}

void VideoWriterThread::addFrame(const QImage &frame)
{
    if (!accepting || frame.isNull())
        return;
    ++framesReceived;
    const int dropped = queue->push(frame);
    if (dropped < 0) {
        ++framesSkipped;
        qWarning() << "VideoWriterThread: Frame size mismatch. Expected:" << frameSize
                   << "Got:" << frame.size();
        return;
    }
    countDropped(dropped, "Queue full, dropped");
}

void VideoWriterThread::addEncodedFrame(const QByteArray &jpeg)
{
    if (!accepting || jpeg.isEmpty())
        return;
    ++framesReceived;
    const QSize declared = JpegStream::declaredSize(jpeg);
    const int dropped = queue->pushEncoded(jpeg, declared);
    if (dropped < 0) {
        ++framesSkipped;
        qWarning() << "VideoWriterThread: Frame size mismatch. Expected:" << frameSize
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
    return result;
}

void VideoWriterThread::run()
{
    AviMuxer muxer;
    const QString openError = muxer.open(fileName, frameSize, AviMuxer::exactRate(framesPerSecond));
    if (!openError.isEmpty()) {
        qWarning() << "VideoWriterThread:" << fileName << openError;
        accepting = false;
        emit errorOccurred(QStringLiteral("Failed to open video writer for: ") + fileName);
        return;
    }

    const Clock::time_point origin = Clock::now();
    static_assert(std::is_same_v<Clock::duration, std::chrono::nanoseconds>);
    // Never 0, which means "not open".
    openedAtNs = std::max<qint64>(1, origin.time_since_epoch().count());
    writing = true;
    queue->startWorkers(std::max(1, QThread::idealThreadCount()));

    QString error = writePaced(muxer, origin);
    const Clock::time_point stop = Clock::now();
    stoppedAtNs = stop.time_since_epoch().count();
    if (error.isEmpty())
        error = writeLastFrames(muxer, origin, stop);
    accepting = false;
    queue->endWorkers();
    const int unwritten = queue->size();
    queue->reset(frameSize);
    countDropped(unwritten, "Stopped before they were written, dropped");

    const QString closeError = muxer.finish();
    if (error.isEmpty() && !closeError.isEmpty())
        error = QStringLiteral("Error finishing the file: %1").arg(closeError);
    if (error.isEmpty() && framesWritten == 0) {
        // A file without a frame plays nowhere; it is not kept as if it were a recording.
        QFile::remove(fileName);
        error = QStringLiteral("No frame reached the recording");
    }
    if (!error.isEmpty())
        emit errorOccurred(error);
    writing = false;
    emit writingFinished();
}

QString VideoWriterThread::writePaced(AviMuxer &muxer, Clock::time_point origin)
{
    const double periodNs = 1e9 / framesPerSecond;
    // Half a second of frames may wait for their slot; beyond that the oldest are dropped one at
    // a time, so a camera whose clock runs fast loses single frames, not a trim's worth at once.
    const int maxBacklog = std::clamp(int(std::ceil(framesPerSecond / 2)), 3, maxQueuedFrames - 1);
    QByteArray last;
    // Slot k falls due k periods after the file was opened, multiplied out so that rounding
    // errors do not add up. Slots are filled in order however late the worker is: the file's
    // length is the time it recorded.
    for (qint64 slot = framesWritten + 1; !stopRequested; slot = framesWritten + 1) {
        const auto due = origin + std::chrono::nanoseconds(std::llround(double(slot) * periodNs));
        const auto nextDue =
            origin + std::chrono::nanoseconds(std::llround(double(slot + 1) * periodNs));
        const auto graceEnd =
            origin + std::chrono::nanoseconds(std::llround(double(slot + 2) * periodNs));
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

        QByteArray jpeg;
        QString encodeError;
        bool repeat = false;
        const FrameEncodeQueue::Front front = queue->takeFront(&jpeg, &encodeError);
        switch (front) {
        case FrameEncodeQueue::Front::Ready:
            jpeg = JpegStream::withHuffmanTables(jpeg);
            last = jpeg;
            break;
        case FrameEncodeQueue::Front::Skipped:
            ++framesSkipped;
            qWarning() << "VideoWriterThread: Frame size mismatch after the transform. Expected:"
                       << frameSize;
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
            jpeg = last;
            repeat = true;
            break;
        }
        const QString writeError = writeSlot(muxer, jpeg, repeat);
        if (!writeError.isEmpty())
            return writeError;
    }
    return QString();
}

QString VideoWriterThread::writeLastFrames(AviMuxer &muxer, Clock::time_point origin,
                                           Clock::time_point stop)
{
    // Frames that came in since the last slot still belong to the recording, but only as many
    // as keep the file within one frame of the time it recorded; the rest count as dropped. A
    // recording stopped before its first slot still gets the frame it was given.
    const double elapsedS = std::chrono::duration<double>(stop - origin).count();
    const qint64 allowed = std::llround(elapsedS * framesPerSecond) + 1;
    const auto deadline = stop + lastFramesBudget;
    while (framesWritten < allowed && queue->size() > 0 && Clock::now() < deadline) {
        queue->waitForFront(Clock::now() + firstFramePoll);
        QByteArray jpeg;
        QString encodeError;
        switch (queue->takeFront(&jpeg, &encodeError)) {
        case FrameEncodeQueue::Front::Ready: {
            const QString writeError = writeSlot(muxer, JpegStream::withHuffmanTables(jpeg), false);
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

QString VideoWriterThread::writeSlot(AviMuxer &muxer, const QByteArray &jpeg, bool repeat)
{
    const QString error = muxer.writeFrame(jpeg);
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
