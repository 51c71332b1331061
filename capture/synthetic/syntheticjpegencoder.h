// The synthetic cameras' Motion-JPEG frames: baseline JPEG at quality 85 with 4:2:2 chroma, as
// USB cameras send. A full encode of a 3840x2160 frame takes about 31 ms of one core, too much
// for a camera that should cost the viewer nothing, so the picture is cut into bands of one MCU
// row (8 pixel rows) that are encoded on their own and kept: a frame is the kept bands joined by
// restart markers, and only the bands whose pixels changed since the previous frame (the sequence
// strip, the moving square) are encoded again. A restart marker resets the decoder's DC
// prediction, which is what makes a separately encoded band valid in the middle of a frame.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ostrel::capture {

class SyntheticJpegEncoder
{
public:
    SyntheticJpegEncoder(uint32_t width, uint32_t height);
    ~SyntheticJpegEncoder();
    SyntheticJpegEncoder(const SyntheticJpegEncoder &) = delete;
    SyntheticJpegEncoder &operator=(const SyntheticJpegEncoder &) = delete;

    // rgb holds width x height x 3 bytes, rows packed. False when libjpeg-turbo fails.
    bool encode(const uint8_t *rgb, std::vector<uint8_t> &jpeg);
    const std::string &errorMessage() const { return error; }

private:
    struct Band
    {
        std::vector<uint8_t> pixels;  // what the band was encoded from
        std::vector<uint8_t> entropy; // its entropy-coded segment
    };
    struct HandleDeleter
    {
        void operator()(void *handle) const;
    };

    bool encodeBand(const uint8_t *rgb, uint32_t rows, Band &band);
    // From the first band's stream: its tables and frame header with the whole frame's height,
    // and the restart interval of one band.
    bool makeHeader(const std::vector<uint8_t> &bandStream);

    const uint32_t width;
    const uint32_t height;
    std::unique_ptr<void, HandleDeleter> handle;
    std::vector<Band> bands;
    std::vector<uint8_t> header;  // start of image up to the end of the scan header
    std::vector<uint8_t> scratch; // one band's whole JPEG stream
    std::string error;
};

} // namespace ostrel::capture
