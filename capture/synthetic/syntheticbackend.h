// The synthetic cameras of the registry that are plugged in (and present) right now.
#pragma once

#include "backend.h"

namespace ostrel::capture {

class SyntheticBackend : public Backend
{
public:
    std::vector<std::unique_ptr<Device>> enumerateDevices() override;
};

} // namespace ostrel::capture
