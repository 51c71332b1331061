#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

struct AVBufferRef;
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;

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

// Makes packet hold a copy of data, which a muxer may keep until it has the packets around it;
// the other fields are reset. An empty string on success, the cause otherwise.
QString copyIntoPacket(AVPacket *packet, const QByteArray &data);

// A video file of format (libavformat's name) being made at path, with one video stream whose
// timestamps count in timeBaseNum/timeBaseDen seconds and whose frames come rateNum/rateDen a
// second; the file is not opened yet. An empty string on success, the cause otherwise.
QString createVideoOutput(const QString &path, const char *format, int rateNum, int rateDen,
                          int timeBaseNum, int timeBaseDen, FormatContextHandle *context,
                          AVStream **stream);

// The sequence and picture parameter sets of an H.264 access unit (Annex B), each behind a
// four-byte start code: what a file's or a stream's codec description needs. Empty when the unit
// lacks either.
QByteArray h264ParameterSets(const QByteArray &unit);
