// The whole program's figures, through the real window on the synthetic camera.
//
//   ostrel_bench_live_view [scale=1]          every scenario in turn, each beside its target
//   ostrel_bench_live_view SCENARIO [seconds]  one scenario
//
// Each scenario runs in a child process of its own, so that one's threads and memory do not
// weigh on the next. A scenario opens the main window on a synthetic Motion-JPEG camera, starts
// it, lets it settle, and then shows the live view (and records through the record button) for
// the given time. It reports the process's CPU time with the synthetic camera's thread
// (ostrel-synth) left out, as a share of one core, the threads that used the most, the frames
// the window painted and resident memory every 10 s. A recording is judged by ffprobe and by the
// frame numbers the synthetic camera wrote into the sequence strip of every frame: a number that
// comes twice is a repeated slot, one skipped is a camera frame missing from the file. Run it
// under the display it is meant for (Xvfb or a desktop); with QT_QPA_PLATFORM=offscreen nothing
// is painted. scale multiplies every scenario's time.
#include "benchsupport.h"
#include "camerareference.h"
#include "clickingmicrophone.h"
#include "mainwindow.h"
#include "recordingcontroller.h"
#include "soundcapture.h"
#include "synthetic/testpattern.h"
#include "testsupport/ffprobe.h"
#include "testsupport/mainwindowaccess.h"
#include "videowriterthread.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

struct Scenario
{
    const char *name;
    const char *mode; // the synthetic camera's only format
    bool record;
    bool mirror;
    bool busyCore; // another process keeps one core busy meanwhile
    int seconds;
    const char *target;
    const char *fileFormat = "mjpeg-avi"; // the "recordingFormat" setting
    int noise = 0;                        // the synthetic camera's sensor noise
    bool sound = false; // a microphone that clicks with every thirtieth frame is recorded
};

const Scenario scenarios[] = {
    {"live", "1920x1080@30", false, false, false, 30, "CPU <= 25 % of one core"},
    {"record-pass", "1920x1080@30", true, false, false, 30, "CPU <= 35 %"},
    {"record-mirror", "1920x1080@30", true, true, false, 30, "CPU <= 60 %"},
    {"record-mirror-busy", "1920x1080@30", true, true, true, 60,
     "frames = round(T x F) +-1, 0 dropped, no gap"},
    {"record-4k-pass", "3840x2160@30", true, false, false, 30,
     "frames = round(T x F) +-1, 0 dropped, no gap, CPU well under 200 %"},
    {"record-60-mirror", "1920x1080@60", true, true, false, 20, "0 dropped, no gap"},
    {"stop-4k", "3840x2160@30", true, true, false, 10, "GUI event loop stall <= 100 ms"},
    // Camera-like noise, so that the codecs are compared on what a camera gives them.
    {"record-h264", "1920x1080@30", true, false, false, 60,
     "<= 1.5 MB/s at SSIM >= 0.95, CPU <= 100 %, frames exact, 0 dropped", "h264-mkv", 4},
    {"record-pass-noise", "1920x1080@30", true, false, false, 60, "beside H.264", "mjpeg-avi", 4},
    {"record-mirror-noise", "1920x1080@30", true, true, false, 60, "beside H.264", "mjpeg-avi", 4},
    {"record-h264-4k-30", "3840x2160@30", true, false, false, 30, "the highest rate held",
     "h264-mkv", 4},
    {"record-h264-4k-15", "3840x2160@15", true, false, false, 30, "the highest rate held",
     "h264-mkv", 4},
    {"record-h264-hour", "1920x1080@30", true, false, false, 3600,
     "frames exact, resident memory flat", "h264-mkv", 4},
    // Sound against picture: the click of a marked frame lies within a frame period of it, at
    // the start as after ten minutes.
    {"sound-sync", "1920x1080@30", true, false, false, 600, "offset <= 33 ms, no drift",
     "mjpeg-avi", 0, true},
    {"sound-sync-busy", "1920x1080@30", true, false, true, 600, "offset <= 33 ms, no drift",
     "mjpeg-avi", 0, true},
    {"sound-sync-h264", "1920x1080@30", true, false, false, 60, "offset <= 33 ms", "h264-mkv", 4,
     true},
};

const char *synthThreadName = "ostrel-synth";

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

using BenchSupport::ThreadCpu;

// What the sequence strip of every frame of a recording says.
struct StripReport
{
    int frames = 0;
    int unreadable = 0;
    int repeats = 0;                          // a slot that shows the frame before it again
    int gaps = 0;                             // places where camera frames are missing
    int missing = 0;                          // camera frames missing in all
    int backwards = 0;                        // a frame older than the one before it
    QList<std::optional<uint32_t>> sequences; // of every frame, in file order
};

