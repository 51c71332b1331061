#include "v4l2formatreader.h"

#include "h264decoder.h"
#include "v4l2converter.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <cmath>

namespace ostrel::capture {

namespace {

// A driver that never ends a list must not hang the scan; real devices stay far below these.
constexpr uint32_t maxPixelFormats = 64;
constexpr uint32_t maxSizes = 256;
constexpr uint32_t maxIntervals = 64;

// Offered for devices that describe their sizes or rates as ranges instead of a list.
constexpr uint32_t commonSizes[][2] = {{160, 120},   {176, 144},   {320, 240},   {352, 288},
                                       {640, 360},   {640, 480},   {800, 600},   {1024, 768},
                                       {1280, 720},  {1280, 960},  {1280, 1024}, {1600, 1200},
                                       {1920, 1080}, {2560, 1440}, {3840, 2160}};
constexpr uint32_t commonRates[] = {60, 50, 30, 25, 20, 15, 10, 5};

// Used when the driver cannot tell its rate: the camera layer paces recordings by it.
constexpr uint32_t nominalFps = 30;

bool onStep(uint32_t value, uint32_t min, uint32_t max, uint32_t step)
{
    return value >= min && value <= max && (step <= 1 || (value - min) % step == 0);
}

uint32_t rateOf(uint32_t numerator, uint32_t denominator)
{
    return uint32_t(std::lround(double(denominator) / numerator));
}

double seconds(const v4l2_fract &fraction)
{
    return fraction.denominator ? double(fraction.numerator) / fraction.denominator : 0.0;
}

} // namespace

V4l2FormatReader::V4l2FormatReader(const V4l2Fd &fd)
    : fd(fd)
{}

std::vector<V4l2Mode> V4l2FormatReader::read() const
{
    std::vector<V4l2Mode> modes;
    std::vector<uint32_t> formats = pixelFormats();
    // The camera's own H.264 comes last: where it offers the same size and rate in Motion-JPEG
    // too, that mode, whose frames a recording takes as they come, stays the one found first.
    std::stable_partition(formats.begin(), formats.end(),
                          [](uint32_t format) { return format != V4L2_PIX_FMT_H264; });
    for (uint32_t pixelFormat : formats) {
        // The stream decodes H.264 itself; libv4lconvert does every other format.
        const bool decodable = pixelFormat == V4L2_PIX_FMT_H264
                                   ? H264Decoder::available()
                                   : V4l2Converter::canConvertToRgb24(pixelFormat);
        if (!decodable)
            continue;
        for (const Size &size : sizes(pixelFormat)) {
            for (const Interval &interval : intervals(pixelFormat, size)) {
                V4l2Mode mode;
                mode.pixelFormat = pixelFormat;
                mode.width = size.width;
                mode.height = size.height;
                mode.intervalNumerator = interval.numerator;
                mode.intervalDenominator = interval.denominator;
                mode.fps = interval.fps;
                mode.fpsNumerator = interval.rateNumerator;
                mode.fpsDenominator = interval.rateDenominator;
                mode.bpp = v4l2BitsPerPixel(pixelFormat);
                // Slower than one frame in two seconds rounds to 0 fps, which nothing above
                // can pace by. Some drivers list the same mode more than once.
                if (mode.fps > 0 && std::find(modes.begin(), modes.end(), mode) == modes.end())
                    modes.push_back(mode);
            }
        }
    }
    return modes;
}

std::vector<uint32_t> V4l2FormatReader::pixelFormats() const
{
    std::vector<uint32_t> formats;
    for (uint32_t index = 0; index < maxPixelFormats; ++index) {
        v4l2_fmtdesc desc{};
        desc.index = index;
        desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (fd.ioctl(VIDIOC_ENUM_FMT, &desc) < 0)
            break;
        formats.push_back(desc.pixelformat);
    }
    return formats;
}

std::vector<V4l2FormatReader::Size> V4l2FormatReader::sizes(uint32_t pixelFormat) const
{
    std::vector<Size> result;
    for (uint32_t index = 0; index < maxSizes; ++index) {
        v4l2_frmsizeenum size{};
        size.index = index;
        size.pixel_format = pixelFormat;
        if (fd.ioctl(VIDIOC_ENUM_FRAMESIZES, &size) < 0)
            break;
        if (size.type != V4L2_FRMSIZE_TYPE_DISCRETE)
            return commonSizesWithin(size);
        if (size.discrete.width > 0 && size.discrete.height > 0)
            result.push_back({size.discrete.width, size.discrete.height});
    }
    return result;
}

std::vector<V4l2FormatReader::Size>
V4l2FormatReader::commonSizesWithin(const v4l2_frmsizeenum &range)
{
    const v4l2_frmsize_stepwise &s = range.stepwise;
    std::vector<Size> result;
    for (const auto &size : commonSizes) {
        if (onStep(size[0], s.min_width, s.max_width, s.step_width) &&
            onStep(size[1], s.min_height, s.max_height, s.step_height))
            result.push_back({size[0], size[1]});
    }
    // The sensor's native size is the largest, and rarely a common one (2592x1944).
    const bool nativeListed = !result.empty() && result.back().width == s.max_width &&
                              result.back().height == s.max_height;
    if (!nativeListed && s.max_width > 0 && s.max_height > 0)
        result.push_back({s.max_width, s.max_height});
    return result;
}

std::vector<V4l2FormatReader::Interval> V4l2FormatReader::intervals(uint32_t pixelFormat,
                                                                    Size size) const
{
    std::vector<Interval> result;
    for (uint32_t index = 0; index < maxIntervals; ++index) {
        v4l2_frmivalenum interval{};
        interval.index = index;
        interval.pixel_format = pixelFormat;
        interval.width = size.width;
        interval.height = size.height;
        if (fd.ioctl(VIDIOC_ENUM_FRAMEINTERVALS, &interval) < 0)
            break;
        if (interval.type != V4L2_FRMIVAL_TYPE_DISCRETE)
            return commonIntervalsWithin(interval);
        if (interval.discrete.numerator > 0 && interval.discrete.denominator > 0)
            result.push_back({interval.discrete.numerator, interval.discrete.denominator,
                              rateOf(interval.discrete.numerator, interval.discrete.denominator),
                              interval.discrete.denominator, interval.discrete.numerator});
    }
    if (result.empty())
        result.push_back(driverInterval());
    return result;
}

std::vector<V4l2FormatReader::Interval>
V4l2FormatReader::commonIntervalsWithin(const v4l2_frmivalenum &range)
{
    const double shortest = seconds(range.stepwise.min);
    const double longest = seconds(range.stepwise.max);
    const double step =
        range.type == V4L2_FRMIVAL_TYPE_STEPWISE ? seconds(range.stepwise.step) : 0.0;
    std::vector<Interval> result;
    for (uint32_t rate : commonRates) {
        const double interval = 1.0 / rate;
        // A relative tolerance: the limits are fractions such as 333333/10000000.
        const double slack = interval * 1e-6;
        if (interval < shortest - slack || interval > longest + slack)
            continue;
        if (step > 0.0) {
            const double steps = (interval - shortest) / step;
            if (std::fabs(steps - std::round(steps)) > 1e-6)
                continue;
        }
        result.push_back({1, rate, rate, rate, 1});
    }
    return result;
}

V4l2FormatReader::Interval V4l2FormatReader::driverInterval() const
{
    v4l2_streamparm parm{};
    parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    const v4l2_fract &current = parm.parm.capture.timeperframe;
    if (fd.ioctl(VIDIOC_G_PARM, &parm) == 0 && current.numerator > 0 && current.denominator > 0)
        return {0, 0, rateOf(current.numerator, current.denominator), current.denominator,
                current.numerator};
    return {0, 0, nominalFps, nominalFps, 1};
}

} // namespace ostrel::capture
