#include "mainwindow.h"
#include "syntheticcontrol.h"
#include "testsupport/ffprobe.h"
#include "testsupport/mainwindowaccess.h"
#include "testsupport/modalanswerer.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <climits>

namespace synthetic = ostrel::synthetic;
using ostrel::synthetic::mode;

namespace {

// Two cameras, the first with two formats, as most tests need.
void defineTwoCameras()
{
    synthetic::setDevices(
        {{"Desk Camera", {mode(320, 240, 30, "MJPG"), mode(640, 480, 15, "YUYV")}},
         {"Side Camera", {mode(160, 120, 30, "YUYV")}}});
}

QSettings store()
{
    return QSettings(QStringLiteral("Brellway"), QStringLiteral("Ostrel"));
}

// Average brightness of a grey-level picture, to tell smooth from fast scaling.
bool hasMidTones(const QImage &image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    int mid = 0;
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x) {
            const int v = grey.pixelColor(x, y).value();
            if (v > 40 && v < 215)
                ++mid;
        }
    return mid > grey.width() * grey.height() / 2;
}

} // namespace

// The window with a running synthetic camera: scanning, choosing, the live picture, start and
// stop, a lost camera, and the brightness and contrast controls.
class TestMainWindowLive : public QObject
{
    Q_OBJECT

private:
    MainWindow *window = nullptr;
    std::unique_ptr<TestMainWindowAccess> access;
    template<typename T> T *child(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    void startCamera()
    {
        access->scan();
        QVERIFY(child<QPushButton>("startStopButton")->isEnabled());
        child<QPushButton>("startStopButton")->click();
        QVERIFY(access->cameraRunning());
    }

private slots:
    void initTestCase() { prepareWindowTestApplication(); }

    void init()
    {
        store().clear();
        defineTwoCameras();
        window = new MainWindow;
        access = std::make_unique<TestMainWindowAccess>(*window);
    }

    void cleanup()
    {
        access.reset();
        delete window;
        window = nullptr;
        synthetic::resetDevices();
    }

    void firstScanCreatesCameraAndOpensFirstDevice()
    {
        auto *cameras = child<QComboBox>("cameraSelector");
        QStringList inserted;
        bool waitCursorDuringScan = false;
        connect(cameras->model(), &QAbstractItemModel::rowsInserted, this,
                [&](const QModelIndex &, int first, int) {
                    inserted << cameras->itemText(first);
                    const QCursor *cursor = QApplication::overrideCursor();
                    waitCursorDuringScan = cursor && cursor->shape() == Qt::WaitCursor;
                });
        QCOMPARE(access->camera(), nullptr);

        access->scan();
        CameraBase *camera = access->camera();
        QVERIFY(camera);
        QCOMPARE(inserted.first(), QStringLiteral("Scanning for cameras..."));
        QVERIFY(waitCursorDuringScan);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(cameras->count(), 2);
        QCOMPARE(cameras->itemText(1), QStringLiteral("Side Camera"));
        QCOMPARE(cameras->currentIndex(), 0);
        QCOMPARE(camera->currentCameraIndex(), 0);
        auto *formats = child<QComboBox>("formatSelector");
        QCOMPARE(formats->count(), 2);
        QCOMPARE(formats->itemText(0), QStringLiteral("320x240 @ 30.0 fps (MJPG)"));
        QCOMPARE(camera->currentFormat().formatIndex, 0);
        QVERIFY(camera->currentFormat() == camera->supportedFormats().first());
        QVERIFY(child<QPushButton>("startStopButton")->isEnabled());
        QVERIFY(formats->isEnabled());

        access->scan();
        QCOMPARE(access->camera(), camera);
    }

    void rescanSelectsFirstDeviceAgain()
    {
        access->scan();
        auto *cameras = child<QComboBox>("cameraSelector");
        cameras->setCurrentIndex(1);
        QCOMPARE(access->camera()->currentCameraIndex(), 1);
        QCOMPARE(child<QComboBox>("formatSelector")->itemText(0),
                 QStringLiteral("160x120 @ 30.0 fps (YUYV)"));

        access->scan();
        QCOMPARE(cameras->currentIndex(), 0);
        QCOMPARE(access->camera()->currentCameraIndex(), 0);
        QCOMPARE(child<QComboBox>("formatSelector")->count(), 2);
    }

    void noDevicesLeavesStartDisabled()
    {
        synthetic::setDevices({});
        access->scan();
        auto *cameras = child<QComboBox>("cameraSelector");
        QCOMPARE(cameras->count(), 1);
        QCOMPARE(cameras->itemText(0), QStringLiteral("No cameras found"));
        QVERIFY(!child<QPushButton>("startStopButton")->isEnabled());
        QVERIFY(!child<QComboBox>("formatSelector")->isEnabled());
        cameras->setCurrentIndex(-1);
        cameras->setCurrentIndex(0);
        QCOMPARE(access->camera()->currentCameraIndex(), -1);
    }

    void deviceWithoutFormatsCannotStart()
    {
        synthetic::setDevices({{"Empty Camera", {}}});
        access->scan();
        QCOMPARE(access->camera()->currentCameraIndex(), 0);
        QCOMPARE(child<QComboBox>("formatSelector")->count(), 0);
        QVERIFY(!child<QComboBox>("formatSelector")->isEnabled());
        QVERIFY(!child<QPushButton>("startStopButton")->isEnabled());
    }

    void startShowsFramesAndSyncsSliders_data()
    {
        QTest::addColumn<bool>("showFps");
        QTest::newRow("fps overlay on") << true;
        QTest::newRow("fps overlay off") << false;
    }

    void startShowsFramesAndSyncsSliders()
    {
        QFETCH(bool, showFps);
        cleanup();
        store().setValue(QStringLiteral("showFpsCounter"), showFps);
        defineTwoCameras();
        // A device whose brightness reads 12.7 and contrast 0.996 on the camera's scales.
        synthetic::setPropertyLimits(0, CAPPROPID_BRIGHTNESS, 0, 1000, 500);
        synthetic::setPropertyValue(0, CAPPROPID_BRIGHTNESS, 627);
        synthetic::setPropertyLimits(0, CAPPROPID_CONTRAST, 0, 1000, 500);
        synthetic::setPropertyValue(0, CAPPROPID_CONTRAST, 498);
        window = new MainWindow;
        access = std::make_unique<TestMainWindowAccess>(*window);

        startCamera();
        QCOMPARE(child<QPushButton>("startStopButton")->text(), QStringLiteral("Stop Camera"));
        QCOMPARE(!child<QLabel>("fpsLabel")->isHidden(), showFps);
        QCOMPARE(child<QSlider>("brightnessSlider")->value(), 62);
        QCOMPARE(child<QLabel>("brightnessValueLabel")->text(), QStringLiteral("12"));
        QCOMPARE(child<QSlider>("contrastSlider")->value(), 49);
        QCOMPARE(child<QLabel>("contrastValueLabel")->text(), QStringLiteral("1.00"));
        // Synchronising does not write the slider positions back.
        QCOMPARE(synthetic::propertyState(0, CAPPROPID_BRIGHTNESS).setCount, 0);
        QCOMPARE(synthetic::propertyState(0, CAPPROPID_CONTRAST).setCount, 0);

        auto *video = child<QLabel>("videoLabel");
        QTRY_VERIFY(!video->pixmap().isNull());
        QVERIFY(video->text().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>("fpsLabel")->text() != QStringLiteral("0.0 fps"),
                                 3000);
        QVERIFY(child<QLabel>("fpsLabel")->text().endsWith(QStringLiteral(" fps")));

        for (const char *name :
             {"brightnessSlider", "contrastSlider", "resetButton", "snapshotButton", "recordButton",
              "fullscreenButton", "flipButton", "rotateButton", "formatSelector"})
            QVERIFY2(child<QWidget>(name)->isEnabled(), name);
        QVERIFY(!child<QComboBox>("cameraSelector")->isEnabled());
    }

    void failedStartShowsCameraError()
    {
        access->scan();
        synthetic::failNextOpenStream();
        ModalAnswerer answerer;
        child<QPushButton>("startStopButton")->click();
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.seen().first().title, QStringLiteral("Camera Error"));
        QCOMPARE(answerer.seen().first().text,
                 QStringLiteral(
                     "Failed to start camera. Please check if another application is using it."));
        QVERIFY(!access->cameraRunning());
        QCOMPARE(child<QPushButton>("startStopButton")->text(), QStringLiteral("Start Camera"));
        QVERIFY(child<QComboBox>("cameraSelector")->isEnabled());
        QVERIFY(!child<QSlider>("brightnessSlider")->isEnabled());
    }

