// The capture library's C interface with the synthetic cameras behind it: its safety rules, the
// cameras' definition, pacing, sequence strip, Motion-JPEG frames and picture properties.
#include "capture.h"
#include "synthetic/syntheticcontrol.h"
#include "synthetic/testpattern.h"

#include <QImage>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

using ostrel::capture::TestPattern;
namespace synthetic = ostrel::synthetic;

namespace {

struct ContextDeleter
{
    void operator()(void *ctx) const { Cap_releaseContext(ctx); }
};
using ContextPtr = std::unique_ptr<void, ContextDeleter>;

// The library may log from any thread that calls it.
std::mutex logMutex; // guards logLines
QStringList logLines;

void collectLog(uint32_t, const char *message)
{
    std::lock_guard lock(logMutex);
    logLines.append(QString::fromUtf8(message));
}

QStringList takeLog()
{
    std::lock_guard lock(logMutex);
    return std::exchange(logLines, {});
}

// Synthetic devices follow all others; their unique ids tell them apart.
QList<uint32_t> syntheticDevices(CapContext ctx)
{
    QList<uint32_t> result;
    for (uint32_t i = 0; i < Cap_getDeviceCount(ctx); ++i) {
        if (QByteArray(Cap_getDeviceUniqueID(ctx, i)).startsWith("synthetic:"))
            result << i;
    }
    return result;
}

const uint32_t mjpg = synthetic::fourcc("MJPG");
const synthetic::DeviceSpec vga{"VGA",
                                {{640, 480, 30, mjpg}, {160, 120, 30, mjpg}, {64, 48, 60, mjpg}}};

// Every call on the stream id fails and leaves the caller's outputs alone. A helper: callers
// check QTest::currentTestFailed().
void expectStreamCallsFail(CapContext ctx, CapStream id)
{
    QByteArray buffer(64 * 48 * 3, '\x5a');
    int32_t a = 11, b = 12, c = 13;
    uint32_t enabled = 14, jpegBytes = 15;
    QCOMPARE(Cap_isOpenStream(ctx, id), 0u);
    QCOMPARE(Cap_hasNewFrame(ctx, id), 0u);
    QCOMPARE(Cap_getStreamFrameCount(ctx, id), 0u);
    CapFrameInfo info{7, 7, 7, 7, 7};
    QVERIFY(Cap_waitForFrame(ctx, id, 0) != CAPRESULT_OK);
    QVERIFY(Cap_interruptWait(ctx, id) != CAPRESULT_OK);
    QVERIFY(Cap_getFrameInfo(ctx, id, &info) != CAPRESULT_OK);
    QCOMPARE(info.sequence + info.timestampUs + info.framesLost + info.framesDamaged, 28u);
    QVERIFY(Cap_captureFrame(ctx, id, buffer.data(), uint32_t(buffer.size())) != CAPRESULT_OK);
    QVERIFY(Cap_getCompressedFrame(ctx, id, buffer.data(), uint32_t(buffer.size()), &jpegBytes) !=
            CAPRESULT_OK);
    QVERIFY(Cap_captureCompressedFrame(ctx, id, buffer.data(), uint32_t(buffer.size()),
                                       &jpegBytes) != CAPRESULT_OK);
    QVERIFY(Cap_decodeFrame(ctx, id, buffer.constData(), 100, buffer.data(),
                            uint32_t(buffer.size())) != CAPRESULT_OK);
    QVERIFY(Cap_getPropertyLimits(ctx, id, CAPPROPID_BRIGHTNESS, &a, &b, &c) != CAPRESULT_OK);
    QVERIFY(Cap_getProperty(ctx, id, CAPPROPID_BRIGHTNESS, &a) != CAPRESULT_OK);
    QVERIFY(Cap_setProperty(ctx, id, CAPPROPID_BRIGHTNESS, 0) != CAPRESULT_OK);
    QVERIFY(Cap_getAutoProperty(ctx, id, CAPPROPID_EXPOSURE, &enabled) != CAPRESULT_OK);
    QVERIFY(Cap_setAutoProperty(ctx, id, CAPPROPID_BRIGHTNESS, 0) != CAPRESULT_OK);
    CapControlEvent event{};
    QVERIFY(Cap_waitControlEvent(ctx, id, 0, &event) != CAPRESULT_OK);
    QVERIFY(Cap_interruptControlWait(ctx, id) != CAPRESULT_OK);
    QVERIFY(Cap_closeStream(ctx, id) != CAPRESULT_OK);
    QCOMPARE(QList<int>({a, b, c, int(enabled), int(jpegBytes)}), QList<int>({11, 12, 13, 14, 15}));
    QCOMPARE(buffer, QByteArray(64 * 48 * 3, '\x5a'));
}

// "Name=WxH@FPS:CODE/BPP,...;Name=..." as the Cap_* calls of a fresh context report it.
QString describeDevices()
{
    ContextPtr ctx(Cap_createContext());
    QStringList devices;
    for (uint32_t device : syntheticDevices(ctx.get())) {
        QStringList formats;
        for (int32_t f = 0; f < Cap_getNumFormats(ctx.get(), device); ++f) {
            CapFormatInfo i{}; // stays all zero, and so reads "0x0@0:/0", when refused
            Cap_getFormatInfo(ctx.get(), device, uint32_t(f), &i);
            const char code[5] = {char(i.fourcc), char(i.fourcc >> 8), char(i.fourcc >> 16),
                                  char(i.fourcc >> 24), 0};
            formats << QString::asprintf("%ux%u@%u:%s/%u", i.width, i.height, i.fps, code, i.bpp);
            uint32_t num = 0, den = 0; // the exact rate, where it is not the whole one
            if (Cap_getFormatFrameRate(ctx.get(), device, uint32_t(f), &num, &den) == 0 &&
                num != i.fps * den)
                formats.last() += QString::asprintf("=%u/%u", num, den);
        }
        devices << QString::fromUtf8(Cap_getDeviceName(ctx.get(), device)) + "=" +
                       formats.join(',');
    }
    return devices.join(';');
}

CapStream openFirst(CapContext ctx)
{
    return Cap_openStream(ctx, syntheticDevices(ctx).value(0, UINT32_MAX), 0);
}

// A 640x480 frame, empty when the capture fails.
QByteArray grab(CapContext ctx, CapStream stream)
{
    QByteArray frame(640 * 480 * 3, '\0');
    return Cap_captureFrame(ctx, stream, frame.data(), uint32_t(frame.size())) == CAPRESULT_OK
               ? frame
               : QByteArray();
}

uint8_t *bytes(QByteArray &frame)
{
    return reinterpret_cast<uint8_t *>(frame.data());
}

std::optional<uint32_t> sequenceOf(const QByteArray &frame)
{
    return TestPattern::readSequence(reinterpret_cast<const uint8_t *>(frame.constData()), 640, 480,
                                     640 * 3);
}

// Mean and spread of all bytes of a 640x480 frame below the sequence strip.
std::pair<double, double> statistics(const QByteArray &frame)
{
    const int first = 640 * 3 * (480 / 16);
    double sum = 0, squares = 0;
    for (int i = first; i < frame.size(); ++i) {
        const double v = static_cast<uint8_t>(frame[i]);
        sum += v;
        squares += v * v;
    }
    const double n = frame.size() - first, mean = sum / n;
    return {mean, std::sqrt(std::max(0.0, squares / n - mean * mean))};
}

// The camera's JPEG of the stream's next frame; empty when none is taken.
QByteArray takeJpeg(CapContext ctx, CapStream stream)
{
    for (int attempt = 0; attempt < 100 && !Cap_hasNewFrame(ctx, stream); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    uint32_t size = 0;
    if (Cap_captureCompressedFrame(ctx, stream, nullptr, 0, &size) != CAPRESULT_ERR)
        return QByteArray();
    QByteArray jpeg(int(size), '\0');
    return Cap_getCompressedFrame(ctx, stream, jpeg.data(), size, &size) == CAPRESULT_OK
               ? jpeg
               : QByteArray();
}

// Mean absolute difference of two pictures' bytes; huge when their sizes differ.
double difference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return 1e9;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width() * 3; ++x)
            sum += std::abs(a.constScanLine(y)[x] - b.constScanLine(y)[x]);
    }
    return sum / (double(a.width()) * a.height() * 3);
}

