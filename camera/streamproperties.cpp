#include "streamproperties.h"

#include "capture.h"

#include <QtGlobal>

#include <cmath>
#include <limits>

namespace {

// Truncation toward zero that saturates instead of leaving out-of-range doubles undefined.
int32_t truncateToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (value <= double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return int32_t(value);
}

int32_t saturateToInt32(qint64 value)
{
    constexpr qint64 lowest = std::numeric_limits<int32_t>::min();
    constexpr qint64 highest = std::numeric_limits<int32_t>::max();
    return int32_t(qBound(lowest, value, highest));
}

struct PropertyLimits
{
    // Stand in wherever the device leaves a limit unanswered.
    int32_t min = 0;
    int32_t max = 100;
    int32_t def = 50;
};

PropertyLimits propertyLimits(CapContext context, int stream, CapPropertyID id)
{
    PropertyLimits limits;
    Cap_getPropertyLimits(context, stream, id, &limits.min, &limits.max, &limits.def);
    return limits;
}

// Where raw lies in the device range, 0..1; no value for a range of one point.
std::optional<double> rangePosition(int32_t raw, const PropertyLimits &limits)
{
    const qint64 span = qint64(limits.max) - limits.min;
    if (span == 0)
        return std::nullopt;
    return double(qint64(raw) - limits.min) / double(span);
}

void writeProperty(CapContext context, int stream, CapPropertyID id, int32_t raw)
{
    Cap_setProperty(context, stream, id, raw);
    // A device under automatic control would overwrite the value at once.
    Cap_setAutoProperty(context, stream, id, 0);
}

// Where the device's current value lies in its range; no value when the device does not answer
// or its range is a single point.
std::optional<double> currentPosition(CapContext context, int stream, CapPropertyID id)
{
    int32_t raw = 0;
    if (Cap_getProperty(context, stream, id, &raw) != CAPRESULT_OK)
        return std::nullopt;
    return rangePosition(raw, propertyLimits(context, stream, id));
}

// Writes the device's default and returns where it lies in the range.
std::optional<double> resetToDefault(CapContext context, int stream, CapPropertyID id)
{
    const PropertyLimits limits = propertyLimits(context, stream, id);
    writeProperty(context, stream, id, limits.def);
    return rangePosition(limits.def, limits);
}

} // namespace

StreamProperties::StreamProperties(void *context, int32_t stream)
    : context(context)
    , stream(stream)
{}

bool StreamProperties::setBrightness(double value)
{
    if (!isOpen())
        return false;
    const PropertyLimits limits = propertyLimits(context, stream, CAPPROPID_BRIGHTNESS);
    // Integer steps: the value is truncated first and the scaled result rounds toward zero.
    const qint64 steps = qint64(truncateToInt32(value)) + 50;
    const qint64 raw = limits.min + (qint64(limits.max) - limits.min) * steps / 100;
    writeProperty(context, stream, CAPPROPID_BRIGHTNESS, saturateToInt32(raw));
    return true;
}

std::optional<double> StreamProperties::brightness() const
{
    if (!isOpen())
        return std::nullopt;
    if (const auto position = currentPosition(context, stream, CAPPROPID_BRIGHTNESS))
        return *position * 100.0 - 50.0;
    return std::nullopt;
}

std::optional<double> StreamProperties::resetBrightness()
{
    if (!isOpen())
        return std::nullopt;
    if (const auto position = resetToDefault(context, stream, CAPPROPID_BRIGHTNESS))
        return *position * 100.0 - 50.0;
    return std::nullopt;
}

bool StreamProperties::setContrast(double value)
{
    if (!isOpen())
        return false;
    const PropertyLimits limits = propertyLimits(context, stream, CAPPROPID_CONTRAST);
    // Scaled in double and truncated toward zero once at the end.
    const double span = double(qint64(limits.max) - limits.min);
    writeProperty(context, stream, CAPPROPID_CONTRAST,
                  truncateToInt32(span * value * 0.5 + limits.min));
    return true;
}

std::optional<double> StreamProperties::contrast() const
{
    if (!isOpen())
        return std::nullopt;
    if (const auto position = currentPosition(context, stream, CAPPROPID_CONTRAST))
        return *position * 2.0;
    return std::nullopt;
}

std::optional<double> StreamProperties::resetContrast()
{
    if (!isOpen())
        return std::nullopt;
    if (const auto position = resetToDefault(context, stream, CAPPROPID_CONTRAST))
        return *position * 2.0;
    return std::nullopt;
}

void StreamProperties::setSharpness(double value)
{
    if (!isOpen())
        return;
    const PropertyLimits limits = propertyLimits(context, stream, CAPPROPID_SHARPNESS);
    const double span = double(qint64(limits.max) - limits.min);
    writeProperty(context, stream, CAPPROPID_SHARPNESS,
                  truncateToInt32(span * value / 5.0 + limits.min));
}

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
    if (isAutomatic(property).value_or(false))
        Cap_setAutoProperty(context, stream, CapPropertyID(property), 0);
    return Cap_setProperty(context, stream, CapPropertyID(property), value) == CAPRESULT_OK;
}

bool StreamProperties::setAutomatic(CameraBase::Property property, bool automatic)
{
    return isOpen() && Cap_setAutoProperty(context, stream, CapPropertyID(property),
                                           automatic ? 1 : 0) == CAPRESULT_OK;
}
