// A streaming V4L2 node: the mode is set at open, frames come from memory-mapped buffers and
// are converted to RGB24 into the caller's buffer.
//
// Threads: hasNewFrame, waitForFrame, captureFrame and frameInfo come from the capture thread,
// interruptWait and interruptControlWait from any thread, the property calls from the GUI thread
// and the control-event wait from a thread of its own, possibly at the same time. Once the device
// has vanished every call fails.
#pragma once

#include "backend.h"
#include "h264decoder.h"
#include "jpegdecoder.h"
#include "v4l2bufferqueue.h"
#include "v4l2controls.h"
#include "v4l2converter.h"
#include "v4l2fd.h"
#include "v4l2mode.h"
#include "wakeevent.h"

#include <linux/videodev2.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace ostrel::capture {

class V4l2Stream : public Stream
{
public:
    // Null when the node cannot be opened, refuses the mode exactly as given, or cannot stream;
    // error then holds the -errno of the refusal, or -EINVAL when the driver offered another
    // mode instead.
    static std::unique_ptr<V4l2Stream> open(const std::shared_ptr<V4l2Io> &io,
                                            const std::string &path, const V4l2Mode &mode,
                                            int &error);
    ~V4l2Stream() override;

    uint32_t width() const override { return mode.width; }
    uint32_t height() const override { return mode.height; }

    bool hasNewFrame() override;
    // Sleeps in poll() on the node and the wake event together.
    CapResult waitForFrame(int32_t timeoutMs) override;
    void interruptWait() override { wake.raise(); }
    bool frameInfo(CapFrameInfo &info) const override;
    // CAPRESULT_ERR when no frame is waiting or the newest one cannot be converted; the stream
    // goes on either way.
    CapResult captureFrame(uint8_t *buffer) override;
    uint32_t frameCount() const override { return frames.load(); }
    CapResult compressedFrame(uint8_t *buffer, uint32_t bufferBytes, uint32_t &frameBytes) override;
    CapResult captureCompressedFrame(uint8_t *buffer, uint32_t bufferBytes,
                                     uint32_t &frameBytes) override;
    // Any thread, one at a time: an H.264 frame into the stream's decoder, as Cap_decodeFrame
    // describes; no value for every other format.
    std::optional<CapResult> decodeInOrder(const uint8_t *frame, uint32_t frameBytes,
                                           uint32_t scaleDenominator, bool bgrx, uint8_t *out,
                                           uint32_t outBytes) override;

    CapResult propertyLimits(CapPropertyID id, int32_t &min, int32_t &max, int32_t &def) override;
    CapResult property(CapPropertyID id, int32_t &value) override;
    CapResult setProperty(CapPropertyID id, int32_t value) override;
    CapResult autoProperty(CapPropertyID id, bool &enabled) override;
    CapResult setAutoProperty(CapPropertyID id, bool enabled) override;
    // The controls thread: waits on the node for a control event (POLLPRI) or the wake-up.
    CapResult waitControlEvent(int32_t timeoutMs, CapControlEvent &event) override;
    CapResult interruptControlWait() override;

private:
    V4l2Stream(V4l2Fd fd, std::string path, const V4l2Mode &mode);

    // 0 or -errno.
    int setFormat();
    int setInterval();
    bool frameLooksWhole(const V4l2BufferQueue::Frame &frame) const;
    // captureMutex held: takes the newest frame (of an H.264 stream the next one in order), lets
    // use() read it from the driver's buffer and gives the buffer back; the frame counts when
    // use() answers true.
    CapResult withFrame(const std::function<bool(const V4l2BufferQueue::Frame &)> &use);
    void logDropped(const std::string &reason) const;
    // captureMutex held: lastCompressed into buffer, as Cap_getCompressedFrame describes.
    CapResult copyLastCompressed(uint8_t *buffer, uint32_t bufferBytes, uint32_t &frameBytes) const;
    // The frame's length up to its end marker, without what a driver leaves after it; 0 when
    // the frame has no end marker.
    static size_t jpegLength(const V4l2BufferQueue::Frame &frame);
    // Turns a -errno into a result, remembering a vanished device.
    CapResult fail(int error);
    CapResult controlResult(int error);

    V4l2Fd fd;
    const std::string path;
    const V4l2Mode mode;
    // The format the driver settled on; written once while opening.
    v4l2_format sourceFormat{};
    V4l2Controls controls;
    std::atomic<bool> gone{false};
    // The device reports control changes: subscribed once while opening.
    bool reportsControls = false;
    WakeEvent controlWakeup;
    std::atomic<uint32_t> frames{0};
    WakeEvent wake;

    // Guards queue, converter, jpegDecoder, lastCompressed, lastInfo and refused: one frame at a
    // time is dequeued, converted and given back.
    mutable std::mutex captureMutex;
    std::unique_ptr<V4l2BufferQueue> queue;
    std::unique_ptr<V4l2Converter> converter; // every format but Motion-JPEG and H.264
    JpegDecoder jpegDecoder;
    // The last Motion-JPEG or H.264 frame taken, kept because its buffer goes back to the driver.
    std::vector<uint8_t> lastCompressed;
    std::optional<CapFrameInfo> lastInfo; // of the last frame taken, counters aside
    uint64_t refused = 0;                 // frames taken but found damaged
    // Guards the decoder's state, not the pointer (set once while opening): the decode thread
    // feeds it while the capture thread takes the next frame under captureMutex.
    std::mutex decoderMutex;
    std::unique_ptr<H264Decoder> h264; // H.264 streams only
};

} // namespace ostrel::capture