// A picture of packed RGB24 rows in rgb, or a null one when rgb is empty.
QImage picture(const QByteArray &rgb, QSize size)
{
    return rgb.isEmpty() ? QImage()
                         : QImage(reinterpret_cast<const uchar *>(rgb.constData()), size.width(),
                                  size.height(), size.width() * 3, QImage::Format_RGB888)
                               .copy();
}

} // namespace

class TestCaptureInterface : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void badContextsIdsAndIndicesAreErrors();
    void bufferSizes_data();
    void bufferSizes();
    void frameSizeBeyond32BitsIsRefused();
    void propertiesWhileCapturingOnAnotherThread();
    void definitionFromEnvironment_data();
    void definitionFromEnvironment();
    void pacingAndSequence_data();
    void pacingAndSequence();
    void waitEndsOnItsTimeoutOrAtOnceWhenInterrupted();
    void lateCameraThreadLeavesGapsItCounts();
    void motionJpegFramesAreRealJpeg();
    void scaledDecode_data();
    void scaledDecode();
    void framesThatOnlyWarnAreShown_data();
    void framesThatOnlyWarnAreShown();
    void properties();
    void controlEventsWaitAndWake();

private:
    ContextPtr ctx;
    uint32_t device = 0;
};

void TestCaptureInterface::init()
{
    qunsetenv("OSTREL_SYNTHETIC_CAMERAS");
    qunsetenv("OSTREL_SYNTHETIC_RATE");
    Cap_installCustomLogFunction(collectLog);
    synthetic::setDevices({vga});
    ctx.reset(Cap_createContext());
    QVERIFY(ctx);
    device = syntheticDevices(ctx.get()).value(0, UINT32_MAX);
    QVERIFY(device != UINT32_MAX);
    takeLog();
}

