// OpenPNPCamera against the synthetic cameras: discovery, format lists and image properties.
#include "openpnpcamera.h"
#include "syntheticcontrol.h"

#include <QRegularExpression>
#include <QTest>

#include <memory>
#include <vector>

namespace synthetic = ostrel::synthetic;
using ostrel::synthetic::mode;

namespace {

// Synthetic device indices; the camera lists them after any V4L2 devices of the machine.
enum Device { Alpha, Beta, Knob, DeviceCount };

const QStringList deviceNames = {"Alpha Cam", "Beta Cam", "Knob Cam"};

std::vector<synthetic::DeviceSpec> testDevices()
{
    return {
        {"Alpha Cam",
         {mode(640, 480, 30, "MJPG"), mode(320, 240, 5, "YUYV"), mode(160, 120, 15, "Y8\0\0"),
          mode(64, 48, 30, "RGB3")}},
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

void resetProperty(OpenPNPCamera &camera, CapPropertyID id)
{
    id == CAPPROPID_BRIGHTNESS ? camera.resetBrightness() : camera.resetContrast();
}

} // namespace

class TestOpenPNPCamera : public QObject
{
    Q_OBJECT

    int cameraIndex(Device device) const { return offset + device; }
    int offset = 0; // V4L2 devices listed before the synthetic ones

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
        synthetic::setDevices(testDevices());
        OpenPNPCamera camera;
        offset = int(camera.availableCameras().size()) - DeviceCount;
        QVERIFY(offset >= 0);
    }

    void init()
    {
        synthetic::setDevices(testDevices());
        // The camera reports failures with fixed warnings only; every expected one is announced.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    }

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
        // The chosen device and its formats stay, and streaming works on the fresh context.
        QCOMPARE(camera.currentCameraIndex(), cameraIndex(Beta));
        QCOMPARE(int(camera.supportedFormats().size()), 2);
        QVERIFY(camera.startCapture());
        QTRY_VERIFY(!camera.latestFrame().isNull());

        // Asking for a device that is not there ends only the running capture.
        QTest::ignoreMessage(QtWarningMsg, "Invalid camera index: -1");
        QVERIFY(!camera.openCamera(-1));
        QVERIFY(!camera.isCapturing());
        QCOMPARE(camera.currentCameraIndex(), cameraIndex(Beta));
        QCOMPARE(int(camera.supportedFormats().size()), 2);
    }

    void unreadableNameKeepsDevicePositions()
    {
        synthetic::setNameUnreadable(Alpha, true);
        OpenPNPCamera camera;
        const QStringList names = camera.availableCameras();

        QCOMPARE(int(names.size()), offset + DeviceCount);
        QCOMPARE(names.at(cameraIndex(Alpha)),
                 QStringLiteral("Camera %1").arg(cameraIndex(Alpha) + 1));
        QCOMPARE(names.mid(cameraIndex(Beta)), deviceNames.mid(Beta));
        // Choosing a name by its list position opens that very device.
        QVERIFY(camera.openCamera(int(names.indexOf(QStringLiteral("Beta Cam")))));
        QCOMPARE(camera.supportedFormats().value(0).width, 1280);
    }

    void noDevicesGiveAnEmptyList()
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

    void contextFailureLeavesTheCameraInert()
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

    void formatListFollowsTheLibrary()
    {
        const auto fourcc = synthetic::fourcc;
        const QList<CameraBase::CameraFormat> expected = {
            {640, 480, 30.0, fourcc("MJPG"), 0, "640x480 @ 30.0 fps (MJPG)"},
            {320, 240, 5.0, fourcc("YUYV"), 1, "320x240 @ 5.0 fps (YUYV)"},
            // The code text ends at its first zero byte.
            {160, 120, 15.0, fourcc("Y8\0\0"), 2, "160x120 @ 15.0 fps (Y8)"},
            {64, 48, 30.0, fourcc("RGB3"), 3, "64x48 @ 30.0 fps (RGB3)"},
        };
        OpenPNPCamera camera;
        QVERIFY(camera.openCamera(cameraIndex(Alpha)));
        const QList<CameraBase::CameraFormat> formats = camera.supportedFormats();
        QCOMPARE(formats, expected); // size, rate and code
        for (int i = 0; i < int(formats.size()); ++i) {
            QCOMPARE(formats[i].formatIndex, expected[i].formatIndex);
            QCOMPARE(formats[i].description, expected[i].description);
        }
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

    void chosenFormatSurvivesOpeningAnotherDevice()
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
        QTest::newRow("brightness 0..95") << b << 0 << 95 << 0 << -50.0 << 95 << 50.0;
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
        camera->stopCapture();
        QCOMPARE(readProperty(*camera, property), read);

        QVERIFY(camera->startCapture());
        const synthetic::PropertyState before = synthetic::propertyState(Knob, property);
        resetProperty(*camera, property);
        const synthetic::PropertyState after = synthetic::propertyState(Knob, property);
        QCOMPARE(after.value, def);
        QCOMPARE(after.autoOffCount, before.autoOffCount + 1);
        camera->stopCapture();
        QCOMPARE(readProperty(*camera, property), afterReset);
    }

    void withoutStreamNothingIsWritten()
    {
        const CapPropertyID properties[] = {CAPPROPID_BRIGHTNESS, CAPPROPID_CONTRAST,
                                            CAPPROPID_SHARPNESS};
        auto deviceCalls = [&properties] {
            QList<int> calls;
            for (CapPropertyID id : properties)
                calls << synthetic::propertyState(Knob, id).setCount
                      << synthetic::propertyState(Knob, id).autoOffCount;
            return calls;
        };
        const QList<int> before = deviceCalls();

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

        // A value written while streaming outlives the stream.
        QVERIFY(camera.startCapture());
        camera.setBrightness(10.0);
        camera.stopCapture();
        QCOMPARE(camera.brightness(), 10.0);
    }

    void singlePointRangeKeepsTheCache()
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

        // A reset still writes the default but leaves the values alone.
        const int brightnessWrites = synthetic::propertyState(Knob, CAPPROPID_BRIGHTNESS).setCount;
        camera->resetBrightness();
        camera->resetContrast();
        QCOMPARE(synthetic::propertyState(Knob, CAPPROPID_BRIGHTNESS).setCount,
                 brightnessWrites + 1);
        camera->stopCapture();
        QCOMPARE(camera->brightness(), 20.0);
        QCOMPARE(camera->contrast(), 1.5);
    }
};

QTEST_GUILESS_MAIN(TestOpenPNPCamera)
#include "tst_openpnpcamera.moc"
