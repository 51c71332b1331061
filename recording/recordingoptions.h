#pragma once

#include <QSize>
#include <QString>

#include "audiochunk.h"

// What ended a recording that nothing made fail.
enum class RecordingLimit {
    None,      // stopped when asked, or failed
    Size,      // its files hold the most bytes allowed
    FreeSpace, // the free space of the target reached the floor
};

// What a recording writes, and when it ends by itself.
struct RecordingOptions
{
    enum class Codec {
        MotionJpeg, // AVI, every frame a JPEG: the camera's own when nothing is turned
        H264,       // Matroska or MP4, chosen by the file's suffix
    };

    // The sound of a Matroska or MP4 file; an AVI file always holds the samples as they came.
    enum class AudioCodec {
        Aac,  // FFmpeg's own encoder, at the source's rate
        Opus, // libopus, which takes 48 kHz only: other rates are refused
    };

    QString fileName;
    Codec codec = Codec::MotionJpeg;
    // The sound's format as its source delivers it; invalid for a silent recording.
    AudioFormat audio;
    AudioCodec audioCodec = AudioCodec::Aac;
    double fps = 30.0; // the camera's rate: the file's too, unless it is a time-lapse
    QSize frameSize;
    // A time-lapse takes one frame every so many seconds and plays them at playbackFps.
    double timelapseIntervalS = 0.0;
    double playbackFps = 30.0;
    // A new file, numbered, every so many seconds of recording; 0 for one file.
    int segmentSeconds = 0;
    // The recording ends cleanly once its files hold this many bytes, or before the free space
    // of the target falls below the floor; 0 for no limit.
    qint64 maxBytes = 0;
    qint64 minFreeBytes = 0;

    bool isTimelapse() const { return timelapseIntervalS > 0.0; }
    // A time-lapse has no sound.
    bool hasSound() const { return audio.isValid() && !isTimelapse(); }
    // How often a slot falls due while recording, and the rate the file declares.
    double slotsPerSecond() const { return isTimelapse() ? 1.0 / timelapseIntervalS : fps; }
    double fileFps() const { return isTimelapse() ? playbackFps : fps; }

    // Whether the file name's suffix suits the codec: .avi for Motion-JPEG, .mkv or .mp4 for
    // H.264.
    bool fitsContainer() const;
    // The name of segment number (from 1) of a segmented recording: "clip.mkv" gives
    // "clip-001.mkv"; the plain file name when not segmented.
    QString segmentFileName(int number) const;
};