// A null context, a device index past the last device and a format index past the last format
// fail every call; a failed call leaves the caller's record alone. Stream ids are non-negative
// and never reused; unknown ones are errors.
void TestCaptureInterface::badContextsIdsAndIndicesAreErrors()
{
    QVERIFY(Cap_releaseContext(nullptr) != CAPRESULT_OK);
    QCOMPARE(Cap_getDeviceCount(nullptr), 0u);
    expectStreamCallsFail(nullptr, 0);
    if (QTest::currentTestFailed())
        return;

    const uint32_t count = Cap_getDeviceCount(ctx.get());
    const QList<QPair<CapContext, uint32_t>> badDevices = {
        {nullptr, 0}, {ctx.get(), count}, {ctx.get(), UINT32_MAX}};
    CapFormatInfo info{1, 2, 3, 4, 5};
    uint32_t num = 6, den = 7;
    for (const auto &[context, index] : badDevices) {
        QCOMPARE(Cap_getDeviceName(context, index), nullptr);
        QCOMPARE(Cap_getDeviceUniqueID(context, index), nullptr);
        QVERIFY(Cap_getNumFormats(context, index) < 1);
        QVERIFY(Cap_getFormatInfo(context, index, 0, &info) != CAPRESULT_OK);
        QVERIFY(Cap_getFormatFrameRate(context, index, 0, &num, &den) != CAPRESULT_OK);
        QVERIFY(Cap_openStream(context, index, 0) < 0);
    }
    QCOMPARE(Cap_getNumFormats(ctx.get(), device), 3);
    for (uint32_t bad : {3u, UINT32_MAX}) {
        QVERIFY(Cap_getFormatInfo(ctx.get(), device, bad, &info) != CAPRESULT_OK);
        QVERIFY(Cap_getFormatFrameRate(ctx.get(), device, bad, &num, &den) != CAPRESULT_OK);
        QVERIFY(Cap_openStream(ctx.get(), device, bad) < 0);
    }
    QCOMPARE(QList<uint32_t>({info.width, info.bpp, num, den}), QList<uint32_t>({1, 5, 6, 7}));
    QVERIFY(Cap_getFormatFrameRate(ctx.get(), device, 0, &num, nullptr) != CAPRESULT_OK);
    QVERIFY(Cap_getFormatInfo(ctx.get(), device, 0, nullptr) != CAPRESULT_OK);

    const CapStream open = Cap_openStream(ctx.get(), device, 1);
    QVERIFY(open >= 0);
    QSet<CapStream> seen{open};
    CapStream closed = -1;
    for (int i = 0; i < 5; ++i) {
        closed = Cap_openStream(ctx.get(), device, i % 2);
        QVERIFY(closed >= 0 && !seen.contains(closed));
        seen << closed;
        QCOMPARE(Cap_closeStream(ctx.get(), closed), CAPRESULT_OK);
    }
    for (CapStream bad : {closed, CapStream{-1}, open + 1000}) {
        expectStreamCallsFail(ctx.get(), bad);
        if (QTest::currentTestFailed())
            return;
    }
    // Null output pointers on a good stream.
    QVERIFY(Cap_getProperty(ctx.get(), open, CAPPROPID_BRIGHTNESS, nullptr) != CAPRESULT_OK);
    QCOMPARE(Cap_isOpenStream(ctx.get(), open), 1u);

    // Ids belong to their context.
    ContextPtr other(Cap_createContext());
    QCOMPARE(Cap_isOpenStream(other.get(), open), 0u);
}

void TestCaptureInterface::bufferSizes_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("accepted");
    const int exact = 160 * 120 * 3;
    QTest::newRow("exact") << exact << true;
    QTest::newRow("one short") << exact - 1 << false;
    QTest::newRow("one over") << exact + 1 << false;
    QTest::newRow("zero") << 0 << false;
}

