#include "videowriterthread.h"

#include <QDebug>
#include <QMutexLocker>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <exception>

namespace {

// Frames dropped by the queue bound over the life of the process, across all recordings and all
// writers. It sets the cadence of the drop warning, so a long struggle is reported now and then
// rather than on every trim. Atomic because two writers may trim at the same moment.
std::atomic<int> totalDropped{0};

// The queue bound, and what a trim leaves: trimming in large steps keeps it off the common path.
constexpr int maxQueuedFrames = 30;
constexpr int framesKeptByTrim = 15;
constexpr int dropWarningCadence = 30;

// Longest sleep of the paced loop: a frame that has to be repeated is written within about this
// much of its tick even when nothing wakes the worker.
constexpr qint64 maxWaitMs = 10;

// The final drain gives up after this long so that the file is still released before
// stopWriting's 5000 ms grace runs out, leaving room for a write that was under way when the stop
// came; terminating the worker would lose the whole file. Only an encoder that manages fewer
// than about 9 frames per second with a full queue ever reaches it.
constexpr qint64 drainBudgetMs = 3500;

} // namespace

VideoWriterThread::VideoWriterThread(QObject *parent)
    : QThread(parent)
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
    // Whole milliseconds: a writer that fell behind restarts its schedule this long after now.
    frameIntervalMs = static_cast<qint64>(1000.0 / fps);
    {
        QMutexLocker locker(&clockMutex);
        clock.invalidate();
    }

    QMutexLocker locker(&queueMutex);
    this->frameSize = frameSize;
    frameQueue.clear();
    stopRequested = false;
    lastFrame = QImage();
    framesWritten = 0;
    framesDuplicated = 0;
    framesDropped = 0;
    return true;
}

void VideoWriterThread::addFrame(const QImage &frame)
{
    if (!writing || frame.isNull())
        return;

    QSize expected;
    {
        QMutexLocker locker(&queueMutex);
        expected = frameSize;
    }
    if (frame.size() != expected) {
        qWarning() << "VideoWriterThread: Frame size mismatch. Expected:" << expected
                   << "Got:" << frame.size();
        return;
    }

    // The deep copy lets the producer reuse its buffer at once; making it before taking the
    // lock keeps a multi-megabyte copy out of the worker's way.
    QImage copy = frame.copy();

    QMutexLocker locker(&queueMutex);
    if (frameQueue.size() >= maxQueuedFrames) {
        const int dropped = int(frameQueue.size()) - framesKeptByTrim;
        frameQueue.remove(0, dropped);
        framesDropped += dropped;
        const int total = totalDropped += dropped;
        if (total % dropWarningCadence == 0)
            qWarning() << "VideoWriterThread: Queue full, dropped" << dropped
                       << "frames (total dropped:" << total << ")";
    }
    frameQueue.append(std::move(copy));
    frameAvailable.wakeOne();
}

void VideoWriterThread::stopWriting()
{
    // A worker that has been started but has not opened its file yet is not writing, but it
    // must end all the same: it tests stopRequested right after the open and finishes at once,
    // releasing an empty but complete file.
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
    writing = false;
}

void VideoWriterThread::requestStop()
{
    stopRequested = true;
    // Taken so the wake cannot slip in between the worker's test and its wait.
    QMutexLocker locker(&queueMutex);
    frameAvailable.wakeAll();
}

WriterStatistics VideoWriterThread::statistics() const
{
    WriterStatistics result;
    result.framesWritten = framesWritten;
    result.framesDuplicated = framesDuplicated;
    result.framesDropped = framesDropped;
    QMutexLocker locker(&clockMutex);
    result.elapsedMs = clock.isValid() ? clock.elapsed() : 0;
    return result;
}

void VideoWriterThread::run()
{
    bool opened = false;
    try {
        opened = encoder.open(fileName.toUtf8().toStdString(), fourccCode, framesPerSecond,
                              cv::Size(frameSize.width(), frameSize.height()), true);
    } catch (const std::exception &) {
        opened = false;
    }
    if (!opened) {
        emit errorOccurred(QStringLiteral("Failed to open video writer for: ") + fileName);
        return;
    }

    writing = true;
    {
        QMutexLocker locker(&clockMutex);
        clock.start();
    }

    writePaced();

    // Held to the end so that a producer cannot slip a frame in between the drain and the
    // release; such a frame waits and lands in the queue of the ended recording instead.
    QMutexLocker locker(&queueMutex);
    drainQueue();
    if (encoder.isOpened())
        encoder.release();
    writing = false;
    emit writingFinished();
}

