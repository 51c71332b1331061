#include "audiotrack.h"

#include <QDebug>

#include <algorithm>

namespace {

// Chunks that wait for the first frame, at most: about ten seconds of the usual 10-50 ms ones.
constexpr std::size_t maxWaitingChunks = 500;
constexpr qint64 maxAheadSeconds = 10;
// The timestamps of a sound server jitter by a few milliseconds: chunks this close to the end of
// the sound follow on it, at most half a frame period. A microphone's chunks come within a few
// tens of milliseconds, more on a busy machine, but some sources hand over seconds of sound at
// once (PulseAudio's sine source: two); where none came after this long, it is silence.
constexpr qint64 joinToleranceNs = 15000000;
constexpr qint64 arrivalLatencyNs = 3000000000;

} // namespace

void AudioTrack::reset(const AudioFormat &format, double fps)
{
    audioFormat = format;
    toleranceNs = std::min<qint64>(joinToleranceNs, std::llround(5e8 / fps));
    latencyNs = arrivalLatencyNs;
    origin = 0;
    originSet = false;
    placedAny = false;
    placed.clear();
    taken = 0;
    std::lock_guard<std::mutex> lock(mutex);
    arrived.clear();
    arrivedUntilNs = 0;
}

void AudioTrack::add(const AudioChunk &chunk)
{
    const qint64 frames = chunk.samples.size() / std::max(1, audioFormat.bytesPerFrame());
    if (!audioFormat.isValid() || frames == 0)
        return;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (arrived.size() >= maxWaitingChunks)
            arrived.pop_front();
        arrived.push_back(chunk);
        arrivedUntilNs = chunk.timeNs + frames * 1000000000 / audioFormat.sampleRate;
    }
    arrivedMore.notify_one();
}

void AudioTrack::setOrigin(qint64 originNs)
{
    if (originSet)
        return;
    origin = originNs;
    originSet = true;
}

qint64 AudioTrack::frameAt(qint64 timeNs) const
{
    const qint64 ns = timeNs - origin;
    const qint64 scaled = ns * audioFormat.sampleRate;
    // Rounded to the nearest frame, also before the origin.
    return (scaled >= 0 ? scaled + 500000000 : scaled - 500000000) / 1000000000;
}

qint64 AudioTrack::placedEnd() const
{
    return taken + placed.size() / audioFormat.bytesPerFrame();
}

void AudioTrack::appendSilence(qint64 frames)
{
    if (frames > 0)
        placed.append(QByteArray(frames * audioFormat.bytesPerFrame(), '\0'));
}

void AudioTrack::place(const AudioChunk &chunk)
{
    const int bytesPerFrame = audioFormat.bytesPerFrame();
    const qint64 frames = chunk.samples.size() / bytesPerFrame;
    const qint64 end = placedEnd();
    const qint64 tolerance = toleranceNs * audioFormat.sampleRate / 1000000000;
    qint64 at = frameAt(chunk.timeNs);
    // The sound before a later chunk is filled in as time passes, so a chunk far beyond the end
    // has a time of some other clock: it is left out rather than preceded by that much silence.
    if (at - end > maxAheadSeconds * audioFormat.sampleRate) {
        qWarning() << "AudioTrack: a chunk" << (at - end) / audioFormat.sampleRate
                   << "s ahead of the sound, left out";
        return;
    }
    // The first chunk sets where the sound lies: it goes exactly where its time says.
    if (placedAny && std::abs(at - end) <= tolerance)
        at = end;
    // A gap stays a gap; what would overlap the sound already there is left out.
    appendSilence(at - end);
    const qint64 overlap = std::clamp<qint64>(end - at, 0, frames);
    placed.append(chunk.samples.constData() + overlap * bytesPerFrame,
                  (frames - overlap) * bytesPerFrame);
    placedAny = placedAny || overlap < frames;
}

void AudioTrack::placeArrived()
{
    if (!originSet || !audioFormat.isValid())
        return;
    std::deque<AudioChunk> chunks;
    {
        std::lock_guard<std::mutex> lock(mutex);
        chunks.swap(arrived);
    }
    for (const AudioChunk &chunk : chunks)
        place(chunk);
}

QByteArray AudioTrack::takeUpTo(qint64 endFrame)
{
    const qint64 bytes =
        std::clamp<qint64>((endFrame - taken) * audioFormat.bytesPerFrame(), 0, placed.size());
    const QByteArray result = placed.left(bytes);
    placed.remove(0, bytes);
    taken += bytes / audioFormat.bytesPerFrame();
    return result;
}

QByteArray AudioTrack::take(qint64 endFrame, qint64 nowNs)
{
    if (!originSet || !audioFormat.isValid())
        return QByteArray();
    placeArrived();
    // Sound that has not come by now never will: the source stalled or is gone.
    appendSilence(std::min(endFrame, frameAt(nowNs - latencyNs)) - placedEnd());
    return takeUpTo(endFrame);
}

QByteArray AudioTrack::takeAll(qint64 endFrame)
{
    if (!originSet || !audioFormat.isValid())
        return QByteArray();
    placeArrived();
    appendSilence(endFrame - placedEnd());
    return takeUpTo(endFrame);
}

void AudioTrack::waitFor(qint64 endFrame)
{
    if (!originSet || !audioFormat.isValid())
        return;
    const qint64 endNs = origin + endFrame * 1000000000 / audioFormat.sampleRate;
    const Clock::time_point deadline{std::chrono::nanoseconds(endNs + latencyNs)};
    std::unique_lock<std::mutex> lock(mutex);
    arrivedMore.wait_until(lock, deadline, [&] { return frameAt(arrivedUntilNs) >= endFrame; });
}
