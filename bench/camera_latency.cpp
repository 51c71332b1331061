// Frame-delivery latency of OpenPNPCamera: from the moment a synthetic frame falls due in the
// capture library to the moment the camera's frame callback receives it.
//
//   ostrel_bench_camera_latency [seconds per size]   (default 5)
//
// A synthetic stream numbers its frames from 0 when it opens, frame n falling due at
// open + n / rate, and writes the number into the frame's top strip. The callback notes its
// arrival time and reads the number back, so each delivery maps onto its due time. The stream
// opens somewhere inside startCapture(); its start is taken as the moment before the call, so
// every figure is an upper bound that overstates the truth by at most the "open window" shown.
#include "benchsupport.h"
#include "openpnpcamera.h"
#include "synthetic/syntheticcontrol.h"

#include <QCoreApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace synthetic = ostrel::synthetic;
using Clock = std::chrono::steady_clock;

namespace {

struct Delivery
{
    Clock::time_point arrived;
    uint32_t sequence;
};

// The synthetic rate factor stretches every format's rate; the due times follow it.
double rateFactor()
{
    bool ok = false;
    const double factor = qEnvironmentVariable("OSTREL_SYNTHETIC_RATE").toDouble(&ok);
    return ok && factor > 0.0 ? factor : 1.0;
}

bool measure(uint32_t width, uint32_t height, uint32_t fps, int seconds)
{
    synthetic::setDevices({{"Latency Cam", {{width, height, fps, synthetic::fourcc("RGB3")}}}});

    std::mutex mutex; // guards deliveries
    std::vector<Delivery> deliveries;
    deliveries.reserve(size_t(fps) * size_t(seconds) * 2);

    OpenPNPCamera camera;
    camera.setFrameCallback([&](const QImage &frame) {
        const Clock::time_point arrived = Clock::now();
        const std::optional<uint32_t> sequence = BenchSupport::frameSequence(frame);
        if (!sequence)
            return;
        std::lock_guard lock(mutex);
        deliveries.push_back({arrived, *sequence});
    });

    const QStringList names = camera.availableCameras();
    // The synthetic device comes after any real ones.
    if (names.isEmpty() || !camera.openCamera(int(names.size()) - 1))
        return false;

    const Clock::time_point beforeOpen = Clock::now();
    if (!camera.startCapture())
        return false;
    const Clock::time_point afterOpen = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    camera.stopCapture();

    const std::chrono::duration<double> period(1.0 / (fps * rateFactor()));
    std::vector<double> latencies;
    uint32_t missed = 0;
    for (size_t i = 0; i < deliveries.size(); ++i) {
        const Delivery &delivery = deliveries[i];
        const auto due =
            beforeOpen + std::chrono::duration_cast<Clock::duration>(period * delivery.sequence);
        latencies.push_back(
            std::chrono::duration<double, std::milli>(delivery.arrived - due).count());
        if (i > 0 && delivery.sequence > deliveries[i - 1].sequence + 1)
            missed += delivery.sequence - deliveries[i - 1].sequence - 1;
    }
    if (latencies.empty())
        return false;
    std::sort(latencies.begin(), latencies.end());
    double sum = 0.0;
    for (double latency : latencies)
        sum += latency;

    std::printf("%4ux%-4u @ %2u fps  %5zu frames  %3u missed  latency ms: min %6.2f  mean %6.2f  "
                "median %6.2f  p95 %6.2f  p99 %6.2f  max %6.2f  (open window %.2f)\n",
                width, height, fps, latencies.size(), missed, latencies.front(),
                sum / double(latencies.size()), BenchSupport::percentile(latencies, 0.5),
                BenchSupport::percentile(latencies, 0.95),
                BenchSupport::percentile(latencies, 0.99), latencies.back(),
                std::chrono::duration<double, std::milli>(afterOpen - beforeOpen).count());
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int seconds = BenchSupport::positiveArgument(argc, argv, 1, 5);

    struct Size
    {
        uint32_t width;
        uint32_t height;
        uint32_t fps;
    };
    const Size sizes[] = {{640, 480, 30}, {1280, 720, 30}, {1920, 1080, 30}, {1920, 1080, 60}};
    bool ok = true;
    for (const Size &size : sizes) {
        if (!measure(size.width, size.height, size.fps, seconds)) {
            std::fprintf(stderr, "%ux%u @ %u fps: no frames measured\n", size.width, size.height,
                         size.fps);
            ok = false;
        }
    }
    synthetic::resetDevices();
    return ok ? 0 : 1;
}
