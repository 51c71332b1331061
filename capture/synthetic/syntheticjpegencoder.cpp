#include "syntheticjpegencoder.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cstring>

namespace ostrel::capture {

namespace {

constexpr int quality = 85;
// 4:2:2: an MCU is 16 pixels wide and 8 rows high.
constexpr uint32_t bandRows = 8;
constexpr uint32_t mcuWidth = 16;

constexpr uint8_t markerStartOfFrame = 0xc0;
constexpr uint8_t markerStartOfScan = 0xda;

} // namespace

void SyntheticJpegEncoder::HandleDeleter::operator()(void *handle) const
{
    tjDestroy(handle);
}

SyntheticJpegEncoder::SyntheticJpegEncoder(uint32_t width, uint32_t height)
    : width(width)
    , height(height)
    , handle(tjInitCompress())
    , bands((height + bandRows - 1) / bandRows)
    , scratch(tjBufSize(int(width), int(bandRows), TJSAMP_422))
{}

SyntheticJpegEncoder::~SyntheticJpegEncoder() = default;

bool SyntheticJpegEncoder::encode(const uint8_t *rgb, std::vector<uint8_t> &jpeg)
{
    if (!handle) {
        error = "JPEG encoder could not be created";
        return false;
    }
    const size_t rowBytes = size_t{width} * 3;
    size_t total = 0;
    for (size_t i = 0; i < bands.size(); ++i) {
        const uint32_t top = uint32_t(i) * bandRows;
        const uint32_t rows = std::min(bandRows, height - top);
        const uint8_t *pixels = rgb + top * rowBytes;
        Band &band = bands[i];
        const size_t bytes = rows * rowBytes;
        if (band.entropy.empty() || std::memcmp(band.pixels.data(), pixels, bytes) != 0) {
            if (!encodeBand(pixels, rows, band))
                return false;
            band.pixels.assign(pixels, pixels + bytes);
        }
        total += band.entropy.size() + 2;
    }

    jpeg.clear();
    jpeg.reserve(header.size() + total + 2);
    jpeg.insert(jpeg.end(), header.begin(), header.end());
    for (size_t i = 0; i < bands.size(); ++i) {
        if (i > 0) {
            jpeg.push_back(0xff);
            jpeg.push_back(uint8_t(0xd0 + (i - 1) % 8)); // RST0 ... RST7, in turn
        }
        jpeg.insert(jpeg.end(), bands[i].entropy.begin(), bands[i].entropy.end());
    }
    jpeg.push_back(0xff);
    jpeg.push_back(0xd9);
    return true;
}

bool SyntheticJpegEncoder::encodeBand(const uint8_t *rgb, uint32_t rows, Band &band)
{
    unsigned char *out = scratch.data();
    unsigned long size = static_cast<unsigned long>(scratch.size());
    // Standard Huffman tables (no optimisation), so that every band is coded alike and one
    // header serves them all.
    if (tjCompress2(handle.get(), rgb, int(width), int(width * 3), int(rows), TJPF_RGB, &out, &size,
                    TJSAMP_422, quality, TJFLAG_NOREALLOC | TJFLAG_FASTDCT) != 0) {
        error = tjGetErrorStr2(handle.get());
        return false;
    }
    const std::vector<uint8_t> stream(scratch.begin(), scratch.begin() + long(size));
    if (header.empty() && !makeHeader(stream))
        return false;
    // The entropy-coded segment lies between the scan header and the end-of-image marker.
    size_t at = 2;
    while (at + 4 <= stream.size() && stream[at + 1] != markerStartOfScan)
        at += 2 + ((stream[at + 2] << 8) | stream[at + 3]);
    if (at + 4 > stream.size() || size < 2) {
        error = "no scan in a band's JPEG stream";
        return false;
    }
    const size_t scanStart = at + 2 + ((stream[at + 2] << 8) | stream[at + 3]);
    band.entropy.assign(stream.begin() + long(scanStart), stream.end() - 2);
    return true;
}

bool SyntheticJpegEncoder::makeHeader(const std::vector<uint8_t> &stream)
{
    const uint32_t mcusPerRow = (width + mcuWidth - 1) / mcuWidth;
    if (mcusPerRow > 0xffff) {
        error = "frame too wide for one restart interval per band";
        return false;
    }
    std::vector<uint8_t> result(stream.begin(), stream.begin() + 2);
    for (size_t at = 2; at + 4 <= stream.size();) {
        const uint8_t marker = stream[at + 1];
        const size_t length = 2 + ((stream[at + 2] << 8) | stream[at + 3]);
        if (at + length > stream.size())
            break;
        if (marker == markerStartOfScan) {
            const uint8_t restartInterval[] = {
                0xff, 0xdd, 0x00, 0x04, uint8_t(mcusPerRow >> 8), uint8_t(mcusPerRow)};
            result.insert(result.end(), std::begin(restartInterval), std::end(restartInterval));
            result.insert(result.end(), stream.begin() + long(at),
                          stream.begin() + long(at + length));
            header = std::move(result);
            return true;
        }
        const size_t segment = result.size();
        result.insert(result.end(), stream.begin() + long(at), stream.begin() + long(at + length));
        if (marker == markerStartOfFrame) {
            result[segment + 5] = uint8_t(height >> 8);
            result[segment + 6] = uint8_t(height);
        }
        at += length;
    }
    error = "no scan in a band's JPEG stream";
    return false;
}

} // namespace ostrel::capture