    void stopShowsNoFeedAndDropsLateFrames()
    {
        startCamera();
        auto *video = child<QLabel>("videoLabel");
        QTRY_VERIFY(!video->pixmap().isNull());

        // A frame still on its way to the GUI thread when the camera stops.
        QImage late(320, 240, QImage::Format_RGB888);
        late.fill(Qt::red);
        access->handOver()->postFrame(late);
        child<QPushButton>("startStopButton")->click();
        QTest::qWait(100);

        QVERIFY(!access->cameraRunning());
        QVERIFY(video->pixmap().isNull());
        QCOMPARE(video->text(), QStringLiteral("No camera feed"));
        QVERIFY(child<QLabel>("fpsLabel")->isHidden());
        QCOMPARE(child<QPushButton>("startStopButton")->text(), QStringLiteral("Start Camera"));
        QVERIFY(child<QComboBox>("cameraSelector")->isEnabled());
        QVERIFY(!child<QPushButton>("flipButton")->isEnabled());
        QVERIFY(!access->camera()->latestFrame().isNull());
    }

    void transformsMirrorThenRotate()
    {
        // Left half red, right half blue, a green row at the top.
        QImage frame(640, 480, QImage::Format_RGB888);
        frame.fill(Qt::blue);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 320; ++x)
                frame.setPixelColor(x, y, Qt::red);
        for (int x = 0; x < 640; ++x)
            frame.setPixelColor(x, 0, Qt::green);