void VideoWriterThread::writePaced()
{
    auto elapsed = [this] {
        QMutexLocker locker(&clockMutex);
        return clock.elapsed();
    };

    // Slots fall due at the exact frame period. Stepping by the whole-millisecond interval alone
    // would let the dropped fractions add up: 33 ms steps make a 30 fps file 1 % longer than the
    // time it recorded. The first frame is due one period after the file was opened.
    const double periodMs = 1000.0 / framesPerSecond;
    double originMs = 0.0;
    qint64 slot = 1;
    // Multiplied out, not summed, so that rounding errors do not add up either.
    auto dueTime = [&] {
        return static_cast<qint64>(originMs + double(slot) * periodMs);
    };
    qint64 nextTick = dueTime();
    while (!stopRequested) {
        const qint64 now = elapsed();
        if (now < nextTick) {
            // Nothing is due yet. A frame that arrives meanwhile cannot be written before its
            // tick either, so sleep towards the tick in short slices whatever the queue holds.
            QMutexLocker locker(&queueMutex);
            if (!stopRequested)
                waitForFrame(std::min(nextTick - now, maxWaitMs));
            continue;
        }

        QImage frame;
        {
            QMutexLocker locker(&queueMutex);
            if (!frameQueue.isEmpty()) {
                // The queued image is the writer's own deep copy and nobody modifies it, so
                // sharing it with lastFrame is as safe as copying it again.
                frame = frameQueue.takeFirst();
                lastFrame = frame;
            } else if (!lastFrame.isNull()) {
                frame = lastFrame;
                ++framesDuplicated;
            } else {
                // No frame has arrived yet: write the first one as soon as it comes.
                if (!stopRequested)
                    waitForFrame(maxWaitMs);
                continue;
            }
        }

        const cv::Mat image = convertToMat(frame);
        if (image.empty())
            continue;
        try {
            encoder.write(image);
        } catch (const std::exception &e) {
            emit errorOccurred(QStringLiteral("Error writing frame: %1").arg(e.what()));
            return;
        }
        ++framesWritten;
        emit frameWritten();

        // A writer that fell behind skips the missed slots rather than writing a burst of
        // catch-up frames, so the file never runs ahead of the clock.
        ++slot;
        nextTick = dueTime();
        if (nextTick < now) {
            originMs = double(now + frameIntervalMs);
            slot = 0;
            nextTick = dueTime();
        }
    }
}

void VideoWriterThread::drainQueue()
{
    QElapsedTimer drainClock;
    drainClock.start();
    qint64 slowestWriteMs = 0;
    while (!frameQueue.isEmpty()) {
        // Give up before the next frame would overrun the budget, judged by the slowest write
        // so far: a complete file with a shorter tail beats a terminated worker and no file.
        if (drainClock.elapsed() + slowestWriteMs > drainBudgetMs) {
            qWarning() << "VideoWriterThread: Stopping took too long, discarded"
                       << frameQueue.size() << "queued frames";
            frameQueue.clear();
            break;
        }
        const qint64 writeStart = drainClock.elapsed();
        const cv::Mat image = convertToMat(frameQueue.takeFirst());
        if (!image.empty()) {
            try {
                encoder.write(image);
            } catch (const std::exception &) {
                // The file is still worth completing: keep draining and release it afterwards.
            }
        }
        slowestWriteMs = std::max(slowestWriteMs, drainClock.elapsed() - writeStart);
    }
}

void VideoWriterThread::waitForFrame(qint64 ms)
{
#ifdef QT_BUILDING_UNDER_TSAN
    // QWaitCondition releases and retakes the mutex inside QtCore, which is not built for
    // ThreadSanitizer; without these notes it believes the mutex stays held during the wait.
    __tsan_mutex_pre_unlock(&queueMutex, 0);
    __tsan_mutex_post_unlock(&queueMutex, 0);
#endif
    frameAvailable.wait(&queueMutex, static_cast<unsigned long>(ms));
#ifdef QT_BUILDING_UNDER_TSAN
    __tsan_mutex_pre_lock(&queueMutex, 0);
    __tsan_mutex_post_lock(&queueMutex, 0, 0);
#endif
}

cv::Mat VideoWriterThread::convertToMat(const QImage &image)
{
    try {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
        // A view of the image's pixels; its rows may be padded, hence the explicit stride.
        const cv::Mat view(rgb.height(), rgb.width(), CV_8UC3, const_cast<uchar *>(rgb.constBits()),
                           static_cast<size_t>(rgb.bytesPerLine()));
        // cvtColor allocates a fresh, packed matrix that owns its pixels, so the result needs
        // no further copy before it outlives the view.
        cv::Mat bgr;
        cv::cvtColor(view, bgr, cv::COLOR_RGB2BGR);
        return bgr;
    } catch (const std::exception &e) {
        qWarning() << "Error converting QImage to cv::Mat:" << e.what();
        return cv::Mat();
    }
}
