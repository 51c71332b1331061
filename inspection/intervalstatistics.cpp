#include "intervalstatistics.h"

#include <algorithm>
#include <cmath>

std::optional<IntervalStatistics::Summary> IntervalStatistics::of(std::vector<double> intervalsMs)
{
    if (intervalsMs.empty())
        return std::nullopt;
    std::sort(intervalsMs.begin(), intervalsMs.end());
    Summary summary;
    summary.medianMs = percentile(intervalsMs, 0.5);
    summary.p95Ms = percentile(intervalsMs, 0.95);
    summary.p99Ms = percentile(intervalsMs, 0.99);
    summary.maxMs = intervalsMs.back();
    summary.count = int(intervalsMs.size());
    return summary;
}

double IntervalStatistics::percentile(const std::vector<double> &sorted, double share)
{
    const auto rank = size_t(std::ceil(share * double(sorted.size())));
    return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
}
