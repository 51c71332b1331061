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

// Long enough for the thread to sleep between polls, short enough that a frame waits at most a
// few milliseconds before it is taken.
constexpr std::chrono::milliseconds pollInterval{5};
// The largest camera JPEG taken; far above any real frame.
constexpr qsizetype maxJpegBytes = 64 << 20;

} // namespace

CaptureLoop::CaptureLoop(JpegTaken jpegTaken, FrameReady frameReady, DecodeScale decodeScale)
    : jpegTaken(std::move(jpegTaken))
    , frameReady(std::move(frameReady))
    , decodeScale(std::move(decodeScale))
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
    if (bytes > qint64(std::numeric_limits<uint32_t>::max()))
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

bool CaptureLoop::start(void *context, int32_t stream, int width, int height)
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
    lastJpegSize = 0;
    pendingJpeg.clear();
    running = true;
    captureThread = std::thread(&CaptureLoop::takeFrames, this);
    if (compressed)
        decodeThread = std::thread(&CaptureLoop::decodeFrames, this);
    return true;
}

void CaptureLoop::stop()
{
    {
        std::lock_guard<std::mutex> lock(pendingMutex);
        running = false;
    }
    pendingChanged.notify_all();
    if (captureThread.joinable())
        captureThread.join();
    if (decodeThread.joinable())
        decodeThread.join();
}

void CaptureLoop::takeFrames()
{
    pthread_setname_np(pthread_self(), "ostrel-capture");
    while (running.load()) {
        bool taken = false;
        if (Cap_hasNewFrame(context, stream)) {
            if (compressed) {
                QByteArray jpeg = takeCompressedFrame();
                taken = !jpeg.isEmpty();
                if (taken) {
                    // Before the decode: a recording of the camera's JPEG never waits for it.
                    jpegTaken(jpeg);
                    {
                        std::lock_guard<std::mutex> lock(pendingMutex);
                        pendingJpeg = std::move(jpeg);
                    }
                    pendingChanged.notify_one();
                }
            } else {
                const QImage frame = newFrame([this](uchar *rgb, uint32_t size) {
                    return Cap_captureFrame(context, stream, rgb, size) == CAPRESULT_OK;
                });
                taken = !frame.isNull();
                if (taken)
                    frameReady(frame, QByteArray());
            }
        }
        // After a frame the loop looks again at once: the next one must not also wait out a
        // poll when taking this one took a while.
        if (!taken)
            std::this_thread::sleep_for(pollInterval);
    }
}

void CaptureLoop::decodeFrames()
{
    pthread_setname_np(pthread_self(), "ostrel-decode");
    for (;;) {
        QByteArray jpeg;
        {
            std::unique_lock<std::mutex> lock(pendingMutex);
            pendingChanged.wait(lock, [this] { return !pendingJpeg.isEmpty() || !running; });
            if (!running)
                return;
            jpeg = std::exchange(pendingJpeg, QByteArray());
        }
        // Asked anew for every frame: the view may have been resized, a tap may want pictures.
        const uint32_t scale = decodeScale ? decodeScale() : 1;
        const QImage frame = scale == 1 ? newFrame([this, &jpeg](uchar *rgb, uint32_t size) {
            return Cap_decodeFrame(context, stream, jpeg.constData(), uint32_t(jpeg.size()), rgb,
                                   size) == CAPRESULT_OK;
        })
                                        : scaledFrame(jpeg, scale);
        if (!frame.isNull() && running.load())
            frameReady(frame, jpeg);
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

QByteArray CaptureLoop::takeCompressedFrame()
{
    // Sized by the previous frame plus some room, so that one call mostly suffices.
    QByteArray jpeg(std::min(lastJpegSize + lastJpegSize / 4 + 4096, maxJpegBytes),
                    Qt::Uninitialized);
    uint32_t size = 0;
    CapResult result =
        Cap_captureCompressedFrame(context, stream, jpeg.data(), uint32_t(jpeg.size()), &size);
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
