#include "camerabase.h"

#include <QSignalSpy>
#include <QTest>

namespace {

CameraBase::CameraFormat makeFormat(int width, int height, double fps, uint32_t fourcc,
                                    int index = 0)
{
    CameraBase::CameraFormat format;
    format.width = width;
    format.height = height;
    format.fps = fps;
    format.fourcc = fourcc;
    format.formatIndex = index;
    return format;
}

// Emits a format through a queued connection, as the camera does towards the window.
class FormatSender : public QObject
{
    Q_OBJECT
signals:
    void sent(CameraBase::CameraFormat format);
};

} // namespace

class TestCameraFormat : public QObject
{
    Q_OBJECT

private slots:
    void equality_data()
    {
        QTest::addColumn<CameraBase::CameraFormat>("other");
        QTest::addColumn<bool>("equal");
        QTest::newRow("index ignored") << makeFormat(1280, 720, 30.0, 1, 7) << true;
        QTest::newRow("width differs") << makeFormat(1281, 720, 30.0, 1) << false;
        QTest::newRow("code differs") << makeFormat(1280, 720, 30.0, 2) << false;
        QTest::newRow("fps 1e-9 apart") << makeFormat(1280, 720, 30.0 * (1 + 1e-9), 1) << false;
        QTest::newRow("fps within 1e-12") << makeFormat(1280, 720, 30.0 * (1 + 1e-13), 1) << true;
    }
    void equality()
    {
        QFETCH(CameraBase::CameraFormat, other);
        QFETCH(bool, equal);
        const CameraBase::CameraFormat base = makeFormat(1280, 720, 30.0, 1);
        QCOMPARE(base == other, equal);
        QCOMPARE(other != base, !equal);
        QVERIFY(makeFormat(640, 480, 0.0, 1) != makeFormat(640, 480, 1e-300, 1));
    }

    void travelsThroughQueuedConnection()
    {
        FormatSender sender;
        CameraBase::CameraFormat received;
        connect(
            &sender, &FormatSender::sent, this,
            [&received](CameraBase::CameraFormat format) { received = format; },
            Qt::QueuedConnection);
        CameraBase::CameraFormat sent = makeFormat(1920, 1080, 25.0, 3, 4);
        sent.description = QStringLiteral("1920x1080 @ 25.0 fps (MJPG)");
        emit sender.sent(sent);
        QTRY_COMPARE(received.formatIndex, 4);
        QVERIFY(received == sent);
        QCOMPARE(received.description, sent.description);
    }
};

QTEST_GUILESS_MAIN(TestCameraFormat)
#include "tst_cameraformat.moc"
