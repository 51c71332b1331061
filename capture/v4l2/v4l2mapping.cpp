#include "v4l2mapping.h"

#include <utility>

namespace ostrel::capture {

V4l2Mapping::~V4l2Mapping()
{
    reset();
}

V4l2Mapping::V4l2Mapping(V4l2Mapping &&other) noexcept
    : io(std::move(other.io))
    , address(std::exchange(other.address, nullptr))
    , length(std::exchange(other.length, 0))
{}

V4l2Mapping &V4l2Mapping::operator=(V4l2Mapping &&other) noexcept
{
    if (this != &other) {
        reset();
        io = std::move(other.io);
        address = std::exchange(other.address, nullptr);
        length = std::exchange(other.length, 0);
    }
    return *this;
}

V4l2Mapping V4l2Mapping::map(const std::shared_ptr<V4l2Io> &io, int fd, size_t length,
                             int64_t offset)
{
    V4l2Mapping mapping;
    if (length == 0)
        return mapping;
    mapping.address = io->mmap(fd, length, offset);
    if (mapping.address) {
        mapping.io = io;
        mapping.length = length;
    }
    return mapping;
}

void V4l2Mapping::reset()
{
    if (address && io)
        io->munmap(address, length);
    address = nullptr;
    length = 0;
}

} // namespace ostrel::capture
