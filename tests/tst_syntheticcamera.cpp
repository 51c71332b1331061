// The synthetic cameras: their definition from the environment, frame pacing and the sequence
// strip, their Motion-JPEG frames and the picture properties.
#include "synthetic/syntheticcontrol.h"
#include "synthetic/testpattern.h"
#include "testsupport/capturetesthelpers.h"

#include <QtTest>

#include <turbojpeg.h>

#include <chrono>
#include <thread>

using namespace capturetest;
using ostrel::capture::TestPattern;
namespace synthetic = ostrel::synthetic;

namespace {

const synthetic::DeviceSpec vga{"VGA", {{640, 480, 30, synthetic::fourcc("MJPG")}}};

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

} // namespace

class TestSyntheticCamera : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase() { Cap_installCustomLogFunction(nullptr); }

    void definitionFromEnvironment_data();
    void definitionFromEnvironment();
    void pacingAndSequence_data();
    void pacingAndSequence();
    void motionJpegFramesAreRealJpeg();
    void patternOrientationMotionAndPicture();
    void properties();
};

void TestSyntheticCamera::init()
{
    qunsetenv("OSTREL_SYNTHETIC_CAMERAS");
    qunsetenv("OSTREL_SYNTHETIC_RATE");
    Cap_installCustomLogFunction(collectLog);
    synthetic::setDevices({vga});
    takeLog();
}

void TestSyntheticCamera::definitionFromEnvironment_data()
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

void TestSyntheticCamera::definitionFromEnvironment()
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
    const QList<LogLine> log = takeLog();
    QCOMPARE(log.size(), warnings);
    if (warnings)
        QVERIFY2(log.first().second.startsWith("OSTREL_SYNTHETIC_"),
                 qPrintable(log.first().second));
}

void TestSyntheticCamera::pacingAndSequence_data()
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
void TestSyntheticCamera::pacingAndSequence()
{
    QFETCH(QByteArray, rate);
    QFETCH(int, milliseconds);
    QFETCH(int, expectedFrames);

    if (!rate.isEmpty())
        qputenv("OSTREL_SYNTHETIC_RATE", rate);
    synthetic::resetDevices();
    synthetic::setDevices({vga});
    ContextPtr ctx(Cap_createContext());
    const CapStream stream = openFirst(ctx.get());
    QVERIFY(stream >= 0);

    QList<uint32_t> sequences;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        if (Cap_hasNewFrame(ctx.get(), stream)) {
            const auto sequence = sequenceOf(grab(ctx.get(), stream));
            QVERIFY(sequence);
            QVERIFY(sequences.isEmpty() ? *sequence <= 1 : *sequence > sequences.last());
            sequences << *sequence;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    QVERIFY2(std::abs(sequences.size() - expectedFrames) <= expectedFrames / 10,
             qPrintable(QString::number(sequences.size())));
    QCOMPARE_LE(qsizetype(sequences.last()) + 1 - sequences.size(), qsizetype(expectedFrames / 10));
    QCOMPARE(Cap_getStreamFrameCount(ctx.get(), stream), uint32_t(sequences.size()));
}

// Successive frames re-encode only the bands that changed; each must still decode to the
// picture it was made from, and the camera's own bytes are 4:2:2 JPEG of the frame's size.
void TestSyntheticCamera::motionJpegFramesAreRealJpeg()
{
    synthetic::setDevices({vga});
    ContextPtr ctx(Cap_createContext());
    const CapStream stream = openFirst(ctx.get());
    QVERIFY(stream >= 0);
    TestPattern pattern(640, 480);
    QByteArray rendered(640 * 480 * 3, '\0');
    for (int i = 0; i < 4; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(70));
        const QByteArray frame = grab(ctx.get(), stream);
        const auto sequence = sequenceOf(frame);
        QVERIFY(sequence);
        pattern.render(*sequence, bytes(rendered));
        double difference = 0;
        for (int at = 0; at < frame.size(); ++at)
            difference += std::abs(uint8_t(frame[at]) - uint8_t(rendered[at]));
        QCOMPARE_LT(difference / frame.size(), 3.0);

        uint32_t size = 0;
        QCOMPARE(Cap_getCompressedFrame(ctx.get(), stream, nullptr, 0, &size), CAPRESULT_ERR);
        QByteArray jpeg(int(size), '\0');
        QCOMPARE(Cap_getCompressedFrame(ctx.get(), stream, jpeg.data(), size, &size), CAPRESULT_OK);
        int width = 0, height = 0, subsampling = -1, colourspace = 0;
        tjhandle handle = tjInitDecompress();
        tjDecompressHeader3(handle, bytes(jpeg), size, &width, &height, &subsampling, &colourspace);
        tjDestroy(handle);
        QCOMPARE(QList<int>({width, height, subsampling}), QList<int>({640, 480, TJSAMP_422}));
    }
}