StripReport readStrips(const QString &file, bool mirrored)
{
    // Only the strip is needed: the top sixteenth of the rows, scaled down to a small picture of
    // the same proportions. readSequence reads only those rows of a frame of sixteen times their
    // height.
    constexpr int width = 512, stripRows = 32;
    QString filter = QStringLiteral("crop=iw:ih/16:0:0,scale=%1:%2").arg(width).arg(stripRows);
    if (mirrored)
        filter.prepend(QStringLiteral("hflip,"));
    QProcess ffmpeg;
    ffmpeg.start(
        QStandardPaths::findExecutable(QStringLiteral("ffmpeg")),
        {"-v", "error", "-i", file, "-vf", filter, "-f", "rawvideo", "-pix_fmt", "rgb24", "-"});
    QByteArray raw;
    while (ffmpeg.waitForReadyRead(60000) || ffmpeg.state() == QProcess::Running)
        raw += ffmpeg.readAllStandardOutput();
    ffmpeg.waitForFinished(60000);
    raw += ffmpeg.readAllStandardOutput();

    StripReport report;
    const qsizetype frameBytes = qsizetype(width) * stripRows * 3;
    std::optional<uint32_t> previous;
    for (qsizetype at = 0; at + frameBytes <= raw.size(); at += frameBytes) {
        ++report.frames;
        const auto sequence = ostrel::capture::TestPattern::readSequence(
            reinterpret_cast<const uint8_t *>(raw.constData() + at), width, 16 * stripRows,
            3 * width);
        report.sequences << sequence;
        if (!sequence) {
            ++report.unreadable;
            continue;
        }
        if (previous && *sequence == *previous)
            ++report.repeats;
        else if (previous && *sequence < *previous)
            ++report.backwards;
        else if (previous && *sequence > *previous + 1) {
            ++report.gaps;
            report.missing += int(*sequence - *previous - 1);
        }
        previous = sequence;
    }
    return report;
}

// Counts the frames the window paints in its video area.
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

// Stops a mirrored 3840x2160 recording and reports the longest time the GUI event loop went
// without running, from the click until the file was finished.
void measureStopStall(QPushButton *record, TestMainWindowAccess &access)
{
    qint64 longestGap = 0;
    qint64 last = 0;
    QElapsedTimer clock;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGap = std::max(longestGap, now - last);
        last = now;
    });
    ticker.start(1);
    clock.start();
    record->click();
    const qint64 clickReturned = clock.elapsed();
    last = clickReturned;
    while (access.recording()->state() != Recorder::State::Idle)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    std::printf("  stop: the click returned after %lld ms, the file was finished after %lld ms, "
                "longest GUI event-loop stall %lld ms\n",
                static_cast<long long>(clickReturned), static_cast<long long>(clock.elapsed()),
                static_cast<long long>(std::max(longestGap, clickReturned)));
}

void reportCpu(const QMap<QString, ThreadCpu> &before, const QMap<QString, ThreadCpu> &after,
               double processCpu, double elapsed)
{
    double synth = 0.0;
    QList<QPair<double, QString>> busiest;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const double used = it->seconds - before.value(it.key()).seconds;
        if (it->name == QLatin1String(synthThreadName))
            synth += used;
        else
            busiest.append({used, it->name});
    }
    std::sort(busiest.begin(), busiest.end(), std::greater<>());
    QStringList top;
    for (const auto &[used, name] : busiest.mid(0, 5))
        top << QStringLiteral("%1 %2 %").arg(name).arg(100.0 * used / elapsed, 0, 'f', 1);
    std::printf("  CPU without %s: %.1f %% of one core (%s thread: %.1f %%); busiest threads: %s\n",
                synthThreadName, 100.0 * (processCpu - synth) / elapsed, synthThreadName,
                100.0 * synth / elapsed, qPrintable(top.join(QStringLiteral(", "))));
}

