// Frame due in the capture library -> frame painted by the view finder, through the capture
// session as the window uses it.
//
//   ostrel_bench_paint_latency [seconds per mode]   (default 5; run under a display or offscreen)
//
// A synthetic stream numbers its frames from 0 when it opens, frame n falling due at
// open + n / rate, and writes the number into the frame's top strip. The view finder notes when
// it has painted a frame and reads the number back from it. The stream opens inside start();
// its start is taken as the moment before the call, so every figure is an upper bound.
#include "benchsupport.h"
#include "capturesession.h"
#include "openpnpcamera.h"
#include "synthetic/syntheticcontrol.h"
#include "viewfinder.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

namespace synthetic = ostrel::synthetic;
using Clock = std::chrono::steady_clock;

namespace {

// Notes the moment each new frame has been painted.
class TimedViewFinder : public ViewFinder
{
public:
    TimedViewFinder()
        : ViewFinder(QString())
    {}
    std::vector<std::pair<Clock::time_point, uint32_t>> painted;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ViewFinder::paintEvent(event);
        const std::optional<uint32_t> sequence = BenchSupport::frameSequence(frame());
        if (sequence && (painted.empty() || painted.back().second != *sequence))
            painted.emplace_back(Clock::now(), *sequence);
    }
};

bool measure(uint32_t width, uint32_t height, uint32_t fps, int seconds)
{
    synthetic::setDevices({{"Latency Cam", {synthetic::mode(width, height, fps, "MJPG")}}});
    TimedViewFinder view;
    view.resize(1280, 720);
    view.show();
    CaptureSession session;
    session.setCamera(new OpenPNPCamera);
    QObject::connect(&session, &CaptureSession::frameAvailable, &view,
                     [&view](const QImage &frame) { view.setFrame(frame); });
    CameraBase *camera = session.camera();
    const QStringList names = camera->availableCameras();
    if (names.isEmpty() || !camera->openCamera(int(names.size()) - 1))
        return false;
    const Clock::time_point beforeOpen = Clock::now();
    if (!session.start())
        return false;
    BenchSupport::runEventLoop(seconds * 1000);
    session.stop();

    const std::chrono::duration<double> period(1.0 / fps);
    std::vector<double> latencies;
    for (const auto &[paintedAt, sequence] : view.painted) {
        const auto due =
            beforeOpen + std::chrono::duration_cast<Clock::duration>(period * sequence);
        latencies.push_back(std::chrono::duration<double, std::milli>(paintedAt - due).count());
    }
    if (latencies.empty())
        return false;
    std::sort(latencies.begin(), latencies.end());
    std::printf("%4ux%-4u @ %2u fps MJPG in a 1280x720 view  %5zu frames painted of %u due  "
                "due -> painted ms: median %6.2f  p99 %6.2f  max %6.2f\n",
                width, height, fps, latencies.size(), fps * unsigned(seconds),
                BenchSupport::percentile(latencies, 0.5), BenchSupport::percentile(latencies, 0.99),
                latencies.back());
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int seconds = BenchSupport::positiveArgument(argc, argv, 1, 5);
    bool ok = true;
    for (const auto &[width, height] : {std::pair{640u, 480u}, {1920u, 1080u}, {3840u, 2160u}})
        ok = measure(width, height, 30, seconds) && ok;
    synthetic::resetDevices();
    return ok ? 0 : 1;
}
