// Finds the V4L2 capture nodes: every videoN in a device directory, in ascending N.
#pragma once

#include "backend.h"
#include "v4l2io.h"

#include <memory>
#include <string>
#include <vector>

namespace ostrel::capture {

class V4l2Backend : public Backend
{
public:
    // The system's nodes under /dev, unless a test has replaced the default source.
    V4l2Backend();
    V4l2Backend(std::shared_ptr<V4l2Io> io, std::string directory);

    std::vector<std::unique_ptr<Device>> enumerateDevices() override;

    // The videoN entries of directory as full paths, in ascending N.
    static std::vector<std::string> nodePaths(const std::string &directory);

    // For tests of the whole library: contexts created afterwards find their V4L2 devices
    // through io in directory. resetDefaultSource returns to the system's /dev.
    static void setDefaultSource(std::shared_ptr<V4l2Io> io, std::string directory);
    static void resetDefaultSource();

private:
    std::shared_ptr<V4l2Io> io;
    std::string directory;
};

} // namespace ostrel::capture
