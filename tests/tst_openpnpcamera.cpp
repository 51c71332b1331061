// OpenPNPCamera against the synthetic cameras: discovery, format lists and image properties.
#include "openpnpcamera.h"
#include "syntheticcontrol.h"

#include <QRegularExpression>
#include <QTest>

#include <iterator>
#include <memory>
#include <vector>

namespace synthetic = ostrel::synthetic;

namespace {

synthetic::FormatSpec mode(uint32_t width, uint32_t height, uint32_t fps, const char *code)
{
    return {width, height, fps, synthetic::fourcc(code)};
}

// Synthetic device indices; the camera sees them after any V4L2 devices of the machine.
enum Device { Alpha, Beta, Empty, Knob, DeviceCount };

const QStringList deviceNames = {"Alpha Cam", "Beta Cam", "Empty Cam", "Knob Cam"};

std::vector<synthetic::DeviceSpec> testDevices()
{
    return {
        {"Alpha Cam",
         {mode(640, 480, 30, "MJPG"), mode(320, 240, 5, "YUYV"), mode(160, 120, 15, "Y8\0\0"),
          mode(64, 48, 30, "RGB3")}},
        {"Beta Cam", {mode(1280, 720, 30, "YUYV"), mode(96, 64, 10, "MJPG")}},
        {"Empty Cam", {}},
        {"Knob Cam", {mode(64, 48, 30, "RGB3")}},
    };
}

QString propertyName(CapPropertyID id)
{
    switch (id) {
    case CAPPROPID_BRIGHTNESS:
        return QStringLiteral("brightness");
    case CAPPROPID_CONTRAST:
        return QStringLiteral("contrast");
    default:
        return QStringLiteral("sharpness");
    }
}

} // namespace

class TestOpenPNPCamera : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void rescanStopsCaptureAndListsTheSameNames();
    void unreadableNameKeepsDevicePositions();
    void noDevicesGiveAnEmptyList();
    void contextFailureLeavesTheCameraInert();
    void openCameraRejectsIndexOutOfRange_data();
    void openCameraRejectsIndexOutOfRange();

    void formatListFollowsTheLibrary();
    void unreadableFormatKeepsLibraryIndices();
    void deviceWithoutFormatsCannotStart();
    void chosenFormatSurvivesOpeningAnotherDevice();

    void writesMapOntoTheDeviceRange_data();
    void writesMapOntoTheDeviceRange();
    void readsMapBackOntoTheScale_data();
    void readsMapBackOntoTheScale();
    void resetsWriteTheDeviceDefault_data();
    void resetsWriteTheDeviceDefault();
    void withoutStreamNothingIsWritten();
    void singlePointRangeKeepsTheCache();

private:
    int cameraIndex(Device device) const { return offset + device; }
    // A camera streaming the first format of the device.
    std::unique_ptr<OpenPNPCamera> startedCamera(Device device) const;

    int offset = 0; // V4L2 devices listed before the synthetic ones
};

void TestOpenPNPCamera::initTestCase()
{
    synthetic::setDevices(testDevices());
    OpenPNPCamera camera;
    offset = int(camera.availableCameras().size()) - DeviceCount;
    QVERIFY(offset >= 0);
}

