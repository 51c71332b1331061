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

CaptureLoop::CaptureLoop(JpegTaken jpegTaken, FrameReady frameReady)
    : jpegTaken(std::move(jpegTaken))
    , frameReady(std::move(frameReady))
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
        const QImage frame = newFrame([this, &jpeg](uchar *rgb, uint32_t size) {
            return Cap_decodeFrame(context, stream, jpeg.constData(), uint32_t(jpeg.size()), rgb,
                                   size) == CAPRESULT_OK;
        });
        if (!frame.isNull() && running.load())
            frameReady(frame, jpeg);
    }
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
    QImage frame(width, height, QImage::Format_RGB888);
    if (frame.isNull())
        return QImage();
    const qsizetype packedLine = qsizetype(width) * 3;
    if (frame.bytesPerLine() == packedLine)
        return fill(frame.bits(), bytes) ? frame : QImage();
    // QImage pads its lines to four bytes; the library writes them packed.
    std::vector<uchar> packed(bytes);
    if (!fill(packed.data(), bytes))
        return QImage();
    for (int y = 0; y < height; ++y)
        std::memcpy(frame.scanLine(y), packed.data() + y * packedLine, size_t(packedLine));
    return frame;
}
