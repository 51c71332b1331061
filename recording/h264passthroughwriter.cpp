#include "h264passthroughwriter.h"

#include "audioencoder.h"
#include "avimuxer.h"
#include "libavsupport.h"
#include "moviefile.h"

#include <QDebug>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <cmath>

namespace {

bool startsWithStartCode(const QByteArray &unit)
{
    return unit.startsWith(QByteArray("\0\0\1", 3)) || unit.startsWith(QByteArray("\0\0\0\1", 4));
}

// Frames waiting for the disk, at most: far more than a healthy disk ever lets pile up (a camera
// sends a few MB a second). Beyond it frames are dropped, which the worker sees as a gap.
constexpr qint64 maxQueuedBytes = qint64(64) << 20;

// Packets are stamped in microseconds, the camera's own unit.
constexpr FrameRateFraction microseconds{1, 1000000};

} // namespace

H264PassThroughWriter::H264PassThroughWriter(QObject *parent)
    : QThread(parent)
{}

H264PassThroughWriter::~H264PassThroughWriter()
{
    stopWriting();
}

bool H264PassThroughWriter::startWriting(const RecordingOptions &options)
{
    if (isRunning() || options.codec != RecordingOptions::Codec::H264 || options.isTimelapse() ||
        !MovieFile::isMovieFile(options.fileName) || !(options.fps > 0.0) ||
        options.frameSize.isEmpty()) {
        qWarning() << "H264PassThroughWriter: cannot record" << options.fileName;
        return false;
    }
    if (const QString refused = AudioEncoder::refusal(options); !refused.isEmpty()) {
        qWarning() << "H264PassThroughWriter: cannot record the sound:" << refused;
        return false;
    }
    this->options = options;
    audio.reset(options.hasSound() ? options.audio : AudioFormat(), options.fps);
    writtenEndUs = 0;
    awaitingKeyframe = true;
    skippedSinceHeld = resuming = haveSequence = false;
    parameterSets.clear();
    files = 0;
    bytesInFinishedFiles = framesSinceCheck = 0;
    held = Held();
    for (auto *counter : {&framesWritten, &framesDropped, &framesReceived, &framesSkipped})
        *counter = 0;
    recordedUs = bytesWritten = 0;
    freeBytes = -1;
    limit = RecordingLimit::None;
    paused = false;
    std::lock_guard<std::mutex> lock(queueMutex);
    queue.clear();
    queuedBytes = 0;
    stopRequested = pauseGap = false;
    accepting = true;
    soundOpen = true;
    return true;
}

void H264PassThroughWriter::addFrame(const CameraBase::CompressedFrame &frame)
{
    {
        // Decided under the lock: a frame taken in is one the worker will still see.
        std::lock_guard<std::mutex> lock(queueMutex);
        if (!accepting || stopRequested)
            return;
        if (paused) {
            pauseGap = true;
            return;
        }
        ++framesReceived;
        if (queuedBytes + frame.data.size() <= maxQueuedBytes) {
            queuedBytes += frame.data.size();
            queue.push_back({frame, std::exchange(pauseGap, false)});
            queueChanged.notify_one();
            return;
        }
    }
    if (++framesDropped % 30 == 1)
        qWarning() << "H264PassThroughWriter: the disk is behind, frames dropped:"
                   << framesDropped.load();
}

void H264PassThroughWriter::addAudio(const AudioChunk &chunk)
{
    std::lock_guard<std::mutex> lock(queueMutex);
    if (soundOpen && !paused && options.hasSound())
        audio.add(chunk);
}

void H264PassThroughWriter::setPaused(bool pause)
{
    paused = pause;
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
    result.freeBytes = freeBytes;
    result.endedAtLimit = limit;
    return result;
}

qint64 H264PassThroughWriter::framePeriodUs() const
{
    return std::llround(1e6 / options.fps);
}

void H264PassThroughWriter::run()
{
    MovieFile file;
    QString error;
    while (error.isEmpty() && limit == RecordingLimit::None) {
        std::deque<Queued> batch;
        {
            std::unique_lock<std::mutex> lock(queueMutex);
            queueChanged.wait(lock, [this] { return !queue.empty() || stopRequested; });
            if (queue.empty())
                break; // a stop, with everything given before it written
            batch.swap(queue);
            queuedBytes = 0;
        }
        for (const Queued &queued : batch) {
            if (error.isEmpty() && limit == RecordingLimit::None)
                error = take(file, queued);
            else
                ++framesDropped; // given after the end, never written
        }
    }
    {
        // Frames may still wait after a failure or a limit; none is taken in any more.
        std::lock_guard<std::mutex> lock(queueMutex);
        accepting = false;
        framesDropped += int(queue.size());
        queue.clear();
        queuedBytes = 0;
    }
    if (!held.data.isEmpty()) {
        if (error.isEmpty())
            error = writeHeld(file, framePeriodUs());
        else
            ++framesDropped;
    }
    if (error.isEmpty() && files > 0)
        error = writeSound(file, true);
    if (const QString closeError = file.finish(); error.isEmpty() && !closeError.isEmpty())
        error = tr("Error finishing the file: %1").arg(closeError);
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        soundOpen = false;
    }
    if (error.isEmpty() && files == 0)
        error = limit == RecordingLimit::FreeSpace
                    ? tr("Not enough free space to record: %1 MB left").arg(freeBytes / 1000000)
                    : tr("No keyframe came from the camera: nothing was recorded");
    if (!error.isEmpty()) {
        qWarning() << "H264PassThroughWriter:" << options.fileName << error;
        emit errorOccurred(error);
    }
    if (files > 0)
        emit writingFinished();
}

