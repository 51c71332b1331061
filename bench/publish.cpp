// Publishing to nginx-rtmp on 127.0.0.1, started by the program itself:
//
//   ostrel_bench_publish [seconds]   (default 10)
//
// delay: 1280x720@30 Motion-JPEG published; ffmpeg pulls the stream back and decodes it to grey
//   pictures on a pipe, and each picture's sequence strip maps its arrival onto the moment the
//   camera's frame callback got that frame (after the publisher's tap), median and 99th
//   percentile, the first two seconds left out (the puller's start-up);
// cpu: 1920x1080@30 Motion-JPEG recorded (camera's JPEG into AVI) alone, then recorded and
//   published as H.264 beside it: the process's CPU over the same time, the synthetic camera's
//   own thread included in both;
// reconnect: nginx killed and started again, three times: from its start to the publisher's
//   "live", and the frames a recording beside it lost meanwhile.
#include "benchsupport.h"
#include "capturesession.h"
#include "openpnpcamera.h"
#include "publisher.h"
#include "synthetic/syntheticcontrol.h"
#include "testsupport/rtmpserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMap>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace synthetic = ostrel::synthetic;
using Clock = std::chrono::steady_clock;

namespace {

struct Bench
{
    std::unique_ptr<CaptureSession> session;
    std::mutex mutex;                        // guards taken
    QMap<uint32_t, Clock::time_point> taken; // by sequence, when the camera delivered it

