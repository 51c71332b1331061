// The state one synthetic camera shares between its device entries in every context and all of
// its open streams: definition, plug state, read faults and image properties. Unplugging or a
// property change therefore reaches open streams at once.
#pragma once

#include "syntheticcontrol.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace ostrel::capture {

class SyntheticDeviceState
{
public:
    // The picture-relevant property values, read together by the renderer.
    struct Picture
    {
        int brightness = 0;
        int contrast = 32;
        int sharpness = 3;
    };

    // presencePath: the device exists only while that file exists (empty = always).
    // rateFactor: frames come at this multiple of each format's rate.
    SyntheticDeviceState(synthetic::DeviceSpec spec, std::string presencePath, double rateFactor);

    const synthetic::DeviceSpec &spec() const { return deviceSpec; }
    double rateFactor() const { return frameRateFactor; }

    // Plugged in and, when a presence file is configured, that file exists. Any thread.
    bool isAvailable() const;
    void setPlugged(bool plugged);
    // Extra time the Motion-JPEG thread of each stream spends on every frame, as on a machine
    // too busy for it; any thread.
    int renderDelayMs() const { return renderDelay.load(); }
    void setRenderDelayMs(int milliseconds) { renderDelay.store(milliseconds); }

    // Any thread.
    synthetic::Misbehaviour misbehaviour() const;
    void setMisbehaviour(const synthetic::Misbehaviour &misbehaviour);

    bool isNameReadable() const { return !nameUnreadable.load(); }
    void setNameUnreadable(bool unreadable) { nameUnreadable.store(unreadable); }
    bool isFormatReadable(uint32_t index) const;
    void setFormatUnreadable(uint32_t index, bool unreadable);

    CapResult limits(CapPropertyID id, int32_t &min, int32_t &max, int32_t &def) const;
    CapResult value(CapPropertyID id, int32_t &value) const;
    // Refuses a value outside the limits or while the automatic mode is on; counts every call
    // on a supported property.
    CapResult setValue(CapPropertyID id, int32_t value);
    // Not supported for a property without an automatic mode.
    CapResult automatic(CapPropertyID id, bool &enabled) const;
    // Switching automatic control off is accepted for every supported property (it is simply
    // manual already when it has no automatic mode); switching it on needs an automatic mode.
    CapResult setAutomatic(CapPropertyID id, bool enabled);

    // Test control: make the property supported with these limits, clamping its value.
    void setLimits(CapPropertyID id, int32_t min, int32_t max, int32_t def);
    void forceValue(CapPropertyID id, int32_t value);
    void removeProperty(CapPropertyID id);
    synthetic::PropertyState state(CapPropertyID id) const;
    // Test control: another program sets the property; every stream that listens hears of it.
    void changeElsewhere(CapPropertyID id, int32_t value, bool automatic);

    // How many changes made elsewhere there have been; a stream listens from there on.
    size_t changeCount() const;
    // Waits up to timeoutMs (negative: no limit) for the change after the first seen ones and
    // describes it, counting it as seen; CAPRESULT_ERR on timeout or once woken is set (which
    // it clears).
    CapResult waitForChange(size_t &seen, std::atomic<bool> &woken, int32_t timeoutMs,
                            CapControlEvent &event);
    // Any thread: every waitForChange looks at its woken flag again.
    void wakeWaiters();

    Picture picture() const;
    // Changes whenever brightness, contrast or sharpness changes, so that streams know when to
    // prepare their picture again.
    uint32_t pictureGeneration() const { return generation.load(); }

private:
    struct Property
    {
        bool supported = false;
        bool hasAutomatic = false;
        bool automatic = false;
        int32_t min = 0;
        int32_t max = 0;
        int32_t def = 0;
        int32_t value = 0;
        int setCount = 0;
        int autoOffCount = 0;
    };

    static bool affectsPicture(CapPropertyID id);
    const Property *find(CapPropertyID id) const;
    Property *find(CapPropertyID id);

    const synthetic::DeviceSpec deviceSpec;
    const std::string presencePath;
    const double frameRateFactor;
    std::atomic<bool> plugged{true};
    std::atomic<int> renderDelay{0};
    std::atomic<bool> nameUnreadable{false};
    std::atomic<uint32_t> generation{0};

    mutable std::mutex mutex;        // guards properties, unreadableFormats, changes, faults
    std::condition_variable changed; // a change was made elsewhere, or a waiter is woken
    std::array<Property, CAPPROPID_LAST> properties;
    std::vector<CapControlEvent> changes; // made elsewhere, oldest first
    std::set<uint32_t> unreadableFormats;
    synthetic::Misbehaviour faults;
};

} // namespace ostrel::capture
