// The synthetic cameras: their definition from the environment, the presence file, frame pacing
// and the sequence strip, the picture properties and every fault switch of the test control.
#include "capture.h"
#include "syntheticcontrol.h"
#include "testpattern.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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

std::mutex logMutex; // guards logLines
QStringList logLines;

void collectLog(uint32_t, const char *message)
{
    std::lock_guard lock(logMutex);
    logLines << QString::fromUtf8(message);
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

QString fourccText(uint32_t code)
{
    QString text;
    for (int i = 0; i < 4; ++i)
        text += QChar(static_cast<char>((code >> (8 * i)) & 0xff));
    return text;
}

// "Name=WxH@FPS:CODE/BPP,...;Name=..." as the Cap_* calls report it.
QString describe(CapContext ctx)
{
    QStringList devices;
    for (uint32_t device : syntheticDevices(ctx)) {
        QStringList formats;
        for (int32_t f = 0; f < Cap_getNumFormats(ctx, device); ++f) {
            CapFormatInfo info{};
            if (Cap_getFormatInfo(ctx, device, static_cast<uint32_t>(f), &info) != CAPRESULT_OK)
                formats << "?";
            else
                formats << QString("%1x%2@%3:%4/%5")
                               .arg(info.width)
                               .arg(info.height)
                               .arg(info.fps)
                               .arg(fourccText(info.fourcc))
                               .arg(info.bpp);
        }
        devices << QString::fromUtf8(Cap_getDeviceName(ctx, device)) + "=" + formats.join(',');
    }
    return devices.join(';');
}

QByteArray grab(CapContext ctx, CapStream stream, uint32_t width, uint32_t height,
                CapResult *result = nullptr)
{
    QByteArray frame(static_cast<int>(width * height * 3), '\0');
    const CapResult r =
        Cap_captureFrame(ctx, stream, frame.data(), static_cast<uint32_t>(frame.size()));
    if (result)
        *result = r;
    return r == CAPRESULT_OK ? frame : QByteArray();
}

std::optional<uint32_t> sequenceOf(const QByteArray &frame, uint32_t width, uint32_t height)
{
    return TestPattern::readSequence(reinterpret_cast<const uint8_t *>(frame.constData()), width,
                                     height, size_t{width} * 3);
}

// Mean and spread of all bytes below the sequence strip.
std::pair<double, double> statistics(const QByteArray &frame, uint32_t width, uint32_t height)
{
    const int first = static_cast<int>(width * 3 * (height / 16));
    double sum = 0, squares = 0;
    for (int i = first; i < frame.size(); ++i) {
        const double v = static_cast<uint8_t>(frame[i]);
        sum += v;
        squares += v * v;
    }
    const double n = frame.size() - first;
    const double mean = sum / n;
    return {mean, std::sqrt(std::max(0.0, squares / n - mean * mean))};
}

const synthetic::DeviceSpec vga{"VGA", {{640, 480, 30, synthetic::fourcc("MJPG")}}};

} // namespace

class TestSyntheticCamera : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();

    void definitionFromEnvironment_data();
    void definitionFromEnvironment();
    void presenceFile();
    void pacingAndSequence_data();
    void pacingAndSequence();
    void sequenceStripRoundTrip_data();
    void sequenceStripRoundTrip();
    void patternShowsOrientationAndMotion();
    void picturePropertiesChangeThePattern();
    void propertiesChangeCapturedFrames();
    void propertyLimitsAndAutomaticModes();
    void unreadableNameAndFormat();
    void oneShotFaults();
    void unplugActsOnOpenStreams();

private:
    QTemporaryDir tempDir;
};

void TestSyntheticCamera::init()
{
    qunsetenv("OSTREL_SYNTHETIC_CAMERAS");
    qunsetenv("OSTREL_SYNTHETIC_PRESENCE");
    qunsetenv("OSTREL_SYNTHETIC_RATE");
    Cap_installCustomLogFunction(collectLog);
    synthetic::setDevices({vga});
    takeLog();
}

