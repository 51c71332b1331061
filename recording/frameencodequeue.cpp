#include "frameencodequeue.h"

#include "jpegencoder.h"

#include <pthread.h>

#include <algorithm>
#include <exception>

FrameEncodeQueue::FrameEncodeQueue(int maxFrames, int keptByTrim)
    : maxFrames(maxFrames)
    , keptByTrim(keptByTrim)
{}

FrameEncodeQueue::~FrameEncodeQueue()
{
    endWorkers();
}

void FrameEncodeQueue::reset(const QSize &size, Output kind)
{
    std::lock_guard<std::mutex> lock(mutex);
    entries.clear();
    frameSize = size;
    output = kind;
    interrupted = false;
    woken = false;
}

void FrameEncodeQueue::startWorkers(int count)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        workersEnd = false;
    }
    for (int i = 0; i < count; ++i)
        workers.emplace_back([this] { encodeLoop(); });
}

void FrameEncodeQueue::endWorkers()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        workersEnd = true;
    }
    workAvailable.notify_all();
    for (std::thread &worker : workers)
        worker.join();
    workers.clear();
}

int FrameEncodeQueue::push(const QImage &frame, qint64 takenNs)
{
    // Implicitly shared, not copied: a producer that changes its image afterwards detaches a
    // copy of its own, and the camera hands over a new image with every frame.
    auto entry = std::make_shared<Entry>();
    entry->image = frame;
    entry->takenNs = takenNs > 0 ? takenNs : Clock::now().time_since_epoch().count();
    std::unique_lock<std::mutex> lock(mutex);
    if (!transform && frame.size() != frameSize)
        return -1;
    entry->transform = transform;
    const int dropped = trimForOneMore();
    entries.push_back(std::move(entry));
    lock.unlock();
    workAvailable.notify_one();
    return dropped;
}

int FrameEncodeQueue::pushEncoded(const QByteArray &jpeg, const QSize &declaredSize, qint64 takenNs)
{
    auto entry = std::make_shared<Entry>();
    entry->jpeg = jpeg;
    entry->takenNs = takenNs > 0 ? takenNs : Clock::now().time_since_epoch().count();
    entry->claimed = entry->done = true;
    std::unique_lock<std::mutex> lock(mutex);
    if (declaredSize != frameSize)
        return -1;
    const int dropped = trimForOneMore();
    entries.push_back(std::move(entry));
    lock.unlock();
    frontChanged.notify_all();
    return dropped;
}

void FrameEncodeQueue::setTransform(Transform newTransform)
{
    std::lock_guard<std::mutex> lock(mutex);
    transform = std::move(newTransform);
}

int FrameEncodeQueue::trimForOneMore()
{
    if (int(entries.size()) < maxFrames)
        return 0;
    const int dropped = int(entries.size()) - keptByTrim;
    entries.erase(entries.begin(), entries.begin() + dropped);
    return dropped;
}

FrameEncodeQueue::Front FrameEncodeQueue::takeFront(QByteArray *jpeg, QString *error,
                                                    qint64 *takenNs)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (entries.empty())
        return Front::Empty;
    const std::shared_ptr<Entry> front = entries.front();
    if (!front->done)
        return Front::Pending;
    entries.pop_front();
    if (front->wrongSize)
        return Front::Skipped;
    if (!front->error.isEmpty()) {
        *error = front->error;
        return Front::Failed;
    }
    *jpeg = front->jpeg;
    if (takenNs)
        *takenNs = front->takenNs;
    return Front::Ready;
}

int FrameEncodeQueue::dropOldest(int count)
{
    std::lock_guard<std::mutex> lock(mutex);
    // A frame being encoded just has its result thrown away.
    const int dropped = std::clamp(count, 0, int(entries.size()));
    entries.erase(entries.begin(), entries.begin() + dropped);
    return dropped;
}

int FrameEncodeQueue::skipToNewestDone()
{
    std::lock_guard<std::mutex> lock(mutex);
    const auto newestDone = std::find_if(entries.rbegin(), entries.rend(),
                                         [](const std::shared_ptr<Entry> &e) { return e->done; });
    if (newestDone == entries.rend())
        return 0;
    const int skipped = int(std::distance(newestDone, entries.rend())) - 1;
    entries.erase(entries.begin(), entries.begin() + skipped);
    return skipped;
}

bool FrameEncodeQueue::waitForAll(Clock::time_point deadline)
{
    std::unique_lock<std::mutex> lock(mutex);
    return frontChanged.wait_until(lock, deadline, [this] {
        return std::all_of(entries.begin(), entries.end(),
                           [](const std::shared_ptr<Entry> &e) { return e->done; });
    });
}

void FrameEncodeQueue::sleepUntil(Clock::time_point deadline)
{
    std::unique_lock<std::mutex> lock(mutex);
    frontChanged.wait_until(lock, deadline, [this] { return interrupted || woken; });
    woken = false;
}

void FrameEncodeQueue::wake()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        woken = true;
    }
    frontChanged.notify_all();
}

void FrameEncodeQueue::waitForFront(Clock::time_point deadline)
{
    std::unique_lock<std::mutex> lock(mutex);
    frontChanged.wait_until(lock, deadline,
                            [this] { return !entries.empty() && entries.front()->done; });
}

void FrameEncodeQueue::interrupt()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        interrupted = true;
    }
    frontChanged.notify_all();
}

int FrameEncodeQueue::size() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return int(entries.size());
}

std::shared_ptr<FrameEncodeQueue::Entry> FrameEncodeQueue::claimNext()
{
    std::unique_lock<std::mutex> lock(mutex);
    std::shared_ptr<Entry> next;
    workAvailable.wait(lock, [&] {
        const auto found =
            std::find_if(entries.begin(), entries.end(),
                         [](const std::shared_ptr<Entry> &e) { return !e->claimed; });
        if (found != entries.end())
            next = *found;
        return next || workersEnd;
    });
    if (next)
        next->claimed = true;
    return next;
}

void FrameEncodeQueue::encodeLoop()
{
    // Named so that per-thread CPU figures tell the encoders apart.
    pthread_setname_np(pthread_self(), "ostrel-encode");
    JpegEncoder encoder;
    QSize expected;
    Output kind = Output::Jpeg;
    while (const std::shared_ptr<Entry> entry = claimNext()) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            expected = frameSize;
            kind = output;
        }
        // Only this worker touches a claimed entry's image and transform until it is done.
        QImage image = std::move(entry->image);
        QByteArray jpeg;
        QString error;
        bool wrongSize = false;
        try {
            if (entry->transform)
                image = entry->transform(image);
            wrongSize = image.size() != expected;
            const bool encoded =
                wrongSize || (kind == Output::Jpeg ? encoder.encode(image, &jpeg, &error)
                                                   : encoder.encodeYuv420(image, &jpeg, &error));
            if (!encoded && error.isEmpty())
                error = QStringLiteral("JPEG encoding failed");
        } catch (const std::exception &e) {
            // Out of memory, mostly; the recording ends with the reason rather than the program.
            error = QString::fromUtf8(e.what());
        }
        {
            std::lock_guard<std::mutex> lock(mutex);
            entry->jpeg = std::move(jpeg);
            entry->error = std::move(error);
            entry->wrongSize = wrongSize;
            entry->done = true;
        }
        frontChanged.notify_all();
    }
}
