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

    // Where the JPEG stream at data ends, just past its end-of-image marker; 0 when it has none.
    static size_t endOfImage(const uint8_t *data, size_t bytes);
    // Whether libjpeg-turbo decodes at 1/denominator: 1, 2, 4 or 8.
    static bool isScaleDenominator(uint32_t denominator);
    // One side of a picture decoded at 1/denominator, as libjpeg-turbo sizes it: divided and
    // rounded up (1080 at 1/8 is 135, 1079 at 1/2 is 540).
    static uint32_t scaledSide(uint32_t side, uint32_t denominator);

    enum class Pixels {
        Rgb,  // red, green, blue: 3 bytes
        Bgrx, // blue, green, red, 255: 4 bytes
    };
    static uint32_t pixelBytes(Pixels pixels) { return pixels == Pixels::Rgb ? 3 : 4; }

    // Writes the picture of a width x height JPEG, decoded at 1/scaleDenominator, as
    // scaledSide(width) x scaledSide(height) packed pixels at rgb. False when the frame is
    // damaged, cut short or of another size; rgb may then hold part of a picture. A frame
    // libjpeg-turbo decodes whole but with a warning (stray bytes before a marker, say) is
    // decoded: warned() then tells so and errorMessage() gives the warning.
    bool decode(const uint8_t *jpeg, size_t bytes, uint32_t width, uint32_t height, uint8_t *rgb,
                uint32_t scaleDenominator = 1, Pixels pixels = Pixels::Rgb);
    bool warned() const { return warning; }
    // Why the last decode failed, or what it warned of.
    const std::string &errorMessage() const { return error; }

private:
    struct HandleDeleter
    {
        void operator()(void *handle) const;
    };

    std::unique_ptr<void, HandleDeleter> handle;
    std::string error;
    bool warning = false;
};

} // namespace ostrel::capture
