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

QString avErrorText(int averror)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(averror, text, sizeof text);
    return QString::fromUtf8(text);
}
