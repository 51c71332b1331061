#pragma once

#include "avimuxer.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include "libavsupport.h"

#include <memory>
#include <vector>

// Encodes pictures into H.264 with libavcodec: a VAAPI encoder where the machine has one, libx264
// otherwise. Not thread-safe: one thread owns an encoder at a time.
class H264Encoder
{
public:
    struct Settings
    {
        QSize size; // even width and height
        FrameRateFraction rate;
        int keyframeInterval = 60; // frames from one keyframe to the next
        // Parameter sets once, in extradata(), as files and streams want them; otherwise in the
        // stream before every keyframe, as a camera sends them.
        bool globalHeader = true;
        // For a live stream: each picture leaves the encoder as soon as it is encoded, without
        // the look-ahead that would hold it back for better compression.
        bool lowDelay = false;
    };
    struct Packet
    {
        QByteArray data;
        qint64 pts = 0; // in frame periods
        qint64 dts = 0;
        bool keyframe = false;
    };

    H264Encoder();
    ~H264Encoder();
    H264Encoder(const H264Encoder &) = delete;
    H264Encoder &operator=(const H264Encoder &) = delete;

    // Returns an empty string on success, the cause of the failure otherwise.
    QString open(const Settings &settings);
    bool isOpen() const { return static_cast<bool>(context); }
    // The parameter sets, when opened with globalHeader.
    QByteArray extradata() const;
    // picture: YUV 4:2:0 planes in full range, one after the other without padding (Y of
    // width x height, then U and V of a quarter of that each). The packets it gives back may
    // belong to earlier pictures: the encoder looks ahead.
    QString encode(const QByteArray &yuv420, qint64 pts, std::vector<Packet> *packets);
    // Gives back every packet still inside the encoder; the encoder takes no more pictures.
    QString flush(std::vector<Packet> *packets);

    // The planes encode() expects, of an RGB image of even width and height.
    static QByteArray yuv420FromImage(const QImage &image, QString *error);
    static qsizetype yuv420Size(const QSize &size);

private:
    QString openLibx264(const Settings &settings);
    QString openVaapi(const Settings &settings);
    QString receivePackets(std::vector<Packet> *packets);
    QString sendToVaapi(const QByteArray &yuv420, qint64 pts);

    CodecContextHandle context;
    FrameHandle frame;
    PacketHandle packet;
    QSize size;
    bool vaapi = false;
};