QString H264PassThroughWriter::take(MovieFile &file, const Queued &queued)
{
    const CameraBase::CompressedFrame &frame = queued.frame;
    // A frame missing in between, or this one broken, leaves every frame up to the next
    // keyframe without the picture it builds on.
    const bool gap = haveSequence && frame.sequence != quint32(lastSequence + 1);
    haveSequence = true;
    lastSequence = frame.sequence;
    resuming = resuming || queued.afterPause;
    const bool whole = startsWithStartCode(frame.data);
    awaitingKeyframe = awaitingKeyframe || gap || !whole;
    if (awaitingKeyframe && !(whole && frame.keyframe)) {
        ++framesSkipped;
        skippedSinceHeld = true;
        return QString();
    }
    awaitingKeyframe = false;
    if (const QByteArray sets = frame.keyframe ? h264ParameterSets(frame.data) : QByteArray();
        !sets.isEmpty())
        parameterSets = sets;
    // After a pause the camera's clock went on; the file goes on right after its last frame.
    if (resuming && files > 0) {
        const qint64 resumedOriginUs = frame.timestampUs - (held.pts + framePeriodUs());
        // Sound from before the pause is placed first; what came since lands before the end
        // of the sound and is left out.
        audio.placeArrived();
        audio.shiftOrigin((resumedOriginUs - originUs) * 1000);
        originUs = resumedOriginUs;
    }
    resuming = false;
    // Strictly rising, whatever the driver's clock does.
    qint64 pts = std::max(frame.timestampUs - originUs, held.pts + 1);
    // Due half a frame early: the camera's times wander a little around the period.
    const bool segmentDone = options.segmentSeconds > 0 && frame.keyframe &&
                             pts + framePeriodUs() / 2 >= qint64(options.segmentSeconds) * 1000000;
    if (!held.data.isEmpty()) {
        // A held frame followed by a hole is shown for one frame period, not until the next.
        const qint64 duration =
            skippedSinceHeld ? std::min(pts - held.pts, framePeriodUs()) : pts - held.pts;
        if (const QString writeError = writeHeld(file, duration); !writeError.isEmpty()) {
            ++framesDropped; // this frame, which came after it
            return writeError;
        }
    }
    if (files == 0 || segmentDone) {
        // The file ends with all of its sound.
        if (files > 0) {
            if (const QString soundError = writeSound(file, true); !soundError.isEmpty())
                return soundError;
        }
        if (parameterSets.isEmpty()) {
            ++framesSkipped; // a file cannot be described without them
            awaitingKeyframe = true;
            return QString();
        }
        if (const QString openError = openNext(file);
            !openError.isEmpty() || limit != RecordingLimit::None) {
            ++framesSkipped;
            return openError;
        }
        originUs = frame.timestampUs;
        audio.setOrigin(originUs * 1000); // the first file's
        pts = 0;
    }
    held = {frame.data, pts, frame.keyframe};
    skippedSinceHeld = false;
    return QString();
}

QString H264PassThroughWriter::openNext(MovieFile &file)
{
    if (files > 0) {
        bytesInFinishedFiles += file.size();
        if (const QString error = file.finish(); !error.isEmpty())
            return tr("Error finishing the file: %1").arg(error);
    }
    if (options.minFreeBytes > 0) {
        const QStorageInfo storage(QFileInfo(options.fileName).absolutePath());
        freeBytes = storage.isValid() ? storage.bytesAvailable() : -1;
        if (freeBytes >= 0 && freeBytes < options.minFreeBytes) {
            limit = RecordingLimit::FreeSpace;
            return QString();
        }
    }
    const QString name = options.segmentFileName(files + 1);
    if (const QString error = file.open(
            name, options.frameSize, AviMuxer::exactRate(options.fps), parameterSets, microseconds,
            options.hasSound() ? options.audio : AudioFormat(), options.audioCodec);
        !error.isEmpty())
        return tr("Failed to open video writer for: %1 (%2)").arg(name, error);
    ++files;
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
    recordedUs += duration;
    writtenEndUs = originUs + held.pts + duration;
    if (const QString soundError = writeSound(file, false); !soundError.isEmpty())
        return soundError;
    bytesWritten = bytesInFinishedFiles + file.size();
    checkLimits(file);
    return QString();
}

QString H264PassThroughWriter::writeSound(MovieFile &file, bool whole)
{
    if (!options.hasSound())
        return QString();
    const qint64 end = audio.frameAt(writtenEndUs * 1000);
    if (whole)
        audio.waitFor(end);
    const QString error = file.writeAudio(
        whole ? audio.takeAll(end)
              : audio.take(end, std::chrono::steady_clock::now().time_since_epoch().count()));
    return error.isEmpty() ? QString() : tr("Error writing sound: %1").arg(error);
}

void H264PassThroughWriter::checkLimits(const MovieFile &file)
{
    if (options.maxBytes > 0 && bytesInFinishedFiles + file.size() >= options.maxBytes) {
        limit = RecordingLimit::Size;
        return;
    }
    // The free space is looked at about once a second.
    if (options.minFreeBytes <= 0 || ++framesSinceCheck < std::llround(options.fps))
        return;
    framesSinceCheck = 0;
    const QStorageInfo storage(QFileInfo(options.fileName).absolutePath());
    freeBytes = storage.isValid() ? storage.bytesAvailable() : -1;
    if (freeBytes >= 0 && freeBytes < options.minFreeBytes)
        limit = RecordingLimit::FreeSpace;
}
