// OpenPNPCamera against the synthetic cameras: streaming, format changes, the capture thread's
// callbacks and the connection watch.
#include "openpnpcamera.h"
#include "syntheticcontrol.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <optional>
#include <thread>
#include <vector>

namespace synthetic = ostrel::synthetic;

namespace {

synthetic::FormatSpec mode(uint32_t width, uint32_t height, uint32_t fps, const char *code)
{
    return {width, height, fps, synthetic::fourcc(code)};
}

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

// The synthetic frames carry their sequence number in the top rows: 32 cells, most significant
// bit on the left, white for 1.
std::optional<uint32_t> frameSequence(const QImage &frame)
{
    const int strip = frame.height() / 16;
    if (frame.format() != QImage::Format_RGB888 || strip < 1 || frame.width() < 64)
        return std::nullopt;
    const uchar *row = frame.constScanLine(strip / 2);
    uint32_t sequence = 0;
    for (int cell = 0; cell < 32; ++cell) {
        const int x = int((qint64(frame.width()) * (2 * cell + 1)) / 64);
        const uchar value = row[3 * x];
        if (value != 0 && value != 255)
            return std::nullopt;
        sequence = (sequence << 1) | (value == 255 ? 1u : 0u);
    }
    return sequence;
}

// What the callbacks saw; filled on the capture thread, read on the test's thread.
struct CallbackLog
{
    mutable QMutex mutex; // guards everything below
    std::vector<QImage> frames;
    std::vector<double> rates;
    std::vector<qint64> rateTimes; // ms since clock started
    std::vector<std::thread::id> frameThreads;
    std::vector<std::thread::id> rateThreads;
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
};

void attach(OpenPNPCamera &camera, CallbackLog &log)
{
    log.clock.start();
    camera.setFrameCallback([&camera, &log](const QImage &frame) {
        // The frame is already the latest one and the frame lock is free again.
        const bool likeLatest = camera.latestFrame() == frame;
        QMutexLocker locker(&log.mutex);
        log.frames.push_back(frame);
        log.frameThreads.push_back(std::this_thread::get_id());
        if (!likeLatest)
            ++log.framesUnlikeLatest;
    });
    camera.setFpsCallback([&log](double fps) {
        QMutexLocker locker(&log.mutex);
        log.rates.push_back(fps);
        log.rateTimes.push_back(log.clock.elapsed());
        log.rateThreads.push_back(std::this_thread::get_id());
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

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void startFailures_data();
    void startFailures();
    void secondStartChangesNothing();
    void latestFrameOutlivesTheStream();
    void callbacksGetEveryFrameOnTheCaptureThread();
    void rateIsZeroUntilTheFirstWindowCloses();
    void setFormatWhileIdleWaitsForStart();
    void setFormatWhileCapturingRestartsOnce();
    void failedRestartLeavesCaptureStopped();

    void unplugWhileCapturingIsReportedOnce();

private:
    int cameraIndex(Device device) const { return offset + device; }

    int offset = 0; // V4L2 devices listed before the synthetic ones
};

void TestOpenPNPCameraStreaming::initTestCase()
{
    synthetic::setDevices(testDevices());
    OpenPNPCamera camera;
    offset = int(camera.availableCameras().size()) - DeviceCount;
    QVERIFY(offset >= 0);
}

void TestOpenPNPCameraStreaming::init()
{
    synthetic::setDevices(testDevices());
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

void TestOpenPNPCameraStreaming::cleanupTestCase()
{
    synthetic::resetDevices();
}

void TestOpenPNPCameraStreaming::startFailures_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<bool>("openRefused");
    QTest::addColumn<QString>("warning");

    QTest::newRow("no formats") << int(NoFormats) << false << "No formats available";
    QTest::newRow("open refused") << int(Stream) << true << "Failed to open camera stream";
    QTest::newRow("frame beyond 32 bits") << int(Huge) << false << "Failed to open camera stream";
    QTest::newRow("line beyond an image") << int(Wide) << false << "Failed to open camera stream";
}

void TestOpenPNPCameraStreaming::startFailures()
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

void TestOpenPNPCameraStreaming::secondStartChangesNothing()
{
    CallbackLog log;
    OpenPNPCamera camera;
    attach(camera, log);
    QVERIFY(camera.openCamera(cameraIndex(Stream)));
    QVERIFY(camera.startCapture());
    QTRY_VERIFY(log.frameCount() > 0);

    QVERIFY(!camera.startCapture());
    QVERIFY(camera.isCapturing());
    const int before = log.frameCount();
    QTRY_VERIFY(log.frameCount() > before + 2);
    QCOMPARE(log.frame(log.frameCount() - 1).size(), QSize(160, 120));
}

void TestOpenPNPCameraStreaming::latestFrameOutlivesTheStream()
{
    // No callbacks: the latest frame is kept all the same.
    OpenPNPCamera camera;
    QVERIFY(camera.latestFrame().isNull());
    QVERIFY(camera.openCamera(cameraIndex(Stream)));
    QVERIFY(camera.latestFrame().isNull());
    QVERIFY(camera.startCapture());

    // Another thread asks for frames while they are being captured.
    std::atomic<bool> reading{true};
    std::atomic<int> framesRead{0};
    std::thread reader([&] {
        while (reading.load()) {
            if (!camera.latestFrame().isNull())
                ++framesRead;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    QTRY_VERIFY(framesRead.load() > 5);
    reading = false;
    reader.join();

    camera.stopCapture();
    const QImage last = camera.latestFrame();
    QVERIFY(!last.isNull());
    QCOMPARE(last.size(), QSize(160, 120));
    QCOMPARE(last.format(), QImage::Format_RGB888);
    QTest::qWait(100);
    QCOMPARE(camera.latestFrame(), last);

    // Neither a rescan nor another device drops it.
    camera.availableCameras();
    QVERIFY(camera.openCamera(cameraIndex(NoFormats)));
    QCOMPARE(camera.latestFrame(), last);
}

void TestOpenPNPCameraStreaming::callbacksGetEveryFrameOnTheCaptureThread()
{
    CallbackLog log;
    OpenPNPCamera camera;
    attach(camera, log);
    QVERIFY(camera.openCamera(cameraIndex(Stream)));
    QVERIFY(camera.startCapture());
    QTRY_VERIFY(log.frameCount() >= 6);
    camera.stopCapture();

    QMutexLocker locker(&log.mutex);
    QCOMPARE(log.rates.size(), log.frames.size());
    QCOMPARE(log.framesUnlikeLatest, 0);
    QCOMPARE(camera.latestFrame(), log.frames.back());
    const std::thread::id gui = std::this_thread::get_id();
    std::optional<uint32_t> previous;
    for (size_t i = 0; i < log.frames.size(); ++i) {
        QVERIFY(log.frameThreads[i] != gui);
        QVERIFY(log.frameThreads[i] == log.frameThreads.front());
        QVERIFY(log.rateThreads[i] == log.frameThreads.front());
        // Frames kept by the receiver still show their own picture after later captures.
        const std::optional<uint32_t> sequence = frameSequence(log.frames[i]);
        QVERIFY2(sequence, qPrintable(QStringLiteral("frame %1 unreadable").arg(i)));
        QVERIFY2(!previous || *sequence > *previous, qPrintable(QStringLiteral("frame %1").arg(i)));
        previous = sequence;
    }
}

void TestOpenPNPCameraStreaming::rateIsZeroUntilTheFirstWindowCloses()
{
    CallbackLog log;
    OpenPNPCamera camera;
    attach(camera, log);
    QVERIFY(camera.openCamera(cameraIndex(Stream)));
    QVERIFY(camera.startCapture());

    auto measured = [&log] {
        QMutexLocker locker(&log.mutex);
        return !log.rates.empty() && log.rates.back() > 0.0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(measured(), 3000);
    camera.stopCapture();

    QMutexLocker locker(&log.mutex);
    size_t first = 0;
    while (log.rates[first] == 0.0)
        ++first;
    QVERIFY(first > 0);
    // The window closes with the first frame at or after 1000 ms.
    QVERIFY2(log.rateTimes[first] >= 1000, qPrintable(QString::number(log.rateTimes[first])));
    QVERIFY2(log.rates[first] > 22.0 && log.rates[first] < 38.0,
             qPrintable(QString::number(log.rates[first])));
    // The value holds until the next window, at least 1000 ms later.
    for (size_t i = first; i < log.rates.size() && log.rateTimes[i] < log.rateTimes[first] + 1000;
         ++i)
        QCOMPARE(log.rates[i], log.rates[first]);
}

void TestOpenPNPCameraStreaming::setFormatWhileIdleWaitsForStart()
{
    OpenPNPCamera camera;
    QSignalSpy changes(&camera, &CameraBase::formatChanged);
    QVERIFY(camera.openCamera(cameraIndex(Stream)));
    const CameraBase::CameraFormat small = camera.supportedFormats().at(1);

    QVERIFY(camera.setFormat(small));
    QVERIFY(!camera.isCapturing());
    QTest::qWait(50);
    QVERIFY(camera.latestFrame().isNull());

    QVERIFY(camera.startCapture());
    QTRY_VERIFY(!camera.latestFrame().isNull());
    QCOMPARE(camera.latestFrame().size(), QSize(96, 64));
    QCOMPARE(camera.currentFormat().formatIndex, 1);
    QCOMPARE(changes.count(), 0);
}

void TestOpenPNPCameraStreaming::setFormatWhileCapturingRestartsOnce()
{
    CallbackLog log;
    OpenPNPCamera camera;
    attach(camera, log);
    QSignalSpy changes(&camera, &CameraBase::formatChanged);
    QVERIFY(camera.openCamera(cameraIndex(Stream)));
    const CameraBase::CameraFormat small = camera.supportedFormats().at(1);
    QVERIFY(camera.startCapture());
    QTRY_VERIFY(log.frameCount() > 0);

    QVERIFY(camera.setFormat(small));
    const int restartedAt = log.frameCount();
    QVERIFY(camera.isCapturing());
    QVERIFY(watchTimer(camera)->isActive());
    QCOMPARE(changes.count(), 1);
    const auto announced = changes.at(0).at(0).value<CameraBase::CameraFormat>();
    QCOMPARE(announced, small);
    QCOMPARE(announced.formatIndex, small.formatIndex);
    QCOMPARE(announced.description, small.description);

    QTRY_VERIFY(log.frameCount() > restartedAt + 2);
    camera.stopCapture();
    for (int i = restartedAt; i < log.frameCount(); ++i)
        QCOMPARE(log.frame(i).size(), QSize(96, 64));
    QCOMPARE(changes.count(), 1);
}

void TestOpenPNPCameraStreaming::failedRestartLeavesCaptureStopped()
{
    CallbackLog log;
    OpenPNPCamera camera;
    attach(camera, log);
    QSignalSpy changes(&camera, &CameraBase::formatChanged);
    QSignalSpy losses(&camera, &CameraBase::cameraDisconnected);
    QVERIFY(camera.openCamera(cameraIndex(Stream)));
    const CameraBase::CameraFormat small = camera.supportedFormats().at(1);
    QVERIFY(camera.startCapture());
    QTRY_VERIFY(log.frameCount() > 0);

    synthetic::failNextOpenStream();
    QTest::ignoreMessage(QtWarningMsg, "Failed to open camera stream with new format");
    QVERIFY(!camera.setFormat(small));
    QVERIFY(!camera.isCapturing());
    QCOMPARE(changes.count(), 0);
    QCOMPARE(camera.currentFormat().formatIndex, small.formatIndex);
    const int stoppedAt = log.frameCount();
    QTest::qWait(100);
    QCOMPARE(log.frameCount(), stoppedAt);

    // The watch keeps ticking but has no stream to ask.
    QVERIFY(watchTimer(camera)->isActive());
    synthetic::setPlugged(Stream, false);
    camera.checkCameraConnection();
    QCOMPARE(losses.count(), 0);
    synthetic::setPlugged(Stream, true);

    // A fresh start works again, with the chosen format.
    QVERIFY(camera.startCapture());
    QTRY_VERIFY(log.frameCount() > stoppedAt);
    QCOMPARE(log.frame(log.frameCount() - 1).size(), QSize(96, 64));
    camera.stopCapture();
    QVERIFY(!watchTimer(camera)->isActive());
}

void TestOpenPNPCameraStreaming::unplugWhileCapturingIsReportedOnce()
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

QTEST_GUILESS_MAIN(TestOpenPNPCameraStreaming)
#include "tst_openpnpcamera_streaming.moc"
