#include "publisher.h"

#include "h264encoder.h"

#include <QUrl>

#include <chrono>
#include <cmath>

namespace {

// About a quarter of a second at camera rates: enough to ride out a hiccup of the network, short
// enough that what a viewer sees stays current when it does not.
constexpr size_t maxQueued = 8;
constexpr std::chrono::milliseconds retryInterval{1000};

qint64 monotonicUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

Publisher::Publisher(QObject *parent)
    : QObject(parent)
{
    countersTimer.setInterval(1000);
    connect(&countersTimer, &QTimer::timeout, this,
            [this] { emit countersChanged(sent.load(), dropped.load()); });
}

Publisher::~Publisher()
{
    stop();
}

QString Publisher::checkUrl(const QString &url)
{
    const QUrl parsed(url.trimmed(), QUrl::StrictMode);
    if (url.trimmed().isEmpty())
        return tr("No address to publish to: give an rtmp://, rtsp:// or srt:// address");
    if (!parsed.isValid() || parsed.scheme().isEmpty() || parsed.host().isEmpty())
        return tr("Not a valid address to publish to: %1").arg(url);
    if (!StreamConnection::muxerFor(url))
        return tr("Cannot publish to %1: use an rtmp://, rtsp:// or srt:// address").arg(url);
    return QString();
}

bool Publisher::isActive() const
{
    return currentState == State::Connecting || currentState == State::Live ||
           currentState == State::Reconnecting;
}

bool Publisher::start(const Settings &newSettings)
{
    stop();
    settings = newSettings;
    settings.url = settings.url.trimmed();
    sent = dropped = 0;
    if (const QString wrong = checkUrl(settings.url); !wrong.isEmpty()) {
        setState(State::Failed, wrong);
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        queue.clear();
        stopping = false;
        accepting = true;
        gap = haveSequence = false;
    }
    interrupt.abort = false;
    setState(State::Connecting, QString());
    networkThread = std::thread([this, run = ++generation] { this->run(run); });
    countersTimer.start();
    return true;
}

void Publisher::stop()
{
    if (!networkThread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        stopping = true;
        accepting = false;
        queue.clear();
    }
    // A connection under way or a write to a stalled server gives up at once.
    interrupt.abort = true;
    queueChanged.notify_all();
    networkThread.join();
    ++generation;
    countersTimer.stop();
    emit countersChanged(sent.load(), dropped.load());
    setState(State::Idle, QString());
}

void Publisher::setState(State state, const QString &why)
{
    if (state == currentState && why == error)
        return;
    currentState = state;
    error = why;
    emit stateChanged(state, why);
}

void Publisher::report(int run, State state, const QString &why)
{
    QMetaObject::invokeMethod(
        this,
        [this, run, state, why] {
            if (run == generation)
                setState(state, why);
        },
        Qt::QueuedConnection);
}

void Publisher::addPicture(const QImage &rgb)
{
    enqueue({rgb, {}, monotonicUs()});
}

void Publisher::addCompressed(const CameraBase::CompressedFrame &frame)
{
    enqueue({QImage(), frame, frame.timestampUs});
}

void Publisher::enqueue(Queued &&item)
{
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        if (!accepting)
            return;
        if (queue.size() >= maxQueued) {
            queue.pop_front();
            ++dropped;
            gap = true;
        }
        queue.push_back(std::move(item));
    }
    queueChanged.notify_one();
}

bool Publisher::take(Queued *item)
{
    std::unique_lock<std::mutex> lock(queueMutex);
    for (;;) {
        queueChanged.wait(lock, [this] { return stopping || !queue.empty(); });
        if (stopping)
            return false;
        *item = std::move(queue.front());
        queue.pop_front();
        if (!settings.cameraH264)
            return true;
        // A frame after a missing one would decode into garbage until the next keyframe.
        const CameraBase::CompressedFrame &frame = item->compressed;
        if (haveSequence && frame.sequence != lastSequence + 1)
            gap = true;
        haveSequence = true;
        lastSequence = frame.sequence;
        if (!gap || frame.keyframe) {
            gap = false;
            return true;
        }
        ++dropped;
    }
}