void TestOpenPNPCamera::init()
{
    synthetic::setDevices(testDevices());
    // The camera reports failures with fixed warnings only; every expected one is announced.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

void TestOpenPNPCamera::cleanupTestCase()
{
    synthetic::resetDevices();
}

std::unique_ptr<OpenPNPCamera> TestOpenPNPCamera::startedCamera(Device device) const
{
    auto camera = std::make_unique<OpenPNPCamera>();
    if (!camera->openCamera(cameraIndex(device)) || !camera->startCapture())
        return nullptr;
    return camera;
}

// ---- Discovery ---------------------------------------------------------------------------------

void TestOpenPNPCamera::rescanStopsCaptureAndListsTheSameNames()
{
    OpenPNPCamera camera;
    QVERIFY(camera.openCamera(cameraIndex(Beta)));
    QVERIFY(camera.startCapture());
    QVERIFY(camera.isCapturing());

    const QStringList first = camera.availableCameras();
    QVERIFY(!camera.isCapturing());
    const QStringList second = camera.availableCameras();

    QCOMPARE(first.mid(offset), deviceNames);
    QCOMPARE(second, first);
    // The chosen device and its formats stay, and streaming works on the fresh context.
    QCOMPARE(camera.currentCameraIndex(), cameraIndex(Beta));
    QCOMPARE(int(camera.supportedFormats().size()), 2);
    QVERIFY(camera.startCapture());
    QTRY_VERIFY(!camera.latestFrame().isNull());
}

void TestOpenPNPCamera::unreadableNameKeepsDevicePositions()
{
    synthetic::setNameUnreadable(Alpha, true);
    OpenPNPCamera camera;
    const QStringList names = camera.availableCameras();

    QCOMPARE(int(names.size()), offset + DeviceCount);
    QCOMPARE(names.at(cameraIndex(Alpha)), QStringLiteral("Camera %1").arg(cameraIndex(Alpha) + 1));
    QCOMPARE(names.mid(cameraIndex(Beta)), deviceNames.mid(Beta));

    // Choosing a name by its list position opens that very device.
    QVERIFY(camera.openCamera(int(names.indexOf(QStringLiteral("Beta Cam")))));
    QCOMPARE(camera.supportedFormats().value(0).width, 1280);
}

void TestOpenPNPCamera::noDevicesGiveAnEmptyList()
{
    synthetic::setDevices({});
    OpenPNPCamera camera;
    QCOMPARE(int(camera.availableCameras().size()), offset);

    QTest::ignoreMessage(
        QtWarningMsg,
        qPrintable(QStringLiteral("Invalid camera index: %1").arg(cameraIndex(Alpha))));
    QVERIFY(!camera.openCamera(cameraIndex(Alpha)));
    QCOMPARE(camera.currentCameraIndex(), -1);
    QVERIFY(!camera.startCapture());
}

void TestOpenPNPCamera::contextFailureLeavesTheCameraInert()
{
    synthetic::failNextCreateContext();
    QTest::ignoreMessage(QtWarningMsg, "Failed to create OpenPNP Capture context");
    OpenPNPCamera camera;
    QVERIFY(!camera.openCamera(cameraIndex(Alpha)));
    QVERIFY(!camera.setFormat(CameraBase::CameraFormat()));
    QVERIFY(!camera.startCapture());
    QCOMPARE(camera.brightness(), 0.0);

    // The next rescan builds a working context.
    QCOMPARE(camera.availableCameras().mid(offset), deviceNames);
    QVERIFY(camera.openCamera(cameraIndex(Knob)));
    QVERIFY(camera.startCapture());

    // A failed rescan ends the running capture and leaves no context behind.
    synthetic::failNextCreateContext();
    QTest::ignoreMessage(QtWarningMsg, "Failed to create OpenPNP Capture context");
    QVERIFY(camera.availableCameras().isEmpty());
    QVERIFY(!camera.isCapturing());
    QVERIFY(!camera.openCamera(cameraIndex(Knob)));
    QVERIFY(!camera.startCapture());
    QCOMPARE(camera.currentCameraIndex(), cameraIndex(Knob));
}

void TestOpenPNPCamera::openCameraRejectsIndexOutOfRange_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("negative") << -1;
    QTest::newRow("one past the last") << offset + int(DeviceCount);
    QTest::newRow("far beyond") << 1000;
}

void TestOpenPNPCamera::openCameraRejectsIndexOutOfRange()
{
    QFETCH(int, index);
    OpenPNPCamera camera;
    QVERIFY(camera.openCamera(cameraIndex(Beta)));
    QVERIFY(camera.startCapture());

    QTest::ignoreMessage(QtWarningMsg,
                         qPrintable(QStringLiteral("Invalid camera index: %1").arg(index)));
    QVERIFY(!camera.openCamera(index));

    // Only the running capture is gone.
    QVERIFY(!camera.isCapturing());
    QCOMPARE(camera.currentCameraIndex(), cameraIndex(Beta));
    QCOMPARE(int(camera.supportedFormats().size()), 2);
}

