#pragma once

#include "camerabase.h"

#include <QString>

#include <optional>

// The window's brightness and contrast sliders: positions 0..100, shown as brightness -50..50
// and contrast 0.00..2.00, laid linearly over the camera's own range of the property. Both ways
// round to the nearest step, so a value kept in the camera's units comes back to the position it
// was set from whenever the camera has at least as many steps as the slider. The panel, the keys
// and the remembered values all go through here.
class SliderScale
{
public:
    static constexpr int lowest = 0;
    static constexpr int highest = 100;

    SliderScale(int min, int max);
    // The scale of the running camera's property; none when the camera does not offer it.
    static std::optional<SliderScale> of(CameraBase *camera, CameraBase::Property property);

    int toDevice(int position) const;
    int toPosition(int device) const;

    // The number beside each slider.
    static QString brightnessText(int position);
    static QString contrastText(int position);

private:
    int min;
    int max;
};
