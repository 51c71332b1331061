#include "v4l2bufferqueue.h"

#include <linux/videodev2.h>

#include <cerrno>

namespace ostrel::capture {

namespace {

// Two are the least that lets the driver fill one while we convert the other.
constexpr uint32_t minBuffers = 2;

} // namespace

V4l2BufferQueue::V4l2BufferQueue(const V4l2Fd &fd)
    : fd(fd)
{}

V4l2BufferQueue::~V4l2BufferQueue()
{
    stop();
}

int V4l2BufferQueue::start(uint32_t count)
{
    v4l2_requestbuffers request{};
    request.count = count;
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    if (const int result = fd.ioctl(VIDIOC_REQBUFS, &request); result < 0)
        return result;
    requested = true;
    if (request.count < minBuffers)
        return -ENOMEM;

    for (uint32_t index = 0; index < request.count; ++index) {
        v4l2_buffer buffer{};
        buffer.index = index;
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_MMAP;
        if (const int result = fd.ioctl(VIDIOC_QUERYBUF, &buffer); result < 0)
            return result;
        V4l2Mapping mapping =
            V4l2Mapping::map(fd.sharedIo(), fd.get(), buffer.length, buffer.m.offset);
        if (!mapping.isValid())
            return -ENOMEM;
        buffers.push_back(std::move(mapping));
    }
    for (uint32_t index = 0; index < buffers.size(); ++index) {
        if (const int result = requeue(index); result < 0)
            return result;
    }
    int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (const int result = fd.ioctl(VIDIOC_STREAMON, &type); result < 0)
        return result;
    streaming = true;
    return 0;
}

int V4l2BufferQueue::takeNewest(Frame &frame)
{
    bool haveFrame = false;
    for (size_t attempt = 0; attempt < buffers.size(); ++attempt) {
        Frame next;
        bool good = false;
        const int result = dequeue(next, good);
        if (result == -EAGAIN)
            break;
        if (result < 0) {
            if (haveFrame)
                requeue(frame.index);
            return result;
        }
        if (!good) {
            if (const int requeued = requeue(next.index); requeued < 0)
                return requeued;
            continue;
        }
        if (haveFrame) {
            if (const int requeued = requeue(frame.index); requeued < 0)
                return requeued;
        }
        frame = next;
        haveFrame = true;
    }
    return haveFrame ? 0 : -EAGAIN;
}

int V4l2BufferQueue::takeNext(Frame &frame)
{
    for (size_t attempt = 0; attempt < buffers.size(); ++attempt) {
        bool good = false;
        if (const int result = dequeue(frame, good); result < 0)
            return result;
        if (good)
            return 0;
        if (const int requeued = requeue(frame.index); requeued < 0)
            return requeued;
    }
    return -EAGAIN;
}

int V4l2BufferQueue::dequeue(Frame &frame, bool &good)
{
    v4l2_buffer buffer{};
    buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    buffer.memory = V4L2_MEMORY_MMAP;
    if (const int result = fd.ioctl(VIDIOC_DQBUF, &buffer); result < 0)
        return result;
    if (buffer.index >= buffers.size())
        return -EIO;
    frame.index = buffer.index;
    frame.data = buffers[buffer.index].data();
    frame.bytes = buffer.bytesused;
    frame.sequence = buffer.sequence;
    frame.keyframe = buffer.flags & V4L2_BUF_FLAG_KEYFRAME;
    frame.timestampUs =
        uint64_t(buffer.timestamp.tv_sec) * 1000000u + uint64_t(buffer.timestamp.tv_usec);
    noteSequence(buffer.sequence);
    // The driver marks frames it knows to be damaged; a length beyond the mapping is absurd.
    const bool flagged = buffer.flags & V4L2_BUF_FLAG_ERROR;
    const bool absurd = buffer.bytesused == 0 || buffer.bytesused > buffers[buffer.index].size();
    lost += flagged ? 1 : 0;
    damaged += !flagged && absurd ? 1 : 0;
    good = !flagged && !absurd;
    return 0;
}

void V4l2BufferQueue::noteSequence(uint32_t sequence)
{
    // Unsigned arithmetic: a wrap of the 32-bit counter is a step of one as well.
    if (sequenceSeen && sequence - lastSequence > 1 && sequence - lastSequence < (1u << 31))
        lost += sequence - lastSequence - 1;
    sequenceSeen = true;
    lastSequence = sequence;
}

int V4l2BufferQueue::requeue(uint32_t index)
{
    v4l2_buffer buffer{};
    buffer.index = index;
    buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    buffer.memory = V4L2_MEMORY_MMAP;
    return fd.ioctl(VIDIOC_QBUF, &buffer);
}

void V4l2BufferQueue::stop()
{
    // Failures are expected here after an unplug; the mappings go either way.
    if (streaming) {
        int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        fd.ioctl(VIDIOC_STREAMOFF, &type);
        streaming = false;
    }
    // Buffers can only be given back once nothing maps them.
    buffers.clear();
    if (requested) {
        requested = false;
        v4l2_requestbuffers release{};
        release.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        release.memory = V4L2_MEMORY_MMAP;
        fd.ioctl(VIDIOC_REQBUFS, &release);
    }
}

} // namespace ostrel::capture
