// Cost per frame of the V4L2 backend turning camera frames into RGB24 at 1920x1080, for YUYV,
// MJPEG and H.264: the whole capture path of a stream (dequeue, completeness check, libv4lconvert,
// libjpeg-turbo or the stream's H.264 decoder, requeue) on a scripted device, timed around
// captureFrame only. The MJPEG frames are encoded here by libjpeg-turbo (4:2:2, like USB cameras)
// from the same picture as the YUYV frames; the H.264 frames by the recording's encoder (libx264)
// from pictures whose noise and grid change every frame, as a camera's would, with a keyframe
// every 30 frames. "H264 decode" times the decode alone, as the view decodes frames it skips.
//
//   ostrel_bench_v4l2convert [frames per format, default 100]
#include "fakev4l2device.h"
#include "h264encoder.h"
#include "v4l2/v4l2device.h"

#include <turbojpeg.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>

using namespace ostrel::capture;

namespace {

constexpr uint32_t width = 1920;
constexpr uint32_t height = 1080;
const std::string nodePath = "/bench/video0";

// Gradients, a grid and deterministic noise: JPEG sizes like a camera's busy scene rather than
// a flat test card. Packed RGB24.
std::vector<uint8_t> picture(uint32_t seed = 12345, uint32_t shift = 0)
{
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    auto clamp = [](int v) {
        return uint8_t(std::clamp(v, 0, 255));
    };
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 28) - 8;
            const bool grid = ((x + shift) % 64) < 2 || (y % 64) < 2;
            uint8_t *p = &rgb[(size_t(y) * width + x) * 3];
            p[0] = grid ? 255 : clamp(128 + noise * 4);
            p[1] = clamp(int(y * 255 / height) + noise);
            p[2] = clamp(int(x * 255 / width) + noise);
        }
    }
    return rgb;
}

std::vector<uint8_t> toYuyv(const std::vector<uint8_t> &rgb)
{
    std::vector<uint8_t> frame;
    frame.reserve(size_t(width) * height * 2);
    auto luma = [](const uint8_t *p) {
        return uint8_t(16 + (66 * p[0] + 129 * p[1] + 25 * p[2] + 128) / 256);
    };
    for (size_t at = 0; at < rgb.size(); at += 6) {
        const uint8_t *a = &rgb[at];
        const uint8_t *b = &rgb[at + 3];
        const int r = (a[0] + b[0]) / 2, g = (a[1] + b[1]) / 2, bl = (a[2] + b[2]) / 2;
        const uint8_t u = uint8_t(128 + (-38 * r - 74 * g + 112 * bl + 128) / 256);
        const uint8_t v = uint8_t(128 + (112 * r - 94 * g - 18 * bl + 128) / 256);
        frame.insert(frame.end(), {luma(a), u, luma(b), v});
    }
    return frame;
}

std::vector<uint8_t> toJpeg(const std::vector<uint8_t> &rgb)
{
    tjhandle handle = tjInitCompress();
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    std::vector<uint8_t> jpeg;
    if (handle && tjCompress2(handle, rgb.data(), int(width), 0, int(height), TJPF_RGB, &buffer,
                              &size, TJSAMP_422, 90, 0) == 0)
        jpeg.assign(buffer, buffer + size);
    tjFree(buffer);
    if (handle)
        tjDestroy(handle);
    return jpeg;
}

FakeV4l2Device::Node camera(uint32_t pixelFormat)
{
    FakeV4l2Device::Node node;
    node.formats = {{pixelFormat,
                     {FakeV4l2Device::discreteSize(width, height)},
                     {FakeV4l2Device::discreteInterval(1, 30)}}};
    return node;
}

// Camera-like H.264 of moving pictures, one access unit a frame; empty when it cannot be made.
std::vector<std::vector<uint8_t>> h264Frames(int frames)
{
    H264Encoder encoder;
    std::vector<H264Encoder::Packet> packets;
    QString error = encoder.open({QSize(width, height), {30, 1}, 30, false});
    for (int i = 0; i < frames && error.isEmpty(); ++i) {
        std::vector<uint8_t> rgb = picture(uint32_t(i) * 7919u + 1u, uint32_t(i) * 2);
        const QImage image(rgb.data(), int(width), int(height), int(width) * 3,
                           QImage::Format_RGB888);
        error = encoder.encode(H264Encoder::yuv420FromImage(image, &error), i, &packets);
    }
    if (error.isEmpty())
        error = encoder.flush(&packets);
    std::vector<std::vector<uint8_t>> units;
    for (const H264Encoder::Packet &packet : packets)
        units.emplace_back(packet.data.begin(), packet.data.end());
    if (!error.isEmpty())
        std::fprintf(stderr, "H.264: %s\n", qPrintable(error));
    return error.isEmpty() ? units : std::vector<std::vector<uint8_t>>{};
}

bool measure(const char *label, uint32_t pixelFormat,
             const std::vector<std::vector<uint8_t>> &sequence, int frames, bool decodeOnly = false)
{
    auto io = std::make_shared<FakeV4l2Device>();
    io->addNode(nodePath, camera(pixelFormat));
    auto device = V4l2Device::probe(io, nodePath);
    auto stream = device ? device->openStream(0) : nullptr;
    if (!stream) {
        std::fprintf(stderr, "%s: the stream does not open\n", label);
        return false;
    }
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    std::vector<double> milliseconds;
    size_t bytes = 0;
    for (int i = 0; i < frames; ++i) {
        const std::vector<uint8_t> &frame = sequence[size_t(i) % sequence.size()];
        bytes += frame.size();
        io->deliver(nodePath, frame);
        uint32_t taken = 0;
        if (decodeOnly)
            stream->captureCompressedFrame(rgb.data(), uint32_t(rgb.size()), taken);
        const auto start = std::chrono::steady_clock::now();
        const CapResult result =
            decodeOnly ? stream->decodeInOrder(rgb.data(), taken, 1, false, nullptr, 0)
                             .value_or(CAPRESULT_ERR)
                       : stream->captureFrame(rgb.data());
        const auto end = std::chrono::steady_clock::now();
        if (result != CAPRESULT_OK) {
            std::fprintf(stderr, "%s: frame %d failed to convert\n", label, i);
            return false;
        }
        milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    const double mean =
        std::accumulate(milliseconds.begin(), milliseconds.end(), 0.0) / milliseconds.size();
    std::printf("%-11s %ux%u  frame %7zu bytes  mean %6.2f ms  median %6.2f ms  min %6.2f ms  "
                "max %6.2f ms  (%d frames, %.0f frames/s on one core)\n",
                label, width, height, bytes / size_t(frames), mean,
                milliseconds[milliseconds.size() / 2], milliseconds.front(), milliseconds.back(),
                frames, 1000.0 / mean);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const std::vector<uint8_t> rgb = picture();
    const std::vector<uint8_t> jpeg = toJpeg(rgb);
    if (jpeg.empty()) {
        std::fprintf(stderr, "cannot encode the MJPEG test frame\n");
        return 1;
    }
    // Every frame of the H.264 sequence is given once and in order.
    const std::vector<std::vector<uint8_t>> h264 = h264Frames(frames);
    const bool ok = measure("YUYV", V4L2_PIX_FMT_YUYV, {toYuyv(rgb)}, frames) &&
                    measure("MJPEG", V4L2_PIX_FMT_MJPEG, {jpeg}, frames) && !h264.empty() &&
                    measure("H264", V4L2_PIX_FMT_H264, h264, frames) &&
                    measure("H264 decode", V4L2_PIX_FMT_H264, h264, frames, true);
    return ok ? 0 : 1;
}
