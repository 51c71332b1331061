// The window's parts on their own: orientation, typed settings and remembered formats, the frame
// hand-over, the snapshot saver and the recording controller.
#include "appsettings.h"
#include "benchtoolscontroller.h"
#include "benchtoolswindow.h"
#include "cameramessages.h"
#include "capturesession.h"
#include "filenaming.h"
#include "framediagnostics.h"
#include "framehandover.h"
#include "imagemeasures.h"
#include "levelmeter.h"
#include "notificationlabel.h"
#include "recordingcontroller.h"
#include "settingsdialog.h"
#include "sliderscale.h"
#include "snapshotsaver.h"
#include "stillcapture.h"
#include "testsupport/mainwindowaccess.h"
#include "testsupport/smalldisk.h"
#include "videowriterthread.h"
#include "viewfinder.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSemaphore>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

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

// Softened as by a lens out of focus: shrunk and blown up again, smoothly.
QImage blurred(const QImage &image)
{
    return image.scaled(image.size() / 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .scaled(image.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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
        QTest::newRow("Opus") << "soundCodec" << QVariant("opus") << QVariant(1);
        QTest::newRow("unknown sound codec") << "soundCodec" << QVariant("mp3") << QVariant();
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
                {"minFreeMegabytes", s.minFreeMegabytes},
                {"soundCodec", int(s.soundCodec)}};
            return fields.value(key);
        };
        const QVariant fallback = read(AppSettings::defaults());
        QVERIFY(expected.isValid() || !fallback.toString().isEmpty());
        QCOMPARE(read(AppSettings::load()), expected.isValid() ? expected : fallback);
    }

    // Each camera keeps its own sound source; the dialog offers the sound server's sources
    // beside the camera's microphone, and keeps a source not connected now.
    void soundSourceIsRememberedPerCamera()
    {
        AppSettings settings = AppSettings::load("left");
        QCOMPARE(settings.soundSource, QString("camera"));
        SettingsDialog dialog(settings);
        auto *box = dialog.findChild<QComboBox *>("soundSourceBox");
        QTRY_VERIFY_WITH_TIMEOUT(box->findData("sine") >= 0, 10000);
        QCOMPARE(box->currentData().toString(), QString("camera"));
        box->setCurrentIndex(box->findData("sine"));
        settings.storeChoices(dialog.values());
        QCOMPARE(AppSettings::load("left").soundSource, QString("sine"));
        QCOMPARE(AppSettings::load("right").soundSource, QString("camera"));

        settings = AppSettings::load("right");
        settings.soundSource = "usb-mic-unplugged";
        SettingsDialog later(settings);
        box = later.findChild<QComboBox *>("soundSourceBox");
        QTRY_VERIFY_WITH_TIMEOUT(box->findData("sine") >= 0, 10000);
        QCOMPARE(box->currentData().toString(), QString("usb-mic-unplugged"));
    }

    // The meter turns to "Silent" once the input stays quiet for a second of reads, and back.
    void levelMeterTellsSilence()
    {
        LevelMeter meter;
        std::atomic<double> peak{0.5};
        QSignalSpy reads(&meter, &LevelMeter::levelChanged);
        meter.follow([&peak] { return peak.load(); });
        QVERIFY(!meter.isHidden());
        QTRY_VERIFY(reads.size() >= 3);
        QVERIFY(!meter.isSilent());
        peak = 0.002; // -54 dBFS, a muted microphone's hiss
        const qsizetype loudReads = reads.size();
        QTRY_VERIFY(meter.isSilent());
        QCOMPARE_GE(reads.size() - loudReads, 15);
        QCOMPARE(meter.accessibleDescription(), QString("Silent"));
        peak = 0.01;
        QTRY_VERIFY(!meter.isSilent());
        meter.follow({});
        QVERIFY(meter.isHidden());
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

    // The picture point under the cursor stays there while the wheel zooms, wherever the picture
    // is not held by its edges; a drag moves the picture with the mouse; 1:1 and fit.
    void zoomKeepsThePointUnderTheCursor_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<int>("notches");
        QTest::newRow("middle, in") << QSize(1600, 1200) << QPoint(200, 150) << 3;
        QTest::newRow("off the middle, in") << QSize(1600, 1200) << QPoint(90, 220) << 5;
        QTest::newRow("wide picture, far in") << QSize(1920, 1080) << QPoint(150, 140) << 8;
        QTest::newRow("in and out again") << QSize(1600, 1200) << QPoint(300, 60) << -2;
    }
    void zoomKeepsThePointUnderTheCursor()
    {
        QFETCH(QSize, picture);
        QFETCH(QPoint, cursor);
        QFETCH(int, notches);
        ViewFinder view{QString()};
        view.resize(400, 300);
        view.setFrame(noise(picture / 4));
        view.setPictureSize(picture);
        view.zoomAbout(QPointF(200, 150), 2); // from 2x, so that zooming out is seen too
        const QPointF before = view.zoomGeometry().toPicture(cursor);
        QSignalSpy needs(&view, &ViewFinder::sizeChanged);
        QWheelEvent wheel(cursor, view.mapToGlobal(cursor), {}, QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&view, &wheel);
        QCOMPARE(view.zoom(), std::clamp(2 * std::pow(1.25, notches), 1.0, 8.0));
        const QPointF after = view.zoomGeometry().toPicture(cursor);
        QVERIFY2(QLineF(before, after).length() < 0.01, qPrintable(QString("%1,%2 -> %3,%4")
                                                                       .arg(before.x())
                                                                       .arg(before.y())
                                                                       .arg(after.x())
                                                                       .arg(after.y())));
        QCOMPARE(needs.count(), 1);
        QCOMPARE(view.neededPictureSize(), (QSizeF(400, 300) * view.zoom()).toSize());

        QTest::mousePress(&view, Qt::LeftButton, {}, cursor);
        QTest::mouseMove(&view, cursor + QPoint(-30, 20));
        QTest::mouseRelease(&view, Qt::LeftButton, {}, cursor + QPoint(-30, 20));
        QVERIFY(QLineF(view.zoomGeometry().toPicture(cursor + QPoint(-30, 20)), after).length() <
                0.01);
        view.zoomOneToOne();
        QCOMPARE(view.zoomGeometry().scale() * view.devicePixelRatioF(), 1.0);
        view.zoomToFit();
        QCOMPARE(view.zoom(), 1.0);
        QCOMPARE(view.zoomGeometry().pictureRect().center(), QPointF(200, 150));
    }

    // Two clicks on the picture set the ruler's ends in the camera's pixels, whatever size the
    // frames are decoded at; the known distance gives the scale and a round scale bar.
    void rulerScaleFromTwoClickedPoints()
    {
        ViewFinder view{QString()};
        view.resize(400, 300);
        view.setFrame(noise(QSize(400, 300)));
        view.setPictureSize(QSize(800, 600));
        QSignalSpy picked(&view, &ViewFinder::rulerPicked);
        view.pickRulerPoints();
        QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(100, 150));
        QCOMPARE(picked.count(), 0);
        QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(300, 150));
        QCOMPARE(picked.count(), 1);
        const QPointF from = picked.at(0).at(0).toPointF(), to = picked.at(0).at(1).toPointF();
        QCOMPARE(from, QPointF(200, 300));
        QCOMPARE(to, QPointF(600, 300));
        const double mmPerPixel = ImageMeasures::millimetresPerPixel(from, to, 10);
        QCOMPARE(mmPerPixel, 0.025);
        QCOMPARE(ImageMeasures::roundRulerLength(mmPerPixel, 200), 5.0);
        QCOMPARE(ImageMeasures::roundRulerLength(mmPerPixel, 1000), 20.0);
        QCOMPARE(ImageMeasures::roundRulerLength(0.3, 100), 20.0);

        // The crosshair is taken where it is drawn and dropped on a whole pixel.
        OverlaySettings marks;
        marks.crosshair = true;
        marks.crosshairAt = QPointF(500, 375);
        view.setOverlays(marks);
        view.setPictureSize(QSize(1000, 750));
        QSignalSpy moved(&view, &ViewFinder::crosshairMoved);
        QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(203, 148));
        QTest::mouseMove(&view, QPoint(251, 101));
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(251, 101));
        QVERIFY(!moved.isEmpty());
        QCOMPARE(moved.last().at(0).toPointF(), QPointF(627, 252));
        QCOMPARE(view.overlays().crosshairAt, QPointF(627, 252));
    }

    // Sharp beats blurred, in the region asked for; a still picture moved by a pixel keeps its
    // figure within 2 %.
    void focusFigureOrdersSharpAndBlurred()
    {
        const QImage sharp = noise(QSize(640, 480));
        QImage half = sharp;
        QPainter(&half).drawImage(QRect(320, 0, 320, 480), blurred(sharp), QRect(320, 0, 320, 480));
        const QRect left(40, 40, 240, 400), right(360, 40, 240, 400);
        const double sharpFigure = ImageMeasures::sharpness(half, left);
        QVERIFY(sharpFigure > 3 * ImageMeasures::sharpness(half, right));
        QVERIFY(ImageMeasures::sharpness(blurred(sharp), left) * 3 < sharpFigure);
        const double moved = ImageMeasures::sharpness(half, left.translated(1, 1));
        QVERIFY2(qAbs(moved - sharpFigure) < 0.02 * sharpFigure,
                 qPrintable(QString("%1 vs %2").arg(moved).arg(sharpFigure)));
        // A large region is measured on fewer pixels, alike for sharp and blurred.
        QVERIFY(ImageMeasures::sharpness(sharp, sharp.rect(), 160) >
                3 * ImageMeasures::sharpness(blurred(sharp), sharp.rect(), 160));
        int marked[2] = {0, 0};
        for (const QPoint &edge : ImageMeasures::peakingPoints(half))
            ++marked[edge.x() >= 320];
        QVERIFY2(marked[0] > 10 * marked[1], qPrintable(QString::number(marked[1])));
    }

    // Clipped at the bottom: every channel 0; at the top: any channel 255.
    void histogramCountsTheClippedShares()
    {
        QImage picture(100, 100, QImage::Format_RGB888);
        QPainter painter(&picture);
        painter.fillRect(0, 0, 100, 20, Qt::black);
        painter.fillRect(0, 20, 100, 30, Qt::white);
        painter.fillRect(0, 50, 100, 10, QColor(255, 0, 0));
        painter.fillRect(0, 60, 100, 40, QColor(128, 128, 128));
        painter.end();
        const ImageMeasures::Histogram all = ImageMeasures::histogram(picture);
        QCOMPARE(all.pixels, quint64(10000));
        QCOMPARE(all.clippedDark, 0.2);
        QCOMPARE(all.clippedLight, 0.4);
        QCOMPARE(all.luma[0], 2000u);
        QCOMPARE(all.luma[255], 3000u);
        QCOMPARE(all.luma[128], 4000u);
        QCOMPARE(all.red[255], 4000u);
        QCOMPARE(all.green[0], 3000u);
        const ImageMeasures::Histogram sampled = ImageMeasures::histogram(picture, 2);
        QCOMPARE(sampled.pixels, quint64(2500));
        QCOMPARE(sampled.clippedLight, 0.4);
    }

    // The frame facts are collected while the diagnostics page is in view, never otherwise.
    void hiddenToolsCostNothing()
    {
        QWidget window;
        CaptureSession session;
        ViewFinder view(QString(), &window);
        BenchToolsController tools(&window, &session, &view);
        BenchToolsWindow *toolsWindow = tools.toolsWindow();
        FrameDiagnostics *diagnostics = session.diagnostics();
        QVERIFY(!diagnostics->isEnabled());
        toolsWindow->showPage(BenchToolsWindow::Diagnostics);
        QVERIFY(diagnostics->isEnabled());
        toolsWindow->showPage(BenchToolsWindow::Focus);
        QVERIFY(!diagnostics->isEnabled());
        toolsWindow->showPage(BenchToolsWindow::Diagnostics);
        toolsWindow->hide();
        QVERIFY(!diagnostics->isEnabled());

        // The keys open and close a page, zoom, and fit again.
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(toolsWindow->visiblePage(), int(BenchToolsWindow::Exposure));
        QTest::keyClick(&window, Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(toolsWindow->visiblePage(), -1);
        QTest::keyClick(&window, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(view.zoom(), 1.25);
        QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(view.zoom(), 1.0);
    }
};

QTEST_MAIN(TestUiParts)
#include "tst_uiparts.moc"
