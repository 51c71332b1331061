// The capture library's property ids on a V4L2 node: each maps to a value control and, where the
// property has an automatic mode, to its auto control. Nothing is cached: every call asks the
// device, so that a vanished device shows itself on the next call. Results are 0 or -errno;
// -ENOTSUP when the property (or its automatic mode) does not exist on this device.
#pragma once

#include "capture.h"
#include "v4l2fd.h"

#include <cstdint>

struct v4l2_event;
struct v4l2_queryctrl;

namespace ostrel::capture {

class V4l2Controls
{
public:
    explicit V4l2Controls(const V4l2Fd &fd);

    int limits(CapPropertyID id, int32_t &min, int32_t &max, int32_t &def) const;
    int value(CapPropertyID id, int32_t &value) const;
    int setValue(CapPropertyID id, int32_t value) const;
    int automatic(CapPropertyID id, bool &enabled) const;
    int setAutomatic(CapPropertyID id, bool enabled) const;

    // Asks the device to report changes of every mapped control it has (VIDIOC_SUBSCRIBE_EVENT);
    // the number of controls it will report on.
    int subscribeEvents() const;
    // What a dequeued event says about a property: false for an event of no mapped control, or
    // one that changed no value.
    bool describeEvent(const v4l2_event &event, CapControlEvent &change) const;

private:
    // The value control of id that this device has, filled into query.
    int findValueControl(CapPropertyID id, v4l2_queryctrl &query) const;
    int findAutoControl(CapPropertyID id, v4l2_queryctrl &query) const;
    int query(uint32_t control, v4l2_queryctrl &result) const;
    int getControl(uint32_t control, int32_t &value) const;
    int setControl(uint32_t control, int32_t value) const;
    int exposureAutoMode(const v4l2_queryctrl &query, int32_t &mode) const;

    const V4l2Fd &fd;
};

} // namespace ostrel::capture
