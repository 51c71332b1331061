// One capture mode of a V4L2 device: a pixel format, a frame size and a frame interval.
#pragma once

#include <cerrno>
#include <cstdint>

namespace ostrel::capture {

struct V4l2Mode
{
    uint32_t pixelFormat = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    // Seconds per frame as a fraction; 0/0 leaves the driver's own rate in place.
    uint32_t intervalNumerator = 0;
    uint32_t intervalDenominator = 0;
    uint32_t fps = 0; // rounded
    uint32_t bpp = 0;
    // The exact rate in frames per second, also when the driver's own rate is kept.
    uint32_t fpsNumerator = 0;
    uint32_t fpsDenominator = 1;

    bool operator==(const V4l2Mode &other) const
    {
        return pixelFormat == other.pixelFormat && width == other.width && height == other.height &&
               intervalNumerator == other.intervalNumerator &&
               intervalDenominator == other.intervalDenominator && fps == other.fps &&
               fpsNumerator == other.fpsNumerator && fpsDenominator == other.fpsDenominator &&
               bpp == other.bpp;
    }
};

// Bits per pixel of the uncompressed formats this backend knows, 0 for compressed or unknown
// ones (whose frames vary in size).
uint32_t v4l2BitsPerPixel(uint32_t pixelFormat);

// The errors a node gives once its device has been unplugged.
inline bool v4l2DeviceGone(int error)
{
    return error == -ENODEV || error == -ENXIO || error == -ESHUTDOWN || error == -ENOENT;
}

} // namespace ostrel::capture
