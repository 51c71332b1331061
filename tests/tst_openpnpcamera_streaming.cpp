// OpenPNPCamera against the synthetic cameras: streaming, format changes, the capture thread's
// callbacks and the connection watch.
#include "testsupport/syntheticcameratest.h"

#include <QMutex>
#include <QSignalSpy>
#include <QTimer>

#include <algorithm>
#include <thread>

namespace synthetic = ostrel::synthetic;
using ostrel::synthetic::mode;

namespace {

enum Device { Stream, NoFormats, Huge, Wide };

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
    std::vector<std::thread::id> threads; // of every call of any callback
    std::vector<QImage> tapped;           // frames the recording tap received

    int frameCount() const
    {
        QMutexLocker locker(&mutex);
        return int(frames.size());
    }
};

void attach(OpenPNPCamera &camera, CallbackLog &log)
{
    camera.setFrameCallback([&log](const QImage &frame) {
        QMutexLocker locker(&log.mutex);
        log.frames.push_back(frame);
        log.threads.push_back(std::this_thread::get_id());
    });
    camera.setRecordingTap([&log](const QImage &frame, const QByteArray &cameraJpeg) {
        QMutexLocker locker(&log.mutex);
        log.tapped.push_back(cameraJpeg.isEmpty() ? frame : QImage()); // RGB formats: no JPEG
        log.threads.push_back(std::this_thread::get_id());
    });
    camera.setFpsCallback([&log](double fps) {
        QMutexLocker locker(&log.mutex);
        log.rates.push_back(fps);
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
    int offset = 0;

private slots:
    void initTestCase()
    {
        offset = syntheticcameratest::firstSyntheticIndex(testDevices());
        QVERIFY(offset >= 0);
    }
    void init() { syntheticcameratest::startTest(testDevices()); }
    void cleanupTestCase() { synthetic::resetDevices(); }

    void startFailures_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<CameraBase::Failure>("failure");

        using F = CameraBase::Failure;
        const QString notOpened = QStringLiteral("Failed to open camera stream");
        QTest::newRow("no formats") << int(NoFormats) << "No formats available" << F::Other;
        QTest::newRow("frame beyond 32 bits") << int(Huge) << notOpened << F::ModeTooLarge;
        QTest::newRow("line beyond an image") << int(Wide) << notOpened << F::ModeTooLarge;
        QTest::newRow("unplugged") << int(Stream) << notOpened << F::Unplugged;
    }

    void startFailures()
    {
        QFETCH(int, device);
        QFETCH(QString, warning);
        QFETCH(CameraBase::Failure, failure);

        OpenPNPCamera camera;
        QVERIFY(camera.openCamera(cameraIndex(Device(device))));
        if (failure == CameraBase::Failure::Unplugged) {
            synthetic::setPlugged(device, false);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("is unplugged$"));
        }
        QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
        QVERIFY(!camera.startCapture());
        QCOMPARE(camera.lastFailure(), failure);
        QVERIFY(!camera.isCapturing());
        QVERIFY(!watchTimer(camera)->isActive());
        QTest::qWait(50);
        QVERIFY(camera.latestFrame().isNull());
    }

    // The picture of a run is never handed out as the newest of the next one.
    void newRunForgetsThePreviousPicture()
    {
        OpenPNPCamera camera;
        QVERIFY(camera.openCamera(cameraIndex(Stream)));
        QVERIFY(camera.startCapture());
        QTRY_VERIFY(!camera.latestFrame().isNull());
        camera.stopCapture();
        const QImage last = camera.latestFrame();
        QVERIFY(camera.startCapture());
        QVERIFY(camera.latestFrame() != last);
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
        QTRY_VERIFY_WITH_TIMEOUT(log.frameCount() > 40, 3000);
        // Once the tap is removed it is called no more, while capture goes on.
        camera.setRecordingTap({});
        const size_t tapped = log.tapped.size();
        QTRY_VERIFY(log.frameCount() > int(tapped) + 3);
        camera.stopCapture();

        // The last frame outlives the stream, a rescan and the choice of another device.
        const QImage last = camera.latestFrame();
        QCOMPARE(last.size(), QSize(160, 120));
        QTest::qWait(100);
        camera.availableCameras();
        QVERIFY(camera.openCamera(cameraIndex(NoFormats)));
        QCOMPARE(camera.latestFrame(), last);

        QMutexLocker locker(&log.mutex);
        QCOMPARE(log.frames.back(), last);
        QCOMPARE(log.rates.size(), log.frames.size());
        QCOMPARE(log.tapped.size(), tapped);
        QVERIFY(std::equal(log.tapped.begin(), log.tapped.end(), log.frames.begin()));
        QVERIFY(log.threads.front() != std::this_thread::get_id());
        QCOMPARE(std::count(log.threads.begin(), log.threads.end(), log.threads.front()),
                 qsizetype(log.threads.size()));
        // The rate is 0.0 until the first frame at or after 1000 ms closes the first window, so
        // at about 30 fps some 30 frames come first.
        const auto first = std::find_if(log.rates.begin(), log.rates.end(),
                                        [](double rate) { return rate != 0.0; });
        QVERIFY(first != log.rates.end());
        QCOMPARE_GE(first - log.rates.begin(), 20);
        QVERIFY2(*first > 22.0 && *first < 38.0, qPrintable(QString::number(*first)));
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
        QVERIFY(camera.openCamera(cameraIndex(Stream)));
        const CameraBase::CameraFormat small = camera.supportedFormats().at(1);
        if (capturing) {
            QVERIFY(camera.startCapture());
            QTRY_VERIFY(log.frameCount() > 0);
        }
        if (restartRefused) {
            synthetic::failNextOpenStream(CAPERROR_BUSY);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("opening the stream failed"));
            QTest::ignoreMessage(QtWarningMsg, "Failed to open camera stream with new format");
        }

        QCOMPARE(camera.setFormat(small), !restartRefused);
        QCOMPARE(camera.lastFailure(),
                 restartRefused ? CameraBase::Failure::Busy : CameraBase::Failure::None);
        const int switchedAt = log.frameCount();
        const bool restarted = capturing && !restartRefused;
        QCOMPARE(camera.isCapturing(), restarted);
        QCOMPARE(camera.currentFormat().formatIndex, small.formatIndex);
        QCOMPARE(changes.count(), restarted ? 1 : 0);
        if (restarted)
            QCOMPARE(changes.at(0).at(0).value<CameraBase::CameraFormat>().formatIndex,
                     small.formatIndex);
        // After a failed restart the watch keeps ticking but has no stream to ask.
        QCOMPARE(watchTimer(camera)->isActive(), capturing);
        if (restartRefused) {
            QSignalSpy losses(&camera, &CameraBase::cameraDisconnected);
            synthetic::setPlugged(Stream, false);
            camera.checkCameraConnection();
            QCOMPARE(losses.count(), 0);
            synthetic::setPlugged(Stream, true);
        }

        if (!restarted)
            QVERIFY(camera.startCapture());
        QTRY_VERIFY(log.frameCount() > switchedAt + 2);
        camera.stopCapture();
        QMutexLocker locker(&log.mutex);
        for (size_t i = switchedAt; i < log.frames.size(); ++i)
            QCOMPARE(log.frames[i].size(), QSize(96, 64));
        QCOMPARE(changes.count(), restarted ? 1 : 0);
    }

    void unplugWhileCapturingIsReportedOnce_data()
    {
        QTest::addColumn<bool>("withBrightness");
        QTest::newRow("with brightness") << true;
        QTest::newRow("without brightness") << false;
    }

    // Only the device's going counts: a missing control is no loss.
    void unplugWhileCapturingIsReportedOnce()
    {
        QFETCH(bool, withBrightness);
        if (!withBrightness)
            synthetic::removeProperty(Stream, CAPPROPID_BRIGHTNESS);
        OpenPNPCamera camera;
        QVERIFY(camera.openCamera(cameraIndex(Stream)));
        QVERIFY(camera.startCapture());
        QTRY_VERIFY(!camera.latestFrame().isNull());
        QSignalSpy losses(&camera, &CameraBase::cameraDisconnected);
        camera.checkCameraConnection();
        QCOMPARE(losses.count(), 0);

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
