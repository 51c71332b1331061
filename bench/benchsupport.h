// Helpers the benchmark programs share: the frame number in a synthetic frame's sequence strip,
// percentiles, CPU time of the process and of its threads, and the command line's numbers.
#pragma once

#include <QImage>
#include <QMap>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace BenchSupport {

// The frame number in the sequence strip of a synthetic frame: 32 cells across the top sixteenth
// of the rows, most significant bit on the left, white = 1. Any image format.
std::optional<uint32_t> frameSequence(const QImage &frame);

// The value at fraction (0 to 1) of the way through sorted, which must not be empty.
double percentile(const std::vector<double> &sorted, double fraction);

struct ThreadCpu
{
    QString name;
    double seconds = 0.0;
};

// CPU seconds of each living thread of the process, by thread id.
QMap<QString, ThreadCpu> threadCpu();

// CPU seconds of the whole process, threads that have ended included.
double processCpuSeconds();

// Runs the event loop as the program does, idle between events.
void runEventLoop(int milliseconds);

// The whole number argv[index], at least 1, or fallback when the command line is shorter.
int positiveArgument(int argc, char *argv[], int index, int fallback);

} // namespace BenchSupport
