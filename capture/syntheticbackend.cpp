#include "syntheticbackend.h"

#include "syntheticdevice.h"
#include "syntheticregistry.h"

namespace ostrel::capture {

std::vector<std::unique_ptr<Device>> SyntheticBackend::enumerateDevices()
{
    std::vector<std::unique_ptr<Device>> result;
    const auto states = SyntheticRegistry::instance().devices();
    for (size_t i = 0; i < states.size(); ++i) {
        if (states[i]->isAvailable())
            result.push_back(std::make_unique<SyntheticDevice>(states[i], static_cast<int>(i)));
    }
    return result;
}

} // namespace ostrel::capture
