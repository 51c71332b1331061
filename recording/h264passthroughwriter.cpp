#include "h264passthroughwriter.h"

#include "avimuxer.h"
#include "moviefile.h"

#include <QDebug>
#include <QFile>

#include <algorithm>
#include <cmath>

namespace {

// Frames waiting for the disk, at most: far more than a healthy disk ever lets pile up (a camera
// sends a few MB a second). Beyond it frames are dropped, which the worker sees as a gap.
constexpr qint64 maxQueuedBytes = qint64(64) << 20;

// Packets are stamped in microseconds, the camera's own unit.
constexpr FrameRateFraction microseconds{1, 1000000};

constexpr uint8_t nalSps = 7;
constexpr uint8_t nalPps = 8;

bool startsWithStartCode(const QByteArray &unit)
{
    return unit.startsWith(QByteArray("\0\0\1", 3)) || unit.startsWith(QByteArray("\0\0\0\1", 4));
}

// The sequence and picture parameter sets of an access unit, each behind a four-byte start code:
// what the file's codec description needs. Empty when the unit lacks either.
QByteArray parameterSets(const QByteArray &unit)
{
    const QByteArray startCode("\0\0\1", 3);
    QByteArray sets;
    bool sps = false, pps = false;
    for (qsizetype at = unit.indexOf(startCode); at >= 0;) {
        const qsizetype begin = at + 3;
        const qsizetype next = unit.indexOf(startCode, begin);
        // A four-byte start code's leading zero belongs to it, not to the unit before.
        qsizetype end = next < 0 ? unit.size() : next;
        if (next > begin && unit.at(next - 1) == '\0')
            --end;
        const uint8_t type = begin < unit.size() ? uint8_t(unit.at(begin)) & 0x1f : 0;
        if (type == nalSps || type == nalPps) {
            sets += QByteArray("\0\0\0\1", 4) + unit.mid(begin, end - begin);
            (type == nalSps ? sps : pps) = true;
        }
        at = next;
    }
    return sps && pps ? sets : QByteArray();
}

} // namespace

H264PassThroughWriter::H264PassThroughWriter(QObject *parent)
    : QThread(parent)
{}

H264PassThroughWriter::~H264PassThroughWriter()
{
    stopWriting();
}

bool H264PassThroughWriter::startWriting(const QString &fileName, const QSize &frameSize,
                                         double fps)
{
    if (isRunning() || fileName.isEmpty() || !MovieFile::isMovieFile(fileName) || !(fps > 0.0) ||
        frameSize.isEmpty()) {
        qWarning() << "H264PassThroughWriter: cannot start" << fileName << frameSize << fps;
        return false;
    }
    this->fileName = fileName;
    this->frameSize = frameSize;
    framesPerSecond = fps;
    opened = false;
    awaitingKeyframe = true;
    skippedSinceHeld = haveSequence = false;
    held = Held();
    for (auto *counter : {&framesWritten, &framesDropped, &framesReceived, &framesSkipped})
        *counter = 0;
    recordedUs = bytesWritten = 0;
    std::lock_guard<std::mutex> lock(queueMutex);
    queue.clear();
    queuedBytes = 0;
    stopRequested = false;
    accepting = true;
    return true;
}

void H264PassThroughWriter::addFrame(const CameraBase::CompressedFrame &frame)
{
    {
        // Decided under the lock: a frame taken in is one the worker will still see.
        std::lock_guard<std::mutex> lock(queueMutex);
        if (!accepting || stopRequested)
            return;
        ++framesReceived;
        if (queuedBytes + frame.data.size() <= maxQueuedBytes) {
            queuedBytes += frame.data.size();
            queue.push_back(frame);
            queueChanged.notify_one();
            return;
        }
    }
    if (++framesDropped % 30 == 1)
        qWarning() << "H264PassThroughWriter: the disk is behind, frames dropped:"
                   << framesDropped.load();
}

void H264PassThroughWriter::requestStop()
{
    std::lock_guard<std::mutex> lock(queueMutex);
    stopRequested = true;
    queueChanged.notify_one();
}

void H264PassThroughWriter::stopWriting()
{
    requestStop();
    wait();
}

