#pragma once

#include "audiochunk.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>

// A source of sound for a recording: delivers chunks of samples, each stamped with the monotonic
// time of its first sample, on a thread of its own, and keeps the loudest sample for a level
// meter. Lives on the GUI thread; its signals come from the source's thread.
class AudioSource : public QObject
{
    Q_OBJECT

public:
    using ChunkCallback = std::function<void(const AudioChunk &chunk)>;

    explicit AudioSource(const AudioFormat &format, QObject *parent = nullptr);

    AudioFormat format() const { return sampleFormat; }
    // Any thread: called on the source's thread with every chunk; it must hand the chunk over
    // and return. Once this returns, the previous callback is not running and never called again.
    void setChunkCallback(ChunkCallback callback);
    // GUI thread: begins capturing; the source connects in the background and reports a failure
    // through failed().
    virtual void start() = 0;
    // GUI thread: ends capturing; no chunk is delivered once it returns.
    virtual void stop() = 0;
    // Any thread: the loudest sample since the last call, from 0 (silence) to 1 (full scale).
    double takePeak();

signals:
    // The source could not be started: no sound server, or the source is not there.
    void failed(const QString &reason);
    // The running source went away (a USB microphone unplugged); no chunks follow.
    void lost(const QString &reason);

protected:
    // The source's thread: hands a chunk to the callback and notes its loudest sample.
    void deliver(const AudioChunk &chunk);

private:
    const AudioFormat sampleFormat;
    std::mutex callbackMutex; // guards callback; held while it runs
    ChunkCallback callback;
    std::atomic<int> peak{0}; // the loudest sample's magnitude since takePeak(), 0..32768
};
