#include "v4l2backend.h"

#include "v4l2device.h"
#include "v4l2systemio.h"

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <utility>

namespace ostrel::capture {

namespace {

struct Source
{
    std::shared_ptr<V4l2Io> io;
    std::string directory;
};

std::mutex sourceMutex; // guards defaultSource
Source defaultSource;

Source currentSource()
{
    std::lock_guard<std::mutex> lock(sourceMutex);
    if (defaultSource.io)
        return defaultSource;
    return {std::make_shared<V4l2SystemIo>(), "/dev"};
}

// N of "videoN", or -1 for any other name.
long nodeNumber(const std::string &name)
{
    const std::string prefix = "video";
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.size() > prefix.size() + 9)
        return -1;
    const std::string digits = name.substr(prefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stol(digits);
}

} // namespace

V4l2Backend::V4l2Backend()
{
    Source source = currentSource();
    io = std::move(source.io);
    directory = std::move(source.directory);
}

V4l2Backend::V4l2Backend(std::shared_ptr<V4l2Io> io, std::string directory)
    : io(std::move(io))
    , directory(std::move(directory))
{}

std::vector<std::unique_ptr<Device>> V4l2Backend::enumerateDevices()
{
    std::vector<std::unique_ptr<V4l2Device>> found;
    for (const std::string &path : nodePaths(directory)) {
        if (auto device = V4l2Device::probe(io, path))
            found.push_back(std::move(device));
    }
    // Identical cameras plugged in together each keep their own memory by their port; a camera
    // on its own keeps the id it always had.
    for (size_t i = 0; i < found.size(); ++i) {
        for (size_t j = i + 1; j < found.size(); ++j) {
            if (found[i]->isTwinOf(*found[j])) {
                found[i]->tellApartByPort();
                found[j]->tellApartByPort();
            }
        }
    }
    std::vector<std::unique_ptr<Device>> devices;
    for (auto &device : found)
        devices.push_back(std::move(device));
    return devices;
}

std::vector<std::string> V4l2Backend::nodePaths(const std::string &directory)
{
    std::vector<std::pair<long, std::string>> nodes;
    std::error_code error;
    std::filesystem::directory_iterator entry(directory, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        if (const long number = nodeNumber(entry->path().filename().string()); number >= 0)
            nodes.emplace_back(number, entry->path().string());
    }
    std::sort(nodes.begin(), nodes.end());
    std::vector<std::string> paths;
    for (auto &node : nodes)
        paths.push_back(std::move(node.second));
    return paths;
}

void V4l2Backend::setDefaultSource(std::shared_ptr<V4l2Io> io, std::string directory)
{
    std::lock_guard<std::mutex> lock(sourceMutex);
    defaultSource = {std::move(io), std::move(directory)};
}

void V4l2Backend::resetDefaultSource()
{
    std::lock_guard<std::mutex> lock(sourceMutex);
    defaultSource = {};
}

} // namespace ostrel::capture
