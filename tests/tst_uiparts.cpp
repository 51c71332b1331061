// The window's parts on their own: orientation, typed settings and remembered formats, the frame
// hand-over, the snapshot saver and the recording controller.
#include "appsettings.h"
#include "cameramessages.h"
#include "capturesession.h"
#include "filenaming.h"
#include "framehandover.h"
#include "notificationlabel.h"
#include "recordingcontroller.h"
#include "sliderscale.h"
#include "snapshotsaver.h"
#include "stillcapture.h"
#include "testsupport/mainwindowaccess.h"
#include "testsupport/smalldisk.h"
#include "videowriterthread.h"

#include <QLabel>
#include <QPushButton>
#include <QSemaphore>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QSettings store()
{
    return QSettings("Brellway", "Ostrel");
}

QImage noise(QSize size)
{
    QImage image(size, QImage::Format_RGB888);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7919 + y * 104729) % 251, (x * y) % 253, y % 255));
    return image;
}

CameraBase::CameraFormat format(int width, double fps, uint32_t fourcc, int index = 0)
{
    CameraBase::CameraFormat format;
    format.width = width;
    format.height = 720;
    format.fps = fps;
    format.fourcc = fourcc;
    format.formatIndex = index;
    return format;
}

// A writer whose thread, after closing its file, waits until the test lets it end: the stand-in
// for a slow disk, without timing.
struct GatedWriter : VideoWriterThread
{
    QSemaphore gate;
    void run() override
    {
        VideoWriterThread::run();
        gate.acquire();
    }
};

} // namespace

