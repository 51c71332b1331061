#include "v4l2stream.h"

#include "h264decoder.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <utility>

namespace ostrel::capture {

namespace {

// Enough for the driver to fill the next frames while one is being converted and one waits.
constexpr uint32_t requestedBuffers = 4;
// An H.264 stream hands over every frame: room for a capture thread that is late now and then.
constexpr uint32_t requestedH264Buffers = 8;

std::string fourccText(uint32_t code)
{
    std::string text;
    for (int shift = 0; shift < 32; shift += 8)
        text += char((code >> shift) & 0xff);
    return text;
}

bool isJpeg(uint32_t pixelFormat)
{
    return pixelFormat == V4L2_PIX_FMT_MJPEG || pixelFormat == V4L2_PIX_FMT_JPEG;
}

bool isH264(uint32_t pixelFormat)
{
    return pixelFormat == V4L2_PIX_FMT_H264;
}

} // namespace

V4l2Stream::V4l2Stream(V4l2Fd fd, std::string path, const V4l2Mode &mode)
    : fd(std::move(fd))
    , path(std::move(path))
    , mode(mode)
    , controls(this->fd)
{}

V4l2Stream::~V4l2Stream() = default;

std::unique_ptr<V4l2Stream> V4l2Stream::open(const std::shared_ptr<V4l2Io> &io,
                                             const std::string &path, const V4l2Mode &mode,
                                             int &error)
{
    V4l2Fd fd = V4l2Fd::open(io, path, error);
    if (!fd.isValid()) {
        logMessage(LOG_ERR,
                   "V4L2: cannot open " + path + " (errno " + std::to_string(-error) + ")");
        return nullptr;
    }
    std::unique_ptr<V4l2Stream> stream(new V4l2Stream(std::move(fd), path, mode));
    if ((error = stream->setFormat()) < 0 || (error = stream->setInterval()) < 0)
        return nullptr;

    stream->converter = std::make_unique<V4l2Converter>(io, stream->fd.get());
    if (!stream->converter->isValid()) {
        logMessage(LOG_ERR, "V4L2: no pixel converter for " + path);
        error = -EINVAL;
        return nullptr;
    }
    if (isH264(mode.pixelFormat))
        stream->h264 = std::make_unique<H264Decoder>();
    stream->reportsControls = stream->controls.subscribeEvents() > 0;
    stream->queue = std::make_unique<V4l2BufferQueue>(stream->fd);
    // UVC drivers answer ENOSPC here when the mode needs more USB bandwidth than is free.
    if ((error = stream->queue->start(stream->h264 ? requestedH264Buffers : requestedBuffers)) <
        0) {
        logMessage(LOG_ERR,
                   "V4L2: " + path + " cannot stream (errno " + std::to_string(-error) + ")");
        return nullptr;
    }
    return stream;
}

int V4l2Stream::setFormat()
{
    sourceFormat.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    sourceFormat.fmt.pix.width = mode.width;
    sourceFormat.fmt.pix.height = mode.height;
    sourceFormat.fmt.pix.pixelformat = mode.pixelFormat;
    sourceFormat.fmt.pix.field = V4L2_FIELD_ANY;
    const int result = fd.ioctl(VIDIOC_S_FMT, &sourceFormat);
    // Drivers answer an unsupported request with the nearest mode they have; the caller chose
    // this mode from our list, so anything else is a refusal.
    if (result < 0 || sourceFormat.fmt.pix.width != mode.width ||
        sourceFormat.fmt.pix.height != mode.height ||
        sourceFormat.fmt.pix.pixelformat != mode.pixelFormat) {
        logMessage(LOG_ERR, "V4L2: " + path + " refuses " + fourccText(mode.pixelFormat) + " " +
                                std::to_string(mode.width) + "x" + std::to_string(mode.height) +
                                (result < 0 ? " (errno " + std::to_string(-result) + ")" : ""));
        // Another program streaming from the device makes S_FMT answer EBUSY.
        return result < 0 ? result : -EINVAL;
    }
    return 0;
}

int V4l2Stream::setInterval()
{
    if (mode.intervalNumerator == 0)
        return 0;
    v4l2_streamparm parm{};
    parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    parm.parm.capture.timeperframe = {mode.intervalNumerator, mode.intervalDenominator};
    const int result = fd.ioctl(VIDIOC_S_PARM, &parm);
    const v4l2_fract &granted = parm.parm.capture.timeperframe;
    // Compared as values, not as fractions: 1/30 and 2/60 are the same interval, and UVC drivers
    // answer in 100 ns units that round a little (333333/10000000 for 1/30).
    const double asked = double(mode.intervalNumerator) / mode.intervalDenominator;
    const double got = granted.denominator ? double(granted.numerator) / granted.denominator : 0.0;
    if (result < 0 || std::abs(got - asked) > asked * 0.01) {
        logMessage(LOG_ERR, "V4L2: " + path + " refuses the frame interval " +
                                std::to_string(mode.intervalNumerator) + "/" +
                                std::to_string(mode.intervalDenominator));
        return result < 0 ? result : -EINVAL;
    }
    return 0;
}

bool V4l2Stream::hasNewFrame()
{
    if (gone.load())
        return false;
    pollfd request{fd.get(), POLLIN, 0};
    const int result = fd.io().poll(&request, 1, 0);
    if (result < 0) {
        fail(result);
        return false;
    }
    // A node whose device was unplugged reports a hang-up.
    if (request.revents & POLLHUP) {
        fail(-ENODEV);
        return false;
    }
    return result > 0 && (request.revents & POLLIN) && !(request.revents & POLLERR);
}

CapResult V4l2Stream::waitForFrame(int32_t timeoutMs)
{
    if (gone.load())
        return CAPRESULT_DEVICENOTFOUND;
    pollfd request[2] = {{fd.get(), POLLIN, 0}, {wake.fd(), POLLIN, 0}};
    const int result = fd.io().poll(request, 2, timeoutMs < 0 ? -1 : timeoutMs);
    if (result < 0)
        return fail(result);
    if ((request[1].revents & POLLIN) && wake.take())
        return CAPRESULT_INTERRUPTED;
    // A node whose device was unplugged reports a hang-up or an error; an error alone may also
    // be a stream that stopped, so the node is asked whether it is still there.
    if (request[0].revents & (POLLHUP | POLLNVAL))
        return fail(-ENODEV);
    if (request[0].revents & POLLERR) {
        v4l2_capability capability{};
        const int asked = fd.ioctl(VIDIOC_QUERYCAP, &capability);
        return fail(asked < 0 ? asked : -EIO);
    }
    return request[0].revents & POLLIN ? CAPRESULT_OK : CAPRESULT_TIMEOUT;
}

bool V4l2Stream::frameInfo(CapFrameInfo &info) const
{
    std::lock_guard<std::mutex> lock(captureMutex);
    if (!lastInfo)
        return false;
    info = *lastInfo;
    info.framesLost = queue->lostFrames();
    info.framesDamaged = queue->damagedFrames() + refused;
    return true;
}

CapResult V4l2Stream::withFrame(const std::function<bool(const V4l2BufferQueue::Frame &)> &use)
{
    if (gone.load())
        return CAPRESULT_DEVICENOTFOUND;
    V4l2BufferQueue::Frame frame;
    const int taken = h264 ? queue->takeNext(frame) : queue->takeNewest(frame);
    if (taken < 0)
        return fail(taken);
    const bool used = use(frame);
    const bool keyframe =
        used && h264 && (frame.keyframe || H264Decoder::containsIdr(frame.data, frame.bytes));
    // The buffer goes back to the driver only now: use() and the keyframe scan read straight
    // from it.
    if (const int result = queue->requeue(frame.index); result < 0)
        return fail(result);
    if (!used) {
        ++refused;
        return CAPRESULT_ERR;
    }
    lastInfo =
        CapFrameInfo{frame.sequence, frame.timestampUs, 0, 0, keyframe ? CAPFRAME_KEYFRAME : 0};
    frames.fetch_add(1);
    return CAPRESULT_OK;
}

void V4l2Stream::logDropped(const std::string &reason) const
{
    logMessage(LOG_DEBUG, "V4L2: dropped a frame from " + path + ": " + reason);
}

CapResult V4l2Stream::captureFrame(uint8_t *buffer)
{
    std::lock_guard<std::mutex> lock(captureMutex);
    if (h264)
        return withFrame([this, buffer](const V4l2BufferQueue::Frame &frame) {
            if (!frameLooksWhole(frame)) {
                logDropped("no start code");
                return false;
            }
            lastCompressed.assign(frame.data, frame.data + frame.bytes);
            std::lock_guard<std::mutex> decoding(decoderMutex);
            const bool pictured =
                h264->decode(frame.data, frame.bytes, mode.width, mode.height, buffer, false);
            if (!pictured)
                logDropped(h264->errorMessage());
            return pictured;
        });
    return withFrame([this, buffer](const V4l2BufferQueue::Frame &frame) {
        const bool whole = frameLooksWhole(frame);
        const bool jpeg = isJpeg(mode.pixelFormat);
        const bool converted =
            whole &&
            (jpeg ? jpegDecoder.decode(frame.data, frame.bytes, mode.width, mode.height, buffer)
                  : converter->convert(sourceFormat, frame.data, frame.bytes, buffer));
        if (converted && jpeg) {
            lastCompressed.assign(frame.data, frame.data + jpegLength(frame));
            if (jpegDecoder.warned())
                noteDecodeWarning("V4L2: frame from " + path + ": " + jpegDecoder.errorMessage());
        }
        if (!converted)
            logDropped(!whole ? "incomplete frame"
                       : jpeg ? jpegDecoder.errorMessage()
                              : converter->errorMessage());
        return converted;
    });
}

CapResult V4l2Stream::compressedFrame(uint8_t *buffer, uint32_t bufferBytes, uint32_t &frameBytes)
{
    std::lock_guard<std::mutex> lock(captureMutex);
    frameBytes = 0;
    if (!isJpeg(mode.pixelFormat) && !h264)
        return CAPRESULT_FORMATNOTSUPPORTED;
    return copyLastCompressed(buffer, bufferBytes, frameBytes);
}

CapResult V4l2Stream::captureCompressedFrame(uint8_t *buffer, uint32_t bufferBytes,
                                             uint32_t &frameBytes)
{
    std::lock_guard<std::mutex> lock(captureMutex);
    frameBytes = 0;
    if (!isJpeg(mode.pixelFormat) && !h264)
        return CAPRESULT_FORMATNOTSUPPORTED;
    const CapResult result = withFrame([this](const V4l2BufferQueue::Frame &frame) {
        const size_t length = h264 ? frame.bytes : jpegLength(frame);
        if (length == 0 || !frameLooksWhole(frame)) {
            logDropped(h264 ? "no start code" : "incomplete frame");
            return false;
        }
        lastCompressed.assign(frame.data, frame.data + length);
        return true;
    });
    return result == CAPRESULT_OK ? copyLastCompressed(buffer, bufferBytes, frameBytes) : result;
}

CapResult V4l2Stream::copyLastCompressed(uint8_t *buffer, uint32_t bufferBytes,
                                         uint32_t &frameBytes) const
{
    frameBytes = uint32_t(lastCompressed.size());
    if (lastCompressed.empty() || !buffer || bufferBytes < frameBytes)
        return CAPRESULT_ERR;
    std::copy(lastCompressed.begin(), lastCompressed.end(), buffer);
    return CAPRESULT_OK;
}

size_t V4l2Stream::jpegLength(const V4l2BufferQueue::Frame &frame)
{
    return JpegDecoder::endOfImage(frame.data, frame.bytes);
}

bool V4l2Stream::frameLooksWhole(const V4l2BufferQueue::Frame &frame) const
{
    // USB transfers that lose packets leave a picture without its end marker, which the JPEG
    // decoder would otherwise accept and fill with grey.
    if (isJpeg(mode.pixelFormat))
        return jpegLength(frame) > 0;
    if (h264)
        return H264Decoder::startsWithStartCode(frame.data, frame.bytes);
    // libv4lconvert reads a whole frame of an uncompressed format whatever length it is given.
    const uint32_t bpp = v4l2BitsPerPixel(mode.pixelFormat);
    const uint64_t whole = std::max<uint64_t>(sourceFormat.fmt.pix.sizeimage,
                                              uint64_t(mode.width) * mode.height * bpp / 8);
    return bpp == 0 || frame.bytes >= whole;
}

std::optional<CapResult> V4l2Stream::decodeInOrder(const uint8_t *frame, uint32_t frameBytes,
                                                   uint32_t scaleDenominator, bool bgrx,
                                                   uint8_t *out, uint32_t outBytes)
{
    if (!h264)
        return std::nullopt;
    const uint64_t needed = uint64_t(mode.width) * mode.height * (bgrx ? 4 : 3);
    if (!frame || scaleDenominator != 1 || (out && outBytes != needed) || (!out && outBytes != 0))
        return CAPRESULT_ERR;
    std::lock_guard<std::mutex> lock(decoderMutex);
    if (h264->decode(frame, frameBytes, mode.width, mode.height, out, bgrx))
        return CAPRESULT_OK;
    logMessage(LOG_DEBUG,
               "V4L2: H.264 frame from " + path + " not decoded: " + h264->errorMessage());
    return CAPRESULT_ERR;
}

CapResult V4l2Stream::fail(int error)
{
    if (v4l2DeviceGone(error)) {
        if (!gone.exchange(true))
            logMessage(LOG_ERR, "V4L2: " + path + " has gone away");
        return CAPRESULT_DEVICENOTFOUND;
    }
    return CAPRESULT_ERR;
}

CapResult V4l2Stream::controlResult(int error)
{
    if (error == 0)
        return CAPRESULT_OK;
    if (error == -ENOTSUP)
        return CAPRESULT_PROPERTYNOTSUPPORTED;
    return fail(error);
}

CapResult V4l2Stream::propertyLimits(CapPropertyID id, int32_t &min, int32_t &max, int32_t &def)
{
    if (gone.load())
        return CAPRESULT_DEVICENOTFOUND;
    return controlResult(controls.limits(id, min, max, def));
}

CapResult V4l2Stream::property(CapPropertyID id, int32_t &value)
{
    if (gone.load())
        return CAPRESULT_DEVICENOTFOUND;
    return controlResult(controls.value(id, value));
}

CapResult V4l2Stream::setProperty(CapPropertyID id, int32_t value)
{
    if (gone.load())
        return CAPRESULT_DEVICENOTFOUND;
    return controlResult(controls.setValue(id, value));
}

CapResult V4l2Stream::autoProperty(CapPropertyID id, bool &enabled)
{
    if (gone.load())
        return CAPRESULT_DEVICENOTFOUND;
    return controlResult(controls.automatic(id, enabled));
}

CapResult V4l2Stream::setAutoProperty(CapPropertyID id, bool enabled)
{
    if (gone.load())
        return CAPRESULT_DEVICENOTFOUND;
    return controlResult(controls.setAutomatic(id, enabled));
}

CapResult V4l2Stream::waitControlEvent(int32_t timeoutMs, CapControlEvent &event)
{
    if (gone.load())
        return CAPRESULT_DEVICENOTFOUND;
    if (!reportsControls || controlWakeup.fd() < 0)
        return CAPRESULT_PROPERTYNOTSUPPORTED;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int waitMs = -1;
        if (timeoutMs >= 0)
            waitMs = int(std::max<int64_t>(
                0, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
                       .count()));
        pollfd waits[2] = {{fd.get(), POLLPRI, 0}, {controlWakeup.fd(), POLLIN, 0}};
        const int ready = fd.io().poll(waits, 2, waitMs);
        if (ready < 0 && ready != -EINTR)
            return fail(ready);
        if (waits[0].revents & (POLLHUP | POLLERR))
            return fail(-ENODEV);
        if ((waits[1].revents & POLLIN) && controlWakeup.take())
            return CAPRESULT_ERR;
        if (waits[0].revents & POLLPRI) {
            v4l2_event dequeued{};
            if (const int result = fd.ioctl(VIDIOC_DQEVENT, &dequeued); result < 0)
                return fail(result);
            if (controls.describeEvent(dequeued, event))
                return CAPRESULT_OK;
            continue;
        }
        if (ready == 0 && waitMs >= 0)
            return CAPRESULT_ERR;
    }
}

CapResult V4l2Stream::interruptControlWait()
{
    controlWakeup.raise();
    return CAPRESULT_OK;
}

} // namespace ostrel::capture
