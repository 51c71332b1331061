#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QThread>

#include "audiotrack.h"
#include "recordingoptions.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

class FrameEncodeQueue;
class RecordingFiles;

// Counters of one recording, as read by statistics(). Once the recording has ended every frame
// received is accounted for: framesReceived == framesRecorded + framesLost.
struct WriterStatistics
{
    int framesWritten = 0;    // slots filled, repeats included
    int framesDuplicated = 0; // slots that repeated the previous frame
    int framesDropped = 0;    // received frames dropped: the queue was full, the encoder behind,
                              // or the recording stopped before their slot
    int framesReceived = 0;   // frames given to addFrame or addEncodedFrame while recording
    int framesRecorded = 0;   // received frames that reached the file (framesWritten - repeats)
    int framesSkipped = 0;    // received frames left out: the wrong size, older than the first
                              // slot's picture, or failed to encode
    int framesLost = 0;       // framesDropped + framesSkipped
    qint64 elapsedMs = 0;     // since the file was opened, pauses included
    qint64 bytesWritten = 0;  // in all files of the recording
    qint64 freeBytes = -1;    // on the target when last looked at; -1 when not watched
    RecordingLimit endedAtLimit = RecordingLimit::None;
};

// Records frames that arrive at an irregular rate at a constant frame rate: into a Motion-JPEG
// AVI file or an H.264 Matroska or MP4 file, in segments if asked, with the sound of a source
// placed in step with the picture: a sample plays when the frame taken at the same moment shows.
// The worker thread (run()) fills one slot per frame period, so the file always follows the clock:
// a slot with no new frame ready repeats the previous one. Frames are prepared (JPEG-encoded, or
// converted for the H.264 encoder) on a pool of one thread per core and written in the order they
// came. A time-lapse has one slot every interval and declares its playback rate instead.
class VideoWriterThread : public QThread
{
    Q_OBJECT

public:
    // Runs on an encode thread, on every frame given to addFrame (mirroring, rotating); its
    // result must have the size given to startWriting.
    using FrameTransform = std::function<QImage(const QImage &)>;

    explicit VideoWriterThread(QObject *parent = nullptr);
    ~VideoWriterThread() override;

    // GUI thread, before start(): validates and stores the parameters of the next recording.
    // fps may be fractional (7.5, 29.97); the file declares it as the exact fraction.
    bool startWriting(const RecordingOptions &options);
    // A Motion-JPEG AVI file of one segment, without limits.
    bool startWriting(const QString &fileName, int fourcc, double fps, const QSize &frameSize);
    // Any thread but the worker: an RGB frame to be encoded (after the transform, if one is set).
    // The writer shares the image rather than copying it; an image made on a buffer it does not
    // own must keep that buffer unchanged, as Qt requires of such images anyway.
    // takenNs: when the camera took it, on the steady clock; 0 for now.
    void addFrame(const QImage &frame, qint64 takenNs = 0);
    // Any thread but the worker: a frame that is already a JPEG stream of the recording's size
    // (a Motion-JPEG camera's own frame); it goes into the file byte for byte, with the standard
    // Huffman tables added when it came without (see JpegStream).
    // Refused for H.264, which needs pictures.
    void addEncodedFrame(const QByteArray &jpeg, qint64 takenNs = 0);
    // Any thread: sound of the format the options gave; ignored without sound and while paused.
    // Sound taken before a stop may come while the file is finished, and is waited for then.
    void addAudio(const AudioChunk &chunk)
    {
        if ((accepting || writing) && !paused && options.hasSound())
            audio.add(chunk);
    }
    // Any thread: the transform applied to frames added from now on; an empty function for none.
    void setFrameTransform(FrameTransform transform);
    // Any thread but the worker: asks the worker to finish and returns at once. The file is
    // complete when writingFinished() (or, after a failure, errorOccurred()) and then
    // QThread::finished() have been emitted.
    void requestStop();
    // GUI thread: returns once the worker has closed the file.
    void stopWriting();
    // Any thread: while paused, no slot falls due and frames given are ignored; the paused
    // time is not in the file.
    void setPaused(bool paused);
    bool isPaused() const { return paused; }
    // Any thread.
    WriterStatistics statistics() const;

signals:
    void frameWritten();
    // The recording has failed (file not opened, a write or an encode failed) and ends; the text
    // gives the cause. After a failed open no writingFinished() follows.
    void errorOccurred(QString error);
    void writingFinished();

protected:
    void run() override;

private:
    using Clock = std::chrono::steady_clock;

    // Worker thread: fills the slots until a stop is requested; returns the error that ended
    // the recording early, or an empty string.
    // origin moves on by the time spent paused.
    QString writePaced(RecordingFiles &files, Clock::time_point &origin);
    // Worker thread, after a stop: writes what came in since the last slot, as far as the file
    // stays within one frame of the clock.
    QString writeLastFrames(RecordingFiles &files, Clock::time_point origin,
                            Clock::time_point stop);
    // Worker thread: one frame into the file, counted.
    QString writeSlot(RecordingFiles &files, const QByteArray &picture, bool repeat);
    // Worker thread: sleeps while paused; returns how long. The sound's time line moves on by it.
    Clock::duration waitWhilePaused();
    // Worker thread: a picture as the file takes it.
    QByteArray prepared(const QByteArray &picture) const;
    // Any thread: whether a frame given now is of use; a time-lapse takes frames only shortly
    // before a slot falls due.
    bool wanted() const;
    // Any thread: counts frames that will not reach the file, warning now and then.
    void countDropped(int count, const char *why);

    // Holds its own lock; shared by the producer, the encode pool and the worker.
    const std::unique_ptr<FrameEncodeQueue> queue;
    // Holds its own lock for the chunks that come; the rest is the worker's.
    AudioTrack audio;
    // From a successful startWriting to the end of the recording, so that a frame given right
    // after start() is kept although the worker may not have opened the file yet.
    std::atomic<bool> accepting{false};
    std::atomic<bool> writing{false};
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> paused{false};
    // Written by startWriting before the worker starts, read-only while it runs.
    RecordingOptions options;
    // A time-lapse takes frames from this steady-clock time on, in nanoseconds.
    std::atomic<qint64> wantedFromNs{0};
    // When the file was opened and when its last slot was decided, in steady-clock
    // nanoseconds; 0 until then.
    std::atomic<qint64> openedAtNs{0};
    std::atomic<qint64> stoppedAtNs{0};
    std::atomic<int> framesWritten{0};
    std::atomic<int> framesDuplicated{0};
    std::atomic<int> framesDropped{0};
    std::atomic<int> framesReceived{0};
    std::atomic<int> framesSkipped{0};
    std::atomic<qint64> bytesWritten{0};
    std::atomic<qint64> freeBytes{-1};
    std::atomic<RecordingLimit> endedAtLimit{RecordingLimit::None};
};
