// OpenPNPCamera against the synthetic cameras: discovery, format lists and image properties.
#include "testsupport/syntheticcameratest.h"

#include <memory>

namespace synthetic = ostrel::synthetic;
using ostrel::synthetic::mode;

namespace {

enum Device { Alpha, Beta, Knob };

const QStringList deviceNames = {"Alpha Cam", "Beta Cam", "Knob Cam"};

std::vector<synthetic::DeviceSpec> testDevices()
{
    return {
        {"Alpha Cam",
         {mode(640, 480, 30, "MJPG"),
          synthetic::FormatSpec{320, 240, 15, synthetic::fourcc("YUYV"), 2},
          mode(64, 48, 30, "RGB3"), mode(160, 120, 15, "Y8\0\0")}},
        {"Beta Cam", {mode(1280, 720, 30, "YUYV"), mode(96, 64, 10, "MJPG")}},
        {"Knob Cam", {mode(64, 48, 30, "RGB3")}},
    };
}

// The camera's own accessors for a property, so that one table serves all three.
void writeProperty(OpenPNPCamera &camera, CapPropertyID id, double value)
{
    id == CAPPROPID_BRIGHTNESS ? camera.setBrightness(value)
    : id == CAPPROPID_CONTRAST ? camera.setContrast(value)
                               : camera.setSharpness(value);
}

double readProperty(OpenPNPCamera &camera, CapPropertyID id)
{
    return id == CAPPROPID_BRIGHTNESS ? camera.brightness() : camera.contrast();
}

} // namespace

class TestOpenPNPCamera : public QObject
{
    Q_OBJECT

    int cameraIndex(Device device) const { return offset + device; }
    int offset = 0;

    std::unique_ptr<OpenPNPCamera> startedCamera(Device device) const
    {
        auto camera = std::make_unique<OpenPNPCamera>();
        if (!camera->openCamera(cameraIndex(device)) || !camera->startCapture())
            return nullptr;
        return camera;
    }

private slots:
    void initTestCase()
    {
        offset = syntheticcameratest::firstSyntheticIndex(testDevices());
        QVERIFY(offset >= 0);
    }
    void init() { syntheticcameratest::startTest(testDevices()); }
    void cleanupTestCase() { synthetic::resetDevices(); }

    void rescanStopsCaptureAndListsTheSameNames()
    {
        OpenPNPCamera camera;
        QVERIFY(camera.openCamera(cameraIndex(Beta)));
        QVERIFY(camera.startCapture());

        const QStringList first = camera.availableCameras();
        QVERIFY(!camera.isCapturing());
        QCOMPARE(first.mid(offset), deviceNames);
        QCOMPARE(camera.availableCameras(), first);
        // The chosen device stays, and streaming works on the fresh context.
        QCOMPARE(camera.currentCameraIndex(), cameraIndex(Beta));
        QVERIFY(camera.startCapture());
        QTRY_VERIFY(!camera.latestFrame().isNull());
    }

    void unreadableNameKeepsDevicePositions()
    {
        synthetic::setNameUnreadable(Alpha, true);
        OpenPNPCamera camera;
        const QStringList names = camera.availableCameras();

        QCOMPARE(names.at(cameraIndex(Alpha)),
                 QStringLiteral("Camera %1").arg(cameraIndex(Alpha) + 1));
        QCOMPARE(names.mid(cameraIndex(Beta)), deviceNames.mid(Beta));
        // Choosing a name by its list position opens that very device.
        QVERIFY(camera.openCamera(int(names.indexOf(QStringLiteral("Beta Cam")))));
        QCOMPARE(camera.supportedFormats().value(0).width, 1280);
    }

    void contextFailureLeavesTheCameraInert()
    {
        synthetic::failNextCreateContext();
        // The library's own line comes through its logging category.
        QTest::ignoreMessage(QtWarningMsg, "Cap_createContext: failed (injected fault)");
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
    }

    // A format the library cannot describe is left out; the others keep their library index.
    void formatListKeepsLibraryIndices()
    {
        synthetic::setFormatUnreadable(Alpha, 2, true);
        OpenPNPCamera camera;
        QVERIFY(camera.openCamera(cameraIndex(Alpha)));
        const QList<CameraBase::CameraFormat> formats = camera.supportedFormats();
        QStringList descriptions;
        for (const CameraBase::CameraFormat &format : formats)
            descriptions << format.description;
        // The code text ends at its first zero byte.
        QCOMPARE(descriptions, QStringList({"640x480 @ 30.0 fps (MJPG)", "320x240 @ 7.5 fps (YUYV)",
                                            "160x120 @ 15.0 fps (Y8)"}));
        QVERIFY(camera.setFormat(formats.at(2)));
        QVERIFY(camera.startCapture());
        QTRY_VERIFY(!camera.latestFrame().isNull());
        QCOMPARE(camera.latestFrame().size(), QSize(160, 120));
    }

