// OpenPNPCamera against the synthetic cameras: streaming, format changes, the capture thread's
// callbacks and the connection watch.
#include "openpnpcamera.h"
#include "syntheticcontrol.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <thread>
#include <vector>

namespace synthetic = ostrel::synthetic;
using ostrel::synthetic::mode;

namespace {

// Synthetic device indices; the camera sees them after any V4L2 devices of the machine.
enum Device { Stream, NoFormats, Huge, Wide, DeviceCount };

std::vector<synthetic::DeviceSpec> testDevices()
{
    return {
        {"Stream Cam", {mode(160, 120, 30, "RGB3"), mode(96, 64, 30, "RGB3")}},
        {"No Formats", {}},
        // 40000 x 40000 x 3 bytes does not fit in 32 bits.
        {"Huge Cam", {mode(40000, 40000, 1, "MJPG")}},
        // One row of 800 million pixels is wider than an image line can be.
        {"Wide Cam", {mode(800000000, 1, 1, "MJPG")}},
    };
}

// What the callbacks saw; filled on the capture thread, read on the test's thread.
struct CallbackLog
{
    mutable QMutex mutex; // guards everything below
    std::vector<QImage> frames;
    std::vector<double> rates;
    std::vector<qint64> rateTimes;        // ms since clock started
    std::vector<std::thread::id> threads; // of every call of either callback
    int framesUnlikeLatest = 0;
    QElapsedTimer clock;

    int frameCount() const
    {
        QMutexLocker locker(&mutex);
        return int(frames.size());
    }
    QImage frame(int index) const
    {
        QMutexLocker locker(&mutex);
        return frames.at(size_t(index));
    }
    bool rateMeasured() const
    {
        QMutexLocker locker(&mutex);
        return !rates.empty() && rates.back() > 0.0;
    }
};

void attach(OpenPNPCamera &camera, CallbackLog &log)
{
    log.clock.start();
    camera.setFrameCallback([&camera, &log](const QImage &frame) {
        // The frame is already the latest one and the frame lock is free again.
        const bool likeLatest = camera.latestFrame() == frame;
        QMutexLocker locker(&log.mutex);
        log.frames.push_back(frame);
        log.threads.push_back(std::this_thread::get_id());
        if (!likeLatest)
            ++log.framesUnlikeLatest;
    });
    camera.setFpsCallback([&log](double fps) {
        QMutexLocker locker(&log.mutex);
        log.rates.push_back(fps);
        log.rateTimes.push_back(log.clock.elapsed());
        log.threads.push_back(std::this_thread::get_id());
    });
}

QTimer *watchTimer(OpenPNPCamera &camera)
{
    return camera.findChild<QTimer *>();
}

} // namespace

class TestOpenPNPCameraStreaming : public QObject
{
    Q_OBJECT

    int cameraIndex(Device device) const { return offset + device; }
    int offset = 0; // V4L2 devices listed before the synthetic ones

private slots:
    void initTestCase()
    {
        synthetic::setDevices(testDevices());
        OpenPNPCamera camera;
        offset = int(camera.availableCameras().size()) - DeviceCount;
        QVERIFY(offset >= 0);
    }

    void init()
    {
        synthetic::setDevices(testDevices());
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    }

    void cleanupTestCase() { synthetic::resetDevices(); }

    void startFailures_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<bool>("openRefused");
        QTest::addColumn<QString>("warning");