void TestSyntheticCamera::cleanupTestCase()
{
    Cap_installCustomLogFunction(nullptr);
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
    QTest::newRow("empty") << QByteArray("") << QByteArray() << "" << 0;
    QTest::newRow("off") << QByteArray("0") << QByteArray() << "" << 0;
    QTest::newRow("bad rate keeps cameras")
        << QByteArray("A=64x48@10:RGB3") << QByteArray("fast") << "A=64x48@10:RGB3/24" << 1;
    QTest::newRow("zero rate") << QByteArray("1") << QByteArray("0") << standard << 1;

    const char *malformed[] = {"2",
                               "Left",
                               "=640x480@30:MJPG",
                               "Left=",
                               "Left=640x480@30",
                               "Left=640x480@30:MJPEG",
                               "Left=640x480:MJPG",
                               "Left=640x480@30MJPG",
                               "Left=0x480@30:MJPG",
                               "Left=640x480@0:MJPG",
                               "Left=640x-480@30:MJPG",
                               "Left=99999x480@30:MJPG",
                               "Left=640x480@30:MJPG,",
                               "Left=640x480@30:MJPG;",
                               "Left=640x480@30:MJ\tG",
                               "A=640x480@30:MJPG;B=junk",
                               "Left=640 x480@30:MJPG"};
    for (const char *text : malformed)
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
    ContextPtr ctx(Cap_createContext());
    QVERIFY(ctx);

    QCOMPARE(describe(ctx.get()), expected);
    const QStringList log = takeLog();
    QCOMPARE(log.size(), warnings);
    if (warnings)
        QVERIFY2(log.first().startsWith("OSTREL_SYNTHETIC_"), qPrintable(log.first()));
}

void TestSyntheticCamera::presenceFile()
{
    const QString path = tempDir.filePath("present");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("OSTREL_SYNTHETIC_PRESENCE", QFile::encodeName(path));
    synthetic::setDevices({vga});

    ContextPtr ctx(Cap_createContext());
    QCOMPARE(syntheticDevices(ctx.get()).size(), 1);
    const uint32_t device = syntheticDevices(ctx.get()).first();
    const CapStream stream = Cap_openStream(ctx.get(), device, 0);
    QVERIFY(stream >= 0);
    int32_t min = 0, max = 0, def = 0;
    QCOMPARE(Cap_getPropertyLimits(ctx.get(), stream, CAPPROPID_BRIGHTNESS, &min, &max, &def),
             CAPRESULT_OK);

    QVERIFY(QFile::remove(path));
    QVERIFY(Cap_getPropertyLimits(ctx.get(), stream, CAPPROPID_BRIGHTNESS, &min, &max, &def) !=
            CAPRESULT_OK);
    CapResult result = CAPRESULT_OK;
    grab(ctx.get(), stream, 640, 480, &result);
    QVERIFY(result != CAPRESULT_OK);
    QCOMPARE(Cap_hasNewFrame(ctx.get(), stream), 0u);
    QCOMPARE(syntheticDevices(ContextPtr(Cap_createContext()).get()).size(), 0);

    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QCOMPARE(Cap_getPropertyLimits(ctx.get(), stream, CAPPROPID_BRIGHTNESS, &min, &max, &def),
             CAPRESULT_OK);
    QVERIFY(!grab(ctx.get(), stream, 640, 480).isEmpty());
    QCOMPARE(syntheticDevices(ContextPtr(Cap_createContext()).get()).size(), 1);
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

// A caller that polls faster than the frame rate gets every frame, numbered 0, 1, 2, ... in
// the strip, as many as the rate allows.
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
    const CapStream stream = Cap_openStream(ctx.get(), syntheticDevices(ctx.get()).first(), 0);
    QVERIFY(stream >= 0);

    QList<uint32_t> sequences;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        if (Cap_hasNewFrame(ctx.get(), stream)) {
            const QByteArray frame = grab(ctx.get(), stream, 640, 480);
            QVERIFY(!frame.isEmpty());
            const auto sequence = sequenceOf(frame, 640, 480);
            QVERIFY(sequence);
            sequences << *sequence;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    for (int i = 0; i < sequences.size(); ++i)
        QCOMPARE(sequences[i], static_cast<uint32_t>(i));
    QVERIFY2(std::abs(sequences.size() - expectedFrames) <= expectedFrames / 10,
             qPrintable(QString::number(sequences.size())));
    QCOMPARE(Cap_getStreamFrameCount(ctx.get(), stream), static_cast<uint32_t>(sequences.size()));
}

void TestSyntheticCamera::sequenceStripRoundTrip_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("640x480") << 640 << 480;
    QTest::newRow("1920x1080") << 1920 << 1080;
    QTest::newRow("width not a multiple of 32") << 100 << 50;
}

