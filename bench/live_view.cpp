// Whole-process cost of the live view, and a recording made through the window.
//
//   ostrel_bench_live_view [seconds=60] [--record]
//
// Opens the main window on the synthetic camera at 1920x1080@30, starts it and lets it run for
// the given time, then prints the process's CPU time (user + system, all threads) as a share of
// one core, the frames the window displayed and the rate it showed. With --record the same time
// is recorded through the record button, and the file is judged by ffprobe together with the
// writer's statistics. Resident memory is sampled every 10 s. Run it under the display it is meant
// for (Xvfb or a desktop); with QT_QPA_PLATFORM=offscreen nothing is painted.
#include "mainwindow.h"
#include "recordingcontroller.h"
#include "testsupport/ffprobe.h"
#include "testsupport/mainwindowaccess.h"
#include "videowriterthread.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Resident memory of the process in MiB.
double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0.0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(getpagesize()) / (1024.0 * 1024.0)
                             : 0.0;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Counts the frames the window hands to its video area.
class FrameCounter : public QObject
{
public:
    int frames = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++frames;
        return false;
    }
};

// Records mirrored 3840x2160 for the given time, stops, and reports the longest time the GUI
// event loop went without running from the click until the file was finished.
int measureStopStall(MainWindow &window, TestMainWindowAccess &access, int seconds)
{
    auto *record = window.findChild<QPushButton *>(QStringLiteral("recordButton"));
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1500)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    record->click();
    clock.restart();
    while (clock.elapsed() < seconds * 1000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    qint64 longestGap = 0;
    qint64 last = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGap = std::max(longestGap, now - last);
        last = now;
    });
    ticker.start(1);
    clock.restart();
    record->click();
    const qint64 clickReturned = clock.elapsed();
    last = clickReturned;
    while (access.recording()->state() != RecordingController::State::Idle)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    const qint64 finished = clock.elapsed();
    const WriterStatistics stats = access.recording()->writer()->statistics();
    std::printf("stopping a mirrored 3840x2160 recording after %d s: the click returned after %lld "
                "ms, the file was finished after %lld ms, longest GUI event-loop stall %lld ms "
                "(%d frames written)\n",
                seconds, static_cast<long long>(clickReturned), static_cast<long long>(finished),
                static_cast<long long>(std::max(longestGap, clickReturned)), stats.framesWritten);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    const QByteArray mode = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    const bool record = mode == "--record";
    const bool stopStall = mode == "--stop-4k";
    qputenv("OSTREL_SYNTHETIC_CAMERAS",
            stopStall ? "Bench Camera=3840x2160@30:MJPG" : "Bench Camera=1920x1080@30:MJPG");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("OstrelBench"));
    QApplication::setOrganizationName(QStringLiteral("Brellway"));
    QStandardPaths::setTestModeEnabled(true);

    QTemporaryDir dir;
    {
        QSettings settings(QStringLiteral("Brellway"), QStringLiteral("OstrelBench"));
        settings.clear();
        settings.setValue(QStringLiteral("recordingDirectory"), dir.path());
        settings.setValue(QStringLiteral("snapshotDirectory"), dir.path());
        settings.setValue(QStringLiteral("horizontalFlip"), stopStall);
    }
    MainWindow window;
    TestMainWindowAccess access(window);
    window.show();

    access.scan();
    auto *startStop = window.findChild<QPushButton *>(QStringLiteral("startStopButton"));
    startStop->click();
    if (startStop->text() != QStringLiteral("Stop Camera")) {
        std::fprintf(stderr, "the synthetic camera did not start\n");
        return 1;
    }
    if (stopStall)
        return measureStopStall(window, access, seconds);
    auto *video = window.findChild<QWidget *>(QStringLiteral("videoLabel"));
    FrameCounter counter;
    video->installEventFilter(&counter);

    // Let the stream settle before measuring.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1500)
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    QString recordingPath;
    if (record) {
        window.findChild<QPushButton *>(QStringLiteral("recordButton"))->click();
        recordingPath = access.recording()->path();
    }
    counter.frames = 0;
    const double cpuStart = cpuSeconds();
    // Resident memory through the run, sampled every 10 s: a growing queue or leak shows here.
    QList<double> memory{residentMiB()};
    QTimer memorySampler;
    QObject::connect(&memorySampler, &QTimer::timeout, [&memory] { memory << residentMiB(); });
    memorySampler.start(10000);
    QElapsedTimer wall;
    wall.start();
    WriterStatistics during;
    QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &app, [&] {
        // The recording ends right on time, from inside the event loop as a click would.
        if (record) {
            during = access.recording()->writer()->statistics();
            window.findChild<QPushButton *>(QStringLiteral("recordButton"))->click();
        }
        QApplication::quit();
    });
    app.exec();
    const double cpu = cpuSeconds() - cpuStart;
    const double elapsed = wall.elapsed() / 1000.0;

    std::printf("live view 1920x1080@30 for %.1f s: CPU %.1f %% of one core, %d frames painted "
                "(%.1f per second), overlay showed \"%s\"\n",
                elapsed, 100.0 * cpu / elapsed, counter.frames, counter.frames / elapsed,
                qPrintable(window.findChild<QLabel *>(QStringLiteral("fpsLabel"))->text()));

    QStringList samples;
    for (double mib : memory)
        samples << QString::number(mib, 'f', 0);
    std::printf("resident memory every 10 s (MiB): %s\n",
                qPrintable(samples.join(QLatin1Char(' '))));

    if (record) {
        const WriterStatistics stats = access.recording()->writer()->statistics();
        const ProbeResult probe = probeVideo(recordingPath);
        std::printf("recording: writer wrote %d frames (%d duplicated, %d dropped) in %lld ms "
                    "before the stop\n",
                    stats.framesWritten, stats.framesDuplicated, stats.framesDropped,
                    static_cast<long long>(during.elapsedMs));
        if (probe.ok)
            std::printf("ffprobe: %s %dx%d at %s, %d frames, all decodable: %s\n",
                        qPrintable(probe.codec), probe.width, probe.height,
                        qPrintable(probe.frameRate), probe.frames,
                        probe.allDecodable ? "yes" : "no");
        else
            std::printf("ffprobe failed: %s\n", qPrintable(probe.error));
    }
    return 0;
}
