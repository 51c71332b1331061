#include "context.h"

#include <limits>

namespace ostrel::capture {

Context::Context()
    : backends(createBackends())
{
    for (const auto &backend : backends) {
        for (auto &device : backend->enumerateDevices())
            devices.push_back(std::move(device));
    }
    names.resize(devices.size());
    uniqueIds.resize(devices.size());
}

Device *Context::device(CapDeviceID index) const
{
    return index < devices.size() ? devices[index].get() : nullptr;
}

const char *Context::keep(std::string &slot, const std::string &text)
{
    // Keeping the old string when nothing changed leaves earlier pointers valid.
    if (slot != text)
        slot = text;
    return slot.c_str();
}

const char *Context::deviceName(CapDeviceID index)
{
    Device *d = device(index);
    if (!d)
        return nullptr;
    const std::optional<std::string> name = d->name();
    if (!name)
        return nullptr;
    std::lock_guard lock(mutex);
    return keep(names[index], *name);
}

const char *Context::deviceUniqueId(CapDeviceID index)
{
    Device *d = device(index);
    if (!d)
        return nullptr;
    const std::string id = d->uniqueId();
    std::lock_guard lock(mutex);
    return keep(uniqueIds[index], id);
}

CapStream Context::openStream(CapDeviceID deviceIndex, CapFormatID formatIndex)
{
    Device *d = device(deviceIndex);
    if (!d) {
        logMessage(LOG_ERR, "Cap_openStream: no device " + std::to_string(deviceIndex));
        return -1;
    }
    const int32_t count = d->formatCount();
    if (count < 1 || formatIndex >= static_cast<uint32_t>(count)) {
        logMessage(LOG_ERR, "Cap_openStream: device " + std::to_string(deviceIndex) +
                                " has no format " + std::to_string(formatIndex));
        return -1;
    }
    std::unique_ptr<Stream> opened = d->openStream(formatIndex);
    if (!opened)
        return -1;
    if (!rgbFrameSize(opened->width(), opened->height())) {
        logMessage(LOG_ERR, "Cap_openStream: a frame of " + std::to_string(opened->width()) + "x" +
                                std::to_string(opened->height()) +
                                " does not fit a 32-bit RGB buffer size");
        return -1;
    }
    std::lock_guard lock(mutex);
    if (nextStreamId == std::numeric_limits<CapStream>::max()) {
        logMessage(LOG_ERR, "Cap_openStream: stream ids of this context are used up");
        return -1;
    }
    const CapStream id = nextStreamId++;
    streams.emplace(id, std::move(opened));
    return id;
}

bool Context::closeStream(CapStream id)
{
    std::shared_ptr<Stream> closing;
    {
        std::lock_guard lock(mutex);
        const auto it = streams.find(id);
        if (it == streams.end())
            return false;
        closing = std::move(it->second);
        streams.erase(it);
    }
    // The stream itself goes here, outside the lock, unless a call on it is still running.
    return true;
}

std::shared_ptr<Stream> Context::stream(CapStream id) const
{
    std::lock_guard lock(mutex);
    const auto it = streams.find(id);
    return it == streams.end() ? nullptr : it->second;
}

} // namespace ostrel::capture
