#include "backend.h"
#include "synthetic/syntheticbackend.h"
#include "v4l2/v4l2backend.h"

namespace ostrel::capture {

std::vector<std::unique_ptr<Backend>> createBackends()
{
    std::vector<std::unique_ptr<Backend>> backends;
    backends.push_back(std::make_unique<V4l2Backend>());
    backends.push_back(std::make_unique<SyntheticBackend>());
    return backends;
}

} // namespace ostrel::capture
