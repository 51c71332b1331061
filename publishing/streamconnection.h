#pragma once

#include "avimuxer.h"
#include "libavsupport.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <atomic>

// One connection to a media server carrying one H.264 stream: FLV for rtmp://, the server's
// RTSP session (pushed, TCP) for rtsp://, MPEG-TS for srt://. No call blocks beyond the deadline
// it sets itself, nor once the interrupt's abort flag is raised. Not thread-safe: one thread (the
// publisher's network thread) owns a connection.
class StreamConnection
{
public:
    // Shared with whoever must be able to cut a blocking call short from another thread.
    struct Interrupt
    {
        std::atomic<bool> abort{false};
        std::atomic<qint64> deadlineMs{0}; // on the monotonic clock; 0: none
    };

    explicit StreamConnection(Interrupt *interrupt);
    ~StreamConnection();
    StreamConnection(const StreamConnection &) = delete;
    StreamConnection &operator=(const StreamConnection &) = delete;

    // libavformat's muxer for the address's scheme, or nullptr for a scheme it cannot publish to.
    static const char *muxerFor(const QString &url);

    // Connects and sends the stream's header; extradata holds the parameter sets (Annex B).
    // An empty string on success, the cause otherwise.
    QString open(const QString &url, QSize size, FrameRateFraction rate,
                 const QByteArray &extradata);
    bool isOpen() const { return static_cast<bool>(context); }
    // One access unit (Annex B), stamped in microseconds from the stream's start.
    QString writePacket(const QByteArray &data, qint64 ptsUs, qint64 dtsUs, bool keyframe);
    // Ends the stream politely when the server still listens; never longer than a second.
    void close();

private:
    static int interrupted(void *opaque);
    void armDeadline(int milliseconds);
    QString failure(int averror) const;

    Interrupt *interrupt;
    FormatContextHandle context;
    PacketHandle packet;
    int lastTimeoutMs = 0;
};
