#include "syntheticdevicestate.h"

#include <chrono>

#include <algorithm>
#include <sys/stat.h>

namespace ostrel::capture {

SyntheticDeviceState::SyntheticDeviceState(synthetic::DeviceSpec spec, std::string presencePath,
                                           double rateFactor)
    : deviceSpec(std::move(spec))
    , presencePath(std::move(presencePath))
    , frameRateFactor(rateFactor)
{
    const auto define = [this](CapPropertyID id, int32_t min, int32_t max, int32_t def,
                               bool hasAutomatic) {
        Property &p = properties[id];
        p.supported = true;
        p.hasAutomatic = hasAutomatic;
        p.automatic = hasAutomatic;
        p.min = min;
        p.max = max;
        p.def = def;
        p.value = def;
    };
    // Ranges of a typical UVC webcam; only the first three change the picture.
    define(CAPPROPID_BRIGHTNESS, -64, 64, 0, false);
    define(CAPPROPID_CONTRAST, 0, 95, 32, false);
    define(CAPPROPID_SHARPNESS, 0, 7, 3, false);
    define(CAPPROPID_EXPOSURE, 1, 5000, 156, true);
    define(CAPPROPID_WHITEBALANCE, 2800, 6500, 4600, true);
    define(CAPPROPID_GAIN, 0, 100, 0, false);
    define(CAPPROPID_SATURATION, 0, 128, 64, false);
}

bool SyntheticDeviceState::isAvailable() const
{
    if (!plugged.load())
        return false;
    if (presencePath.empty())
        return true;
    struct stat info;
    return ::stat(presencePath.c_str(), &info) == 0;
}

void SyntheticDeviceState::setPlugged(bool isPlugged)
{
    plugged.store(isPlugged);
}

bool SyntheticDeviceState::isFormatReadable(uint32_t index) const
{
    std::lock_guard lock(mutex);
    return unreadableFormats.count(index) == 0;
}

void SyntheticDeviceState::setFormatUnreadable(uint32_t index, bool unreadable)
{
    std::lock_guard lock(mutex);
    if (unreadable)
        unreadableFormats.insert(index);
    else
        unreadableFormats.erase(index);
}

bool SyntheticDeviceState::affectsPicture(CapPropertyID id)
{
    return id == CAPPROPID_BRIGHTNESS || id == CAPPROPID_CONTRAST || id == CAPPROPID_SHARPNESS;
}

const SyntheticDeviceState::Property *SyntheticDeviceState::find(CapPropertyID id) const
{
    if (id >= properties.size() || !properties[id].supported)
        return nullptr;
    return &properties[id];
}

SyntheticDeviceState::Property *SyntheticDeviceState::find(CapPropertyID id)
{
    if (id >= properties.size() || !properties[id].supported)
        return nullptr;
    return &properties[id];
}

CapResult SyntheticDeviceState::limits(CapPropertyID id, int32_t &min, int32_t &max,
                                       int32_t &def) const
{
    std::lock_guard lock(mutex);
    const Property *p = find(id);
    if (!p)
        return CAPRESULT_PROPERTYNOTSUPPORTED;
    min = p->min;
    max = p->max;
    def = p->def;
    return CAPRESULT_OK;
}

CapResult SyntheticDeviceState::value(CapPropertyID id, int32_t &value) const
{
    std::lock_guard lock(mutex);
    const Property *p = find(id);
    if (!p)
        return CAPRESULT_PROPERTYNOTSUPPORTED;
    value = p->value;
    return CAPRESULT_OK;
}

CapResult SyntheticDeviceState::setValue(CapPropertyID id, int32_t value)
{
    std::lock_guard lock(mutex);
    Property *p = find(id);
    if (!p)
        return CAPRESULT_PROPERTYNOTSUPPORTED;
    ++p->setCount;
    // As newer kernels do: no manual value while the camera controls the property itself.
    if (value < p->min || value > p->max || p->automatic)
        return CAPRESULT_ERR;
    p->value = value;
    if (affectsPicture(id))
        ++generation;
    return CAPRESULT_OK;
}

CapResult SyntheticDeviceState::automatic(CapPropertyID id, bool &enabled) const
{
    std::lock_guard lock(mutex);
    const Property *p = find(id);
    if (!p || !p->hasAutomatic)
        return CAPRESULT_PROPERTYNOTSUPPORTED;
    enabled = p->automatic;
    return CAPRESULT_OK;
}

CapResult SyntheticDeviceState::setAutomatic(CapPropertyID id, bool enabled)
{
    std::lock_guard lock(mutex);
    Property *p = find(id);
    if (!p)
        return CAPRESULT_PROPERTYNOTSUPPORTED;
    if (!enabled) {
        ++p->autoOffCount;
        p->automatic = false;
        return CAPRESULT_OK;
    }
    if (!p->hasAutomatic)
        return CAPRESULT_PROPERTYNOTSUPPORTED;
    p->automatic = true;
    return CAPRESULT_OK;
}

void SyntheticDeviceState::setLimits(CapPropertyID id, int32_t min, int32_t max, int32_t def)
{
    if (id >= properties.size())
        return;
    std::lock_guard lock(mutex);
    Property &p = properties[id];
    p.supported = true;
    p.min = min;
    p.max = std::max(min, max);
    p.def = std::clamp(def, p.min, p.max);
    p.value = std::clamp(p.value, p.min, p.max);
    if (affectsPicture(id))
        ++generation;
}

void SyntheticDeviceState::forceValue(CapPropertyID id, int32_t value)
{
    if (id >= properties.size())
        return;
    std::lock_guard lock(mutex);
    properties[id].value = value;
    if (affectsPicture(id))
        ++generation;
}

void SyntheticDeviceState::changeElsewhere(CapPropertyID id, int32_t value, bool automatic)
{
    if (id == 0 || id >= properties.size())
        return;
    std::lock_guard lock(mutex);
    properties[id].value = value;
    properties[id].automatic = automatic && properties[id].hasAutomatic;
    if (affectsPicture(id))
        ++generation;
    changes.push_back({id, value, properties[id].automatic ? 1u : 0u});
    changed.notify_all();
}

size_t SyntheticDeviceState::changeCount() const
{
    std::lock_guard lock(mutex);
    return changes.size();
}

CapResult SyntheticDeviceState::waitForChange(size_t &seen, std::atomic<bool> &woken,
                                              int32_t timeoutMs, CapControlEvent &event)
{
    std::unique_lock lock(mutex);
    const auto ready = [&] {
        return woken.load() || changes.size() > seen;
    };
    if (timeoutMs < 0)
        changed.wait(lock, ready);
    else
        changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    if (woken.exchange(false) || changes.size() <= seen)
        return CAPRESULT_ERR;
    event = changes[seen++];
    return CAPRESULT_OK;
}

void SyntheticDeviceState::wakeWaiters()
{
    std::lock_guard lock(mutex);
    changed.notify_all();
}

void SyntheticDeviceState::removeProperty(CapPropertyID id)
{
    if (id >= properties.size())
        return;
    std::lock_guard lock(mutex);
    properties[id].supported = false;
}

synthetic::PropertyState SyntheticDeviceState::state(CapPropertyID id) const
{
    if (id >= properties.size())
        return {};
    std::lock_guard lock(mutex);
    const Property &p = properties[id];
    return {p.value, p.automatic, p.setCount, p.autoOffCount};
}

SyntheticDeviceState::Picture SyntheticDeviceState::picture() const
{
    std::lock_guard lock(mutex);
    return {properties[CAPPROPID_BRIGHTNESS].value, properties[CAPPROPID_CONTRAST].value,
            properties[CAPPROPID_SHARPNESS].value};
}

synthetic::Misbehaviour SyntheticDeviceState::misbehaviour() const
{
    std::lock_guard lock(mutex);
    return faults;
}

void SyntheticDeviceState::setMisbehaviour(const synthetic::Misbehaviour &misbehaviour)
{
    std::lock_guard lock(mutex);
    faults = misbehaviour;
}

} // namespace ostrel::capture