void Publisher::run(int run)
{
    bool everLive = false;
    for (;;) {
        bool wentLive = false;
        const QString why = stream(run, &wentLive);
        everLive = everLive || wentLive;
        std::unique_lock<std::mutex> lock(queueMutex);
        if (stopping)
            return;
        if (!everLive) {
            accepting = false;
            lock.unlock();
            report(run, State::Failed, why);
            return;
        }
        report(run, State::Reconnecting, why);
        if (queueChanged.wait_for(lock, retryInterval, [this] { return stopping; }))
            return;
        // What waited while the server was away is too old to show.
        dropped += qint64(queue.size());
        queue.clear();
    }
}

QString Publisher::stream(int run, bool *wentLive)
{
    StreamConnection connection(&interrupt);
    originUs = lastPts = -1;
    if (settings.cameraH264)
        return streamCameraH264(connection, run, wentLive);
    H264Encoder encoder;
    H264Encoder::Settings encoding;
    encoding.size = settings.size;
    encoding.rate = AviMuxer::exactRate(settings.fps);
    // A viewer who joins, or a stream that resumes, waits at most a second for a keyframe.
    encoding.keyframeInterval = std::max(1, int(std::lround(settings.fps)));
    encoding.lowDelay = true;
    QString error = encoder.open(encoding);
    if (error.isEmpty())
        error = connection.open(settings.url, settings.size, encoding.rate, encoder.extradata());
    if (!error.isEmpty())
        return error;
    *wentLive = true;
    report(run, State::Live, QString());
    Queued item;
    while (take(&item)) {
        error = sendPicture(connection, encoder, item);
        if (!error.isEmpty())
            return error;
    }
    return QString();
}

QString Publisher::streamCameraH264(StreamConnection &connection, int run, bool *wentLive)
{
    Queued item;
    {
        // The stream begins at a keyframe, whose parameter sets describe it.
        std::lock_guard<std::mutex> lock(queueMutex);
        gap = true;
    }
    if (!take(&item))
        return QString();
    QString error = connection.open(settings.url, settings.size, AviMuxer::exactRate(settings.fps),
                                    h264ParameterSets(item.compressed.data));
    if (!error.isEmpty())
        return error;
    *wentLive = true;
    report(run, State::Live, QString());
    do {
        if (originUs < 0)
            originUs = item.timeUs;
        const qint64 at = std::max(item.timeUs - originUs, lastPts + 1);
        lastPts = at;
        error = connection.writePacket(item.compressed.data, at, at, item.compressed.keyframe);
        if (!error.isEmpty())
            return error;
        ++sent;
    } while (take(&item));
    return QString();
}

QString Publisher::sendPicture(StreamConnection &connection, H264Encoder &encoder,
                               const Queued &item)
{
    const QImage picture = settings.transform ? settings.transform(item.picture) : item.picture;
    QString error;
    const QByteArray planes = H264Encoder::yuv420FromImage(picture, &error);
    if (planes.isEmpty())
        return error;
    // The encoder counts in frame periods; each picture keeps the time it was taken.
    const FrameRateFraction rate = AviMuxer::exactRate(settings.fps);
    const double periodUs = 1e6 * rate.denominator / rate.numerator;
    if (originUs < 0)
        originUs = item.timeUs;
    const qint64 pts = std::max(std::llround((item.timeUs - originUs) / periodUs), lastPts + 1);
    lastPts = pts;
    std::vector<H264Encoder::Packet> packets;
    error = encoder.encode(planes, pts, &packets);
    for (const H264Encoder::Packet &packet : packets) {
        if (!error.isEmpty())
            break;
        error = connection.writePacket(packet.data, std::llround(packet.pts * periodUs),
                                       std::llround(packet.dts * periodUs), packet.keyframe);
        if (error.isEmpty())
            ++sent;
    }
    return error;
}

QString Publisher::stateText(State state)
{
    switch (state) {
    case Publisher::State::Connecting:
        return tr("connecting");
    case Publisher::State::Live:
        return tr("live");
    case Publisher::State::Reconnecting:
        return tr("reconnecting");
    case Publisher::State::Failed:
        return tr("failed");
    case Publisher::State::Idle:
        break;
    }
    return tr("stopped");
}
