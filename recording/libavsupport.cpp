#include "libavsupport.h"

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
}

namespace {

constexpr uint8_t nalSps = 7;
constexpr uint8_t nalPps = 8;

} // namespace

QString copyIntoPacket(AVPacket *packet, const QByteArray &data)
{
    av_packet_unref(packet);
    if (const int result = av_new_packet(packet, int(data.size())); result < 0)
        return avErrorText(result);
    std::memcpy(packet->data, data.constData(), size_t(data.size()));
    return QString();
}

QByteArray h264ParameterSets(const QByteArray &unit)
{
    const QByteArray startCode("\0\0\1", 3);
    QByteArray sets;
    bool sps = false, pps = false;
    for (qsizetype at = unit.indexOf(startCode); at >= 0;) {
        const qsizetype begin = at + 3;
        const qsizetype next = unit.indexOf(startCode, begin);
        // A four-byte start code's leading zero belongs to it, not to the unit before.
        qsizetype end = next < 0 ? unit.size() : next;
        if (next > begin && unit.at(next - 1) == '\0')
            --end;
        const uint8_t type = begin < unit.size() ? uint8_t(unit.at(begin)) & 0x1f : 0;
        if (type == nalSps || type == nalPps) {
            sets += QByteArray("\0\0\0\1", 4) + unit.mid(begin, end - begin);
            (type == nalSps ? sps : pps) = true;
        }
        at = next;
    }
    return sps && pps ? sets : QByteArray();
}

void LibavDeleter::operator()(AVBufferRef *buffer) const
{
    av_buffer_unref(&buffer);
}

void LibavDeleter::operator()(AVCodecContext *context) const
{
    avcodec_free_context(&context);
}

void LibavDeleter::operator()(AVFormatContext *context) const
{
    if (context->pb)
        avio_closep(&context->pb);
    avformat_free_context(context);
}

void LibavDeleter::operator()(AVFrame *frame) const
{
    av_frame_free(&frame);
}

void LibavDeleter::operator()(AVPacket *packet) const
{
    av_packet_free(&packet);
}

QString createVideoOutput(const QString &path, const char *format, int rateNum, int rateDen,
                          int timeBaseNum, int timeBaseDen, FormatContextHandle *context,
                          AVStream **stream)
{
    AVFormatContext *raw = nullptr;
    const int result =
        avformat_alloc_output_context2(&raw, nullptr, format, path.toUtf8().constData());
    if (result < 0)
        return avErrorText(result);
    context->reset(raw);
    *stream = avformat_new_stream(raw, nullptr);
    if (!*stream)
        return avErrorText(AVERROR(ENOMEM));
    (*stream)->time_base = AVRational{timeBaseNum, timeBaseDen};
    (*stream)->avg_frame_rate = AVRational{rateNum, rateDen};
    (*stream)->r_frame_rate = (*stream)->avg_frame_rate;
    (*stream)->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
    return QString();
}

QString avErrorText(int averror)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(averror, text, sizeof text);
    return QString::fromUtf8(text);
}
