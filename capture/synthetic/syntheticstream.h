// A stream of a synthetic camera: frames fall due on a steady clock at the format's rate (times
// the rate factor), numbered from 0 since the stream opened; frame n's timestamp is the moment it
// fell due. A caller that falls behind gets the newest due frame, so the numbers it sees skip
// exactly the frames it missed. A Motion-JPEG thread that falls behind its clock skips the frames
// it is too late for, as a camera does, and counts them as lost. The device's misbehaviour, as
// it is when the stream opens, shifts, drops or damages frames on purpose.
//
// Motion-JPEG formats send real JPEG, as a USB camera does: a thread of the stream's own (named
// "ostrel-synth", so that benchmarks can leave its cost out) renders and encodes each frame when
// it falls due, and captureFrame decodes the newest one the way a V4L2 camera's frames are.
#pragma once

#include "backend.h"
#include "syntheticcontrol.h"
#include "syntheticdevicestate.h"
#include "testpattern.h"

#include "jpegdecoder.h"
#include "syntheticjpegencoder.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace ostrel::capture {

class SyntheticStream : public Stream
{
public:
    SyntheticStream(std::shared_ptr<SyntheticDeviceState> device,
                    const synthetic::FormatSpec &format);
    ~SyntheticStream() override;

    uint32_t width() const override { return frameWidth; }
    uint32_t height() const override { return frameHeight; }

    bool hasNewFrame() override;
    // Sleeps on a condition the Motion-JPEG thread signals for each frame, or until the next
    // frame of an uncompressed format falls due.
    CapResult waitForFrame(int32_t timeoutMs) override;
    void interruptWait() override;
    bool frameInfo(CapFrameInfo &info) const override;
    CapResult captureFrame(uint8_t *buffer) override;
    uint32_t frameCount() const override { return captured.load(); }
    CapResult compressedFrame(uint8_t *buffer, uint32_t bufferBytes, uint32_t &frameBytes) override;
    CapResult captureCompressedFrame(uint8_t *buffer, uint32_t bufferBytes,
                                     uint32_t &frameBytes) override;

    CapResult propertyLimits(CapPropertyID id, int32_t &min, int32_t &max, int32_t &def) override;
    CapResult property(CapPropertyID id, int32_t &value) override;
    CapResult setProperty(CapPropertyID id, int32_t value) override;
    CapResult autoProperty(CapPropertyID id, bool &enabled) override;
    CapResult setAutoProperty(CapPropertyID id, bool enabled) override;
    CapResult waitControlEvent(int32_t timeoutMs, CapControlEvent &event) override;
    CapResult interruptControlWait() override;

private:
    struct JpegFrame
    {
        uint64_t sequence = 0;
        uint64_t timestampUs = 0;
        bool damaged = false; // cut short on purpose
        std::vector<uint8_t> bytes;
    };

    // Number of frames whose time has come (frame 0 is due at once).
    uint64_t dueFrames() const;
    std::chrono::steady_clock::time_point dueTime(uint64_t sequence) const;
    // When frame sequence is taken, jitter included: its due time for the producer to wait for,
    // and its timestamp on the monotonic clock.
    std::chrono::steady_clock::time_point takenTime(uint64_t sequence) const;
    uint64_t timestampUs(uint64_t sequence) const;
    // signalMutex held: whether a frame not delivered yet is waiting.
    bool newFrameWaiting() const;
    // Pattern with the device's current picture settings; the thread that owns the pattern.
    void followPicture();
    // The Motion-JPEG thread.
    void produceJpeg();
    // The constructor for frame 0, then the Motion-JPEG thread: renders, encodes and publishes.
    void makeJpeg(uint64_t sequence);
    // frameMutex held: a frame cut short is refused and counted, and the next one is waited for.
    CapResult refuseDamaged(const JpegFrame &frame);
    CapResult captureJpeg(uint8_t *buffer);
    // The newest encoded frame; null only when even the first frame could not be encoded.
    std::shared_ptr<const JpegFrame> newestFrame();
    // frameMutex held: the frame becomes the captured one.
    void noteCaptured(std::shared_ptr<const JpegFrame> frame);
    // frameMutex held: the facts of a frame just taken.
    void noteTaken(uint64_t sequence);
    // frameMutex held: capturedJpeg into buffer, as Cap_getCompressedFrame describes.
    CapResult copyCapturedJpeg(uint8_t *buffer, uint32_t bufferBytes, uint32_t &frameBytes) const;

    const std::shared_ptr<SyntheticDeviceState> device;
    const synthetic::Misbehaviour faults;
    const uint32_t frameWidth;
    const uint32_t frameHeight;
    const std::chrono::steady_clock::time_point start;
    const std::chrono::duration<double> framePeriod;
    std::atomic<uint32_t> captured{0};
    // The controls thread's: changes made elsewhere already told; a wake-up asked for.
    size_t changesSeen = 0;
    std::atomic<bool> controlWaitWoken{false};

    // Capture calls come from the capture thread, but two threads capturing at once must not
    // tear the pattern either. For Motion-JPEG the pattern belongs to the producer thread alone.
    mutable std::mutex frameMutex; // guards pattern and patternGeneration (raw formats),
                                   // decoder, capturedJpeg and lastTaken
    TestPattern pattern;
    uint32_t patternGeneration;
    std::atomic<uint64_t> nextFrame{0};  // the first frame not delivered yet; written under
                                         // frameMutex
    std::optional<uint64_t> lastTaken;   // the number of the last frame taken
    std::atomic<uint64_t> lostFrames{0}; // skipped by the Motion-JPEG thread
    std::atomic<uint64_t> damagedFrames{0};

    // Motion-JPEG formats only.
    const bool jpeg;
    std::unique_ptr<SyntheticJpegEncoder> jpegEncoder; // the Motion-JPEG thread's, with jpegRgb
    std::vector<uint8_t> jpegRgb;
    JpegDecoder decoder;
    std::shared_ptr<const JpegFrame> capturedJpeg; // behind the last captured frame
    std::mutex signalMutex; // guards newestJpeg, stopProducer and interruptPending
    std::condition_variable signalChanged;
    std::shared_ptr<const JpegFrame> newestJpeg;
    bool stopProducer = false;
    bool interruptPending = false;
    std::thread producer;
};

} // namespace ostrel::capture