// The buffer is bigger than the size passed; the bytes beyond the size must stay untouched.
void TestCaptureInterface::bufferSizes()
{
    QFETCH(int, size);
    QFETCH(bool, accepted);
    const CapStream stream = Cap_openStream(ctx.get(), device, 1);
    QVERIFY(stream >= 0);
    QByteArray buffer(160 * 120 * 4 + 64, '\x5a');
    const CapResult result =
        Cap_captureFrame(ctx.get(), stream, buffer.data(), static_cast<uint32_t>(size));
    QCOMPARE(result == CAPRESULT_OK, accepted);
    QCOMPARE(buffer.mid(size), QByteArray(buffer.size() - size, '\x5a'));
    if (accepted)
        QVERIFY(buffer.left(size).count('\x5a') < size / 2);
    else
        QCOMPARE(buffer.left(size), QByteArray(size, '\x5a'));
    QVERIFY(Cap_captureFrame(ctx.get(), stream, nullptr, 160 * 120 * 3) != CAPRESULT_OK);
}

// Also when the size overflows 32 bits by a little, in a single row.
void TestCaptureInterface::frameSizeBeyond32BitsIsRefused()
{
    synthetic::setDevices(
        {{"Huge", {{65536, 65536, 30, mjpg}, {1431655766, 1, 30, mjpg}, {64, 48, 30, mjpg}}}});
    ContextPtr huge(Cap_createContext());
    const uint32_t index = syntheticDevices(huge.get()).value(0);
    QVERIFY(Cap_openStream(huge.get(), index, 0) < 0);
    QVERIFY(Cap_openStream(huge.get(), index, 1) < 0);
    QVERIFY(Cap_openStream(huge.get(), index, 2) >= 0);
}

