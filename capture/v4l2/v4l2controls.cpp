#include "v4l2controls.h"

#include <linux/videodev2.h>

#include <cerrno>
#include <iterator>

namespace ostrel::capture {

namespace {

struct ControlMapping
{
    uint32_t value;
    // Some drivers name the same thing differently (relative exposure instead of absolute).
    uint32_t alternative;
    uint32_t automatic;
};

// Indexed by property id; entry 0 is unused.
constexpr ControlMapping mappings[] = {
    {0, 0, 0},
    {V4L2_CID_EXPOSURE_ABSOLUTE, V4L2_CID_EXPOSURE, V4L2_CID_EXPOSURE_AUTO},
    {V4L2_CID_FOCUS_ABSOLUTE, 0, V4L2_CID_FOCUS_AUTO},
    {V4L2_CID_ZOOM_ABSOLUTE, 0, 0},
    {V4L2_CID_WHITE_BALANCE_TEMPERATURE, 0, V4L2_CID_AUTO_WHITE_BALANCE},
    {V4L2_CID_GAIN, 0, V4L2_CID_AUTOGAIN},
    {V4L2_CID_BRIGHTNESS, 0, V4L2_CID_AUTOBRIGHTNESS},
    {V4L2_CID_CONTRAST, 0, 0},
    {V4L2_CID_SATURATION, 0, 0},
    {V4L2_CID_GAMMA, 0, 0},
    {V4L2_CID_HUE, 0, V4L2_CID_HUE_AUTO},
    {V4L2_CID_SHARPNESS, 0, 0},
    {V4L2_CID_BACKLIGHT_COMPENSATION, 0, 0},
    {V4L2_CID_POWER_LINE_FREQUENCY, 0, 0},
};

const ControlMapping *mappingOf(CapPropertyID id)
{
    return id > 0 && id < std::size(mappings) ? &mappings[id] : nullptr;
}

// Exposure's auto control is a menu; the fully automatic modes in order of preference.
constexpr int32_t exposureAutoModes[] = {V4L2_EXPOSURE_AUTO, V4L2_EXPOSURE_APERTURE_PRIORITY,
                                         V4L2_EXPOSURE_SHUTTER_PRIORITY};

} // namespace

V4l2Controls::V4l2Controls(const V4l2Fd &fd)
    : fd(fd)
{}

int V4l2Controls::limits(CapPropertyID id, int32_t &min, int32_t &max, int32_t &def) const
{
    v4l2_queryctrl control{};
    if (const int result = findValueControl(id, control); result < 0)
        return result;
    min = control.minimum;
    max = control.maximum;
    def = control.default_value;
    return 0;
}

int V4l2Controls::value(CapPropertyID id, int32_t &value) const
{
    v4l2_queryctrl control{};
    if (const int result = findValueControl(id, control); result < 0)
        return result;
    return getControl(control.id, value);
}

int V4l2Controls::setValue(CapPropertyID id, int32_t value) const
{
    v4l2_queryctrl control{};
    if (const int result = findValueControl(id, control); result < 0)
        return result;
    return setControl(control.id, value);
}

int V4l2Controls::automatic(CapPropertyID id, bool &enabled) const
{
    v4l2_queryctrl control{};
    if (const int result = findAutoControl(id, control); result < 0)
        return result;
    int32_t value = 0;
    if (const int result = getControl(control.id, value); result < 0)
        return result;
    enabled = control.id == V4L2_CID_EXPOSURE_AUTO ? value != V4L2_EXPOSURE_MANUAL : value != 0;
    return 0;
}

int V4l2Controls::setAutomatic(CapPropertyID id, bool enabled) const
{
    v4l2_queryctrl control{};
    if (const int result = findAutoControl(id, control); result < 0)
        return result;
    if (control.id != V4L2_CID_EXPOSURE_AUTO)
        return setControl(control.id, enabled ? 1 : 0);
    int32_t mode = V4L2_EXPOSURE_MANUAL;
    if (enabled) {
        if (const int result = exposureAutoMode(control, mode); result < 0)
            return result;
    }
    return setControl(control.id, mode);
}

int V4l2Controls::subscribeEvents() const
{
    int subscribed = 0;
    for (const ControlMapping &mapping : mappings) {
        for (const uint32_t control : {mapping.value, mapping.alternative, mapping.automatic}) {
            if (control == 0)
                continue;
            v4l2_event_subscription subscription{};
            subscription.type = V4L2_EVENT_CTRL;
            subscription.id = control;
            // A device without the control refuses; only the controls it has report.
            if (fd.ioctl(VIDIOC_SUBSCRIBE_EVENT, &subscription) == 0)
                ++subscribed;
        }
    }
    return subscribed;
}

bool V4l2Controls::describeEvent(const v4l2_event &event, CapControlEvent &change) const
{
    // A change of flags alone (a value control greyed out while its automatic mode is on) is
    // told by the automatic control's own event.
    if (event.type != V4L2_EVENT_CTRL || !(event.u.ctrl.changes & V4L2_EVENT_CTRL_CH_VALUE))
        return false;
    for (CapPropertyID id = 1; id < std::size(mappings); ++id) {
        const ControlMapping &mapping = mappings[id];
        const bool isValue =
            event.id == mapping.value || (mapping.alternative && event.id == mapping.alternative);
        const bool isAuto = mapping.automatic && event.id == mapping.automatic;
        if (!isValue && !isAuto)
            continue;
        change.propID = id;
        if (isValue) {
            change.value = event.u.ctrl.value;
            bool enabled = false;
            change.automatic = automatic(id, enabled) == 0 && enabled ? 1 : 0;
        } else {
            change.automatic = event.id == V4L2_CID_EXPOSURE_AUTO
                                   ? event.u.ctrl.value != V4L2_EXPOSURE_MANUAL
                                   : event.u.ctrl.value != 0;
            int32_t current = 0;
            if (value(id, current) < 0)
                return false;
            change.value = current;
        }
        return true;
    }
    return false;
}

int V4l2Controls::exposureAutoMode(const v4l2_queryctrl &control, int32_t &mode) const
{
    for (int32_t candidate : exposureAutoModes) {
        if (candidate < control.minimum || candidate > control.maximum)
            continue;
        v4l2_querymenu item{};
        item.id = control.id;
        item.index = uint32_t(candidate);
        const int result = fd.ioctl(VIDIOC_QUERYMENU, &item);
        if (result == 0) {
            mode = candidate;
            return 0;
        }
        if (result != -EINVAL)
            return result;
    }
    return -ENOTSUP;
}

int V4l2Controls::findValueControl(CapPropertyID id, v4l2_queryctrl &control) const
{
    const ControlMapping *mapping = mappingOf(id);
    if (!mapping)
        return -ENOTSUP;
    const int result = query(mapping->value, control);
    if (result == -ENOTSUP && mapping->alternative)
        return query(mapping->alternative, control);
    return result;
}

int V4l2Controls::findAutoControl(CapPropertyID id, v4l2_queryctrl &control) const
{
    const ControlMapping *mapping = mappingOf(id);
    if (!mapping || !mapping->automatic)
        return -ENOTSUP;
    return query(mapping->automatic, control);
}

int V4l2Controls::query(uint32_t id, v4l2_queryctrl &control) const
{
    control = {};
    control.id = id;
    const int result = fd.ioctl(VIDIOC_QUERYCTRL, &control);
    if (result == -EINVAL || (result == 0 && (control.flags & V4L2_CTRL_FLAG_DISABLED)))
        return -ENOTSUP;
    // A driver may answer for a neighbour when it does not know the id.
    if (result == 0 && control.id != id)
        return -ENOTSUP;
    return result;
}

int V4l2Controls::getControl(uint32_t id, int32_t &value) const
{
    v4l2_control control{};
    control.id = id;
    const int result = fd.ioctl(VIDIOC_G_CTRL, &control);
    if (result == 0)
        value = control.value;
    return result;
}

int V4l2Controls::setControl(uint32_t id, int32_t value) const
{
    v4l2_control control{};
    control.id = id;
    control.value = value;
    return fd.ioctl(VIDIOC_S_CTRL, &control);
}

} // namespace ostrel::capture
