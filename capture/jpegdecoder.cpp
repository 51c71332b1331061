#include "jpegdecoder.h"

#include <turbojpeg.h>

namespace ostrel::capture {

void JpegDecoder::HandleDeleter::operator()(void *handle) const
{
    tjDestroy(handle);
}

JpegDecoder::JpegDecoder()
    : handle(tjInitDecompress())
{}

JpegDecoder::~JpegDecoder() = default;

bool JpegDecoder::decode(const uint8_t *jpeg, size_t bytes, uint32_t width, uint32_t height,
                         uint8_t *rgb)
{
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
    int w = 0, h = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(handle.get(), jpeg, static_cast<unsigned long>(bytes), &w, &h,
                            &subsampling, &colourspace) != 0)
        return fail(tjGetErrorStr2(handle.get()));
    if (uint32_t(w) != width || uint32_t(h) != height)
        return fail("frame of " + std::to_string(w) + "x" + std::to_string(h));
    // A warning (data cut short, a corrupt segment) fails the frame as well: a picture with a
    // grey lower part is worse than the previous picture for a little longer.
    if (tjDecompress2(handle.get(), jpeg, static_cast<unsigned long>(bytes), rgb, w, 0, h, TJPF_RGB,
                      TJFLAG_STOPONWARNING) != 0)
        return fail(tjGetErrorStr2(handle.get()));
    return true;
}

} // namespace ostrel::capture
