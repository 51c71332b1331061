#include "filenaming.h"
#include "mainwindow.h"
#include "settingsdialog.h"
#include "syntheticcontrol.h"
#include "testsupport/ffprobe.h"
#include "testsupport/mainwindowaccess.h"
#include "testsupport/modalanswerer.h"
#include "videowriterthread.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace synthetic = ostrel::synthetic;

namespace {

QSettings store()
{
    return QSettings(QStringLiteral("Brellway"), QStringLiteral("Ostrel"));
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files, QDir::Name);
}

// Receives the directories the settings dialog asks the desktop to open.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

} // namespace

// Snapshots, notifications, recording, the fullscreen view, the shortcuts and the settings
// dialog of the window, driven with a synthetic camera.
class TestMainWindowCapture : public QObject
{
    Q_OBJECT

private:
    MainWindow *window = nullptr;
    std::unique_ptr<TestMainWindowAccess> access;
    std::unique_ptr<QTemporaryDir> dir;

    template<typename T> T *child(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    void startCamera(bool waitForFrame = true)
    {
        access->scan();
        child<QPushButton>("startStopButton")->click();
        QVERIFY(access->cameraRunning());
        if (waitForFrame)
            QTRY_VERIFY(!access->camera()->latestFrame().isNull());
    }
    void showActive()
    {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    void recordFor(int milliseconds)
    {
        child<QPushButton>("recordButton")->click();
        QVERIFY(access->isRecording());
        QTest::qWait(milliseconds);
    }
    static void verifyWholeFile(const QString &path, QSize size)
    {
        const ProbeResult probe = probeVideo(path);
        QVERIFY2(probe.ok, qPrintable(path + QStringLiteral(": ") + probe.error));
        QCOMPARE(probe.codec, QStringLiteral("mjpeg"));
        QCOMPARE(QSize(probe.width, probe.height), size);
        QVERIFY(probe.frames > 0);
        QVERIFY(probe.allDecodable);
    }
    void runSettings(const std::function<void(SettingsDialog *)> &action)
    {
        ModalAnswerer answerer([&action](QWidget *modal) {
            if (auto *dialog = qobject_cast<SettingsDialog *>(modal))
                action(dialog);
            else if (auto *box = qobject_cast<QDialog *>(modal))
                box->reject();
        });
        child<QPushButton>("settingsButton")->click();
        QVERIFY(answerer.count() >= 1);
        QCOMPARE(answerer.seen().first().title, QStringLiteral("Ostrel Settings"));
    }

private slots:
    void initTestCase() { prepareWindowTestApplication(); }

    void init()
    {
        store().clear();
        synthetic::setDevices({{"Desk Camera",
                                {{320, 240, 30, synthetic::fourcc("MJPG")},
                                 {1280, 720, 30, synthetic::fourcc("MJPG")},
                                 {320, 240, 0, synthetic::fourcc("YUYV")}}}});
        dir = std::make_unique<QTemporaryDir>();
        window = new MainWindow;
        access = std::make_unique<TestMainWindowAccess>(*window);
        access->setDirectories(dir->path(), dir->path());
    }

    void cleanup()
    {
        access.reset();
        delete window;
        window = nullptr;
        dir.reset();
        synthetic::resetDevices();
    }

    void generatedNamesNeverReplaceFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free") << "a.png" << QStringList() << "a.png";
        QTest::newRow("taken") << "a.png" << QStringList{"a.png"} << "a_2.png";
        QTest::newRow("taken twice") << "a.avi" << QStringList{"a.avi", "a_2.avi"} << "a_3.avi";
        QTest::newRow("no suffix") << "a" << QStringList{"a"} << "a_2";
    }

    void generatedNamesNeverReplaceFiles()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, existing);
        QFETCH(QString, expected);
        // A dot in a directory name must not be taken for the start of the extension.
        const QString base = dir->path() + QStringLiteral("/with.dot");
        QVERIFY(QDir().mkpath(base));
        for (const QString &file : existing) {
            QFile f(base + QLatin1Char('/') + file);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QCOMPARE(FileNaming::firstFreePath(base + QLatin1Char('/') + name),
                 base + QLatin1Char('/') + expected);

        const QDateTime time(QDate(2025, 3, 5), QTime(14, 7, 9));
        QCOMPARE(
            FileNaming::snapshotPath(QStringLiteral("C:/Users/u/Pictures"), time, {1280, 720}),
            QStringLiteral("C:/Users/u/Pictures/Ostrel_snapshot_2025-03-05_14-07-09_1280x720.png"));
        QCOMPARE(FileNaming::recordingPath(QStringLiteral("C:/Users/u/Videos"), time),
                 QStringLiteral("C:/Users/u/Videos/Ostrel_recording_2025-03-05_14-07-09.avi"));
    }

