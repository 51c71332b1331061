// The window with synthetic cameras, driven through its widgets: the controls follow the camera
// and recording state, failures are shown, recordings and snapshots reach the disk whole, and a
// lost camera is handled whatever dialog is open.
#include "framehandover.h"
#include "levelmeter.h"
#include "mainwindow.h"
#include "openpnpcamera.h"
#include "recordingcontroller.h"
#include "soundcapture.h"
#include "synthetic/syntheticcontrol.h"
#include "testsupport/ffprobe.h"
#include "testsupport/mainwindowaccess.h"
#include "testsupport/modalanswerer.h"
#include "viewfinder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTransform>
#include <QUrl>

#include <memory>

namespace synthetic = ostrel::synthetic;
using synthetic::mode;

namespace {

QSettings store()
{
    return QSettings("Brellway", "Ostrel");
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<TestMainWindowAccess> access;

    template<typename T> T *child(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    QPushButton *button(const char *name) const { return child<QPushButton>(name); }
    ViewFinder *view() const { return child<ViewFinder>("videoLabel"); }
    QString notification() const { return child<QLabel>("notificationLabel")->text(); }
    OpenPNPCamera *camera() const { return qobject_cast<OpenPNPCamera *>(access->camera()); }

    void createWindow()
    {
        access.reset();
        window = std::make_unique<MainWindow>();
        access = std::make_unique<TestMainWindowAccess>(*window);
    }
    void startCamera()
    {
        access->scan();
        button("startStopButton")->click();
        QCOMPARE(button("startStopButton")->text(), "Stop Camera");
        QTRY_VERIFY(!view()->frame().isNull());
    }
    QString onlyRecording() const
    {
        const QStringList files = QDir(dir->path()).entryList({"*.avi"});
        return files.size() == 1 ? dir->filePath(files.first()) : QString();
    }

private slots:
    void initTestCase() { prepareWindowTestApplication(); }

    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        store().clear();
        store().setValue("recordingDirectory", dir->path());
        store().setValue("snapshotDirectory", dir->path());
        synthetic::setDevices(
            {{"Desk Camera", {mode(320, 240, 30, "MJPG"), mode(640, 480, 15, "YUYV")}}});
        createWindow();
    }

    void cleanup()
    {
        access.reset();
        window.reset();
        qunsetenv("OSTREL_SYNTHETIC_PRESENCE");
        synthetic::resetDevices();
    }

    void controlsFollowTheCamera()
    {
        const char *cameraControls[] = {"snapshotButton", "recordButton", "resetButton",
                                        "fullscreenButton"};
        QVERIFY(!button("startStopButton")->isEnabled());
        access->scan();
        QCOMPARE(child<QComboBox>("cameraSelector")->currentText(), "Desk Camera");
        QCOMPARE(child<QComboBox>("formatSelector")->count(), 2);
        for (const char *name : cameraControls)
            QVERIFY2(!button(name)->isEnabled(), name);

        startCamera();
        for (const char *name : cameraControls)
            QVERIFY2(button(name)->isEnabled(), name);
        QVERIFY(!child<QComboBox>("cameraSelector")->isEnabled());
        QCOMPARE(view()->frame().size(), QSize(320, 240));

        button("startStopButton")->click();
        QCOMPARE(view()->message(), "No camera feed");
        for (const char *name : cameraControls)
            QVERIFY2(!button(name)->isEnabled(), name);
    }

    // The camera controls show what the camera has, besides brightness and contrast (the
    // synthetic camera has no hue); a value set by hand ends the automatic mode. The next run
    // selects the camera and format started last (without starting it), restores the window's
    // size and, once started, the camera's control values.
    void remembersCameraFormatAndControls()
    {
        const std::vector<synthetic::DeviceSpec> devices = {
            {"Desk Camera", {mode(320, 240, 30, "MJPG")}},
            {"Shelf Camera", {mode(160, 120, 30, "RGB3"), mode(96, 64, 15, "YUYV")}}};
        synthetic::setDevices(devices);
        access->scan();
        child<QComboBox>("cameraSelector")->setCurrentIndex(1);
        child<QComboBox>("formatSelector")->setCurrentIndex(1);
        button("startStopButton")->click();
        child<QToolButton>("cameraControlsToggle")->click();
        for (const char *name : {"exposureControl", "whiteBalanceControl", "saturationControl"})
            QVERIFY2(child<QSlider>(name), name);
        // Even with every control open the window fits a small laptop's screen.
        QVERIFY(window->minimumSizeHint().boundedTo(QSize(1024, 600)) == window->minimumSizeHint());
        QVERIFY(!child<QSlider>("brightnessControl") && !child<QSlider>("hueControl"));
        QVERIFY(child<QCheckBox>("exposureAuto")->isChecked());
        child<QSlider>("gainControl")->setValue(42);
        child<QSlider>("exposureControl")->setValue(300);
        QVERIFY(!child<QCheckBox>("exposureAuto")->isChecked());
        child<QSlider>("brightnessSlider")->setValue(55);
        child<QSlider>("contrastSlider")->setValue(78);
        const int brightness = synthetic::propertyState(1, CAPPROPID_BRIGHTNESS).value;
        QVERIFY(brightness != 0);
        window->resize(900, 700);
        access.reset();
        window.reset();

        synthetic::setDevices(devices); // the cameras forget their values
        createWindow();
        QCOMPARE(window->size(), QSize(900, 700));
        QTRY_COMPARE(child<QComboBox>("cameraSelector")->currentText(), "Shelf Camera");
        QCOMPARE(child<QComboBox>("formatSelector")->currentIndex(), 1);
        QCOMPARE(button("startStopButton")->text(), "Start Camera");
        button("startStopButton")->click();
        QCOMPARE(synthetic::propertyState(1, CAPPROPID_GAIN).value, 42);
        QCOMPARE(synthetic::propertyState(1, CAPPROPID_EXPOSURE).value, 300);
        QVERIFY(!synthetic::propertyState(1, CAPPROPID_EXPOSURE).automatic);
        QCOMPARE(synthetic::propertyState(1, CAPPROPID_BRIGHTNESS).value, brightness);
        // Brightness 5 and contrast 1.56 come back as they were set, not a step below.
        QCOMPARE(child<QLabel>("brightnessValueLabel")->text(), "5");
        QCOMPARE(child<QSlider>("contrastSlider")->value(), 78);
        // Changes made elsewhere show at once; a control under automatic control is disabled.
        synthetic::changePropertyElsewhere(1, CAPPROPID_BRIGHTNESS, 64);
        synthetic::changePropertyElsewhere(1, CAPPROPID_EXPOSURE, 500, true);
        QTRY_VERIFY(child<QCheckBox>("exposureAuto")->isChecked());
        QCOMPARE(child<QSlider>("exposureControl")->value(), 500);
        QVERIFY(!child<QSlider>("exposureControl")->isEnabled());
        QCOMPARE(child<QSlider>("brightnessSlider")->value(), 100);
        button("cameraControlsResetButton")->click();
        QCOMPARE(child<QSlider>("exposureControl")->value(), 156);
        QVERIFY(synthetic::propertyState(1, CAPPROPID_EXPOSURE).automatic);

        // Asked to, the next run starts that camera by itself.
        store().setValue("startLastCamera", true);
        createWindow();
        QTRY_COMPARE(button("startStopButton")->text(), "Stop Camera");
        QCOMPARE(child<QComboBox>("formatSelector")->currentIndex(), 1);
    }

    // Unplugged while running (and recording), the loss is reported at once, not at the next
    // connection check; plugged in again, the camera is announced and started with the same
    // format while the box is still open. A flaky cable keeps one box, the latest loss in it.
    void followsUnplugAndReturn_data()
    {
        QTest::addColumn<bool>("recordingFirst");
        QTest::addColumn<QString>("firstBox");
        QTest::newRow("running") << false << "Camera Disconnected";
        QTest::newRow("recording") << true << "Recording Interrupted";
    }
    void followsUnplugAndReturn()
    {
        QFETCH(bool, recordingFirst);
        QFETCH(QString, firstBox);
        const QString presence = dir->filePath("present");
        QVERIFY(QFile(presence).open(QIODevice::WriteOnly));
        qputenv("OSTREL_SYNTHETIC_PRESENCE", QFile::encodeName(presence));
        synthetic::setDevices(
            {{"Desk Camera", {mode(320, 240, 30, "MJPG"), mode(160, 120, 15, "YUYV")}}});
        createWindow();
        access->scan();
        child<QComboBox>("formatSelector")->setCurrentIndex(1);
        button("startStopButton")->click();
        // A profile marked to apply on start comes back over the remembered values.
        child<QSlider>("gainControl")->setValue(42);
        {
            ModalAnswerer naming([](QWidget *dialog) {
                static_cast<QInputDialog *>(dialog)->setTextValue("Evening");
                static_cast<QInputDialog *>(dialog)->accept();
            });
            button("saveProfileButton")->click();
        }
        QCOMPARE(child<QComboBox>("profileSelector")->currentText(), "Evening");
        child<QCheckBox>("applyOnStartBox")->click();
        child<QSlider>("gainControl")->setValue(10);
        QTRY_COMPARE(view()->frame().size(), QSize(160, 120));
        if (recordingFirst)
            button("recordButton")->click();
        ModalAnswerer answerer([](QWidget *) {}); // the box stays open
        for (const QString &title : {firstBox, QStringLiteral("Camera Disconnected")}) {
            QTRY_COMPARE(button("startStopButton")->text(), "Stop Camera");
            QVERIFY(QFile::remove(presence));
            QTRY_COMPARE_WITH_TIMEOUT(button("startStopButton")->text(), "Start Camera", 2000);
            QCOMPARE(window->findChild<QMessageBox *>()->windowTitle(), title);
            QVERIFY(QFile(presence).open(QIODevice::WriteOnly));
        }
        // Generous waits: on a loaded machine the rescan and restart take their time.
        QTRY_COMPARE_WITH_TIMEOUT(button("startStopButton")->text(), "Stop Camera", 20000);
        QTRY_COMPARE_WITH_TIMEOUT(view()->frame().size(), QSize(160, 120), 20000);
        QVERIFY(notification().startsWith("Camera reconnected: Desk Camera"));
        QCOMPARE(window->findChildren<QMessageBox *>().size(), 1);
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(synthetic::propertyState(0, CAPPROPID_GAIN).value, 42);
        QCOMPARE(child<QSlider>("gainControl")->value(), 42);
    }

    void noCameraLeavesStartDisabled()
    {
        synthetic::setDevices({});
        access->scan();
        QCOMPARE(child<QComboBox>("cameraSelector")->currentText(), "No cameras found");
        QVERIFY(!button("startStopButton")->isEnabled());
        QVERIFY(view()->message().contains(QStringLiteral("\"video\" group")));
    }

    void failedStartAndFormatChangeAreShown()
    {
        access->scan();
        synthetic::failNextOpenStream(CAPERROR_BUSY);
        {
            ModalAnswerer startAnswer;
            button("startStopButton")->click();
            QCOMPARE(startAnswer.count(), 1);
            QCOMPARE(startAnswer.seen().first().title, "Camera Error");
            QVERIFY(startAnswer.seen().first().details.startsWith("Another program is using"));
            QCOMPARE(button("startStopButton")->text(), "Start Camera");
        }

        startCamera();
        synthetic::failNextOpenStream();
        ModalAnswerer formatAnswer;
        child<QComboBox>("formatSelector")->setCurrentIndex(1);
        QCOMPARE(formatAnswer.count(), 1);
        QCOMPARE(formatAnswer.seen().first().title, "Camera Error");
        QCOMPARE(button("startStopButton")->text(), "Start Camera");
        // The refused format is neither kept chosen nor remembered for the next run.
        QCOMPARE(child<QComboBox>("formatSelector")->currentIndex(), 0);
        QVERIFY(store()
                    .value("cameras/" + QUrl::toPercentEncoding(camera()->cameraId(0)) + "/format")
                    .toString()
                    .startsWith("320;240;"));
        QCOMPARE(view()->message(), "No camera feed");
        QVERIFY(!button("snapshotButton")->isEnabled());
    }

    // Rotated by 90° while "Reset to Defaults" turns the live view upright halfway through:
    // the file keeps its rotated size.
    void recordingKeepsItsOrientationAndEveryFrame()
    {
        if (!ffprobeAvailable())
            QSKIP("ffprobe is not installed");
        startCamera();
        button("rotateButton")->click();
        button("recordButton")->click();
        QVERIFY(!button("rotateButton")->isEnabled());
        QTest::qWait(700);
        ModalAnswerer answerer([](QWidget *modal) {
            modal->findChild<QPushButton *>("resetToDefaultsButton")->click();
            qobject_cast<QDialog *>(modal)->reject();
        });
        button("settingsButton")->click();
        QTRY_COMPARE(view()->frame().size(), QSize(320, 240));
        QTest::qWait(700);
        button("recordButton")->click();
        QTRY_COMPARE(access->recording()->state(), Recorder::State::Idle);
        QVERIFY(notification().startsWith("Recording saved: Ostrel_recording_"));

        const QString path = onlyRecording();
        const ProbeResult probe = probeVideo(path);
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QCOMPARE(QSize(probe.width, probe.height), QSize(240, 320));
        QVERIFY(probe.allDecodable);
    }

    // The sound source remembered for the camera is recorded, with a level meter over the
    // picture while it runs.
    void recordsTheRememberedSoundWithAMeter()
    {
        startCamera();
        AppSettings settings = AppSettings::load(access->session()->cameraId());
        AppSettings chosen = settings;
        chosen.soundSource = "sine";
        settings.storeChoices(chosen);
        button("startStopButton")->click();
        button("startStopButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(access->session()->sound()->source(), 10000);
        auto *meter = child<LevelMeter>("levelMeter");
        QVERIFY(meter->isHidden());
        button("recordButton")->click();
        QTRY_VERIFY(!meter->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(access->recording()->statistics().framesWritten >= 30, 10000);
        button("recordButton")->click();
        QTRY_COMPARE_WITH_TIMEOUT(access->recording()->state(), Recorder::State::Idle, 10000);
        QVERIFY(meter->isHidden());
        QCOMPARE(probeSound(onlyRecording()).codec, QString("pcm_s16le"));
    }

    // The camera goes while the save dialog is open: the loss is reported, the list rescanned,
    // nothing that needs the camera looks usable meanwhile, and no recording starts.
    void cameraLostWhileChoosingRecordingFile()
    {
        store().setValue("autoSaveWithDefaultName", false);
        createWindow();
        startCamera();
        QStringList enabledDuringBox;
        QStringList boxes; // title and cause of each box
        // The dialog stays modal while the box of the loss is open, so it may be seen twice.
        ModalAnswerer answerer([&](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                for (const char *name : {"snapshotButton", "recordButton", "resetButton"})
                    if (button(name)->isEnabled())
                        enabledDuringBox << QString::fromLatin1(name);
                boxes << box->windowTitle() + ": " + box->informativeText();
                box->accept();
            } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
                synthetic::setPlugged(0, false);
                camera()->checkCameraConnection();
                dialog->selectFile(dir->filePath("lost.avi"));
                static_cast<QDialog *>(dialog)->accept();
            }
        });
        button("recordButton")->click();
        QTRY_COMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].startsWith("Camera Disconnected: The camera is no longer connected"));
        QCOMPARE(enabledDuringBox, QStringList());
        QCOMPARE(access->recording()->state(), Recorder::State::Idle);
        QVERIFY(!button("recordButton")->isChecked());
        QCOMPARE(child<QComboBox>("cameraSelector")->currentText(), "No cameras found");
        QVERIFY(onlyRecording().isEmpty());
    }

    void closingWhileFinishingLeavesAWholeFile()
    {
        if (!ffprobeAvailable())
            QSKIP("ffprobe is not installed");
        startCamera();
        button("recordButton")->click();
        QTest::qWait(300);
        button("recordButton")->click();
        const QString path = onlyRecording();
        access.reset();
        window.reset();
        const ProbeResult probe = probeVideo(path);
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QVERIFY(probe.frames >= 5);
        QVERIFY(probe.allDecodable);
    }

    void snapshotSavesThePictureAsShown()
    {
        startCamera();
        button("rotateButton")->click();
        button("snapshotButton")->click();
        // The notice names the file, then the folder it went to, with a link that opens it.
        QTRY_VERIFY(notification().startsWith("Snapshot saved (240x320)<br>"));
        QVERIFY(notification().contains(">Open folder</a>"));
        const QString name = notification().section("<br>", 1, 1);
        QVERIFY(name.endsWith("_320x240.png"));
        QCOMPARE(QImage(dir->filePath(name)).size(), QSize(240, 320));
    }

    // With the slider focused the shortcut still takes the key: the slider then moves by its
    // own single step.
    void arrowKeysStepTheSliders()
    {
        startCamera();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto *brightness = child<QSlider>("brightnessSlider");
        auto *contrast = child<QSlider>("contrastSlider");
        const int start = brightness->value();
        const int contrastStart = contrast->value();
        button("startStopButton")->setFocus();
        QTest::keyClick(window.get(), Qt::Key_Up);
        QCOMPARE(brightness->value(), start + 5);
        brightness->setFocus();
        QTest::keyClick(brightness, Qt::Key_Down);
        QCOMPARE(brightness->value(), start + 4);
        QTest::keyClick(brightness, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(contrast->value(), contrastStart + 5);
        QCOMPARE(brightness->value(), start + 4);
    }

    void fullscreenLeavesOnEscapeAndOnStop()
    {
        startCamera();
        QPushButton *toggle = button("fullscreenButton");
        toggle->click();
        QWidget *fullscreen = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->objectName() == "fullscreenLabel")
                fullscreen = top;
        QVERIFY(fullscreen && fullscreen->isVisible());
        // Notices and the recording time show where the user looks.
        button("snapshotButton")->click();
        QTRY_VERIFY(fullscreen->findChild<QLabel *>("notificationLabel")
                        ->text()
                        .startsWith("Snapshot saved"));
        QVERIFY(notification().isEmpty());
        button("recordButton")->click();
        QTRY_VERIFY(fullscreen->findChild<QLabel *>("fullscreenRecordingMark")
                        ->text()
                        .endsWith("REC 00:00"));
        button("recordButton")->click();
        QTest::keyClick(fullscreen, Qt::Key_Escape);
        QVERIFY(!fullscreen->isVisible());
        toggle->click();
        button("startStopButton")->click();
        QVERIFY(!fullscreen->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
