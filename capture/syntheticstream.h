// A stream of a synthetic camera: frames fall due on a steady clock at the format's rate (times
// the rate factor), numbered from 0 since the stream opened. A caller that falls behind gets the
// newest due frame, so the numbers it sees skip exactly the frames it missed.
#pragma once

#include "backend.h"
#include "syntheticcontrol.h"
#include "syntheticdevicestate.h"
#include "testpattern.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>

namespace ostrel::capture {

class SyntheticStream : public Stream
{
public:
    SyntheticStream(std::shared_ptr<SyntheticDeviceState> device,
                    const synthetic::FormatSpec &format);

    uint32_t width() const override { return frameWidth; }
    uint32_t height() const override { return frameHeight; }

    bool hasNewFrame() override;
    CapResult captureFrame(uint8_t *buffer) override;
    uint32_t frameCount() const override { return captured.load(); }

    CapResult propertyLimits(CapPropertyID id, int32_t &min, int32_t &max, int32_t &def) override;
    CapResult property(CapPropertyID id, int32_t &value) override;
    CapResult setProperty(CapPropertyID id, int32_t value) override;
    CapResult autoProperty(CapPropertyID id, bool &enabled) override;
    CapResult setAutoProperty(CapPropertyID id, bool enabled) override;

private:
    // Number of frames whose time has come (frame 0 is due at once).
    uint64_t dueFrames() const;

    const std::shared_ptr<SyntheticDeviceState> device;
    const uint32_t frameWidth;
    const uint32_t frameHeight;
    const std::chrono::steady_clock::time_point start;
    const std::chrono::duration<double> framePeriod;
    std::atomic<uint32_t> captured{0};

    // Capture calls come from the capture thread, but two threads capturing at once must not
    // tear the pattern either.
    std::mutex frameMutex; // guards pattern, patternGeneration, nextFrame
    TestPattern pattern;
    uint32_t patternGeneration;
    uint64_t nextFrame = 0; // the first frame not delivered yet
};

} // namespace ostrel::capture