    void propertiesMapOntoTheDeviceRange_data()
    {
        QTest::addColumn<CapPropertyID>("property");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("raw");

        const CapPropertyID b = CAPPROPID_BRIGHTNESS;
        const CapPropertyID c = CAPPROPID_CONTRAST;
        QTest::newRow("brightness bottom") << b << -64 << 64 << -50.0 << -64;
        QTest::newRow("brightness top") << b << 0 << 95 << 50.0 << 95;
        QTest::newRow("brightness inside") << b << -64 << 64 << 25.0 << 32;
        QTest::newRow("contrast top") << c << 0 << 95 << 2.0 << 95;
        QTest::newRow("contrast middle") << c << -10 << 10 << 1.0 << 0;
        QTest::newRow("sharpness") << CapPropertyID(CAPPROPID_SHARPNESS) << -10 << 10 << 5.0 << 10;
    }

    // The device's value reads as its place on the camera's scale; a value written lands on
    // the device's range, each write followed by its own automatic-off request.
    void propertiesMapOntoTheDeviceRange()
    {
        QFETCH(CapPropertyID, property);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(double, value);
        QFETCH(int, raw);

        synthetic::setPropertyLimits(Knob, property, min, max, min);
        synthetic::setPropertyValue(Knob, property, raw);
        const auto camera = startedCamera(Knob);
        QVERIFY(camera);
        if (property != CAPPROPID_SHARPNESS) // the camera does not read sharpness
            QCOMPARE(readProperty(*camera, property), value);

        synthetic::setPropertyValue(Knob, property, min);
        const synthetic::PropertyState before = synthetic::propertyState(Knob, property);
        writeProperty(*camera, property, value);
        writeProperty(*camera, property, value);
        const synthetic::PropertyState after = synthetic::propertyState(Knob, property);
        QCOMPARE(after.value, raw);
        QCOMPARE(after.autoOffCount, before.autoOffCount + 2);
    }

    // The device's default is written, and is what the camera answers once no stream runs.
    void resetWritesTheDeviceDefault()
    {
        synthetic::setPropertyLimits(Knob, CAPPROPID_BRIGHTNESS, -64, 64, 32);
        synthetic::setPropertyLimits(Knob, CAPPROPID_CONTRAST, -10, 10, 0);
        const auto camera = startedCamera(Knob);
        QVERIFY(camera);
        camera->setBrightness(-50.0);
        camera->setContrast(2.0);
        camera->resetBrightness();
        camera->resetContrast();
        QCOMPARE(synthetic::propertyState(Knob, CAPPROPID_BRIGHTNESS).value, 32);
        QCOMPARE(synthetic::propertyState(Knob, CAPPROPID_CONTRAST).value, 0);
        camera->stopCapture();
        QCOMPARE(camera->brightness(), 25.0);
        QCOMPARE(camera->contrast(), 1.0);
    }

    // A value set by hand ends the automatic mode first: the camera refuses it otherwise.
    void manualValueTurnsAutomaticOff()
    {
        using P = CameraBase::Property;
        const auto camera = startedCamera(Knob);
        QVERIFY(camera);
        QCOMPARE(camera->propertyAuto(P::Exposure), true);
        QVERIFY(camera->setPropertyValue(P::Exposure, 300));
        QCOMPARE(synthetic::propertyState(Knob, CAPPROPID_EXPOSURE).value, 300);
        QCOMPARE(camera->propertyAuto(P::Exposure), false);
        QVERIFY(camera->setPropertyAuto(P::Exposure, true));
        QCOMPARE(camera->propertyValue(P::Exposure), 300);
        camera->stopCapture();
        QVERIFY(camera->properties().isEmpty());
        QVERIFY(!camera->setPropertyValue(P::Gain, 1));
    }

    // A device range of one point cannot be scaled: the value is cached as given, never NaN.
    void singlePointRangeKeepsTheCache()
    {
        synthetic::setPropertyLimits(Knob, CAPPROPID_BRIGHTNESS, 5, 5, 5);
        synthetic::setPropertyLimits(Knob, CAPPROPID_CONTRAST, 5, 5, 5);
        const auto camera = startedCamera(Knob);
        QVERIFY(camera);

        camera->setBrightness(20.0);
        camera->setContrast(1.5);
        QCOMPARE(synthetic::propertyState(Knob, CAPPROPID_BRIGHTNESS).value, 5);
        QCOMPARE(camera->brightness(), 20.0);
        QCOMPARE(camera->contrast(), 1.5);
        camera->stopCapture();
        QCOMPARE(camera->brightness(), 20.0);
    }
};

QTEST_GUILESS_MAIN(TestOpenPNPCamera)
#include "tst_openpnpcamera.moc"
