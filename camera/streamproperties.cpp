#include "streamproperties.h"

#include "capture.h"

#include <QtGlobal>

StreamProperties::StreamProperties(void *context, int32_t stream)
    : context(context)
    , stream(stream)
{}

static_assert(int(CameraBase::Property::Exposure) == CAPPROPID_EXPOSURE &&
                  int(CameraBase::Property::PowerLineFrequency) == CAPPROPID_POWERLINEFREQ &&
                  int(CameraBase::Property::PowerLineFrequency) + 1 == CAPPROPID_LAST,
              "Property follows the library's property ids");

QList<CameraBase::PropertyRange> StreamProperties::supported() const
{
    QList<CameraBase::PropertyRange> ranges;
    if (!isOpen())
        return ranges;
    for (int id = CAPPROPID_EXPOSURE; id < CAPPROPID_LAST; ++id) {
        int32_t min = 0, max = 0, def = 0;
        if (Cap_getPropertyLimits(context, stream, CapPropertyID(id), &min, &max, &def) !=
                CAPRESULT_OK ||
            min > max)
            continue;
        CameraBase::PropertyRange range;
        range.property = CameraBase::Property(id);
        range.min = min;
        range.max = max;
        range.def = qBound(min, def, max);
        uint32_t automatic = 0;
        range.hasAuto =
            Cap_getAutoProperty(context, stream, CapPropertyID(id), &automatic) == CAPRESULT_OK;
        ranges.append(range);
    }
    return ranges;
}

std::optional<int> StreamProperties::value(CameraBase::Property property) const
{
    int32_t raw = 0;
    if (!isOpen() ||
        Cap_getProperty(context, stream, CapPropertyID(property), &raw) != CAPRESULT_OK)
        return std::nullopt;
    return raw;
}

std::optional<bool> StreamProperties::isAutomatic(CameraBase::Property property) const
{
    uint32_t automatic = 0;
    if (!isOpen() ||
        Cap_getAutoProperty(context, stream, CapPropertyID(property), &automatic) != CAPRESULT_OK)
        return std::nullopt;
    return automatic != 0;
}

bool StreamProperties::setValue(CameraBase::Property property, int value)
{
    if (!isOpen())
        return false;
    // Off before the value, never after: a UVC camera under automatic control refuses the
    // value (EACCES), and one that took it would overwrite it at once.
    if (isAutomatic(property).value_or(false))
        Cap_setAutoProperty(context, stream, CapPropertyID(property), 0);
    return Cap_setProperty(context, stream, CapPropertyID(property), value) == CAPRESULT_OK;
}

bool StreamProperties::setAutomatic(CameraBase::Property property, bool automatic)
{
    return isOpen() && Cap_setAutoProperty(context, stream, CapPropertyID(property),
                                           automatic ? 1 : 0) == CAPRESULT_OK;
}
