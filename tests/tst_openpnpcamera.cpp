// OpenPNPCamera against the synthetic cameras: discovery, format lists, image properties,
// streaming and format changes, the capture thread's callbacks and the connection watch.
#include "controlkeeper.h"
#include "controlprofiles.h"
#include "openpnpcamera.h"
#include "synthetic/syntheticcontrol.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace synthetic = ostrel::synthetic;
using ostrel::synthetic::mode;

namespace {

enum Device { Alpha, Beta, Knob, Stream, NoFormats, Huge, Wide };

const QStringList deviceNames = {"Alpha Cam",  "Beta Cam", "Knob Cam", "Stream Cam",
                                 "No Formats", "Huge Cam", "Wide Cam"};

std::vector<synthetic::DeviceSpec> testDevices()
{
    return {
        {"Alpha Cam",
         {mode(640, 480, 30, "MJPG"),
          synthetic::FormatSpec{320, 240, 15, synthetic::fourcc("YUYV"), 2},
          mode(64, 48, 30, "RGB3"), mode(160, 120, 15, "Y8\0\0")}},
        {"Beta Cam", {mode(1280, 720, 30, "YUYV"), mode(96, 64, 10, "MJPG")}},
        {"Knob Cam", {mode(64, 48, 30, "RGB3")}},
        {"Stream Cam", {mode(160, 120, 30, "RGB3"), mode(96, 64, 30, "RGB3")}},
        {"No Formats", {}},
        // 30000 x 30000 x 3 bytes fits in 32 bits but not in what the program holds.
        {"Huge Cam", {mode(30000, 30000, 1, "MJPG")}},
        // One row of 800 million pixels is wider than an image line can be.
        {"Wide Cam", {mode(800000000, 1, 1, "MJPG")}},
    };
}

// What the callbacks saw; filled on the capture thread, read on the test's thread.
struct CallbackLog
{
    mutable QMutex mutex; // guards everything below
    std::vector<QImage> frames;
    std::vector<double> rates;
    std::vector<std::thread::id> threads; // of every call of any callback
    std::vector<QImage> tapped;           // frames the recording tap received

    int frameCount() const
    {
        QMutexLocker locker(&mutex);
        return int(frames.size());
    }
};

void attach(OpenPNPCamera &camera, CallbackLog &log)
{
    camera.setFrameCallback([&log](const QImage &frame) {
        QMutexLocker locker(&log.mutex);
        log.frames.push_back(frame);
        log.threads.push_back(std::this_thread::get_id());
    });
    camera.setRecordingTap([&log](const QImage &frame, const QByteArray &cameraJpeg, qint64) {
        QMutexLocker locker(&log.mutex);
        log.tapped.push_back(cameraJpeg.isEmpty() ? frame : QImage()); // RGB formats: no JPEG
        log.threads.push_back(std::this_thread::get_id());
    });
    camera.setFpsCallback([&log](double fps) {
        QMutexLocker locker(&log.mutex);
        log.rates.push_back(fps);
        log.threads.push_back(std::this_thread::get_id());
    });
}

QTimer *watchTimer(OpenPNPCamera &camera)
{
    return camera.findChild<QTimer *>();
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
    // The camera lists the synthetic devices after any V4L2 devices of the machine.
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        synthetic::setDevices(testDevices());
        offset = int(OpenPNPCamera().availableCameras().size()) - int(deviceNames.size());
        QVERIFY(offset >= 0);
    }
    // The camera reports failures with fixed warnings only, so any warning a test does not
    // announce fails it.
    void init()
    {
        synthetic::setDevices(testDevices());
        QTest::failOnWarning(QRegularExpression(".*"));
    }
    void cleanupTestCase() { synthetic::resetDevices(); }

