// An open V4L2 node, closed through the same I/O seam that opened it. Move-only.
#pragma once

#include "v4l2io.h"

#include <memory>

namespace ostrel::capture {

class V4l2Fd
{
public:
    V4l2Fd() = default;
    V4l2Fd(std::shared_ptr<V4l2Io> io, int fd);
    ~V4l2Fd();
    V4l2Fd(V4l2Fd &&other) noexcept;
    V4l2Fd &operator=(V4l2Fd &&other) noexcept;
    V4l2Fd(const V4l2Fd &) = delete;
    V4l2Fd &operator=(const V4l2Fd &) = delete;

    // Opens path; the result is invalid and error holds -errno when that fails.
    static V4l2Fd open(const std::shared_ptr<V4l2Io> &io, const std::string &path, int &error);

    bool isValid() const { return fd >= 0; }
    int get() const { return fd; }
    V4l2Io &io() const { return *ioPtr; }
    const std::shared_ptr<V4l2Io> &sharedIo() const { return ioPtr; }

    // 0 or -errno.
    int ioctl(unsigned long request, void *arg) const { return ioPtr->ioctl(fd, request, arg); }

private:
    void reset();

    std::shared_ptr<V4l2Io> ioPtr;
    int fd = -1;
};

} // namespace ostrel::capture
