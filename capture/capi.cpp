// The extern "C" entry points. Each one checks its arguments, finds the context's device or
// stream and hands over; no exception leaves the library.
#include "capture.h"

#include "backend.h"
#include "context.h"
#include "jpegdecoder.h"
#include "synthetic/syntheticregistry.h"

#include <exception>

using ostrel::capture::Context;
using Pixels = ostrel::capture::JpegDecoder::Pixels;
using ostrel::capture::logMessage;
using ostrel::capture::Stream;

namespace {

template<typename Result, typename Body>
Result guarded(const char *call, Result onError, Body body) noexcept
{
    try {
        return body();
    } catch (const std::exception &e) {
        try {
            logMessage(LOG_ERR, std::string(call) + ": " + e.what());
        } catch (...) {
        }
    } catch (...) {
    }
    return onError;
}

Context *toContext(CapContext ctx)
{
    return static_cast<Context *>(ctx);
}

std::shared_ptr<Stream> findStream(CapContext ctx, CapStream stream)
{
    return ctx ? toContext(ctx)->stream(stream) : nullptr;
}

// Runs body(stream) on an open stream, or answers CAPRESULT_ERR.
template<typename Body>
CapResult onStream(const char *call, CapContext ctx, CapStream stream, Body body) noexcept
{
    return guarded(call, CapResult{CAPRESULT_ERR}, [&]() -> CapResult {
        const std::shared_ptr<Stream> s = findStream(ctx, stream);
        if (!s)
            return CAPRESULT_ERR;
        const CapResult result = body(*s);
        toContext(ctx)->noteStreamResult(stream, result);
        return result;
    });
}

// Whether an RGB buffer of this size is what one of the stream's frames needs; logs why not.
bool fitsRgbFrame(const char *call, const Stream &s, uint32_t bytes)
{
    const auto needed = ostrel::capture::rgbFrameSize(s.width(), s.height());
    if (needed && *needed == bytes)
        return true;
    logMessage(LOG_ERR, std::string(call) + ": buffer of " + std::to_string(bytes) +
                            " bytes, the stream's frames need " +
                            std::to_string(needed.value_or(0)));
    return false;
}

// Decodes a frame of the stream at 1/denominator into a buffer of exactly that picture's size.
CapResult decodeScaled(const char *call, Stream &s, const void *frame, uint32_t frameBytes,
                       uint32_t denominator, ostrel::capture::JpegDecoder::Pixels pixels, void *rgb,
                       uint32_t rgbBytes)
{
    using ostrel::capture::JpegDecoder;
    if (const auto decoded =
            s.decodeInOrder(static_cast<const uint8_t *>(frame), frameBytes, denominator,
                            pixels == Pixels::Bgrx, static_cast<uint8_t *>(rgb), rgbBytes))
        return *decoded;
    if (!frame || !rgb || !JpegDecoder::isScaleDenominator(denominator))
        return CAPRESULT_ERR;
    const uint64_t needed = uint64_t(JpegDecoder::scaledSide(s.width(), denominator)) *
                            JpegDecoder::scaledSide(s.height(), denominator) *
                            JpegDecoder::pixelBytes(pixels);
    if (needed != rgbBytes) {
        logMessage(LOG_ERR, std::string(call) + ": buffer of " + std::to_string(rgbBytes) +
                                " bytes, the picture needs " + std::to_string(needed));
        return CAPRESULT_ERR;
    }
    // One decoder per calling thread: decodes of different threads never wait on each other.
    thread_local JpegDecoder decoder;
    if (!decoder.decode(static_cast<const uint8_t *>(frame), frameBytes, s.width(), s.height(),
                        static_cast<uint8_t *>(rgb), denominator, pixels)) {
        logMessage(LOG_DEBUG, std::string(call) + ": " + decoder.errorMessage());
        return CAPRESULT_ERR;
    }
    if (decoder.warned())
        s.noteDecodeWarning(std::string(call) + ": " + decoder.errorMessage());
    return CAPRESULT_OK;
}

} // namespace

