#include "v4l2wakeup.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace ostrel::capture {

V4l2Wakeup::V4l2Wakeup()
    : descriptor(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{}

V4l2Wakeup::~V4l2Wakeup()
{
    if (descriptor >= 0)
        ::close(descriptor);
}

void V4l2Wakeup::raise() const
{
    const uint64_t one = 1;
    // Only a counter at its limit refuses, and that one is raised already.
    [[maybe_unused]] const ssize_t written = ::write(descriptor, &one, sizeof one);
}

bool V4l2Wakeup::consume() const
{
    uint64_t count = 0;
    return ::read(descriptor, &count, sizeof count) == ssize_t(sizeof count) && count > 0;
}

} // namespace ostrel::capture
