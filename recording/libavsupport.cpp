#include "libavsupport.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
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
