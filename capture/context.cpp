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
    lastErrors.resize(devices.size(), CAPERROR_NONE);
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
        setLastError(deviceIndex, CAPERROR_OTHER);
        return -1;
    }
    std::unique_ptr<Stream> opened = d->openStream(formatIndex);
    if (!opened) {
        setLastError(deviceIndex, d->openError());
        return -1;
    }
    if (!rgbFrameSize(opened->width(), opened->height())) {
        logMessage(LOG_ERR, "Cap_openStream: a frame of " + std::to_string(opened->width()) + "x" +
                                std::to_string(opened->height()) +
                                " does not fit a 32-bit RGB buffer size");
        setLastError(deviceIndex, CAPERROR_TOOLARGE);
        return -1;
    }
    std::lock_guard lock(mutex);
    if (nextStreamId == std::numeric_limits<CapStream>::max()) {
        logMessage(LOG_ERR, "Cap_openStream: stream ids of this context are used up");
        lastErrors[deviceIndex] = CAPERROR_OTHER;
        return -1;
    }
    const CapStream id = nextStreamId++;
    streams.emplace(id, std::move(opened));
    streamDevices.emplace(id, deviceIndex);
    lastErrors[deviceIndex] = CAPERROR_NONE;
    return id;
}

void Context::setLastError(CapDeviceID index, uint32_t error)
{
    std::lock_guard lock(mutex);
    lastErrors[index] = error;
}

uint32_t Context::lastError(CapDeviceID index) const
{
    std::lock_guard lock(mutex);
    return index < lastErrors.size() ? lastErrors[index] : CAPERROR_NONE;
}

void Context::noteStreamResult(CapStream id, CapResult result)
{
    if (result != CAPRESULT_DEVICENOTFOUND)
        return;
    std::lock_guard lock(mutex);
    if (const auto it = streamDevices.find(id); it != streamDevices.end())
        lastErrors[it->second] = CAPERROR_GONE;
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
        streamDevices.erase(id);
    }
    // A thread still waiting for one of its frames returns now rather than at its timeout.
    closing->interruptWait();
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