WriterStatistics H264PassThroughWriter::statistics() const
{
    WriterStatistics result;
    result.framesWritten = result.framesRecorded = framesWritten;
    result.framesDropped = framesDropped;
    result.framesReceived = framesReceived;
    result.framesSkipped = framesSkipped;
    result.framesLost = result.framesDropped + result.framesSkipped;
    result.elapsedMs = recordedUs / 1000;
    result.bytesWritten = bytesWritten;
    return result;
}

void H264PassThroughWriter::run()
{
    MovieFile file;
    QString error;
    for (;;) {
        std::deque<CameraBase::CompressedFrame> batch;
        {
            std::unique_lock<std::mutex> lock(queueMutex);
            queueChanged.wait(lock, [this] { return !queue.empty() || stopRequested; });
            if (queue.empty())
                break; // a stop, with everything given before it written
            batch.swap(queue);
            queuedBytes = 0;
        }
        for (const CameraBase::CompressedFrame &frame : batch) {
            if (error.isEmpty())
                error = take(file, frame);
            else
                ++framesDropped; // given before the failure, never written
        }
        if (!error.isEmpty())
            break;
    }
    {
        // After a failure frames may still wait; none is taken in any more.
        std::lock_guard<std::mutex> lock(queueMutex);
        accepting = false;
        framesDropped += int(queue.size());
        queue.clear();
        queuedBytes = 0;
    }
    if (opened && !held.data.isEmpty()) {
        if (error.isEmpty())
            error = writeHeld(file, std::llround(1e6 / framesPerSecond));
        else
            ++framesDropped;
    }
    if (opened) {
        const QString closeError = file.finish();
        if (error.isEmpty() && !closeError.isEmpty())
            error = tr("Error finishing the file: %1").arg(closeError);
    } else if (error.isEmpty()) {
        error = tr("No keyframe came from the camera: nothing was recorded");
    }
    if (!error.isEmpty()) {
        qWarning() << "H264PassThroughWriter:" << fileName << error;
        emit errorOccurred(error);
    }
    if (opened)
        emit writingFinished();
}

QString H264PassThroughWriter::take(MovieFile &file, const CameraBase::CompressedFrame &frame)
{
    // A frame missing in between, or this one broken, leaves every frame up to the next
    // keyframe without the picture it builds on.
    const bool gap = haveSequence && frame.sequence != quint32(lastSequence + 1);
    haveSequence = true;
    lastSequence = frame.sequence;
    const bool whole = startsWithStartCode(frame.data);
    awaitingKeyframe = awaitingKeyframe || gap || !whole;
    if (awaitingKeyframe && !(whole && frame.keyframe)) {
        ++framesSkipped;
        skippedSinceHeld = true;
        return QString();
    }
    if (!opened) {
        const QByteArray extradata = parameterSets(frame.data);
        if (extradata.isEmpty()) {
            ++framesSkipped;
            return QString();
        }
        const QString openError = file.open(
            fileName, frameSize, AviMuxer::exactRate(framesPerSecond), extradata, microseconds);
        if (!openError.isEmpty()) {
            ++framesSkipped;
            return tr("Failed to open video writer for: %1 (%2)").arg(fileName, openError);
        }
        opened = true;
        firstTimestampUs = frame.timestampUs;
    }
    awaitingKeyframe = false;
    // Strictly rising, whatever the driver's clock does.
    const qint64 pts = std::max(frame.timestampUs - firstTimestampUs, held.pts + 1);
    if (!held.data.isEmpty()) {
        // A held frame followed by a hole is shown for one frame period, not until the next.
        const qint64 duration = skippedSinceHeld
                                    ? std::min(pts - held.pts, std::llround(1e6 / framesPerSecond))
                                    : pts - held.pts;
        if (const QString writeError = writeHeld(file, duration); !writeError.isEmpty()) {
            ++framesDropped; // this frame, which came after it
            return writeError;
        }
    }
    held = {frame.data, pts, frame.keyframe};
    skippedSinceHeld = false;
    recordedUs = pts;
    return QString();
}

QString H264PassThroughWriter::writeHeld(MovieFile &file, qint64 duration)
{
    const QString error = file.writePacket(held.data, held.pts, held.pts, duration, held.keyframe);
    held.data.clear(); // its time stays, for the next frame's
    if (!error.isEmpty()) {
        ++framesDropped;
        return tr("Error writing frame: %1").arg(error);
    }
    ++framesWritten;
    bytesWritten = file.size();
    return QString();
}
