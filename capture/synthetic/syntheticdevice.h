// One synthetic camera as a context lists it.
#pragma once

#include "backend.h"
#include "syntheticdevicestate.h"

#include <memory>

namespace ostrel::capture {

class SyntheticDevice : public Device
{
public:
    SyntheticDevice(std::shared_ptr<SyntheticDeviceState> state);

    // "synthetic:" and the name, which tells the synthetic cameras apart.

    std::optional<std::string> name() const override;
    std::string uniqueId() const override;
    int32_t formatCount() const override;
    bool formatInfo(uint32_t index, CapFormatInfo &info) const override;
    bool frameRate(uint32_t index, uint32_t &numerator, uint32_t &denominator) const override;
    std::unique_ptr<Stream> openStream(uint32_t formatIndex) override;

private:
    const std::shared_ptr<SyntheticDeviceState> state;
};

} // namespace ostrel::capture