// The camera's capture thread polls and captures while the GUI thread reads and writes
// properties of the same stream, opens and closes others, and at last closes this one.
void TestCaptureInterface::propertiesWhileCapturingOnAnotherThread()
{
    const CapStream stream = Cap_openStream(ctx.get(), device, 2);
    QVERIFY(stream >= 0);
    std::atomic<bool> closed{false};
    std::atomic<int> captured{0}, failed{0};
    // Runs until a capture fails; that must only happen once the stream is closed.
    std::thread captureThread([&] {
        for (QByteArray buffer(64 * 48 * 3, '\0');;
             std::this_thread::sleep_for(std::chrono::milliseconds(1))) {
            const bool wasClosed = closed.load();
            if (!wasClosed && !Cap_hasNewFrame(ctx.get(), stream))
                continue;
            if (Cap_captureFrame(ctx.get(), stream, buffer.data(), uint32_t(buffer.size())) !=
                CAPRESULT_OK)
                return void(failed += wasClosed ? 0 : 1);
            ++captured;
        }
    });

    // Until the capture thread has taken 20 frames, or failed.
    int32_t value = 0, min = 0, max = 0, def = 0;
    int refused = 0;
    for (int i = 0; captured.load() < 20 && failed.load() == 0; ++i) {
        const CapStream other = Cap_openStream(ctx.get(), device, 2);
        refused +=
            Cap_setProperty(ctx.get(), stream, CAPPROPID_BRIGHTNESS, i % 129 - 64) !=
                CAPRESULT_OK ||
            Cap_getProperty(ctx.get(), stream, CAPPROPID_BRIGHTNESS, &value) != CAPRESULT_OK ||
            Cap_getPropertyLimits(ctx.get(), stream, CAPPROPID_CONTRAST, &min, &max, &def) !=
                CAPRESULT_OK ||
            other < 0 || Cap_closeStream(ctx.get(), other) != CAPRESULT_OK;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    closed = true;
    QCOMPARE(Cap_closeStream(ctx.get(), stream), CAPRESULT_OK);
    captureThread.join();
    QCOMPARE(failed.load(), 0);
    QCOMPARE(refused, 0);
}

void TestCaptureInterface::definitionFromEnvironment_data()
{
    QTest::addColumn<QByteArray>("cameras");
    QTest::addColumn<QByteArray>("rate");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("warnings");

    const QString standard = "Synthetic Camera=640x480@30:MJPG/24,1280x720@30:MJPG/24,"
                             "1920x1080@30:MJPG/24,3840x2160@30:MJPG/24,640x480@15:YUYV/16";
    QTest::newRow("one") << QByteArray("1") << QByteArray() << standard << 0;
    QTest::newRow("two devices")
        << QByteArray("Left=1280x720@30:MJPG,640x480@60:YUYV;Right=1920x1080@25:MJPG")
        << QByteArray() << "Left=1280x720@30:MJPG/24,640x480@60:YUYV/16;Right=1920x1080@25:MJPG/24"
        << 0;
    QTest::newRow("spaces in name") << QByteArray("Bench Cam 2=320x240@5:GREY") << QByteArray("2.5")
                                    << "Bench Cam 2=320x240@5:GREY/8" << 0;
    QTest::newRow("decimal rate") << QByteArray("A=64x48@7.5:MJPG,64x48@29.970:MJPG")
                                  << QByteArray()
                                  << "A=64x48@8:MJPG/24=15/2,64x48@30:MJPG/24=2997/100" << 0;
    QTest::newRow("off") << QByteArray("0") << QByteArray() << "" << 0;
    QTest::newRow("zero rate") << QByteArray("1") << QByteArray("0") << standard << 1;

    // A malformed definition defines no camera at all.
    for (const char *text : {"Left", "Left=640x480@30", "Left=640x480@30:MJPEG",
                             "Left=0x480@30:MJPG", "A=640x480@30:MJPG;B=junk", "A=64x48@7.:MJPG"})
        QTest::newRow(text) << QByteArray(text) << QByteArray() << "" << 1;
}

void TestCaptureInterface::definitionFromEnvironment()
{
    QFETCH(QByteArray, cameras);
    QFETCH(QByteArray, rate);
    QFETCH(QString, expected);
    QFETCH(int, warnings);

    qputenv("OSTREL_SYNTHETIC_CAMERAS", cameras);
    if (!rate.isEmpty())
        qputenv("OSTREL_SYNTHETIC_RATE", rate);
    synthetic::resetDevices();
    QCOMPARE(describeDevices(), expected);
    const QStringList log = takeLog();
    QCOMPARE(log.size(), warnings);
    if (warnings)
        QVERIFY2(log.first().startsWith("OSTREL_SYNTHETIC_"), qPrintable(log.first()));
}

void TestCaptureInterface::pacingAndSequence_data()
{
    QTest::addColumn<QByteArray>("rate");
    QTest::addColumn<int>("milliseconds");
    QTest::addColumn<int>("expectedFrames");

    QTest::newRow("30 fps") << QByteArray() << 2000 << 60;
    QTest::newRow("rate factor 2") << QByteArray("2") << 1000 << 60;
    QTest::newRow("rate factor 0.5") << QByteArray("0.5") << 2000 << 30;
}

// A fast caller gets the frames numbered 0, 1, 2, ... in the strip, as many as the rate allows;
// taking the newest, as from a real camera, it may miss one on a busy machine, never repeat one.
void TestCaptureInterface::pacingAndSequence()
{
    QFETCH(QByteArray, rate);
    QFETCH(int, milliseconds);
    QFETCH(int, expectedFrames);

    if (!rate.isEmpty())
        qputenv("OSTREL_SYNTHETIC_RATE", rate);
    synthetic::setDevices({vga});
    ctx.reset(Cap_createContext());
    const CapStream stream = openFirst(ctx.get());
    QVERIFY(stream >= 0);

    QList<uint32_t> sequences;
    CapFrameInfo first{}, info{};
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        if (Cap_waitForFrame(ctx.get(), stream, 1000) == CAPRESULT_OK) {
            QVERIFY(Cap_hasNewFrame(ctx.get(), stream));
            const auto sequence = sequenceOf(grab(ctx.get(), stream));
            QVERIFY(sequence);
            QVERIFY(sequences.isEmpty() ? *sequence <= 1 : *sequence > sequences.last());
            sequences << *sequence;
            // The library's numbers and times are the strip's: frame n falls due n periods on.
            QCOMPARE(Cap_getFrameInfo(ctx.get(), stream, &info), CapResult(CAPRESULT_OK));
            QCOMPARE(info.sequence, uint64_t(*sequence));
            first = sequences.size() == 1 ? info : first;
            const double periods =
                double(info.timestampUs - first.timestampUs) * expectedFrames / milliseconds / 1e3;
            QCOMPARE_LE(std::abs(periods - double(info.sequence - first.sequence)), 0.01);
        }
    }
    QVERIFY2(std::abs(sequences.size() - expectedFrames) <= expectedFrames / 10,
             qPrintable(QString::number(sequences.size())));
    QCOMPARE_LE(qsizetype(sequences.last()) + 1 - sequences.size(), qsizetype(expectedFrames / 10));
    QCOMPARE(Cap_getStreamFrameCount(ctx.get(), stream), uint32_t(sequences.size()));
}

// A wait without a frame ends on its timeout, and at once, whatever its timeout, when another
// thread interrupts it, or when the camera is unplugged; an interruption before the wait ends the
// next one.
void TestCaptureInterface::waitEndsOnItsTimeoutOrAtOnceWhenInterrupted()
{
    synthetic::setRenderDelay(0, 60000); // only the first frame comes
    const CapStream stream = openFirst(ctx.get());
    QVERIFY(stream >= 0);
    QVERIFY(!takeJpeg(ctx.get(), stream).isEmpty());
    QCOMPARE(Cap_waitForFrame(ctx.get(), stream, 0), CapResult(CAPRESULT_TIMEOUT));
    QCOMPARE(Cap_interruptWait(ctx.get(), stream), CapResult(CAPRESULT_OK));
    QCOMPARE(Cap_waitForFrame(ctx.get(), stream, 10000), CapResult(CAPRESULT_INTERRUPTED));
    std::thread stopper([&] { Cap_interruptWait(ctx.get(), stream); });
    QCOMPARE(Cap_waitForFrame(ctx.get(), stream, 10000), CapResult(CAPRESULT_INTERRUPTED));
    stopper.join();
    synthetic::setPlugged(0, false);
    QCOMPARE(Cap_waitForFrame(ctx.get(), stream, 10000), CapResult(CAPRESULT_DEVICENOTFOUND));
}

