#pragma once

#include "audiosource.h"

#include <QList>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

// The moments a click is heard: when the marked frames were taken, on the monotonic clock.
struct ClickTimes
{
    std::mutex mutex; // guards times
    QList<qint64> times;

    // Any thread.
    void add(qint64 takenNs)
    {
        std::lock_guard<std::mutex> lock(mutex);
        times.append(takenNs);
    }
};

// A microphone for measuring sound against picture: silence, and a click of 2 ms at each of the
// click times. It delivers 10 ms chunks from a thread of its own, 30 ms after they were "taken",
// as a sound server does.
class ClickingMicrophone : public AudioSource
{
public:
    static constexpr int rate = 48000;

    explicit ClickingMicrophone(std::shared_ptr<ClickTimes> clicks);
    ~ClickingMicrophone() override;

    void start() override;
    void stop() override;

private:
    void run();

    const std::shared_ptr<ClickTimes> clicks;
    std::atomic<bool> running{false};
    std::thread worker;
};

// Where the clicks of a recording fall against its marked frames: every thirtieth camera frame
// (its sequence number a multiple of 30) has its click. Offsets in milliseconds, sound minus
// picture, in file order.
QList<double> clickOffsets(const QString &file, const QList<std::optional<uint32_t>> &sequences,
                           double fps);