// ---- Formats -----------------------------------------------------------------------------------

void TestOpenPNPCamera::formatListFollowsTheLibrary()
{
    struct Expected
    {
        int width;
        int height;
        double fps;
        const char *code;
        const char *description;
    };
    const Expected expected[] = {
        {640, 480, 30.0, "MJPG", "640x480 @ 30.0 fps (MJPG)"},
        {320, 240, 5.0, "YUYV", "320x240 @ 5.0 fps (YUYV)"},
        // The code text ends at its first zero byte.
        {160, 120, 15.0, "Y8\0\0", "160x120 @ 15.0 fps (Y8)"},
        {64, 48, 30.0, "RGB3", "64x48 @ 30.0 fps (RGB3)"},
    };

    OpenPNPCamera camera;
    QVERIFY(camera.openCamera(cameraIndex(Alpha)));
    const QList<CameraBase::CameraFormat> formats = camera.supportedFormats();
    QCOMPARE(int(formats.size()), int(std::size(expected)));
    for (int i = 0; i < int(formats.size()); ++i) {
        const CameraBase::CameraFormat &format = formats.at(i);
        QCOMPARE(format.width, expected[i].width);
        QCOMPARE(format.height, expected[i].height);
        QCOMPARE(format.fps, expected[i].fps);
        QCOMPARE(format.fourcc, synthetic::fourcc(expected[i].code));
        QCOMPARE(format.formatIndex, i);
        QCOMPARE(format.description, QString::fromLatin1(expected[i].description));
    }
}

void TestOpenPNPCamera::unreadableFormatKeepsLibraryIndices()
{
    synthetic::setFormatUnreadable(Alpha, 1, true);
    OpenPNPCamera camera;
    QVERIFY(camera.openCamera(cameraIndex(Alpha)));
    const QList<CameraBase::CameraFormat> formats = camera.supportedFormats();
    QCOMPARE(int(formats.size()), 3);
    QCOMPARE(formats.at(0).formatIndex, 0);
    QCOMPARE(formats.at(1).formatIndex, 2);
    QCOMPARE(formats.at(2).formatIndex, 3);

    // The stream opens the library's format 2, not its list position 1.
    QVERIFY(camera.setFormat(formats.at(1)));
    QVERIFY(camera.startCapture());
    QTRY_VERIFY(!camera.latestFrame().isNull());
    QCOMPARE(camera.latestFrame().size(), QSize(160, 120));
}

void TestOpenPNPCamera::deviceWithoutFormatsCannotStart()
{
    OpenPNPCamera camera;
    QVERIFY(camera.openCamera(cameraIndex(Empty)));
    QVERIFY(camera.supportedFormats().isEmpty());

    QTest::ignoreMessage(QtWarningMsg, "No formats available");
    QVERIFY(!camera.startCapture());
    QVERIFY(!camera.isCapturing());
    QCOMPARE(camera.currentFormat().formatIndex, -1);
}

void TestOpenPNPCamera::chosenFormatSurvivesOpeningAnotherDevice()
{
    OpenPNPCamera camera;
    QVERIFY(camera.openCamera(cameraIndex(Alpha)));
    const CameraBase::CameraFormat alphaFormat = camera.supportedFormats().at(1);
    QVERIFY(camera.setFormat(alphaFormat));

    QVERIFY(camera.openCamera(cameraIndex(Beta)));
    QCOMPARE(camera.currentFormat().description, alphaFormat.description);
    QCOMPARE(camera.currentFormat().formatIndex, alphaFormat.formatIndex);

    const CameraBase::CameraFormat betaFormat = camera.supportedFormats().at(1);
    QVERIFY(camera.setFormat(betaFormat));
    QCOMPARE(camera.currentFormat().description, betaFormat.description);
}

// ---- Image properties --------------------------------------------------------------------------

