// The live feed and the remote control over a session with a synthetic camera, read by sockets
// of the test's own on 127.0.0.1.
#include "appsettings.h"
#include "capturesession.h"
#include "mjpegfeed.h"
#include "openpnpcamera.h"
#include "remoteserver.h"
#include "synthetic/syntheticcontrol.h"
#include "testsupport/ffprobe.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace synthetic = ostrel::synthetic;

namespace {

struct Reply
{
    int status = 0;
    QByteArray head;
    QByteArray body;
};

// One request, the whole answer once the server has closed the connection.
Reply exchange(quint16 port, const QByteArray &request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write(request);
    QByteArray bytes;
    (void)QTest::qWaitFor(
        [&] {
            bytes += socket.readAll();
            return socket.state() == QAbstractSocket::UnconnectedState;
        },
        20000);
    bytes += socket.readAll();
    const qsizetype headEnd = bytes.indexOf("\r\n\r\n");
    return {bytes.mid(9, 3).toInt(), bytes.left(headEnd), bytes.mid(headEnd + 4)};
}

// A viewer of /stream.mjpg that checks every part it reads and counts the whole JPEGs.
struct StreamReader
{
    QTcpSocket socket;
    QByteArray buffer;
    int frames = 0;
    int broken = 0;
    qsizetype largest = 0;

    void open(quint16 port)
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.write("GET /stream.mjpg HTTP/1.1\r\nHost: x\r\n\r\n");
    }
    void read()
    {
        buffer += socket.readAll();
        if (buffer.startsWith("HTTP/1.1 "))
            buffer.remove(0, buffer.indexOf("\r\n\r\n") + 4);
        while (true) {
            const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
            const qsizetype at = buffer.indexOf("Content-Length: ");
            if (headEnd < 0 || at < 0)
                return;
            const qsizetype length = buffer.mid(at + 16, headEnd - at - 16).toLongLong();
            if (buffer.size() < headEnd + 4 + length + 2)
                return;
            const QByteArray jpeg = buffer.mid(headEnd + 4, length);
            const bool whole = buffer.startsWith("--ostrelframe\r\nContent-Type: image/jpeg\r\n") &&
                               jpeg.startsWith("\xff\xd8") && jpeg.endsWith("\xff\xd9") &&
                               buffer.mid(headEnd + 4 + length, 2) == "\r\n";
            ++(whole ? frames : broken);
            largest = std::max(largest, headEnd + 4 + length + 2);
            buffer.remove(0, headEnd + 4 + length + 2);
        }
    }
};

} // namespace

