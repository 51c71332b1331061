/*
 * Ostrel capture library: the C interface through which the camera layer reaches video devices.
 *
 * Every call that returns a CapResult returns CAPRESULT_OK (0) on success. Device and format
 * indices are 0-based; a stream id is negative on failure and valid only for its context.
 * Every call tolerates a null context, an unknown stream id and an out-of-range index by
 * returning an error.
 */
#ifndef OSTREL_CAPTURE_H
#define OSTREL_CAPTURE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void *CapContext;
typedef int32_t CapStream;
typedef uint32_t CapResult;
typedef uint32_t CapDeviceID;
typedef uint32_t CapFormatID;
typedef uint32_t CapPropertyID;

#define CAPRESULT_OK 0
#define CAPRESULT_ERR 1
#define CAPRESULT_DEVICENOTFOUND 2
#define CAPRESULT_FORMATNOTSUPPORTED 3
#define CAPRESULT_PROPERTYNOTSUPPORTED 4
#define CAPRESULT_TIMEOUT 5     /* Cap_waitForFrame: no new frame came in the time given */
#define CAPRESULT_INTERRUPTED 6 /* Cap_waitForFrame: Cap_interruptWait ended the wait */

#define CAPPROPID_EXPOSURE 1
#define CAPPROPID_FOCUS 2
#define CAPPROPID_ZOOM 3
#define CAPPROPID_WHITEBALANCE 4
#define CAPPROPID_GAIN 5
#define CAPPROPID_BRIGHTNESS 6
#define CAPPROPID_CONTRAST 7
#define CAPPROPID_SATURATION 8
#define CAPPROPID_GAMMA 9
#define CAPPROPID_HUE 10
#define CAPPROPID_SHARPNESS 11
#define CAPPROPID_BACKLIGHTCOMP 12
#define CAPPROPID_POWERLINEFREQ 13
#define CAPPROPID_LAST 14

/* Log levels: 0 emergency ... 7 verbose. */
#define LOG_EMERG 0
#define LOG_ALERT 1
#define LOG_CRIT 2
#define LOG_ERR 3
#define LOG_WARNING 4
#define LOG_NOTICE 5
#define LOG_INFO 6
#define LOG_DEBUG 7
#define LOG_VERBOSE 8

typedef struct CapFormatInfo
{
    uint32_t width;
    uint32_t height;
    uint32_t fourcc;
    uint32_t fps;
    uint32_t bpp;
} CapFormatInfo;

/* The facts of one frame a capture call took. The counters are totals of the stream since it
 * opened. */
typedef struct CapFrameInfo
{
    uint64_t sequence;      /* the camera's number of the frame; numbers the camera skipped are
                               frames it lost */
    uint64_t timestampUs;   /* when the camera took it: microseconds on the monotonic clock
                               (CLOCK_MONOTONIC) */
    uint64_t framesLost;    /* frames lost before the program got them: gaps in the camera's
                               numbering, frames the driver marked as broken */
    uint64_t framesDamaged; /* frames the library refused as damaged: cut short, undecodable */
    uint32_t flags;         /* CAPFRAME_ bits of this frame */
} CapFrameInfo;

/* CapFrameInfo.flags: an H.264 frame that decodes without any earlier one (the driver marked it
 * so, or it holds an IDR picture). */
#define CAPFRAME_KEYFRAME 1u

/* Causes of a failure, as Cap_getLastError tells them. */
#define CAPERROR_NONE 0
#define CAPERROR_GONE 1     /* the device has been unplugged */
#define CAPERROR_BUSY 2     /* another program holds the device (EBUSY) */
#define CAPERROR_ACCESS 3   /* no permission to open the device node (EACCES, EPERM) */
#define CAPERROR_TOOLARGE 4 /* the mode is too large: no USB bandwidth or memory for it */
#define CAPERROR_OTHER 5

/* A change of a property that the program did not make: the camera's automatic mode or another
 * program set it. value is the property's value in the device's units; automatic is non-zero
 * while the camera's automatic mode controls the property. */
typedef struct CapControlEvent
{
    CapPropertyID propID;
    int32_t value;
    uint32_t automatic;
} CapControlEvent;

typedef void (*CapCustomLogFunction)(uint32_t level, const char *message);

CapContext Cap_createContext(void);
CapResult Cap_releaseContext(CapContext ctx);

uint32_t Cap_getDeviceCount(CapContext ctx);
const char *Cap_getDeviceName(CapContext ctx, CapDeviceID index);
const char *Cap_getDeviceUniqueID(CapContext ctx, CapDeviceID index);

int32_t Cap_getNumFormats(CapContext ctx, CapDeviceID index);
CapResult Cap_getFormatInfo(CapContext ctx, CapDeviceID index, CapFormatID id, CapFormatInfo *info);
/* The exact frame rate of a format in frames per second, as numerator / denominator: 15/2 for
 * 7.5 fps, 10000000/333333 for a UVC camera's interval of 333333 x 100 ns. The fps of
 * Cap_getFormatInfo is this rate rounded to a whole number. */
