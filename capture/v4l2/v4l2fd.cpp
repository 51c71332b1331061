#include "v4l2fd.h"

#include <utility>

namespace ostrel::capture {

V4l2Fd::V4l2Fd(std::shared_ptr<V4l2Io> io, int fd)
    : ioPtr(std::move(io))
    , fd(fd)
{}

V4l2Fd::~V4l2Fd()
{
    reset();
}

V4l2Fd::V4l2Fd(V4l2Fd &&other) noexcept
    : ioPtr(std::move(other.ioPtr))
    , fd(std::exchange(other.fd, -1))
{}

V4l2Fd &V4l2Fd::operator=(V4l2Fd &&other) noexcept
{
    if (this != &other) {
        reset();
        ioPtr = std::move(other.ioPtr);
        fd = std::exchange(other.fd, -1);
    }
    return *this;
}

V4l2Fd V4l2Fd::open(const std::shared_ptr<V4l2Io> &io, const std::string &path, int &error)
{
    const int fd = io->open(path);
    error = fd < 0 ? fd : 0;
    return fd < 0 ? V4l2Fd() : V4l2Fd(io, fd);
}

void V4l2Fd::reset()
{
    if (fd >= 0 && ioPtr)
        ioPtr->close(fd);
    fd = -1;
}

} // namespace ostrel::capture