// A Motion-JPEG camera whose thread takes 1.5 frame periods over each frame skips the ones it is
// too late for: the numbers a fast caller sees have gaps, and the library counts exactly them.
void TestCaptureInterface::lateCameraThreadLeavesGapsItCounts()
{
    synthetic::setDevices({{"Late", {{64, 48, 20, mjpg}}}});
    ctx.reset(Cap_createContext());
    const CapStream stream = openFirst(ctx.get());
    QVERIFY(stream >= 0);
    synthetic::setRenderDelay(0, 75);
    CapFrameInfo first{}, info{};
    uint64_t gaps = 0;
    for (int i = 0; i < 12; ++i) {
        QCOMPARE(Cap_waitForFrame(ctx.get(), stream, 5000), CapResult(CAPRESULT_OK));
        QVERIFY(!takeJpeg(ctx.get(), stream).isEmpty());
        const uint64_t previous = info.sequence;
        QCOMPARE(Cap_getFrameInfo(ctx.get(), stream, &info), CapResult(CAPRESULT_OK));
        first = i == 0 ? info : first;
        gaps += i == 0 ? 0 : info.sequence - previous - 1;
    }
    QCOMPARE_GE(gaps, 4u);
    QCOMPARE(info.framesLost - first.framesLost, gaps);
    QCOMPARE(info.framesDamaged, 0u);
}

// Successive frames re-encode only the bands that changed; each must still decode to the
// picture it was made from, decoded on capture or taken compressed and decoded afterwards, and
// the camera's own bytes to a picture of the frame's size.
void TestCaptureInterface::motionJpegFramesAreRealJpeg()
{
    const CapStream stream = openFirst(ctx.get());
    QVERIFY(stream >= 0);
    TestPattern pattern(640, 480);
    QByteArray rendered(640 * 480 * 3, '\0'), later = rendered;
    // The pattern itself: bright on the left, dark on the right of the bars (a mirrored picture
    // looks different), and something below the strip moves between frames.
    pattern.render(0, bytes(rendered));
    pattern.render(20, bytes(later));
    const auto brightness = [&](int x) {
        const int at = 200 * 640 * 3 + 3 * x;
        return uint8_t(rendered[at]) + uint8_t(rendered[at + 1]) + uint8_t(rendered[at + 2]);
    };
    QVERIFY(brightness(40) > 600 && brightness(620) < 100);
    QVERIFY(rendered.mid(640 * 3 * 30) != later.mid(640 * 3 * 30));

    const auto lastJpeg = [&] {
        uint32_t size = 0;
        if (Cap_getCompressedFrame(ctx.get(), stream, nullptr, 0, &size) != CAPRESULT_ERR)
            return QByteArray();
        QByteArray jpeg(int(size), '\0');
        return Cap_getCompressedFrame(ctx.get(), stream, jpeg.data(), size, &size) == CAPRESULT_OK
                   ? jpeg
                   : QByteArray();
    };
    for (int i = 0; i < 4; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(70));
        QByteArray frame = i % 2 ? QByteArray(640 * 480 * 3, '\0') : grab(ctx.get(), stream);
        const QByteArray jpeg = i % 2 ? takeJpeg(ctx.get(), stream) : lastJpeg();
        QCOMPARE(QImage::fromData(jpeg, "JPG").size(), QSize(640, 480));
        if (i % 2) { // the buffer rule of a capture: exactly one frame's size
            QVERIFY(Cap_decodeFrame(ctx.get(), stream, jpeg.constData(), uint32_t(jpeg.size()),
                                    frame.data(), uint32_t(frame.size() - 1)) != CAPRESULT_OK);
            QCOMPARE(Cap_decodeFrame(ctx.get(), stream, jpeg.constData(), uint32_t(jpeg.size()),
                                     frame.data(), uint32_t(frame.size())),
                     CAPRESULT_OK);
        }
        const auto sequence = sequenceOf(frame);
        QVERIFY(sequence);
        pattern.render(*sequence, bytes(rendered));
        QCOMPARE_LT(difference(picture(frame, {640, 480}), picture(rendered, {640, 480})), 3.0);
    }
}

