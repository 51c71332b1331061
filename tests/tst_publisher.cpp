// Publishing against real servers on 127.0.0.1, started and stopped by the test: nginx with its
// RTMP module, and ffmpeg listening for an RTSP push. What the servers received is read back by
// ffmpeg and judged by the synthetic camera's sequence strip.
#include "capturesession.h"
#include "h264encoder.h"
#include "openpnpcamera.h"
#include "publishcontroller.h"
#include "publisher.h"
#include "synthetic/syntheticcontrol.h"
#include "testsupport/ffprobe.h"
#include "testsupport/rtmpserver.h"

#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

namespace synthetic = ostrel::synthetic;

namespace {

// ffmpeg copies what it receives from url into path, until it has frames or the stream ends.
bool receive(QProcess &ffmpeg, const QStringList &input, const QString &path, int frames = 0)
{
    QStringList arguments = {"-loglevel", "error", "-y"};
    arguments << input << "-c"
              << "copy";
    if (frames > 0)
        arguments << "-frames:v" << QString::number(frames);
    ffmpeg.start(QStandardPaths::findExecutable("ffmpeg"), arguments << path);
    return ffmpeg.waitForStarted();
}

} // namespace

class TestPublisher : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CaptureSession> session;
    QTemporaryDir dir;
    // A server that takes connections and never says a word.
    int silentSocket = -1;
    int silentPort = 0;

    void startSession()
    {
        synthetic::setDevices({{"Bench Camera", {synthetic::mode(320, 240, 30, "MJPG")}}});
        session = std::make_unique<CaptureSession>();
        session->setCamera(new OpenPNPCamera);
        CameraBase *camera = session->camera();
        camera->availableCameras();
        QVERIFY(camera->openCamera(0));
        QVERIFY(camera->setFormat(camera->supportedFormats().at(0)));
        QVERIFY(session->start());
        QSignalSpy frames(session.get(), &CaptureSession::frameAvailable);
        QTRY_VERIFY(!frames.isEmpty());
    }
    // The frames a received file holds, read by ffprobe, in the camera's order without a gap
    // larger than allowedGaps frames in all.
    void verifyReceived(const QString &path, QSize size, int angle, int frames, int allowedGaps)
    {
        const ProbeResult probe = probeVideo(path);
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QCOMPARE(probe.codec, "h264");
        QCOMPARE(QSize(probe.width, probe.height), size);
        QVERIFY2(qAbs(probe.frames - frames) <= 2, qPrintable(QString::number(probe.frames)));
        const QList<uint32_t> sequences = recordedSequences(path, size, angle);
        QCOMPARE(sequences.size(), probe.frames);
        QVERIFY(std::adjacent_find(sequences.begin(), sequences.end(), std::greater_equal<>()) ==
                sequences.end());
        QVERIFY(int(sequences.last() - sequences.first()) + 1 - sequences.size() <= allowedGaps);
    }

