#include "pulseaudiosource.h"

#include <QDebug>

#include <cstdlib>

namespace {
// A run whose counted time is this far off the measured time lost samples (or the source
// stalled): it starts again from the measured time.
constexpr qint64 gapNs = 100'000'000;
// The measured times jitter with the scheduling of this thread; their mean is followed once it
// has moved this far from the counted time (the source's clock drifts from the monotonic one).
constexpr qint64 driftLimitNs = 20'000'000;
constexpr int driftSmoothing = 16; // chunks
// The server hands samples over about this often.
constexpr qint64 fragmentUs = 20'000;
} // namespace

PulseAudioSource::PulseAudioSource(const AudioSourceInfo &source, QObject *parent)
    : AudioSource(source.format, parent)
    , sourceName(source.name)
{}

PulseAudioSource::~PulseAudioSource()
{
    stop();
}

void PulseAudioSource::start()
{
    if (mainloop)
        return;
    mainloop.reset(pa_threaded_mainloop_new());
    if (!mainloop) {
        emit failed(tr("the sound client could not be started"));
        return;
    }
    pa_threaded_mainloop_lock(mainloop.get());
    stopping = false;
    reported = false;
    streamReady = false;
    runStartNs = -1;
    context.reset(pa_context_new(pa_threaded_mainloop_get_api(mainloop.get()), pulseClientName()));
    QString failure;
    if (!context) {
        failure = tr("the sound client could not be started");
    } else {
        pa_context_set_state_callback(context.get(), &PulseAudioSource::onContextState, this);
        if (pa_context_connect(context.get(), nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            failure = pulseErrorText(context.get());
        else if (pa_threaded_mainloop_start(mainloop.get()) < 0)
            failure = tr("the sound client could not be started");
    }
    pa_threaded_mainloop_unlock(mainloop.get());
    if (!failure.isEmpty()) {
        context.reset();
        mainloop.reset();
        reportFailure(failure);
    }
}

void PulseAudioSource::stop()
{
    if (!mainloop)
        return;
    pa_threaded_mainloop_lock(mainloop.get());
    stopping = true;
    if (stream) {
        pa_stream_set_read_callback(stream.get(), nullptr, nullptr);
        pa_stream_set_latency_update_callback(stream.get(), nullptr, nullptr);
        pa_stream_set_overflow_callback(stream.get(), nullptr, nullptr);
    }
    stream.reset();
    if (context)
        pa_context_set_state_callback(context.get(), nullptr, nullptr);
    context.reset();
    pa_threaded_mainloop_unlock(mainloop.get());
    pa_threaded_mainloop_stop(mainloop.get());
    mainloop.reset();
}

void PulseAudioSource::onContextState(pa_context *context, void *self)
{
    auto *source = static_cast<PulseAudioSource *>(self);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        source->openStream();
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        source->reportFailure(pulseErrorText(context));
        break;
    default:
        break;
    }
}

void PulseAudioSource::openStream()
{
    const AudioFormat wanted = format();
    const pa_sample_spec spec{PA_SAMPLE_S16LE, uint32_t(wanted.sampleRate),
                              uint8_t(wanted.channels)};
    stream.reset(pa_stream_new(context.get(), "Recording", &spec, nullptr));
    if (!stream) {
        reportFailure(pulseErrorText(context.get()));
        return;
    }
    pa_stream_set_state_callback(stream.get(), &PulseAudioSource::onStreamState, this);
    pa_stream_set_read_callback(stream.get(), &PulseAudioSource::onReadable, this);
    pa_stream_set_latency_update_callback(stream.get(), &PulseAudioSource::onLatencyUpdate, this);
    pa_stream_set_overflow_callback(stream.get(), &PulseAudioSource::onOverflow, this);
    pa_buffer_attr buffer;
    buffer.maxlength = uint32_t(-1);
    buffer.fragsize = uint32_t(pa_usec_to_bytes(fragmentUs, &spec));
    buffer.tlength = buffer.prebuf = buffer.minreq = uint32_t(-1);
    // A source that goes away ends the stream rather than moving it to another microphone.
    const auto flags = pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING |
                                         PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_DONT_MOVE);
    if (pa_stream_connect_record(stream.get(), sourceName.toUtf8().constData(), &buffer, flags) < 0)
        reportFailure(pulseErrorText(context.get()));
}

void PulseAudioSource::onStreamState(pa_stream *stream, void *self)
{
    auto *source = static_cast<PulseAudioSource *>(self);
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY:
        source->streamReady = true;
        break;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        source->reportFailure(pulseErrorText(pa_stream_get_context(stream)));
        break;
    default:
        break;
    }
}

void PulseAudioSource::onReadable(pa_stream *, size_t, void *self)
{
    static_cast<PulseAudioSource *>(self)->readAvailable();
}

void PulseAudioSource::onLatencyUpdate(pa_stream *, void *self)
{
    static_cast<PulseAudioSource *>(self)->readAvailable();
}

void PulseAudioSource::readAvailable()
{
    const int frameBytes = format().bytesPerFrame();
    while (pa_stream_readable_size(stream.get()) > 0) {
        const void *data = nullptr;
        size_t bytes = 0;
        if (pa_stream_peek(stream.get(), &data, &bytes) < 0 || bytes == 0)
            return;
        // The first sample waiting was taken latency ago. Until the server has said how long
        // that is, the samples wait in its buffer: a source may hand over seconds at once.
        pa_usec_t latencyUs = 0;
        int negative = 0;
        if (pa_stream_get_latency(stream.get(), &latencyUs, &negative) != 0)
            return;
        const qint64 frames = qint64(bytes) / frameBytes;
        const qint64 measuredNs = monotonicNowNs() - (negative ? -1 : 1) * qint64(latencyUs) * 1000;
        if (data && frames > 0) {
            followClock(measuredNs);
            deliver({stampOf(runFrames),
                     QByteArray(static_cast<const char *>(data), int(frames * frameBytes))});
            runFrames += frames;
        } else {
            // A hole in the stream: the next samples are stamped from the measured time.
            runStartNs = -1;
        }
        pa_stream_drop(stream.get());
    }
}

void PulseAudioSource::followClock(qint64 measuredNs)
{
    const qint64 errorNs = runStartNs < 0 ? 0 : measuredNs - stampOf(runFrames);
    if (runStartNs < 0 || std::llabs(errorNs) > gapNs) {
        runStartNs = measuredNs;
        runFrames = 0;
        driftNs = 0;
        return;
    }
    driftNs += (errorNs - driftNs) / driftSmoothing;
    if (std::llabs(driftNs) > driftLimitNs) {
        runStartNs += driftNs;
        driftNs = 0;
    }
}

void PulseAudioSource::onOverflow(pa_stream *, void *self)
{
    // Samples were lost: the next ones are stamped from the measured time.
    static_cast<PulseAudioSource *>(self)->runStartNs = -1;
}

qint64 PulseAudioSource::stampOf(qint64 frames)
{
    return runStartNs + frames * 1'000'000'000 / format().sampleRate;
}

void PulseAudioSource::reportFailure(const QString &reason)
{
    if (stopping || reported)
        return;
    reported = true;
    if (streamReady)
        emit lost(reason);
    else
        emit failed(reason);
}