void TestCaptureInterface::scaledDecode_data()
{
    QTest::addColumn<uint32_t>("denominator");
    QTest::addColumn<QSize>("size"); // invalid: refused
    QTest::newRow("1/1") << 1u << QSize(1366, 766);
    QTest::newRow("1/2") << 2u << QSize(683, 383);
    QTest::newRow("1/4, both rounded up") << 4u << QSize(342, 192);
    QTest::newRow("1/8") << 8u << QSize(171, 96);
    QTest::newRow("1/3") << 3u << QSize();
    QTest::newRow("1/0") << 0u << QSize();
    QTest::newRow("1/16") << 16u << QSize();
}

// A picture decoded at a fraction of the size, RGB or BGRX, is the full one scaled down, in a
// buffer of exactly its size; nothing is written past the size given.
void TestCaptureInterface::scaledDecode()
{
    QFETCH(uint32_t, denominator);
    QFETCH(QSize, size);
    synthetic::setDevices({{"Odd", {{1366, 766, 30, mjpg}}}});
    ctx.reset(Cap_createContext());
    const CapStream stream = Cap_openStream(ctx.get(), syntheticDevices(ctx.get()).value(0), 0);
    const QByteArray jpeg = takeJpeg(ctx.get(), stream);
    QVERIFY(!jpeg.isEmpty());
    uint32_t width = 7, height = 9;
    const CapResult sized = Cap_getScaledSize(ctx.get(), stream, denominator, &width, &height);
    QCOMPARE(sized == CAPRESULT_OK, size.isValid());
    QCOMPARE(QSize(int(width), int(height)), size.isValid() ? size : QSize(7, 9));

    QByteArray full(1366 * 766 * 3, '\0');
    QCOMPARE(Cap_decodeFrame(ctx.get(), stream, jpeg.constData(), uint32_t(jpeg.size()),
                             full.data(), uint32_t(full.size())),
             CAPRESULT_OK);
    const QImage expected = picture(full, QSize(1366, 766))
                                .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int pixelBytes : {3, 4}) {
        const auto decode = pixelBytes == 3 ? Cap_decodeFrameScaled : Cap_decodeFrameScaledBGRX;
        const qsizetype exact = size.isValid() ? qsizetype(width) * height * pixelBytes : 64;
        for (qsizetype bytes : {exact - 1, exact + 3, exact}) {
            QByteArray rgb(exact + 64, '\x5a');
            const bool accepted = size.isValid() && bytes == exact;
            QCOMPARE(decode(ctx.get(), stream, jpeg.constData(), uint32_t(jpeg.size()), denominator,
                            rgb.data(), uint32_t(bytes)) == CAPRESULT_OK,
                     accepted);
            QCOMPARE(rgb.mid(accepted ? bytes : 0),
                     QByteArray(rgb.size() - (accepted ? bytes : 0), '\x5a'));
            if (!accepted)
                continue;
            const QImage shown = pixelBytes == 3
                                     ? picture(rgb, size)
                                     : QImage(reinterpret_cast<const uchar *>(rgb.constData()),
                                              size.width(), size.height(), QImage::Format_RGB32)
                                           .convertToFormat(QImage::Format_RGB888);
            QCOMPARE_LT(difference(shown, expected), 12.0);
            QVERIFY(pixelBytes == 3 || rgb.at(3) == '\xff');
        }
    }
}

void TestCaptureInterface::framesThatOnlyWarnAreShown_data()
{
    QTest::addColumn<QByteArray>("strayBefore"); // 16 stray bytes before this marker
    QTest::addColumn<int>("keptThirds");         // of the frame's bytes
    QTest::addColumn<bool>("endAdded");          // an end marker after what is kept
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("warns");
    QTest::newRow("whole") << QByteArray() << 3 << false << true << false;
    QTest::newRow("stray bytes before a restart marker")
        << QByteArray("\xff\xd0") << 3 << false << true << true;
    QTest::newRow("stray bytes before the scan")
        << QByteArray("\xff\xda") << 3 << false << true << true;
    QTest::newRow("stray bytes before the end marker")
        << QByteArray("\xff\xd9") << 3 << false << true << true;
    QTest::newRow("cut short") << QByteArray() << 2 << false << false << false;
    QTest::newRow("cut short, end marker after it") << QByteArray() << 2 << true << false << false;
}

