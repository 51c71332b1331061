#pragma once

#include "httprequest.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QJsonObject>
#include <QObject>

#include <functional>

class QTcpServer;
class QTcpSocket;

// A small HTTP/1.1 server for the feed and the remote control: one request per connection,
// answered with "Connection: close", so that a never-ending answer (a live picture) is an answer
// like any other. Heads and bodies are bounded before they are read in whole; when a token is
// set, every request must carry it as "Authorization: Bearer TOKEN". GUI thread only.
class HttpServer : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 maxHeadBytes = 16 * 1024;
    static constexpr qint64 maxBodyBytes = 64 * 1024;
    static constexpr int requestTimeoutMs = 10000;

    // Called with every request that passed the checks; it answers on socket, now or later.
    using Handler = std::function<void(QTcpSocket *socket, const HttpRequest &request)>;

    explicit HttpServer(Handler handler, QObject *parent = nullptr);
    ~HttpServer() override;

    // An empty token lets every request in.
    bool listen(const QHostAddress &address, quint16 port, const QByteArray &token);
    QString errorString() const;
    quint16 serverPort() const;

    // Whether two secrets are equal, in a time that does not depend on where they differ.
    static bool sameSecret(const QByteArray &a, const QByteArray &b);

    // Writes a whole answer and closes the connection once it has been sent.
    static void reply(QTcpSocket *socket, int status, const QByteArray &contentType,
                      const QByteArray &body, const QByteArray &extraHeaders = {});
    static void replyJson(QTcpSocket *socket, int status, const QJsonObject &object);
    // {"error": message}
    static void replyError(QTcpSocket *socket, int status, const QString &message);
    static QByteArray statusLine(int status);

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    // Whether the buffered bytes make a whole request; answers and returns false on a bad one.
    bool takeRequest(QTcpSocket *socket, QByteArray &buffer, HttpRequest *request);

    Handler handler;
    QTcpServer *server;
    QByteArray token;
    QHash<QTcpSocket *, QByteArray> partial; // what arrived of each request still being read
};
