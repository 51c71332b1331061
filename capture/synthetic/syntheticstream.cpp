#include "syntheticstream.h"

#include "syntheticregistry.h"

#include <pthread.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace ostrel::capture {

namespace {

// Whether frame sequence is one of every `every` (never the first, which opens the stream).
bool isEvery(uint64_t sequence, uint32_t every)
{
    return every > 0 && sequence > 0 && sequence % every == 0;
}

synthetic::Misbehaviour faultsFor(const SyntheticDeviceState &device, uint32_t fps,
                                  uint32_t fpsDenominator)
{
    synthetic::Misbehaviour faults = device.misbehaviour();
    faults.slowdown = faults.slowdown >= 1.0 ? faults.slowdown : 1.0;
    // Jitter stays below half the claimed period, so that frames keep their order.
    const double periodUs = 1e6 * fpsDenominator / double(fps ? fps : 30);
    faults.jitterUs = std::min<uint32_t>(faults.jitterUs, uint32_t(periodUs * 0.45));
    return faults;
}

} // namespace

SyntheticStream::SyntheticStream(std::shared_ptr<SyntheticDeviceState> device,
                                 const synthetic::FormatSpec &format)
    : device(std::move(device))
    , faults(faultsFor(*this->device, format.fps, format.fpsDenominator))
    , frameWidth(format.width)
    , frameHeight(format.height)
    , start(std::chrono::steady_clock::now())
    // A camera that reports no frame rate still streams; such a format is paced at 30 fps.
    , framePeriod(faults.slowdown *
                  (format.fps ? format.fpsDenominator / (format.fps * this->device->rateFactor())
                              : 1.0 / (30 * this->device->rateFactor())))
    , pattern(format.width, format.height)
    , patternGeneration(this->device->pictureGeneration())
    , jpeg(format.fourcc == synthetic::fourcc("MJPG") || format.fourcc == synthetic::fourcc("JPEG"))
{
    changesSeen = this->device->changeCount();
    const SyntheticDeviceState::Picture p = this->device->picture();
    pattern.setPicture(p.brightness, p.contrast, p.sharpness);
    // Benchmarks of video codecs want a camera's noise rather than a flat test card.
    if (const char *noise = std::getenv("OSTREL_SYNTHETIC_NOISE"))
        pattern.setNoise(std::atoi(noise));
    if (jpeg) {
        // The first frame is there when the stream opens, as with a camera that has started
        // streaming; it is also the one that encodes every band.
        jpegEncoder = std::make_unique<SyntheticJpegEncoder>(frameWidth, frameHeight);
        jpegRgb.resize(size_t{frameWidth} * frameHeight * 3);
        makeJpeg(0);
        producer = std::thread([this] { produceJpeg(); });
    }
}

SyntheticStream::~SyntheticStream()
{
    if (!producer.joinable())
        return;
    {
        std::lock_guard lock(signalMutex);
        stopProducer = true;
    }
    signalChanged.notify_all();
    producer.join();
}

void SyntheticStream::followPicture()
{
    const uint32_t generation = device->pictureGeneration();
    if (generation != patternGeneration) {
        const SyntheticDeviceState::Picture p = device->picture();
        pattern.setPicture(p.brightness, p.contrast, p.sharpness);
        patternGeneration = generation;
    }
}

void SyntheticStream::produceJpeg()
{
    pthread_setname_np(pthread_self(), "ostrel-synth");
    for (uint64_t next = 1;; ++next) {
        {
            std::unique_lock lock(signalMutex);
            if (signalChanged.wait_until(lock, takenTime(next), [this] { return stopProducer; }))
                return;
        }
        // Lost in the driver: the number is skipped.
        if (isEvery(next, faults.dropEvery) && !isEvery(next, faults.damageEvery)) {
            ++lostFrames;
            continue;
        }
        // Behind the clock (a busy machine), the camera goes on with the newest frame due: the
        // ones it was too late for are lost, and their numbers are missing.
        const uint64_t newest = dueFrames() - 1;
        if (newest > next) {
            lostFrames += newest - next;
            next = newest;
        }
        if (const int delay = device->renderDelayMs(); delay > 0) {
            std::unique_lock lock(signalMutex);
            if (signalChanged.wait_for(lock, std::chrono::milliseconds(delay),
                                       [this] { return stopProducer; }))
                return;
        }
        makeJpeg(next);
    }
}

