#pragma once

#include <QByteArray>
#include <QImage>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// The threads that take the frames of one open stream of the capture library.
//
// A Motion-JPEG stream is taken by a thread that only copies the camera's bytes, so that it keeps
// up with the camera whatever a decode costs, and decoded by a second thread, always the newest
// frame waiting: when decoding cannot keep up, frames are skipped for the picture, never for a
// recording of the camera's own JPEG. A stream of any other format is taken and converted by the
// one thread.
class CaptureLoop
{
public:
    // The capture thread, for every Motion-JPEG frame as soon as it is taken.
    using JpegTaken = std::function<void(const QByteArray &jpeg)>;
    // One thread at a time, for every frame decoded: the picture, with the camera's JPEG of it
    // when the format is Motion-JPEG (empty otherwise).
    using FrameReady = std::function<void(const QImage &frame, const QByteArray &jpeg)>;

    CaptureLoop(JpegTaken jpegTaken, FrameReady frameReady);
    ~CaptureLoop();

    CaptureLoop(const CaptureLoop &) = delete;
    CaptureLoop &operator=(const CaptureLoop &) = delete;

    // The largest RGB24 frame the program takes on: 256 MiB, above an 8K frame (100 MB) with room.
    // A frame is held several times over (the capture buffer, the picture, the display, up to 30
    // waiting to be encoded), so a larger one would take gigabytes before its first picture.
    static constexpr qint64 maxFrameBytes = qint64(256) << 20;

    // Bytes of one RGB24 frame. No value when the frame is empty, larger than maxFrameBytes, or
    // when one row does not fit QImage's int-sized lines.
    static std::optional<uint32_t> frameBytes(qint64 width, qint64 height);

    // Starts taking the frames, of width x height, of an open stream; false when they cannot be
    // held. The context and stream must stay open until stop() has returned.
    bool start(void *context, int32_t stream, int width, int height);
    // Returns once no thread of the loop runs: nothing is delivered afterwards.
    void stop();

private:
    void takeFrames();
    void decodeFrames();
    // Capture thread: the camera's JPEG of a newly taken frame; empty when there is none.
    QByteArray takeCompressedFrame();
    // A new frame filled by fill(packed RGB24 buffer, its size); null when fill fails.
    QImage newFrame(const std::function<bool(uchar *, uint32_t)> &fill) const;

    const JpegTaken jpegTaken;
    const FrameReady frameReady;
    void *context = nullptr;
    int32_t stream = -1;
    int width = 0;
    int height = 0;
    uint32_t bytes = 0;
    bool compressed = false;
    std::atomic<bool> running{false};
    qsizetype lastJpegSize = 0; // capture thread

    std::mutex pendingMutex; // guards pendingJpeg; running is cleared under it
    std::condition_variable pendingChanged;
    QByteArray pendingJpeg; // the newest frame not decoded yet

    std::thread captureThread;
    std::thread decodeThread; // Motion-JPEG only
};
