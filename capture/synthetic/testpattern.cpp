#include "testpattern.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ostrel::capture {

namespace {

constexpr int stripCells = 32;
constexpr std::array<uint8_t, 3> squareBase{255, 128, 0};

uint8_t clampByte(int value)
{
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

// Position on a path that goes 0..range and back.
uint32_t bounce(uint64_t travelled, uint32_t range)
{
    if (range == 0)
        return 0;
    const uint64_t m = travelled % (2 * uint64_t{range});
    return static_cast<uint32_t>(m <= range ? m : 2 * uint64_t{range} - m);
}

void fillRow(uint8_t *row, uint32_t pixels, const std::array<uint8_t, 3> &colour)
{
    for (uint32_t x = 0; x < pixels; ++x) {
        row[3 * x] = colour[0];
        row[3 * x + 1] = colour[1];
        row[3 * x + 2] = colour[2];
    }
}

} // namespace

TestPattern::TestPattern(uint32_t width, uint32_t height)
    : width(width)
    , height(height)
    , strip(height >= 16 ? height / 16 : std::min<uint32_t>(height, 1))
    , barsEnd(strip + (height - strip) * 2 / 3)
    , barRow(size_t{width} * 3)
    , lowerRow(size_t{width} * 3)
    , picture(size_t{width} * height * 3)
{
    drawBase();
    setPicture(0, 32, 3);
}

void TestPattern::drawBase()
{
    static constexpr std::array<std::array<uint8_t, 3>, 8> bars{{{235, 235, 235},
                                                                 {235, 235, 16},
                                                                 {16, 235, 235},
                                                                 {16, 235, 16},
                                                                 {235, 16, 235},
                                                                 {235, 16, 16},
                                                                 {16, 16, 235},
                                                                 {16, 16, 16}}};
    for (uint32_t x = 0; x < width; ++x) {
        const auto &bar = bars[size_t{x} * bars.size() / width];
        std::copy(bar.begin(), bar.end(), barRow.begin() + 3 * x);
        // Left half a grey ramp, right half two-pixel stripes whose edges blur or sharpen.
        const uint8_t grey = x < width / 2 ? static_cast<uint8_t>(x * 255 / std::max(1u, width / 2))
                                           : ((x / 2) % 2 ? 176 : 80);
        std::fill_n(lowerRow.begin() + 3 * x, 3, grey);
    }
}

std::vector<uint8_t> TestPattern::adjustRow(const std::vector<uint8_t> &row, int sharpness,
                                            const std::array<uint8_t, 256> &lut) const
{
    // Weight of the edge term in eighths: a plain 3-tap blur at 0, none at the default 3.
    static constexpr std::array<int, 8> weights{-4, -3, -2, 0, 3, 6, 9, 12};
    const int weight = weights[static_cast<size_t>(std::clamp(sharpness, 0, 7))];
    std::vector<uint8_t> out(row);
    if (weight != 0) {
        for (size_t i = 3; i + 3 < row.size(); ++i) {
            const int edge = 2 * row[i] - row[i - 3] - row[i + 3];
            out[i] = clampByte(row[i] + weight * edge / 8);
        }
    }
    for (uint8_t &v : out)
        v = lut[v];
    return out;
}

void TestPattern::setPicture(int brightness, int contrast, int sharpness)
{
    const int offset = 2 * std::clamp(brightness, -64, 64);
    const int gain = std::clamp(contrast, 0, 95);
    std::array<uint8_t, 256> lut{};
    for (int v = 0; v < 256; ++v)
        lut[static_cast<size_t>(v)] = clampByte((v - 128) * gain / 32 + 128 + offset);

    // The background only varies across a row and sharpening works along rows, so two adjusted
    // rows make the whole picture.
    const std::vector<uint8_t> bars = adjustRow(barRow, sharpness, lut);
    const std::vector<uint8_t> lower = adjustRow(lowerRow, sharpness, lut);
    const size_t rowBytes = size_t{width} * 3;
    for (uint32_t y = strip; y < height; ++y)
        std::memcpy(picture.data() + y * rowBytes, (y < barsEnd ? bars : lower).data(), rowBytes);
    for (size_t c = 0; c < 3; ++c)
        squareColour[c] = lut[squareBase[c]];
}

void TestPattern::setNoise(int sigma)
{
    sigma = std::clamp(sigma, 0, 32);
    noiseField.clear();
    if (sigma == 0)
        return;
    // A uniform random byte becomes the normal value of the same rank (Tukey's lambda
    // approximation of the inverse normal distribution).
    std::array<int8_t, 256> noiseOfByte{};
    for (int i = 0; i < 256; ++i) {
        const double quantile = (i + 0.5) / 256.0;
        const double z = (std::pow(quantile, 0.14) - std::pow(1.0 - quantile, 0.14)) / 0.1975;
        noiseOfByte[size_t(i)] =
            static_cast<int8_t>(std::clamp(std::lround(z * sigma), -127L, 127L));
    }
    noiseField.resize(size_t{height - strip} * width * 3);
    uint64_t state = 0x9E3779B97F4A7C15ull; // xorshift64*
    for (size_t i = 0; i < noiseField.size(); i += 8) {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        uint64_t bits = state * 0x2545F4914F6CDD1Dull;
        for (size_t j = i; j < std::min(i + 8, noiseField.size()); ++j, bits >>= 8)
            noiseField[j] = noiseOfByte[bits & 0xff];
    }
}

void TestPattern::addNoise(uint32_t sequence, uint8_t *rgb) const
{
    // Every frame takes the field from another row on, far further than a video encoder searches
    // for motion, so to the encoder the noise is new in every frame.
    const size_t rowBytes = size_t{width} * 3;
    const uint32_t rows = height - strip;
    const uint32_t shift = static_cast<uint32_t>((uint64_t{sequence} * 2654435761u) % rows);
    for (uint32_t row = 0; row < rows; ++row) {
        uint8_t *out = rgb + (size_t{strip} + row) * rowBytes;
        const int8_t *noise = noiseField.data() + size_t{(row + shift) % rows} * rowBytes;
        for (size_t i = 0; i < rowBytes; ++i)
            out[i] = static_cast<uint8_t>(std::clamp(out[i] + noise[i], 0, 255));
    }
}

void TestPattern::render(uint32_t sequence, uint8_t *rgb) const
{
    const size_t rowBytes = size_t{width} * 3;
    std::memcpy(rgb + strip * rowBytes, picture.data() + strip * rowBytes,
                (height - strip) * rowBytes);

    const uint32_t area = height - strip;
    const uint32_t side = std::max(1u, std::min(width, area) / 5);
    if (area >= side && width >= side) {
        const uint32_t x = bounce(uint64_t{sequence} * std::max(1u, width / 90), width - side);
        const uint32_t y =
            strip + bounce(uint64_t{sequence} * std::max(1u, area / 70), area - side);
        uint8_t *first = rgb + y * rowBytes + size_t{x} * 3;
        fillRow(first, side, squareColour);
        for (uint32_t row = 1; row < side; ++row)
            std::memcpy(first + row * rowBytes, first, size_t{side} * 3);
    }
    if (!noiseField.empty())
        addNoise(sequence, rgb);

    if (strip == 0)
        return;
    for (int cell = 0; cell < stripCells; ++cell) {
        const bool one = (sequence >> (stripCells - 1 - cell)) & 1u;
        const uint32_t begin = static_cast<uint32_t>(uint64_t{width} * cell / stripCells);
        const uint32_t end = static_cast<uint32_t>(uint64_t{width} * (cell + 1) / stripCells);
        std::memset(rgb + size_t{begin} * 3, one ? 255 : 0, size_t{end - begin} * 3);
    }
    for (uint32_t row = 1; row < strip; ++row)
        std::memcpy(rgb + row * rowBytes, rgb, rowBytes);
}

std::optional<uint32_t> TestPattern::readSequence(const uint8_t *rgb, uint32_t width,
                                                  uint32_t height, size_t bytesPerLine)
{
    const uint32_t strip = height / 16;
    if (!rgb || width < 2 * stripCells || strip < 2)
        return std::nullopt;
    uint32_t sequence = 0;
    for (int cell = 0; cell < stripCells; ++cell) {
        const uint32_t begin = static_cast<uint32_t>(uint64_t{width} * cell / stripCells);
        const uint32_t end = static_cast<uint32_t>(uint64_t{width} * (cell + 1) / stripCells);
        // The middle half of the cell both ways, away from edges that compression smears.
        const uint32_t x0 = begin + (end - begin) / 4, x1 = end - (end - begin) / 4;
        const uint32_t y0 = strip / 4, y1 = std::max(y0 + 1, strip - strip / 4);
        uint64_t sum = 0, count = 0;
        for (uint32_t y = y0; y < y1; ++y) {
            const uint8_t *row = rgb + y * bytesPerLine;
            for (uint32_t x = x0; x < x1; ++x, ++count)
                sum += row[3 * x] + row[3 * x + 1] + row[3 * x + 2];
        }
        const uint64_t mean = sum / (3 * std::max<uint64_t>(count, 1));
        if (mean > 64 && mean < 192)
            return std::nullopt;
        sequence = (sequence << 1) | (mean >= 192 ? 1u : 0u);
    }
    return sequence;
}

} // namespace ostrel::capture
