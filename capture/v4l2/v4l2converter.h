// Pixel conversion to RGB24 through libv4lconvert. libv4lconvert asks the device a few questions
// of its own when it is created; those go through the same I/O seam as everything else, so the
// converter works on a scripted device as well as on a real node.
#pragma once

#include "v4l2io.h"

#include <linux/videodev2.h>

#include <cstdint>
#include <memory>
#include <string>

struct v4lconvert_data;

namespace ostrel::capture {

class V4l2Converter
{
public:
    // io and fd must stay open for the converter's life.
    V4l2Converter(std::shared_ptr<V4l2Io> io, int fd);
    ~V4l2Converter();
    V4l2Converter(const V4l2Converter &) = delete;
    V4l2Converter &operator=(const V4l2Converter &) = delete;

    bool isValid() const { return data != nullptr; }

    // Converts one frame of the given source format into width x height x 3 bytes at rgb.
    // False when the frame cannot be converted; rgb may then hold part of a picture.
    bool convert(const v4l2_format &source, const uint8_t *frame, size_t frameBytes, uint8_t *rgb);
    std::string errorMessage() const;

    // Whether libv4lconvert turns this pixel format into RGB24. Asked of libv4lconvert itself
    // with a pretend device that offers nothing but that format; answers are remembered.
    static bool canConvertToRgb24(uint32_t pixelFormat);

private:
    struct Destroy
    {
        void operator()(v4lconvert_data *data) const;
    };

    static int forwardIoctl(void *self, int fd, unsigned long request, void *arg);

    std::shared_ptr<V4l2Io> io;
    std::unique_ptr<v4lconvert_data, Destroy> data;
};

} // namespace ostrel::capture
