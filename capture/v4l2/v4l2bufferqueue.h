// The memory-mapped buffers of a streaming node. Not thread-safe: its owner serialises calls.
#pragma once

#include "v4l2fd.h"
#include "v4l2mapping.h"

#include <cstdint>
#include <vector>

namespace ostrel::capture {

class V4l2BufferQueue
{
public:
    struct Frame
    {
        uint32_t index = 0;
        const uint8_t *data = nullptr;
        size_t bytes = 0;
        uint32_t sequence = 0;    // the driver's frame number
        uint64_t timestampUs = 0; // when the driver took it, monotonic clock
        bool keyframe = false;    // the driver marked it as one (compressed formats)
    };

    // fd must outlive the queue.
    explicit V4l2BufferQueue(const V4l2Fd &fd);
    // Stops streaming and gives the buffers back.
    ~V4l2BufferQueue();
    V4l2BufferQueue(const V4l2BufferQueue &) = delete;
    V4l2BufferQueue &operator=(const V4l2BufferQueue &) = delete;

    // Requests count buffers, maps and queues them all and starts streaming. 0 or -errno.
    int start(uint32_t count);
    size_t bufferCount() const { return buffers.size(); }

    // Dequeues every buffer the driver has filled and keeps the newest good one, handing the
    // others straight back, so that a caller slower than the camera never falls behind.
    // 0 with frame filled (give it back with requeue), -EAGAIN when no frame is ready, -errno.
    int takeNewest(Frame &frame);
    // Dequeues the oldest good frame the driver has filled, handing broken ones straight back:
    // for streams whose frames build on each other and must all be taken in order.
    int takeNext(Frame &frame);
    int requeue(uint32_t index);
    // Frames the driver skipped in its numbering or marked as broken, since start().
    uint64_t lostFrames() const { return lost; }
    // Frames dequeued whose length was absurd (none, or beyond the buffer), since start().
    uint64_t damagedFrames() const { return damaged; }

private:
    int dequeue(Frame &frame, bool &good);
    // Counts the frames missing between the previous dequeued frame and this one.
    void noteSequence(uint32_t sequence);
    void stop();

    const V4l2Fd &fd;
    std::vector<V4l2Mapping> buffers;
    bool requested = false;
    bool streaming = false;
    bool sequenceSeen = false;
    uint32_t lastSequence = 0;
    uint64_t lost = 0;
    uint64_t damaged = 0;
};

} // namespace ostrel::capture
