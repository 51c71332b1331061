#include "mjpegfeed.h"

#include "capturesession.h"
#include "jpegencoder.h"

#include <QTcpSocket>

#include <pthread.h>

MjpegFeed::MjpegFeed(CaptureSession *session, QObject *parent)
    : QObject(parent)
    , session(session)
    , worker([this] { run(); })
{
    // The window gives the session its camera after the feed may have viewers.
    connect(session, &CaptureSession::runningChanged, this, &MjpegFeed::updateTap);
}

CameraBase *MjpegFeed::camera() const
{
    return session ? session->camera() : nullptr;
}

MjpegFeed::~MjpegFeed()
{
    if (CameraBase *tapped = tapInput ? camera() : nullptr)
        tapped->setRecordingTap({}, CameraBase::TapInput::Picture, CameraBase::TapUser::LiveFeed);
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_one();
    worker.join();
    cancelRequests();
    for (const Viewer &viewer : std::as_const(viewers)) {
        if (viewer.socket)
            viewer.socket->disconnectFromHost();
    }
}

void MjpegFeed::setOrientation(const Orientation &turn)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        orientation = turn;
    }
    updateTap();
}

void MjpegFeed::addViewer(QTcpSocket *socket)
{
    socket->write(QByteArray("HTTP/1.1 200 OK\r\nContent-Type: multipart/x-mixed-replace; "
                             "boundary=") +
                  boundary + "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n");
    const QObject *key = socket;
    viewers.append(Viewer{socket, key, {}});
    connect(socket, &QTcpSocket::bytesWritten, this, [this, key] {
        for (Viewer &viewer : viewers) {
            if (viewer.key == key)
                sendNext(viewer);
        }
    });
    // Gone viewers are forgotten; the server deletes their sockets.
    connect(socket, &QTcpSocket::disconnected, this, [this, key] {
        viewers.removeIf([key](const Viewer &viewer) { return viewer.key == key; });
        updateTap();
    });
    updateTap();
}

void MjpegFeed::requestFrame(std::function<void(const QByteArray &)> callback)
{
    requests.append(std::move(callback));
    updateTap();
}

void MjpegFeed::cancelRequests()
{
    const auto waiting = std::exchange(requests, {});
    for (const auto &callback : waiting)
        callback({});
    updateTap();
}

qint64 MjpegFeed::largestBacklog() const
{
    qint64 largest = 0;
    for (const Viewer &viewer : viewers) {
        if (viewer.socket)
            largest = std::max(largest, viewer.socket->bytesToWrite() + viewer.pending.size());
    }
    return largest;
}

void MjpegFeed::takeFrame(const QImage &picture, const QByteArray &cameraJpeg)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        newest = {picture, cameraJpeg};
        fresh = true;
    }
    wake.notify_one();
}

void MjpegFeed::run()
{
    pthread_setname_np(pthread_self(), "ostrel-feed");
    std::unique_lock<std::mutex> lock(mutex);
    while (true) {
        wake.wait(lock, [this] { return stopping || fresh; });
        if (stopping)
            return;
        const Frame frame = std::exchange(newest, {});
        const Orientation turn = orientation;
        fresh = false;
        lock.unlock();
        const std::optional<QByteArray> jpeg = makeJpeg(frame, turn);
        lock.lock();
        if (!jpeg)
            continue;
        made = *jpeg;
        // One delivery at a time is on its way; it takes the newest JPEG when it gets there.
        if (!std::exchange(delivering, true))
            QMetaObject::invokeMethod(this, &MjpegFeed::deliver, Qt::QueuedConnection);
    }
}

std::optional<QByteArray> MjpegFeed::makeJpeg(const Frame &frame, const Orientation &turn)
{
    if (turn.isIdentity() && !frame.cameraJpeg.isEmpty())
        return frame.cameraJpeg;
    // A camera JPEG without its picture while the turn changes: the next frame brings one.
    if (frame.picture.isNull())
        return std::nullopt;
    thread_local JpegEncoder encoder(85);
    QByteArray jpeg;
    QString error;
    if (!encoder.encode(turn.apply(frame.picture), &jpeg, &error))
        return std::nullopt;
    return jpeg;
}

void MjpegFeed::deliver()
{
    QByteArray jpeg;
    {
        std::lock_guard<std::mutex> lock(mutex);
        jpeg = std::exchange(made, {});
        delivering = false;
    }
    if (jpeg.isEmpty())
        return;
    const auto waiting = std::exchange(requests, {});
    for (const auto &callback : waiting)
        callback(jpeg);
    const QByteArray part =
        QByteArray("--") + boundary +
        "\r\nContent-Type: image/jpeg\r\nContent-Length: " + QByteArray::number(jpeg.size()) +
        "\r\n\r\n" + jpeg + "\r\n";
    for (Viewer &viewer : viewers) {
        viewer.pending = part;
        sendNext(viewer);
    }
    updateTap();
}

void MjpegFeed::sendNext(Viewer &viewer)
{
    if (!viewer.socket || viewer.pending.isEmpty() || viewer.socket->bytesToWrite() > 0)
        return;
    viewer.socket->write(std::exchange(viewer.pending, {}));
}

void MjpegFeed::updateTap()
{
    CameraBase *tapped = camera();
    if (!tapped)
        return;
    std::optional<CameraBase::TapInput> wanted;
    if (!viewers.isEmpty() || !requests.isEmpty()) {
        std::lock_guard<std::mutex> lock(mutex);
        // The camera's own JPEG suits as it is when nothing turns the picture; a turned one is
        // encoded from the decoded picture.
        wanted = orientation.isIdentity() ? CameraBase::TapInput::CameraJpeg
                                          : CameraBase::TapInput::Picture;
    }
    if (wanted == tapInput)
        return;
    tapInput = wanted;
    if (wanted)
        tapped->setRecordingTap([this](const QImage &picture, const QByteArray &jpeg,
                                       qint64) { takeFrame(picture, jpeg); },
                                *wanted, CameraBase::TapUser::LiveFeed);
    else
        tapped->setRecordingTap({}, CameraBase::TapInput::Picture, CameraBase::TapUser::LiveFeed);
}
