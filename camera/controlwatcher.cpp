#include "controlwatcher.h"

#include "capture.h"

#include <pthread.h>

#include <utility>

ControlWatcher::ControlWatcher(Receiver receiver)
    : receiver(std::move(receiver))
{}

ControlWatcher::~ControlWatcher()
{
    stop();
}

void ControlWatcher::start(void *newContext, int32_t newStream)
{
    stop();
    context = newContext;
    stream = newStream;
    running.store(true);
    thread = std::thread(&ControlWatcher::watch, this);
}

void ControlWatcher::stop()
{
    if (!thread.joinable())
        return;
    running.store(false);
    Cap_interruptControlWait(context, stream);
    thread.join();
}

void ControlWatcher::watch()
{
    pthread_setname_np(pthread_self(), "ostrel-controls");
    while (running.load()) {
        CapControlEvent event{};
        const CapResult result = Cap_waitControlEvent(context, stream, -1, &event);
        if (result == CAPRESULT_OK && event.propID > 0 && event.propID < CAPPROPID_LAST)
            receiver(CameraBase::Property(event.propID), event.value, event.automatic != 0);
        // A stream that cannot tell of changes, or a device that has gone, has nothing more to
        // say; the capture itself notices the loss.
        else if (result == CAPRESULT_PROPERTYNOTSUPPORTED || result == CAPRESULT_DEVICENOTFOUND)
            return;
    }
}
