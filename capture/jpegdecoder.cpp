#include "jpegdecoder.h"

#include <turbojpeg.h>

#include <cstring>

namespace ostrel::capture {

namespace {

bool isRestartMarker(uint8_t marker)
{
    return marker >= 0xd0 && marker <= 0xd7;
}

// libjpeg-turbo warns of data cut short ("Premature end of JPEG file", "premature end of data
// segment") and fills the rest with grey: a picture worse than the previous one for a little
// longer. Every other warning leaves a whole picture, as browsers and ffmpeg show it.
bool meansCutShort(const char *warning)
{
    return warning &&
           (std::strstr(warning, "Premature end") || std::strstr(warning, "premature end"));
}

} // namespace

void JpegDecoder::HandleDeleter::operator()(void *handle) const
{
    tjDestroy(handle);
}

JpegDecoder::JpegDecoder()
    : handle(tjInitDecompress())
{}

JpegDecoder::~JpegDecoder() = default;

// The marker segments and the entropy-coded data are walked rather than searched, so that
// whatever a driver leaves after the end (stale bytes of an older, longer frame, padding) does
// not count, and a picture cut short is not mistaken for a whole one.
size_t JpegDecoder::endOfImage(const uint8_t *data, size_t bytes)
{
    if (!data || bytes < 4 || data[0] != 0xff || data[1] != 0xd8)
        return 0;
    size_t at = 2;
    while (at + 1 < bytes) {
        if (data[at] != 0xff) { // stray bytes between segments, which the decoder skips too
            ++at;
            continue;
        }
        const uint8_t marker = data[at + 1];
        if (marker == 0xd9)
            return at + 2;
        if (marker == 0xff) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || isRestartMarker(marker)) {
            at += 2;
            continue;
        }
        if (at + 3 >= bytes)
            return 0;
        const size_t length = size_t(data[at + 2]) << 8 | data[at + 3];
        if (length < 2)
            return 0;
        at += 2 + length;
        if (marker != 0xda) // start of scan: entropy-coded data follows
            continue;
        // In the coded data 0xff is followed by a stuffed 0x00 or a restart marker; anything
        // else is the next marker.
        while (at + 1 < bytes) {
            const auto *next =
                static_cast<const uint8_t *>(std::memchr(data + at, 0xff, bytes - at));
            if (!next || size_t(next - data) + 1 >= bytes)
                return 0;
            at = size_t(next - data);
            if (next[1] != 0x00 && !isRestartMarker(next[1]))
                break;
            at += 2;
        }
    }
    return 0;
}

bool JpegDecoder::isScaleDenominator(uint32_t denominator)
{
    return denominator == 1 || denominator == 2 || denominator == 4 || denominator == 8;
}

uint32_t JpegDecoder::scaledSide(uint32_t side, uint32_t denominator)
{
    // TJSCALED's rounding, in 64 bits so that no side overflows.
    return denominator ? uint32_t((uint64_t(side) + denominator - 1) / denominator) : 0;
}

bool JpegDecoder::decode(const uint8_t *jpeg, size_t bytes, uint32_t width, uint32_t height,
                         uint8_t *rgb, uint32_t scaleDenominator, Pixels pixels)
{
    warning = false;
    if (!handle) {
        error = "JPEG decoder could not be created";
        return false;
    }
    const auto fail = [this](std::string reason) {
        error = std::move(reason);
        // libjpeg-turbo can leave a handle unusable after some damaged streams; a fresh one
        // costs little next to a frame.
        handle.reset(tjInitDecompress());
        return false;
    };
    if (!isScaleDenominator(scaleDenominator))
        return fail("no decode at 1/" + std::to_string(scaleDenominator));
    // USB transfers that lose packets leave a picture without its end marker.
    const size_t length = endOfImage(jpeg, bytes);
    if (length == 0)
        return fail("incomplete frame");
    int w = 0, h = 0, subsampling = 0, colourspace = 0;
    // A warning here (stray bytes before a marker of the header) comes again from the decode.
    if (tjDecompressHeader3(handle.get(), jpeg, static_cast<unsigned long>(length), &w, &h,
                            &subsampling, &colourspace) != 0 &&
        tjGetErrorCode(handle.get()) != TJERR_WARNING)
        return fail(tjGetErrorStr2(handle.get()));
    if (uint32_t(w) != width || uint32_t(h) != height)
        return fail("frame of " + std::to_string(w) + "x" + std::to_string(h));
    // Asked for exactly the size of 1/denominator, libjpeg-turbo picks that factor.
    const int scaledWidth = int(scaledSide(width, scaleDenominator));
    const int scaledHeight = int(scaledSide(height, scaleDenominator));
    // libjpeg-turbo fills the fourth byte of BGRX with 255.
    if (tjDecompress2(handle.get(), jpeg, static_cast<unsigned long>(length), rgb, scaledWidth,
                      scaledWidth * int(pixelBytes(pixels)), scaledHeight,
                      pixels == Pixels::Rgb ? TJPF_RGB : TJPF_BGRX, 0) == 0) {
        error.clear();
        return true;
    }
    const char *message = tjGetErrorStr2(handle.get());
    if (tjGetErrorCode(handle.get()) != TJERR_WARNING || meansCutShort(message))
        return fail(message ? message : "undecodable frame");
    warning = true;
    error = message ? message : "warning";
    return true;
}

} // namespace ostrel::capture
