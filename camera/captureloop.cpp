#include "captureloop.h"

#include "capture.h"

#include <pthread.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace {

// The stretch of the camera's own time over which the rate is measured.
constexpr uint64_t rateWindowUs = 1000000;
// The largest camera JPEG taken; far above any real frame.
constexpr qsizetype maxJpegBytes = 64 << 20;
// H.264 frames waiting for the decoder, at most: two seconds at 30 fps. A decoder further behind
// cannot catch up; its queue is emptied and decoding resumes at the next keyframe.
constexpr size_t maxPendingUnits = 60;

} // namespace

CaptureLoop::CaptureLoop(JpegTaken jpegTaken, FrameReady frameReady, StreamEnded streamEnded,
                         DecodeScale decodeScale, H264Taken h264Taken, FrameTaken frameTaken)
    : jpegTaken(std::move(jpegTaken))
    , frameReady(std::move(frameReady))
    , streamEnded(std::move(streamEnded))
    , decodeScale(std::move(decodeScale))
    , h264Taken(std::move(h264Taken))
    , frameTaken(std::move(frameTaken))
{}

CaptureLoop::~CaptureLoop()
{
    stop();
}

std::optional<uint32_t> CaptureLoop::frameBytes(qint64 width, qint64 height)
{
    if (width <= 0 || height <= 0)
        return std::nullopt;
    if (width * 3 > std::numeric_limits<int>::max())
        return std::nullopt;
    const qint64 bytes = width * height * 3; // width and height are at most 32 bits each
    if (bytes > maxFrameBytes)
        return std::nullopt;
    return uint32_t(bytes);
}

uint32_t CaptureLoop::scaleDenominatorFor(QSize frame, QSize view)
{
    if (view.isEmpty())
        return 1;
    // libjpeg-turbo rounds the scaled sides up.
    const auto covers = [&](uint32_t denominator) {
        return (qint64(frame.width()) + denominator - 1) / denominator >= view.width() &&
               (qint64(frame.height()) + denominator - 1) / denominator >= view.height();
    };
    for (uint32_t denominator : {8u, 4u, 2u}) {
        if (covers(denominator))
            return denominator;
    }
    return 1;
}

bool CaptureLoop::start(void *context, int32_t stream, int width, int height, bool h264)
{
    stop();
    const std::optional<uint32_t> size = frameBytes(width, height);
    if (!context || stream < 0 || !size)
        return false;
    this->context = context;
    this->stream = stream;
    this->width = width;
    this->height = height;
    bytes = *size;
    uint32_t jpegBytes = 0;
    // Asks for the size only: nothing is taken, and a format without JPEG says so.
    compressed = Cap_getCompressedFrame(context, stream, nullptr, 0, &jpegBytes) !=
                 CAPRESULT_FORMATNOTSUPPORTED;
    this->h264 = h264;
    lastJpegSize = 0;
    pendingJpeg.clear();
    pendingUnits.clear();
    lastH264Sequence.reset();
    awaitingKeyframe = true;
    firstSequence.reset();
    lostBeforeFirst = windowStartUs = windowFrames = 0;
    cameraFps = 0.0;
    for (auto *counter :
         {&produced, &lostAtCamera, &damaged, &refusedByDecode, &taken, &decoded, &displaySkipped})
        *counter = 0;
    running = true;
    captureThread = std::thread(&CaptureLoop::takeFrames, this);
    if (compressed)
        decodeThread =
            std::thread(h264 ? &CaptureLoop::decodeH264Frames : &CaptureLoop::decodeFrames, this);
    return true;
}

void CaptureLoop::stop()
{
    {
        std::lock_guard<std::mutex> lock(pendingMutex);
        running = false;
    }
    pendingChanged.notify_all();
    if (captureThread.joinable()) {
        // The capture thread may be asleep in the library, waiting for a frame.
        Cap_interruptWait(context, stream);
        captureThread.join();
    }
    if (decodeThread.joinable())
        decodeThread.join();
}

