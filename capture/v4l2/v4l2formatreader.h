// Reads the capture modes of an open node: every (pixel format, frame size, frame interval) in
// that nesting order, for the pixel formats that can be converted to RGB24.
#pragma once

#include "v4l2fd.h"
#include "v4l2mode.h"

#include <vector>

struct v4l2_frmsizeenum;
struct v4l2_frmivalenum;

namespace ostrel::capture {

class V4l2FormatReader
{
public:
    explicit V4l2FormatReader(const V4l2Fd &fd);

    std::vector<V4l2Mode> read() const;

private:
    struct Size
    {
        uint32_t width;
        uint32_t height;
    };
    // numerator/denominator 0/0: leave the driver's rate alone, which is fps. The rate is
    // exactly rateNumerator/rateDenominator frames per second, fps rounds it.
    struct Interval
    {
        uint32_t numerator;
        uint32_t denominator;
        uint32_t fps;
        uint32_t rateNumerator;
        uint32_t rateDenominator;
    };

    std::vector<uint32_t> pixelFormats() const;
    std::vector<Size> sizes(uint32_t pixelFormat) const;
    std::vector<Interval> intervals(uint32_t pixelFormat, Size size) const;
    Interval driverInterval() const;

    static std::vector<Size> commonSizesWithin(const v4l2_frmsizeenum &range);
    static std::vector<Interval> commonIntervalsWithin(const v4l2_frmivalenum &range);

    const V4l2Fd &fd;
};

} // namespace ostrel::capture