// A frame libjpeg-turbo decodes with only a warning is shown at any scale, counted and logged;
// a frame cut short is refused, with or without an end marker after it.
void TestCaptureInterface::framesThatOnlyWarnAreShown()
{
    QFETCH(QByteArray, strayBefore);
    QFETCH(int, keptThirds);
    QFETCH(bool, endAdded);
    QFETCH(bool, shown);
    QFETCH(bool, warns);
    const CapStream stream = openFirst(ctx.get());
    const QByteArray clean = takeJpeg(ctx.get(), stream);
    QVERIFY(!clean.isEmpty());
    QByteArray jpeg = clean.left(clean.size() * keptThirds / 3) + (endAdded ? "\xff\xd9" : "");
    if (!strayBefore.isEmpty())
        jpeg.insert(jpeg.indexOf(strayBefore, jpeg.indexOf("\xff\xda")), QByteArray(16, '\x11'));
    const auto decode = [&](const QByteArray &bytes, uint32_t denominator) {
        QByteArray rgb(640 * 480 * 3 / int(denominator * denominator), '\0');
        return Cap_decodeFrameScaled(ctx.get(), stream, bytes.constData(), uint32_t(bytes.size()),
                                     denominator, rgb.data(), uint32_t(rgb.size())) == CAPRESULT_OK
                   ? rgb
                   : QByteArray();
    };
    takeLog();
    for (uint32_t denominator : {1u, 4u}) {
        const QSize size(640 / int(denominator), 480 / int(denominator));
        const QImage shownPicture = picture(decode(jpeg, denominator), size);
        QCOMPARE(!shownPicture.isNull(), shown);
        if (shown)
            QCOMPARE_LT(difference(shownPicture, picture(decode(clean, denominator), size)), 1.0);
    }
    QCOMPARE(Cap_getDecodeWarningCount(ctx.get(), stream), warns ? 2u : 0u);
    QCOMPARE(takeLog().filter("shown despite a decode warning").size(), warns ? 2 : 0);
}

void TestCaptureInterface::properties()
{
    CapStream stream = openFirst(ctx.get());
    QVERIFY(stream >= 0);
    const auto set = [&](CapPropertyID id, int32_t value) {
        return Cap_setProperty(ctx.get(), stream, id, value) == CAPRESULT_OK;
    };
    // The values reach the frames captured from then on (a few frames later, as the camera
    // encodes ahead); with contrast 0 only JPEG's ringing at the strip's edge is left.
    const auto grabLater = [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        return grab(ctx.get(), stream);
    };
    const double before = statistics(grabLater()).first;
    QVERIFY(set(CAPPROPID_BRIGHTNESS, 64));
    const double brighter = statistics(grabLater()).first;
    QVERIFY2(brighter > before + 30, qPrintable(QString("%1 -> %2").arg(before).arg(brighter)));
    QVERIFY(set(CAPPROPID_CONTRAST, 0));
    const QByteArray flat = grabLater();
    QCOMPARE_LT(statistics(flat).second, 2.0);
    QVERIFY(sequenceOf(flat)); // the settings leave the strip alone

    QVERIFY(!set(CAPPROPID_BRIGHTNESS, 65));
    QVERIFY(set(CAPPROPID_BRIGHTNESS, -64));
    QVERIFY(!set(CAPPROPID_HUE, 0));

    // The device keeps its values for the next stream, as a real camera does.
    QCOMPARE(Cap_closeStream(ctx.get(), stream), CAPRESULT_OK);
    stream = openFirst(ctx.get());
    int32_t value = 0;
    QCOMPARE(Cap_getProperty(ctx.get(), stream, CAPPROPID_BRIGHTNESS, &value), CAPRESULT_OK);
    QCOMPARE(value, -64);
}

// A change made elsewhere ends a wait with what it changed; a wake-up ends the wait in progress,
// or the next one when it comes first, and only that one.
void TestCaptureInterface::controlEventsWaitAndWake()
{
    const CapStream stream = openFirst(ctx.get());
    QVERIFY(stream >= 0);
    CapControlEvent event{};
    const auto wait = [&] {
        return Cap_waitControlEvent(ctx.get(), stream, -1, &event);
    };
    QVERIFY(Cap_waitControlEvent(ctx.get(), stream, -1, nullptr) != CAPRESULT_OK);
    QCOMPARE(Cap_waitControlEvent(ctx.get(), stream, 0, &event), CapResult(CAPRESULT_ERR));
    QCOMPARE(Cap_interruptControlWait(ctx.get(), stream), CapResult(CAPRESULT_OK));
    QCOMPARE(wait(), CapResult(CAPRESULT_ERR));

    std::thread other([] { synthetic::changePropertyElsewhere(0, CAPPROPID_EXPOSURE, 900, true); });
    QCOMPARE(wait(), CapResult(CAPRESULT_OK));
    other.join();
    QCOMPARE((QList<int>{int(event.propID), event.value, int(event.automatic)}),
             (QList<int>{CAPPROPID_EXPOSURE, 900, 1}));

    std::thread waker([&] { Cap_interruptControlWait(ctx.get(), stream); });
    QCOMPARE(wait(), CapResult(CAPRESULT_ERR));
    waker.join();
    QCOMPARE(Cap_waitControlEvent(ctx.get(), stream, 0, &event), CapResult(CAPRESULT_ERR));
}

QTEST_GUILESS_MAIN(TestCaptureInterface)
#include "tst_captureinterface.moc"
