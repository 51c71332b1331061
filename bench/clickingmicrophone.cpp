#include "clickingmicrophone.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>

#include <chrono>
#include <cstdlib>

namespace {

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

constexpr qint64 chunkNs = 10'000'000;
constexpr qint64 deliveryDelayNs = 30'000'000;
constexpr qint64 clickNs = 2'000'000;

} // namespace

ClickingMicrophone::ClickingMicrophone(std::shared_ptr<ClickTimes> clicks)
    : AudioSource({rate, 1})
    , clicks(std::move(clicks))
{}

ClickingMicrophone::~ClickingMicrophone()
{
    stop();
}

void ClickingMicrophone::start()
{
    if (!running.exchange(true))
        worker = std::thread(&ClickingMicrophone::run, this);
}

void ClickingMicrophone::stop()
{
    running = false;
    if (worker.joinable())
        worker.join();
}

void ClickingMicrophone::run()
{
    qint64 next = nowNs() - deliveryDelayNs;
    while (running) {
        const qint64 due = next + chunkNs + deliveryDelayNs;
        while (running && nowNs() < due)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const int frames = int(chunkNs * rate / 1'000'000'000);
        QByteArray samples(frames * 2, '\0');
        {
            std::lock_guard<std::mutex> lock(clicks->mutex);
            QList<qint64> &times = clicks->times;
            for (qint64 at : std::as_const(times)) {
                for (int i = 0; i < frames; ++i) {
                    const qint64 t = next + qint64(i) * 1'000'000'000 / rate;
                    if (t >= at && t < at + clickNs)
                        qToLittleEndian<qint16>(20000, samples.data() + 2 * i);
                }
            }
            while (!times.isEmpty() && times.first() + clickNs < next)
                times.removeFirst();
        }
        deliver({next, samples});
        next += qint64(frames) * 1'000'000'000 / rate;
    }
}

QList<double> clickOffsets(const QString &file, const QList<std::optional<uint32_t>> &sequences,
                           double fps)
{
    QProcess ffmpeg;
    ffmpeg.start(QStandardPaths::findExecutable(QStringLiteral("ffmpeg")),
                 {"-v", "error", "-i", file, "-map", "0:a:0", "-f", "s16le", "-ac", "1", "-ar",
                  QString::number(ClickingMicrophone::rate), "-"});
    QByteArray raw;
    while (ffmpeg.waitForReadyRead(60000) || ffmpeg.state() == QProcess::Running)
        raw += ffmpeg.readAllStandardOutput();
    raw += ffmpeg.readAllStandardOutput();
    QList<double> clicksMs;
    const auto *samples = reinterpret_cast<const qint16 *>(raw.constData());
    for (qsizetype i = 0; i < raw.size() / 2; ++i) {
        const double ms = 1000.0 * double(i) / ClickingMicrophone::rate;
        if (samples[i] > 10000 && (clicksMs.isEmpty() || ms - clicksMs.last() > 200))
            clicksMs << ms;
    }
    // The first slot that shows each marked frame.
    QList<double> framesMs;
    std::optional<uint32_t> previous;
    for (int i = 0; i < sequences.size(); ++i) {
        const std::optional<uint32_t> sequence = sequences.at(i);
        if (sequence && *sequence % 30 == 0 && sequence != previous)
            framesMs << 1000.0 * i / fps;
        previous = sequence;
    }
    QList<double> offsets;
    for (double frame : std::as_const(framesMs)) {
        double nearest = 1e9;
        for (double click : std::as_const(clicksMs)) {
            if (std::abs(click - frame) < std::abs(nearest))
                nearest = click - frame;
        }
        if (std::abs(nearest) < 500)
            offsets << nearest;
    }
    return offsets;
}
