// Wake-ups of the capture thread per delivered frame, with the synthetic camera's Motion-JPEG
// formats at 640x480 @ 5 fps and 1920x1080 @ 30 fps.
//
//   ostrel_bench_capture_wakeups [seconds per size]   (default 5)
//
// The capture thread is found by its name ("ostrel-capture") among the process's threads; its
// voluntary context switches (/proc/self/task/<tid>/status) count the times it went to sleep and
// was woken again. They are read once the stream runs and once before it stops, and set against
// the frames the frame callback received in between.
#include "benchsupport.h"
#include "openpnpcamera.h"
#include "synthetic/syntheticcontrol.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>
#include <tuple>

namespace synthetic = ostrel::synthetic;

namespace {

// The status file of the thread called name, or an empty name when there is none.
QString threadStatusPath(const QString &name)
{
    const QMap<QString, BenchSupport::ThreadCpu> threads = BenchSupport::threadCpu();
    for (auto it = threads.cbegin(); it != threads.cend(); ++it) {
        if (it->name == name)
            return QStringLiteral("/proc/self/task/%1/status").arg(it.key());
    }
    return QString();
}

std::optional<qint64> voluntarySwitches(const QString &statusPath)
{
    QFile status(statusPath);
    if (!status.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("voluntary_ctxt_switches:"))
            return line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
    }
    return std::nullopt;
}

bool measure(uint32_t width, uint32_t height, uint32_t fps, int seconds)
{
    synthetic::setDevices({{"Wake-up Cam", {{width, height, fps, synthetic::fourcc("MJPG")}}}});
    std::atomic<qint64> delivered{0};
    OpenPNPCamera camera;
    camera.setFrameCallback([&](const QImage &) { ++delivered; });
    const QStringList names = camera.availableCameras();
    // The synthetic device comes after any real ones.
    if (names.isEmpty() || !camera.openCamera(int(names.size()) - 1) || !camera.startCapture())
        return false;
    // Settle: the first frames and the thread's start are not part of the steady state.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const QString statusPath = threadStatusPath(QStringLiteral("ostrel-capture"));
    const std::optional<qint64> before = voluntarySwitches(statusPath);
    const qint64 deliveredBefore = delivered.load();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const std::optional<qint64> after = voluntarySwitches(statusPath);
    const qint64 frames = delivered.load() - deliveredBefore;
    camera.stopCapture();
    if (!before || !after || frames <= 0)
        return false;
    const qint64 wakeUps = *after - *before;
    std::printf(
        "%4ux%-4u @ %2u fps MJPG  %6lld frames delivered  %7lld wake-ups  %8.2f per frame\n", width,
        height, fps, static_cast<long long>(frames), static_cast<long long>(wakeUps),
        double(wakeUps) / double(frames));
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int seconds = BenchSupport::positiveArgument(argc, argv, 1, 5);
    bool ok = true;
    for (const auto &[width, height, fps] :
         {std::tuple{640u, 480u, 5u}, std::tuple{1920u, 1080u, 30u}}) {
        if (!measure(width, height, fps, seconds)) {
            std::fprintf(stderr, "%ux%u @ %u fps: nothing measured\n", width, height, fps);
            ok = false;
        }
    }
    synthetic::resetDevices();
    return ok ? 0 : 1;
}