void reportRecording(const QString &path, const WriterStatistics &stats, double fps,
                     const Scenario &scenario)
{
    const bool mirrored = scenario.mirror;
    const ProbeResult probe = probeVideo(path);
    const int expected = int(std::lround(double(stats.elapsedMs) / 1000.0 * fps));
    std::printf("  recording of %.3f s: writer wrote %d frames (%d repeated, %d dropped); ffprobe "
                "%d frames (round(T x F) = %d, off by %d), %s, all decodable: %s\n",
                double(stats.elapsedMs) / 1000.0, stats.framesWritten, stats.framesDuplicated,
                stats.framesDropped, probe.frames, expected, probe.frames - expected,
                qPrintable(probe.frameRate), probe.allDecodable ? "yes" : "no");
    const StripReport strip = readStrips(path, mirrored);
    std::printf("  sequence strip: %d frames read, %d unreadable, %d repeated slots, %d gaps "
                "(%d camera frames missing), %d out of order\n",
                strip.frames, strip.unreadable, strip.repeats, strip.gaps, strip.missing,
                strip.backwards);
    const double seconds = double(stats.elapsedMs) / 1000.0;
    std::printf("  file: %.1f MB, %.2f MB/s, %.0f MB per minute\n", stats.bytesWritten / 1e6,
                stats.bytesWritten / 1e6 / seconds, stats.bytesWritten / 1e6 / seconds * 60);
    // An hour's SSIM would take as long again; the shorter runs tell it. The sound scenarios
    // measure sound, not picture.
    if (stats.elapsedMs <= 600000 && !scenario.sound) {
        const QSize size(QString::fromLatin1(scenario.mode).section(QLatin1Char('x'), 0, 0).toInt(),
                         QString::fromLatin1(scenario.mode)
                             .section(QLatin1Char('x'), 1)
                             .section(QLatin1Char('@'), 0, 0)
                             .toInt());
        std::printf("  SSIM against the camera's frames: %.4f\n",
                    CameraReference::ssim(path, size, strip.sequences, mirrored, scenario.noise));
    }
}

// The clicks against their frames: at the start, at the end, and throughout.
void reportSoundSync(const QString &path, double fps, const Scenario &scenario)
{
    const StripReport strip = readStrips(path, scenario.mirror);
    const QList<double> offsets = clickOffsets(path, strip.sequences, fps);
    if (offsets.size() < 4) {
        std::printf("  sound: only %lld clicks found\n", qlonglong(offsets.size()));
        return;
    }
    const auto mean = [](const QList<double> &values) {
        double sum = 0;
        for (double value : values)
            sum += value;
        return sum / double(values.size());
    };
    const qsizetype minute = std::min<qsizetype>(60, offsets.size() / 2);
    double worst = 0;
    for (double offset : offsets)
        worst = std::max(worst, std::abs(offset));
    std::printf("  sound against picture (ms, sound later when positive): %lld marked frames, "
                "mean of the first minute %.1f, of the last minute %.1f (drift %.1f), worst "
                "%.1f\n",
                qlonglong(offsets.size()), mean(offsets.mid(0, minute)),
                mean(offsets.mid(offsets.size() - minute)),
                mean(offsets.mid(offsets.size() - minute)) - mean(offsets.mid(0, minute)), worst);
}

