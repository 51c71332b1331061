#pragma once

#include <pulse/pulseaudio.h>

#include <QString>

#include <chrono>
#include <memory>

// Owners of the sound server's client objects.
struct PulseDeleter
{
    void operator()(pa_threaded_mainloop *mainloop) const { pa_threaded_mainloop_free(mainloop); }
    void operator()(pa_mainloop *mainloop) const { pa_mainloop_free(mainloop); }
    void operator()(pa_context *context) const
    {
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
    void operator()(pa_stream *stream) const
    {
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
    }
    void operator()(pa_operation *operation) const { pa_operation_unref(operation); }
};
using ThreadedMainloopHandle = std::unique_ptr<pa_threaded_mainloop, PulseDeleter>;
using MainloopHandle = std::unique_ptr<pa_mainloop, PulseDeleter>;
using ContextHandle = std::unique_ptr<pa_context, PulseDeleter>;
using StreamHandle = std::unique_ptr<pa_stream, PulseDeleter>;
using OperationHandle = std::unique_ptr<pa_operation, PulseDeleter>;

// The cause of the context's last failure, in the sound server's words.
inline QString pulseErrorText(pa_context *context)
{
    return QString::fromUtf8(pa_strerror(pa_context_errno(context)));
}

// The monotonic clock the camera's timestamps are on, in nanoseconds.
inline qint64 monotonicNowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The name this program connects to the sound server under.
inline const char *pulseClientName()
{
    return "Ostrel Camera Viewer";
}