void SyntheticStream::makeJpeg(uint64_t sequence)
{
    followPicture();
    pattern.render(static_cast<uint32_t>(sequence), jpegRgb.data());
    auto frame = std::make_shared<JpegFrame>();
    frame->sequence = sequence;
    frame->timestampUs = timestampUs(sequence);
    if (!jpegEncoder->encode(jpegRgb.data(), frame->bytes)) {
        logMessage(LOG_ERR, "synthetic camera: " + jpegEncoder->errorMessage());
        ++lostFrames;
        return;
    }
    if (isEvery(sequence, faults.damageEvery)) {
        frame->damaged = true;
        frame->bytes.resize(frame->bytes.size() / 2);
    }
    {
        std::lock_guard lock(signalMutex);
        newestJpeg = std::move(frame);
    }
    signalChanged.notify_all();
}

uint64_t SyntheticStream::dueFrames() const
{
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return static_cast<uint64_t>(elapsed / framePeriod) + 1;
}

std::chrono::steady_clock::time_point SyntheticStream::dueTime(uint64_t sequence) const
{
    return start +
           std::chrono::duration_cast<std::chrono::nanoseconds>(framePeriod * double(sequence));
}

std::chrono::steady_clock::time_point SyntheticStream::takenTime(uint64_t sequence) const
{
    return dueTime(sequence) +
           std::chrono::microseconds(synthetic::jitterOffsetUs(sequence, faults.jitterUs));
}

uint64_t SyntheticStream::timestampUs(uint64_t sequence) const
{
    return uint64_t(std::chrono::duration_cast<std::chrono::microseconds>(
                        takenTime(sequence).time_since_epoch())
                        .count());
}

bool SyntheticStream::newFrameWaiting() const
{
    return jpeg ? newestJpeg && newestJpeg->sequence >= nextFrame.load()
                : dueFrames() > nextFrame.load();
}

bool SyntheticStream::hasNewFrame()
{
    if (!device->isAvailable())
        return false;
    std::lock_guard lock(signalMutex);
    return newFrameWaiting();
}

CapResult SyntheticStream::waitForFrame(int32_t timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = timeoutMs < 0 ? Clock::time_point::max()
                                        : Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(signalMutex);
    for (;;) {
        if (!device->isAvailable())
            return CAPRESULT_DEVICENOTFOUND;
        if (std::exchange(interruptPending, false))
            return CAPRESULT_INTERRUPTED;
        if (newFrameWaiting())
            return CAPRESULT_OK;
        if (Clock::now() >= deadline)
            return CAPRESULT_TIMEOUT;
        // A frame of an uncompressed format is there once it is due (a microsecond later, so
        // that rounding cannot wake the thread just before); a Motion-JPEG one once encoded.
        const auto until =
            jpeg ? deadline
                 : std::min(deadline, dueTime(nextFrame.load()) + std::chrono::microseconds(1));
        if (until == Clock::time_point::max())
            signalChanged.wait(lock);
        else
            signalChanged.wait_until(lock, until);
    }
}

void SyntheticStream::interruptWait()
{
    {
        std::lock_guard lock(signalMutex);
        interruptPending = true;
    }
    signalChanged.notify_all();
}

bool SyntheticStream::frameInfo(CapFrameInfo &info) const
{
    std::lock_guard lock(frameMutex);
    if (!lastTaken)
        return false;
    const uint64_t taken = capturedJpeg ? capturedJpeg->timestampUs : timestampUs(*lastTaken);
    info = CapFrameInfo{*lastTaken, taken, lostFrames.load(), damagedFrames.load(), 0};
    return true;
}

void SyntheticStream::noteTaken(uint64_t sequence)
{
    nextFrame = sequence + 1;
    lastTaken = sequence;
    ++captured;
}

CapResult SyntheticStream::captureFrame(uint8_t *buffer)
{
    if (!device->isAvailable())
        return CAPRESULT_DEVICENOTFOUND;
    if (SyntheticRegistry::instance().take(SyntheticRegistry::Fault::CaptureFrame))
        return CAPRESULT_ERR;

    if (jpeg)
        return captureJpeg(buffer);

    std::lock_guard lock(frameMutex);
    followPicture();
    // Without a new frame due, the newest one is delivered again.
    const uint64_t due = dueFrames();
    const uint64_t frame = due > nextFrame ? due - 1 : nextFrame - 1;
    pattern.render(static_cast<uint32_t>(frame), buffer);
    noteTaken(frame);
    return CAPRESULT_OK;
}

std::shared_ptr<const SyntheticStream::JpegFrame> SyntheticStream::newestFrame()
{
    std::lock_guard lock(signalMutex);
    return newestJpeg;
}

void SyntheticStream::noteCaptured(std::shared_ptr<const JpegFrame> frame)
{
    noteTaken(frame->sequence);
    capturedJpeg = std::move(frame);
}

