#include "v4l2systemio.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>

namespace ostrel::capture {

int V4l2SystemIo::open(const std::string &path)
{
    // Non-blocking so that dequeuing never stalls the capture thread when no buffer is ready.
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    return fd >= 0 ? fd : -errno;
}

int V4l2SystemIo::close(int fd)
{
    return ::close(fd) == 0 ? 0 : -errno;
}

int V4l2SystemIo::ioctl(int fd, unsigned long request, void *arg)
{
    int result;
    do {
        result = ::ioctl(fd, request, arg);
    } while (result < 0 && errno == EINTR);
    return result >= 0 ? result : -errno;
}

void *V4l2SystemIo::mmap(int fd, size_t length, int64_t offset)
{
    void *address =
        ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, static_cast<off_t>(offset));
    return address == MAP_FAILED ? nullptr : address;
}

int V4l2SystemIo::munmap(void *address, size_t length)
{
    return ::munmap(address, length) == 0 ? 0 : -errno;
}

int V4l2SystemIo::poll(pollfd *fds, nfds_t count, int timeoutMs)
{
    int result;
    do {
        result = ::poll(fds, count, timeoutMs);
    } while (result < 0 && errno == EINTR);
    return result >= 0 ? result : -errno;
}

} // namespace ostrel::capture
