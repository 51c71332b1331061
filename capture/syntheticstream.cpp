#include "syntheticstream.h"

#include "syntheticregistry.h"

namespace ostrel::capture {

SyntheticStream::SyntheticStream(std::shared_ptr<SyntheticDeviceState> device,
                                 const synthetic::FormatSpec &format)
    : device(std::move(device))
    , frameWidth(format.width)
    , frameHeight(format.height)
    , start(std::chrono::steady_clock::now())
    // A camera that reports no frame rate still streams; such a format is paced at 30 fps.
    , framePeriod(format.fps ? format.fpsDenominator / (format.fps * this->device->rateFactor())
                             : 1.0 / (30 * this->device->rateFactor()))
    , pattern(format.width, format.height)
    , patternGeneration(this->device->pictureGeneration())
{
    const SyntheticDeviceState::Picture p = this->device->picture();
    pattern.setPicture(p.brightness, p.contrast, p.sharpness);
}

uint64_t SyntheticStream::dueFrames() const
{
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return static_cast<uint64_t>(elapsed / framePeriod) + 1;
}

bool SyntheticStream::hasNewFrame()
{
    if (!device->isAvailable())
        return false;
    std::lock_guard lock(frameMutex);
    return dueFrames() > nextFrame;
}

CapResult SyntheticStream::captureFrame(uint8_t *buffer)
{
    if (!device->isAvailable())
        return CAPRESULT_DEVICENOTFOUND;
    if (SyntheticRegistry::instance().take(SyntheticRegistry::Fault::CaptureFrame))
        return CAPRESULT_ERR;

    std::lock_guard lock(frameMutex);
    const uint32_t generation = device->pictureGeneration();
    if (generation != patternGeneration) {
        const SyntheticDeviceState::Picture p = device->picture();
        pattern.setPicture(p.brightness, p.contrast, p.sharpness);
        patternGeneration = generation;
    }
    // Without a new frame due, the newest one is delivered again.
    const uint64_t due = dueFrames();
    const uint64_t frame = due > nextFrame ? due - 1 : nextFrame - 1;
    nextFrame = frame + 1;
    pattern.render(static_cast<uint32_t>(frame), buffer);
    ++captured;
    return CAPRESULT_OK;
}

CapResult SyntheticStream::propertyLimits(CapPropertyID id, int32_t &min, int32_t &max,
                                          int32_t &def)
{
    if (!device->isAvailable())
        return CAPRESULT_DEVICENOTFOUND;
    return device->limits(id, min, max, def);
}

CapResult SyntheticStream::property(CapPropertyID id, int32_t &value)
{
    if (!device->isAvailable())
        return CAPRESULT_DEVICENOTFOUND;
    return device->value(id, value);
}

CapResult SyntheticStream::setProperty(CapPropertyID id, int32_t value)
{
    if (!device->isAvailable())
        return CAPRESULT_DEVICENOTFOUND;
    return device->setValue(id, value);
}

CapResult SyntheticStream::autoProperty(CapPropertyID id, bool &enabled)
{
    if (!device->isAvailable())
        return CAPRESULT_DEVICENOTFOUND;
    return device->automatic(id, enabled);
}

CapResult SyntheticStream::setAutoProperty(CapPropertyID id, bool enabled)
{
    if (!device->isAvailable())
        return CAPRESULT_DEVICENOTFOUND;
    return device->setAutomatic(id, enabled);
}

} // namespace ostrel::capture