void CaptureLoop::takeFrames()
{
    pthread_setname_np(pthread_self(), "ostrel-capture");
    while (running.load()) {
        const CapResult waited = Cap_waitForFrame(context, stream, -1);
        if (waited == CAPRESULT_INTERRUPTED || waited == CAPRESULT_TIMEOUT)
            continue; // a stop, or nothing yet
        uint32_t result = waited;
        if (waited == CAPRESULT_OK && compressed) {
            QByteArray jpeg = takeCompressedFrame(result);
            if (!jpeg.isEmpty() && h264) {
                CameraBase::CompressedFrame frame{std::move(jpeg)};
                noteTaken(frame.data.size(), &frame);
                passOnH264(frame);
            } else if (!jpeg.isEmpty()) {
                const qint64 timestampUs = noteTaken(jpeg.size());
                // Before the decode: a recording of the camera's JPEG never waits for it.
                jpegTaken(jpeg, timestampUs);
                bool skipped = false;
                {
                    std::lock_guard<std::mutex> lock(pendingMutex);
                    skipped = !pendingJpeg.isEmpty();
                    pendingJpeg = std::move(jpeg);
                    pendingJpegTimeUs = timestampUs;
                }
                displaySkipped += skipped ? 1 : 0;
                pendingChanged.notify_one();
            }
        } else if (waited == CAPRESULT_OK) {
            const QImage frame = newFrame([this, &result](uchar *rgb, uint32_t size) {
                result = Cap_captureFrame(context, stream, rgb, size);
                return result == CAPRESULT_OK;
            });
            if (!frame.isNull()) {
                const qint64 timestampUs = noteTaken(0);
                ++decoded;
                frameReady(frame, QByteArray(), timestampUs);
            }
        }
        // A frame that could not be taken (damaged, or gone by now) costs that frame only. A
        // device that has vanished, or a stream that cannot wait any more, ends the loop.
        if (result == CAPRESULT_DEVICENOTFOUND || waited != CAPRESULT_OK) {
            if (running.load())
                streamEnded(result == CAPRESULT_DEVICENOTFOUND);
            return;
        }
    }
}

qint64 CaptureLoop::noteTaken(qint64 compressedBytes, CameraBase::CompressedFrame *facts)
{
    ++taken;
    CapFrameInfo info{};
    if (Cap_getFrameInfo(context, stream, &info) != CAPRESULT_OK)
        return 0;
    if (facts) {
        facts->timestampUs = qint64(info.timestampUs);
        facts->sequence = quint32(info.sequence);
        facts->keyframe = info.flags & CAPFRAME_KEYFRAME;
    }
    if (frameTaken)
        frameTaken({info.sequence, info.timestampUs, compressedBytes});
    // Frames are counted from the first one taken: whatever the camera lost before that happened
    // before this run saw it.
    if (!firstSequence) {
        firstSequence = info.sequence;
        lostBeforeFirst = info.framesLost;
    }
    produced = info.sequence - *firstSequence + 1;
    lostAtCamera = info.framesLost - lostBeforeFirst;
    damaged = info.framesDamaged;

    if (windowFrames == 0 || info.timestampUs < windowStartUs) {
        windowStartUs = info.timestampUs;
        windowFrames = 1;
        return qint64(info.timestampUs);
    }
    ++windowFrames;
    if (const uint64_t span = info.timestampUs - windowStartUs; span >= rateWindowUs) {
        cameraFps = double(windowFrames - 1) * 1e6 / double(span);
        windowStartUs = info.timestampUs;
        windowFrames = 1;
    }
    return qint64(info.timestampUs);
}

CameraBase::FrameCounts CaptureLoop::counts() const
{
    return {produced.load(), lostAtCamera.load(), damaged.load() + refusedByDecode.load(),
            taken.load(),    decoded.load(),      displaySkipped.load()};
}

void CaptureLoop::decodeFrames()
{
    pthread_setname_np(pthread_self(), "ostrel-decode");
    for (;;) {
        QByteArray jpeg;
        qint64 timestampUs = 0;
        {
            std::unique_lock<std::mutex> lock(pendingMutex);
            pendingChanged.wait(lock, [this] { return !pendingJpeg.isEmpty() || !running; });
            if (!running)
                return;
            jpeg = std::exchange(pendingJpeg, QByteArray());
            timestampUs = pendingJpegTimeUs;
        }
        // Asked anew for every frame: the view may have been resized, a tap may want pictures.
        const uint32_t scale = decodeScale ? decodeScale() : 1;
        const QImage frame = scale == 1 ? newFrame([this, &jpeg](uchar *rgb, uint32_t size) {
            return Cap_decodeFrame(context, stream, jpeg.constData(), uint32_t(jpeg.size()), rgb,
                                   size) == CAPRESULT_OK;
        })
                                        : scaledFrame(jpeg, scale);
        if (frame.isNull())
            ++refusedByDecode;
        else
            ++decoded;
        if (!frame.isNull() && running.load())
            frameReady(frame, jpeg, timestampUs);
    }
}

void CaptureLoop::passOnH264(const CameraBase::CompressedFrame &frame)
{
    // Before the decode: a recording of the camera's frames never waits for it.
    if (h264Taken)
        h264Taken(frame);
    // A frame missing in between (lost, or refused as damaged) leaves the frames after it
    // undecodable until the next keyframe.
    if (lastH264Sequence && frame.sequence != quint32(*lastH264Sequence + 1))
        awaitingKeyframe = true;
    lastH264Sequence = frame.sequence;
    quint64 skipped = 0;
    {
        std::lock_guard<std::mutex> lock(pendingMutex);
        if (pendingUnits.size() >= maxPendingUnits) {
            skipped = pendingUnits.size();
            pendingUnits.clear();
            awaitingKeyframe = true;
        }
        if (awaitingKeyframe && !frame.keyframe)
            ++skipped;
        else
            pendingUnits.push_back({frame.data, frame.keyframe, frame.timestampUs});
        awaitingKeyframe = awaitingKeyframe && !frame.keyframe;
    }
    displaySkipped += skipped;
    pendingChanged.notify_one();
}

