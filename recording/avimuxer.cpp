#include "avimuxer.h"

#include "libavsupport.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/rational.h>
}

#include <QDebug>

#include <cmath>

namespace {

bool near(double a, double b)
{
    // Looser than a rounding error, tighter than any two rates a camera offers side by side.
    return std::abs(a - b) <= 1e-4 * b;
}

} // namespace

AviMuxer::AviMuxer() = default;

AviMuxer::~AviMuxer()
{
    // A file must never be left without its index when a recording ends by destruction.
    if (context)
        finish();
}

FrameRateFraction AviMuxer::exactRate(double fps)
{
    for (int denominator = 1; denominator <= 8; ++denominator) {
        const double numerator = std::round(fps * denominator);
        if (numerator >= 1 && near(fps, numerator / denominator))
            return {int(numerator), denominator};
    }
    const double ntsc = std::round(fps * 1.001);
    if (ntsc >= 1 && near(fps, ntsc * 1000.0 / 1001.0))
        return {int(ntsc) * 1000, 1001};
    const AVRational rational = av_d2q(fps, 1000000);
    return {rational.num, rational.den};
}

QString AviMuxer::open(const QString &path, const QSize &size, FrameRateFraction rate,
                       const AudioFormat &audio)
{
    FormatContextHandle opened;
    AVStream *stream = nullptr;
    const QString created = createVideoOutput(path, "avi", rate.numerator, rate.denominator,
                                              rate.denominator, rate.numerator, &opened, &stream);
    if (!created.isEmpty())
        return created;
    packet.reset(av_packet_alloc());
    if (!packet)
        return avErrorText(AVERROR(ENOMEM));
    AVFormatContext *raw = opened.get();
    const QByteArray file = path.toUtf8();
    AVCodecParameters *codec = stream->codecpar;
    codec->codec_id = AV_CODEC_ID_MJPEG;
    codec->codec_tag = MKTAG('M', 'J', 'P', 'G');
    codec->width = size.width();
    codec->height = size.height();
    // What players expect of camera JPEG: full-range 4:2:2.
    codec->format = AV_PIX_FMT_YUVJ422P;
    bytesPerSample = 0;
    if (audio.isValid()) {
        AVStream *sound = avformat_new_stream(raw, nullptr);
        if (!sound)
            return avErrorText(AVERROR(ENOMEM));
        sound->time_base = AVRational{1, audio.sampleRate};
        AVCodecParameters *pcm = sound->codecpar;
        pcm->codec_type = AVMEDIA_TYPE_AUDIO;
        pcm->codec_id = AV_CODEC_ID_PCM_S16LE;
        pcm->sample_rate = audio.sampleRate;
        av_channel_layout_default(&pcm->ch_layout, audio.channels);
        pcm->bits_per_coded_sample = 16;
        pcm->block_align = audio.bytesPerFrame();
        pcm->bit_rate = qint64(audio.sampleRate) * audio.bytesPerFrame() * 8;
        bytesPerSample = audio.bytesPerFrame();
    }

    int result = avio_open(&raw->pb, file.constData(), AVIO_FLAG_WRITE);
    if (result < 0)
        return avErrorText(result);
    result = avformat_write_header(raw, nullptr);
    if (result < 0)
        return avErrorText(result);
    avio_flush(raw->pb);
    context = std::move(opened);
    framesWritten = 0;
    samplesWritten = 0;
    writeFailed = false;
    framesPerCheckpoint = std::max(1L, std::lround(double(rate.numerator) / rate.denominator));
    // Without the checkpoints the recording still works; only a killed program's file suffers.
    QString checkpointError = checkpoint.open(path);
    completeEnd = avio_tell(raw->pb);
    if (checkpointError.isEmpty())
        checkpointError = checkpoint.update(completeEnd, 0, 0);
    if (!checkpointError.isEmpty()) {
        qWarning() << "AviMuxer: the header of" << path
                   << "is written only at the end:" << checkpointError;
        checkpoint.close();
    }
    return QString();
}

QString AviMuxer::write(int stream, const QByteArray &data, qint64 pts, qint64 duration)
{
    if (!context)
        return avErrorText(AVERROR(EINVAL));
    AVPacket *p = packet.get();
    av_packet_unref(p);
    // The packet borrows the bytes: av_write_frame hands them to the file before returning.
    p->data = reinterpret_cast<uint8_t *>(const_cast<char *>(data.constData()));
    p->size = int(data.size());
    p->stream_index = stream;
    p->pts = p->dts = pts;
    p->duration = duration;
    p->flags |= AV_PKT_FLAG_KEY;
    int result = av_write_frame(context.get(), p);
    p->data = nullptr;
    p->size = 0;
    // A failed write may sit in the I/O buffer until the next flush; look at once so that a full
    // disk stops the recording at the first frame it loses.
    if (result >= 0) {
        avio_flush(context->pb);
        result = context->pb->error;
    }
    if (result < 0) {
        writeFailed = true;
        return avErrorText(result);
    }
    completeEnd = avio_tell(context->pb);
    return QString();
}

QString AviMuxer::writeFrame(const QByteArray &jpeg)
{
    if (const QString error = write(0, jpeg, framesWritten, 1); !error.isEmpty())
        return error;
    ++framesWritten;
    if (framesWritten % framesPerCheckpoint == 0)
        return checkpoint.update(completeEnd, framesWritten, samplesWritten);
    return QString();
}

QString AviMuxer::writeAudio(const QByteArray &samples)
{
    if (bytesPerSample == 0 || samples.isEmpty())
        return QString();
    const qint64 frames = samples.size() / bytesPerSample;
    if (const QString error = write(1, samples, samplesWritten, frames); !error.isEmpty())
        return error;
    samplesWritten += frames;
    return QString();
}

QString AviMuxer::finish()
{
    if (!context)
        return QString();
    // After a failed write libavformat writes nothing more, so its trailer would declare nothing
    // of what is on the disk. The header is then written in place, where it needs no new space
    // on a full disk, for the frames that reached the file whole; players read them through the
    // movi list.
    int result = writeFailed ? 0 : av_write_trailer(context.get());
    const int closed = avio_closep(&context->pb);
    if (result >= 0)
        result = closed;
    context.reset();
    const bool whole = !writeFailed && result >= 0;
    const QString headerError = whole
                                    ? checkpoint.markIndexed()
                                    : checkpoint.update(completeEnd, framesWritten, samplesWritten);
    checkpoint.close();
    if (result < 0)
        return avErrorText(result);
    return headerError;
}
