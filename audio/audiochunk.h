#pragma once

#include <QByteArray>
#include <QtGlobal>

// How sound samples are laid out: signed 16-bit little-endian, channels interleaved.
struct AudioFormat
{
    int sampleRate = 0; // samples per second and channel
    int channels = 0;   // 1 or 2; 0 when there is no sound

    bool isValid() const { return sampleRate > 0 && (channels == 1 || channels == 2); }
    int bytesPerFrame() const { return 2 * channels; }
};

// A run of samples as the sound server delivered it.
struct AudioChunk
{
    // When its first sample was taken, on the monotonic clock (that of std::chrono::steady_clock
    // and of the camera's buffer timestamps), in nanoseconds.
    qint64 timeNs = 0;
    QByteArray samples; // whole frames of the format
};