void TestSyntheticCamera::patternOrientationMotionAndPicture()
{
    TestPattern pattern(640, 480);
    QByteArray frame(640 * 480 * 3, '\0');
    const auto render = [&](int brightness, int contrast, int sharpness, uint32_t sequence = 0) {
        pattern.setPicture(brightness, contrast, sharpness);
        pattern.render(sequence, bytes(frame));
        return frame;
    };
    const QByteArray normal = render(0, 32, 3);
    // Bright on the left, dark on the right of the bars: a mirrored picture looks different.
    const auto brightness = [&](int x) {
        const int at = 200 * 640 * 3 + 3 * x;
        return uint8_t(normal[at]) + uint8_t(normal[at + 1]) + uint8_t(normal[at + 2]);
    };
    QVERIFY(brightness(40) > 600);
    QVERIFY(brightness(620) < 100);
    // Something below the strip moves between frames.
    QVERIFY(normal.mid(640 * 3 * 30) != render(0, 32, 3, 20).mid(640 * 3 * 30));

    // Mean step between neighbours on the grating (lower right, away from the square at 0).
    const auto edges = [](const QByteArray &f) {
        double sum = 0;
        for (int at = 470 * 640 * 3 + 3 * 400; at < 470 * 640 * 3 + 3 * 600; at += 3)
            sum += std::abs(uint8_t(f[at]) - uint8_t(f[at + 3]));
        return sum / 200;
    };
    QVERIFY(edges(render(0, 32, 0)) < edges(normal) * 0.8);
    QVERIFY(edges(render(0, 32, 7)) > edges(normal) * 1.2);
    // None of it touches the strip.
    QCOMPARE(sequenceOf(render(64, 0, 7)), 0u);
}

void TestSyntheticCamera::properties()
{
    ContextPtr ctx(Cap_createContext());
    CapStream stream = openFirst(ctx.get());
    QVERIFY(stream >= 0);
    const auto set = [&](CapPropertyID id, int32_t value) {
        return Cap_setProperty(ctx.get(), stream, id, value) == CAPRESULT_OK;
    };
    const auto get = [&](CapPropertyID id) {
        int32_t value = INT32_MIN;
        return Cap_getProperty(ctx.get(), stream, id, &value) == CAPRESULT_OK ? value : INT32_MIN;
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
    QCOMPARE_LT(statistics(grabLater()).second, 2.0);

    QVERIFY(!set(CAPPROPID_BRIGHTNESS, 65));
    QVERIFY(set(CAPPROPID_BRIGHTNESS, -64));
    QVERIFY(!set(CAPPROPID_HUE, 0));

    // The device keeps its values for the next stream, as a real camera does.
    QCOMPARE(Cap_closeStream(ctx.get(), stream), CAPRESULT_OK);
    stream = openFirst(ctx.get());
    QCOMPARE(get(CAPPROPID_BRIGHTNESS), -64);
}

QTEST_GUILESS_MAIN(TestSyntheticCamera)
#include "tst_syntheticcamera.moc"
