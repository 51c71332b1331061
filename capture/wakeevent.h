// A flag one thread raises to wake another that sleeps in poll(): an eventfd, readable while
// raised. Raising it twice before it is taken wakes once. Owns the descriptor.
#pragma once

namespace ostrel::capture {

class WakeEvent
{
public:
    WakeEvent();
    ~WakeEvent();
    WakeEvent(const WakeEvent &) = delete;
    WakeEvent &operator=(const WakeEvent &) = delete;

    // -1 when no eventfd could be made; poll() then ignores the entry.
    int fd() const { return descriptor; }
    // Any thread.
    void raise();
    // The sleeping thread, after poll() found fd() readable: lowers the flag; true when it was
    // raised.
    bool take();

private:
    int descriptor = -1;
};

} // namespace ostrel::capture