void TestOpenPNPCamera::writesMapOntoTheDeviceRange_data()
{
    QTest::addColumn<CapPropertyID>("property");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("raw");

    const CapPropertyID b = CAPPROPID_BRIGHTNESS;
    const CapPropertyID c = CAPPROPID_CONTRAST;
    const CapPropertyID s = CAPPROPID_SHARPNESS;
    QTest::newRow("brightness middle") << b << -64 << 64 << 0.0 << 0;
    QTest::newRow("brightness bottom") << b << -64 << 64 << -50.0 << -64;
    QTest::newRow("brightness top") << b << -64 << 64 << 50.0 << 64;
    QTest::newRow("brightness quarter") << b << -64 << 64 << 25.0 << 32;
    // The value is truncated before scaling: -49 steps, 128 / 100 = 1.
    QTest::newRow("brightness truncated first") << b << -64 << 64 << -49.9 << -63;
    // Scaled in integers: 95 * 62 / 100 = 58, where scaling 62.7 would give 59.
    QTest::newRow("brightness integer scaling") << b << 0 << 95 << 12.7 << 58;
    QTest::newRow("contrast middle") << c << 0 << 95 << 1.0 << 47;
    // -4.5 goes toward zero, not down.
    QTest::newRow("contrast toward zero") << c << -10 << 10 << 0.55 << -4;
    QTest::newRow("sharpness") << s << 0 << 7 << 2.5 << 3;
    QTest::newRow("sharpness toward zero") << s << -10 << 10 << 1.2 << -5;
}

void TestOpenPNPCamera::writesMapOntoTheDeviceRange()
{
    QFETCH(CapPropertyID, property);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(double, value);
    QFETCH(int, raw);

    synthetic::setPropertyLimits(Knob, property, min, max, min);
    const auto camera = startedCamera(Knob);
    QVERIFY(camera);
    const synthetic::PropertyState before = synthetic::propertyState(Knob, property);

    // Twice with the same value: each write is followed by its own automatic-off request.
    for (int i = 0; i < 2; ++i) {
        if (property == CAPPROPID_BRIGHTNESS)
            camera->setBrightness(value);
        else if (property == CAPPROPID_CONTRAST)
            camera->setContrast(value);
        else
            camera->setSharpness(value);
    }

    const synthetic::PropertyState after = synthetic::propertyState(Knob, property);
    QCOMPARE(after.value, raw);
    QCOMPARE(after.setCount, before.setCount + 2);
    QCOMPARE(after.autoOffCount, before.autoOffCount + 2);
    QVERIFY(!after.automatic);
}

void TestOpenPNPCamera::readsMapBackOntoTheScale_data()
{
    QTest::addColumn<CapPropertyID>("property");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("raw");
    QTest::addColumn<double>("expected");

    QTest::newRow("brightness quarter")
        << CapPropertyID(CAPPROPID_BRIGHTNESS) << -64 << 64 << 32 << 25.0;
    QTest::newRow("brightness bottom")
        << CapPropertyID(CAPPROPID_BRIGHTNESS) << 0 << 95 << 0 << -50.0;
    QTest::newRow("contrast") << CapPropertyID(CAPPROPID_CONTRAST) << 0 << 95 << 47
                              << 47.0 / 95.0 * 2.0;
    QTest::newRow("contrast bottom")
        << CapPropertyID(CAPPROPID_CONTRAST) << -10 << 10 << -10 << 0.0;
}

void TestOpenPNPCamera::readsMapBackOntoTheScale()
{
    QFETCH(CapPropertyID, property);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, raw);
    QFETCH(double, expected);

    synthetic::setPropertyLimits(Knob, property, min, max, min);
    synthetic::setPropertyValue(Knob, property, raw);
    const auto camera = startedCamera(Knob);
    QVERIFY(camera);
    const double read =
        property == CAPPROPID_BRIGHTNESS ? camera->brightness() : camera->contrast();
    QCOMPARE(read, expected);

    // What was read is what the camera answers once the device no longer does.
    synthetic::setPlugged(Knob, false);
    QCOMPARE(property == CAPPROPID_BRIGHTNESS ? camera->brightness() : camera->contrast(),
             expected);
}