CapResult Cap_getFormatFrameRate(CapContext ctx, CapDeviceID index, CapFormatID id,
                                 uint32_t *numerator, uint32_t *denominator);

CapStream Cap_openStream(CapContext ctx, CapDeviceID index, CapFormatID formatID);
CapResult Cap_closeStream(CapContext ctx, CapStream stream);
uint32_t Cap_isOpenStream(CapContext ctx, CapStream stream);

/* Non-blocking: non-zero when a frame newer than the last captured one is waiting. */
uint32_t Cap_hasNewFrame(CapContext ctx, CapStream stream);
/* Blocks the calling thread until a frame newer than the last captured one is waiting
 * (CAPRESULT_OK), timeoutMs milliseconds have passed without one (CAPRESULT_TIMEOUT; a negative
 * timeout waits for ever), Cap_interruptWait has been called for the stream
 * (CAPRESULT_INTERRUPTED), or the device has vanished (CAPRESULT_DEVICENOTFOUND, at once). The
 * thread sleeps meanwhile: it wakes when the device has a frame, not to look for one. One
 * thread at a time waits on a stream, normally the one that captures from it. */
CapResult Cap_waitForFrame(CapContext ctx, CapStream stream, int32_t timeoutMs);
/* Any thread: ends the current Cap_waitForFrame of the stream at once, or the next one when
 * none is waiting, so that a capture thread can be stopped without waiting out its timeout. */
CapResult Cap_interruptWait(CapContext ctx, CapStream stream);
/* The facts of the frame that the last successful Cap_captureFrame or Cap_captureCompressedFrame
 * of this stream took, with the stream's counters. CAPRESULT_ERR before the first frame. Meant
 * for the thread that captures, right after the capture. */
CapResult Cap_getFrameInfo(CapContext ctx, CapStream stream, CapFrameInfo *info);
/* Fills the buffer with width x height RGB24 pixels, rows top down, packed. The size must be
 * exactly width x height x 3 of the stream; nothing is ever written past it. */
CapResult Cap_captureFrame(CapContext ctx, CapStream stream, void *RGBbufferPtr,
                           uint32_t RGBbufferBytes);
/* The camera's own compressed bytes of the frame that the last successful Cap_captureFrame or
 * Cap_captureCompressedFrame of this stream took: for a Motion-JPEG format a complete JPEG stream,
 * ending at its end-of-image marker; for an H.264 format one access unit as the camera sent it
 * (Annex B, start codes included, parameter sets in-band where the camera puts them). Copies them
 * into buffer and stores their count in *frameBytes. When buffer is null or holds fewer than that
 * many bytes, nothing is copied, *frameBytes still tells the size and the result is CAPRESULT_ERR.
 * A stream of an uncompressed format answers CAPRESULT_FORMATNOTSUPPORTED. Meant for the thread
 * that captures, right after the capture: the next capture replaces the frame. */
CapResult Cap_getCompressedFrame(CapContext ctx, CapStream stream, void *buffer,
                                 uint32_t bufferBytes, uint32_t *frameBytes);
/* Takes the newest frame as Cap_captureFrame does but leaves it compressed: copies the camera's
 * own bytes of it into buffer under the rules of Cap_getCompressedFrame, without decoding it.
 * An H.264 stream hands over every frame instead, the oldest waiting first, since each one
 * depends on those before it: a caller that falls behind gets them all, in the camera's order,
 * until the driver runs out of buffers and loses some (counted in framesLost). Frames that do
 * not begin with a start code are refused as damaged. Cap_getFrameInfo then tells the frame's
 * number, time and CAPFRAME_KEYFRAME.
 * When buffer is null or too small the frame is taken all the same, and Cap_getCompressedFrame
 * hands it over afterwards. A stream of an uncompressed format answers
 * CAPRESULT_FORMATNOTSUPPORTED and takes nothing. For a capture thread that must keep up with the
 * camera whatever a decode costs: it passes the bytes on and decodes them elsewhere, or not. */
CapResult Cap_captureCompressedFrame(CapContext ctx, CapStream stream, void *buffer,
                                     uint32_t bufferBytes, uint32_t *frameBytes);
/* Decodes compressed bytes of one of this stream's frames (from Cap_captureCompressedFrame) into
 * RGB24, with the buffer rules of Cap_captureFrame. Any thread, also while another one captures
 * from the stream. CAPRESULT_ERR when the bytes are no picture of the stream's size or are cut
 * short.
 * An H.264 stream has one decoder, which remembers the frames it was given: give it every frame
 * taken, once, in the order taken, from one thread at a time (the decodes here and
 * Cap_captureFrame share it). A null buffer with 0 bytes decodes a frame without writing its
 * picture, for a frame nobody will see. After a frame it refuses, and before the first one, it
 * refuses every frame up to the next keyframe (CAPRESULT_ERR): a caller that knows of a frame
 * missing in between gives it nothing but keyframes until then. The scaled decodes of an H.264
 * stream take a scaleDenominator of 1 only. Cap_captureFrame of an H.264 stream takes the next
 * frame in order and decodes it with the same decoder. */