extern "C" {

CapContext Cap_createContext(void)
{
    return guarded("Cap_createContext", CapContext{nullptr}, []() -> CapContext {
        if (ostrel::capture::SyntheticRegistry::instance().take(
                ostrel::capture::SyntheticRegistry::Fault::CreateContext)) {
            logMessage(LOG_ERR, "Cap_createContext: failed (injected fault)");
            return nullptr;
        }
        return new Context;
    });
}

CapResult Cap_releaseContext(CapContext ctx)
{
    if (!ctx)
        return CAPRESULT_ERR;
    delete toContext(ctx);
    return CAPRESULT_OK;
}

uint32_t Cap_getDeviceCount(CapContext ctx)
{
    return ctx ? toContext(ctx)->deviceCount() : 0;
}

const char *Cap_getDeviceName(CapContext ctx, CapDeviceID index)
{
    return guarded("Cap_getDeviceName", static_cast<const char *>(nullptr),
                   [&] { return ctx ? toContext(ctx)->deviceName(index) : nullptr; });
}

const char *Cap_getDeviceUniqueID(CapContext ctx, CapDeviceID index)
{
    return guarded("Cap_getDeviceUniqueID", static_cast<const char *>(nullptr),
                   [&] { return ctx ? toContext(ctx)->deviceUniqueId(index) : nullptr; });
}

int32_t Cap_getNumFormats(CapContext ctx, CapDeviceID index)
{
    return guarded("Cap_getNumFormats", int32_t{-1}, [&]() -> int32_t {
        const auto *device = ctx ? toContext(ctx)->device(index) : nullptr;
        return device ? device->formatCount() : -1;
    });
}

CapResult Cap_getFormatInfo(CapContext ctx, CapDeviceID index, CapFormatID id, CapFormatInfo *info)
{
    return guarded("Cap_getFormatInfo", CapResult{CAPRESULT_ERR}, [&]() -> CapResult {
        const auto *device = ctx ? toContext(ctx)->device(index) : nullptr;
        if (!device)
            return CAPRESULT_DEVICENOTFOUND;
        if (!info)
            return CAPRESULT_ERR;
        const int32_t count = device->formatCount();
        if (count < 1 || id >= static_cast<uint32_t>(count))
            return CAPRESULT_FORMATNOTSUPPORTED;
        CapFormatInfo read{};
        if (!device->formatInfo(id, read))
            return CAPRESULT_ERR;
        *info = read;
        return CAPRESULT_OK;
    });
}

CapResult Cap_getFormatFrameRate(CapContext ctx, CapDeviceID index, CapFormatID id,
                                 uint32_t *numerator, uint32_t *denominator)
{
    return guarded("Cap_getFormatFrameRate", CapResult{CAPRESULT_ERR}, [&]() -> CapResult {
        const auto *device = ctx ? toContext(ctx)->device(index) : nullptr;
        if (!device)
            return CAPRESULT_DEVICENOTFOUND;
        if (!numerator || !denominator)
            return CAPRESULT_ERR;
        const int32_t count = device->formatCount();
        if (count < 1 || id >= static_cast<uint32_t>(count))
            return CAPRESULT_FORMATNOTSUPPORTED;
        uint32_t num = 0;
        uint32_t den = 0;
        if (!device->frameRate(id, num, den) || num == 0 || den == 0)
            return CAPRESULT_ERR;
        *numerator = num;
        *denominator = den;
        return CAPRESULT_OK;
    });
}

CapStream Cap_openStream(CapContext ctx, CapDeviceID index, CapFormatID formatID)
{
    return guarded("Cap_openStream", CapStream{-1}, [&]() -> CapStream {
        return ctx ? toContext(ctx)->openStream(index, formatID) : -1;
    });
}

CapResult Cap_closeStream(CapContext ctx, CapStream stream)
{
    return guarded("Cap_closeStream", CapResult{CAPRESULT_ERR}, [&]() -> CapResult {
        return ctx && toContext(ctx)->closeStream(stream) ? CAPRESULT_OK : CAPRESULT_ERR;
    });
}

uint32_t Cap_isOpenStream(CapContext ctx, CapStream stream)
{
    return guarded("Cap_isOpenStream", uint32_t{0},
                   [&]() -> uint32_t { return findStream(ctx, stream) ? 1 : 0; });
}

uint32_t Cap_hasNewFrame(CapContext ctx, CapStream stream)
{
    return guarded("Cap_hasNewFrame", uint32_t{0}, [&]() -> uint32_t {
        const std::shared_ptr<Stream> s = findStream(ctx, stream);
        return s && s->hasNewFrame() ? 1 : 0;
    });
}

CapResult Cap_waitForFrame(CapContext ctx, CapStream stream, int32_t timeoutMs)
{
    return onStream("Cap_waitForFrame", ctx, stream,
                    [&](Stream &s) { return s.waitForFrame(timeoutMs); });
}

CapResult Cap_interruptWait(CapContext ctx, CapStream stream)
{
    return onStream("Cap_interruptWait", ctx, stream, [](Stream &s) -> CapResult {
        s.interruptWait();
        return CAPRESULT_OK;
    });
}

CapResult Cap_getFrameInfo(CapContext ctx, CapStream stream, CapFrameInfo *info)
{
    return onStream("Cap_getFrameInfo", ctx, stream, [&](Stream &s) -> CapResult {
        CapFrameInfo read{};
        if (!info || !s.frameInfo(read))
            return CAPRESULT_ERR;
        *info = read;
        return CAPRESULT_OK;
    });
}

CapResult Cap_captureFrame(CapContext ctx, CapStream stream, void *RGBbufferPtr,
                           uint32_t RGBbufferBytes)
{
    return onStream("Cap_captureFrame", ctx, stream, [&](Stream &s) -> CapResult {
        if (!RGBbufferPtr || !fitsRgbFrame("Cap_captureFrame", s, RGBbufferBytes))
            return CAPRESULT_ERR;
        return s.captureFrame(static_cast<uint8_t *>(RGBbufferPtr));
    });
}

CapResult Cap_getCompressedFrame(CapContext ctx, CapStream stream, void *buffer,
                                 uint32_t bufferBytes, uint32_t *frameBytes)
{
    return onStream("Cap_getCompressedFrame", ctx, stream, [&](Stream &s) -> CapResult {
        if (!frameBytes)
            return CAPRESULT_ERR;
        return s.compressedFrame(static_cast<uint8_t *>(buffer), bufferBytes, *frameBytes);
    });
}

CapResult Cap_captureCompressedFrame(CapContext ctx, CapStream stream, void *buffer,
                                     uint32_t bufferBytes, uint32_t *frameBytes)
{
    return onStream("Cap_captureCompressedFrame", ctx, stream, [&](Stream &s) -> CapResult {
        if (!frameBytes)
            return CAPRESULT_ERR;
        return s.captureCompressedFrame(static_cast<uint8_t *>(buffer), bufferBytes, *frameBytes);
    });
}

CapResult Cap_decodeFrame(CapContext ctx, CapStream stream, const void *frame, uint32_t frameBytes,
                          void *RGBbufferPtr, uint32_t RGBbufferBytes)
{
    return onStream("Cap_decodeFrame", ctx, stream, [&](Stream &s) -> CapResult {
        return decodeScaled("Cap_decodeFrame", s, frame, frameBytes, 1, Pixels::Rgb, RGBbufferPtr,
                            RGBbufferBytes);
    });
}

CapResult Cap_decodeFrameScaled(CapContext ctx, CapStream stream, const void *frame,
                                uint32_t frameBytes, uint32_t scaleDenominator, void *RGBbufferPtr,
                                uint32_t RGBbufferBytes)
{
    return onStream("Cap_decodeFrameScaled", ctx, stream, [&](Stream &s) -> CapResult {
        return decodeScaled("Cap_decodeFrameScaled", s, frame, frameBytes, scaleDenominator,
                            Pixels::Rgb, RGBbufferPtr, RGBbufferBytes);
    });
}

CapResult Cap_decodeFrameScaledBGRX(CapContext ctx, CapStream stream, const void *frame,
                                    uint32_t frameBytes, uint32_t scaleDenominator,
                                    void *BGRXbufferPtr, uint32_t BGRXbufferBytes)
{
    return onStream("Cap_decodeFrameScaledBGRX", ctx, stream, [&](Stream &s) -> CapResult {
        return decodeScaled("Cap_decodeFrameScaledBGRX", s, frame, frameBytes, scaleDenominator,
                            Pixels::Bgrx, BGRXbufferPtr, BGRXbufferBytes);
    });
}

CapResult Cap_getScaledSize(CapContext ctx, CapStream stream, uint32_t scaleDenominator,
                            uint32_t *width, uint32_t *height)
{
    return onStream("Cap_getScaledSize", ctx, stream, [&](Stream &s) -> CapResult {
        using ostrel::capture::JpegDecoder;
        if (!width || !height || !JpegDecoder::isScaleDenominator(scaleDenominator))
            return CAPRESULT_ERR;
        *width = JpegDecoder::scaledSide(s.width(), scaleDenominator);
        *height = JpegDecoder::scaledSide(s.height(), scaleDenominator);
        return CAPRESULT_OK;
    });
}

uint32_t Cap_getLastError(CapContext ctx, CapDeviceID index)
{
    return guarded("Cap_getLastError", uint32_t{CAPERROR_NONE},
                   [&] { return ctx ? toContext(ctx)->lastError(index) : CAPERROR_NONE; });
}

uint32_t Cap_getStreamFrameCount(CapContext ctx, CapStream stream)
{
    return guarded("Cap_getStreamFrameCount", uint32_t{0}, [&]() -> uint32_t {
        const std::shared_ptr<Stream> s = findStream(ctx, stream);
        return s ? s->frameCount() : 0;
    });
}

uint32_t Cap_getDecodeWarningCount(CapContext ctx, CapStream stream)
{
    return guarded("Cap_getDecodeWarningCount", uint32_t{0}, [&]() -> uint32_t {
        const std::shared_ptr<Stream> s = findStream(ctx, stream);
        return s ? s->decodeWarnings() : 0;
    });
}

CapResult Cap_getPropertyLimits(CapContext ctx, CapStream stream, CapPropertyID propID,
                                int32_t *min, int32_t *max, int32_t *dValue)
{
    return onStream("Cap_getPropertyLimits", ctx, stream, [&](Stream &s) -> CapResult {
        if (!min || !max || !dValue)
            return CAPRESULT_ERR;
        int32_t lo = 0, hi = 0, def = 0;
        const CapResult result = s.propertyLimits(propID, lo, hi, def);
        if (result == CAPRESULT_OK) {
            *min = lo;
            *max = hi;
            *dValue = def;
        }
        return result;
    });
}

CapResult Cap_getProperty(CapContext ctx, CapStream stream, CapPropertyID propID, int32_t *outValue)
{
    return onStream("Cap_getProperty", ctx, stream, [&](Stream &s) -> CapResult {
        if (!outValue)
            return CAPRESULT_ERR;
        int32_t value = 0;
        const CapResult result = s.property(propID, value);
        if (result == CAPRESULT_OK)
            *outValue = value;
        return result;
    });
}

CapResult Cap_setProperty(CapContext ctx, CapStream stream, CapPropertyID propID, int32_t value)
{
    return onStream("Cap_setProperty", ctx, stream,
                    [&](Stream &s) { return s.setProperty(propID, value); });
}

CapResult Cap_getAutoProperty(CapContext ctx, CapStream stream, CapPropertyID propID,
                              uint32_t *enabled)
{
    return onStream("Cap_getAutoProperty", ctx, stream, [&](Stream &s) -> CapResult {
        if (!enabled)
            return CAPRESULT_ERR;
        bool on = false;
        const CapResult result = s.autoProperty(propID, on);
        if (result == CAPRESULT_OK)
            *enabled = on ? 1 : 0;
        return result;
    });
}

CapResult Cap_setAutoProperty(CapContext ctx, CapStream stream, CapPropertyID propID,
                              uint32_t enabled)
{
    return onStream("Cap_setAutoProperty", ctx, stream,
                    [&](Stream &s) { return s.setAutoProperty(propID, enabled != 0); });
}

CapResult Cap_waitControlEvent(CapContext ctx, CapStream stream, int32_t timeoutMs,
                               CapControlEvent *event)
{
    if (!event)
        return CAPRESULT_ERR;
    return onStream("Cap_waitControlEvent", ctx, stream,
                    [&](Stream &s) { return s.waitControlEvent(timeoutMs, *event); });
}

CapResult Cap_interruptControlWait(CapContext ctx, CapStream stream)
{
    return onStream("Cap_interruptControlWait", ctx, stream,
                    [&](Stream &s) { return s.interruptControlWait(); });
}

} // extern "C"
