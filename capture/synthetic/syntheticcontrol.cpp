// The test control functions, on top of the synthetic registry.
#include "syntheticcontrol.h"

#include "syntheticregistry.h"

namespace ostrel::synthetic {

using capture::SyntheticRegistry;

uint32_t fourcc(const char code[4])
{
    return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) |
           static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
}

void setDevices(const std::vector<DeviceSpec> &devices)
{
    SyntheticRegistry::instance().setDevices(devices);
}

void resetDevices()
{
    SyntheticRegistry::instance().resetToEnvironment();
}

void setNameUnreadable(int device, bool unreadable)
{
    if (auto state = SyntheticRegistry::instance().device(device))
        state->setNameUnreadable(unreadable);
}

void setFormatUnreadable(int device, int formatIndex, bool unreadable)
{
    if (formatIndex < 0)
        return;
    if (auto state = SyntheticRegistry::instance().device(device))
        state->setFormatUnreadable(static_cast<uint32_t>(formatIndex), unreadable);
}

void failNextCreateContext()
{
    SyntheticRegistry::instance().arm(SyntheticRegistry::Fault::CreateContext);
}

void failNextOpenStream(uint32_t error)
{
    SyntheticRegistry::instance().setInjectedOpenError(error);
    SyntheticRegistry::instance().arm(SyntheticRegistry::Fault::OpenStream);
}

void failNextCaptureFrame()
{
    SyntheticRegistry::instance().arm(SyntheticRegistry::Fault::CaptureFrame);
}

void failNextGetFormatInfo()
{
    SyntheticRegistry::instance().arm(SyntheticRegistry::Fault::GetFormatInfo);
}

void setPropertyLimits(int device, CapPropertyID id, int32_t min, int32_t max, int32_t def)
{
    if (auto state = SyntheticRegistry::instance().device(device))
        state->setLimits(id, min, max, def);
}

void setPropertyValue(int device, CapPropertyID id, int32_t value)
{
    if (auto state = SyntheticRegistry::instance().device(device))
        state->forceValue(id, value);
}

void removeProperty(int device, CapPropertyID id)
{
    if (auto state = SyntheticRegistry::instance().device(device))
        state->removeProperty(id);
}

PropertyState propertyState(int device, CapPropertyID id)
{
    if (auto state = SyntheticRegistry::instance().device(device))
        return state->state(id);
    return {};
}

void changePropertyElsewhere(int device, CapPropertyID id, int32_t value, bool automatic)
{
    if (auto state = SyntheticRegistry::instance().device(device))
        state->changeElsewhere(id, value, automatic);
}

void setPlugged(int device, bool plugged)
{
    if (auto state = SyntheticRegistry::instance().device(device))
        state->setPlugged(plugged);
}

void setRenderDelay(int device, int milliseconds)
{
    if (auto state = SyntheticRegistry::instance().device(device))
        state->setRenderDelayMs(milliseconds);
}

void setMisbehaviour(int device, const Misbehaviour &misbehaviour)
{
    if (auto state = SyntheticRegistry::instance().device(device))
        state->setMisbehaviour(misbehaviour);
}

int64_t jitterOffsetUs(uint64_t sequence, uint32_t jitterUs)
{
    if (jitterUs == 0)
        return 0;
    // splitmix64's mixing: neighbouring frames get unrelated offsets, the same frame the same.
    uint64_t hash = sequence + 0x9E3779B97F4A7C15ull;
    hash = (hash ^ (hash >> 30)) * 0xBF58476D1CE4E5B9ull;
    hash = (hash ^ (hash >> 27)) * 0x94D049BB133111EBull;
    hash ^= hash >> 31;
    const uint64_t span = 2 * uint64_t(jitterUs) + 1;
    return int64_t(hash % span) - int64_t(jitterUs);
}

} // namespace ostrel::synthetic