void TestSyntheticCamera::sequenceStripRoundTrip()
{
    QFETCH(int, width);
    QFETCH(int, height);
    const auto w = static_cast<uint32_t>(width), h = static_cast<uint32_t>(height);
    TestPattern pattern(w, h);
    QByteArray frame(width * height * 3, '\0');
    auto *pixels = reinterpret_cast<uint8_t *>(frame.data());
    for (uint32_t sequence : {0u, 1u, 2u, 0x80000000u, 0xffffffffu, 0x12345678u, 0xa5a5a5a5u}) {
        pattern.render(sequence, pixels);
        QCOMPARE(TestPattern::readSequence(pixels, w, h, size_t{w} * 3), sequence);
    }
    // The strip is the top sixteenth: the row below it is picture, the last strip row is not.
    pattern.render(0xffffffffu, pixels);
    const uint8_t *lastStripRow = pixels + (h / 16 - 1) * w * 3;
    QVERIFY(std::all_of(lastStripRow, lastStripRow + w * 3, [](uint8_t v) { return v == 255; }));
    const uint8_t *firstPictureRow = pixels + (h / 16) * w * 3;
    QVERIFY(
        !std::all_of(firstPictureRow, firstPictureRow + w * 3, [](uint8_t v) { return v == 255; }));
}

void TestSyntheticCamera::patternShowsOrientationAndMotion()
{
    TestPattern pattern(640, 480);
    QByteArray a(640 * 480 * 3, '\0'), b(a);
    pattern.render(0, reinterpret_cast<uint8_t *>(a.data()));
    pattern.render(20, reinterpret_cast<uint8_t *>(b.data()));
    const int row = 200 * 640 * 3;
    const auto brightness = [&](int x) {
        return static_cast<uint8_t>(a[row + 3 * x]) + static_cast<uint8_t>(a[row + 3 * x + 1]) +
               static_cast<uint8_t>(a[row + 3 * x + 2]);
    };
    // Bright on the left, dark on the right of the bars: a mirrored picture looks different.
    QVERIFY(brightness(40) > 600);
    QVERIFY(brightness(620) < 100);
    // Something below the strip moves between frames.
    QVERIFY(a.mid(640 * 3 * 30) != b.mid(640 * 3 * 30));
}

