// The Cap_* interface's safety rules, whatever device is behind it: bad handles, ids and
// indices, buffer sizes, frame sizes beyond 32 bits, and calls from two threads.
#include "synthetic/syntheticcontrol.h"
#include "testsupport/capturetesthelpers.h"

#include <QtTest>

#include <atomic>
#include <thread>

using namespace capturetest;
namespace synthetic = ostrel::synthetic;

namespace {

const uint32_t mjpg = synthetic::fourcc("MJPG");

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
    QVERIFY(Cap_captureFrame(ctx, id, buffer.data(), uint32_t(buffer.size())) != CAPRESULT_OK);
    QVERIFY(Cap_getCompressedFrame(ctx, id, buffer.data(), uint32_t(buffer.size()), &jpegBytes) !=
            CAPRESULT_OK);
    QVERIFY(Cap_getPropertyLimits(ctx, id, CAPPROPID_BRIGHTNESS, &a, &b, &c) != CAPRESULT_OK);
    QVERIFY(Cap_getProperty(ctx, id, CAPPROPID_BRIGHTNESS, &a) != CAPRESULT_OK);
    QVERIFY(Cap_setProperty(ctx, id, CAPPROPID_BRIGHTNESS, 0) != CAPRESULT_OK);
    QVERIFY(Cap_getAutoProperty(ctx, id, CAPPROPID_EXPOSURE, &enabled) != CAPRESULT_OK);
    QVERIFY(Cap_setAutoProperty(ctx, id, CAPPROPID_BRIGHTNESS, 0) != CAPRESULT_OK);
    QVERIFY(Cap_closeStream(ctx, id) != CAPRESULT_OK);
    QCOMPARE(QList<int>({a, b, c, int(enabled), int(jpegBytes)}), QList<int>({11, 12, 13, 14, 15}));
    QCOMPARE(buffer, QByteArray(64 * 48 * 3, '\x5a'));
}

} // namespace

class TestCaptureInterface : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();

    void badContextsAndIndicesAreErrors();
    void streamIds();
    void bufferSizes_data();
    void bufferSizes();
    void frameSizeBeyond32BitsIsRefused();
    void propertiesWhileCapturingOnAnotherThread();

private:
    ContextPtr ctx;
    uint32_t device = 0;
};

void TestCaptureInterface::init()
{
    Cap_installCustomLogFunction(collectLog);
    synthetic::setDevices({{"Small", {{160, 120, 30, mjpg}, {64, 48, 60, mjpg}}}});
    ctx.reset(Cap_createContext());
    QVERIFY(ctx);
    device = syntheticDevices(ctx.get()).value(0, UINT32_MAX);
    QVERIFY(device != UINT32_MAX);
    takeLog();
}

void TestCaptureInterface::cleanupTestCase()
{
    ctx.reset();
    Cap_installCustomLogFunction(nullptr);
}

// A null context, a device index past the last device and a format index past the last format
// fail every call; a failed call leaves the caller's record alone.
void TestCaptureInterface::badContextsAndIndicesAreErrors()
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
    QCOMPARE(Cap_getNumFormats(ctx.get(), device), 2);
    for (uint32_t bad : {2u, UINT32_MAX}) {
        QVERIFY(Cap_getFormatInfo(ctx.get(), device, bad, &info) != CAPRESULT_OK);
        QVERIFY(Cap_getFormatFrameRate(ctx.get(), device, bad, &num, &den) != CAPRESULT_OK);
        QVERIFY(Cap_openStream(ctx.get(), device, bad) < 0);
    }
    QCOMPARE(QList<uint32_t>({info.width, info.bpp, num, den}), QList<uint32_t>({1, 5, 6, 7}));
    QVERIFY(Cap_getFormatFrameRate(ctx.get(), device, 0, &num, nullptr) != CAPRESULT_OK);
    QVERIFY(Cap_getFormatInfo(ctx.get(), device, 0, nullptr) != CAPRESULT_OK);
}

// Ids are non-negative and never reused; unknown ones are errors.
void TestCaptureInterface::streamIds()
{
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
    const CapStream stream = Cap_openStream(ctx.get(), device, 0);
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
    const CapStream stream = Cap_openStream(ctx.get(), device, 1);
    QVERIFY(stream >= 0);
    std::atomic<bool> closed{false};
    std::atomic<int> captured{0}, failed{0};
    std::thread captureThread([&] {
        std::vector<uint8_t> buffer(64 * 48 * 3);
        // Runs until a capture fails; that must only happen once the stream is closed.
        for (;;) {
            if (Cap_hasNewFrame(ctx.get(), stream) || closed.load()) {
                const bool wasClosed = closed.load();
                if (Cap_captureFrame(ctx.get(), stream, buffer.data(),
                                     static_cast<uint32_t>(buffer.size())) != CAPRESULT_OK) {
                    failed += wasClosed ? 0 : 1;
                    return;
                }
                ++captured;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });

    // A failed check returns early: the capture thread still has to end first.
    const auto endCapture = qScopeGuard([&] {
        closed = true;
        Cap_closeStream(ctx.get(), stream);
        if (captureThread.joinable())
            captureThread.join();
    });

    QElapsedTimer timer;
    timer.start();
    int32_t value = 0, min = 0, max = 0, def = 0;
    for (int i = 0; timer.elapsed() < 700; ++i) {
        QCOMPARE(Cap_setProperty(ctx.get(), stream, CAPPROPID_BRIGHTNESS, i % 129 - 64),
                 CAPRESULT_OK);
        QCOMPARE(Cap_getProperty(ctx.get(), stream, CAPPROPID_BRIGHTNESS, &value), CAPRESULT_OK);
        QCOMPARE(Cap_getPropertyLimits(ctx.get(), stream, CAPPROPID_CONTRAST, &min, &max, &def),
                 CAPRESULT_OK);
        const CapStream other = Cap_openStream(ctx.get(), device, 1);
        QVERIFY(other >= 0);
        QCOMPARE(Cap_closeStream(ctx.get(), other), CAPRESULT_OK);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    closed = true;
    QCOMPARE(Cap_closeStream(ctx.get(), stream), CAPRESULT_OK);
    captureThread.join();
    QCOMPARE(failed.load(), 0);
    QVERIFY(captured.load() > 10);
    QCOMPARE(Cap_isOpenStream(ctx.get(), stream), 0u);
}

QTEST_GUILESS_MAIN(TestCaptureInterface)
#include "tst_captureinterface.moc"
