#pragma once

#include "camerabase.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

// The thread ("ostrel-controls") that waits for changes of an open stream's properties made by
// the camera's automatic modes or another program, and hands each one to a receiver. It sleeps in
// the capture library until a change comes or stop() wakes it.
class ControlWatcher
{
public:
    // Called on the watcher's thread; it must hand the change over and return.
    using Receiver = std::function<void(CameraBase::Property property, int value, bool automatic)>;

    explicit ControlWatcher(Receiver receiver);
    ~ControlWatcher();
    ControlWatcher(const ControlWatcher &) = delete;
    ControlWatcher &operator=(const ControlWatcher &) = delete;

    // The context and stream must stay open until stop() has returned.
    void start(void *context, int32_t stream);
    // Returns once the thread has ended: nothing is received afterwards.
    void stop();

private:
    void watch();

    const Receiver receiver;
    void *context = nullptr;
    int32_t stream = -1;
    std::atomic<bool> running{false};
    std::thread thread;
};
