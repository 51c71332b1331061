#pragma once

#include "audiotrack.h"
#include "camerabase.h"
#include "recordingoptions.h"
#include "videowriterthread.h"

#include <QByteArray>
#include <QString>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

class MovieFile;

// Records a camera's own H.264 frames into Matroska or MP4 files (by the file's suffix) without
// decoding them: every frame goes in byte for byte, stamped with the camera's time relative to
// the file's first frame, so a file lasts as long as the recording did (pauses left out). A file
// begins at a keyframe, whose parameter sets describe the stream; after a frame missing from the
// camera's numbering, or one refused as damaged, the frames up to the next keyframe are left out
// (counted as skipped), so a file never holds a picture built on a missing one. A segmented
// recording starts each new file at the first keyframe once the segment's time is up, so the
// files join without a frame lost or doubled. Sound given goes with the picture on the camera's
// clock: a sample plays when the frame taken at the same moment shows.
//
// addFrame() only queues, whatever the disk does; the worker thread (run()) writes.
class H264PassThroughWriter : public QThread
{
    Q_OBJECT

public:
    explicit H264PassThroughWriter(QObject *parent = nullptr);
    // Finishes a running recording's file first.
    ~H264PassThroughWriter() override;

    // GUI thread, before start(): validates and stores the parameters of the next recording:
    // .mkv or .mp4 file names, the camera's frame size and nominal rate (which the files
    // declare; the frames keep the camera's own times), segments and limits. A time-lapse is
    // refused: it takes pictures, not the camera's frames.
    bool startWriting(const RecordingOptions &options);
    // Any thread but the worker (the camera's compressed tap): one frame, in the camera's order.
    void addFrame(const CameraBase::CompressedFrame &frame);
    // Any thread: sound of the format the options gave; ignored without sound and while paused.
    void addAudio(const AudioChunk &chunk);
    // Any thread: while paused, frames given are ignored; the recording resumes at the next
    // keyframe, right after the last frame written, so the paused time is not in the file.
    void setPaused(bool paused);
    // Any thread but the worker: asks the worker to write what it was given and finish; returns
    // at once. The files are complete when writingFinished() (or, after a failure,
    // errorOccurred()) and then QThread::finished() have been emitted.
    void requestStop();
    // GUI thread: returns once the worker has closed the file.
    void stopWriting();
    // Any thread. elapsedMs is the camera's time recorded, pauses left out.
    WriterStatistics statistics() const;

signals:
    // The recording failed (a file not opened, a write failed, no keyframe came) and ends; the
    // text gives the cause. After a failed first open no writingFinished() follows.
    void errorOccurred(QString error);
    void writingFinished();

protected:
    void run() override;

private:
    struct Queued
    {
        CameraBase::CompressedFrame frame;
        bool afterPause = false; // frames before it were ignored while paused
    };

    // Worker thread: one frame of the camera to the file, or left out; an error ends it all.
    QString take(MovieFile &file, const Queued &queued);
    // Worker thread: finishes the current file, if any, and opens the next one; sets limit
    // instead when the target has no room.
    QString openNext(MovieFile &file);
    // Worker thread: the held frame into the file, shown for duration microseconds.
    QString writeHeld(MovieFile &file, qint64 duration);
    // Worker thread: the sound up to the end of the frames written, as far as it has come; all of
    // it, silence where none came, when whole.
    QString writeSound(MovieFile &file, bool whole);
    // Worker thread: ends the recording at a limit of size or free space, once reached.
    void checkLimits(const MovieFile &file);
    qint64 framePeriodUs() const;

    RecordingOptions options; // written by startWriting, read-only while the worker runs

    // guards queue, queuedBytes, stopRequested, accepting, soundOpen and pauseGap
    std::mutex queueMutex;
    std::condition_variable queueChanged;
    std::deque<Queued> queue;
    qint64 queuedBytes = 0;
    bool stopRequested = false;
    bool accepting = false; // from startWriting until the worker ends
    // From startWriting until the last file is finished: sound taken before a stop may come
    // while the file is finished.
    bool soundOpen = false;
    bool pauseGap = false; // frames were ignored since the last one queued
    std::atomic<bool> paused{false};

    // Worker thread only (and startWriting, before it runs).
    bool awaitingKeyframe = true;
    bool skippedSinceHeld = false;
    bool resuming = false; // the next frame written follows a pause
    bool haveSequence = false;
    quint32 lastSequence = 0;
    qint64 originUs = 0;     // the camera's time of the current file's start
    qint64 writtenEndUs = 0; // the camera's time at which the frames written end
    // Holds its own lock for the chunks that come; the rest is the worker's.
    AudioTrack audio;
    QByteArray parameterSets;
    int files = 0;
    qint64 bytesInFinishedFiles = 0;
    qint64 framesSinceCheck = 0;
    struct Held
    {
        QByteArray data; // empty: nothing held
        qint64 pts = -1; // of the last frame held, also once written
        bool keyframe = false;
    } held;

    std::atomic<int> framesWritten{0};
    std::atomic<int> framesDropped{0};
    std::atomic<int> framesReceived{0};
    std::atomic<int> framesSkipped{0};
    std::atomic<qint64> recordedUs{0};
    std::atomic<qint64> bytesWritten{0};
    std::atomic<qint64> freeBytes{-1};
    std::atomic<RecordingLimit> limit{RecordingLimit::None};
};
