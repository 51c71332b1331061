// The picture of the synthetic cameras, in RGB24:
//  - the top sixteenth of the rows: 32 equal cells holding the frame's sequence number, most
//    significant bit on the left, white for 1 and black for 0 (never adjusted);
//  - below it: eight colour bars (white on the left, black on the right, so mirroring shows),
//    and under them a grey ramp and a fine grating on which contrast and sharpness show;
//  - a square that moves with the sequence number, so that motion and rotation show.
// The adjusted background is prepared once per property change; a frame costs one copy of it
// plus the square and the strip.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace ostrel::capture {

class TestPattern
{
public:
    TestPattern(uint32_t width, uint32_t height);

    // brightness -64..64 shifts, contrast 0..95 scales around the middle grey (32 = unchanged),
    // sharpness 0..7 blurs below 3 and sharpens above; values outside are clamped.
    void setPicture(int brightness, int contrast, int sharpness);
    // Sensor noise of about this standard deviation (0..32) below the strip, new in every
    // frame, so that video codecs face what a real camera gives them; 0 for none.
    void setNoise(int sigma);
    // Writes width x height x 3 bytes.
    void render(uint32_t sequence, uint8_t *rgb) const;

    uint32_t stripHeight() const { return strip; }

    // Reads the sequence strip back from an untransformed frame (also a lossy-compressed one);
    // no value when a cell is neither clearly white nor clearly black or the frame is too small.
    static std::optional<uint32_t> readSequence(const uint8_t *rgb, uint32_t width, uint32_t height,
                                                size_t bytesPerLine);

private:
    void drawBase();
    std::vector<uint8_t> adjustRow(const std::vector<uint8_t> &row, int sharpness,
                                   const std::array<uint8_t, 256> &lut) const;

    const uint32_t width;
    const uint32_t height;
    const uint32_t strip;
    const uint32_t barsEnd;      // first row below the colour bars
    std::vector<uint8_t> barRow; // unadjusted rows of the background
    std::vector<uint8_t> lowerRow;
    std::vector<uint8_t> picture; // adjusted background, whole frame
    std::array<uint8_t, 3> squareColour{};
    std::vector<int8_t> noiseField; // below the strip; empty without noise

    void addNoise(uint32_t sequence, uint8_t *rgb) const;
};

} // namespace ostrel::capture
