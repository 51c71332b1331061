// V4l2Io over the real system calls.
#pragma once

#include "v4l2io.h"

namespace ostrel::capture {

class V4l2SystemIo : public V4l2Io
{
public:
    int open(const std::string &path) override;
    int close(int fd) override;
    int ioctl(int fd, unsigned long request, void *arg) override;
    void *mmap(int fd, size_t length, int64_t offset) override;
    int munmap(void *address, size_t length) override;
    int poll(pollfd *fds, nfds_t count, int timeoutMs) override;
};

} // namespace ostrel::capture
