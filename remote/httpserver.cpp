#include "httpserver.h"

#include <QJsonDocument>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

HttpServer::HttpServer(Handler handler, QObject *parent)
    : QObject(parent)
    , handler(std::move(handler))
    , server(new QTcpServer(this))
{
    connect(server, &QTcpServer::newConnection, this, &HttpServer::onNewConnection);
}

HttpServer::~HttpServer() = default;

bool HttpServer::listen(const QHostAddress &address, quint16 port, const QByteArray &secret)
{
    token = secret;
    return server->listen(address, port);
}

QString HttpServer::errorString() const
{
    return server->errorString();
}

quint16 HttpServer::serverPort() const
{
    return server->serverPort();
}

bool HttpServer::sameSecret(const QByteArray &a, const QByteArray &b)
{
    // Every byte of the longer one is looked at, whatever the earlier ones were.
    const qsizetype length = std::max(a.size(), b.size());
    unsigned difference = a.size() == b.size() ? 0 : 1;
    for (qsizetype i = 0; i < length; ++i) {
        const unsigned char x = i < a.size() ? uchar(a.at(i)) : 0;
        const unsigned char y = i < b.size() ? uchar(b.at(i)) : 0;
        difference |= x ^ y;
    }
    return difference == 0 && !a.isEmpty();
}

QByteArray HttpServer::statusLine(int status)
{
    static const QHash<int, QByteArray> reasons = {
        {200, "OK"},
        {202, "Accepted"},
        {400, "Bad Request"},
        {401, "Unauthorized"},
        {404, "Not Found"},
        {405, "Method Not Allowed"},
        {408, "Request Timeout"},
        {409, "Conflict"},
        {411, "Length Required"},
        {413, "Payload Too Large"},
        {431, "Request Header Fields Too Large"},
        {500, "Internal Server Error"},
        {503, "Service Unavailable"},
    };
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasons.value(status, "Status") +
           "\r\n";
}

void HttpServer::reply(QTcpSocket *socket, int status, const QByteArray &contentType,
                       const QByteArray &body, const QByteArray &extraHeaders)
{
    socket->write(statusLine(status) + "Content-Type: " + contentType +
                  "\r\nContent-Length: " + QByteArray::number(body.size()) +
                  "\r\nCache-Control: no-store\r\nConnection: close\r\n" + extraHeaders + "\r\n" +
                  body);
    // Closes once everything written has been sent.
    socket->disconnectFromHost();
}

void HttpServer::replyJson(QTcpSocket *socket, int status, const QJsonObject &object)
{
    reply(socket, status, "application/json",
          QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
}

void HttpServer::replyError(QTcpSocket *socket, int status, const QString &message)
{
    replyJson(socket, status, QJsonObject{{QStringLiteral("error"), message}});
}

void HttpServer::onNewConnection()
{
    while (QTcpSocket *socket = server->nextPendingConnection()) {
        partial.insert(socket, {});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            partial.remove(socket);
            socket->deleteLater();
        });
        // A connection that never completes its request does not hold its place for ever.
        QTimer::singleShot(requestTimeoutMs, socket, [this, socket] {
            if (partial.remove(socket))
                replyError(socket, 408, tr("The request did not arrive in time."));
        });
    }
}

void HttpServer::onReadyRead(QTcpSocket *socket)
{
    auto buffer = partial.find(socket);
    if (buffer == partial.end()) {
        // The request has been taken: whatever else the client sends is not read.
        socket->readAll();
        return;
    }
    buffer->append(socket->readAll());
    HttpRequest request;
    QByteArray &bytes = *buffer;
    if (!takeRequest(socket, bytes, &request))
        return;
    partial.erase(buffer);
    if (!token.isEmpty()) {
        const QByteArray given = request.headers.value("authorization");
        if (!given.startsWith("Bearer ") || !sameSecret(given.mid(7).trimmed(), token)) {
            reply(socket, 401, "application/json",
                  QJsonDocument(QJsonObject{{QStringLiteral("error"),
                                             tr("A valid token is needed (Authorization: "
                                                "Bearer TOKEN).")}})
                          .toJson(QJsonDocument::Compact) +
                      '\n',
                  "WWW-Authenticate: Bearer\r\n");
            return;
        }
    }
    handler(socket, request);
}

bool HttpServer::takeRequest(QTcpSocket *socket, QByteArray &buffer, HttpRequest *request)
{
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        if (buffer.size() > maxHeadBytes) {
            partial.remove(socket);
            replyError(socket, 431, tr("The request head is too large."));
        }
        return false;
    }
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> first = lines.constFirst().trimmed().split(' ');
    auto bad = [&](int status, const QString &why) {
        partial.remove(socket);
        replyError(socket, status, why);
        return false;
    };
    if (headEnd > maxHeadBytes)
        return bad(431, tr("The request head is too large."));
    if (first.size() != 3 || !first.at(2).startsWith("HTTP/1."))
        return bad(400, tr("Not an HTTP request."));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines.at(i).indexOf(':');
        if (colon <= 0)
            return bad(400, tr("A malformed header line."));
        request->headers.insert(lines.at(i).left(colon).trimmed().toLower(),
                                lines.at(i).mid(colon + 1).trimmed());
    }
    if (request->headers.contains("transfer-encoding"))
        return bad(411, tr("A body must come with its Content-Length."));
    bool ok = true;
    const QByteArray lengthText = request->headers.value("content-length", "0");
    const qint64 length = lengthText.toLongLong(&ok);
    if (!ok || length < 0)
        return bad(400, tr("A malformed Content-Length."));
    if (length > maxBodyBytes)
        return bad(413, tr("The request body is larger than %1 bytes.").arg(maxBodyBytes));
    if (buffer.size() < headEnd + 4 + length)
        return false;
    request->method = first.at(0);
    const QUrl url = QUrl::fromEncoded(first.at(1));
    request->path = url.path();
    request->query = QUrlQuery(url);
    request->body = buffer.mid(headEnd + 4, length);
    return true;
}
