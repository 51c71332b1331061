// Motion-JPEG frames to RGB24 with libjpeg-turbo, for V4L2 cameras and the synthetic cameras
// alike, so that both pay the same decode. On the same 1920x1080 frames it is as fast as
// libv4lconvert (about 16 ms each on one core of this project's machine, see
// ostrel_bench_v4l2convert), which keeps every other pixel format. Like libv4lconvert it accepts
// the frames without Huffman tables that many USB cameras send.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace ostrel::capture {

class JpegDecoder
{
public:
    JpegDecoder();
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder &) = delete;
    JpegDecoder &operator=(const JpegDecoder &) = delete;

    // Writes width x height x 3 bytes at rgb. False when the frame is damaged or of another
    // size; rgb may then hold part of a picture.
    bool decode(const uint8_t *jpeg, size_t bytes, uint32_t width, uint32_t height, uint8_t *rgb);
    const std::string &errorMessage() const { return error; }

private:
    struct HandleDeleter
    {
        void operator()(void *handle) const;
    };

    std::unique_ptr<void, HandleDeleter> handle;
    std::string error;
};

} // namespace ostrel::capture