    void snapshotNeedsRunningCameraAndFrame()
    {
        auto *notification = access->notificationLabel();
        access->takeSnapshot();
        QVERIFY(notification->isHidden());
        QVERIFY(filesIn(dir->path()).isEmpty());

        // A stream whose capture thread never delivers a frame.
        access->scan();
        synthetic::failNextGetFormatInfo();
        child<QPushButton>("startStopButton")->click();
        QVERIFY(access->cameraRunning());
        access->takeSnapshot();
        QCOMPARE(notification->text(), QStringLiteral("No camera frame available"));
        QVERIFY(notification->styleSheet().contains(QStringLiteral("#E06C75")));
        child<QPushButton>("recordButton")->click();
        QVERIFY(!access->isRecording());
        QVERIFY(!child<QPushButton>("recordButton")->isChecked());
        QVERIFY(filesIn(dir->path()).isEmpty());
    }

    void snapshotSavesTransformedPictureUnderFormatName()
    {
        startCamera();
        access->setOrientation(true, 270);
        access->takeSnapshot();
        access->takeSnapshot();

        const QStringList files = filesIn(dir->path());
        QCOMPARE(files.size(), 2);
        const QRegularExpression pattern(QStringLiteral(
            "^Ostrel_snapshot_\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d_320x240(_2)?\\.png$"));
        for (const QString &file : files) {
            QVERIFY2(pattern.match(file).hasMatch(), qPrintable(file));
            QImageReader reader(dir->filePath(file));
            QCOMPARE(reader.format(), QByteArray("png"));
            QCOMPARE(reader.size(), QSize(240, 320));
        }
        auto *notification = access->notificationLabel();
        QVERIFY(notification->text().startsWith(QStringLiteral("Snapshot saved (240x320)\n")));
        QVERIFY(files.contains(notification->text().section(QLatin1Char('\n'), 1)));
        QVERIFY(notification->styleSheet().contains(QStringLiteral("#98C379")));

        // The saved picture is the frame mirrored, then turned: compare with the same transform of
        // the camera's picture (the colour bars below the frame-number strip do not move).
        const QImage saved(dir->filePath(files.first()));
        const QImage expected = access->transformFrame(access->camera()->latestFrame());
        const int x = saved.width() / 2;
        QCOMPARE(saved.pixelColor(x, saved.height() - 5),
                 expected.pixelColor(x, saved.height() - 5));
    }

