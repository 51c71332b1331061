// The only way the V4L2 backend reaches the kernel. The system implementation forwards to the
// real calls; tests put a scripted device behind it. Every call returns a negative errno on
// failure instead of setting errno, so that results can travel between threads and through
// fakes without thread-local state.
#pragma once

#include <poll.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace ostrel::capture {

class V4l2Io
{
public:
    virtual ~V4l2Io() = default;

    // A descriptor (>= 0) or -errno. The backend always opens read-write and non-blocking.
    virtual int open(const std::string &path) = 0;
    virtual int close(int fd) = 0;
    // 0 (or the ioctl's own non-negative result) or -errno.
    virtual int ioctl(int fd, unsigned long request, void *arg) = 0;
    // A shared read-write mapping of a driver buffer, or null on failure.
    virtual void *mmap(int fd, size_t length, int64_t offset) = 0;
    virtual int munmap(void *address, size_t length) = 0;
    // The number of ready descriptors (0 on timeout) or -errno; fills fds[i].revents.
    virtual int poll(pollfd *fds, nfds_t count, int timeoutMs) = 0;
};

} // namespace ostrel::capture
