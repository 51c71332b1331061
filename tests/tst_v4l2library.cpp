// The V4L2 backend seen through the capture library's C interface: where its devices appear in
// a context, and the calls the camera layer makes on a stream. Plus one run against a real
// node, when this machine has one.
#include "fakev4l2device.h"
#include "syntheticcontrol.h"
#include "testsupport/capturetesthelpers.h"
#include "v4l2backend.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

using capturetest::ContextPtr;
using ostrel::capture::V4l2Backend;

class TestV4l2Library : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void v4l2DevicesComeBeforeSyntheticOnes();
    void streamThroughTheInterface();
    void realDevice();

private:
    std::shared_ptr<FakeV4l2Device> io;
    QTemporaryDir dir;
    std::string path;
};

void TestV4l2Library::init()
{
    QVERIFY(dir.isValid());
    path = dir.filePath("video0").toStdString();
    QVERIFY(QFile(dir.filePath("video0")).open(QIODevice::WriteOnly));
    io = std::make_shared<FakeV4l2Device>();
    io->addNode(path, FakeV4l2Device::uvcCamera());
    V4l2Backend::setDefaultSource(io, dir.path().toStdString());
    ostrel::synthetic::setDevices(
        {{"Synthetic A", {{64, 48, 30, ostrel::synthetic::fourcc("YUYV")}}}});
}

void TestV4l2Library::cleanup()
{
    V4l2Backend::resetDefaultSource();
    ostrel::synthetic::resetDevices();
    QCOMPARE(io->openCount(), 0);
    QCOMPARE(io->mappingCount(), 0);
}

void TestV4l2Library::v4l2DevicesComeBeforeSyntheticOnes()
{
    ContextPtr context(Cap_createContext());
    QVERIFY(context);
    QCOMPARE(Cap_getDeviceCount(context.get()), 2u);
    QCOMPARE(QString(Cap_getDeviceName(context.get(), 0)), QString("Fake UVC Camera"));
    QCOMPARE(QString(Cap_getDeviceName(context.get(), 1)), QString("Synthetic A"));
    QCOMPARE(QString(Cap_getDeviceUniqueID(context.get(), 0)),
             QString::fromStdString("usb-0000:00:14.0-1" + path));
    QCOMPARE(Cap_getNumFormats(context.get(), 0), 2);
    CapFormatInfo info{};
    QCOMPARE(Cap_getFormatInfo(context.get(), 0, 1, &info), CapResult(CAPRESULT_OK));
    QCOMPARE(info.fourcc, uint32_t(V4L2_PIX_FMT_YUYV));
    QCOMPARE(info.width, 64u);
    QCOMPARE(info.fps, 30u);
    QCOMPARE(info.bpp, 16u);
}

void TestV4l2Library::streamThroughTheInterface()
{
    ContextPtr owner(Cap_createContext());
    CapContext context = owner.get();
    const CapStream stream = Cap_openStream(context, 0, 1);
    QVERIFY(stream >= 0);
    QCOMPARE(Cap_hasNewFrame(context, stream), 0u);

    QVERIFY(io->deliver(path, std::vector<uint8_t>(64 * 48 * 2, 0x80)));
    QCOMPARE(Cap_hasNewFrame(context, stream), 1u);
    std::vector<uint8_t> rgb(64 * 48 * 3);
    // A buffer of the wrong size is refused before the frame is taken.
    QVERIFY(Cap_captureFrame(context, stream, rgb.data(), uint32_t(rgb.size() - 1)) != 0);
    QCOMPARE(Cap_hasNewFrame(context, stream), 1u);
    QCOMPARE(Cap_captureFrame(context, stream, rgb.data(), uint32_t(rgb.size())),
             CapResult(CAPRESULT_OK));
    QCOMPARE(Cap_getStreamFrameCount(context, stream), 1u);

    // The camera's connection watch: the brightness limits answer until the device goes.
    int32_t min = 0, max = 0, def = 0;
    QCOMPARE(Cap_getPropertyLimits(context, stream, CAPPROPID_BRIGHTNESS, &min, &max, &def),
             CapResult(CAPRESULT_OK));
    QCOMPARE(max, 64);
    io->unplug(path);
    QVERIFY(Cap_getPropertyLimits(context, stream, CAPPROPID_BRIGHTNESS, &min, &max, &def) != 0);
    QVERIFY(Cap_captureFrame(context, stream, rgb.data(), uint32_t(rgb.size())) != 0);
    QCOMPARE(Cap_closeStream(context, stream), CapResult(CAPRESULT_OK));
}

void TestV4l2Library::realDevice()
{
    V4l2Backend::resetDefaultSource();
    ContextPtr owner(Cap_createContext());
    CapContext context = owner.get();
    QVERIFY(context);
    if (V4l2Backend().enumerateDevices().empty())
        QSKIP("no V4L2 capture device on this machine");
    QVERIFY(Cap_getDeviceName(context, 0));
    QVERIFY(Cap_getNumFormats(context, 0) > 0);
    CapFormatInfo info{};
    QCOMPARE(Cap_getFormatInfo(context, 0, 0, &info), CapResult(CAPRESULT_OK));
    const CapStream stream = Cap_openStream(context, 0, 0);
    QVERIFY2(stream >= 0, "the first mode of the first device does not open (busy?)");

    // Cameras often send a few damaged frames while they settle; one good frame in five seconds.
    std::vector<uint8_t> rgb(size_t(info.width) * info.height * 3);
    bool captured = false;
    QElapsedTimer timer;
    timer.start();
    while (!captured && timer.elapsed() < 5000) {
        if (Cap_hasNewFrame(context, stream))
            captured = Cap_captureFrame(context, stream, rgb.data(), uint32_t(rgb.size())) == 0;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    QVERIFY(captured);
    QCOMPARE(Cap_getStreamFrameCount(context, stream), 1u);
    QCOMPARE(Cap_closeStream(context, stream), CapResult(CAPRESULT_OK));
}

QTEST_GUILESS_MAIN(TestV4l2Library)
#include "tst_v4l2library.moc"