        access->setOrientation(false, 90);
        const QImage rotated = access->transformFrame(frame);
        QCOMPARE(rotated.size(), QSize(480, 640));
        // Turned clockwise: the top row becomes the right column, the left half the top.
        QCOMPARE(rotated.pixelColor(479, 320), QColor(Qt::green));
        QCOMPARE(rotated.pixelColor(200, 10), QColor(Qt::red));

        access->setOrientation(true, 90);
        const QImage mirroredThenRotated = access->transformFrame(frame);
        QCOMPARE(mirroredThenRotated.pixelColor(200, 10), QColor(Qt::blue));
        QCOMPARE(mirroredThenRotated.pixelColor(479, 320), QColor(Qt::green));
        const QImage rotatedThenMirrored = rotated.mirrored(true, false);
        QVERIFY(mirroredThenRotated != rotatedThenMirrored);

        access->setOrientation(false, 0);
        QCOMPARE(access->transformFrame(frame), frame);
    }

    void orientationButtonsStepAndStore()
    {
        startCamera();
        auto *rotate = child<QPushButton>("rotateButton");
        const int expected[] = {90, 180, 270, 0};
        for (int angle : expected) {
            rotate->click();
            QCOMPARE(access->rotationAngle(), angle);
            QCOMPARE(store().value(QStringLiteral("rotationAngle")).toInt(), angle);
        }
        // The mirror is stored at each toggle, both ways.
        auto *flip = child<QPushButton>("flipButton");
        for (bool on : {true, false}) {
            flip->click();
            QCOMPARE(access->horizontalFlip(), on);
            QCOMPARE(store().value(QStringLiteral("horizontalFlip")).toBool(), on);
        }
        QCOMPARE(rotate->toolTip(),
                 QStringLiteral("Rotate camera image 90° clockwise (currently 0°)"));
        QVERIFY(rotate->text().isEmpty());

        // Stored angles are used unchanged and stepped from where they are.
        access->setOrientation(false, 45);
        rotate->click();
        QCOMPARE(access->rotationAngle(), 135);
        access->setOrientation(false, -90);
        rotate->click();
        QCOMPARE(access->rotationAngle(), 0);
        access->setOrientation(false, INT_MAX - 10);
        rotate->click();
        QCOMPARE(access->rotationAngle(), int((qint64(INT_MAX) - 10 + 90) % 360));

        // The next frame shows the turn: a 320 x 240 camera at 90 degrees is taller than wide.
        access->setOrientation(false, 90);
        auto *video = child<QLabel>("videoLabel");
        video->setPixmap(QPixmap());
        QTRY_VERIFY(!video->pixmap().isNull());
        QVERIFY(video->pixmap().height() > video->pixmap().width());
    }

    void scalingQualityFollowsVideoArea()
    {
        startCamera();
        child<QPushButton>("startStopButton")->click(); // no camera frames from here on
        // A fine checkerboard at twice the area's size: smooth scaling averages it to grey, fast
        // scaling picks black or white pixels.
        QImage board(2562, 1442, QImage::Format_RGB888);
        for (int y = 0; y < board.height(); ++y)
            for (int x = 0; x < board.width(); ++x)
                board.setPixelColor(x, y, (x + y) % 2 ? Qt::white : Qt::black);

        auto *video = child<QLabel>("videoLabel");
        struct Case
        {
            QSize area;
            bool smooth;
        };
        for (const Case &c :
             {Case{{1280, 720}, true}, Case{{1281, 720}, false}, Case{{1280, 721}, false}}) {
            video->resize(c.area);
            access->displayFrame(board);
            const QImage shown = video->pixmap().toImage();
            QVERIFY(shown.width() <= c.area.width() && shown.height() <= c.area.height());
            QVERIFY2(hasMidTones(shown) == c.smooth,
                     qPrintable(QStringLiteral("%1x%2").arg(c.area.width()).arg(c.area.height())));
        }
    }

    void disconnectionWhileStreamingShowsOneBoxAndRescans()
    {
        startCamera();
        ModalAnswerer answerer;
        // Keep the box open long enough for the connection watch to report the loss again.
        answerer.setAnswerDelay(3500);
        synthetic::setPlugged(0, false);

        QTRY_VERIFY_WITH_TIMEOUT(answerer.count() == 1, 5000);
        QCOMPARE(answerer.seen().first().title, QStringLiteral("Camera Disconnected"));
        QCOMPARE(answerer.seen().first().text,
                 QStringLiteral("The camera has been disconnected: Failed to access camera "
                                "properties\nPlease reconnect it and try again."));
        QVERIFY(!access->cameraRunning());
        QCOMPARE(child<QLabel>("videoLabel")->text(), QStringLiteral("Camera disconnected"));
        QVERIFY(child<QLabel>("fpsLabel")->isHidden());

        // After the box: a rescan, in which only the second camera is still there.
        QTRY_VERIFY_WITH_TIMEOUT(
            child<QComboBox>("cameraSelector")->itemText(0) == QStringLiteral("Side Camera"), 8000);
        QTest::qWait(500);
        QCOMPARE(answerer.count(), 1);
        QVERIFY(!access->camera()->isCapturing());
    }

    void disconnectionWhileRecordingFinishesFile()
    {
        QTemporaryDir dir;
        access->setDirectories(dir.path(), dir.path());
        startCamera();
        QTRY_VERIFY(!access->camera()->latestFrame().isNull());
        child<QPushButton>("recordButton")->click();
        QVERIFY(access->isRecording());
        const QString path = access->currentRecordingPath();
        QTest::qWait(700);

        ModalAnswerer answerer;
        synthetic::setPlugged(0, false);
        QTRY_VERIFY_WITH_TIMEOUT(answerer.count() == 1, 5000);
        QCOMPARE(answerer.seen().first().title, QStringLiteral("Recording Interrupted"));
        QVERIFY(answerer.seen().first().text.endsWith(QStringLiteral("saved to:\n") + path));
        QVERIFY(!access->isRecording());
        auto *record = child<QPushButton>("recordButton");
        QVERIFY(!record->isChecked());
        QCOMPARE(record->text(), QStringLiteral("Record"));
        // No rescan: the list still names both cameras.
        QCOMPARE(child<QComboBox>("cameraSelector")->count(), 2);

        const ProbeResult probe = probeVideo(path);
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QCOMPARE(probe.codec, QStringLiteral("mjpeg"));
        QCOMPARE(QSize(probe.width, probe.height), QSize(320, 240));
        QVERIFY(probe.frames > 0);
        QVERIFY(probe.allDecodable);
    }

    void slidersMapToCamera_data()
    {
        QTest::addColumn<int>("brightnessPosition");
        QTest::addColumn<QString>("brightnessText");
        QTest::addColumn<int>("deviceBrightness"); // on the default range -64..64
        QTest::addColumn<int>("contrastPosition");
        QTest::addColumn<QString>("contrastText");
        QTest::addColumn<int>("deviceContrast"); // on the default range 0..95
        QTest::newRow("lowest") << 0 << "-50" << -64 << 0 << "0.00" << 0;
        QTest::newRow("middle") << 51 << "1" << 1 << 51 << "1.02" << 48;
        QTest::newRow("highest") << 100 << "50" << 64 << 100 << "2.00" << 95;
        QTest::newRow("odd steps") << 13 << "-37" << -48 << 33 << "0.66" << 31;
    }

    void slidersMapToCamera()
    {
        QFETCH(int, brightnessPosition);
        QFETCH(QString, brightnessText);
        QFETCH(int, deviceBrightness);
        QFETCH(int, contrastPosition);
        QFETCH(QString, contrastText);
        QFETCH(int, deviceContrast);

        startCamera();
        // Start away from the target so that every move announces itself.
        child<QSlider>("brightnessSlider")->setValue(brightnessPosition ? 0 : 100);
        child<QSlider>("contrastSlider")->setValue(contrastPosition ? 0 : 100);
        child<QSlider>("brightnessSlider")->setValue(brightnessPosition);
        child<QSlider>("contrastSlider")->setValue(contrastPosition);
        QCOMPARE(child<QLabel>("brightnessValueLabel")->text(), brightnessText);
        QCOMPARE(child<QLabel>("contrastValueLabel")->text(), contrastText);
        QCOMPARE(synthetic::propertyState(0, CAPPROPID_BRIGHTNESS).value, deviceBrightness);
        QCOMPARE(synthetic::propertyState(0, CAPPROPID_CONTRAST).value, deviceContrast);
    }

    void slidersWhileStoppedOnlyUpdateLabels()
    {
        access->scan();
        child<QSlider>("brightnessSlider")->setValue(80);
        child<QSlider>("contrastSlider")->setValue(25);
        QCOMPARE(child<QLabel>("brightnessValueLabel")->text(), QStringLiteral("30"));
        QCOMPARE(child<QLabel>("contrastValueLabel")->text(), QStringLiteral("0.50"));
        QCOMPARE(synthetic::propertyState(0, CAPPROPID_BRIGHTNESS).setCount, 0);
        QCOMPARE(synthetic::propertyState(0, CAPPROPID_CONTRAST).setCount, 0);

        // Starting does not send them either: the sliders jump to the camera's values.
        child<QPushButton>("startStopButton")->click();
        QCOMPARE(child<QSlider>("brightnessSlider")->value(), 50);
        QCOMPARE(synthetic::propertyState(0, CAPPROPID_BRIGHTNESS).setCount, 0);
    }

    void resetSyncsWithoutWritingSliderValues()
    {
        synthetic::setPropertyLimits(0, CAPPROPID_BRIGHTNESS, 0, 200, 150);
        startCamera();
        child<QSlider>("brightnessSlider")->setValue(10);
        QCOMPARE(synthetic::propertyState(0, CAPPROPID_BRIGHTNESS).setCount, 1);

        child<QPushButton>("resetButton")->click();
        // One more write: the device default, not a slider position.
        const synthetic::PropertyState state = synthetic::propertyState(0, CAPPROPID_BRIGHTNESS);
        QCOMPARE(state.setCount, 2);
        QCOMPARE(state.value, 150);
        QCOMPARE(child<QSlider>("brightnessSlider")->value(), 75);
        QCOMPARE(child<QLabel>("brightnessValueLabel")->text(), QStringLiteral("25"));
        QCOMPARE(child<QLabel>("contrastValueLabel")->text(),
                 QString::number(access->camera()->contrast(), 'f', 2));
    }
};

QTEST_MAIN(TestMainWindowLive)
#include "tst_mainwindow_live.moc"