    bool start(int width, int height, bool noteFrames)
    {
        synthetic::setDevices(
            {{"Publish Camera", {synthetic::mode(uint32_t(width), uint32_t(height), 30, "MJPG")}}});
        session = std::make_unique<CaptureSession>();
        session->setCamera(new OpenPNPCamera);
        CameraBase *camera = session->camera();
        if (noteFrames)
            camera->setFrameCallback([this](const QImage &frame) {
                const Clock::time_point now = Clock::now();
                if (const auto sequence = BenchSupport::frameSequence(frame)) {
                    std::lock_guard lock(mutex);
                    taken.insert(*sequence, now);
                }
            });
        camera->availableCameras();
        if (!camera->openCamera(0) || !camera->setFormat(camera->supportedFormats().at(0)) ||
            !session->start())
            return false;
        // A recording begins with the newest frame.
        for (int waited = 0; waited < 5000 && camera->latestFrame().isNull(); waited += 10)
            BenchSupport::runEventLoop(10);
        return !camera->latestFrame().isNull();
    }
    bool waitFor(Publisher::State state, int milliseconds)
    {
        QElapsedTimer clock;
        clock.start();
        while (session->publisher()->state() != state && clock.elapsed() < milliseconds)
            BenchSupport::runEventLoop(5);
        return session->publisher()->state() == state;
    }
};

void measureDelay(int seconds)
{
    RtmpServer server(freeLoopbackPort());
    server.start();
    Bench bench;
    const QSize size(1280, 720);
    if (!bench.start(size.width(), size.height(), true) ||
        !bench.session->startPublishing(server.url()) ||
        !bench.waitFor(Publisher::State::Live, 5000)) {
        std::printf("delay: the stream did not start\n");
        return;
    }
    const QByteArray command =
        "ffmpeg -loglevel quiet -fflags nobuffer -flags low_delay -probesize 32768 "
        "-analyzeduration 0 -i " +
        server.url().toUtf8() + " -f rawvideo -pix_fmt gray -";
    std::FILE *pipe = ::popen(command.constData(), "r");
    std::vector<std::pair<uint32_t, Clock::time_point>> arrivals;
    std::thread reader([&] {
        QImage grey(size, QImage::Format_Grayscale8);
        const size_t frameBytes = size_t(size.width()) * size_t(size.height());
        std::vector<uchar> buffer(frameBytes);
        while (std::fread(buffer.data(), 1, frameBytes, pipe) == frameBytes) {
            const Clock::time_point now = Clock::now();
            for (int y = 0; y < size.height(); ++y)
                std::copy_n(buffer.data() + size_t(y) * size_t(size.width()), size.width(),
                            grey.scanLine(y));
            if (const auto sequence = BenchSupport::frameSequence(grey))
                arrivals.emplace_back(*sequence, now);
        }
    });
    BenchSupport::runEventLoop((seconds + 2) * 1000);
    bench.session->stopPublishing();
    // The server keeps a player of an ended stream waiting; gone, it ends the pipe.
    server.kill();
    reader.join();
    ::pclose(pipe);
    std::vector<double> delays;
    {
        std::lock_guard lock(bench.mutex);
        const uint32_t skip = arrivals.empty() ? 0 : arrivals.front().first + 60;
        for (const auto &[sequence, arrived] : arrivals)
            if (sequence >= skip && bench.taken.contains(sequence))
                delays.push_back(
                    std::chrono::duration<double, std::milli>(arrived - bench.taken[sequence])
                        .count());
    }
    std::sort(delays.begin(), delays.end());
    if (delays.empty()) {
        std::printf("delay: no frame came back\n");
        return;
    }
    std::printf("delay 1280x720@30, capture -> decoded by the puller: median %.1f ms, 99%% %.1f "
                "ms, max %.1f ms over %zu frames (target: added delay <= 300 ms)\n",
                BenchSupport::percentile(delays, 0.5), BenchSupport::percentile(delays, 0.99),
                delays.back(), delays.size());
}

void measureCpu(int seconds)
{
    RtmpServer server(freeLoopbackPort());
    server.start();
    QTemporaryDir dir;
    Bench bench;
    if (!bench.start(1920, 1080, false) ||
        !bench.session->startRecording(dir.filePath("alone.avi"))) {
        std::printf("cpu: the camera did not start\n");
        return;
    }
    BenchSupport::runEventLoop(2000);
    double before = BenchSupport::processCpuSeconds();
    BenchSupport::runEventLoop(seconds * 1000);
    const double alone = (BenchSupport::processCpuSeconds() - before) / seconds;
    if (!bench.session->startPublishing(server.url()) ||
        !bench.waitFor(Publisher::State::Live, 5000)) {
        std::printf("cpu: the stream did not start\n");
        return;
    }
    BenchSupport::runEventLoop(2000);
    const qint64 sentBefore = bench.session->publisher()->framesSent();
    before = BenchSupport::processCpuSeconds();
    BenchSupport::runEventLoop(seconds * 1000);
    const double both = (BenchSupport::processCpuSeconds() - before) / seconds;
    Publisher *publisher = bench.session->publisher();
    std::printf("cpu 1920x1080@30: recording alone %.0f %% of a core, recording + publishing "
                "H.264 %.0f %% (%lld frames sent in %d s, %lld dropped)\n",
                alone * 100, both * 100,
                static_cast<long long>(publisher->framesSent() - sentBefore), seconds,
                static_cast<long long>(publisher->framesDropped()));
}

void measureReconnect()
{
    const int port = freeLoopbackPort();
    auto server = std::make_unique<RtmpServer>(port);
    server->start();
    QTemporaryDir dir;
    Bench bench;
    if (!bench.start(640, 480, false) ||
        !bench.session->startRecording(dir.filePath("beside.avi")) ||
        !bench.session->startPublishing(server->url()) ||
        !bench.waitFor(Publisher::State::Live, 5000)) {
        std::printf("reconnect: the stream did not start\n");
        return;
    }
    for (int round = 0; round < 3; ++round) {
        BenchSupport::runEventLoop(1500);
        server->kill();
        if (!bench.waitFor(Publisher::State::Reconnecting, 10000)) {
            std::printf("reconnect: the lost server was not noticed\n");
            return;
        }
        BenchSupport::runEventLoop(1000);
        server = std::make_unique<RtmpServer>(port);
        QElapsedTimer clock;
        clock.start();
        server->start();
        const bool back = bench.waitFor(Publisher::State::Live, 10000);
        std::printf("reconnect %d: %s %lld ms after the server started again\n", round + 1,
                    back ? "live" : "NOT live", static_cast<long long>(clock.elapsed()));
    }
    const WriterStatistics recording = bench.session->recorder()->statistics();
    std::printf("reconnect: the recording beside it: %d frames written, %d dropped\n",
                recording.framesWritten, recording.framesDropped);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!RtmpServer::available()) {
        std::printf("nginx with its RTMP module is not installed\n");
        return 1;
    }
    const int seconds = BenchSupport::positiveArgument(argc, argv, 1, 10);
    measureDelay(seconds);
    measureCpu(seconds);
    measureReconnect();
    return 0;
}
