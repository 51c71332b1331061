// Writer benchmark.
//
// 1. Throughput: for 1280x720, 1920x1080 and 3840x2160, frames per second the writer encodes when
//    a producer feeds it as fast as it can and no pacing holds it back, beside the same frames
//    encoded by libjpeg-turbo on one thread and by the ffmpeg command-line MJPEG encoder with two
//    threads, in the same run.
// 2. A paced recording at 1920x1080 and 30 fps fed by a producer at 30 fps: frames written,
//    duplicated and dropped, and the frame count of the file as ffprobe reads it.
//
// Usage: ostrel_bench_writer [seconds per throughput run, default 5] [paced seconds, default 20]

#include "benchsupport.h"
#include "jpegencoder.h"
#include "videowriterthread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

namespace {

const int mjpg = 'M' | ('J' << 8) | ('P' << 16) | ('G' << 24);
constexpr int distinctFrames = 8;

QTextStream out(stdout);

// Camera-like content: smooth gradients with a moving bright disc and mild noise, so that JPEG
// has neither a trivially flat nor an incompressible picture to work on.
QImage makeFrame(const QSize &size, int index)
{
    QImage frame(size, QImage::Format_RGB888);
    const int cx = size.width() * (index + 1) / (distinctFrames + 1);
    const int cy = size.height() / 2;
    const int radius = size.height() / 6;
    quint32 noise = 12345u + quint32(index);
    for (int y = 0; y < size.height(); ++y) {
        uchar *row = frame.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int n = int(noise >> 28) - 8;
            const bool inDisc = (x - cx) * (x - cx) + (y - cy) * (y - cy) < radius * radius;
            row[3 * x] = uchar(qBound(0, (inDisc ? 240 : x * 255 / size.width()) + n, 255));
            row[3 * x + 1] = uchar(qBound(0, (inDisc ? 220 : y * 255 / size.height()) + n, 255));
            row[3 * x + 2] = uchar(qBound(0, 128 + n, 255));
        }
    }
    return frame;
}

bool runTool(const QString &tool, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(tool), arguments);
    if (!process.waitForFinished(600000))
        return false;
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

int probeFrames(const QString &file)
{
    QByteArray output;
    if (!runTool("ffprobe",
                 {"-v", "error", "-select_streams", "v:0", "-count_frames", "-show_entries",
                  "stream=nb_read_frames", "-of", "csv=p=0", file},
                 &output))
        return -1;
    return output.trimmed().toInt();
}

struct ffmpegRun
{
    double fps = 0.0;
    qint64 bytesPerFrame = 0;
};

// Encodes the raw RGB frames in raw, repeated, with ffmpeg's MJPEG encoder into an AVI file.
ffmpegRun ffmpegEncode(const QString &raw, const QString &sizeText, int repeat,
                       const QString &quality, const QString &dir)
{
    const QString file = dir + QStringLiteral("/ffmpeg.avi");
    QStringList arguments = {"-v",
                             "error",
                             "-y",
                             "-stream_loop",
                             QString::number(repeat - 1),
                             "-f",
                             "rawvideo",
                             "-pix_fmt",
                             "rgb24",
                             "-s",
                             sizeText,
                             "-r",
                             "30",
                             "-i",
                             raw,
                             "-c:v",
                             "mjpeg",
                             "-threads",
                             "2"};
    if (!quality.isEmpty())
        arguments << "-q:v" << quality;
    arguments << "-f"
              << "avi" << file;
    QElapsedTimer clock;
    clock.start();
    ffmpegRun result;
    if (runTool("ffmpeg", arguments)) {
        const int frames = repeat * distinctFrames;
        result.fps = frames / (clock.elapsed() / 1000.0);
        result.bytesPerFrame = QFile(file).size() / frames;
    }
    QFile::remove(file);
    return result;
}

