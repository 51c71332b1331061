// What a CapContext handle points to: the devices every backend listed when the context was
// created, and the streams opened on them.
//
// Threads: the capture thread calls stream() for each poll and capture while the GUI thread may
// open, close and use other streams; streams are handed out as shared pointers so that one
// closed by another thread lives until the call using it returns.
#pragma once

#include "backend.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace ostrel::capture {

class Context
{
public:
    Context();
    Context(const Context &) = delete;
    Context &operator=(const Context &) = delete;

    uint32_t deviceCount() const { return static_cast<uint32_t>(devices.size()); }
    // Null when index is out of range.
    Device *device(CapDeviceID index) const;
    // The pointers stay valid until the same call returns a different text for that device or
    // the context is released. Null when out of range or unreadable.
    const char *deviceName(CapDeviceID index);
    const char *deviceUniqueId(CapDeviceID index);

    // Negative on failure, with the reason logged and kept for lastError().
    CapStream openStream(CapDeviceID deviceIndex, CapFormatID formatIndex);
    bool closeStream(CapStream id);
    // Null for an unknown id.
    std::shared_ptr<Stream> stream(CapStream id) const;

    // A CAPERROR_ code, as Cap_getLastError describes it.
    uint32_t lastError(CapDeviceID index) const;
    // Remembers that the device of a stream has gone when a call on it found it so.
    void noteStreamResult(CapStream id, CapResult result);

private:
    const char *keep(std::string &slot, const std::string &text);

    std::vector<std::unique_ptr<Backend>> backends;
    std::vector<std::unique_ptr<Device>> devices;

    void setLastError(CapDeviceID index, uint32_t error);

    mutable std::mutex mutex; // guards streams, streamDevices, nextStreamId, names, uniqueIds,
                              // lastErrors
    std::map<CapStream, std::shared_ptr<Stream>> streams;
    std::map<CapStream, CapDeviceID> streamDevices;
    std::vector<uint32_t> lastErrors;
    CapStream nextStreamId = 0;
    std::vector<std::string> names;
    std::vector<std::string> uniqueIds;
};

} // namespace ostrel::capture
