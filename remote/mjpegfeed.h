#pragma once

#include "camerabase.h"
#include "orientation.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

class CaptureSession;
class QTcpSocket;

// The camera's picture as a stream of JPEGs for any number of viewers. The capture thread only
// leaves its newest frame in a slot; the feed's own thread ("ostrel-feed") makes one JPEG of it
// for everyone: the camera's own when nothing turns the picture, else the turned picture
// encoded. Viewers are written to on the GUI thread, each only once it has taken the previous
// frame: a slow one is given the newest frame, and holds at most the one it is sent and the one
// waiting for it. The camera is tapped only while somebody wants its frames. GUI thread, except
// where said.
class MjpegFeed : public QObject
{
    Q_OBJECT

public:
    static constexpr char boundary[] = "ostrelframe";

    // The frames of session's camera, once it has one.
    explicit MjpegFeed(CaptureSession *session, QObject *parent = nullptr);
    // Leaves the camera's tap and ends the feed's thread; the viewers' connections close.
    ~MjpegFeed() override;

    // The orientation of the frames made from now on.
    void setOrientation(const Orientation &orientation);
    // Answers socket with the never-ending stream; it stays a viewer until it disconnects.
    void addViewer(QTcpSocket *socket);
    int viewerCount() const { return int(viewers.size()); }
    // The next frame made, as one JPEG, to callback on the GUI thread.
    void requestFrame(std::function<void(const QByteArray &jpeg)> callback);
    // Drops the requests still waiting; each callback is told with an empty JPEG.
    void cancelRequests();
    // The most bytes one viewer has waiting: in its socket and the frame it is to get next.
    qint64 largestBacklog() const;

private:
    struct Viewer
    {
        QPointer<QTcpSocket> socket;
        // The socket as it was added: compared while the socket itself is being destroyed,
        // when it must not be cast any more.
        const QObject *key = nullptr;
        QByteArray pending; // the newest frame, while the socket still sends the one before
    };
    struct Frame
    {
        QImage picture;
        QByteArray cameraJpeg;
    };

    // Capture thread.
    void takeFrame(const QImage &picture, const QByteArray &cameraJpeg);
    // The feed's thread.
    void run();
    std::optional<QByteArray> makeJpeg(const Frame &frame, const Orientation &orientation);
    // GUI thread: hands the JPEG the feed's thread made to everyone waiting.
    void deliver();
    void sendNext(Viewer &viewer);
    // Taps the camera while somebody wants its frames, for the input the orientation needs.
    void updateTap();
    CameraBase *camera() const;

    QPointer<CaptureSession> session; // gone first when the feed is the session's child
    QList<Viewer> viewers;
    QList<std::function<void(const QByteArray &)>> requests;
    std::optional<CameraBase::TapInput> tapInput; // the tap set on the camera, if any

    std::mutex mutex; // guards newest, fresh, orientation, made, delivering and stopping
    std::condition_variable wake;
    Frame newest;
    bool fresh = false; // newest has not been made into a JPEG yet
    Orientation orientation;
    QByteArray made;         // the JPEG for the GUI thread
    bool delivering = false; // deliver() is on its way to the GUI thread
    bool stopping = false;
    std::thread worker;
};
