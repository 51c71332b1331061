#pragma once

#include <optional>
#include <vector>

// The spread of frame intervals: what a steady camera keeps to one value and a jittery or lossy
// one spreads out. Percentiles are nearest-rank: the smallest interval that at least that share
// of all intervals does not exceed.
class IntervalStatistics
{
public:
    struct Summary
    {
        double medianMs = 0.0;
        double p95Ms = 0.0;
        double p99Ms = 0.0;
        double maxMs = 0.0;
        int count = 0;
    };

    // Nothing for no intervals.
    static std::optional<Summary> of(std::vector<double> intervalsMs);
    // The nearest-rank percentile (0 < share <= 1) of sorted, non-empty values.
    static double percentile(const std::vector<double> &sorted, double share);
};
