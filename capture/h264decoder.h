// A camera's H.264 frames to RGB24 or BGRX with libavcodec's decoder. Each frame depends on
// those before it, so one decoder belongs to one stream and is given every access unit in the
// camera's order; after a unit it refuses it waits for the next keyframe rather than show
// pictures built on a broken one. Not thread-safe: its owner serialises calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace ostrel::capture {

class H264Decoder
{
public:
    H264Decoder();
    ~H264Decoder();
    H264Decoder(const H264Decoder &) = delete;
    H264Decoder &operator=(const H264Decoder &) = delete;

    // Whether this libavcodec has an H.264 decoder at all.
    static bool available();
    // Whether the Annex B bytes begin with a start code, as every access unit a camera sends.
    static bool startsWithStartCode(const uint8_t *data, size_t bytes);
    // Whether the access unit holds an IDR picture, which decodes without any earlier unit.
    static bool containsIdr(const uint8_t *data, size_t bytes);

    // Decodes one access unit of a width x height stream and writes its picture as packed RGB
    // (3 bytes a pixel) or BGRX (4, the last 255) at out; a null out only decodes. False when
    // the unit is refused (damaged, another size, waiting for a keyframe) or gave no picture;
    // errorMessage() tells why.
    bool decode(const uint8_t *data, size_t bytes, uint32_t width, uint32_t height, uint8_t *out,
                bool bgrx);
    const std::string &errorMessage() const { return error; }

private:
    struct Free
    {
        void operator()(AVCodecContext *context) const;
        void operator()(AVFrame *frame) const;
        void operator()(AVPacket *packet) const;
    };

    bool refuse(const std::string &why);
    // Writes the decoded picture; false for a layout it does not know.
    bool convert(uint8_t *out, bool bgrx);

    std::unique_ptr<AVCodecContext, Free> context;
    std::unique_ptr<AVFrame, Free> picture;
    std::unique_ptr<AVPacket, Free> packet;
    std::vector<uint8_t> padded; // the unit with the zero padding libavcodec reads past its end
    bool awaitingKeyframe = true;
    std::string error;
};

} // namespace ostrel::capture