int runScenario(const Scenario &scenario, int seconds, int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The window's own settings, in the test location apart from the user's.
    prepareWindowTestApplication();
    QTemporaryDir dir;
    {
        QSettings settings(QString::fromLatin1(AppInfo::organisation),
                           QString::fromLatin1(AppInfo::name));
        settings.clear();
        settings.setValue(QStringLiteral("recordingDirectory"), dir.path());
        settings.setValue(QStringLiteral("snapshotDirectory"), dir.path());
        settings.setValue(QStringLiteral("horizontalFlip"), scenario.mirror);
        settings.setValue(QStringLiteral("recordingFormat"),
                          QString::fromLatin1(scenario.fileFormat));
        // The bench's own disk is not to stop an hour's recording.
        settings.setValue(QStringLiteral("minFreeMegabytes"), 0);
    }
    MainWindow window;
    TestMainWindowAccess access(window);
    window.show();
    access.scan();
    auto *startStop = window.findChild<QPushButton *>(QStringLiteral("startStopButton"));
    auto *record = window.findChild<QPushButton *>(QStringLiteral("recordButton"));
    const auto clicks = std::make_shared<ClickTimes>();
    if (scenario.sound) {
        access.camera()->setFrameFactsCallback([clicks](const CameraBase::FrameFacts &facts) {
            if (facts.sequence % 30 == 0)
                clicks->add(qint64(facts.timestampUs) * 1000);
        });
        SoundCapture *sound = access.session()->sound();
        sound->setSourceFactory([clicks](const AudioSourceInfo &) {
            return std::unique_ptr<AudioSource>(std::make_unique<ClickingMicrophone>(clicks));
        });
        // Once the window has looked up the camera's own choice, the microphone takes its place.
        QObject::connect(sound, &SoundCapture::sourceChosen, sound, [sound] {
            sound->setSource(
                AudioSourceInfo{"clicks", "Clicks", {ClickingMicrophone::rate, 1}, {}, false});
        });
    }
    startStop->click();
    if (startStop->text() != QStringLiteral("Stop Camera")) {
        std::fprintf(stderr, "the synthetic camera did not start\n");
        return 1;
    }
    FrameCounter counter;
    window.findChild<QWidget *>(QStringLiteral("videoLabel"))->installEventFilter(&counter);
    BenchSupport::runEventLoop(1500); // the stream settles

    QProcess busy;
    if (scenario.busyCore)
        busy.start(QStringLiteral("sh"), {"-c", "while :; do :; done"});
    QString path;
    if (scenario.record) {
        record->click();
        path = access.recording()->path();
    }
    counter.frames = 0;
    const QMap<QString, ThreadCpu> threadsBefore = BenchSupport::threadCpu();
    const double cpuBefore = BenchSupport::processCpuSeconds();
    QList<double> memory{residentMiB()};
    QTimer memorySampler;
    QObject::connect(&memorySampler, &QTimer::timeout, [&memory] { memory << residentMiB(); });
    const int sampleSeconds = seconds > 600 ? 60 : 10;
    memorySampler.start(sampleSeconds * 1000);
    QElapsedTimer wall;
    wall.start();
    BenchSupport::runEventLoop(seconds * 1000);
    const double elapsed = double(wall.elapsed()) / 1000.0;
    const double cpu = BenchSupport::processCpuSeconds() - cpuBefore;
    const QMap<QString, ThreadCpu> threadsAfter = BenchSupport::threadCpu();
    const int painted = counter.frames;

    if (scenario.record && qstrcmp(scenario.name, "stop-4k") == 0) {
        measureStopStall(record, access);
    } else if (scenario.record) {
        record->click();
        while (access.recording()->state() != Recorder::State::Idle)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (busy.state() != QProcess::NotRunning) {
        busy.kill();
        busy.waitForFinished();
    }

    reportCpu(threadsBefore, threadsAfter, cpu, elapsed);
    std::printf("  %d frames painted in %.1f s (%.1f per second), overlay \"%s\"\n", painted,
                elapsed, painted / elapsed,
                qPrintable(window.findChild<QLabel *>(QStringLiteral("fpsLabel"))->text()));
    QStringList samples;
    for (double mib : memory)
        samples << QString::number(mib, 'f', 0);
    std::printf("  resident memory every %d s (MiB): %s\n", sampleSeconds,
                qPrintable(samples.join(QLatin1Char(' '))));
    if (scenario.record && qstrcmp(scenario.name, "stop-4k") != 0) {
        const double fps =
            QString::fromLatin1(scenario.mode).section(QLatin1Char('@'), 1).toDouble();
        reportRecording(path, access.recording()->writer()->statistics(), fps, scenario);
        if (scenario.sound)
            reportSoundSync(path, fps, scenario);
    }
    std::fflush(stdout);
    return 0;
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly)
               ? QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2)
               : QString();
}

// Runs every scenario in a child process of its own, one after the other.
int runAll(double scale)
{
    const QString program = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    for (const Scenario &scenario : scenarios) {
        // The hour-long recording runs only when named.
        if (scenario.seconds > 600)
            continue;
        const int seconds = std::max(1, int(std::lround(scenario.seconds * scale)));
        std::printf("%s: %s, %s%s%s, %d s (target: %s; load average before: %s)\n", scenario.name,
                    scenario.mode, scenario.record ? "recording" : "live view",
                    scenario.mirror ? ", mirrored" : (scenario.record ? ", pass-through" : ""),
                    scenario.busyCore ? ", one core kept busy" : "", seconds, scenario.target,
                    qPrintable(loadAverage()));
        std::fflush(stdout);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("OSTREL_SYNTHETIC_CAMERAS"),
                           QStringLiteral("Bench Camera=%1:MJPG").arg(scenario.mode));
        environment.insert(QStringLiteral("OSTREL_SYNTHETIC_NOISE"),
                           QString::number(scenario.noise));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(program, {QString::fromLatin1(scenario.name), QString::number(seconds)});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            std::printf("  the scenario failed\n");
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const QByteArray first = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    for (const Scenario &scenario : scenarios) {
        if (first == scenario.name) {
            const int seconds = BenchSupport::positiveArgument(argc, argv, 2, scenario.seconds);
            if (qEnvironmentVariableIsEmpty("OSTREL_SYNTHETIC_CAMERAS"))
                qputenv("OSTREL_SYNTHETIC_CAMERAS",
                        QByteArray("Bench Camera=") + scenario.mode + ":MJPG");
            qputenv("OSTREL_SYNTHETIC_NOISE", QByteArray::number(scenario.noise));
            return runScenario(scenario, seconds, argc, argv);
        }
    }
    if (first == "anchor") {
        std::printf("anchor: the recorder's H.264 settings through the ffmpeg command line\n");
        CameraReference::printAnchor(QSize(1920, 1080), 300, 4);
        return 0;
    }
    const double scale = first.isEmpty() ? 1.0 : first.toDouble();
    if (!(scale > 0)) {
        std::fprintf(stderr, "usage: %s [scale] | %s SCENARIO [seconds]\n", argv[0], argv[0]);
        return 2;
    }
    return runAll(scale);
}
