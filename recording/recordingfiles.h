#pragma once

#include "recordingoptions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class AudioTrack;
class AviMuxer;
class H264Encoder;
class MovieFile;

// The files of one recording, filled one slot at a time: a Motion-JPEG AVI file or an H.264
// Matroska or MP4 file, one after the other when the recording is segmented, and the limits of
// size and free space that end it. With sound, each slot is followed by the sound of its time as
// far as it has come, and each file is finished with all of its sound. Calls return an empty string
// on success and the cause of a failure otherwise. Owned by the writer's thread.
class RecordingFiles
{
public:
    // sound: where the recording's sound is laid out; none for a silent one.
    explicit RecordingFiles(const RecordingOptions &options, AudioTrack *sound = nullptr);
    ~RecordingFiles();
    RecordingFiles(const RecordingFiles &) = delete;
    RecordingFiles &operator=(const RecordingFiles &) = delete;

    // Opens the next file, if there is room for it (limitReached() says when there was not).
    QString open();
    // A picture for the next slot: a whole JPEG stream for Motion-JPEG, YUV 4:2:0 planes for H.264.
    // At a segment's end the file is finished and the next one opened first.
    QString writeSlot(const QByteArray &picture);
    // Finishes the file being written, if any.
    QString finish();

    // Whether the recording must end although nothing failed.
    RecordingLimit limitReached() const { return limit; }
    QStringList fileNames() const { return names; }
    qint64 bytesWritten() const;
    // The free space of the target when last looked at, -1 before that.
    qint64 freeBytes() const { return lastFree; }

private:
    QString writePicture(const QByteArray &picture);
    // The sound up to the end of the slots written, as far as it has come; all of it, silence
    // where none came, when whole.
    QString writeSound(bool whole);
    void checkLimits();
    // Looks at the free space of the target; false when it is below the floor.
    bool roomLeft();

    const RecordingOptions options;
    AudioTrack *const sound;
    const qint64 slotsPerSegment; // 0: one file
    const qint64 slotsPerCheck;   // how often the free space is looked at
    std::unique_ptr<AviMuxer> avi;
    std::unique_ptr<H264Encoder> encoder;
    std::unique_ptr<MovieFile> movie;
    QStringList names;
    qint64 slotsInFile = 0;
    qint64 slotsWritten = 0;
    qint64 bytesInFinishedFiles = 0;
    qint64 lastFree = -1;
    RecordingLimit limit = RecordingLimit::None;
};
