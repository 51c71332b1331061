#include "wakeevent.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace ostrel::capture {

WakeEvent::WakeEvent()
    : descriptor(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{}

WakeEvent::~WakeEvent()
{
    if (descriptor >= 0)
        ::close(descriptor);
}

void WakeEvent::raise()
{
    const uint64_t one = 1;
    // Fails only when the counter is full, which leaves it raised all the same.
    [[maybe_unused]] const ssize_t written = ::write(descriptor, &one, sizeof one);
}

bool WakeEvent::take()
{
    uint64_t count = 0;
    return ::read(descriptor, &count, sizeof count) == ssize_t(sizeof count) && count > 0;
}

} // namespace ostrel::capture
