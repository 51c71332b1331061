#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A port on 127.0.0.1 nobody listens on at the moment.
int freeLoopbackPort();

// nginx with its RTMP module in the foreground, one process, with a config of its own in a
// temporary folder: an application "live" on 127.0.0.1:port. Killed when destroyed.
class RtmpServer
{
public:
    explicit RtmpServer(int port);
    ~RtmpServer();
    // Whether nginx and its RTMP module are installed.
    static bool available();
    void start();
    // SIGKILL, as a crashed or unplugged server goes.
    void kill();
    QString url(const QString &stream = QStringLiteral("test")) const;

private:
    QTemporaryDir dir;
    QProcess process;
    const int port;
};