void CaptureLoop::decodeH264Frames()
{
    pthread_setname_np(pthread_self(), "ostrel-decode");
    // After a frame the decoder refused, the frames up to the next keyframe are not even given
    // to it: they count as skipped, the refused one alone as damaged.
    bool afterRefusal = false;
    for (;;) {
        PendingUnit unit;
        bool newest = false;
        {
            std::unique_lock<std::mutex> lock(pendingMutex);
            pendingChanged.wait(lock, [this] { return !pendingUnits.empty() || !running; });
            if (!running)
                return;
            unit = std::move(pendingUnits.front());
            pendingUnits.pop_front();
            newest = pendingUnits.empty();
        }
        if (afterRefusal && !unit.keyframe) {
            ++displaySkipped;
            continue;
        }
        const QByteArray &bytes = unit.bytes;
        // Every frame is decoded, since the next ones build on it; only the newest is shown.
        QImage frame;
        bool ok = false;
        if (newest) {
            frame = newFrame([this, &bytes](uchar *rgb, uint32_t size) {
                return Cap_decodeFrame(context, stream, bytes.constData(), uint32_t(bytes.size()),
                                       rgb, size) == CAPRESULT_OK;
            });
            ok = !frame.isNull();
        } else {
            ok = Cap_decodeFrame(context, stream, bytes.constData(), uint32_t(bytes.size()),
                                 nullptr, 0) == CAPRESULT_OK;
        }
        afterRefusal = !ok;
        ++(!ok ? refusedByDecode : newest ? decoded : displaySkipped);
        if (ok && newest && running.load())
            frameReady(frame, QByteArray(), unit.timestampUs);
    }
}

QImage CaptureLoop::scaledFrame(const QByteArray &jpeg, uint32_t scale) const
{
    uint32_t w = 0, h = 0;
    if (Cap_getScaledSize(context, stream, scale, &w, &h) != CAPRESULT_OK)
        return QImage();
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    // Blue, green, red, 255 is Format_RGB32 here, which a view paints without converting it:
    // several times faster than painting RGB888 scaled.
    QImage frame(int(w), int(h), QImage::Format_RGB32);
    if (frame.isNull() ||
        Cap_decodeFrameScaledBGRX(context, stream, jpeg.constData(), uint32_t(jpeg.size()), scale,
                                  frame.bits(), uint32_t(frame.sizeInBytes())) != CAPRESULT_OK)
        return QImage();
    return frame;
#else
    return newFrame(int(w), int(h), [&](uchar *rgb, uint32_t size) {
        return Cap_decodeFrameScaled(context, stream, jpeg.constData(), uint32_t(jpeg.size()),
                                     scale, rgb, size) == CAPRESULT_OK;
    });
#endif
}

QByteArray CaptureLoop::takeCompressedFrame(uint32_t &result)
{
    // Sized by the previous frame plus some room, so that one call mostly suffices.
    QByteArray jpeg(std::min(lastJpegSize + lastJpegSize / 4 + 4096, maxJpegBytes),
                    Qt::Uninitialized);
    uint32_t size = 0;
    result = Cap_captureCompressedFrame(context, stream, jpeg.data(), uint32_t(jpeg.size()), &size);
    if (result == CAPRESULT_ERR && size > uint32_t(jpeg.size()) && size <= uint32_t(maxJpegBytes)) {
        // Taken, but larger than guessed: the library keeps it for one more call.
        jpeg.resize(qsizetype(size));
        result = Cap_getCompressedFrame(context, stream, jpeg.data(), size, &size);
    }
    if (result != CAPRESULT_OK)
        return QByteArray();
    jpeg.truncate(qsizetype(size));
    lastJpegSize = qsizetype(size);
    return jpeg;
}

QImage CaptureLoop::newFrame(const std::function<bool(uchar *, uint32_t)> &fill) const
{
    return newFrame(width, height, fill);
}

QImage CaptureLoop::newFrame(int w, int h, const std::function<bool(uchar *, uint32_t)> &fill)
{
    const std::optional<uint32_t> size = frameBytes(w, h);
    if (!size)
        return QImage();
    QImage frame(w, h, QImage::Format_RGB888);
    if (frame.isNull())
        return QImage();
    const qsizetype packedLine = qsizetype(w) * 3;
    if (frame.bytesPerLine() == packedLine)
        return fill(frame.bits(), *size) ? frame : QImage();
    // QImage pads its lines to four bytes; the library writes them packed.
    std::vector<uchar> packed(*size);
    if (!fill(packed.data(), *size))
        return QImage();
    for (int y = 0; y < h; ++y)
        std::memcpy(frame.scanLine(y), packed.data() + y * packedLine, size_t(packedLine));
    return frame;
}
