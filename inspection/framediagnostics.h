#pragma once

#include "camerabase.h"
#include "intervalstatistics.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

// Collects the camera's facts of every frame taken over the last seconds: the intervals between
// the camera's own timestamps, the numbers it skipped and the compressed sizes. It records only
// while enabled, so it costs one check per frame while nobody looks.
class FrameDiagnostics
{
public:
    struct Sample
    {
        quint64 sequence = 0;
        quint64 timestampUs = 0;
        qint64 compressedBytes = 0;
    };

    // What the samples of the window say.
    struct Figures
    {
        double deliveredFps = 0.0; // from the camera's timestamps; 0 below two frames
        std::optional<IntervalStatistics::Summary> intervals;
        quint64 sequenceGaps = 0;       // numbers missing between frames taken
        double meanCompressedBytes = 0; // 0 for an uncompressed format
        double compressedBitsPerSecond = 0;
    };

    // windowSeconds: how much of the camera's time is kept.
    explicit FrameDiagnostics(double windowSeconds = 10.0);

    // Any thread: how much of the camera's time is kept from now on.
    void setWindow(double seconds) { windowUs = quint64(seconds * 1e6); }
    // Any thread. Disabling forgets what was collected.
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled.load(); }

    // The capture thread, for every frame taken.
    void addFrame(const CameraBase::FrameFacts &facts);

    // Any thread: the samples of the window, oldest first, and what they say.
    std::vector<Sample> samples() const;
    static Figures figuresOf(const std::vector<Sample> &samples);

private:
    std::atomic<quint64> windowUs;
    std::atomic<bool> enabled{false};
    mutable std::mutex mutex; // guards recent
    std::deque<Sample> recent;
};
