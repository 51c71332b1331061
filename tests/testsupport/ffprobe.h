#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// What an independent reader (ffprobe) says about a video file.
struct ProbeResult
{
    bool ok = false; // ffprobe ran and found a video stream
    QString error;   // why not, when !ok
    QString codec;   // codec_name, e.g. "mjpeg"
    int width = 0;
    int height = 0;
    QString frameRate;         // r_frame_rate, e.g. "30/1"
    int frames = -1;           // frames counted by decoding every packet (-count_frames)
    int declaredFrames = -1;   // frames the header declares, as players without a scan see it
    bool allDecodable = false; // ffmpeg decoded the whole file without an error
};

bool ffprobeAvailable();
// Runs ffprobe (and ffmpeg for the decode check) on path; blocks until both have finished.
ProbeResult probeVideo(const QString &path);
// Every frame of the file as ffmpeg decodes it, in file order; empty when it cannot.
QList<QImage> decodeFrames(const QString &path, QSize size);
// The frame numbers the synthetic camera wrote into the frames of a recording whose picture was
// rotated clockwise by angle, in file order; frames without a readable number are left out.
QList<uint32_t> recordedSequences(const QString &path, QSize size, int angle = 0);

// What ffprobe says of a file's sound, and the sound itself as ffmpeg decodes it.
struct SoundProbe
{
    QString codec; // empty: no sound stream
    int sampleRate = 0;
    int channels = 0;
    double startS = 0.0;      // the sound stream's start, in the file's time
    double videoStartS = 0.0; // the picture's
    int declaredSamples = -1; // the sound's length as the header gives it
    QByteArray mono;          // the decoded sound, s16le, channels mixed into one
};
SoundProbe probeSound(const QString &path);
