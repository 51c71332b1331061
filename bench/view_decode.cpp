// What decoding at the size the view shows saves.
//
//   ostrel_bench_view_decode [seconds=20]     every run in turn, in a process of its own
//   ostrel_bench_view_decode decode             the decode times only
//
// Live view: a synthetic Motion-JPEG camera feeds a view finder of a given size the way the window
// does (the camera's callback hands the frame over, the GUI thread paints it), once with the
// full-size frame callback and once with the view frame callback told the view's size. Reported
// is the process's CPU with the synthetic camera's own thread (ostrel-synth) left out, as a share
// of one core, and the frames painted; the pairs run one after the other in one run, so that
// both see the same machine. Run it under a display (xvfb-run); offscreen nothing is painted.
//
// Decode: libjpeg-turbo's CPU time per frame through Cap_decodeFrameScaled, for a camera-like
// 1920x1080 4:2:2 JPEG (the test pattern with sensor noise, quality 90), at each scale.
#include "benchsupport.h"
#include "capture.h"
#include "framehandover.h"
#include "openpnpcamera.h"
#include "synthetic/testpattern.h"
#include "viewfinder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>

#include <turbojpeg.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <vector>

namespace {

struct Run
{
    const char *mode; // the synthetic camera's only format
    QSize view;
    bool scaled;
};

const Run runs[] = {
    {"3840x2160@30", {1280, 720}, false},
    {"3840x2160@30", {1280, 720}, true},
    {"1920x1080@30", {960, 540}, false},
    {"1920x1080@30", {960, 540}, true},
};

// CPU seconds of the process's living threads, by name (threads of one name add up).
QMap<QString, double> threadCpuByName()
{
    QMap<QString, double> byName;
    for (const BenchSupport::ThreadCpu &thread : BenchSupport::threadCpu())
        byName[thread.name] += thread.seconds;
    return byName;
}

int liveView(const Run &run, int seconds, int argc, char *argv[])
{
    QApplication app(argc, argv);
    ViewFinder view(QStringLiteral("No camera feed"));
    view.resize(run.view);
    view.show();
    FrameHandOver handOver;
    QObject::connect(
        &handOver, &FrameHandOver::frameAvailable, &view,
        [&] { view.setFrame(handOver.takeFrame()); }, Qt::QueuedConnection);
    OpenPNPCamera camera;
    const auto post = [&handOver](const QImage &frame) {
        handOver.postFrame(frame);
    };
    if (run.scaled) {
        camera.setViewFrameCallback(post);
        camera.setViewSize(run.view * view.devicePixelRatio());
    } else {
        camera.setFrameCallback(post);
    }
    if (!camera.openCamera(int(camera.availableCameras().size()) - 1) || !camera.startCapture()) {
        std::fprintf(stderr, "the synthetic camera did not start\n");
        return 1;
    }
    int painted = 0;
    QObject::connect(
        &handOver, &FrameHandOver::frameAvailable, &view, [&] { ++painted; }, Qt::QueuedConnection);
    BenchSupport::runEventLoop(1500); // the stream settles
    painted = 0;
    const QMap<QString, double> threadsBefore = threadCpuByName();
    const double before = BenchSupport::processCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    BenchSupport::runEventLoop(seconds * 1000);
    const double elapsed = double(wall.elapsed()) / 1000.0;
    const double cpu = BenchSupport::processCpuSeconds() - before;
    const QMap<QString, double> threadsAfter = threadCpuByName();
    camera.stopCapture();
    QStringList threads;
    double synth = 0.0;
    for (auto it = threadsAfter.cbegin(); it != threadsAfter.cend(); ++it) {
        const double used = it.value() - threadsBefore.value(it.key());
        if (it.key() == QLatin1String("ostrel-synth"))
            synth = used;
        else if (used > 0.01 * elapsed)
            threads << QStringLiteral("%1 %2 %").arg(it.key()).arg(100.0 * used / elapsed, 0, 'f',
                                                                   1);
    }
    std::printf("  %s in a %dx%d view, %s: CPU without ostrel-synth %.1f %% of one core, %.1f "
                "frames shown per second, %.1f ms of CPU per frame shown (%s)\n",
                run.mode, run.view.width(), run.view.height(),
                run.scaled ? "decoded at the view's size" : "decoded at full size",
                100.0 * (cpu - synth) / elapsed, painted / elapsed,
                painted ? 1000.0 * (cpu - synth) / painted : 0.0,
                qPrintable(threads.join(QStringLiteral(", "))));
    std::fflush(stdout);
    return 0;
}

// A camera-like 1920x1080 frame: the test pattern with noise, 4:2:2, quality 90.
std::vector<unsigned char> cameraLikeJpeg()
{
    const int width = 1920, height = 1080;
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    ostrel::capture::TestPattern(width, height).render(7, rgb.data());
    std::mt19937 noise(42);
    std::uniform_int_distribution<int> delta(-6, 6);
    for (uint8_t &byte : rgb)
        byte = uint8_t(std::clamp(int(byte) + delta(noise), 0, 255));
    tjhandle encoder = tjInitCompress();
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    const int result = tjCompress2(encoder, rgb.data(), width, 0, height, TJPF_RGB, &jpeg, &size,
                                   TJSAMP_422, 90, 0);
    std::vector<unsigned char> bytes;
    if (result == 0)
        bytes.assign(jpeg, jpeg + size);
    tjFree(jpeg);
    tjDestroy(encoder);
    return bytes;
}

// CPU time of the calling thread: a decode's cost whatever else the machine is doing.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

int decodeTimes()
{
    qputenv("OSTREL_SYNTHETIC_CAMERAS", "Decode Camera=1920x1080@30:MJPG");
    CapContext context = Cap_createContext();
    const CapStream stream = Cap_openStream(context, Cap_getDeviceCount(context) - 1, 0);
    const std::vector<unsigned char> jpeg = cameraLikeJpeg();
    std::printf(
        "decode: a camera-like 1920x1080 4:2:2 JPEG of %zu bytes, median CPU time of 60 decodes\n",
        jpeg.size());
    // The median CPU time of 60 decodes at 1/denominator into pixels of that many bytes.
    const auto decodeMs = [&](uint32_t denominator, uint32_t pixelBytes) {
        uint32_t width = 0, height = 0;
        Cap_getScaledSize(context, stream, denominator, &width, &height);
        std::vector<uint8_t> pixels(size_t(width) * height * pixelBytes);
        const auto decode = pixelBytes == 3 ? Cap_decodeFrameScaled : Cap_decodeFrameScaledBGRX;
        std::vector<double> times;
        for (int i = 0; i < 60; ++i) {
            const double start = threadCpuMs();
            if (decode(context, stream, jpeg.data(), uint32_t(jpeg.size()), denominator,
                       pixels.data(), uint32_t(pixels.size())) != CAPRESULT_OK)
                return -1.0;
            times.push_back(threadCpuMs() - start);
        }
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    };
    for (uint32_t denominator : {1u, 2u, 4u, 8u}) {
        uint32_t width = 0, height = 0;
        Cap_getScaledSize(context, stream, denominator, &width, &height);
        std::printf("  1/%u (%ux%u): RGB %.2f ms, BGRX %.2f ms per frame\n", denominator, width,
                    height, decodeMs(denominator, 3), decodeMs(denominator, 4));
    }
    Cap_closeStream(context, stream);
    Cap_releaseContext(context);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 3 && qstrcmp(argv[1], "run") == 0) {
        const int index = std::atoi(argv[2]);
        if (index < 0 || index >= int(std::size(runs)))
            return 2;
        return liveView(runs[index], BenchSupport::positiveArgument(argc, argv, 3, 1), argc, argv);
    }
    if (argc > 1 && qstrcmp(argv[1], "decode") == 0)
        return decodeTimes();
    const int seconds = BenchSupport::positiveArgument(argc, argv, 1, 20);
    const QString program = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    std::printf("live view, %d s each (target: at the view's size <= 0.6 x at full size)\n",
                seconds);
    std::fflush(stdout);
    for (int i = 0; i < int(std::size(runs)); ++i) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("OSTREL_SYNTHETIC_CAMERAS"),
                           QStringLiteral("Bench Camera=%1:MJPG").arg(runs[i].mode));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(program, {QStringLiteral("run"), QString::number(i), QString::number(seconds)});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            std::printf("  the run failed\n");
    }
    return decodeTimes();
}
