#include "h264decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cstring>

namespace ostrel::capture {

namespace {

constexpr uint8_t nalSlice = 1;
constexpr uint8_t nalIdr = 5;

// Fixed-point factors (16 fractional bits) of one YCbCr to RGB conversion.
struct Matrix
{
    int yOffset, yScale, rV, gU, gV, bU;
};

Matrix matrixOf(const AVFrame &frame)
{
    const bool bt709 = frame.colorspace == AVCOL_SPC_BT709;
    const double kr = bt709 ? 0.2126 : 0.299, kb = bt709 ? 0.0722 : 0.114, kg = 1.0 - kr - kb;
    const AVPixelFormat format = AVPixelFormat(frame.format);
    // Cameras mostly send limited range; the J formats and a full-range flag say otherwise.
    const bool full = frame.color_range == AVCOL_RANGE_JPEG || format == AV_PIX_FMT_YUVJ420P ||
                      format == AV_PIX_FMT_YUVJ422P || format == AV_PIX_FMT_YUVJ444P;
    const double yScale = full ? 1.0 : 255.0 / 219.0, cScale = full ? 1.0 : 255.0 / 224.0;
    const auto fixed = [](double value) {
        return int(value * 65536.0 + (value < 0 ? -0.5 : 0.5));
    };
    return {full ? 0 : 16,
            fixed(yScale),
            fixed(2.0 * (1.0 - kr) * cScale),
            fixed(-2.0 * kb * (1.0 - kb) / kg * cScale),
            fixed(-2.0 * kr * (1.0 - kr) / kg * cScale),
            fixed(2.0 * (1.0 - kb) * cScale)};
}

uint8_t clamp(int value)
{
    return uint8_t(std::clamp(value >> 16, 0, 255));
}

} // namespace

void H264Decoder::Free::operator()(AVCodecContext *context) const
{
    avcodec_free_context(&context);
}

void H264Decoder::Free::operator()(AVFrame *frame) const
{
    av_frame_free(&frame);
}

void H264Decoder::Free::operator()(AVPacket *packet) const
{
    av_packet_free(&packet);
}

H264Decoder::H264Decoder()
    : picture(av_frame_alloc())
    , packet(av_packet_alloc())
{
    const AVCodec *codec = avcodec_find_decoder(AV_CODEC_ID_H264);
    if (!codec)
        return;
    context.reset(avcodec_alloc_context3(codec));
    if (!context)
        return;
    // One picture out for every unit in: cameras send no reordered frames, and a single thread
    // keeps frame threading from holding pictures back.
    context->flags |= AV_CODEC_FLAG_LOW_DELAY;
    context->thread_count = 1;
    if (avcodec_open2(context.get(), codec, nullptr) < 0)
        context.reset();
}

H264Decoder::~H264Decoder() = default;

bool H264Decoder::available()
{
    return avcodec_find_decoder(AV_CODEC_ID_H264) != nullptr;
}

bool H264Decoder::startsWithStartCode(const uint8_t *data, size_t bytes)
{
    return (bytes >= 3 && data[0] == 0 && data[1] == 0 && data[2] == 1) ||
           (bytes >= 4 && data[0] == 0 && data[1] == 0 && data[2] == 0 && data[3] == 1);
}

bool H264Decoder::containsIdr(const uint8_t *data, size_t bytes)
{
    // Each NAL unit follows a 00 00 01 start code; its type is the low five bits of the next byte.
    // The slices of one picture are all IDR or none is, so the first slice decides.
    for (size_t at = 0; at + 3 < bytes; ++at) {
        if (data[at] == 0 && data[at + 1] == 0 && data[at + 2] == 1) {
            const uint8_t type = data[at + 3] & 0x1f;
            if (type == nalIdr || type == nalSlice)
                return type == nalIdr;
            at += 2;
        }
    }
    return false;
}

bool H264Decoder::refuse(const std::string &why)
{
    error = why;
    awaitingKeyframe = true;
    return false;
}

bool H264Decoder::decode(const uint8_t *data, size_t bytes, uint32_t width, uint32_t height,
                         uint8_t *out, bool bgrx)
{
    if (!context || !picture || !packet)
        return refuse("no H.264 decoder");
    const bool keyframe = containsIdr(data, bytes);
    if (awaitingKeyframe && !keyframe) {
        error = "waiting for a keyframe";
        return false;
    }
    if (keyframe && awaitingKeyframe)
        avcodec_flush_buffers(context.get()); // nothing of a broken run may stay referenced
    awaitingKeyframe = false;

    padded.assign(data, data + bytes);
    padded.resize(bytes + AV_INPUT_BUFFER_PADDING_SIZE, 0);
    packet->data = padded.data();
    packet->size = int(bytes);
    packet->flags = keyframe ? AV_PKT_FLAG_KEY : 0;
    const int sent = avcodec_send_packet(context.get(), packet.get());
    packet->data = nullptr;
    packet->size = 0;
    if (sent < 0)
        return refuse("the decoder refuses the frame");
    const int received = avcodec_receive_frame(context.get(), picture.get());
    if (received == AVERROR(EAGAIN)) {
        error = "no picture yet";
        return false;
    }
    if (received < 0 || picture->decode_error_flags != 0 ||
        (picture->flags & AV_FRAME_FLAG_CORRUPT))
        return refuse("a damaged picture");
    if (uint32_t(picture->width) != width || uint32_t(picture->height) != height)
        return refuse("a picture of " + std::to_string(picture->width) + "x" +
                      std::to_string(picture->height) + " in a stream of " + std::to_string(width) +
                      "x" + std::to_string(height));
    const bool converted = !out || convert(out, bgrx);
    av_frame_unref(picture.get());
    return converted || refuse("an unknown picture layout");
}

bool H264Decoder::convert(uint8_t *out, bool bgrx)
{
    const AVPixFmtDescriptor *layout = av_pix_fmt_desc_get(AVPixelFormat(picture->format));
    if (!layout || layout->nb_components != 3 || (layout->flags & AV_PIX_FMT_FLAG_RGB) ||
        !(layout->flags & AV_PIX_FMT_FLAG_PLANAR) || layout->comp[0].depth != 8)
        return false;
    const Matrix m = matrixOf(*picture);
    const int width = picture->width, pixelBytes = bgrx ? 4 : 3;
    const int xShift = layout->log2_chroma_w, yShift = layout->log2_chroma_h;
    for (int y = 0; y < picture->height; ++y) {
        const uint8_t *luma = picture->data[0] + ptrdiff_t(y) * picture->linesize[0];
        const uint8_t *cb = picture->data[1] + ptrdiff_t(y >> yShift) * picture->linesize[1];
        const uint8_t *cr = picture->data[2] + ptrdiff_t(y >> yShift) * picture->linesize[2];
        uint8_t *pixel = out + ptrdiff_t(y) * width * pixelBytes;
        // The colour terms once per chroma sample, for the pixels that share it.
        for (int x = 0, c = 0; x < width; ++c) {
            const int u = cb[c] - 128, v = cr[c] - 128;
            const int red = m.rV * v, green = m.gU * u + m.gV * v, blue = m.bU * u;
            for (const int end = std::min(width, x + (1 << xShift)); x < end;
                 ++x, pixel += pixelBytes) {
                const int l = (luma[x] - m.yOffset) * m.yScale + (1 << 15);
                pixel[bgrx ? 2 : 0] = clamp(l + red);
                pixel[1] = clamp(l + green);
                pixel[bgrx ? 0 : 2] = clamp(l + blue);
                if (bgrx)
                    pixel[3] = 255;
            }
        }
    }
    return true;
}

} // namespace ostrel::capture
