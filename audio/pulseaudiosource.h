#pragma once

#include "audiosource.h"
#include "audiosourceinfo.h"
#include "pulsesupport.h"

// Records one source of the PulseAudio sound server (or PipeWire serving its protocol) on the
// client library's own thread. Each chunk is stamped on the monotonic clock: the time a sample
// was taken is the time it is read less the latency the server reports, and within an unbroken
// run the samples follow each other at the source's rate; a run that drifts off the measured
// time by far (an overrun lost samples) starts again from the measured time, so a gap stays a gap
// in the timestamps; one whose measured times drift away on average (the source's clock is not
// the monotonic one) is moved after them.
class PulseAudioSource : public AudioSource
{
    Q_OBJECT

public:
    explicit PulseAudioSource(const AudioSourceInfo &source, QObject *parent = nullptr);
    ~PulseAudioSource() override;

    void start() override;
    void stop() override;

private:
    static void onContextState(pa_context *context, void *self);
    static void onStreamState(pa_stream *stream, void *self);
    static void onReadable(pa_stream *stream, size_t bytes, void *self);
    static void onLatencyUpdate(pa_stream *stream, void *self);
    static void onOverflow(pa_stream *stream, void *self);
    // The client library's thread, with its lock held.
    void openStream();
    void readAvailable();
    qint64 stampOf(qint64 frames);
    // Starts a new run, or moves the current one, where the measured time says.
    void followClock(qint64 measuredNs);
    void reportFailure(const QString &reason);

    const QString sourceName;
    // The client library's thread's objects; its lock guards them and the members below while
    // it runs.
    ThreadedMainloopHandle mainloop;
    ContextHandle context;
    StreamHandle stream;
    bool streamReady = false; // the stream delivered or could deliver: a later end is a loss
    bool stopping = false;    // stop() has begun: the end it causes is no loss
    bool reported = false;    // a failure or loss was reported; once is enough
    qint64 runStartNs = -1;   // the first sample of the current unbroken run
    qint64 runFrames = 0;     // sample frames delivered since then
    qint64 driftNs = 0;       // the measured times' mean distance from the counted ones
};