    void keepMyValuesPutsChangesBack_data()
    {
        QTest::addColumn<bool>("keep");
        QTest::addColumn<CapPropertyID>("property");
        QTest::addColumn<bool>("automaticElsewhere");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<int>("told");
        const CapPropertyID gain = CAPPROPID_GAIN, exposure = CAPPROPID_EXPOSURE;
        QTest::newRow("value put back") << true << gain << false << 42 << false << 1;
        QTest::newRow("automatic mode put back") << true << exposure << false << 77 << true << 1;
        QTest::newRow("automatic control moves") << true << exposure << true << 77 << true << 0;
        QTest::newRow("not kept") << false << gain << false << 77 << false << 0;
    }

    // Another program sets a property twice (to 77): a kept value comes back each time and the
    // user hears of it once; a value under the camera's automatic control may move.
    void keepMyValuesPutsChangesBack()
    {
        QFETCH(bool, keep);
        QFETCH(CapPropertyID, property);
        QFETCH(bool, automaticElsewhere);
        QFETCH(int, value);
        QFETCH(bool, automatic);
        QFETCH(int, told);
        const auto camera = startedCamera(Knob);
        QVERIFY(camera);
        QVERIFY(camera->setPropertyValue(CameraBase::Property::Gain, 42));
        ControlKeeper keeper(camera.get());
        keeper.setEnabled(keep);
        keeper.keepCurrent();
        QSignalSpy notices(&keeper, &ControlKeeper::valuesRestored);
        const auto now = [&] {
            const synthetic::PropertyState state = synthetic::propertyState(Knob, property);
            return std::make_pair(state.value, state.automatic);
        };
        for (int round = 0; round < 2; ++round) {
            synthetic::changePropertyElsewhere(Knob, property, 77, automaticElsewhere);
            if (told)
                QTRY_COMPARE(now(), std::make_pair(value, automatic));
            else
                QTest::qWait(300); // a put-back would come within this
            QCOMPARE(now(), std::make_pair(value, automatic));
        }
        QCOMPARE(notices.size(), told);
    }

    // Named profiles belong to one camera; renamed, the start mark follows; the start profile
    // is what a new run gets.
    void profilesArePerCamera()
    {
        const auto camera = startedCamera(Knob);
        QVERIFY(camera);
        ControlProfiles mine("ostrel-tests", "profiles", "Knob/1"),
            other("ostrel-tests", "profiles", "Knob/2");
        for (const QString &name : mine.names())
            QVERIFY(mine.remove(name));
        for (int gain = 1; gain <= 12; ++gain) {
            QVERIFY(camera->setPropertyValue(CameraBase::Property::Gain, gain));
            QVERIFY(mine.save(QString("P%1").arg(gain), ControlProfiles::read(camera.get())));
        }
        QCOMPARE(mine.names().size(), 12);
        QVERIFY(other.names().isEmpty());
        mine.setStartProfile("P7");
        QVERIFY(mine.rename("P7", "Evening / 7%"));
        QVERIFY(!mine.rename("P8", "P9") && !mine.save(" ", {}));
        QVERIFY(mine.remove("P8") && !mine.names().contains("P8"));
        QCOMPARE(mine.startProfile(), "Evening / 7%");
        QCOMPARE(mine.load("Evening / 7%")->value(CameraBase::Property::Gain).value, 7);

        camera->stopCapture();
        synthetic::setDevices(testDevices()); // the camera forgets its values
        camera->availableCameras();
        QVERIFY(camera->openCamera(cameraIndex(Knob)) && camera->startCapture());
        QVERIFY(!other.applyStartProfile(camera.get()));
        QVERIFY(mine.applyStartProfile(camera.get()));
        QCOMPARE(synthetic::propertyState(Knob, CAPPROPID_GAIN).value, 7);
    }

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
        QVERIFY(camera.openCamera(int(names.indexOf("Beta Cam"))));
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

    void startFailures_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<CameraBase::Failure>("failure");