void TestSyntheticCamera::picturePropertiesChangeThePattern()
{
    TestPattern pattern(640, 480);
    QByteArray frame(640 * 480 * 3, '\0');
    auto render = [&](int brightness, int contrast, int sharpness) {
        pattern.setPicture(brightness, contrast, sharpness);
        pattern.render(0, reinterpret_cast<uint8_t *>(frame.data()));
        return frame;
    };
    // Mean step between neighbours on the grating (lower right, away from the square at 0).
    auto edges = [](const QByteArray &f) {
        double sum = 0;
        const int row = 470 * 640 * 3;
        for (int x = 400; x < 600; ++x)
            sum += std::abs(static_cast<uint8_t>(f[row + 3 * x]) -
                            static_cast<uint8_t>(f[row + 3 * x + 3]));
        return sum / 200;
    };

    const QByteArray normal = render(0, 32, 3);
    const auto [mean, spread] = statistics(normal, 640, 480);
    QVERIFY(statistics(render(40, 32, 3), 640, 480).first > mean + 30);
    QVERIFY(statistics(render(-40, 32, 3), 640, 480).first < mean - 30);
    QCOMPARE(statistics(render(0, 0, 3), 640, 480).second, 0.0);
    QVERIFY(statistics(render(0, 95, 3), 640, 480).second > spread * 1.2);
    QVERIFY(edges(render(0, 32, 0)) < edges(normal) * 0.8);
    QVERIFY(edges(render(0, 32, 7)) > edges(normal) * 1.2);
    // None of it touches the strip.
    QCOMPARE(sequenceOf(render(64, 0, 7), 640, 480), 0u);
    QCOMPARE(sequenceOf(render(-64, 95, 0), 640, 480), 0u);
}

void TestSyntheticCamera::propertiesChangeCapturedFrames()
{
    ContextPtr ctx(Cap_createContext());
    const CapStream stream = Cap_openStream(ctx.get(), syntheticDevices(ctx.get()).first(), 0);
    QVERIFY(stream >= 0);
    const double before = statistics(grab(ctx.get(), stream, 640, 480), 640, 480).first;

    QCOMPARE(Cap_setProperty(ctx.get(), stream, CAPPROPID_BRIGHTNESS, 64), CAPRESULT_OK);
    const double brighter = statistics(grab(ctx.get(), stream, 640, 480), 640, 480).first;
    QVERIFY2(brighter > before + 30, qPrintable(QString("%1 -> %2").arg(before).arg(brighter)));

    QCOMPARE(Cap_setProperty(ctx.get(), stream, CAPPROPID_CONTRAST, 0), CAPRESULT_OK);
    QCOMPARE(statistics(grab(ctx.get(), stream, 640, 480), 640, 480).second, 0.0);

    // The device keeps its values for the next stream, as a real camera does.
    QCOMPARE(Cap_closeStream(ctx.get(), stream), CAPRESULT_OK);
    const CapStream again = Cap_openStream(ctx.get(), syntheticDevices(ctx.get()).first(), 0);
    int32_t value = 0;
    QCOMPARE(Cap_getProperty(ctx.get(), again, CAPPROPID_BRIGHTNESS, &value), CAPRESULT_OK);
    QCOMPARE(value, 64);
}