// Frames per second libjpeg-turbo encodes on one thread, with the writer's own settings.
double singleThreadEncode(const QList<QImage> &frames, int seconds)
{
    JpegEncoder encoder;
    QByteArray jpeg;
    QString error;
    QElapsedTimer clock;
    clock.start();
    int encoded = 0;
    while (clock.elapsed() < seconds * 1000) {
        if (!encoder.encode(frames[encoded % frames.size()], &jpeg, &error))
            return 0.0;
        ++encoded;
    }
    return encoded * 1000.0 / double(clock.elapsed());
}

// Runs the writer at a rate its encoders cannot quite reach (twice what libjpeg-turbo manages
// on one thread, with one encoder per core on this two-core machine) while a producer keeps a
// few frames queued ahead of it, so that the writer always has a new frame and pays for every
// enqueue copy, but the producer does not burn the CPU the encoder needs on copies that would
// only be dropped. The rate is not set far higher: every slot the encoders miss is filled with a
// repeat of the last frame, whose writing would then be measured too.
void writerThroughput(const QSize &size, int seconds, const QString &dir)
{
    QList<QImage> frames;
    for (int i = 0; i < distinctFrames; ++i)
        frames.append(makeFrame(size, i));
    const QString file =
        dir + QStringLiteral("/writer_%1x%2.avi").arg(size.width()).arg(size.height());

    VideoWriterThread writer;
    const double turboFps = singleThreadEncode(frames, seconds);
    const double declaredFps = std::max(1.0, std::round(2 * turboFps));
    if (!writer.startWriting(file, mjpg, declaredFps, size))
        return;
    writer.start();
    while (writer.statistics().elapsedMs == 0)
        QThread::msleep(1);

    std::atomic<bool> stop{false};
    std::thread producer([&] {
        constexpr int backlog = 4;
        for (int added = 0; !stop;) {
            const WriterStatistics now = writer.statistics();
            if (added - (now.framesWritten - now.framesDuplicated) < backlog) {
                writer.addFrame(frames[added % distinctFrames]);
                ++added;
            } else {
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            }
        }
    });
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const WriterStatistics stats = writer.statistics();
    stop = true;
    producer.join();
    QElapsedTimer stopClock;
    stopClock.start();
    writer.stopWriting();
    const qint64 stopMs = stopClock.elapsed();

    // New frames only: the slots the encoders could not fill in time repeat the last frame.
    const double writerFps =
        1000.0 * (stats.framesWritten - stats.framesDuplicated) / double(stats.elapsedMs);
    const int fileFrames = probeFrames(file);
    const qint64 bytesPerFrame = fileFrames > 0 ? QFile(file).size() / fileFrames : 0;

    // The same distinct frames, as raw RGB, through ffmpeg's MJPEG encoder. The raw input is
    // repeated so that the run lasts long enough to time.
    const QString raw = dir + QStringLiteral("/frames_%1.rgb").arg(size.width());
    const int repeat = std::max(1, int(std::lround(writerFps * seconds)) / distinctFrames);
    {
        QFile rawFile(raw);
        if (!rawFile.open(QIODevice::WriteOnly))
            return;
        for (const QImage &frame : std::as_const(frames))
            for (int y = 0; y < size.height(); ++y)
                rawFile.write(reinterpret_cast<const char *>(frame.constScanLine(y)),
                              size.width() * 3);
    }
    const QString sizeText = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    out << QStringLiteral("%1  writer %2 fps (at %8 fps: %3 written, %4 repeated, %5 dropped, "
                          "%6 KiB/frame, stop %7 ms)\n")
               .arg(sizeText, -9)
               .arg(writerFps, 6, 'f', 1)
               .arg(stats.framesWritten)
               .arg(stats.framesDuplicated)
               .arg(stats.framesDropped)
               .arg(bytesPerFrame / 1024)
               .arg(stopMs)
               .arg(declaredFps);
    out << QStringLiteral("%1  libjpeg-turbo, one thread %2 fps  writer/turbo %3\n")
               .arg(QString(), -9)
               .arg(turboFps, 6, 'f', 1)
               .arg(turboFps > 0 ? writerFps / turboFps : 0.0, 0, 'f', 2);
    // ffmpeg's default MJPEG quality is far below what the writer produces; -q:v 3 comes close
    // to the writer's frame sizes and so to the same amount of work.
    for (const QString &quality : {QString(), QStringLiteral("3")}) {
        const ffmpegRun run = ffmpegEncode(raw, sizeText, repeat, quality, dir);
        out << QStringLiteral("%1  ffmpeg 2 threads %2 %3 fps (%4 KiB/frame)  writer/ffmpeg %5\n")
                   .arg(QString(), -9)
                   .arg(quality.isEmpty() ? QStringLiteral("default") : "-q:v " + quality, -8)
                   .arg(run.fps, 6, 'f', 1)
                   .arg(run.bytesPerFrame / 1024)
                   .arg(run.fps > 0 ? writerFps / run.fps : 0.0, 0, 'f', 2);
    }
    QFile::remove(raw);
    out.flush();
    QFile::remove(file);
}