private slots:
    void initTestCase()
    {
        if (!RtmpServer::available() || !ffprobeAvailable())
            QSKIP("nginx with its RTMP module, ffmpeg and ffprobe are needed");
        QStandardPaths::setTestModeEnabled(true);
        QSettings("Brellway", "Ostrel").clear();
        silentSocket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QCOMPARE(::bind(silentSocket, reinterpret_cast<sockaddr *>(&address), length), 0);
        QCOMPARE(::listen(silentSocket, 4), 0);
        ::getsockname(silentSocket, reinterpret_cast<sockaddr *>(&address), &length);
        silentPort = ntohs(address.sin_port);
    }
    void cleanupTestCase() { ::close(silentSocket); }
    void cleanup()
    {
        session.reset();
        synthetic::resetDevices();
    }

    // What the server passes on is the camera's picture, turned as a recording is, frame after
    // frame; a server killed and started again is live again and passes frames on, while a
    // recording beside the stream keeps every frame.
    void rtmpStreamIsPulledBack_data()
    {
        QTest::addColumn<int>("angle");
        QTest::addColumn<QSize>("size");
        QTest::newRow("straight") << 0 << QSize(320, 240);
        QTest::newRow("turned") << 90 << QSize(240, 320);
    }
    void rtmpStreamIsPulledBack()
    {
        QFETCH(int, angle);
        QFETCH(QSize, size);
        RtmpServer server(freeLoopbackPort());
        server.start();
        startSession();
        session->setOrientation({false, angle});
        const QString video = dir.filePath(QStringLiteral("beside%1.avi").arg(angle));
        QVERIFY(session->startRecording(video));
        Publisher *publisher = session->publisher();
        QSignalSpy states(publisher, &Publisher::stateChanged);
        QVERIFY(session->startPublishing(server.url()));
        QTRY_COMPARE(publisher->state(), Publisher::State::Live);

        QProcess puller;
        const QString pulled = dir.filePath(QStringLiteral("pulled%1.mkv").arg(angle));
        QVERIFY(receive(puller, {"-i", server.url()}, pulled, 60));
        QVERIFY(puller.waitForFinished(30000));
        verifyReceived(pulled, size, angle, 60, 2);
        if (QTest::currentTestFailed())
            return;

        server.kill();
        QTRY_COMPARE(publisher->state(), Publisher::State::Reconnecting);
        const qint64 sentBefore = publisher->framesSent();
        server.start();
        QTRY_COMPARE_WITH_TIMEOUT(publisher->state(), Publisher::State::Live, 10000);
        QVERIFY(receive(puller, {"-i", server.url()}, pulled, 30));
        QVERIFY(puller.waitForFinished(30000));
        verifyReceived(pulled, size, angle, 30, 2);
        QVERIFY(publisher->framesSent() > sentBefore + 30);
        QVERIFY(publisher->framesDropped() > 0);
        QList<Publisher::State> order;
        for (const QList<QVariant> &change : states)
            order << change.at(0).value<Publisher::State>();
        QCOMPARE(order, QList({Publisher::State::Connecting, Publisher::State::Live,
                               Publisher::State::Reconnecting, Publisher::State::Live}));

        QSignalSpy finished(session->recorder(), &Recorder::finished);
        session->stop();
        QCOMPARE(publisher->state(), Publisher::State::Idle);
        QTRY_COMPARE(finished.count(), 1);
        // A turned recording begins with its first picture twice: count each frame once.
        QList<uint32_t> recorded = recordedSequences(video, size, angle);
        recorded.erase(std::unique(recorded.begin(), recorded.end()), recorded.end());
        QVERIFY(recorded.size() > 90);
        QCOMPARE(int(recorded.last() - recorded.first()) + 1, recorded.size());
    }

    // An RTSP server that takes a pushed stream (as MediaMTX does) receives every frame sent.
    void rtspPushIsReceived()
    {
        const int port = freeLoopbackPort();
        const QString url = QStringLiteral("rtsp://127.0.0.1:%1/live").arg(port);
        QProcess listener;
        const QString received = dir.filePath("pushed.mkv");
        QVERIFY(receive(listener, {"-rtsp_flags", "listen", "-i", url}, received));
        startSession();
        Publisher *publisher = session->publisher();
        // The listener may not listen yet: a refused push is tried again.
        for (int attempt = 0; attempt < 20 && publisher->state() != Publisher::State::Live;
             ++attempt) {
            QVERIFY(session->startPublishing(url));
            QTRY_VERIFY(publisher->state() != Publisher::State::Connecting);
            if (publisher->state() == Publisher::State::Failed)
                QTest::qWait(250);
        }
        QCOMPARE(publisher->state(), Publisher::State::Live);
        QTRY_VERIFY(publisher->framesSent() >= 60);
        session->stopPublishing();
        QVERIFY(listener.waitForFinished(30000));
        verifyReceived(received, QSize(320, 240), 0, int(publisher->framesSent()), 0);
    }

    // A camera's own H.264 goes out untouched from its first keyframe; after a frame missing
    // from the camera's numbering, nothing until the next keyframe.
    void cameraH264PassesThroughFromAKeyframe()
    {
        // A camera's stream: parameter sets before every keyframe, one every 30 frames.
        H264Encoder camera;
        QCOMPARE(camera.open({QSize(320, 240), {30, 1}, 30, false, true}), QString());
        std::vector<H264Encoder::Packet> packets;
        for (int sequence = 0; sequence < 95; ++sequence) {
            QImage picture(320, 240, QImage::Format_RGB888);
            picture.fill(QColor::fromHsv(sequence * 3, 200, 200));
            QCOMPARE(
                camera.encode(H264Encoder::yuv420FromImage(picture, nullptr), sequence, &packets),
                QString());
        }
        QCOMPARE(packets.size(), size_t(95));
        auto frame = [&packets](int i) {
            return CameraBase::CompressedFrame{packets[size_t(i)].data, 1000000 + i * 33333,
                                               quint32(packets[size_t(i)].pts),
                                               packets[size_t(i)].keyframe};
        };
        const QString url = QStringLiteral("rtsp://127.0.0.1:%1/camera").arg(freeLoopbackPort());
        QProcess listener;
        const QString received = dir.filePath("camera.mkv");
        QVERIFY(receive(listener, {"-rtsp_flags", "listen", "-i", url}, received));
        // The stream connects at the first keyframe; the listener may not listen yet.
        Publisher publisher;
        for (int attempt = 0; attempt < 20 && publisher.state() != Publisher::State::Live;
             ++attempt) {
            QVERIFY(publisher.start({url, QSize(320, 240), 30.0, true, {}}));
            publisher.addCompressed(frame(0));
            QTRY_VERIFY(publisher.state() != Publisher::State::Connecting);
            if (publisher.state() == Publisher::State::Failed)
                QTest::qWait(250);
        }
        QCOMPARE(publisher.state(), Publisher::State::Live);
        qint64 given = 1;
        for (int i = 1; i < 95; ++i) {
            if (i == 40) // lost at the camera
                continue;
            publisher.addCompressed(frame(i));
            ++given;
            QTRY_COMPARE(publisher.framesSent() + publisher.framesDropped(), given);
        }
        QCOMPARE(publisher.framesDropped(), 19); // 41 to 59
        QCOMPARE(publisher.framesSent(), 75);
        publisher.stop();
        QVERIFY(listener.waitForFinished(30000));
        const ProbeResult probe = probeVideo(received);
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QCOMPARE(probe.codec, "h264");
        QCOMPARE(probe.frames, 75);
        QVERIFY(probe.allDecodable);
    }

    // The window's button: it asks for an address, tells a wrong one, and follows the stream.
    void windowButtonFollowsTheStream()
    {
        RtmpServer server(freeLoopbackPort());
        server.start();
        startSession();
        QPushButton button;
        QString url;
        PublishController controller(&button, session.get(), [&url] { return url; });
        QSignalSpy notices(&controller, &PublishController::notificationRequested);
        const std::pair<QString, QString> refused[] = {
            {QString(), "Set the address to publish to in the settings first"},
            {"http://127.0.0.1/x", "rtmp://, rtsp:// or srt://"}};
        for (const auto &[address, notice] : refused) {
            url = address;
            button.click();
            QVERIFY(!button.isChecked());
            QVERIFY2(notices.last().at(0).toString().contains(notice),
                     qPrintable(notices.last().at(0).toString()));
        }
        url = server.url();
        button.click();
        QTRY_COMPARE(button.text(), "Live");
        QVERIFY(button.isChecked());
        server.kill();
        QTRY_COMPARE(button.text(), "Reconnecting…");
        QVERIFY(button.isChecked());
        button.click();
        QCOMPARE(session->publisher()->state(), Publisher::State::Idle);
        QCOMPARE(button.text(), "Publish");
        QVERIFY(!button.isChecked());
        QCOMPARE(notices.count(), 2);
    }

    // The command line: a wrong address is a usage error, a server that is not there or never
    // answers a failure, each in one line; a live server gets the stream for the duration.
    void commandLineExitCodes_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QString refused =
            QStringLiteral("rtmp://127.0.0.1:%1/live/x").arg(freeLoopbackPort());
        QTest::newRow("unknown scheme")
            << "http://127.0.0.1/x" << 2 << "rtmp://, rtsp:// or srt://";
        QTest::newRow("no host") << "rtmp:live" << 2 << "Not a valid address";
        QTest::newRow("refused") << refused << 1 << "Connection refused";
        QTest::newRow("silent") << QStringLiteral("rtmp://127.0.0.1:%1/live/x").arg(silentPort) << 1
                                << "timed out";
        QTest::newRow("live") << QString() << 0 << "stream live";
    }
    void commandLineExitCodes()
    {
        QFETCH(QString, url);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        RtmpServer server(freeLoopbackPort());
        if (url.isEmpty()) {
            server.start();
            url = server.url();
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("OSTREL_SYNTHETIC_CAMERAS", "Desk=320x240@30:MJPG");
        environment.insert("XDG_CONFIG_HOME", dir.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess ostrel;
        ostrel.setProcessEnvironment(environment);
        ostrel.start(OSTREL_BINARY, {"--publish", url, "--duration", "5"});
        QVERIFY(ostrel.waitForFinished(30000));
        QCOMPARE(ostrel.exitCode(), exitCode);
        const QStringList lines =
            QString::fromLocal8Bit(ostrel.readAllStandardError()).trimmed().split('\n');
        QVERIFY2(lines.last().contains(message), qPrintable(lines.last()));
        if (exitCode != 0)
            QVERIFY(lines.last().startsWith("ostrel: "));
    }
};

QTEST_MAIN(TestPublisher)
#include "tst_publisher.moc"