class TestUiParts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepareWindowTestApplication(); }
    void init() { store().clear(); }

    void storedAnglesAreReduced_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("angle");
        QTest::newRow("450") << QVariant(450) << 90;
        QTest::newRow("-90") << QVariant(-90) << 270;
        QTest::newRow("45") << QVariant(45) << 0;
        QTest::newRow("INT_MAX") << QVariant(INT_MAX) << 0;
        QTest::newRow("text") << QVariant("banana") << 0;
    }
    void storedAnglesAreReduced()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, angle);
        store().setValue("rotationAngle", stored);
        QCOMPARE(AppSettings::load().orientation.angle, angle);
    }

    void orientationMirrorsThenRotates()
    {
        QImage row(2, 1, QImage::Format_RGB888);
        row.setPixel(0, 0, qRgb(255, 0, 0));
        row.setPixel(1, 0, qRgb(0, 255, 0));
        const QImage turned = Orientation{true, 90}.apply(row);
        QCOMPARE(turned.size(), QSize(1, 2));
        QCOMPARE(turned.pixel(0, 0), qRgb(0, 255, 0));
        QCOMPARE(Orientation({false, 90}).apply(row).pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(Orientation({false, 270}).rotatedClockwise().angle, 0);
    }

    void unusableSettingsReadAsDefaults_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QVariant>("expected"); // invalid: the default
        QTest::newRow("empty folder") << "recordingDirectory" << QVariant(QString()) << QVariant();
        QTest::newRow("relative folder") << "snapshotDirectory" << QVariant("pics") << QVariant();
        QTest::newRow("absolute folder")
            << "snapshotDirectory" << QVariant("/srv/pics") << QVariant("/srv/pics");
        QTest::newRow("bool as text") << "showFpsCounter" << QVariant("false") << QVariant(false);
        QTest::newRow("not a bool")
            << "autoSaveWithDefaultName" << QVariant("banana") << QVariant(true);
        QTest::newRow("flip") << "horizontalFlip" << QVariant("1") << QVariant(true);
        QTest::newRow("H.264 MP4") << "recordingFormat" << QVariant("h264-mp4") << QVariant(2);
        QTest::newRow("unknown format")
            << "recordingFormat" << QVariant("theora-ogg") << QVariant();
        QTest::newRow("segments") << "segmentMinutes" << QVariant("15") << QVariant(15);
        QTest::newRow("negative time-lapse") << "timelapseSeconds" << QVariant("-10") << QVariant();
        QTest::newRow("no floor") << "minFreeMegabytes" << QVariant(0) << QVariant(0);
        QTest::newRow("floor as text") << "minFreeMegabytes" << QVariant("lots") << QVariant();
    }
    void unusableSettingsReadAsDefaults()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QVariant, expected);
        store().setValue(key, stored);
        const auto read = [&key](const AppSettings &s) {
            const QMap<QString, QVariant> fields = {
                {"recordingDirectory", s.recordingDirectory},
                {"snapshotDirectory", s.snapshotDirectory},
                {"showFpsCounter", s.showFpsCounter},
                {"autoSaveWithDefaultName", s.autoSaveWithDefaultName},
                {"horizontalFlip", s.orientation.mirrored},
                {"recordingFormat", int(s.recordingFormat)},
                {"segmentMinutes", s.segmentMinutes},
                {"timelapseSeconds", s.timelapseSeconds},
                {"minFreeMegabytes", s.minFreeMegabytes}};
            return fields.value(key);
        };
        const QVariant fallback = read(AppSettings::defaults());
        QVERIFY(expected.isValid() || !fallback.toString().isEmpty());
        QCOMPARE(read(AppSettings::load()), expected.isValid() ? expected : fallback);
    }

    // The format a camera ran in last is found again in its list by size, rate and code.
    void rememberedFormatIsFoundAgain_data()
    {
        QTest::addColumn<CameraBase::CameraFormat>("listed");
        QTest::addColumn<bool>("found");
        QTest::newRow("index ignored") << format(1280, 30.0, 1, 7) << true;
        QTest::newRow("width differs") << format(1281, 30.0, 1) << false;
        QTest::newRow("code differs") << format(1280, 30.0, 2) << false;
        QTest::newRow("rate differs") << format(1280, 30000.0 / 1001, 1) << false;
        QTest::newRow("rate rounded apart") << format(1280, 0.1 * 3 * 100, 1) << true;
    }
    void rememberedFormatIsFoundAgain()
    {
        QFETCH(CameraBase::CameraFormat, listed);
        QFETCH(bool, found);
        AppSettings::storeCameraFormat("camera", format(1280, 30.0, 1));
        const auto remembered = AppSettings::cameraFormat("camera");
        QVERIFY(remembered);
        QCOMPARE(*remembered == listed, found);
        QCOMPARE(listed != *remembered, !found);
    }

    // A failed start blames another program only where one may be the cause.
    void startFailureHeadline_data()
    {
        QTest::addColumn<CameraBase::Failure>("failure");
        QTest::addColumn<bool>("blamesAnotherProgram");
        using F = CameraBase::Failure;
        const QMetaEnum names = QMetaEnum::fromType<F>();
        for (F failure :
             {F::Busy, F::Other, F::Unplugged, F::NoPermission, F::ModeTooLarge, F::FrameTooLarge})
            QTest::newRow(names.valueToKey(int(failure)))
                << failure << (failure == F::Busy || failure == F::Other);
    }
    void startFailureHeadline()
    {
        QFETCH(CameraBase::Failure, failure);
        QFETCH(bool, blamesAnotherProgram);
        const QString headline = CameraMessages::startFailed(failure);
        QVERIFY(headline.startsWith("Failed to start camera."));
        QCOMPARE(headline.contains("another application"), blamesAnotherProgram);
    }

    // At most one frame waits and one notification is under way, however fast frames come.
    void sliderScaleRoundTrips_data()
    {
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::newRow("Logitech C920, 0..255") << 0 << 255;
        QTest::newRow("signed, -64..64") << -64 << 64;
        QTest::newRow("as many steps as the slider") << 0 << 100;
        QTest::newRow("wide, -10000..10000") << -10000 << 10000;
    }

    // Every slider position comes back from the camera's units as it was set (brightness 5 must
    // not come back as 4); the ends of the slider are the ends of the camera's range.
    void sliderScaleRoundTrips()
    {
        QFETCH(int, min);
        QFETCH(int, max);
        const SliderScale scale(min, max);
        QCOMPARE(scale.toDevice(SliderScale::lowest), min);
        QCOMPARE(scale.toDevice(SliderScale::highest), max);
        for (int position = SliderScale::lowest; position <= SliderScale::highest; ++position)
            QCOMPARE(scale.toPosition(scale.toDevice(position)), position);
        QCOMPARE(SliderScale(5, 5).toPosition(5), 50);
    }

    void handOverKeepsTheNewestFrameOnly()
    {
        FrameHandOver handOver;
        QSignalSpy notified(&handOver, &FrameHandOver::frameAvailable);
        for (int width = 1; width <= 3; ++width)
            handOver.postFrame(QImage(width, 1, QImage::Format_RGB888));
        QCOMPARE(notified.count(), 1);
        QCOMPARE(handOver.takeFrame().width(), 3);
        QVERIFY(handOver.takeFrame().isNull());
        handOver.postFrame(QImage(4, 1, QImage::Format_RGB888));
        QCOMPARE(notified.count(), 2);
        handOver.clear();
        QVERIFY(handOver.takeFrame().isNull());
    }

    // The encoder notices the failed write of a large picture; of a small one only the file
    // knows (the encoder reports success, and the file would be committed empty).
    void snapshotOnFullDiskIsAFailure_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("encoder fails") << QSize(320, 240);
        QTest::newRow("only the file fails") << QSize(8, 8);
    }
    void snapshotOnFullDiskIsAFailure()
    {
        QFETCH(QSize, size);
        SmallDisk disk(64 * 1024);
        if (!disk.isMounted())
            QSKIP("cannot mount a small tmpfs (not root?)");
        disk.fill();
        QString error;
        QVERIFY(!StillCapture::writeImage(noise(size), disk.filePath("full.png"), &error));
        QCOMPARE(error, "No space left on device");
        QCOMPARE(disk.files(), QStringList());

        CaptureSession session;
        SnapshotSaver saver(&session);
        QSignalSpy notices(&saver, &SnapshotSaver::notificationRequested);
        session.stills()->save(noise(size), Orientation(), disk.filePath("full.png"));
        QTRY_COMPARE(notices.count(), 1);
        QCOMPARE(notices.at(0).at(0).toString(),
                 "Failed to save snapshot\nNo space left on device");
        QCOMPARE(notices.at(0).at(1).toBool(), false);
        QCOMPARE(disk.files(), QStringList());
    }

    void snapshotsInOneSecondGetTwoNames()
    {
        QTemporaryDir dir;
        CaptureSession session;
        SnapshotSaver saver(&session);
        StillCapture *stills = session.stills();
        QSignalSpy notices(&saver, &SnapshotSaver::notificationRequested);
        // A second snapshot in the same second gets a name of its own while the first is
        // still being written.
        AppSettings settings;
        settings.snapshotDirectory = dir.path();
        const QString first = saver.choosePath(nullptr, settings, QSize(320, 240));
        stills->save(noise(QSize(320, 240)), Orientation{false, 90}, first);
        const QString second = saver.choosePath(nullptr, settings, QSize(320, 240));
        QVERIFY(second != first);
        QTRY_COMPARE(notices.count(), 1);
        QVERIFY(notices.at(0).at(1).toBool());
        QCOMPARE(notices.at(0).at(2).toString(), dir.path());
    }

    // Stop returns while the file is still being finished; success is announced, with the
    // folder to open, only once the writer is done, and never after an error.
    void recordingFinishesInTheBackground()
    {
        QTemporaryDir dir;
        QLabel time;
        QLabel indicator;
        QLabel detail;
        auto *writer = new GatedWriter;
        Recorder recorder(nullptr, writer);
        RecordingController controller(&recorder, &time, &indicator, &detail);
        QSignalSpy notices(&controller, &RecordingController::notificationRequested);
        QPushButton record;

        const QString path = dir.filePath("slow.avi");
        QVERIFY(recorder.start(path, noise(QSize(64, 48)), 30.0, Orientation()));
        QVERIFY(!indicator.isHidden());
        recorder.stop();
        QCOMPARE(recorder.state(), Recorder::State::Finishing);
        controller.updateRecordButton(&record, true);
        QCOMPARE(record.text(), "Finishing…");
        QVERIFY(!record.isEnabled());
        QTRY_VERIFY(writer->isFinished() || QFileInfo(path).size() > 0);
        QCOMPARE(recorder.state(), Recorder::State::Finishing);
        QCOMPARE(notices.count(), 0);
        writer->gate.release();
        QTRY_COMPARE(recorder.state(), Recorder::State::Idle);
        QCOMPARE(notices.count(), 1);
        // A recording without a camera: only its own first frame, in every slot.
        QVERIFY(notices.at(0).at(0).toString().startsWith("Recording saved: slow.avi\n"));
        QVERIFY(notices.at(0).at(0).toString().endsWith(
            "camera frames lost: 0 at the camera, 0 in the program"));
        QCOMPARE(notices.at(0).at(2).toString(), dir.path());

        // A file that cannot be opened: the error, and nothing else.
        writer->gate.release();
        const QString blocked = dir.filePath("slow.avi/inside.avi");
        QVERIFY(recorder.start(blocked, noise(QSize(64, 48)), 30.0, Orientation()));
        QTRY_COMPARE(recorder.state(), Recorder::State::Idle);
        QCOMPARE(notices.count(), 2);
        QVERIFY(notices.at(1).at(0).toString().startsWith("Recording error occurred"));
        QCOMPARE(notices.at(1).at(1).toBool(), false);
    }

    // A notice under the mouse stays until the mouse leaves it.
    void hoveredNoticeStays()
    {
        QWidget parent;
        NotificationLabel notice(&parent);
        notice.showMessage("Recording saved: a.avi", true, QRect(0, 0, 640, 480), "/tmp");
        auto *timer = notice.findChild<QTimer *>("notificationTimer");
        QVERIFY(timer->isActive());
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(&notice, &enter);
        QVERIFY(!timer->isActive());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&notice, &leave);
        QVERIFY(timer->isActive());
    }

    // A name typed without a suffix gets the one of the dialog's filter; a known one is kept.
    void typedNamesGetASuffix_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::newRow("none") << "/a/myclip"
                              << "/a/myclip.avi";
        QTest::newRow("kept") << "/a/x.AVI"
                              << "/a/x.AVI";
        QTest::newRow("other") << "/a/x.y"
                               << "/a/x.y.avi";
        QTest::newRow("cancelled") << ""
                                   << "";
    }
    void typedNamesGetASuffix()
    {
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        QCOMPARE(FileNaming::withSuffix(typed, "avi", {"avi"}), saved);
    }
};

QTEST_MAIN(TestUiParts)
#include "tst_uiparts.moc"
