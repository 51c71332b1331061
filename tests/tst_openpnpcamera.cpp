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
          mode(160, 120, 15, "Y8\0\0"), mode(64, 48, 30, "RGB3")}},
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

    void formatListFollowsTheLibrary()
    {
        OpenPNPCamera camera;
        QVERIFY(camera.openCamera(cameraIndex(Alpha)));
        QStringList descriptions;
        for (const CameraBase::CameraFormat &format : camera.supportedFormats())
            descriptions << format.description;
        // The code text ends at its first zero byte.
        QCOMPARE(descriptions, QStringList({"640x480 @ 30.0 fps (MJPG)", "320x240 @ 7.5 fps (YUYV)",
                                            "160x120 @ 15.0 fps (Y8)", "64x48 @ 30.0 fps (RGB3)"}));
        QCOMPARE(camera.supportedFormats().at(2).fourcc, synthetic::fourcc("Y8\0\0"));
    }

    void unreadableFormatKeepsLibraryIndices()
    {
        synthetic::setFormatUnreadable(Alpha, 1, true);
        OpenPNPCamera camera;
        QVERIFY(camera.openCamera(cameraIndex(Alpha)));
        const QList<CameraBase::CameraFormat> formats = camera.supportedFormats();
        QCOMPARE(int(formats.size()), 3);
        QCOMPARE(formats.at(1).formatIndex, 2);
        QCOMPARE(formats.at(2).formatIndex, 3);

        // The stream opens the library's format 2, not its list position 1.
        QVERIFY(camera.setFormat(formats.at(1)));
        QVERIFY(camera.startCapture());
        QTRY_VERIFY(!camera.latestFrame().isNull());
        QCOMPARE(camera.latestFrame().size(), QSize(160, 120));
    }

    void writesMapOntoTheDeviceRange_data()
    {
        QTest::addColumn<CapPropertyID>("property");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("raw");

        const CapPropertyID b = CAPPROPID_BRIGHTNESS;
        const CapPropertyID c = CAPPROPID_CONTRAST;
        const CapPropertyID s = CAPPROPID_SHARPNESS;
        QTest::newRow("brightness bottom") << b << -64 << 64 << -50.0 << -64;
        QTest::newRow("brightness top") << b << -64 << 64 << 50.0 << 64;
        // The value is truncated before scaling: -49 steps, 128 / 100 = 1.
        QTest::newRow("brightness truncated first") << b << -64 << 64 << -49.9 << -63;
        // Scaled in integers: 95 * 62 / 100 = 58, where scaling 62.7 would give 59.
        QTest::newRow("brightness integer scaling") << b << 0 << 95 << 12.7 << 58;
        // -4.5 goes toward zero, not down.
        QTest::newRow("contrast toward zero") << c << -10 << 10 << 0.55 << -4;
        QTest::newRow("sharpness toward zero") << s << -10 << 10 << 1.2 << -5;
    }

    void writesMapOntoTheDeviceRange()
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
        writeProperty(*camera, property, value);
        writeProperty(*camera, property, value);

        const synthetic::PropertyState after = synthetic::propertyState(Knob, property);
        QCOMPARE(after.value, raw);
        QCOMPARE(after.setCount, before.setCount + 2);
        QCOMPARE(after.autoOffCount, before.autoOffCount + 2);
        QVERIFY(!after.automatic);
    }

    void readsAndResetsMapBackOntoTheScale_data()
    {
        QTest::addColumn<CapPropertyID>("property");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("raw");
        QTest::addColumn<double>("read");
        QTest::addColumn<int>("def");
        QTest::addColumn<double>("afterReset");

        const CapPropertyID b = CAPPROPID_BRIGHTNESS;
        const CapPropertyID c = CAPPROPID_CONTRAST;
        QTest::newRow("brightness -64..64")
            << b << -64 << 64 << 32 << 25.0 << 10 << 74.0 / 128.0 * 100.0 - 50.0;
        QTest::newRow("contrast 0..95")
            << c << 0 << 95 << 47 << 47.0 / 95.0 * 2.0 << 32 << 32.0 / 95.0 * 2.0;
        QTest::newRow("contrast -10..10") << c << -10 << 10 << -10 << 0.0 << 0 << 1.0;
    }

    // What was read or reset last is what the camera answers once no stream runs.
    void readsAndResetsMapBackOntoTheScale()
    {
        QFETCH(CapPropertyID, property);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, raw);
        QFETCH(double, read);
        QFETCH(int, def);
        QFETCH(double, afterReset);

        synthetic::setPropertyLimits(Knob, property, min, max, def);
        synthetic::setPropertyValue(Knob, property, raw);
        const auto camera = startedCamera(Knob);
        QVERIFY(camera);
        QCOMPARE(readProperty(*camera, property), read);

        property == CAPPROPID_BRIGHTNESS ? camera->resetBrightness() : camera->resetContrast();
        QCOMPARE(synthetic::propertyState(Knob, property).value, def);
        camera->stopCapture();
        QCOMPARE(readProperty(*camera, property), afterReset);
    }

    void withoutStreamNothingIsWritten()
    {
        const CapPropertyID properties[] = {CAPPROPID_BRIGHTNESS, CAPPROPID_CONTRAST,
                                            CAPPROPID_SHARPNESS};
        auto deviceCalls = [&properties] {
            int calls = 0;
            for (CapPropertyID id : properties)
                calls += synthetic::propertyState(Knob, id).setCount +
                         synthetic::propertyState(Knob, id).autoOffCount;
            return calls;
        };
        const int before = deviceCalls();

        OpenPNPCamera camera;
        QVERIFY(camera.openCamera(cameraIndex(Knob)));
        camera.setBrightness(10.0);
        camera.setContrast(1.5);
        camera.setSharpness(4.0);
        camera.resetBrightness();
        camera.resetContrast();
        QCOMPARE(deviceCalls(), before);
        QCOMPARE(camera.brightness(), 0.0);
        QCOMPARE(camera.contrast(), 1.0);
    }

    // A value set by hand ends the automatic mode first: the camera refuses it otherwise.
    void manualValueTurnsAutomaticOff()
    {
        using P = CameraBase::Property;
        const auto camera = startedCamera(Knob);
        QVERIFY(camera);
        QStringList offered;
        for (const CameraBase::PropertyRange &p : camera->properties())
            offered << QString::number(int(p.property)) + (p.hasAuto ? "a" : "");
        QCOMPARE(offered, QStringList({"1a", "4a", "5", "6", "7", "8", "11"}));
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
