#include "framediagnostics.h"

namespace {

// Bounds the memory whatever the rate: 10 s of a 1000 fps camera.
constexpr size_t maxSamples = 10000;

} // namespace

FrameDiagnostics::FrameDiagnostics(double windowSeconds)
    : windowUs(quint64(windowSeconds * 1e6))
{}

void FrameDiagnostics::setEnabled(bool on)
{
    std::lock_guard<std::mutex> lock(mutex);
    enabled = on;
    recent.clear();
}

void FrameDiagnostics::addFrame(const CameraBase::FrameFacts &facts)
{
    if (!enabled.load(std::memory_order_relaxed))
        return;
    std::lock_guard<std::mutex> lock(mutex);
    // A restarted stream counts and times from anew.
    if (!recent.empty() &&
        (facts.sequence <= recent.back().sequence || facts.timestampUs < recent.back().timestampUs))
        recent.clear();
    recent.push_back({facts.sequence, facts.timestampUs, facts.compressedBytes});
    while (recent.size() > maxSamples ||
           recent.back().timestampUs - recent.front().timestampUs > windowUs.load())
        recent.pop_front();
}

std::vector<FrameDiagnostics::Sample> FrameDiagnostics::samples() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return {recent.begin(), recent.end()};
}

FrameDiagnostics::Figures FrameDiagnostics::figuresOf(const std::vector<Sample> &samples)
{
    Figures figures;
    if (samples.empty())
        return figures;
    std::vector<double> intervals;
    intervals.reserve(samples.size());
    double compressed = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        compressed += double(samples[i].compressedBytes);
        if (i == 0)
            continue;
        intervals.push_back(double(samples[i].timestampUs - samples[i - 1].timestampUs) / 1000.0);
        figures.sequenceGaps += samples[i].sequence - samples[i - 1].sequence - 1;
    }
    figures.meanCompressedBytes = compressed / double(samples.size());
    const quint64 spanUs = samples.back().timestampUs - samples.front().timestampUs;
    if (spanUs > 0) {
        figures.deliveredFps = double(samples.size() - 1) * 1e6 / double(spanUs);
        figures.compressedBitsPerSecond = figures.meanCompressedBytes * 8 * figures.deliveredFps;
    }
    figures.intervals = IntervalStatistics::of(std::move(intervals));
    return figures;
}
