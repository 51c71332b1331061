#pragma once

#include <QString>

#include <memory>

struct AVBufferRef;
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;

// Frees libav's objects the way libav wants: an output context closes its file first.
struct LibavDeleter
{
    void operator()(AVBufferRef *buffer) const;
    void operator()(AVCodecContext *context) const;
    void operator()(AVFormatContext *context) const;
    void operator()(AVFrame *frame) const;
    void operator()(AVPacket *packet) const;
};
using BufferHandle = std::unique_ptr<AVBufferRef, LibavDeleter>;
using CodecContextHandle = std::unique_ptr<AVCodecContext, LibavDeleter>;
using FormatContextHandle = std::unique_ptr<AVFormatContext, LibavDeleter>;
using FrameHandle = std::unique_ptr<AVFrame, LibavDeleter>;
using PacketHandle = std::unique_ptr<AVPacket, LibavDeleter>;

// libavutil's words for an AVERROR code ("No space left on device").
QString avErrorText(int averror);
