#pragma once

#include "audiochunk.h"

#include <QByteArray>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

// The sound of one recording, laid out on the picture's time line. A chunk is placed by its own
// timestamp: the sample taken at a frame's capture time goes where that frame plays. A chunk
// that follows within the tolerance of where the sound before it ended is joined on (the
// timestamps jitter by a few milliseconds); a later one leaves a gap of silence, an earlier one
// loses the samples that would overlap. Positions count sample frames from the file time 0 of
// the recording's first file, pauses left out.
//
// add() may be called on any thread; everything else belongs to the writer's thread.
class AudioTrack
{
public:
    using Clock = std::chrono::steady_clock;

    // Forgets all sound; the picture that goes with it has fps frames a second.
    void reset(const AudioFormat &format, double fps);
    const AudioFormat &format() const { return audioFormat; }

    // Any thread: a chunk of the source.
    void add(const AudioChunk &chunk);

    // The monotonic time (ns) that plays at position 0; chunks wait for it to be set. Only the
    // first call after reset() sets it.
    void setOrigin(qint64 originNs);
    bool hasOrigin() const { return originSet; }
    // After a pause: the time line moves on by the time paused.
    void shiftOrigin(qint64 ns) { origin += ns; }
    // The position of a monotonic time.
    qint64 frameAt(qint64 timeNs) const;
    // Sound handed out so far.
    qint64 position() const { return taken; }

    // Places the chunks that came; done before a pause, so that none is placed after it.
    void placeArrived();
    // The sound from position() on, as far as it is known by nowNs, at most up to endFrame.
    QByteArray take(qint64 endFrame, qint64 nowNs);
    // The sound from position() on up to endFrame exactly, silence where none came.
    QByteArray takeAll(qint64 endFrame);
    // Sleeps until the sound up to endFrame has come, or until it surely will not any more.
    void waitFor(qint64 endFrame);

private:
    void place(const AudioChunk &chunk);
    void appendSilence(qint64 frames);
    qint64 placedEnd() const;
    QByteArray takeUpTo(qint64 endFrame);

    AudioFormat audioFormat;
    qint64 toleranceNs = 0; // how far a chunk may lie from the end and still be joined on
    qint64 latencyNs = 0;   // how long after it was taken a sample has surely come

    std::mutex mutex; // guards arrived and arrivedUntilNs
    std::condition_variable arrivedMore;
    std::deque<AudioChunk> arrived;
    qint64 arrivedUntilNs = 0; // the end of the newest chunk

    // The writer's thread only.
    qint64 origin = 0;
    bool originSet = false;
    bool placedAny = false;
    QByteArray placed; // sound from position() on
    qint64 taken = 0;  // sample frames handed out
};
