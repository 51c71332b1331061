// The V4L2 backend seen through the capture library's C interface: where its devices appear in
// a context, and the calls the camera layer makes on a stream. Plus one run against a real
// node, when this machine has one.
#include "capture.h"
#include "fakev4l2device.h"
#include "syntheticcontrol.h"
#include "v4l2backend.h"

#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

using ostrel::capture::V4l2Backend;

namespace {

FakeV4l2Device::Node yuyvCamera()
{
    FakeV4l2Device::Node node;
    node.card = "Fake UVC Camera";
    node.busInfo = "usb-0000:00:14.0-4";
    v4l2_frmsizeenum size{};
    size.type = V4L2_FRMSIZE_TYPE_DISCRETE;
    size.discrete = {32, 16};
    v4l2_frmivalenum interval{};
    interval.type = V4L2_FRMIVAL_TYPE_DISCRETE;
    interval.discrete = {1, 30};
    node.formats = {{V4L2_PIX_FMT_YUYV, {size}, {interval}}};
    FakeV4l2Device::Control brightness;
    brightness.query.id = V4L2_CID_BRIGHTNESS;
    brightness.query.type = V4L2_CTRL_TYPE_INTEGER;
    brightness.query.minimum = -64;
    brightness.query.maximum = 64;
    node.controls[V4L2_CID_BRIGHTNESS] = brightness;
    return node;
}

} // namespace

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
    io->addNode(path, yuyvCamera());
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
    CapContext context = Cap_createContext();
    QVERIFY(context);
    QCOMPARE(Cap_getDeviceCount(context), 2u);
    QCOMPARE(QString(Cap_getDeviceName(context, 0)), QString("Fake UVC Camera"));
    QCOMPARE(QString(Cap_getDeviceName(context, 1)), QString("Synthetic A"));
    QCOMPARE(QString(Cap_getDeviceUniqueID(context, 0)),
             QString::fromStdString("usb-0000:00:14.0-4" + path));
    QCOMPARE(Cap_getNumFormats(context, 0), 1);
    CapFormatInfo info{};
    QCOMPARE(Cap_getFormatInfo(context, 0, 0, &info), CapResult(CAPRESULT_OK));
    QCOMPARE(info.fourcc, uint32_t(V4L2_PIX_FMT_YUYV));
    QCOMPARE(info.width, 32u);
    QCOMPARE(info.fps, 30u);
    QCOMPARE(info.bpp, 16u);
    Cap_releaseContext(context);
}

void TestV4l2Library::streamThroughTheInterface()
{
    CapContext context = Cap_createContext();
    QVERIFY(context);
    const CapStream stream = Cap_openStream(context, 0, 0);
    QVERIFY(stream >= 0);
    QCOMPARE(Cap_hasNewFrame(context, stream), 0u);

    QVERIFY(io->deliver(path, std::vector<uint8_t>(32 * 16 * 2, 0x80)));
    QCOMPARE(Cap_hasNewFrame(context, stream), 1u);
    std::vector<uint8_t> rgb(32 * 16 * 3);
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
    Cap_releaseContext(context);
}

void TestV4l2Library::realDevice()
{
    V4l2Backend::resetDefaultSource();
    CapContext context = Cap_createContext();
    QVERIFY(context);
    const auto cleanup = qScopeGuard([&] { Cap_releaseContext(context); });
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