class TestRemote : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CaptureSession> session;
    RemoteServer *server = nullptr;
    QTemporaryDir dir;

    void serve(const synthetic::FormatSpec &mode, const QString &token = {})
    {
        synthetic::setDevices({{"Bench Camera", {mode}}});
        session = std::make_unique<CaptureSession>();
        session->setCamera(new OpenPNPCamera);
        CameraBase *camera = session->camera();
        camera->availableCameras();
        QVERIFY(camera->openCamera(0));
        QVERIFY(camera->setFormat(camera->supportedFormats().at(0)));
        server = new RemoteServer(session.get(), session.get());
        QVERIFY(server->listen(QHostAddress::LocalHost, 0, token));
        QVERIFY(session->start());
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName("Brellway");
        QCoreApplication::setApplicationName("Ostrel");
    }
    void init() { QSettings("Brellway", "Ostrel").clear(); }
    void cleanup()
    {
        session.reset();
        synthetic::resetDevices();
    }

    // Five viewers each get every frame the camera takes, whole, while a sixth that reads
    // nothing holds up neither them nor the recording and is kept to a frame or two.
    void fiveViewersAtTheCamerasRate()
    {
        serve(synthetic::mode(640, 480, 30, "MJPG"));
        const int stalled = ::socket(AF_INET, SOCK_STREAM, 0);
        const int small = 4096;
        ::setsockopt(stalled, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(server->port());
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        QCOMPARE(::connect(stalled, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        const char get[] = "GET /stream.mjpg HTTP/1.1\r\n\r\n";
        QCOMPARE(::write(stalled, get, sizeof get - 1), qsizetype(sizeof get - 1));

        StreamReader readers[5];
        for (StreamReader &reader : readers) {
            reader.open(server->port());
            connect(&reader.socket, &QTcpSocket::readyRead, this, [&reader] { reader.read(); });
        }
        QTRY_VERIFY_WITH_TIMEOUT(server->feed()->viewerCount() == 6, 20000);
        QTRY_VERIFY(session->hasFrame());
        QVERIFY(session->startRecording(dir.filePath("beside.avi")));
        auto taken = [this] {
            return session->camera()->frameCounts().taken;
        };
        QTRY_VERIFY_WITH_TIMEOUT(std::all_of(std::begin(readers), std::end(readers),
                                             [](const auto &r) { return r.frames > 5; }),
                                 20000);
        const quint64 takenBefore = taken();
        int before[5];
        for (int i = 0; i < 5; ++i)
            before[i] = readers[i].frames;
        QTRY_VERIFY_WITH_TIMEOUT(taken() >= takenBefore + 120, 60000);
        qsizetype largest = 0;
        for (const StreamReader &reader : readers)
            largest = std::max(largest, reader.largest);
        QVERIFY2(server->feed()->largestBacklog() <= 2 * largest,
                 qPrintable(QString::number(server->feed()->largestBacklog())));
        session->stopRecording();
        QTRY_COMPARE(session->recorder()->state(), Recorder::State::Idle);
        QCOMPARE(session->recorder()->statistics().framesDropped, 0);
        // Viewers that held the capture up would cost it many frames; a sanitizer build on a
        // busy machine may miss one by itself now and then.
        const QRegularExpressionMatch lost =
            QRegularExpression("lost: (\\d+) at the camera, (\\d+) in the program$")
                .match(session->recorder()->report());
        QVERIFY2(lost.hasMatch() && lost.captured(1).toInt() + lost.captured(2).toInt() <= 1,
                 qPrintable(session->recorder()->report()));
        // Once the camera has stopped, every reader has had the frames it took since the mark,
        // give or take the one on its way at either end.
        session->stop();
        const int cameraFrames = int(taken() - takenBefore);
        for (int i = 0; i < 5; ++i) {
            QTRY_VERIFY(readers[i].frames - before[i] >= cameraFrames - 2);
            QVERIFY(readers[i].frames - before[i] <= cameraFrames + 2);
            QCOMPARE(readers[i].broken, 0);
        }
        ::close(stalled);
        QTRY_COMPARE(server->feed()->viewerCount(), 5);
    }

    // The picture of /snapshot.jpg and of the API's snapshot is the camera's newest, turned as
    // the session turns it; none while the camera is stopped.
    void snapshotFollowsTheSession_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("angle");
        QTest::newRow("snapshot.jpg") << QByteArray("GET /snapshot.jpg HTTP/1.1\r\n\r\n") << 0;
        QTest::newRow("snapshot.jpg turned")
            << QByteArray("GET /snapshot.jpg HTTP/1.1\r\n\r\n") << 90;
        QTest::newRow("API") << QByteArray("POST /api/snapshot HTTP/1.1\r\n\r\n") << 270;
    }
    void snapshotFollowsTheSession()
    {
        QFETCH(QByteArray, request);
        QFETCH(int, angle);
        serve(synthetic::mode(320, 240, 30, "MJPG"));
        session->setOrientation({false, angle});
        const Reply reply = exchange(server->port(), request);
        QCOMPARE(reply.status, 200);
        QVERIFY(reply.head.contains("Content-Type: image/jpeg"));
        QCOMPARE(QImage::fromData(reply.body, "JPG").size(),
                 angle % 180 ? QSize(240, 320) : QSize(320, 240));
        session->stop();
        const Reply stopped = exchange(server->port(), request);
        QCOMPARE(stopped.status, 503);
        QVERIFY(stopped.body.contains("\"error\""));
    }

    // Good and bad requests: every answer a JSON object with the right status.
    void apiAnswersGoodAndBadRequests_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray token = "Authorization: Bearer s3cret\r\n";
        const auto row = [&](const char *name, QByteArray method, const char *path, QByteArray body,
                             int status, QByteArray expected, const QByteArray &auth) {
            QTest::newRow(name) << method + ' ' + path + " HTTP/1.1\r\n" + auth +
                                       "Content-Length: " + QByteArray::number(body.size()) +
                                       "\r\n\r\n" + body
                                << status << expected;
        };
        row("status", "GET", "/api/status", {}, 200, "\"running\":true", token);
        row("cameras", "GET", "/api/cameras", {}, 200, "\"name\":\"Bench Camera\"", token);
        row("set a control", "POST", "/api/controls", "{\"Brightness\": 7}", 200,
            "\"name\":\"Brightness\",\"value\":7", token);
        row("unknown control", "POST", "/api/controls", "{\"Nothing\": 7}", 400, "Nothing", token);
        row("no such profile", "POST", "/api/profile", "{\"name\": \"dusk\"}", 404, "dusk", token);
        row("pause without recording", "POST", "/api/recording/pause", "{\"paused\": true}", 409,
            "error", token);
        row("pause not a bool", "POST", "/api/recording/pause", "{\"paused\": 1}", 400, "paused",
            token);
        row("unknown path", "GET", "/api/nothing", {}, 404, "error", token);
        row("outside the API", "GET", "/index.html", {}, 404, "error", token);
        row("wrong method", "DELETE", "/api/status", {}, 405, "DELETE", token);
        row("stream by POST", "POST", "/stream.mjpg", {}, 405, "error", token);
        row("malformed JSON", "POST", "/api/controls", "{\"Brightness\": ", 400, "JSON", token);
        row("not an object", "POST", "/api/camera/start", "[1]", 400, "JSON", token);
        row("huge body", "POST", "/api/controls", QByteArray(70000, ' '), 413, "65536", token);
        row("missing token", "GET", "/api/status", {}, 401, "token", {});
        row("wrong token", "GET", "/api/status", {}, 401, "token",
            "Authorization: Bearer s3creT\r\n");
        row("token too long", "GET", "/api/status", {}, 401, "token",
            "Authorization: Bearer s3cret0\r\n");
    }
    void apiAnswersGoodAndBadRequests()
    {
        QFETCH(QByteArray, request);
        QFETCH(int, status);
        QFETCH(QByteArray, expected);
        serve(synthetic::mode(320, 240, 30, "MJPG"), "s3cret");
        // Off the machine's own address only with a token.
        QString refusal;
        QVERIFY(!RemoteServer(session.get()).listen(QHostAddress::AnyIPv4, 0, {}, &refusal));
        QVERIFY(refusal.contains("token"));
        QTRY_VERIFY(session->hasFrame());
        const Reply reply = exchange(server->port(), request);
        QCOMPARE(reply.status, status);
        QVERIFY(reply.head.contains("Content-Type: application/json"));
        QVERIFY2(QJsonDocument::fromJson(reply.body).isObject(), reply.body.constData());
        QVERIFY2(reply.body.contains(expected), reply.body.constData());
        if (status >= 400)
            QVERIFY(QJsonDocument::fromJson(reply.body).object().contains("error"));
    }

    // The window's server as the settings ask for it: off at port 0, refused off the machine's
    // own address without a token or on a name that is no address.
    void settingsStartTheWindowsServer_data()
    {
        QTest::addColumn<int>("port"); // -1: a free one
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("error");
        QTest::newRow("off") << 0 << "127.0.0.1" << QString();
        QTest::newRow("loopback") << -1 << "127.0.0.1" << QString();
        QTest::newRow("everywhere without a token") << -1 << "0.0.0.0"
                                                    << "token";
        QTest::newRow("not an address") << -1 << "camera.lan"
                                        << "camera.lan";
    }
    void settingsStartTheWindowsServer()
    {
        QFETCH(int, port);
        QFETCH(QString, address);
        QFETCH(QString, error);
        serve(synthetic::mode(320, 240, 30, "MJPG"));
        AppSettings settings;
        settings.remotePort = port;
        if (port < 0) {
            QTcpServer probe; // closed again before the server takes its port
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            settings.remotePort = probe.serverPort();
        }
        settings.remoteAddress = address;
        QString why;
        RemoteServer *started = RemoteServer::startFromSettings(session.get(), settings, &why);
        QCOMPARE(started != nullptr, port < 0 && error.isEmpty());
        QVERIFY2(why.contains(error), qPrintable(why));
        if (started)
            QCOMPARE(exchange(started->port(), "GET /api/status HTTP/1.1\r\n\r\n").status, 200);
    }

    // A recording started and stopped through the API is a whole file, by the name given or by
    // the program's own naming in the settings' folder.
    void apiRecordsAWholeFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("named, H.264 by its suffix") << "remote.mkv";
        QTest::newRow("the program's naming") << QString();
    }
    void apiRecordsAWholeFile()
    {
        QFETCH(QString, name);
        if (!ffprobeAvailable())
            QSKIP("ffprobe is not installed");
        QSettings("Brellway", "Ostrel").setValue("recordingDirectory", dir.path());
        serve(synthetic::mode(320, 240, 30, "MJPG"));
        QTRY_VERIFY(session->hasFrame());
        const QByteArray body =
            name.isEmpty() ? QByteArray() : "{\"path\": \"" + dir.filePath(name).toUtf8() + "\"}";
        const Reply started =
            exchange(server->port(), "POST /api/recording/start HTTP/1.1\r\nContent-Length: " +
                                         QByteArray::number(body.size()) + "\r\n\r\n" + body);
        QCOMPARE(started.status, 200);
        const QJsonObject recording =
            QJsonDocument::fromJson(started.body).object().value("recording").toObject();
        QCOMPARE(recording.value("state").toString(), QString("recording"));
        const QString path = recording.value("path").toString();
        QVERIFY2(name.isEmpty() ? path.startsWith(dir.path() + "/Ostrel_recording_")
                                : path == dir.filePath(name),
                 qPrintable(path));
        QTRY_VERIFY(session->recorder()->statistics().framesWritten >= 15);
        QCOMPARE(exchange(server->port(), "POST /api/recording/stop HTTP/1.1\r\n\r\n").status, 200);
        QTRY_COMPARE(session->recorder()->state(), Recorder::State::Idle);
        const ProbeResult probe = probeVideo(path);
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QCOMPARE(probe.codec, QString(name.isEmpty() ? "mjpeg" : "h264"));
        QVERIFY(probe.allDecodable);
        QCOMPARE(probe.frames, session->recorder()->statistics().framesWritten);
    }
};

QTEST_GUILESS_MAIN(TestRemote)
#include "tst_remote.moc"
