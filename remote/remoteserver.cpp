#include "remoteserver.h"

#include "appsettings.h"
#include "capturesession.h"
#include "httpserver.h"
#include "mjpegfeed.h"
#include "remoteapi.h"

#include <QJsonObject>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

RemoteServer::RemoteServer(CaptureSession *session, QObject *parent)
    : QObject(parent)
    , session(session)
    , http(new HttpServer(
          [this](QTcpSocket *socket, const HttpRequest &request) { handle(socket, request); },
          this))
    , mjpegFeed(new MjpegFeed(session, this))
    , api(new RemoteApi(session, this))
{
    mjpegFeed->setOrientation(session->orientation());
    connect(session, &CaptureSession::orientationChanged, mjpegFeed, &MjpegFeed::setOrientation);
    // A stopped camera sends nothing: whoever waits for a picture is told at once.
    connect(session, &CaptureSession::runningChanged, mjpegFeed, [this](bool running) {
        if (!running)
            mjpegFeed->cancelRequests();
    });
}

RemoteServer::~RemoteServer() = default;

bool RemoteServer::listen(const QHostAddress &address, quint16 port, const QString &token,
                          QString *error)
{
    if (token.isEmpty() && !address.isLoopback()) {
        if (error)
            *error = tr("Serving on %1 needs a token (--token or the settings' remote token).")
                         .arg(address.toString());
        return false;
    }
    if (!http->listen(address, port, token.toUtf8())) {
        if (error)
            *error = tr("Cannot serve on %1 port %2: %3")
                         .arg(address.toString())
                         .arg(port)
                         .arg(http->errorString());
        return false;
    }
    return true;
}

quint16 RemoteServer::port() const
{
    return http->serverPort();
}

void RemoteServer::handle(QTcpSocket *socket, const HttpRequest &request)
{
    const bool get = request.method == "GET";
    if (request.path.startsWith(QLatin1String("/api/"))) {
        const RemoteApi::Reply reply =
            api->handle(request.method, request.path.mid(5), request.body);
        if (reply.wantsPicture) {
            replyWithPicture(socket);
        } else {
            QJsonObject body = reply.body;
            if (reply.status == 200 && request.path == QLatin1String("/api/status"))
                body.insert(QStringLiteral("viewers"), mjpegFeed->viewerCount());
            HttpServer::replyJson(socket, reply.status, body);
        }
    } else if (request.path == QLatin1String("/stream.mjpg") ||
               request.path == QLatin1String("/snapshot.jpg")) {
        if (!get)
            HttpServer::replyError(socket, 405, tr("Only GET is allowed here."));
        else if (request.path == QLatin1String("/stream.mjpg"))
            mjpegFeed->addViewer(socket);
        else
            replyWithPicture(socket);
    } else {
        HttpServer::replyError(socket, 404, tr("No such path: %1").arg(request.path));
    }
}

void RemoteServer::replyWithPicture(QTcpSocket *socket)
{
    if (!session->isRunning()) {
        HttpServer::replyError(socket, 503, tr("The camera is not running."));
        return;
    }
    QPointer<QTcpSocket> target(socket);
    auto answered = std::make_shared<bool>(false);
    auto answer = [target, answered](const QByteArray &jpeg) {
        if (std::exchange(*answered, true) || !target)
            return;
        if (jpeg.isEmpty())
            HttpServer::replyError(target, 503, tr("The camera delivered no picture."));
        else
            HttpServer::reply(target, 200, "image/jpeg", jpeg);
    };
    mjpegFeed->requestFrame(answer);
    QTimer::singleShot(snapshotWaitMs, socket, [answer] { answer({}); });
}

RemoteServer *RemoteServer::startFromSettings(CaptureSession *session, const AppSettings &settings,
                                              QString *error)
{
    if (settings.remotePort <= 0)
        return nullptr;
    const QHostAddress address(settings.remoteAddress);
    if (address.isNull()) {
        *error = tr("Not an address to serve on: %1").arg(settings.remoteAddress);
        return nullptr;
    }
    auto *server = new RemoteServer(session, session);
    if (!server->listen(address, quint16(settings.remotePort), settings.remoteToken, error)) {
        delete server;
        return nullptr;
    }
    return server;
}
