#pragma once

#include "camerabase.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
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
//
// An H.264 stream is taken the same way, but every frame is handed on in the camera's order (the
// decoder needs them all) and goes to the decode thread through a queue: frames the display has
// no time for are decoded without a picture. After a frame missing from the camera's numbering
// the frames up to the next keyframe are not decoded at all, since they cannot be shown whole.
//
// The capture thread sleeps in the library until the device has a frame: it wakes once per frame
// whatever the camera's rate, and at once when the device vanishes, which ends the loop and is
// reported through StreamEnded.
class CaptureLoop
{
public:
    // The capture thread, for every Motion-JPEG frame as soon as it is taken, with the time the
    // camera took it (monotonic microseconds; 0 when the library has none).
    using JpegTaken = std::function<void(const QByteArray &jpeg, qint64 timestampUs)>;
    // One thread at a time, for every frame decoded: the picture (RGB888 at full size; a
    // Motion-JPEG frame decoded at a smaller scale DecodeScale asked for is RGB32), with the
    // camera's JPEG of it when the format is Motion-JPEG (empty otherwise) and the time the camera
    // took it, as JpegTaken has it.
    using FrameReady =
        std::function<void(const QImage &frame, const QByteArray &jpeg, qint64 timestampUs)>;

    // The capture thread, once, when the stream can deliver no more frames: deviceGone when its
    // device has vanished. The loop's threads end; stop() must still be called.
    using StreamEnded = std::function<void(bool deviceGone)>;
    // The decode thread, before each Motion-JPEG frame: the denominator (1, 2, 4 or 8) of the
    // scale to decode it at. FrameReady then gets a picture whose sides are divided by it, rounded
    // up. Without one every frame is decoded at full size.
    using DecodeScale = std::function<uint32_t()>;
    // The capture thread, for every H.264 frame as soon as it is taken, in the camera's order.
    using H264Taken = std::function<void(const CameraBase::CompressedFrame &frame)>;
    // The capture thread, for every frame taken, before anything else hears of it.
    using FrameTaken = std::function<void(const CameraBase::FrameFacts &facts)>;

    CaptureLoop(JpegTaken jpegTaken, FrameReady frameReady, StreamEnded streamEnded,
                DecodeScale decodeScale = {}, H264Taken h264Taken = {}, FrameTaken frameTaken = {});
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
    // The smallest scale libjpeg-turbo offers (1/2, 1/4, 1/8) at which a frame still covers the
    // view in both dimensions, as its denominator; 1, full size, when only that covers it or when
    // the view is empty.
    static uint32_t scaleDenominatorFor(QSize frame, QSize view);

    // A new w x h RGB888 frame filled by fill(packed RGB24 buffer, its size); null when fill
    // fails or the frame cannot be held.
    static QImage newFrame(int w, int h, const std::function<bool(uchar *, uint32_t)> &fill);

    // Starts taking the frames, of width x height, of an open stream (of the camera's H.264 when
    // h264); false when they cannot be held. The context and stream must stay open until stop()
    // has returned. H.264 pictures are always decoded at full size.
    bool start(void *context, int32_t stream, int width, int height, bool h264 = false);
    // Returns once no thread of the loop runs: nothing is delivered afterwards. Wakes the
    // capture thread through the library, so it never waits for a frame or a timeout.
    void stop();

    // Any thread: the counts of the current run (reset by start()), or of the last one.
    CameraBase::FrameCounts counts() const;
    // Any thread: frames taken per second over the last second or more of the camera's own
    // timestamps; 0 until the first second has passed.
    double framesPerSecond() const { return cameraFps.load(); }

private:
    void takeFrames();
    void decodeFrames();
    // Capture thread: an H.264 frame just taken, to the tap and the decode queue.
    void passOnH264(const CameraBase::CompressedFrame &frame);
    // Decode thread: the H.264 frames in the queue, in order.
    void decodeH264Frames();
    // Decode thread: the picture of a camera JPEG at 1/scale, RGB32 where it can be.
    QImage scaledFrame(const QByteArray &jpeg, uint32_t scale) const;
    // Capture thread: the camera's JPEG of a newly taken frame; empty when there is none, with
    // the library's answer (a CAPRESULT_ code) in result.
    QByteArray takeCompressedFrame(uint32_t &result);
    // Capture thread: counts a frame just taken (of compressedBytes, 0 when uncompressed) and
    // measures the rate from its timestamp; fills in the frame's number, time and keyframe flag
    // when asked (left alone when the library has none). Returns the frame's time, 0 when the
    // library has none.
    qint64 noteTaken(qint64 compressedBytes, CameraBase::CompressedFrame *facts = nullptr);
    // A new frame filled by fill(packed RGB24 buffer, its size); null when fill fails.
    QImage newFrame(const std::function<bool(uchar *, uint32_t)> &fill) const;

    const JpegTaken jpegTaken;
    const FrameReady frameReady;
    const StreamEnded streamEnded;
    const DecodeScale decodeScale;
    const H264Taken h264Taken;
    const FrameTaken frameTaken;
    void *context = nullptr;
    int32_t stream = -1;
    int width = 0;
    int height = 0;
    uint32_t bytes = 0;
    bool compressed = false;
    bool h264 = false;
    std::atomic<bool> running{false};
    qsizetype lastJpegSize = 0; // capture thread
    // Capture thread: the number of the last H.264 frame taken, and whether decoding waits for
    // a keyframe (from the start, and after a frame missing).
    std::optional<quint32> lastH264Sequence;
    bool awaitingKeyframe = true;

    // Capture thread: the rate window and where the counts began.
    std::optional<uint64_t> firstSequence;
    uint64_t lostBeforeFirst = 0;
    uint64_t windowStartUs = 0;
    uint64_t windowFrames = 0;

    std::atomic<double> cameraFps{0.0};
    std::atomic<quint64> produced{0};
    std::atomic<quint64> lostAtCamera{0};
    std::atomic<quint64> damaged{0}; // by the library, and those the decode thread refused
    std::atomic<quint64> refusedByDecode{0};
    std::atomic<quint64> taken{0};
    std::atomic<quint64> decoded{0};
    std::atomic<quint64> displaySkipped{0};

    std::mutex pendingMutex; // guards pendingJpeg and pendingUnits; running is cleared under it
    std::condition_variable pendingChanged;
    QByteArray pendingJpeg; // the newest frame not decoded yet
    qint64 pendingJpegTimeUs = 0;
    struct PendingUnit
    {
        QByteArray bytes;
        bool keyframe = false;
        qint64 timestampUs = 0;
    };
    std::deque<PendingUnit> pendingUnits; // H.264: every frame not decoded yet, oldest first

    std::thread captureThread;
    std::thread decodeThread; // compressed formats only
};