        using F = CameraBase::Failure;
        const QString notOpened = "Failed to open camera stream";
        QTest::newRow("no formats") << int(NoFormats) << "No formats available" << F::Other;
        QTest::newRow("frame beyond the program's limit")
            << int(Huge) << notOpened << F::FrameTooLarge;
        QTest::newRow("line beyond an image") << int(Wide) << notOpened << F::FrameTooLarge;
        QTest::newRow("unplugged") << int(Stream) << notOpened << F::Unplugged;
    }

    void startFailures()
    {
        QFETCH(int, device);
        QFETCH(QString, warning);
        QFETCH(CameraBase::Failure, failure);

        OpenPNPCamera camera;
        QVERIFY(camera.openCamera(cameraIndex(Device(device))));
        if (failure == CameraBase::Failure::Unplugged) {
            synthetic::setPlugged(device, false);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("is unplugged$"));
        }
        QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
        QVERIFY(!camera.startCapture());
        QCOMPARE(camera.lastFailure(), failure);
        QVERIFY(!camera.isCapturing());
        QVERIFY(!watchTimer(camera)->isActive());
    }

    // The picture of a run is never handed out as the newest of the next one.
    void newRunForgetsThePreviousPicture()
    {
        OpenPNPCamera camera;
        QVERIFY(camera.openCamera(cameraIndex(Stream)));
        QVERIFY(camera.startCapture());
        QTRY_VERIFY(!camera.latestFrame().isNull());
        // Some frames in, so that the old picture's frame number differs from the new run's first.
        QTest::qWait(300);
        camera.stopCapture();
        const QImage last = camera.latestFrame();
        QVERIFY(camera.startCapture());
        QVERIFY(camera.latestFrame() != last);
    }

    void streamDeliversEveryFrameOnTheCaptureThread()
    {
        CallbackLog log;
        OpenPNPCamera camera;
        attach(camera, log);
        QVERIFY(camera.openCamera(cameraIndex(Stream)));
        QVERIFY(camera.startCapture());
        QTRY_VERIFY(!camera.latestFrame().isNull());
        // A second start neither disturbs the running capture nor adds another one.
        QVERIFY(!camera.startCapture());
        QVERIFY(camera.isCapturing());
        QTRY_VERIFY_WITH_TIMEOUT(log.frameCount() > 40, 3000);
        // Once the tap is removed it is called no more, while capture goes on.
        camera.setRecordingTap({});
        const size_t tapped = log.tapped.size();
        QTRY_VERIFY(log.frameCount() > int(tapped) + 3);
        camera.stopCapture();

        // The last frame outlives the stream.
        const QImage last = camera.latestFrame();
        QCOMPARE(last.size(), QSize(160, 120));
        QMutexLocker locker(&log.mutex);
        QCOMPARE(log.frames.back(), last);
        QCOMPARE(log.rates.size(), log.frames.size());
        QCOMPARE(log.tapped.size(), tapped);
        QVERIFY(std::equal(log.tapped.begin(), log.tapped.end(), log.frames.begin()));
        QVERIFY(log.threads.front() != std::this_thread::get_id());
        QCOMPARE(std::count(log.threads.begin(), log.threads.end(), log.threads.front()),
                 qsizetype(log.threads.size()));
        // The rate is 0.0 until the first frame at or after 1000 ms closes the first window, so
        // at about 30 fps some 30 frames come first.
        const auto first = std::find_if(log.rates.begin(), log.rates.end(),
                                        [](double rate) { return rate != 0.0; });
        QVERIFY(first != log.rates.end());
        QCOMPARE_GE(first - log.rates.begin(), 20);
        QVERIFY2(*first > 22.0 && *first < 38.0, qPrintable(QString::number(*first)));
    }

    // A display that cannot keep up costs pictures only: a tap of the camera's JPEG still gets
    // every frame, each one new. Another user's tap gets them too, and keeps them when the
    // recording's tap goes.
    void cameraJpegTapKeepsUpWithASlowDisplay()
    {
        OpenPNPCamera camera;
        std::atomic<int> shown{0};
        camera.setFrameCallback([&shown](const QImage &) {
            ++shown;
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
        });
        QMutex mutex;
        QList<QByteArray> jpegs;
        QList<qint64> takenUs, lagsUs; // the camera's time of each, and how long before the tap
        camera.setRecordingTap(
            [&](const QImage &rgb, const QByteArray &jpeg, qint64 timestampUs) {
                QMutexLocker locker(&mutex);
                jpegs.append(rgb.isNull() ? jpeg : QByteArray());
                takenUs.append(timestampUs);
                lagsUs.append(std::chrono::duration_cast<std::chrono::microseconds>(
                                  std::chrono::steady_clock::now().time_since_epoch())
                                  .count() -
                              timestampUs);
            },
            CameraBase::TapInput::CameraJpeg);
        std::atomic<int> published{0};
        camera.setRecordingTap(
            [&published](const QImage &, const QByteArray &, qint64) { ++published; },
            CameraBase::TapInput::CameraJpeg, CameraBase::TapUser::Publishing);
        QVERIFY(camera.openCamera(cameraIndex(Alpha))); // 640x480 at 30 fps, Motion-JPEG
        QElapsedTimer clock;
        clock.start();
        QVERIFY(camera.startCapture());
        QTest::qWait(1500);
        camera.setRecordingTap({});
        const qint64 elapsed = clock.elapsed();
        const int publishedWhileRecording = published;
        QTRY_VERIFY(published > publishedWhileRecording + 3);
        camera.stopCapture();

        QMutexLocker locker(&mutex);
        QCOMPARE_GE(publishedWhileRecording, jpegs.size());
        QVERIFY2(jpegs.size() >= elapsed * 30 / 1000 * 8 / 10,
                 qPrintable(QString("%1 frames in %2 ms").arg(jpegs.size()).arg(elapsed)));
        QVERIFY2(shown.load() * 2 < jpegs.size(), qPrintable(QString::number(shown.load())));
        for (qsizetype i = 0; i < jpegs.size(); ++i) {
            QVERIFY(jpegs.at(i).startsWith("\xff\xd8"));
            QVERIFY(i == 0 || jpegs.at(i) != jpegs.at(i - 1));
            // Each with the camera's own time, on the steady clock a recording's sound uses.
            QVERIFY(i == 0 || takenUs.at(i) > takenUs.at(i - 1));
            QVERIFY2(lagsUs.at(i) >= 0 && lagsUs.at(i) < 500000,
                     qPrintable(QString::number(lagsUs.at(i))));
        }
    }

    void scaleCoversTheView_data()
    {
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QSize>("view");
        QTest::addColumn<uint32_t>("denominator");
        const QSize uhd(3840, 2160), fhd(1920, 1080);
        QTest::newRow("4K in 1280x720") << uhd << QSize(1280, 720) << 2u;
        QTest::newRow("1080p in 960x540") << fhd << QSize(960, 540) << 2u;
        QTest::newRow("1080p in a quarter") << fhd << QSize(480, 270) << 4u;
        QTest::newRow("1080p in an eighth") << fhd << QSize(240, 135) << 8u;
        QTest::newRow("a pixel wider than an eighth") << fhd << QSize(241, 135) << 4u;
        QTest::newRow("a pixel taller than a quarter") << fhd << QSize(480, 271) << 2u;
        QTest::newRow("a tall view needs full height") << fhd << QSize(200, 1000) << 1u;
        QTest::newRow("larger than the frame") << fhd << QSize(2560, 1440) << 1u;
        QTest::newRow("sides rounded up still cover") << QSize(1366, 766) << QSize(342, 192) << 4u;
        QTest::newRow("no view") << fhd << QSize() << 1u;
    }

    void scaleCoversTheView()
    {
        QFETCH(QSize, frame);
        QFETCH(QSize, view);
        QFETCH(uint32_t, denominator);
        QCOMPARE(CaptureLoop::scaleDenominatorFor(frame, view), denominator);
    }

    void viewFramesAreScaledSnapshotsFullSize_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<QSize>("view");
        QTest::addColumn<int>("fullSizeUser"); // 0 none, 1 a frame callback, 2 a picture tap
        QTest::addColumn<QSize>("viewFrame");
        const QSize quarter(160, 120);
        QTest::newRow("MJPEG in a quarter") << int(Alpha) << quarter << 0 << quarter;
        QTest::newRow("MJPEG, half covers")
            << int(Alpha) << QSize(200, 100) << 0 << QSize(320, 240);
        QTest::newRow("MJPEG, no view size") << int(Alpha) << QSize() << 0 << QSize(640, 480);
        QTest::newRow("MJPEG, frame callback") << int(Alpha) << quarter << 1 << QSize(640, 480);
        QTest::newRow("MJPEG, picture tap") << int(Alpha) << quarter << 2 << QSize(640, 480);
        QTest::newRow("RGB") << int(Stream) << QSize(40, 30) << 0 << QSize(160, 120);
    }

    // The view gets pictures of the size it shows; the frame callback, a recording of pictures
    // and latestFrame() (during the run and after it) get the format's size.
    void viewFramesAreScaledSnapshotsFullSize()
    {
        QFETCH(int, device);
        QFETCH(QSize, view);
        QFETCH(int, fullSizeUser);
        QFETCH(QSize, viewFrame);
        OpenPNPCamera camera;
        QMutex mutex; // guards views and fullSizes
        QList<QImage> views;
        QList<QSize> fullSizes;
        camera.setViewFrameCallback([&](const QImage &frame) {
            QMutexLocker locker(&mutex);
            views.append(frame);
        });
        const auto full = [&](const QImage &frame, const QByteArray & = {}, qint64 = 0) {
            QMutexLocker locker(&mutex);
            fullSizes.append(frame.size());
        };
        if (fullSizeUser == 1)
            camera.setFrameCallback(full);
        if (fullSizeUser == 2)
            camera.setRecordingTap(full, CameraBase::TapInput::Picture);
        const auto viewCount = [&] {
            QMutexLocker locker(&mutex);
            return views.size();
        };
        camera.setViewSize(view);
        QVERIFY(camera.openCamera(cameraIndex(Device(device))));
        QVERIFY(camera.startCapture());
        const QSize format(camera.currentFormat().width, camera.currentFormat().height);
        QTRY_VERIFY(viewCount() >= 3);
        QCOMPARE(camera.latestFrame().size(), format);
        camera.stopCapture();
        const QImage last = camera.latestFrame();
        {
            QMutexLocker locker(&mutex);
            QCOMPARE(last.size(), format);
            for (const QImage &frame : views)
                QCOMPARE(frame.size(), viewFrame);
            QCOMPARE(fullSizes.size() > 0, fullSizeUser != 0);
            QCOMPARE(fullSizes.count(format), fullSizes.size());
            // The snapshot is the last frame shown.
            const QImage scaled =
                last.scaled(viewFrame, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            const QImage shown = views.last().convertToFormat(QImage::Format_RGB888);
            double difference = 0;
            for (int y = 0; y < viewFrame.height(); ++y) {
                for (int x = 0; x < viewFrame.width() * 3; ++x)
                    difference += std::abs(scaled.constScanLine(y)[x] - shown.constScanLine(y)[x]);
            }
            QCOMPARE_LT(difference / (viewFrame.width() * viewFrame.height() * 3), 8.0);
        }
        // A view grown while capturing gets full-size pictures from the next frames on.
        QVERIFY(camera.startCapture());
        camera.setViewSize(QSize(640, 480));
        const qsizetype before = viewCount();
        QTRY_VERIFY(viewCount() > before + 2);
        QMutexLocker locker(&mutex);
        QCOMPARE(views.last().size(), format);
    }

    void setFormat_data()
    {
        QTest::addColumn<bool>("capturing");
        QTest::addColumn<bool>("restartRefused");
        QTest::newRow("idle") << false << false;
        QTest::newRow("capturing") << true << false;
        QTest::newRow("restart refused") << true << true;
    }

    // While capturing, the stream restarts with the new format at once and says so once; while
    // idle, or when the restart fails, the format waits for the next start.
    void setFormat()
    {
        QFETCH(bool, capturing);
        QFETCH(bool, restartRefused);
        CallbackLog log;
        OpenPNPCamera camera;
        attach(camera, log);
        QSignalSpy changes(&camera, &CameraBase::formatChanged);
        QVERIFY(camera.openCamera(cameraIndex(Stream)));
        const CameraBase::CameraFormat small = camera.supportedFormats().at(1);
        if (capturing) {
            QVERIFY(camera.startCapture());
            QTRY_VERIFY(log.frameCount() > 0);
        }
        if (restartRefused) {
            synthetic::failNextOpenStream(CAPERROR_BUSY);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("opening the stream failed"));
            QTest::ignoreMessage(QtWarningMsg, "Failed to open camera stream with new format");
        }

        QCOMPARE(camera.setFormat(small), !restartRefused);
        QCOMPARE(camera.lastFailure(),
                 restartRefused ? CameraBase::Failure::Busy : CameraBase::Failure::None);
        const int switchedAt = log.frameCount();
        const bool restarted = capturing && !restartRefused;
        QCOMPARE(camera.isCapturing(), restarted);
        QCOMPARE(camera.currentFormat().formatIndex, small.formatIndex);
        QCOMPARE(changes.count(), restarted ? 1 : 0);
        if (restarted)
            QCOMPARE(changes.at(0).at(0).value<CameraBase::CameraFormat>().formatIndex,
                     small.formatIndex);
        // After a failed restart the watch keeps ticking but has no stream to ask.
        QCOMPARE(watchTimer(camera)->isActive(), capturing);
        if (restartRefused) {
            QSignalSpy losses(&camera, &CameraBase::cameraDisconnected);
            synthetic::setPlugged(Stream, false);
            camera.checkCameraConnection();
            QCOMPARE(losses.count(), 0);
            synthetic::setPlugged(Stream, true);
        }

        if (!restarted)
            QVERIFY(camera.startCapture());
        QTRY_VERIFY(log.frameCount() > switchedAt + 2);
        camera.stopCapture();
        QMutexLocker locker(&log.mutex);
        for (size_t i = switchedAt; i < log.frames.size(); ++i)
            QCOMPARE(log.frames[i].size(), QSize(96, 64));
    }

    void unplugWhileCapturingIsReportedOnce_data()
    {
        QTest::addColumn<bool>("withBrightness");
        QTest::newRow("with brightness") << true;
        QTest::newRow("without brightness") << false;
    }

    // Only the device's going counts: a missing control is no loss.
    void unplugWhileCapturingIsReportedOnce()
    {
        QFETCH(bool, withBrightness);
        if (!withBrightness)
            synthetic::removeProperty(Stream, CAPPROPID_BRIGHTNESS);
        OpenPNPCamera camera;
        QVERIFY(camera.openCamera(cameraIndex(Stream)));
        QVERIFY(camera.startCapture());
        QTRY_VERIFY(!camera.latestFrame().isNull());
        QSignalSpy losses(&camera, &CameraBase::cameraDisconnected);
        camera.checkCameraConnection();
        QCOMPARE(losses.count(), 0);

        QStringList reasons;
        bool capturingWhenReported = false;
        connect(&camera, &CameraBase::cameraDisconnected, this, [&](const QString &reason) {
            reasons.append(reason);
            capturingWhenReported = camera.isCapturing();
        });

        synthetic::setPlugged(Stream, false);
        QTRY_COMPARE_WITH_TIMEOUT(reasons.size(), qsizetype(1), 4000);
        QVERIFY(capturingWhenReported);
        QVERIFY(!camera.isCapturing());
        QVERIFY(!watchTimer(camera)->isActive());
        // A late check finds nothing to watch.
        camera.checkCameraConnection();
        QCOMPARE(reasons.size(), qsizetype(1));
    }
};

QTEST_GUILESS_MAIN(TestOpenPNPCamera)
#include "tst_openpnpcamera.moc"
