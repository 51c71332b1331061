#include "camerabase.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

namespace {

CameraBase::CameraFormat makeFormat(int width, int height, double fps, const char code[4],
                                    int index, const QString &description)
{
    CameraBase::CameraFormat format;
    format.width = width;
    format.height = height;
    format.fps = fps;
    format.fourcc = uint32_t(uint8_t(code[0])) | uint32_t(uint8_t(code[1])) << 8 |
                    uint32_t(uint8_t(code[2])) << 16 | uint32_t(uint8_t(code[3])) << 24;
    format.formatIndex = index;
    format.description = description;
    return format;
}

// Sends a format from its own thread, so a receiver on the test thread gets it queued.
class FormatSender : public QObject
{
    Q_OBJECT
signals:
    void sent(CameraBase::CameraFormat format);
};

class FormatReceiver : public QObject
{
    Q_OBJECT
public:
    CameraBase::CameraFormat received;
    Qt::HANDLE receivedOn = nullptr;
public slots:
    void receive(CameraBase::CameraFormat format)
    {
        received = format;
        receivedOn = QThread::currentThreadId();
    }
};

} // namespace

class TestCameraFormat : public QObject
{
    Q_OBJECT

private slots:
    void equality_data();
    void equality();
    void travelsThroughQueuedConnection();
};

void TestCameraFormat::equality_data()
{
    QTest::addColumn<CameraBase::CameraFormat>("a");
    QTest::addColumn<CameraBase::CameraFormat>("b");
    QTest::addColumn<bool>("equal");

    const auto base = makeFormat(1280, 720, 30.0, "MJPG", 1, "1280x720 @ 30.0 fps (MJPG)");
    QTest::newRow("index and description ignored")
        << base << makeFormat(1280, 720, 30.0, "MJPG", 7, "other") << true;
    QTest::newRow("width differs") << base << makeFormat(1281, 720, 30.0, "MJPG", 1, "") << false;
    QTest::newRow("code differs") << base << makeFormat(1280, 720, 30.0, "YUYV", 1, "") << false;
    QTest::newRow("fps 1e-9 apart")
        << base << makeFormat(1280, 720, 30.0 * (1 + 1e-9), "MJPG", 1, "") << false;
    QTest::newRow("fps within 1e-12")
        << base << makeFormat(1280, 720, 30.0 * (1 + 1e-13), "MJPG", 1, "") << true;
    QTest::newRow("zero rates") << makeFormat(640, 480, 0.0, "YUYV", 0, "")
                                << makeFormat(640, 480, 0.0, "YUYV", 3, "") << true;
}

void TestCameraFormat::equality()
{
    QFETCH(CameraBase::CameraFormat, a);
    QFETCH(CameraBase::CameraFormat, b);
    QFETCH(bool, equal);
    QCOMPARE(a == b, equal);
    QCOMPARE(b == a, equal);
}

void TestCameraFormat::travelsThroughQueuedConnection()
{
    FormatSender sender;
    FormatReceiver receiver;
    connect(&sender, &FormatSender::sent, &receiver, &FormatReceiver::receive,
            Qt::QueuedConnection);
    const auto sent = makeFormat(1920, 1080, 25.0, "MJPG", 4, "1920x1080 @ 25.0 fps (MJPG)");

    QThread thread;
    sender.moveToThread(&thread);
    thread.start();
    QMetaObject::invokeMethod(&sender, [&sender, sent] { emit sender.sent(sent); });
    QTRY_VERIFY(receiver.receivedOn != nullptr);
    thread.quit();
    thread.wait();

    QCOMPARE(receiver.receivedOn, QThread::currentThreadId());
    QVERIFY(receiver.received == sent);
    QCOMPARE(receiver.received.formatIndex, 4);
    QCOMPARE(receiver.received.description, sent.description);
}

QTEST_GUILESS_MAIN(TestCameraFormat)
#include "tst_cameraformat.moc"
