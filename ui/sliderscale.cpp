#include "sliderscale.h"

#include <QtGlobal>

#include <cmath>

SliderScale::SliderScale(int min, int max)
    : min(min)
    , max(max)
{}

std::optional<SliderScale> SliderScale::of(CameraBase *camera, CameraBase::Property property)
{
    if (!camera)
        return std::nullopt;
    for (const CameraBase::PropertyRange &range : camera->properties()) {
        if (range.property == property)
            return SliderScale(range.min, range.max);
    }
    return std::nullopt;
}

int SliderScale::toDevice(int position) const
{
    const double span = double(max) - double(min);
    const double fraction = double(qBound(lowest, position, highest) - lowest) / (highest - lowest);
    return int(std::lround(min + span * fraction));
}

int SliderScale::toPosition(int device) const
{
    // A range of one point has one position: the middle.
    const double span = double(max) - double(min);
    if (span <= 0)
        return (lowest + highest) / 2;
    const double fraction = (double(qBound(min, device, max)) - min) / span;
    return lowest + int(std::lround(fraction * (highest - lowest)));
}

QString SliderScale::brightnessText(int position)
{
    return QString::number(position - 50);
}

QString SliderScale::contrastText(int position)
{
    return QString::number(position / 50.0, 'f', 2);
}
