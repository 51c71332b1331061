#include "syntheticbackend.h"

#include "syntheticdevice.h"
#include "syntheticregistry.h"

namespace ostrel::capture {

std::vector<std::unique_ptr<Device>> SyntheticBackend::enumerateDevices()
{
    std::vector<std::unique_ptr<Device>> result;
    const auto states = SyntheticRegistry::instance().devices();
    for (const auto &state : states) {
        if (state->isAvailable())
            result.push_back(std::make_unique<SyntheticDevice>(state));
    }
    return result;
}

} // namespace ostrel::capture
