// Helpers of the tests that drive the capture library through its C interface: an owning
// context handle, a log collector and the synthetic devices of a context.
#pragma once

#include "capture.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <memory>
#include <mutex>
#include <utility>

namespace capturetest {

struct ContextDeleter
{
    void operator()(void *ctx) const { Cap_releaseContext(ctx); }
};
using ContextPtr = std::unique_ptr<void, ContextDeleter>;

using LogLine = QPair<uint32_t, QString>; // level, message

// The library may log from any thread that calls it.
inline std::mutex logMutex; // guards logLines
inline QList<LogLine> logLines;

inline void collectLog(uint32_t level, const char *message)
{
    std::lock_guard lock(logMutex);
    logLines.append({level, QString::fromUtf8(message)});
}

inline QList<LogLine> takeLog()
{
    std::lock_guard lock(logMutex);
    return std::exchange(logLines, {});
}

// Synthetic devices follow all others; their unique ids tell them apart.
inline QList<uint32_t> syntheticDevices(CapContext ctx)
{
    QList<uint32_t> result;
    for (uint32_t i = 0; i < Cap_getDeviceCount(ctx); ++i) {
        if (QByteArray(Cap_getDeviceUniqueID(ctx, i)).startsWith("synthetic:"))
            result << i;
    }
    return result;
}

} // namespace capturetest
