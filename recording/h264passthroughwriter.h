#pragma once

#include "camerabase.h"
#include "videowriterthread.h"

#include <QSize>
#include <QString>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

class MovieFile;

// Records a camera's own H.264 frames into a Matroska or MP4 file (by the file's suffix) without
// decoding them: every frame goes in byte for byte, stamped with the camera's time relative to
// the first frame written, so the file lasts as long as the recording did. The file begins at
// the first keyframe, whose parameter sets describe the stream; after a frame missing from the
// camera's numbering, or one refused as damaged, the frames up to the next keyframe are left out
// (counted as skipped), so the file never holds a picture built on a missing one.
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
    // a .mkv or .mp4 path, the camera's frame size and its nominal rate, which the file declares
    // (the frames keep the camera's own times).
    bool startWriting(const QString &fileName, const QSize &frameSize, double fps);
    // Any thread but the worker (the camera's compressed tap): one frame, in the camera's order.
    void addFrame(const CameraBase::CompressedFrame &frame);
    // Any thread but the worker: asks the worker to write what it was given and finish; returns
    // at once. The file is complete when writingFinished() (or, after a failure, errorOccurred())
    // and then QThread::finished() have been emitted.
    void requestStop();
    // GUI thread: returns once the worker has closed the file.
    void stopWriting();
    // Any thread. elapsedMs is the camera's time from the first frame written to the last.
    WriterStatistics statistics() const;

signals:
    // The recording failed (the file not opened, a write failed, no keyframe came) and ends;
    // the text gives the cause. After a failed open no writingFinished() follows.
    void errorOccurred(QString error);
    void writingFinished();

protected:
    void run() override;

private:
    struct Held
    {
        QByteArray data; // empty: nothing held
        qint64 pts = -1; // of the last frame held, also once written
        bool keyframe = false;
    };

    // Worker thread: one frame of the camera to the file, or left out; an error ends it all.
    QString take(MovieFile &file, const CameraBase::CompressedFrame &frame);
    // Worker thread: the held frame into the file, shown for duration microseconds.
    QString writeHeld(MovieFile &file, qint64 duration);

    // Written by startWriting before the worker starts, read-only while it runs.
    QString fileName;
    QSize frameSize;
    double framesPerSecond = 0.0;

    std::mutex queueMutex; // guards queue, queuedBytes, stopRequested and accepting
    std::condition_variable queueChanged;
    std::deque<CameraBase::CompressedFrame> queue;
    qint64 queuedBytes = 0;
    bool stopRequested = false;
    bool accepting = false; // from startWriting until the worker ends

    // Worker thread only.
    bool opened = false;
    bool awaitingKeyframe = true;
    bool skippedSinceHeld = false;
    bool haveSequence = false;
    quint32 lastSequence = 0;
    qint64 firstTimestampUs = 0;
    Held held;

    std::atomic<int> framesWritten{0};
    std::atomic<int> framesDropped{0};
    std::atomic<int> framesReceived{0};
    std::atomic<int> framesSkipped{0};
    std::atomic<qint64> recordedUs{0};
    std::atomic<qint64> bytesWritten{0};
};
