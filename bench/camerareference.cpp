#include "camerareference.h"

#include "jpegencoder.h"
#include "synthetic/testpattern.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace CameraReference {

QImage frame(QSize size, uint32_t sequence, int noise)
{
    // A pattern per size and noise is costly to prepare; benchmarks ask for one kind at a time.
    static std::unique_ptr<ostrel::capture::TestPattern> pattern;
    static QSize patternSize;
    static int patternNoise = -1;
    if (!pattern || patternSize != size || patternNoise != noise) {
        pattern = std::make_unique<ostrel::capture::TestPattern>(uint32_t(size.width()),
                                                                 uint32_t(size.height()));
        pattern->setNoise(noise);
        patternSize = size;
        patternNoise = noise;
    }
    QImage rgb(size, QImage::Format_RGB888);
    pattern->render(sequence, rgb.bits());
    static JpegEncoder encoder(85);
    QByteArray jpeg;
    QString error;
    if (!encoder.encode(rgb, &jpeg, &error))
        return QImage();
    return QImage::fromData(jpeg, "JPG").convertToFormat(QImage::Format_RGB888);
}

namespace {

QString ffmpegPath()
{
    return QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
}

QStringList rawInput(QSize size, const char *pixelFormat)
{
    return {"-f",        "rawvideo", "-pix_fmt",
            pixelFormat, "-s",       QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
            "-r",        "30",       "-i"};
}

} // namespace

double ssim(const QString &recording, QSize size, const QList<std::optional<uint32_t>> &sequences,
            bool mirrored, int noise)
{
    QProcess ffmpeg;
    const QString filter =
        mirrored ? QStringLiteral("[1:v]hflip[r];[0:v][r]ssim") : QStringLiteral("[0:v][1:v]ssim");
    ffmpeg.start(ffmpegPath(), QStringList{"-v", "info", "-nostats", "-i", recording} +
                                   rawInput(size, "rgb24") +
                                   QStringList{"-", "-lavfi", filter, "-f", "null", "-"});
    if (!ffmpeg.waitForStarted())
        return -1;
    uint32_t last = 0;
    for (const std::optional<uint32_t> &sequence : sequences) {
        last = sequence.value_or(last);
        const QImage reference = frame(size, last, noise);
        for (int row = 0; row < reference.height(); ++row)
            ffmpeg.write(reinterpret_cast<const char *>(reference.constScanLine(row)),
                         qint64(reference.width()) * 3);
        while (ffmpeg.bytesToWrite() > 64 * 1024 * 1024)
            ffmpeg.waitForBytesWritten(60000);
    }
    ffmpeg.closeWriteChannel();
    ffmpeg.waitForFinished(-1);
    const QString log = QString::fromLocal8Bit(ffmpeg.readAllStandardError());
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("All:([0-9.]+)")).match(log);
    return match.hasMatch() ? match.captured(1).toDouble() : -1;
}

void printAnchor(QSize size, int frames, int noise)
{
    QTemporaryDir dir;
    const QString raw = dir.filePath(QStringLiteral("camera.rgb"));
    QFile file(raw);
    if (!file.open(QIODevice::WriteOnly))
        return;
    for (int i = 0; i < frames; ++i) {
        const QImage reference = frame(size, uint32_t(i), noise);
        file.write(reinterpret_cast<const char *>(reference.constBits()), reference.sizeInBytes());
    }
    file.close();
    const QString out = dir.filePath(QStringLiteral("anchor.mkv"));
    QProcess ffmpeg;
    ffmpeg.start(ffmpegPath(), QStringList{"-v", "info", "-nostats", "-benchmark"} +
                                   rawInput(size, "rgb24") +
                                   QStringList{raw, "-c:v", "libx264", "-preset", "ultrafast",
                                               "-crf", "26", "-g", "60", "-x264-params",
                                               "scenecut=0", "-pix_fmt", "yuvj420p", "-y", out});
    QElapsedTimer wall;
    wall.start();
    ffmpeg.waitForFinished(-1);
    const double seconds = wall.elapsed() / 1000.0;
    const QString log = QString::fromLocal8Bit(ffmpeg.readAllStandardError());
    const QRegularExpressionMatch cpu =
        QRegularExpression(QStringLiteral("utime=([0-9.]+)s stime=([0-9.]+)s")).match(log);
    const double megabytesPerSecond = QFileInfo(out).size() / 1e6 / (frames / 30.0);
    std::printf("  anchor, ffmpeg -c:v libx264 -preset ultrafast -crf 26 -g 60 on the same %d "
                "camera frames (%dx%d): %.1f fps, CPU %.1f s (%.0f %% of one core), %.2f MB/s "
                "at 30 fps\n",
                frames, size.width(), size.height(), frames / seconds,
                cpu.hasMatch() ? cpu.captured(1).toDouble() + cpu.captured(2).toDouble() : -1.0,
                cpu.hasMatch()
                    ? 100.0 * (cpu.captured(1).toDouble() + cpu.captured(2).toDouble()) / seconds
                    : -1.0,
                megabytesPerSecond);
}

} // namespace CameraReference
