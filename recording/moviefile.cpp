#include "moviefile.h"

#include "libavsupport.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
}

#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace {

const char *formatFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("mkv"))
        return "matroska";
    if (suffix == QLatin1String("mp4"))
        return "mp4";
    return nullptr;
}

} // namespace

MovieFile::MovieFile() = default;

MovieFile::~MovieFile()
{
    if (context)
        finish();
}

bool MovieFile::isMovieFile(const QString &path)
{
    return formatFor(path) != nullptr;
}

QString MovieFile::open(const QString &path, const QSize &size, FrameRateFraction rate,
                        const QByteArray &extradata, FrameRateFraction timeBase,
                        const AudioFormat &audio, RecordingOptions::AudioCodec audioCodec)
{
    const char *format = formatFor(path);
    if (!format)
        return QStringLiteral("Not a Matroska or MP4 file name: %1").arg(path);
    FormatContextHandle opened;
    AVStream *stream = nullptr;
    const QString created =
        createVideoOutput(path, format, rate.numerator, rate.denominator, timeBase.numerator,
                          timeBase.denominator, &opened, &stream);
    if (!created.isEmpty())
        return created;
    packet.reset(av_packet_alloc());
    if (!packet)
        return avErrorText(AVERROR(ENOMEM));
    AVFormatContext *raw = opened.get();
    const QByteArray file = path.toUtf8();
    AVCodecParameters *codec = stream->codecpar;
    codec->codec_id = AV_CODEC_ID_H264;
    codec->width = size.width();
    codec->height = size.height();
    codec->format = AV_PIX_FMT_YUV420P;
    if (!extradata.isEmpty()) {
        codec->extradata = static_cast<uint8_t *>(
            av_mallocz(size_t(extradata.size()) + AV_INPUT_BUFFER_PADDING_SIZE));
        if (!codec->extradata)
            return avErrorText(AVERROR(ENOMEM));
        std::memcpy(codec->extradata, extradata.constData(), size_t(extradata.size()));
        codec->extradata_size = int(extradata.size());
    }
    sound.reset();
    if (audio.isValid()) {
        auto encoder = std::make_unique<AudioEncoder>();
        AVStream *soundStream = avformat_new_stream(raw, nullptr);
        QString error =
            soundStream ? encoder->open(audio, audioCodec) : avErrorText(AVERROR(ENOMEM));
        if (error.isEmpty())
            error = encoder->describe(soundStream->codecpar);
        if (!error.isEmpty())
            return QStringLiteral("sound: %1").arg(error);
        soundStream->time_base = AVRational{1, audio.sampleRate};
        sampleRate = audio.sampleRate;
        sound = std::move(encoder);
    }

    // What a killed program leaves behind must play: every packet goes to the file at once,
    // Matroska closes a cluster at least every second, MP4 is written as fragments of a second,
    // with the index of the fragments at the end.
    raw->flags |= AVFMT_FLAG_FLUSH_PACKETS;
    AVDictionary *options = nullptr;
    if (qstrcmp(format, "matroska") == 0) {
        av_dict_set(&options, "cluster_time_limit", "1000", 0);
    } else {
        av_dict_set(&options, "movflags", "empty_moov+default_base_moof", 0);
        av_dict_set(&options, "frag_duration", "1000000", 0);
    }

    int result = avio_open(&raw->pb, file.constData(), AVIO_FLAG_WRITE);
    if (result >= 0)
        result = avformat_write_header(raw, &options);
    av_dict_free(&options);
    if (result < 0)
        return avErrorText(result);
    avio_flush(raw->pb);
    if (raw->pb->error < 0)
        return avErrorText(raw->pb->error);
    completeEnd = avio_tell(raw->pb);
    timeBaseNum = timeBase.numerator;
    timeBaseDen = timeBase.denominator;
    writeFailed = false;
    context = std::move(opened);
    return QString();
}

QString MovieFile::writePacket(const QByteArray &data, qint64 pts, qint64 dts, qint64 duration,
                               bool keyframe)
{
    return write(0, data, pts, dts, duration, keyframe, {int(timeBaseNum), int(timeBaseDen)});
}

QString MovieFile::writeAudio(const QByteArray &samples)
{
    if (!context || !sound)
        return context ? QString() : avErrorText(AVERROR(EINVAL));
    std::vector<AudioEncoder::Packet> packets;
    const QString error = sound->encode(samples, &packets);
    return error.isEmpty() ? writeSound(packets) : error;
}

QString MovieFile::writeSound(const std::vector<AudioEncoder::Packet> &packets)
{
    for (const AudioEncoder::Packet &packet : packets) {
        if (const QString error = write(1, packet.data, packet.pts, packet.pts, packet.duration,
                                        true, {1, sampleRate});
            !error.isEmpty())
            return error;
    }
    return QString();
}

QString MovieFile::write(int stream, const QByteArray &data, qint64 pts, qint64 dts,
                         qint64 duration, bool keyframe, FrameRateFraction timeBase)
{
    if (!context)
        return avErrorText(AVERROR(EINVAL));
    AVPacket *p = packet.get();
    if (const QString error = copyIntoPacket(p, data); !error.isEmpty())
        return error;
    p->stream_index = stream;
    p->pts = pts;
    p->dts = dts;
    p->duration = duration;
    if (keyframe)
        p->flags |= AV_PKT_FLAG_KEY;
    av_packet_rescale_ts(p, AVRational{timeBase.numerator, timeBase.denominator},
                         context->streams[stream]->time_base);
    int result = av_write_frame(context.get(), p);
    // A failed write may wait in the I/O buffer until the next flush: look at once, so that a
    // full disk ends the recording at the first packet it loses.
    if (result >= 0)
        result = context->pb->error;
    if (result < 0) {
        writeFailed = true;
        return avErrorText(result);
    }
    // The muxer hands a cluster or a fragment to the file only when it is complete.
    completeEnd = avio_tell(context->pb);
    return QString();
}

qint64 MovieFile::size() const
{
    return context ? avio_tell(context->pb) : 0;
}

QString MovieFile::finish()
{
    if (!context)
        return QString();
    // The sound still inside the encoder ends the file.
    QString soundError;
    if (sound && !writeFailed) {
        std::vector<AudioEncoder::Packet> packets;
        soundError = sound->flush(&packets);
        if (soundError.isEmpty())
            soundError = writeSound(packets);
    }
    sound.reset();
    // After a failed write the trailer would only fail again. The part of a cluster or fragment
    // that reached the disk is cut off, so that the file ends cleanly after the last whole one.
    int result = writeFailed ? 0 : av_write_trailer(context.get());
    const int closed = avio_closep(&context->pb);
    if (result >= 0)
        result = closed;
    const QString path = QString::fromUtf8(context->url);
    context.reset();
    if (writeFailed && !QFile::resize(path, completeEnd))
        return QStringLiteral("The end of %1 could not be cut off").arg(path);
    if (result < 0)
        return avErrorText(result);
    return soundError;
}
