#pragma once

#include "audiochunk.h"
#include "avicheckpoint.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include "libavsupport.h"

#include <memory>

// A frame rate as a fraction, the way the file declares it.
struct FrameRateFraction
{
    int numerator = 0;
    int denominator = 1;
};

// Writes Motion-JPEG frames, one per time slot, into an AVI file (tag MJPG), with the sound as
// PCM between them when there is sound. Once a second of frames the header is brought up to
// date, so that a file whose program was killed still plays up to that second, sound included.
// Every call returns an empty string on success and the cause of the failure otherwise, in the
// words of the C library ("No space left on device"). Not thread-safe: one thread owns a muxer at a
// time.
class AviMuxer
{
public:
    AviMuxer();
    ~AviMuxer();
    AviMuxer(const AviMuxer &) = delete;
    AviMuxer &operator=(const AviMuxer &) = delete;

    // The fraction a player should see for a rate given as a double: camera rates are whole
    // numbers, halves (7.5) or the NTSC family (29.97 = 30000/1001), and drivers round them a
    // little (UVC counts intervals in 100 ns units), so those are matched before anything else.
    static FrameRateFraction exactRate(double fps);

    // audio: the format of the sound stream; none when invalid.
    QString open(const QString &path, const QSize &size, FrameRateFraction rate,
                 const AudioFormat &audio = {});
    bool isOpen() const { return static_cast<bool>(context); }
    // The bytes go into the file untouched, whether freshly encoded or a repeat of the last frame.
    QString writeFrame(const QByteArray &jpeg);
    // Samples of the format given to open(), following those written before.
    QString writeAudio(const QByteArray &samples);
    // Writes the index and closes the file; the muxer is closed afterwards even on failure. After
    // a failed write the header declares the frames written before it, without an index.
    QString finish();
    // Bytes in the file after its last whole frame.
    qint64 size() const { return completeEnd; }

private:
    QString write(int stream, const QByteArray &data, qint64 pts, qint64 duration);

    FormatContextHandle context;
    PacketHandle packet;
    AviCheckpoint checkpoint;
    long long framesWritten = 0;  // whole frames in the file
    long long samplesWritten = 0; // sample frames of sound in the file
    int bytesPerSample = 0;       // of one sample frame; 0 without sound
    long long completeEnd = 0;    // the file's size after the last whole frame
    bool writeFailed = false;
    long long framesPerCheckpoint = 1;
};
