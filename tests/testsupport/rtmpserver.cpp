#include "rtmpserver.h"

#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString rtmpModule = QStringLiteral("/usr/lib/nginx/modules/ngx_rtmp_module.so");

} // namespace

int freeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr *>(&address), length);
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

RtmpServer::RtmpServer(int port)
    : port(port)
{
    // One process without workers: no user to switch to, even as root.
    QFile config(dir.filePath("nginx.conf"));
    if (config.open(QIODevice::WriteOnly))
        config.write(QStringLiteral("daemon off;\nmaster_process off;\npid %1/nginx.pid;\n"
                                    "error_log %1/error.log info;\nload_module %2;\nevents {}\n"
                                    "rtmp { server { listen 127.0.0.1:%3; "
                                    "application live { live on; } } }\n")
                         .arg(dir.path(), rtmpModule)
                         .arg(port)
                         .toUtf8());
}

RtmpServer::~RtmpServer()
{
    kill();
}

bool RtmpServer::available()
{
    return QFile::exists(rtmpModule) && !QStandardPaths::findExecutable("nginx").isEmpty();
}

void RtmpServer::start()
{
    process.start("nginx", {"-e", dir.filePath("error.log"), "-p", dir.path(), "-c",
                            dir.filePath("nginx.conf")});
    process.waitForStarted();
    // Started is not yet listening: a stream published at once would find nobody there.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(quint16(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool listening =
            ::connect(probe, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        ::close(probe);
        if (listening)
            return;
        QThread::msleep(100);
    }
}

void RtmpServer::kill()
{
    process.kill();
    process.waitForFinished();
}

QString RtmpServer::url(const QString &stream) const
{
    return QStringLiteral("rtmp://127.0.0.1:%1/live/%2").arg(port).arg(stream);
}
