#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// The frames of one recording between the producer and the file: a bounded first-in first-out
// queue whose RGB frames are encoded to JPEG by a pool of worker threads in parallel, while the
// consumer takes the results strictly in the order the frames came.
class FrameEncodeQueue
{
public:
    using Clock = std::chrono::steady_clock;
    using Transform = std::function<QImage(const QImage &)>;

    enum class Front {
        Empty,   // nothing queued
        Pending, // the oldest frame is still being encoded
        Ready,   // the oldest frame was taken: its JPEG is in *jpeg
        Skipped, // the oldest frame was taken but had the wrong size after its transform
        Failed,  // the oldest frame was taken but could not be encoded: the reason is in *error
    };

    FrameEncodeQueue(int maxFrames, int keptByTrim);
    ~FrameEncodeQueue();
    FrameEncodeQueue(const FrameEncodeQueue &) = delete;
    FrameEncodeQueue &operator=(const FrameEncodeQueue &) = delete;

    enum class Output {
        Jpeg,   // a JPEG stream of the picture
        Yuv420, // the picture's YUV 4:2:0 planes, for a video encoder
    };

    // Owner's thread, with no workers running: forgets every frame and the interruption, and
    // sets the size frames must have in the file and what the workers make of them.
    void reset(const QSize &frameSize, Output output = Output::Jpeg);
    // Owner's thread: starts and ends the encode pool; endWorkers lets running encodes finish.
    void startWorkers(int count);
    void endWorkers();

    // Any thread. Each returns how many of the oldest frames it discarded to keep the bound, or
    // -1 when the frame was refused for its size (only checked here when no transform is set).
    // takenNs: when the frame was taken, on the steady clock; 0 for now.
    int push(const QImage &frame, qint64 takenNs = 0);
    int pushEncoded(const QByteArray &jpeg, const QSize &declaredSize, qint64 takenNs = 0);
    void setTransform(Transform transform);

    // Consumer thread. Takes the oldest frame when it is no longer pending; *takenNs, when
    // given, gets the time it was taken.
    Front takeFront(QByteArray *jpeg, QString *error, qint64 *takenNs = nullptr);
    // Consumer thread: discards up to count of the oldest frames, done or not; returns how many.
    int dropOldest(int count);
    // Consumer thread: discards every frame older than the newest one that is done, done or
    // not; returns how many it discarded.
    int skipToNewestDone();
    // Consumer thread: sleeps until every frame queued is done or the deadline; an interruption
    // does not end it. Returns whether every frame is done.
    bool waitForAll(Clock::time_point deadline);
    // Consumer thread: sleeps until the deadline, or until interrupted or woken.
    void sleepUntil(Clock::time_point deadline);
    // Any thread: ends the consumer's current or next sleepUntil, once.
    void wake();
    // Consumer thread: sleeps until the oldest frame is no longer pending or the deadline; an
    // interruption does not end it, so that a stopping consumer can still wait for its last frames.
    void waitForFront(Clock::time_point deadline);
    // Any thread: ends every sleep of the consumer, now and until the next reset.
    void interrupt();
    // Frames queued, done or not.
    int size() const;

private:
    struct Entry
    {
        QImage image; // the frame to encode; null once encoded or for a frame that came encoded
        Transform transform;
        QByteArray jpeg; // or the planes, for Output::Yuv420
        QString error;
        qint64 takenNs = 0;
        bool claimed = false;
        bool done = false;
        bool wrongSize = false;
    };

    // Worker threads.
    void encodeLoop();
    std::shared_ptr<Entry> claimNext();
    // mutex held: trims the queue before a new frame is appended.
    int trimForOneMore();

    const int maxFrames;
    const int keptByTrim;

    // Guards everything below. Encoding happens outside it, on an entry the worker holds a
    // reference to, so that a trim can drop an entry while it is being encoded.
    mutable std::mutex mutex;
    std::condition_variable workAvailable; // a frame to encode, or the pool ends
    std::condition_variable frontChanged;  // a frame done, or an interruption
    std::deque<std::shared_ptr<Entry>> entries;
    Transform transform;
    QSize frameSize;
    Output output = Output::Jpeg;
    bool interrupted = false;
    bool woken = false;
    bool workersEnd = false;

    std::vector<std::thread> workers; // owner's thread only
};
