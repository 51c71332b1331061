#include "ffprobe.h"

#include "synthetic/testpattern.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTransform>

namespace {

QString ffprobePath()
{
    const QString configured = QStringLiteral(OSTREL_FFPROBE);
    if (!configured.isEmpty() && QFileInfo::exists(configured))
        return configured;
    return QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
}

QString ffmpegPath()
{
    const QString probe = ffprobePath();
    const QString sibling = QFileInfo(probe).absolutePath() + QStringLiteral("/ffmpeg");
    if (!probe.isEmpty() && QFileInfo::exists(sibling))
        return sibling;
    return QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
}

bool run(const QString &program, const QStringList &arguments, QByteArray *out, QByteArray *err)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    *out = process.readAllStandardOutput();
    *err = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// A command line's words, with path in place of FILE.
QStringList arguments(const char *line, const QString &path)
{
    return QString::fromLatin1(line).split(QLatin1Char(' ')).replaceInStrings("FILE", path);
}

} // namespace

bool ffprobeAvailable()
{
    return !ffprobePath().isEmpty() && !ffmpegPath().isEmpty();
}

ProbeResult probeVideo(const QString &path)
{
    ProbeResult result;
    if (!ffprobeAvailable()) {
        result.error = QStringLiteral("ffprobe or ffmpeg not found");
        return result;
    }
    QByteArray out;
    QByteArray err;
    const QStringList probeArgs = arguments(
        "-v error -select_streams v:0 -count_frames -show_entries "
        "stream=codec_name,width,height,r_frame_rate,nb_read_frames,nb_frames -of json FILE",
        path);
    if (!run(ffprobePath(), probeArgs, &out, &err)) {
        result.error = QString::fromUtf8(err);
        return result;
    }
    const QJsonArray streams = QJsonDocument::fromJson(out).object().value("streams").toArray();
    if (streams.isEmpty()) {
        result.error = QStringLiteral("no video stream");
        return result;
    }
    const QJsonObject stream = streams.first().toObject();
    result.codec = stream.value("codec_name").toString();
    result.width = stream.value("width").toInt();
    result.height = stream.value("height").toInt();
    result.frameRate = stream.value("r_frame_rate").toString();
    result.frames = stream.value("nb_read_frames").toString(QStringLiteral("-1")).toInt();
    result.declaredFrames = stream.value("nb_frames").toString(QStringLiteral("-1")).toInt();

    // A full decode that reports any error means at least one frame is damaged.
    const QStringList decodeArgs = arguments("-v error -xerror -i FILE -f null -", path);
    result.allDecodable = run(ffmpegPath(), decodeArgs, &out, &err) && err.trimmed().isEmpty();
    result.ok = true;
    return result;
}

QList<QImage> decodeFrames(const QString &path, QSize size)
{
    QByteArray out;
    QByteArray err;
    const QStringList args = arguments("-v error -i FILE -f rawvideo -pix_fmt rgb24 -", path);
    QList<QImage> frames;
    if (size.isEmpty() || !run(ffmpegPath(), args, &out, &err))
        return frames;
    const qsizetype frameBytes = qsizetype(size.width()) * size.height() * 3;
    for (qsizetype offset = 0; offset + frameBytes <= out.size(); offset += frameBytes) {
        frames << QImage(reinterpret_cast<const uchar *>(out.constData() + offset), size.width(),
                         size.height(), size.width() * 3, QImage::Format_RGB888)
                      .copy();
    }
    return frames;
}

QList<uint32_t> recordedSequences(const QString &path, QSize size, int angle)
{
    QList<uint32_t> sequences;
    for (const QImage &frame : decodeFrames(path, size)) {
        const QImage upright = frame.transformed(QTransform().rotate(-angle));
        const auto sequence = ostrel::capture::TestPattern::readSequence(
            upright.constBits(), uint32_t(upright.width()), uint32_t(upright.height()),
            size_t(upright.bytesPerLine()));
        if (sequence)
            sequences << *sequence;
    }
    return sequences;
}

SoundProbe probeSound(const QString &path)
{
    SoundProbe result;
    QByteArray out;
    QByteArray err;
    const QStringList probeArgs =
        arguments("-v error -show_entries "
                  "stream=codec_type,codec_name,sample_rate,channels,start_time,nb_frames "
                  "-of json FILE",
                  path);
    if (!run(ffprobePath(), probeArgs, &out, &err))
        return result;
    for (const QJsonValue &value :
         QJsonDocument::fromJson(out).object().value("streams").toArray()) {
        const QJsonObject stream = value.toObject();
        const double start = stream.value("start_time").toString().toDouble();
        if (stream.value("codec_type").toString() == QLatin1String("video")) {
            result.videoStartS = start;
        } else if (result.codec.isEmpty()) {
            result.codec = stream.value("codec_name").toString();
            result.sampleRate = stream.value("sample_rate").toString().toInt();
            result.channels = stream.value("channels").toInt();
            result.startS = start;
            result.declaredSamples = stream.value("nb_frames").toString("-1").toInt();
        }
    }
    if (!result.codec.isEmpty())
        run(ffmpegPath(), arguments("-v error -i FILE -map 0:a:0 -f s16le -ac 1 -", path),
            &result.mono, &err);
    return result;
}
