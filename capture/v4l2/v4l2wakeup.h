// A descriptor another thread can make readable, so that a poll() on a device wakes at once:
// an eventfd, closed with the object. Move-free; any thread may raise it.
#pragma once

namespace ostrel::capture {

class V4l2Wakeup
{
public:
    V4l2Wakeup();
    ~V4l2Wakeup();
    V4l2Wakeup(const V4l2Wakeup &) = delete;
    V4l2Wakeup &operator=(const V4l2Wakeup &) = delete;

    // -1 when no eventfd could be made.
    int fd() const { return descriptor; }
    void raise() const;
    // Makes it unreadable again; true when it had been raised.
    bool consume() const;

private:
    int descriptor;
};

} // namespace ostrel::capture