void TestOpenPNPCamera::resetsWriteTheDeviceDefault_data()
{
    QTest::addColumn<CapPropertyID>("property");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("def");
    QTest::addColumn<double>("cached");

    QTest::newRow("brightness") << CapPropertyID(CAPPROPID_BRIGHTNESS) << -64 << 64 << 10
                                << 74.0 / 128.0 * 100.0 - 50.0;
    QTest::newRow("contrast") << CapPropertyID(CAPPROPID_CONTRAST) << 0 << 95 << 32
                              << 32.0 / 95.0 * 2.0;
}

void TestOpenPNPCamera::resetsWriteTheDeviceDefault()
{
    QFETCH(CapPropertyID, property);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, def);
    QFETCH(double, cached);

    synthetic::setPropertyLimits(Knob, property, min, max, def);
    synthetic::setPropertyValue(Knob, property, max);
    const auto camera = startedCamera(Knob);
    QVERIFY(camera);
    const synthetic::PropertyState before = synthetic::propertyState(Knob, property);

    if (property == CAPPROPID_BRIGHTNESS)
        camera->resetBrightness();
    else
        camera->resetContrast();

    const synthetic::PropertyState after = synthetic::propertyState(Knob, property);
    QCOMPARE(after.value, def);
    QCOMPARE(after.autoOffCount, before.autoOffCount + 1);
    camera->stopCapture();
    QCOMPARE(property == CAPPROPID_BRIGHTNESS ? camera->brightness() : camera->contrast(), cached);
}

void TestOpenPNPCamera::withoutStreamNothingIsWritten()
{
    const CapPropertyID properties[] = {CAPPROPID_BRIGHTNESS, CAPPROPID_CONTRAST,
                                        CAPPROPID_SHARPNESS};
    std::vector<synthetic::PropertyState> before;
    for (CapPropertyID id : properties)
        before.push_back(synthetic::propertyState(Knob, id));

    OpenPNPCamera camera;
    QVERIFY(camera.openCamera(cameraIndex(Knob)));
    camera.setBrightness(10.0);
    camera.setContrast(1.5);
    camera.setSharpness(4.0);
    camera.resetBrightness();
    camera.resetContrast();

    for (size_t i = 0; i < std::size(properties); ++i) {
        const synthetic::PropertyState after = synthetic::propertyState(Knob, properties[i]);
        QVERIFY2(after.setCount == before[i].setCount, qPrintable(propertyName(properties[i])));
        QVERIFY2(after.autoOffCount == before[i].autoOffCount,
                 qPrintable(propertyName(properties[i])));
    }
    QCOMPARE(camera.brightness(), 0.0);
    QCOMPARE(camera.contrast(), 1.0);

    // A value written while streaming outlives the stream.
    QVERIFY(camera.startCapture());
    camera.setBrightness(10.0);
    camera.stopCapture();
    QCOMPARE(camera.brightness(), 10.0);
}

void TestOpenPNPCamera::singlePointRangeKeepsTheCache()
{
    synthetic::setPropertyLimits(Knob, CAPPROPID_BRIGHTNESS, 5, 5, 5);
    synthetic::setPropertyLimits(Knob, CAPPROPID_CONTRAST, 5, 5, 5);
    const auto camera = startedCamera(Knob);
    QVERIFY(camera);

    camera->setBrightness(20.0);
    camera->setContrast(1.5);
    QCOMPARE(synthetic::propertyState(Knob, CAPPROPID_BRIGHTNESS).value, 5);
    QCOMPARE(synthetic::propertyState(Knob, CAPPROPID_CONTRAST).value, 5);
    QCOMPARE(camera->brightness(), 20.0);
    QCOMPARE(camera->contrast(), 1.5);

    const int brightnessWrites = synthetic::propertyState(Knob, CAPPROPID_BRIGHTNESS).setCount;
    camera->resetBrightness();
    camera->resetContrast();
    QCOMPARE(synthetic::propertyState(Knob, CAPPROPID_BRIGHTNESS).setCount, brightnessWrites + 1);
    camera->stopCapture();
    QCOMPARE(camera->brightness(), 20.0);
    QCOMPARE(camera->contrast(), 1.5);
}

QTEST_GUILESS_MAIN(TestOpenPNPCamera)
#include "tst_openpnpcamera.moc"