void TestSyntheticCamera::propertyLimitsAndAutomaticModes()
{
    ContextPtr ctx(Cap_createContext());
    const CapStream stream = Cap_openStream(ctx.get(), syntheticDevices(ctx.get()).first(), 0);
    const auto limits = [&](CapPropertyID id) {
        int32_t min = -1, max = -1, def = -1;
        const CapResult r = Cap_getPropertyLimits(ctx.get(), stream, id, &min, &max, &def);
        return r == CAPRESULT_OK ? QList<int32_t>{min, max, def} : QList<int32_t>{};
    };
    QCOMPARE(limits(CAPPROPID_BRIGHTNESS), (QList<int32_t>{-64, 64, 0}));
    QCOMPARE(limits(CAPPROPID_CONTRAST), (QList<int32_t>{0, 95, 32}));
    QCOMPARE(limits(CAPPROPID_SHARPNESS), (QList<int32_t>{0, 7, 3}));
    QCOMPARE(limits(CAPPROPID_HUE), QList<int32_t>{});

    int32_t value = 0;
    QCOMPARE(Cap_setProperty(ctx.get(), stream, CAPPROPID_BRIGHTNESS, -64), CAPRESULT_OK);
    QVERIFY(Cap_setProperty(ctx.get(), stream, CAPPROPID_BRIGHTNESS, 65) != CAPRESULT_OK);
    QVERIFY(Cap_setProperty(ctx.get(), stream, CAPPROPID_BRIGHTNESS, -65) != CAPRESULT_OK);
    QCOMPARE(Cap_getProperty(ctx.get(), stream, CAPPROPID_BRIGHTNESS, &value), CAPRESULT_OK);
    QCOMPARE(value, -64);
    QVERIFY(Cap_setProperty(ctx.get(), stream, CAPPROPID_HUE, 0) != CAPRESULT_OK);
    QVERIFY(Cap_getProperty(ctx.get(), stream, CAPPROPID_HUE, &value) != CAPRESULT_OK);
    QVERIFY(Cap_setProperty(ctx.get(), stream, 999, 0) != CAPRESULT_OK);

    // Limits set by the test control, min = max included.
    synthetic::setPropertyLimits(0, CAPPROPID_CONTRAST, 5, 5, 5);
    QCOMPARE(limits(CAPPROPID_CONTRAST), (QList<int32_t>{5, 5, 5}));
    QCOMPARE(Cap_setProperty(ctx.get(), stream, CAPPROPID_CONTRAST, 5), CAPRESULT_OK);
    QVERIFY(Cap_setProperty(ctx.get(), stream, CAPPROPID_CONTRAST, 6) != CAPRESULT_OK);
    synthetic::setPropertyLimits(0, CAPPROPID_HUE, -180, 180, 0);
    QCOMPARE(limits(CAPPROPID_HUE), (QList<int32_t>{-180, 180, 0}));

    // Automatic off is always accepted; on only where the camera has an automatic mode.
    uint32_t automatic = 7;
    QCOMPARE(Cap_setAutoProperty(ctx.get(), stream, CAPPROPID_BRIGHTNESS, 0), CAPRESULT_OK);
    QVERIFY(Cap_setAutoProperty(ctx.get(), stream, CAPPROPID_BRIGHTNESS, 1) != CAPRESULT_OK);
    QCOMPARE(Cap_getAutoProperty(ctx.get(), stream, CAPPROPID_EXPOSURE, &automatic), CAPRESULT_OK);
    QCOMPARE(automatic, 1u);
    QCOMPARE(Cap_setAutoProperty(ctx.get(), stream, CAPPROPID_EXPOSURE, 0), CAPRESULT_OK);
    QCOMPARE(Cap_getAutoProperty(ctx.get(), stream, CAPPROPID_EXPOSURE, &automatic), CAPRESULT_OK);
    QCOMPARE(automatic, 0u);
    QVERIFY(Cap_setAutoProperty(ctx.get(), stream, CAPPROPID_ZOOM, 0) != CAPRESULT_OK);

    const synthetic::PropertyState brightness = synthetic::propertyState(0, CAPPROPID_BRIGHTNESS);
    QCOMPARE(brightness.value, -64);
    QCOMPARE(brightness.setCount, 3);
    QCOMPARE(brightness.autoOffCount, 1);
    QVERIFY(!brightness.automatic);
    synthetic::setPropertyValue(0, CAPPROPID_SHARPNESS, 6);
    QCOMPARE(Cap_getProperty(ctx.get(), stream, CAPPROPID_SHARPNESS, &value), CAPRESULT_OK);
    QCOMPARE(value, 6);
}

void TestSyntheticCamera::unreadableNameAndFormat()
{
    synthetic::setDevices(
        {{"A", {{64, 48, 30, 1}, {64, 48, 15, 1}, {32, 32, 5, 1}}}, {"B", {{64, 48, 30, 1}}}});
    ContextPtr ctx(Cap_createContext());
    const QList<uint32_t> devices = syntheticDevices(ctx.get());
    QCOMPARE(devices.size(), 2);

    synthetic::setNameUnreadable(0, true);
    QCOMPARE(Cap_getDeviceName(ctx.get(), devices[0]), nullptr);
    QCOMPARE(QByteArray(Cap_getDeviceName(ctx.get(), devices[1])), QByteArray("B"));
    synthetic::setNameUnreadable(0, false);
    QCOMPARE(QByteArray(Cap_getDeviceName(ctx.get(), devices[0])), QByteArray("A"));

    synthetic::setFormatUnreadable(0, 1, true);
    CapFormatInfo info{};
    QCOMPARE(Cap_getFormatInfo(ctx.get(), devices[0], 0, &info), CAPRESULT_OK);
    QVERIFY(Cap_getFormatInfo(ctx.get(), devices[0], 1, &info) != CAPRESULT_OK);
    QCOMPARE(Cap_getFormatInfo(ctx.get(), devices[0], 2, &info), CAPRESULT_OK);
    QCOMPARE(info.fps, 5u);
    synthetic::setFormatUnreadable(0, 1, false);
    QCOMPARE(Cap_getFormatInfo(ctx.get(), devices[0], 1, &info), CAPRESULT_OK);
    QCOMPARE(info.fps, 15u);
}