CapResult SyntheticStream::captureJpeg(uint8_t *buffer)
{
    std::shared_ptr<const JpegFrame> frame = newestFrame();
    if (!frame)
        return CAPRESULT_ERR;
    std::lock_guard lock(frameMutex);
    if (frame->damaged)
        return refuseDamaged(*frame);
    if (!decoder.decode(frame->bytes.data(), frame->bytes.size(), frameWidth, frameHeight,
                        buffer)) {
        logMessage(LOG_ERR, "synthetic camera: " + decoder.errorMessage());
        ++damagedFrames;
        return CAPRESULT_ERR;
    }
    if (decoder.warned())
        noteDecodeWarning("synthetic camera: " + decoder.errorMessage());
    noteCaptured(std::move(frame));
    return CAPRESULT_OK;
}

CapResult SyntheticStream::captureCompressedFrame(uint8_t *buffer, uint32_t bufferBytes,
                                                  uint32_t &frameBytes)
{
    frameBytes = 0;
    if (!jpeg)
        return CAPRESULT_FORMATNOTSUPPORTED;
    if (!device->isAvailable())
        return CAPRESULT_DEVICENOTFOUND;
    if (SyntheticRegistry::instance().take(SyntheticRegistry::Fault::CaptureFrame))
        return CAPRESULT_ERR;
    std::shared_ptr<const JpegFrame> frame = newestFrame();
    if (!frame)
        return CAPRESULT_ERR;
    std::lock_guard lock(frameMutex);
    if (frame->damaged)
        return refuseDamaged(*frame);
    noteCaptured(std::move(frame));
    return copyCapturedJpeg(buffer, bufferBytes, frameBytes);
}

CapResult SyntheticStream::refuseDamaged(const JpegFrame &frame)
{
    if (frame.sequence >= nextFrame.load()) {
        nextFrame = frame.sequence + 1;
        ++damagedFrames;
    }
    return CAPRESULT_ERR;
}

CapResult SyntheticStream::compressedFrame(uint8_t *buffer, uint32_t bufferBytes,
                                           uint32_t &frameBytes)
{
    frameBytes = 0;
    if (!jpeg)
        return CAPRESULT_FORMATNOTSUPPORTED;
    std::lock_guard lock(frameMutex);
    return copyCapturedJpeg(buffer, bufferBytes, frameBytes);
}

CapResult SyntheticStream::copyCapturedJpeg(uint8_t *buffer, uint32_t bufferBytes,
                                            uint32_t &frameBytes) const
{
    if (!capturedJpeg)
        return CAPRESULT_ERR;
    frameBytes = uint32_t(capturedJpeg->bytes.size());
    if (!buffer || bufferBytes < frameBytes)
        return CAPRESULT_ERR;
    std::copy(capturedJpeg->bytes.begin(), capturedJpeg->bytes.end(), buffer);
    return CAPRESULT_OK;
}

CapResult SyntheticStream::propertyLimits(CapPropertyID id, int32_t &min, int32_t &max,
                                          int32_t &def)
{
    if (!device->isAvailable())
        return CAPRESULT_DEVICENOTFOUND;
    return device->limits(id, min, max, def);
}

CapResult SyntheticStream::property(CapPropertyID id, int32_t &value)
{
    if (!device->isAvailable())
        return CAPRESULT_DEVICENOTFOUND;
    return device->value(id, value);
}

CapResult SyntheticStream::setProperty(CapPropertyID id, int32_t value)
{
    if (!device->isAvailable())
        return CAPRESULT_DEVICENOTFOUND;
    return device->setValue(id, value);
}

CapResult SyntheticStream::autoProperty(CapPropertyID id, bool &enabled)
{
    if (!device->isAvailable())
        return CAPRESULT_DEVICENOTFOUND;
    return device->automatic(id, enabled);
}

CapResult SyntheticStream::setAutoProperty(CapPropertyID id, bool enabled)
{
    if (!device->isAvailable())
        return CAPRESULT_DEVICENOTFOUND;
    return device->setAutomatic(id, enabled);
}

CapResult SyntheticStream::waitControlEvent(int32_t timeoutMs, CapControlEvent &event)
{
    if (!device->isAvailable())
        return CAPRESULT_DEVICENOTFOUND;
    return device->waitForChange(changesSeen, controlWaitWoken, timeoutMs, event);
}

CapResult SyntheticStream::interruptControlWait()
{
    controlWaitWoken.store(true);
    device->wakeWaiters();
    return CAPRESULT_OK;
}

} // namespace ostrel::capture
