#pragma once

#include "recordingoptions.h"

#include <QByteArray>
#include <QString>

#include "libavsupport.h"

#include <vector>

struct AVCodecParameters;

// Encodes s16le sound into AAC (FFmpeg's own encoder) or Opus (libopus, 48 kHz only) for a
// Matroska or MP4 file. Takes any number of samples at a time and encodes whole frames of the
// codec. The codec's priming samples, which every decoder puts out first, take the place of as
// many samples at the start, so that the packets begin at time 0 and each sample decodes at its
// own time in every player, whether it honours the container's note of a delay or not. Every call
// returns an empty string on success and the cause otherwise. Not thread-safe.
class AudioEncoder
{
public:
    struct Packet
    {
        QByteArray data;
        qint64 pts = 0; // in samples
        qint64 duration = 0;
    };

    AudioEncoder();
    ~AudioEncoder();
    AudioEncoder(const AudioEncoder &) = delete;
    AudioEncoder &operator=(const AudioEncoder &) = delete;

    // Why the sound of a recording cannot be encoded for its Matroska or MP4 file; empty when
    // it can, and for a recording without sound or into AVI, whose sound is not encoded.
    static QString refusal(const RecordingOptions &options);

    QString open(const AudioFormat &format, RecordingOptions::AudioCodec codec);
    // The stream's description, for the file's header.
    QString describe(AVCodecParameters *parameters) const;
    QString encode(const QByteArray &samples, std::vector<Packet> *packets);
    // Encodes what is left, the last frame shorter or padded; the encoder takes no more.
    QString flush(std::vector<Packet> *packets);

private:
    QString sendFrame(const char *samples, int frames);
    QString receivePackets(std::vector<Packet> *packets);

    AudioFormat format;
    CodecContextHandle context;
    FrameHandle frame;
    PacketHandle packet;
    QByteArray waiting; // samples short of a whole frame of the codec
    qint64 samplesSent = 0;
    qint64 primingLeft = 0; // samples at the start still to be left out
};
