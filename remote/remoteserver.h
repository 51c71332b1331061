#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>

struct AppSettings;
class CaptureSession;
class HttpServer;
class MjpegFeed;
class QTcpSocket;
class RemoteApi;
struct HttpRequest;

// The live feed and the remote control of one capture session on one HTTP port:
//   GET /stream.mjpg    the picture as multipart/x-mixed-replace JPEGs, for any number of viewers
//   GET /snapshot.jpg   the next frame as one JPEG (503 while the camera delivers none)
//   /api/...            the JSON API of RemoteApi
// GUI thread only.
class RemoteServer : public QObject
{
    Q_OBJECT

public:
    explicit RemoteServer(CaptureSession *session, QObject *parent = nullptr);
    ~RemoteServer() override;

    // Starts serving. A token, when given, must come with every request; an address other than
    // the machine's own (loopback) is refused without one. On failure returns false with a
    // one-line reason.
    bool listen(const QHostAddress &address, quint16 port, const QString &token,
                QString *error = nullptr);
    // The port listened on (the one chosen when 0 was asked for).
    quint16 port() const;
    MjpegFeed *feed() const { return mjpegFeed; }

    // The server the settings ask for (remotePort, remoteAddress, remoteToken), a child of
    // session; none when the port is 0, or on failure with the reason in error.
    static RemoteServer *startFromSettings(CaptureSession *session, const AppSettings &settings,
                                           QString *error);

    // How long a snapshot waits for the camera's next frame.
    static constexpr int snapshotWaitMs = 5000;

private:
    void handle(QTcpSocket *socket, const HttpRequest &request);
    // Answers socket with the camera's next frame.
    void replyWithPicture(QTcpSocket *socket);

    CaptureSession *session;
    HttpServer *http;
    MjpegFeed *mjpegFeed;
    RemoteApi *api;
};
