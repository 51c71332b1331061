// What viewers of the HTTP feed cost.
//
//   ostrel_bench_http_viewers [seconds=20]   every scenario in turn, in a process of its own
//
// A synthetic 1920x1080@30 Motion-JPEG camera with sensor noise (camera-sized JPEGs) runs in a
// capture session without a window, as `--serve` runs it, with the server on 127.0.0.1. Five
// viewers, each a process of its own, read /stream.mjpg and count the whole JPEGs they get.
// Reported is the serving process's CPU with the synthetic camera's own thread (ostrel-synth)
// left out, as a share of one core, by thread, and the frames per second each viewer got: with
// no viewer, with five taking the camera's own JPEGs, and with five while the picture is
// mirrored (encoded once per frame for all of them).
#include "benchsupport.h"
#include "capturesession.h"
#include "mjpegfeed.h"
#include "openpnpcamera.h"
#include "remoteserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpSocket>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Scenario
{
    const char *name;
    int viewers;
    bool mirrored;
};

const Scenario scenarios[] = {
    {"no viewer", 0, false},
    {"5 viewers, the camera's JPEG passed through", 5, false},
    {"5 viewers, mirrored", 5, true},
};

// A viewer: counts the whole JPEGs of the stream for the given time and prints the count.
int read(quint16 port, int seconds)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write("GET /stream.mjpg HTTP/1.1\r\n\r\n");
    QByteArray buffer;
    int frames = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000 && socket.waitForReadyRead(5000)) {
        buffer += socket.readAll();
        while (true) {
            const qsizetype at = buffer.indexOf("Content-Length: ");
            const qsizetype headEnd = buffer.indexOf("\r\n\r\n", at);
            if (at < 0 || headEnd < 0)
                break;
            const qsizetype end = headEnd + 4 + buffer.mid(at + 16, headEnd - at - 16).toLongLong();
            if (buffer.size() < end)
                break;
            frames += buffer.at(headEnd + 4) == '\xff' && buffer.at(end - 1) == '\xd9';
            buffer.remove(0, end);
        }
    }
    std::printf("%d\n", frames);
    return 0;
}

QMap<QString, double> threadCpuByName()
{
    QMap<QString, double> byName;
    for (const BenchSupport::ThreadCpu &thread : BenchSupport::threadCpu())
        byName[thread.name] += thread.seconds;
    return byName;
}

int serve(const Scenario &scenario, int seconds)
{
    CaptureSession session;
    session.setCamera(new OpenPNPCamera);
    CameraBase *camera = session.camera();
    if (!camera->openCamera(int(camera->availableCameras().size()) - 1) || !session.start()) {
        std::fprintf(stderr, "the synthetic camera did not start\n");
        return 1;
    }
    session.setOrientation({scenario.mirrored, 0});
    RemoteServer server(&session);
    if (!server.listen(QHostAddress::LocalHost, 0, {}))
        return 1;
    std::vector<std::unique_ptr<QProcess>> viewers;
    for (int i = 0; i < scenario.viewers; ++i) {
        viewers.push_back(std::make_unique<QProcess>());
        viewers.back()->start(QCoreApplication::applicationFilePath(),
                              {"read", QString::number(server.port()), QString::number(seconds)});
    }
    BenchSupport::runEventLoop(1500); // the viewers connect, the stream settles
    const QMap<QString, double> threadsBefore = threadCpuByName();
    const double before = BenchSupport::processCpuSeconds();
    const quint64 takenBefore = camera->frameCounts().taken;
    QElapsedTimer wall;
    wall.start();
    BenchSupport::runEventLoop(seconds * 1000 - 1500);
    const double elapsed = double(wall.elapsed()) / 1000.0;
    const double cpu = BenchSupport::processCpuSeconds() - before;
    const QMap<QString, double> threadsAfter = threadCpuByName();
    const double cameraFps = double(camera->frameCounts().taken - takenBefore) / elapsed;
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
    QStringList got;
    for (const auto &viewer : viewers) {
        BenchSupport::runEventLoop(0);
        viewer->waitForFinished(30000);
        got << QString::number(viewer->readAllStandardOutput().trimmed().toDouble() / seconds, 'f',
                               1);
    }
    std::printf("  %s: CPU without ostrel-synth %.1f %% of one core (%s); camera %.1f fps; "
                "frames per second each viewer got: %s\n",
                scenario.name, 100.0 * (cpu - synth) / elapsed, qPrintable(threads.join(", ")),
                cameraFps, got.isEmpty() ? "-" : qPrintable(got.join(' ')));
    std::fflush(stdout);
    session.stop();
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 4 && arguments.at(1) == QLatin1String("read"))
        return read(quint16(arguments.at(2).toUInt()), arguments.at(3).toInt());
    if (arguments.size() == 4 && arguments.at(1) == QLatin1String("serve"))
        return serve(scenarios[arguments.at(2).toInt()], arguments.at(3).toInt());
    const int seconds = BenchSupport::positiveArgument(argc, argv, 1, 20);
    std::printf("HTTP feed viewers at 1920x1080@30, %d s each\n", seconds);
    std::fflush(stdout);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("OSTREL_SYNTHETIC_CAMERAS", "Bench=1920x1080@30:MJPG");
    environment.insert("OSTREL_SYNTHETIC_NOISE", "4");
    for (int i = 0; i < int(std::size(scenarios)); ++i) {
        QProcess run;
        run.setProcessEnvironment(environment);
        run.setProcessChannelMode(QProcess::ForwardedChannels);
        run.start(app.applicationFilePath(),
                  {"serve", QString::number(i), QString::number(seconds)});
        run.waitForFinished(-1);
    }
    return 0;
}
