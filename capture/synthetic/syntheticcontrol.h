// In-process control of the synthetic cameras, for tests only. Device indices here count the
// synthetic devices alone (0 = the first synthetic device, whatever V4L2 devices precede it).
// Changes to the device list take effect for contexts created afterwards; the other switches act
// at once, also on streams that are already open.
#pragma once

#include "capture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ostrel::synthetic {

struct FormatSpec
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t fps = 0; // frames per fpsDenominator seconds: 15 and 2 make 7.5 fps
    uint32_t fourcc = 0;
    uint32_t fpsDenominator = 1;
};

struct DeviceSpec
{
    std::string name;
    std::vector<FormatSpec> formats;
};

struct PropertyState
{
    int32_t value = 0;
    bool automatic = false;
    int setCount = 0;     // Cap_setProperty calls since the device was defined
    int autoOffCount = 0; // Cap_setAutoProperty calls with 0 since the device was defined
};

// Builds a fourcc from its four-character text, lowest byte first.
uint32_t fourcc(const char code[4]);

inline FormatSpec mode(uint32_t width, uint32_t height, uint32_t fps, const char code[4])
{
    return {width, height, fps, fourcc(code)};
}

// Replaces the synthetic devices (those from OSTREL_SYNTHETIC_CAMERAS too) and clears every
// fault switch; OSTREL_SYNTHETIC_PRESENCE and OSTREL_SYNTHETIC_RATE are read again for them.
// resetDevices() returns to what the environment says.
void setDevices(const std::vector<DeviceSpec> &devices);
void resetDevices();

void setNameUnreadable(int device, bool unreadable);
void setFormatUnreadable(int device, int formatIndex, bool unreadable);

// One-shot faults: the next matching call on any synthetic device fails.
void failNextCreateContext();
// error: the cause the failed open reports through Cap_getLastError.
void failNextOpenStream(uint32_t error = CAPERROR_OTHER);
void failNextCaptureFrame();
void failNextGetFormatInfo();

void setPropertyLimits(int device, CapPropertyID id, int32_t min, int32_t max, int32_t def);
void setPropertyValue(int device, CapPropertyID id, int32_t value);
// The device no longer has the property at all, as cameras without a brightness control.
void removeProperty(int device, CapPropertyID id);
PropertyState propertyState(int device, CapPropertyID id);
// Another program (or the camera's automatic mode) sets the property: open streams report it
// through Cap_waitControlEvent.
void changePropertyElsewhere(int device, CapPropertyID id, int32_t value, bool automatic = false);

// An unplugged device fails every property query and capture of its open streams, and new
// contexts no longer list it.
void setPlugged(int device, bool plugged);

// The device's Motion-JPEG thread takes this much longer over every frame, so that it falls
// behind its clock and skips the frames it is too late for.
void setRenderDelay(int device, int milliseconds);

// Ways a camera misbehaves, for checking what the program measures against a known truth. They act
// on Motion-JPEG streams opened afterwards; jitter and the slower rate act on every format.
struct Misbehaviour
{
    // Frame n is taken up to this many microseconds before or after it falls due (the same
    // offset for the same n), and its timestamp says when. Kept below half a frame period.
    uint32_t jitterUs = 0;
    // Every frame whose number is a multiple of this is lost in the driver: its number is missing
    // and the library counts it as lost. 0: none.
    uint32_t dropEvery = 0;
    // Every frame whose number is a multiple of this arrives cut short and is refused as damaged.
    // 0: none. A frame both dropped and damaged is damaged.
    uint32_t damageEvery = 0;
    // Frames come this many times slower than the format claims.
    double slowdown = 1.0;
};
void setMisbehaviour(int device, const Misbehaviour &misbehaviour);
// The timestamp offset of frame n under jitterUs, in microseconds: spread evenly over
// -jitterUs..jitterUs.
int64_t jitterOffsetUs(uint64_t sequence, uint32_t jitterUs);

} // namespace ostrel::synthetic