void pacedRecording(const QSize &size, int seconds, const QString &dir)
{
    QList<QImage> frames;
    for (int i = 0; i < distinctFrames; ++i)
        frames.append(makeFrame(size, i));
    const QString file = dir + QStringLiteral("/paced.avi");

    VideoWriterThread writer;
    if (!writer.startWriting(file, mjpg, 30.0, size))
        return;
    const double cpuBefore = BenchSupport::processCpuSeconds();
    writer.start();
    while (writer.statistics().elapsedMs == 0)
        QThread::msleep(1);

    // A camera at 30 fps delivers a frame every 33.3 ms.
    std::atomic<bool> stop{false};
    std::thread producer([&] {
        auto next = std::chrono::steady_clock::now();
        for (int i = 0; !stop; ++i) {
            writer.addFrame(frames[i % distinctFrames]);
            next += std::chrono::microseconds(33333);
            std::this_thread::sleep_until(next);
        }
    });
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    stop = true;
    producer.join();
    const WriterStatistics stats = writer.statistics();
    QElapsedTimer stopClock;
    stopClock.start();
    writer.stopWriting();
    const qint64 stopMs = stopClock.elapsed();
    const double cpu = BenchSupport::processCpuSeconds() - cpuBefore;
    const int fileFrames = probeFrames(file);

    out << QStringLiteral("paced %1x%2 @30 for %3 ms: written %4 (expected %5), duplicated %6, "
                          "dropped %7, file frames by ffprobe %8, stop %9 ms, CPU %10 % of one "
                          "core, %11 KiB/frame\n")
               .arg(size.width())
               .arg(size.height())
               .arg(stats.elapsedMs)
               .arg(stats.framesWritten)
               .arg(stats.elapsedMs * 30 / 1000)
               .arg(stats.framesDuplicated)
               .arg(stats.framesDropped)
               .arg(fileFrames)
               .arg(stopMs)
               .arg(100.0 * cpu / (stats.elapsedMs / 1000.0), 0, 'f', 0)
               .arg(fileFrames > 0 ? QFile(file).size() / fileFrames / 1024 : 0);
    out.flush();
    QFile::remove(file);
}

std::atomic<int> warningCount{0};

// The writer's warnings (queue trims while it cannot keep up) would drown the figures.
void countWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtWarningMsg)
        ++warningCount;
    else
        fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(countWarnings);
    const int throughputSeconds = BenchSupport::positiveArgument(argc, argv, 1, 5);
    const int pacedSeconds = BenchSupport::positiveArgument(argc, argv, 2, 20);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    out << "Writer throughput, unpaced producer (ffmpeg: same frames, MJPEG encoder, same run)\n";
    for (const QSize &size : {QSize(1280, 720), QSize(1920, 1080), QSize(3840, 2160)})
        writerThroughput(size, throughputSeconds, dir.path());
    pacedRecording(QSize(1920, 1080), pacedSeconds, dir.path());
    out << "writer warnings: " << warningCount << "\n";
    return 0;
}
