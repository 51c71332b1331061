#include "syntheticdevice.h"

#include "syntheticconfig.h"
#include "syntheticregistry.h"
#include "syntheticstream.h"

namespace ostrel::capture {

SyntheticDevice::SyntheticDevice(std::shared_ptr<SyntheticDeviceState> state)
    : state(std::move(state))
{}

std::optional<std::string> SyntheticDevice::name() const
{
    if (!state->isNameReadable())
        return std::nullopt;
    return state->spec().name;
}

std::string SyntheticDevice::uniqueId() const
{
    return "synthetic:" + state->spec().name;
}

int32_t SyntheticDevice::formatCount() const
{
    return static_cast<int32_t>(state->spec().formats.size());
}

bool SyntheticDevice::formatInfo(uint32_t formatIndex, CapFormatInfo &info) const
{
    const auto &formats = state->spec().formats;
    if (formatIndex >= formats.size())
        return false;
    if (SyntheticRegistry::instance().take(SyntheticRegistry::Fault::GetFormatInfo))
        return false;
    if (!state->isFormatReadable(formatIndex))
        return false;
    const synthetic::FormatSpec &format = formats[formatIndex];
    const uint32_t roundedFps = (format.fps + format.fpsDenominator / 2) / format.fpsDenominator;
    info = {format.width, format.height, format.fourcc, roundedFps, bitsPerPixel(format.fourcc)};
    return true;
}

bool SyntheticDevice::frameRate(uint32_t formatIndex, uint32_t &numerator,
                                uint32_t &denominator) const
{
    const auto &formats = state->spec().formats;
    if (formatIndex >= formats.size() || !state->isFormatReadable(formatIndex))
        return false;
    numerator = formats[formatIndex].fps;
    denominator = formats[formatIndex].fpsDenominator;
    return true;
}

std::unique_ptr<Stream> SyntheticDevice::openStream(uint32_t formatIndex)
{
    const auto &formats = state->spec().formats;
    if (formatIndex >= formats.size())
        return nullptr;
    if (SyntheticRegistry::instance().take(SyntheticRegistry::Fault::OpenStream)) {
        logMessage(LOG_ERR, "synthetic camera \"" + state->spec().name +
                                "\": opening the stream failed (injected fault)");
        lastOpenError = SyntheticRegistry::instance().injectedOpenError();
        return nullptr;
    }
    if (!state->isAvailable()) {
        logMessage(LOG_ERR, "synthetic camera \"" + state->spec().name + "\" is unplugged");
        lastOpenError = CAPERROR_GONE;
        return nullptr;
    }
    const synthetic::FormatSpec &format = formats[formatIndex];
    // The pattern holds two whole frames; refuse what the caller could not take anyway.
    if (!rgbFrameSize(format.width, format.height)) {
        logMessage(LOG_ERR, "synthetic camera \"" + state->spec().name + "\": format " +
                                std::to_string(formatIndex) + " has no usable RGB frame size");
        lastOpenError = CAPERROR_TOOLARGE;
        return nullptr;
    }
    lastOpenError = CAPERROR_NONE;
    return std::make_unique<SyntheticStream>(state, format);
}

} // namespace ostrel::capture
