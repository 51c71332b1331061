// The capture session without a window, on a synthetic camera: what the window and the command
// line rely on, tested once here.
#include "capturesession.h"
#include "framehandover.h"
#include "openpnpcamera.h"
#include "stillcapture.h"
#include "synthetic/syntheticcontrol.h"
#include "testsupport/ffprobe.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <memory>

namespace synthetic = ostrel::synthetic;

class TestCaptureSession : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CaptureSession> session;
    QTemporaryDir dir;

    void startSession(const synthetic::FormatSpec &mode)
    {
        synthetic::setDevices({{"Bench Camera", {mode}}});
        session = std::make_unique<CaptureSession>();
        session->setCamera(new OpenPNPCamera);
        CameraBase *camera = session->camera();
        camera->availableCameras();
        QVERIFY(camera->openCamera(0));
        QVERIFY(camera->setFormat(camera->supportedFormats().at(0)));
        QSignalSpy running(session.get(), &CaptureSession::runningChanged);
        QVERIFY(session->start());
        QCOMPARE(running.count(), 1);
        QVERIFY(session->isRunning());
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName("Brellway");
        QCoreApplication::setApplicationName("Ostrel");
    }
    void init() { QSettings("Brellway", "Ostrel").clear(); }
    void cleanup()
    {
        session.reset();
        synthetic::resetDevices();
    }

    // Turned by 90°: the file has the turned size and the camera's frames in order, the snapshot
    // is turned too and full size, and a frame on its way after the stop is never handed out.
    // Motion-JPEG and H.264 alike.
    void recordsAndSnapshotsTheTurnedPicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Motion-JPEG") << "turned.avi";
        QTest::newRow("H.264") << "turned.mkv";
    }
    void recordsAndSnapshotsTheTurnedPicture()
    {
        QFETCH(QString, name);
        if (!ffprobeAvailable())
            QSKIP("ffprobe is not installed");
        startSession(synthetic::mode(320, 240, 30, "MJPG"));
        // A camera that falls behind its clock: the end line must name the frames it lost.
        synthetic::setRenderDelay(0, 45);
        QSignalSpy frames(session.get(), &CaptureSession::frameAvailable);
        QTRY_VERIFY(!frames.isEmpty());
        session->setOrientation({false, 90});
        // A view half the picture's size, turned: the display gets the picture decoded at half
        // size, while the snapshot and the recording below keep the full size.
        session->setViewSize(QSize(120, 160));
        QTRY_VERIFY(frames.last().at(0).value<QImage>().size() == QSize(160, 120));

        const QString video = dir.filePath(name);
        RecordingOptions options;
        if (name.endsWith(".mkv"))
            options.codec = RecordingOptions::Codec::H264;
        session->setRecordingOptions(options);
        QSignalSpy finished(session->recorder(), &Recorder::finished);
        QVERIFY(session->startRecording(video));
        QVERIFY(!session->startRecording(dir.filePath("second.avi")));
        QSignalSpy saved(session->stills(), &StillCapture::saved);
        QVERIFY(session->takeSnapshot(dir.filePath("turned.png")));
        QTRY_COMPARE(saved.count(), 1);
        QCOMPARE(saved.at(0).at(1).toSize(), QSize(240, 320));
        QCOMPARE(QImage(dir.filePath("turned.png")).size(), QSize(240, 320));
        QTRY_VERIFY(session->recorder()->statistics().framesWritten >= 15);
        session->stop();
        QVERIFY(!session->isRunning());
        QCOMPARE(session->recorder()->state(), Recorder::State::Finishing);
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0), QVariantList({video, true}));

        const ProbeResult probe = probeVideo(video);
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QCOMPARE(QSize(probe.width, probe.height), QSize(240, 320));
        QVERIFY(probe.allDecodable);
        const QList<uint32_t> sequences = recordedSequences(video, QSize(240, 320), 90);
        QCOMPARE(sequences.size(), probe.frames);
        QVERIFY(std::is_sorted(sequences.begin(), sequences.end()));
        const QRegularExpressionMatch report =
            QRegularExpression("camera frames lost: (\\d+) at the camera, (\\d+) in the program$")
                .match(session->recorder()->report());
        QVERIFY2(report.hasMatch(), qPrintable(session->recorder()->report()));
        const int distinct = int(QSet<uint32_t>(sequences.begin(), sequences.end()).size());
        const int missing = int(sequences.last() - sequences.first() + 1) - distinct;
        QVERIFY2(report.captured(1).toInt() > 0 &&
                     qAbs(report.captured(1).toInt() + report.captured(2).toInt() - missing) <= 2,
                 qPrintable(session->recorder()->report() + QString(" / %1 missing").arg(missing)));

        frames.clear();
        session->frameHandOver()->postFrame(QImage(320, 240, QImage::Format_RGB888));
        QCoreApplication::processEvents();
        QCOMPARE(frames.count(), 0);
        QVERIFY(!session->takeSnapshot(dir.filePath("stopped.png")));
    }

    // A lost camera ends the recording into a playable file and is reported once, naming it.
    void lostCameraIsReportedOnceAndEndsTheRecording()
    {
        startSession(synthetic::mode(160, 120, 30, "YUYV"));
        QSignalSpy lost(session.get(), &CaptureSession::cameraLost);
        QSignalSpy finished(session->recorder(), &Recorder::finished);
        QTRY_VERIFY(!session->camera()->latestFrame().isNull());
        const QString video = dir.filePath("lost.avi");
        QVERIFY(session->startRecording(video));
        QTRY_VERIFY(session->recorder()->statistics().framesWritten >= 5);
        synthetic::setPlugged(0, false);
        session->camera()->checkCameraConnection();
        session->camera()->checkCameraConnection();
        QCOMPARE(lost.count(), 1);
        QCOMPARE(lost.at(0).at(1).toString(), video);
        QVERIFY(!session->isRunning());
        QTRY_COMPARE(finished.count(), 1);
        if (ffprobeAvailable()) {
            const ProbeResult probe = probeVideo(video);
            QVERIFY2(probe.ok, qPrintable(probe.error));
            QVERIFY(probe.frames >= 5 && probe.allDecodable);
        }
    }

    // A time-lapse of one frame every 0.2 s takes a frame per slot, goes on through an unplugged
    // camera (repeating its last picture) and takes the camera's frames again once it is back.
    void timelapseOutlivesAnUnpluggedCamera()
    {
        startSession(synthetic::mode(320, 240, 30, "MJPG"));
        RecordingOptions options;
        options.codec = RecordingOptions::Codec::H264;
        options.timelapseIntervalS = 0.2;
        session->setRecordingOptions(options);
        QSignalSpy lost(session.get(), &CaptureSession::cameraLost);
        QTRY_VERIFY(session->hasFrame());
        const QString video = dir.filePath("timelapse.mkv");
        Recorder *recorder = session->recorder();
        QVERIFY(session->startRecording(video));
        QTRY_VERIFY(recorder->statistics().framesWritten >= 4);
        synthetic::setPlugged(0, false);
        session->camera()->checkCameraConnection();
        QCOMPARE(lost.count(), 1);
        QCOMPARE(lost.at(0).at(1).toString(), QString());
        QVERIFY(recorder->isHeldWithoutCamera());
        const int whenLost = recorder->statistics().framesWritten;
        QTRY_VERIFY(recorder->statistics().framesWritten >= whenLost + 3);
        synthetic::setPlugged(0, true);
        QVERIFY(session->start());
        QVERIFY(!recorder->isHeldWithoutCamera());
        QTRY_VERIFY_WITH_TIMEOUT(recorder->elapsedMs() >= 4000, 10000);
        session->stopRecording();
        QTRY_COMPARE(recorder->state(), Recorder::State::Idle);

        const WriterStatistics statistics = recorder->statistics();
        QVERIFY2(std::abs(statistics.framesWritten - statistics.elapsedMs / 200.0) <= 1.5,
                 qPrintable(QString::number(statistics.framesWritten)));
        const ProbeResult probe = probeVideo(video);
        QVERIFY2(probe.ok && probe.allDecodable, qPrintable(probe.error));
        QCOMPARE(probe.codec, "h264");
        QCOMPARE(probe.frameRate, "30/1");
        QCOMPARE(probe.frames, statistics.framesWritten);
        // While the camera was away its last picture was repeated; after its return (counting
        // from 0 again) the file takes a new frame every slot, six camera frames apart.
        const QList<uint32_t> sequences = recordedSequences(video, QSize(320, 240));
        QCOMPARE_GE(sequences.size(), probe.frames - 1);
        int repeats = 0;
        for (qsizetype i = 1; i < sequences.size(); ++i)
            repeats += sequences.at(i) == sequences.at(i - 1);
        QCOMPARE_GE(repeats, 3);
        for (qsizetype i = sequences.size() - 5; i < sequences.size(); ++i)
            QVERIFY2(sequences.at(i) > sequences.at(i - 1) + 2, qPrintable(QString::number(i)));
    }

    // A segmented H.264 recording: numbered files, each whole, whose frames follow on from one
    // file to the next without a frame lost or doubled at a join.
    void segmentJoinsLoseAndDoubleNothing()
    {
        startSession(synthetic::mode(320, 240, 30, "MJPG"));
        RecordingOptions options;
        options.codec = RecordingOptions::Codec::H264;
        options.segmentSeconds = 1;
        session->setRecordingOptions(options);
        QTRY_VERIFY(session->hasFrame());
        Recorder *recorder = session->recorder();
        QVERIFY(session->startRecording(dir.filePath("segments.mp4")));
        QTRY_VERIFY_WITH_TIMEOUT(recorder->statistics().framesWritten >= 100, 10000);
        session->stopRecording();
        QTRY_COMPARE(recorder->state(), Recorder::State::Idle);

        int frames = 0;
        QList<uint32_t> lastOfFile;
        for (int number = 1; number <= 4; ++number) {
            const QString file = dir.filePath(
                QStringLiteral("segments-%1.mp4").arg(number, 3, 10, QLatin1Char('0')));
            const ProbeResult probe = probeVideo(file);
            QVERIFY2(probe.ok && probe.allDecodable, qPrintable(file + probe.error));
            QCOMPARE(probe.frames, number < 4 ? 30 : probe.frames);
            frames += probe.frames;
            const QList<uint32_t> sequences = recordedSequences(file, QSize(320, 240));
            QCOMPARE(sequences.size(), probe.frames);
            if (!lastOfFile.isEmpty())
                QCOMPARE(sequences.first(), lastOfFile.last() + 1);
            lastOfFile << sequences.last();
        }
        QVERIFY(!QFileInfo::exists(dir.filePath("segments-005.mp4")));
        QCOMPARE(frames, recorder->statistics().framesWritten);
    }
};

QTEST_MAIN(TestCaptureSession)
#include "tst_capturesession.moc"
