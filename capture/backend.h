// The seam between the Cap_* interface and the places devices come from. A context asks every
// backend for its devices when it is created (V4L2 first, then the synthetic cameras) and keeps
// them for its whole life; streams are opened on those devices.
#pragma once

#include "capture.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ostrel::capture {

// One open stream. hasNewFrame/waitForFrame/captureFrame come from the capture thread while the
// property calls may come from another thread at the same time: implementations guard their own
// state.
class Stream
{
public:
    virtual ~Stream() = default;

    virtual uint32_t width() const = 0;
    virtual uint32_t height() const = 0;

    virtual bool hasNewFrame() = 0;
    // Capture thread: as Cap_waitForFrame describes.
    virtual CapResult waitForFrame(int32_t timeoutMs) = 0;
    // Any thread: as Cap_interruptWait describes.
    virtual void interruptWait() = 0;
    // Capture thread: the facts of the last frame taken; false before the first one.
    virtual bool frameInfo(CapFrameInfo &info) const = 0;
    // Writes exactly width() x height() x 3 bytes of RGB24 into buffer.
    virtual CapResult captureFrame(uint8_t *buffer) = 0;
    // The compressed bytes behind the last captured frame, as Cap_getCompressedFrame describes.
    virtual CapResult compressedFrame(uint8_t *buffer, uint32_t bufferBytes, uint32_t &frameBytes)
    {
        (void)buffer;
        (void)bufferBytes;
        frameBytes = 0;
        return CAPRESULT_FORMATNOTSUPPORTED;
    }
    // Takes the newest frame without decoding it, as Cap_captureCompressedFrame describes.
    virtual CapResult captureCompressedFrame(uint8_t *buffer, uint32_t bufferBytes,
                                             uint32_t &frameBytes)
    {
        (void)buffer;
        (void)bufferBytes;
        frameBytes = 0;
        return CAPRESULT_FORMATNOTSUPPORTED;
    }
    // A stream whose frames depend on each other (H.264) decodes them itself, in order, as
    // Cap_decodeFrame describes, into outBytes at out (RGB24, or BGRX when bgrx); every other
    // stream answers no value and its frames are decoded as JPEG.
    virtual std::optional<CapResult> decodeInOrder(const uint8_t *frame, uint32_t frameBytes,
                                                   uint32_t scaleDenominator, bool bgrx,
                                                   uint8_t *out, uint32_t outBytes)
    {
        (void)frame;
        (void)frameBytes;
        (void)scaleDenominator;
        (void)bgrx;
        (void)out;
        (void)outBytes;
        return std::nullopt;
    }
    virtual uint32_t frameCount() const = 0;
    // Frames of this stream decoded and handed out although libjpeg-turbo warned about them.
    // Any thread.
    uint32_t decodeWarnings() const { return warnings.load(); }
    // Any thread: counts one such frame and logs the warning at debug level.
    void noteDecodeWarning(const std::string &warning);

    virtual CapResult propertyLimits(CapPropertyID id, int32_t &min, int32_t &max,
                                     int32_t &def) = 0;
    virtual CapResult property(CapPropertyID id, int32_t &value) = 0;
    virtual CapResult setProperty(CapPropertyID id, int32_t value) = 0;
    virtual CapResult autoProperty(CapPropertyID id, bool &enabled) = 0;
    virtual CapResult setAutoProperty(CapPropertyID id, bool enabled) = 0;
    // As Cap_waitControlEvent and Cap_interruptControlWait describe; a stream that cannot tell
    // of changes answers CAPRESULT_PROPERTYNOTSUPPORTED.
    virtual CapResult waitControlEvent(int32_t timeoutMs, CapControlEvent &event)
    {
        (void)timeoutMs;
        (void)event;
        return CAPRESULT_PROPERTYNOTSUPPORTED;
    }
    virtual CapResult interruptControlWait() { return CAPRESULT_PROPERTYNOTSUPPORTED; }

private:
    std::atomic<uint32_t> warnings{0};
};

class Device
{
public:
    virtual ~Device() = default;

    // No value when the name cannot be read.
    virtual std::optional<std::string> name() const = 0;
    virtual std::string uniqueId() const = 0;
    virtual int32_t formatCount() const = 0;
    // False when the entry cannot be read.
    virtual bool formatInfo(uint32_t index, CapFormatInfo &info) const = 0;
    // Frames per second as a fraction; false when the entry cannot be read.
    virtual bool frameRate(uint32_t index, uint32_t &numerator, uint32_t &denominator) const = 0;
    // Null when the stream cannot be opened; openError() then tells why.
    virtual std::unique_ptr<Stream> openStream(uint32_t formatIndex) = 0;
    // A CAPERROR_ code: the cause of the last failed openStream.
    uint32_t openError() const { return lastOpenError; }

protected:
    uint32_t lastOpenError = CAPERROR_NONE;
};

class Backend
{
public:
    virtual ~Backend() = default;
    virtual std::vector<std::unique_ptr<Device>> enumerateDevices() = 0;
};

// The backends a new context asks for devices, in listing order: V4L2 first, then synthetic.
std::vector<std::unique_ptr<Backend>> createBackends();

// Bytes of one RGB24 frame of width x height; no value when either is 0 or when the size does
// not fit the 32-bit size argument of Cap_captureFrame.
inline std::optional<uint32_t> rgbFrameSize(uint32_t width, uint32_t height)
{
    const uint64_t bytes = uint64_t{width} * height * 3;
    if (bytes == 0 || bytes > UINT32_MAX)
        return std::nullopt;
    return static_cast<uint32_t>(bytes);
}

// Writes one line through the installed log function, or to stderr when none is installed and
// level is at or below the log level.
void logMessage(uint32_t level, const std::string &message);

} // namespace ostrel::capture