CapResult Cap_decodeFrame(CapContext ctx, CapStream stream, const void *frame, uint32_t frameBytes,
                          void *RGBbufferPtr, uint32_t RGBbufferBytes);
/* The size of this stream's pictures decoded at 1/scaleDenominator (1, 2, 4 or 8), as
 * Cap_decodeFrameScaled writes them: each side divided by scaleDenominator and rounded up, as
 * libjpeg-turbo scales (1920x1080 at 1/8 is 240x135, 1366x768 at 1/4 is 342x192). CAPRESULT_ERR
 * for any other denominator or a null output, which is then left alone. */
CapResult Cap_getScaledSize(CapContext ctx, CapStream stream, uint32_t scaleDenominator,
                            uint32_t *width, uint32_t *height);
/* Cap_decodeFrame at a fraction of the size, with libjpeg-turbo's own scaling (much cheaper than
 * a full decode followed by a downscale): writes the picture of Cap_getScaledSize as packed RGB24
 * rows, top down. The buffer must be exactly that size's width x height x 3 bytes; nothing is
 * ever written past it. A scaleDenominator of 1 is Cap_decodeFrame. */
CapResult Cap_decodeFrameScaled(CapContext ctx, CapStream stream, const void *frame,
                                uint32_t frameBytes, uint32_t scaleDenominator, void *RGBbufferPtr,
                                uint32_t RGBbufferBytes);
/* Cap_decodeFrameScaled with 4 bytes a pixel: blue, green, red and 255, which is Qt's
 * Format_RGB32 on a little-endian machine, and what a display paints without a conversion. The
 * buffer must be exactly width x height x 4 bytes of Cap_getScaledSize. */
CapResult Cap_decodeFrameScaledBGRX(CapContext ctx, CapStream stream, const void *frame,
                                    uint32_t frameBytes, uint32_t scaleDenominator,
                                    void *BGRXbufferPtr, uint32_t BGRXbufferBytes);
uint32_t Cap_getStreamFrameCount(CapContext ctx, CapStream stream);
/* Motion-JPEG frames of this stream decoded with only a warning of libjpeg-turbo (stray bytes
 * before a marker, say), by Cap_captureFrame, Cap_decodeFrame and the scaled decodes: they are
 * shown as browsers show them, and logged at LOG_DEBUG. A frame cut short, without its
 * end-of-image marker or with its data ending early, is refused and not counted here. */
uint32_t Cap_getDecodeWarningCount(CapContext ctx, CapStream stream);

/* Why the last Cap_openStream of this device failed, or CAPERROR_GONE once a call on one of its
 * streams has answered CAPRESULT_DEVICENOTFOUND: one of the CAPERROR_ codes. CAPERROR_NONE
 * after a successful open, and for an unknown context or index. */
uint32_t Cap_getLastError(CapContext ctx, CapDeviceID index);

CapResult Cap_getPropertyLimits(CapContext ctx, CapStream stream, CapPropertyID propID,
                                int32_t *min, int32_t *max, int32_t *dValue);
CapResult Cap_getProperty(CapContext ctx, CapStream stream, CapPropertyID propID,
                          int32_t *outValue);
CapResult Cap_setProperty(CapContext ctx, CapStream stream, CapPropertyID propID, int32_t value);
/* CAPRESULT_PROPERTYNOTSUPPORTED when the property has no automatic mode on this device. Switching
 * the automatic mode off is accepted for every supported property. */
CapResult Cap_getAutoProperty(CapContext ctx, CapStream stream, CapPropertyID propID,
                              uint32_t *enabled);
CapResult Cap_setAutoProperty(CapContext ctx, CapStream stream, CapPropertyID propID,
                              uint32_t enabled);

/* Waits up to timeoutMs (a negative time: without limit) for a change of one of the stream's
 * properties that this program did not make, and describes it in *event. CAPRESULT_ERR when the
 * time runs out or Cap_interruptControlWait wakes the wait, CAPRESULT_DEVICENOTFOUND once the
 * device has gone, CAPRESULT_PROPERTYNOTSUPPORTED when the device reports no such changes. For
 * one thread per stream, which must return from it before the stream is closed. */
CapResult Cap_waitControlEvent(CapContext ctx, CapStream stream, int32_t timeoutMs,
                               CapControlEvent *event);
/* Any thread: ends the stream's Cap_waitControlEvent at once, or the next one when none waits. */
CapResult Cap_interruptControlWait(CapContext ctx, CapStream stream);

void Cap_setLogLevel(uint32_t level);
/* The installed function receives every log line of the library; null restores stderr output
 * of the lines at or below the log level. */
void Cap_installCustomLogFunction(CapCustomLogFunction logFunc);
const char *Cap_getLibraryVersion(void);

#ifdef __cplusplus
}
#endif

#endif /* OSTREL_CAPTURE_H */