void TestSyntheticCamera::oneShotFaults()
{
    QVERIFY(!ContextPtr([] {
        synthetic::failNextCreateContext();
        return Cap_createContext();
    }()));
    ContextPtr ctx(Cap_createContext());
    QVERIFY(ctx);
    const uint32_t device = syntheticDevices(ctx.get()).first();
    CapFormatInfo info{};

    synthetic::failNextGetFormatInfo();
    QVERIFY(Cap_getFormatInfo(ctx.get(), device, 0, &info) != CAPRESULT_OK);
    QCOMPARE(Cap_getFormatInfo(ctx.get(), device, 0, &info), CAPRESULT_OK);

    synthetic::failNextOpenStream();
    QVERIFY(Cap_openStream(ctx.get(), device, 0) < 0);
    const CapStream stream = Cap_openStream(ctx.get(), device, 0);
    QVERIFY(stream >= 0);

    synthetic::failNextCaptureFrame();
    CapResult result = CAPRESULT_OK;
    grab(ctx.get(), stream, 640, 480, &result);
    QVERIFY(result != CAPRESULT_OK);
    QVERIFY(!grab(ctx.get(), stream, 640, 480).isEmpty());

    // Defining the devices anew clears an armed switch.
    synthetic::failNextOpenStream();
    synthetic::setDevices({vga});
    ContextPtr fresh(Cap_createContext());
    QVERIFY(Cap_openStream(fresh.get(), syntheticDevices(fresh.get()).first(), 0) >= 0);
}

void TestSyntheticCamera::unplugActsOnOpenStreams()
{
    synthetic::setDevices({vga, {"Other", {{64, 48, 30, synthetic::fourcc("GREY")}}}});
    ContextPtr ctx(Cap_createContext());
    const uint32_t device = syntheticDevices(ctx.get()).first();
    const CapStream stream = Cap_openStream(ctx.get(), device, 0);
    QVERIFY(stream >= 0);
    int32_t min, max, def;

    synthetic::setPlugged(0, false);
    QVERIFY(Cap_getPropertyLimits(ctx.get(), stream, CAPPROPID_BRIGHTNESS, &min, &max, &def) !=
            CAPRESULT_OK);
    CapResult result = CAPRESULT_OK;
    grab(ctx.get(), stream, 640, 480, &result);
    QVERIFY(result != CAPRESULT_OK);
    QVERIFY(Cap_openStream(ctx.get(), device, 0) < 0);
    {
        ContextPtr later(Cap_createContext());
        QCOMPARE(describe(later.get()), QString("Other=64x48@30:GREY/8"));
    }

    synthetic::setPlugged(0, true);
    QCOMPARE(Cap_getPropertyLimits(ctx.get(), stream, CAPPROPID_BRIGHTNESS, &min, &max, &def),
             CAPRESULT_OK);
    QVERIFY(!grab(ctx.get(), stream, 640, 480).isEmpty());
    QCOMPARE(syntheticDevices(ContextPtr(Cap_createContext()).get()).size(), 2);
}

QTEST_GUILESS_MAIN(TestSyntheticCamera)
#include "tst_syntheticcamera.moc"
