#include "streamconnection.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

#include <QCoreApplication>
#include <QUrl>

#include <chrono>
#include <cstdarg>
#include <cstring>
#include <mutex>

namespace {

// Long enough for a server on another continent to answer, short enough that a lost one is
// noticed and tried again well within the five seconds a returning server may wait.
constexpr int connectTimeoutMs = 3000;
constexpr int writeTimeoutMs = 2000;
constexpr int closeTimeoutMs = 1000;

qint64 monotonicMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// libavformat's network protocols log every failed attempt to connect; the publisher reports a
// failure once itself, so while a lost server is tried again every second their lines would only
// fill the terminal. They are kept for a verbose log; everything else is logged as before.
void quietNetworkLog(void *object, int level, const char *format, va_list arguments)
{
    const AVClass *avClass = object ? *static_cast<const AVClass *const *>(object) : nullptr;
    if (avClass && level > AV_LOG_FATAL && level < AV_LOG_VERBOSE) {
        const QByteArray name(avClass->item_name(object));
        if (name == "tcp" || name == "rtmp" || name == "RTSP muxer" || name == "srt")
            level = AV_LOG_VERBOSE;
    }
    av_log_default_callback(object, level, format, arguments);
}

} // namespace

StreamConnection::StreamConnection(Interrupt *interrupt)
    : interrupt(interrupt)
{
    static std::once_flag quietened;
    std::call_once(quietened, [] { av_log_set_callback(&quietNetworkLog); });
}

StreamConnection::~StreamConnection()
{
    close();
}

const char *StreamConnection::muxerFor(const QString &url)
{
    const QString scheme = QUrl(url).scheme().toLower();
    if (scheme == QLatin1String("rtmp"))
        return "flv";
    if (scheme == QLatin1String("rtsp"))
        return "rtsp";
    if (scheme == QLatin1String("srt"))
        return "mpegts";
    return nullptr;
}

// Any thread that libavformat blocks in: a non-zero answer makes the blocking call give up.
int StreamConnection::interrupted(void *opaque)
{
    const Interrupt *interrupt = static_cast<StreamConnection *>(opaque)->interrupt;
    const qint64 deadline = interrupt->deadlineMs.load();
    return interrupt->abort.load() || (deadline > 0 && monotonicMs() > deadline);
}

// libavformat tells a call cut short as "Immediate exit requested": say what cut it short.
QString StreamConnection::failure(int averror) const
{
    if (averror == AVERROR_EXIT && !interrupt->abort)
        return QCoreApplication::translate("StreamConnection",
                                           "Connection timed out: no answer within %1 s")
            .arg(double(lastTimeoutMs) / 1000.0);
    return avErrorText(averror);
}

void StreamConnection::armDeadline(int milliseconds)
{
    lastTimeoutMs = milliseconds;
    interrupt->deadlineMs = monotonicMs() + milliseconds;
}

QString StreamConnection::open(const QString &url, QSize size, FrameRateFraction rate,
                               const QByteArray &extradata)
{
    close();
    const char *muxer = muxerFor(url);
    if (!muxer)
        return avErrorText(AVERROR_PROTOCOL_NOT_FOUND);
    FormatContextHandle opened;
    AVStream *stream = nullptr;
    // Timestamps come in microseconds; the muxer chooses its own time base.
    QString error = createVideoOutput(url, muxer, rate.numerator, rate.denominator, 1, 1000000,
                                      &opened, &stream);
    if (!error.isEmpty())
        return error;
    packet.reset(av_packet_alloc());
    if (!packet)
        return avErrorText(AVERROR(ENOMEM));
    AVFormatContext *raw = opened.get();
    AVCodecParameters *codec = stream->codecpar;
    codec->codec_id = AV_CODEC_ID_H264;
    codec->width = size.width();
    codec->height = size.height();
    codec->format = AV_PIX_FMT_YUV420P;
    codec->extradata =
        static_cast<uint8_t *>(av_mallocz(size_t(extradata.size()) + AV_INPUT_BUFFER_PADDING_SIZE));
    if (!codec->extradata)
        return avErrorText(AVERROR(ENOMEM));
    std::memcpy(codec->extradata, extradata.constData(), size_t(extradata.size()));
    codec->extradata_size = int(extradata.size());

    raw->interrupt_callback = AVIOInterruptCB{&StreamConnection::interrupted, this};
    // A viewer should see each frame as soon as it is made: nothing waits in an I/O buffer.
    raw->flags |= AVFMT_FLAG_FLUSH_PACKETS;
    AVDictionary *options = nullptr;
    const QByteArray timeoutUs = QByteArray::number(qint64(writeTimeoutMs) * 1000);
    av_dict_set(&options, "rw_timeout", timeoutUs.constData(), 0);
    armDeadline(connectTimeoutMs);
    int result = 0;
    if (!(raw->oformat->flags & AVFMT_NOFILE))
        result = avio_open2(&raw->pb, url.toUtf8().constData(), AVIO_FLAG_WRITE,
                            &raw->interrupt_callback, &options);
    av_dict_free(&options);
    // RTSP connects in the header, over TCP: a pushed stream must not lose packets on the way.
    av_dict_set(&options, "rtsp_transport", "tcp", 0);
    av_dict_set(&options, "timeout", timeoutUs.constData(), 0);
    // A stream has no end to go back to: FLV's trailer must not try to seek.
    av_dict_set(&options, "flvflags", "no_duration_filesize", 0);
    if (result >= 0)
        result = avformat_write_header(raw, &options);
    av_dict_free(&options);
    interrupt->deadlineMs = 0;
    if (result < 0)
        return failure(result);
    context = std::move(opened);
    return QString();
}

QString StreamConnection::writePacket(const QByteArray &data, qint64 ptsUs, qint64 dtsUs,
                                      bool keyframe)
{
    if (!context)
        return avErrorText(AVERROR(EINVAL));
    AVPacket *p = packet.get();
    if (const QString error = copyIntoPacket(p, data); !error.isEmpty())
        return error;
    p->stream_index = 0;
    p->pts = ptsUs;
    p->dts = dtsUs;
    if (keyframe)
        p->flags |= AV_PKT_FLAG_KEY;
    av_packet_rescale_ts(p, AVRational{1, 1000000}, context->streams[0]->time_base);
    armDeadline(writeTimeoutMs);
    int result = av_write_frame(context.get(), p);
    if (result >= 0 && context->pb)
        result = context->pb->error;
    interrupt->deadlineMs = 0;
    return result < 0 ? failure(result) : QString();
}

void StreamConnection::close()
{
    if (!context)
        return;
    // The trailer also closes an RTSP session's sockets, so it is written even to a lost server.
    armDeadline(closeTimeoutMs);
    av_write_trailer(context.get());
    context.reset();
    interrupt->deadlineMs = 0;
}
