#pragma once

#include "audioencoder.h"
#include "avimuxer.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include "libavsupport.h"

#include <memory>

// Writes H.264 packets into a Matroska (.mkv) or MP4 (.mp4) file, the container chosen by the
// suffix, with a stream of sound encoded from the samples given when there is sound. Both are
// written so that a file whose program was killed plays up to its last two seconds: Matroska in
// clusters of at most a second, MP4 in fragments of a second. A finished file has its duration and
// an index for seeking. Every call returns an empty string on success and the cause of the failure
// otherwise. Not thread-safe.
class MovieFile
{
public:
    MovieFile();
    ~MovieFile();
    MovieFile(const MovieFile &) = delete;
    MovieFile &operator=(const MovieFile &) = delete;

    // Whether the path names a container this class writes.
    static bool isMovieFile(const QString &path);

    // timeBase: the unit of the timestamps given to writePacket, {1, 1000000} for microseconds
    // or the frame period. extradata: the stream's parameter sets, in Annex B or avcC form.
    // audio: the format of the samples writeAudio() takes, encoded with audioCodec; an invalid
    // one for a file without sound.
    QString open(const QString &path, const QSize &size, FrameRateFraction rate,
                 const QByteArray &extradata, FrameRateFraction timeBase,
                 const AudioFormat &audio = {},
                 RecordingOptions::AudioCodec audioCodec = RecordingOptions::AudioCodec::Aac);
    bool isOpen() const { return static_cast<bool>(context); }
    QString writePacket(const QByteArray &data, qint64 pts, qint64 dts, qint64 duration,
                        bool keyframe);
    // Samples that follow those given before; they are encoded and written as whole packets.
    QString writeAudio(const QByteArray &samples);
    // Writes the index and closes the file; closed afterwards even on failure.
    QString finish();
    // Bytes in the file so far.
    qint64 size() const;

private:
    QString write(int stream, const QByteArray &data, qint64 pts, qint64 dts, qint64 duration,
                  bool keyframe, FrameRateFraction timeBase);
    QString writeSound(const std::vector<AudioEncoder::Packet> &packets);

    FormatContextHandle context;
    std::unique_ptr<AudioEncoder> sound; // none without sound
    PacketHandle packet;
    qint64 timeBaseNum = 1;
    qint64 timeBaseDen = 1;
    int sampleRate = 0;
    qint64 completeEnd = 0; // the file's size after its last whole cluster or fragment
    bool writeFailed = false;
};