        QTest::newRow("no formats") << int(NoFormats) << false << "No formats available";
        QTest::newRow("open refused") << int(Stream) << true << "Failed to open camera stream";
        QTest::newRow("frame beyond 32 bits")
            << int(Huge) << false << "Failed to open camera stream";
        QTest::newRow("line beyond an image")
            << int(Wide) << false << "Failed to open camera stream";
    }

    void startFailures()
    {
        QFETCH(int, device);
        QFETCH(bool, openRefused);
        QFETCH(QString, warning);

        OpenPNPCamera camera;
        QVERIFY(camera.openCamera(cameraIndex(Device(device))));
        if (openRefused)
            synthetic::failNextOpenStream();
        QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
        QVERIFY(!camera.startCapture());

        QVERIFY(!camera.isCapturing());
        QVERIFY(!watchTimer(camera)->isActive());
        QTest::qWait(50);
        QVERIFY(camera.latestFrame().isNull());
    }

    void streamDeliversEveryFrameOnTheCaptureThread()
    {
        CallbackLog log;
        OpenPNPCamera camera;
        attach(camera, log);
        QVERIFY(camera.openCamera(cameraIndex(Stream)));
        QVERIFY(camera.latestFrame().isNull());
        QVERIFY(camera.startCapture());
        QTRY_VERIFY(!camera.latestFrame().isNull());
        // A second start neither disturbs the running capture nor adds another one.
        QVERIFY(!camera.startCapture());
        QVERIFY(camera.isCapturing());
        QTRY_VERIFY_WITH_TIMEOUT(log.rateMeasured(), 3000);
        camera.stopCapture();

        // The last frame outlives the stream, a rescan and the choice of another device.
        const QImage last = camera.latestFrame();
        QCOMPARE(last.size(), QSize(160, 120));
        QCOMPARE(last.format(), QImage::Format_RGB888);
        QTest::qWait(100);
        camera.availableCameras();
        QVERIFY(camera.openCamera(cameraIndex(NoFormats)));
        QCOMPARE(camera.latestFrame(), last);

        QMutexLocker locker(&log.mutex);
        QCOMPARE(log.frames.back(), last);
        QCOMPARE(log.rates.size(), log.frames.size());
        QCOMPARE(log.framesUnlikeLatest, 0);
        QVERIFY(log.threads.front() != std::this_thread::get_id());
        QCOMPARE(std::count(log.threads.begin(), log.threads.end(), log.threads.front()),
                 qsizetype(log.threads.size()));
        // Every synthetic frame shows its own sequence number, so frames kept by the receiver
        // differ from one another unless later captures overwrote them.
        for (size_t i = 1; i < log.frames.size(); ++i)
            QVERIFY2(log.frames[i] != log.frames[i - 1], qPrintable(QString::number(i)));

        // The rate is 0.0 until the first frame at or after 1000 ms closes the first window; the
        // value then holds until the next window, at least 1000 ms later.
        size_t first = 0;
        while (log.rates[first] == 0.0)
            ++first;
        QVERIFY(first > 0);
        QVERIFY2(log.rateTimes[first] >= 1000, qPrintable(QString::number(log.rateTimes[first])));
        QVERIFY2(log.rates[first] > 22.0 && log.rates[first] < 38.0,
                 qPrintable(QString::number(log.rates[first])));
        for (size_t i = first;
             i < log.rates.size() && log.rateTimes[i] < log.rateTimes[first] + 1000; ++i)
            QCOMPARE(log.rates[i], log.rates[first]);
    }

    void setFormat_data()
    {
        QTest::addColumn<bool>("capturing");
        QTest::addColumn<bool>("restartRefused");
        QTest::newRow("idle") << false << false;
        QTest::newRow("capturing") << true << false;
        QTest::newRow("restart refused") << true << true;
    }

    // While capturing, the stream restarts with the new format at once and says so once; while
    // idle, or when the restart fails, the format waits for the next start.
    void setFormat()
    {
        QFETCH(bool, capturing);
        QFETCH(bool, restartRefused);
        CallbackLog log;
        OpenPNPCamera camera;
        attach(camera, log);
        QSignalSpy changes(&camera, &CameraBase::formatChanged);
        QSignalSpy losses(&camera, &CameraBase::cameraDisconnected);
        QVERIFY(camera.openCamera(cameraIndex(Stream)));
        const CameraBase::CameraFormat small = camera.supportedFormats().at(1);
        if (capturing) {
            QVERIFY(camera.startCapture());
            QTRY_VERIFY(log.frameCount() > 0);
        }
        if (restartRefused) {
            synthetic::failNextOpenStream();
            QTest::ignoreMessage(QtWarningMsg, "Failed to open camera stream with new format");
        }

        QCOMPARE(camera.setFormat(small), !restartRefused);
        const int switchedAt = log.frameCount();
        const bool restarted = capturing && !restartRefused;
        QCOMPARE(camera.isCapturing(), restarted);
        QCOMPARE(camera.currentFormat().formatIndex, small.formatIndex);
        QCOMPARE(changes.count(), restarted ? 1 : 0);
        if (restarted) {
            const auto announced = changes.at(0).at(0).value<CameraBase::CameraFormat>();
            QCOMPARE(announced, small);
            QCOMPARE(announced.formatIndex, small.formatIndex);
            QCOMPARE(announced.description, small.description);
        }
        // After a failed restart the watch keeps ticking but has no stream to ask.
        QCOMPARE(watchTimer(camera)->isActive(), capturing);
        if (restartRefused) {
            QTest::qWait(100);
            QCOMPARE(log.frameCount(), switchedAt);
            synthetic::setPlugged(Stream, false);
            camera.checkCameraConnection();
            QCOMPARE(losses.count(), 0);
            synthetic::setPlugged(Stream, true);
        }

        if (!restarted)
            QVERIFY(camera.startCapture());
        QTRY_VERIFY(log.frameCount() > switchedAt + 2);
        camera.stopCapture();
        QVERIFY(!watchTimer(camera)->isActive());
        for (int i = switchedAt; i < log.frameCount(); ++i)
            QCOMPARE(log.frame(i).size(), QSize(96, 64));
        QCOMPARE(changes.count(), restarted ? 1 : 0);
    }

    void unplugWhileCapturingIsReportedOnce()
    {
        OpenPNPCamera camera;
        QVERIFY(camera.openCamera(cameraIndex(Stream)));
        QVERIFY(camera.startCapture());
        QTRY_VERIFY(!camera.latestFrame().isNull());

        QStringList reasons;
        bool capturingWhenReported = false;
        connect(&camera, &CameraBase::cameraDisconnected, this, [&](const QString &reason) {
            reasons.append(reason);
            capturingWhenReported = camera.isCapturing();
        });

        synthetic::setPlugged(Stream, false);
        QTRY_COMPARE_WITH_TIMEOUT(reasons.size(), qsizetype(1), 4000);
        QCOMPARE(reasons.front(), QStringLiteral("Failed to access camera properties"));
        QVERIFY(capturingWhenReported);
        QVERIFY(!camera.isCapturing());
        QVERIFY(!watchTimer(camera)->isActive());

        // A late check finds nothing to watch.
        camera.checkCameraConnection();
        QCOMPARE(reasons.size(), qsizetype(1));
    }
};

QTEST_GUILESS_MAIN(TestOpenPNPCameraStreaming)
#include "tst_openpnpcamera_streaming.moc"
