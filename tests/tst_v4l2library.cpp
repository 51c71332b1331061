// The V4L2 backend seen through the capture library's C interface and the camera above it:
// where its devices appear in a context and which controls a real camera's listing gives. Plus
// one run against a real node, when this machine has one.
#include "fakev4l2device.h"
#include "openpnpcamera.h"
#include "synthetic/syntheticcontrol.h"
#include "testsupport/capturetesthelpers.h"
#include "v4l2/v4l2backend.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMetaEnum>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

using capturetest::ContextPtr;
using ostrel::capture::V4l2Backend;

class TestV4l2Library : public QObject
{
    Q_OBJECT

private slots:
    void v4l2DevicesComeBeforeSyntheticOnes();
    void offersTheControlsOfRealCameras_data();
    void offersTheControlsOfRealCameras();
    void realDevice();
};

void TestV4l2Library::v4l2DevicesComeBeforeSyntheticOnes()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("video0").toStdString();
    QVERIFY(QFile(dir.filePath("video0")).open(QIODevice::WriteOnly));
    auto io = std::make_shared<FakeV4l2Device>();
    io->addNode(path, FakeV4l2Device::uvcCamera());
    V4l2Backend::setDefaultSource(io, dir.path().toStdString());
    ostrel::synthetic::setDevices(
        {{"Synthetic A", {{64, 48, 30, ostrel::synthetic::fourcc("YUYV")}}}});
    {
        ContextPtr context(Cap_createContext());
        QVERIFY(context);
        QCOMPARE(Cap_getDeviceCount(context.get()), 2u);
        QCOMPARE(QString(Cap_getDeviceName(context.get(), 0)), QString("Fake UVC Camera"));
        QCOMPARE(QString(Cap_getDeviceName(context.get(), 1)), QString("Synthetic A"));
        QCOMPARE(Cap_getNumFormats(context.get(), 0), 2);
        const CapStream stream = Cap_openStream(context.get(), 0, 1);
        QVERIFY(stream >= 0);
        QCOMPARE(Cap_closeStream(context.get(), stream), CapResult(CAPRESULT_OK));
    }
    V4l2Backend::resetDefaultSource();
    ostrel::synthetic::resetDevices();
    QCOMPARE(io->openCount(), 0);
}

void TestV4l2Library::offersTheControlsOfRealCameras_data()
{
    QTest::addColumn<QString>("listing");
    QTest::addColumn<QString>("properties");
    QTest::newRow("laptop camera")
        << "laptop-integrated-camera.txt"
        << "Exposure 2..1250 (156) auto, WhiteBalance 2800..6500 (4600) auto, Brightness 0..255 "
           "(128), Contrast 0..100 (32), Saturation 0..100 (64), Gamma 90..150 (120), Hue "
           "-180..180 (0), Sharpness 0..7 (3), BacklightCompensation 0..2 (1), "
           "PowerLineFrequency 0..2 (1)";
    QTest::newRow("Logitech C920")
        << "logitech-c920-controls.txt"
        << "Exposure 3..2047 (250) auto, Focus 0..250 (0) auto, Zoom 100..500 (100), WhiteBalance "
           "2000..6500 (4000) auto, Gain 0..255 (0), Brightness 0..255 (128), Contrast 0..255 "
           "(128), Saturation 0..255 (128), Sharpness 0..255 (128), BacklightCompensation 0..1 "
           "(0), PowerLineFrequency 0..2 (2)";
}

void TestV4l2Library::offersTheControlsOfRealCameras()
{
    QFETCH(QString, listing);
    QFETCH(QString, properties);
    QFile controls(QFINDTESTDATA("data/" + listing));
    QFile formats(QFINDTESTDATA("data/etron-usb2-camera.txt"));
    QVERIFY(controls.open(QIODevice::ReadOnly) && formats.open(QIODevice::ReadOnly));
    QTemporaryDir dir;
    QVERIFY(QFile(dir.filePath("video0")).open(QIODevice::WriteOnly));
    auto io = std::make_shared<FakeV4l2Device>();
    io->addNode(dir.filePath("video0").toStdString(),
                FakeV4l2Device::fromListing(formats.readAll().toStdString(),
                                            controls.readAll().toStdString()));
    V4l2Backend::setDefaultSource(io, dir.path().toStdString());
    ostrel::synthetic::setDevices({});
    QStringList offered;
    {
        OpenPNPCamera camera;
        QCOMPARE(camera.availableCameras().size(), 1);
        QVERIFY(camera.openCamera(0) && camera.startCapture());
        for (const CameraBase::PropertyRange &p : camera.properties())
            offered << QStringLiteral("%1 %2..%3 (%4)%5")
                           .arg(QMetaEnum::fromType<CameraBase::Property>().valueToKey(
                               int(p.property)))
                           .arg(p.min)
                           .arg(p.max)
                           .arg(p.def)
                           .arg(p.hasAuto ? " auto" : "");
    }
    V4l2Backend::resetDefaultSource();
    ostrel::synthetic::resetDevices();
    QCOMPARE(offered.join(", "), properties);
}

void TestV4l2Library::realDevice()
{
    ContextPtr owner(Cap_createContext());
    CapContext context = owner.get();
    QVERIFY(context);
    if (V4l2Backend().enumerateDevices().empty())
        QSKIP("no V4L2 capture device on this machine");
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
    QCOMPARE(Cap_closeStream(context, stream), CapResult(CAPRESULT_OK));
}

QTEST_GUILESS_MAIN(TestV4l2Library)
#include "tst_v4l2library.moc"