    void snapshotFailuresAndDialog()
    {
        startCamera();
        // A missing folder is made; one that cannot be made (below a file) fails.
        access->setDirectories(dir->path(), dir->path() + QStringLiteral("/new/deeper"));
        access->takeSnapshot();
        QCOMPARE(filesIn(dir->path() + QStringLiteral("/new/deeper")).size(), 1);
        QFile blocker(dir->filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        access->setDirectories(dir->path(), blocker.fileName() + QStringLiteral("/deeper"));
        access->takeSnapshot();
        QCOMPARE(access->notificationLabel()->text(), QStringLiteral("Failed to save snapshot"));

        access->setAutoSave(false);
        access->setDirectories(dir->path(), dir->path());
        access->notificationLabel()->hide();
        {
            ModalAnswerer cancel;
            access->takeSnapshot();
            QCOMPARE(cancel.count(), 1);
            QCOMPARE(cancel.seen().first().title, QStringLiteral("Save Snapshot"));
        }
        QCOMPARE(filesIn(dir->path()), QStringList{QStringLiteral("file")});
        QVERIFY(access->notificationLabel()->isHidden());

        const QString jpeg = dir->filePath(QStringLiteral("chosen.jpg"));
        ModalAnswerer choose([jpeg](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            // Typed into the name field, as a user would.
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(jpeg);
            static_cast<QDialog *>(dialog)->accept();
        });
        access->takeSnapshot();
        QCOMPARE(choose.count(), 1);
        QImageReader reader(jpeg);
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), QSize(320, 240));
    }

    void notificationIsClampedAtBottomCentre_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("atMinimum");
        QTest::newRow("one word") << "Hi" << true;
        QTest::newRow("long") << QString(QStringLiteral("a very long message ")).repeated(40)
                              << false;
    }

    void notificationIsClampedAtBottomCentre()
    {
        QFETCH(QString, message);
        QFETCH(bool, atMinimum);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        access->showNotification(message, true);
        auto *label = access->notificationLabel();
        const QRect area = child<QLabel>("videoLabel")->geometry();
        const QRect shown = label->geometry();
        if (atMinimum) {
            QCOMPARE(shown.size(), QSize(200, 40));
        } else {
            QVERIFY(shown.width() <= 400 && shown.height() <= 100);
            QVERIFY(shown.width() >= 200 && shown.height() >= 40);
        }
        QCOMPARE(shown.left(), area.x() + (area.width() - shown.width()) / 2);
        QCOMPARE(shown.top(), area.y() + area.height() - 20 - shown.height());
        QVERIFY(label->isVisible());
        QVERIFY(access->notificationTimer()->isActive());
        QVERIFY(access->notificationTimer()->isSingleShot());
        QCOMPARE(access->notificationTimer()->interval(), 3000);
        // Let the three seconds pass at once.
        access->notificationTimer()->start(0);
        QTRY_VERIFY(label->isHidden());
    }

    void recordingStopsLeaveWholeFiles_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("record button") << "button";
        QTest::newRow("Ctrl+R") << "shortcut";
        QTest::newRow("Stop Camera") << "camera";
        QTest::newRow("window closed") << "close";
    }

    void recordingStopsLeaveWholeFiles()
    {
        QFETCH(QString, how);
        if (how == QStringLiteral("shortcut"))
            showActive();
        startCamera();
        recordFor(800);
        const QString path = access->currentRecordingPath();
        QVERIFY(QRegularExpression(
                    QStringLiteral("/Ostrel_recording_\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-"
                                   "\\d\\d(_\\d+)?\\.avi$"))
                    .match(path)
                    .hasMatch());
        QCOMPARE(child<QPushButton>("recordButton")->text(), QStringLiteral("Stop Recording"));
        QVERIFY(!child<QComboBox>("formatSelector")->isEnabled());
        QVERIFY(!child<QPushButton>("rotateButton")->isEnabled());
        QVERIFY(child<QSlider>("brightnessSlider")->isEnabled());

        if (how == QStringLiteral("button")) {
            child<QPushButton>("recordButton")->click();
        } else if (how == QStringLiteral("shortcut")) {
            QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
        } else if (how == QStringLiteral("camera")) {
            child<QPushButton>("startStopButton")->click();
        } else {
            access.reset();
            delete window;
            window = nullptr;
            verifyWholeFile(path, {320, 240});
            return;
        }
        QVERIFY(!access->isRecording());
        auto *record = child<QPushButton>("recordButton");
        QVERIFY(!record->isChecked());
        QCOMPARE(record->text(), QStringLiteral("Record"));
        QVERIFY(record->styleSheet().isEmpty());
        QCOMPARE(child<QLabel>("recordingTimeLabel")->text(), QStringLiteral("00:00"));
        QVERIFY(child<QLabel>("recordingIndicator")->isHidden());
        QTRY_COMPARE(access->notificationLabel()->text(),
                     QStringLiteral("Recording saved: ") + QFileInfo(path).fileName());
        QVERIFY(access->currentRecordingPath().isEmpty());
        verifyWholeFile(path, {320, 240});
    }

    void recordingRotatedAndAtDefaultRate()
    {
        access->scan();
        // 1280 x 720 turned by 90 degrees is recorded upright.
        child<QComboBox>("formatSelector")->setCurrentIndex(1);
        child<QPushButton>("startStopButton")->click();
        QTRY_VERIFY(!access->camera()->latestFrame().isNull());
        access->setOrientation(false, 90);
        recordFor(600);
        const QString rotated = access->currentRecordingPath();
        // Stopped and started again before the end of the first recording has been announced.
        child<QPushButton>("recordButton")->click();
        child<QPushButton>("recordButton")->click();
        const QString next = access->currentRecordingPath();
        QVERIFY(next != rotated);
        QTest::qWait(100);
        QCOMPARE(access->currentRecordingPath(), next);
        QVERIFY(!access->notificationLabel()->text().contains(QFileInfo(next).fileName()));
        child<QPushButton>("recordButton")->click();
        verifyWholeFile(rotated, {720, 1280});
        verifyWholeFile(next, {720, 1280});

        // A format that reports 0 frames per second is recorded at 30.
        access->setOrientation(false, 0);
        child<QComboBox>("formatSelector")->setCurrentIndex(2);
        QTRY_VERIFY(!access->camera()->latestFrame().isNull() &&
                    access->camera()->latestFrame().width() == 320);
        recordFor(400);
        QCOMPARE(access->recordingFps(), 30.0);
        const QString slow = access->currentRecordingPath();
        QVERIFY(slow != rotated && slow != next);
        child<QPushButton>("recordButton")->click();
        const ProbeResult probe = probeVideo(slow);
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QCOMPARE(probe.frameRate, QStringLiteral("30/1"));
    }

    void recordingTimeAndBlink()
    {
        QCOMPARE(formatRecordingTime(0), QStringLiteral("00:00"));
        QCOMPARE(formatRecordingTime(61500), QStringLiteral("01:01"));
        QCOMPARE(formatRecordingTime(100 * 60 * 1000), QStringLiteral("100:00"));

        startCamera();
        recordFor(0);
        auto *dot = child<QLabel>("recordingIndicator");
        QVERIFY(!dot->styleSheet().contains(QStringLiteral("color: red")));
        QVERIFY(!dot->isHidden());
        QCOMPARE(access->recordingTimer()->interval(), 500);
        // Each tick alternates the dot: transparent, red, transparent.
        access->updateRecordingTime();
        QVERIFY(dot->styleSheet().contains(QStringLiteral("color: transparent")));
        QCOMPARE(child<QLabel>("recordingTimeLabel")->text(), QStringLiteral("00:00"));
        access->updateRecordingTime();
        QVERIFY(dot->styleSheet().contains(QStringLiteral("color: red")));
        access->updateRecordingTime();
        QVERIFY(dot->styleSheet().contains(QStringLiteral("color: transparent")));
        child<QPushButton>("recordButton")->click();
    }

    void writerErrorReturnsToIdleAndNextRecordingWorks()
    {
        startCamera();
        QFile blocker(dir->filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        access->setDirectories(blocker.fileName() + QStringLiteral("/videos"), dir->path());
        child<QPushButton>("recordButton")->click();
        QTRY_VERIFY(!access->isRecording());
        QTRY_COMPARE(access->notificationLabel()->text(),
                     QStringLiteral("Recording error occurred"));
        QVERIFY(!child<QPushButton>("recordButton")->isChecked());
        QCOMPARE(child<QPushButton>("recordButton")->text(), QStringLiteral("Record"));
        QVERIFY(child<QComboBox>("formatSelector")->isEnabled());

        access->setDirectories(dir->filePath(QStringLiteral("not/yet")), dir->path());
        recordFor(500);
        const QString path = access->currentRecordingPath();
        QVERIFY(path.startsWith(dir->filePath(QStringLiteral("not/yet/"))));
        child<QPushButton>("recordButton")->click();
        QTRY_COMPARE(access->notificationLabel()->text(),
                     QStringLiteral("Recording saved: ") + QFileInfo(path).fileName());
        verifyWholeFile(path, {320, 240});
    }

    void fullscreenOpensEscapesAndClosesOnStop()
    {
        startCamera();
        access->setOrientation(false, 90);
        auto *button = child<QPushButton>("fullscreenButton");
        button->click();
        QLabel *view = access->fullscreenLabel();
        QVERIFY(view);
        QVERIFY(view->isVisible());
        QVERIFY(!view->parent());
        QCOMPARE(button->toolTip(), QStringLiteral("Exit fullscreen (ESC)"));
        QCOMPARE(view->geometry().size(), QGuiApplication::primaryScreen()->size());
        // The same turned picture, letterboxed: a landscape camera turned upright is taller.
        QTRY_VERIFY(!view->pixmap().isNull() && view->pixmap().height() > view->pixmap().width());

        for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_F})
            QTest::keyClick(view, key);
        QVERIFY(view->isVisible());
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(view->isHidden());
        QCOMPARE(button->toolTip(), QStringLiteral("Toggle fullscreen camera view"));

        button->click();
        QCOMPARE(access->fullscreenLabel(), view);
        QVERIFY(view->isVisible());
        child<QPushButton>("startStopButton")->click();
        QVERIFY(view->isHidden());
        QCOMPARE(button->toolTip(), QStringLiteral("Toggle fullscreen camera view"));
        QVERIFY(!button->isEnabled());
    }

    void arrowShortcutsStepSliders()
    {
        showActive();
        startCamera();
        auto *brightness = child<QSlider>("brightnessSlider");
        auto *contrast = child<QSlider>("contrastSlider");
        window->setFocus();

        brightness->setValue(98);
        QSignalSpy changes(brightness, &QSlider::valueChanged);
        QTest::keyClick(window, Qt::Key_Up);
        QCOMPARE(brightness->value(), 100);
        QTest::keyClick(window, Qt::Key_Up);
        QCOMPARE(brightness->value(), 100);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(child<QLabel>("brightnessValueLabel")->text(), QStringLiteral("50"));

        contrast->setValue(3);
        const int brightnessBefore = brightness->value();
        QTest::keyClick(window, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(contrast->value(), 0);
        QTest::keyClick(window, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(contrast->value(), 5);
        QCOMPARE(brightness->value(), brightnessBefore);

        // A slider with the keyboard focus is left to its own key handling.
        brightness->setValue(50);
        brightness->setFocus();
        QTRY_VERIFY(brightness->hasFocus());
        QTest::keyClick(brightness, Qt::Key_Down);
        QVERIFY(brightness->value() != 45);
    }

    void recordShortcutNeedsRunningCamera()
    {
        showActive();
        access->scan();
        QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!child<QPushButton>("recordButton")->isChecked());
        QVERIFY(!access->isRecording());
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(access->notificationLabel()->isHidden());

        child<QPushButton>("startStopButton")->click();
        QTRY_VERIFY(!access->camera()->latestFrame().isNull());
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        QTRY_VERIFY(
            access->notificationLabel()->text().startsWith(QStringLiteral("Snapshot saved")));
        QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(access->isRecording());
        QVERIFY(child<QPushButton>("recordButton")->isChecked());
        QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!access->isRecording());
    }

    void settingsOkAndCancel()
    {
        runSettings([](SettingsDialog *dialog) {
            dialog->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
        });
        QVERIFY(store().allKeys().isEmpty());

        const QString chosen = dir->filePath(QStringLiteral("elsewhere"));
        QVERIFY(QDir().mkpath(chosen));
        QString fieldAfterBrowse;
        ModalAnswerer answerer([&](QWidget *modal) {
            if (auto *chooser = qobject_cast<QFileDialog *>(modal)) {
                QCOMPARE(chooser->windowTitle(), QStringLiteral("Select Recording Directory"));
                chooser->setDirectory(chosen);
                static_cast<QDialog *>(chooser)->accept();
            } else if (auto *dialog = qobject_cast<SettingsDialog *>(modal)) {
                dialog->findChild<QPushButton *>(QStringLiteral("recordingBrowseButton"))->click();
                fieldAfterBrowse =
                    dialog->findChild<QLineEdit *>(QStringLiteral("recordingDirectoryEdit"))
                        ->text();
                dialog->findChild<QPushButton *>(QStringLiteral("cancelButton"))->click();
            }
        });
        child<QPushButton>("settingsButton")->click();
        QCOMPARE(QDir(fieldAfterBrowse), QDir(chosen));
        QCOMPARE(access->recordingDirectory(), dir->path());
        QVERIFY(store().allKeys().isEmpty());
    }

    void settingsResetToDefaults()
    {
        const QString movies = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
        const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        auto *flip = child<QPushButton>("flipButton");
        auto *rotate = child<QPushButton>("rotateButton");

        // Reset, then Cancel: the orientation is reset and stored, nothing else.
        flip->click();
        rotate->click();
        access->setAutoSave(false);
        runSettings([](SettingsDialog *dialog) {
            dialog->findChild<QPushButton *>(QStringLiteral("resetToDefaultsButton"))->click();
            QVERIFY(
                dialog->findChild<QCheckBox *>(QStringLiteral("autoSaveCheckBox"))->isChecked());
            dialog->findChild<QPushButton *>(QStringLiteral("cancelButton"))->click();
        });
        QVERIFY(!flip->isChecked());
        QVERIFY(!access->horizontalFlip());
        QCOMPARE(access->rotationAngle(), 0);
        QCOMPARE(store().value(QStringLiteral("horizontalFlip")).toBool(), false);
        QCOMPARE(store().value(QStringLiteral("rotationAngle")).toInt(), 0);
        QCOMPARE(rotate->toolTip(),
                 QStringLiteral("Rotate camera image 90° clockwise (currently 0°)"));
        QVERIFY(!access->autoSaveWithDefaultName());
        QCOMPARE(access->recordingDirectory(), dir->path());
        QVERIFY(!store().contains(QStringLiteral("recordingDirectory")));

        // Reset, then OK: what differs from the window's values is stored.
        runSettings([](SettingsDialog *dialog) {
            dialog->findChild<QPushButton *>(QStringLiteral("resetToDefaultsButton"))->click();
            dialog->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
        });
        QCOMPARE(access->recordingDirectory(), movies);
        QCOMPARE(access->snapshotDirectory(), pictures);
        QVERIFY(access->autoSaveWithDefaultName());
        QCOMPARE(store().value(QStringLiteral("recordingDirectory")).toString(), movies);
        QCOMPARE(store().value(QStringLiteral("snapshotDirectory")).toString(), pictures);
        QCOMPARE(store().value(QStringLiteral("autoSaveWithDefaultName")).toBool(), true);
        // The FPS counter was already on, so it is not written.
        QVERIFY(!store().contains(QStringLiteral("showFpsCounter")));
    }

    void settingsShowFpsAndOpenButtons()
    {
        startCamera();
        auto *fps = child<QLabel>("fpsLabel");
        QVERIFY(!fps->isHidden());
        runSettings([](SettingsDialog *dialog) {
            dialog->findChild<QCheckBox *>(QStringLiteral("showFpsCheckBox"))->setChecked(false);
            dialog->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
        });
        QVERIFY(fps->isHidden());
        QCOMPARE(store().value(QStringLiteral("showFpsCounter")).toBool(), false);

        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
        access->setDirectories(QString(), dir->path());
        runSettings([](SettingsDialog *dialog) {
            dialog->findChild<QPushButton *>(QStringLiteral("recordingOpenButton"))->click();
            dialog->findChild<QPushButton *>(QStringLiteral("snapshotOpenButton"))->click();
            dialog->reject();
        });
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(recorder.opened.size(), 1);
        QCOMPARE(recorder.opened.first(), QUrl::fromLocalFile(dir->path()));
    }

    void aboutNamesVersionAndMaker()
    {
        const QString about = SettingsDialog::aboutText();
        QVERIFY(about.startsWith(QStringLiteral("<p><b>Version:</b> 1.1.0</p>")));
        QVERIFY(about.contains(QStringLiteral(">Contact Support</a>")));
        QVERIFY(about.contains(QStringLiteral("<a href=\"https://www.brellway.example\">"
                                              "https://www.brellway.example</a>")));
        const int lastParagraph = about.lastIndexOf(QStringLiteral("<p>"));
        QVERIFY(about.indexOf(QStringLiteral("Brellway"), lastParagraph) > lastParagraph);

        runSettings([](SettingsDialog *dialog) {
            auto *label = dialog->findChild<QLabel *>(QStringLiteral("aboutLabel"));
            QVERIFY(label->openExternalLinks());
            QCOMPARE(label->text(), SettingsDialog::aboutText());
            dialog->reject();
        });
    }
};

QTEST_MAIN(TestMainWindowCapture)
#include "tst_mainwindow_capture.moc"
