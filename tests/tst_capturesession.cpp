// The capture session without a window, on a synthetic camera: what the window and the command
// line rely on, tested once here.
#include "bandwidthestimate.h"
#include "capturesession.h"
#include "diagnosticsreport.h"
#include "framediagnostics.h"
#include "framehandover.h"
#include "openpnpcamera.h"
#include "overlaysettings.h"
#include "soundcapture.h"
#include "stillcapture.h"
#include "synthetic/syntheticcontrol.h"
#include "testsupport/ffprobe.h"

#include <QFileInfo>
#include <QProcess>
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
Q_DECLARE_METATYPE(synthetic::Misbehaviour)

class TestCaptureSession : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CaptureSession> session;
    QTemporaryDir dir;

    void startSession(const synthetic::FormatSpec &mode, const synthetic::Misbehaviour &faults = {})
    {
        synthetic::setDevices({{"Bench Camera", {mode}}});
        synthetic::setMisbehaviour(0, faults);
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

    // The figures against what the synthetic camera was told to do: every number it skipped or
    // spoiled counted, the intervals and the rate as its own timestamps give them.
    void diagnosticsTellTheInjectedFaults_data()
    {
        QTest::addColumn<synthetic::Misbehaviour>("faults");
        QTest::newRow("jitter") << synthetic::Misbehaviour{15000, 0, 0, 1.0};
        QTest::newRow("drops and damage") << synthetic::Misbehaviour{0, 4, 7, 1.0};
        QTest::newRow("slower than claimed") << synthetic::Misbehaviour{4000, 0, 0, 1.5};
    }
    void diagnosticsTellTheInjectedFaults()
    {
        QFETCH(synthetic::Misbehaviour, faults);
        startSession(synthetic::mode(160, 120, 20, "MJPG"), faults);
        FrameDiagnostics *diagnostics = session->diagnostics();
        QTRY_VERIFY(session->camera()->frameCounts().taken >= 3);
        QVERIFY(diagnostics->samples().empty()); // nothing is collected while nobody looks
        diagnostics->setEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(diagnostics->samples().size() >= 40, 20000);
        session->stop();
        const std::vector<FrameDiagnostics::Sample> samples = diagnostics->samples();
        const CameraBase::FrameCounts counts = session->camera()->frameCounts();

        // The truth: frame n is due at n periods plus its jitter; multiples of dropEvery are
        // lost, of damageEvery refused.
        const double periodUs = 50000 * faults.slowdown;
        const auto truthUs = [&](quint64 n) {
            return double(n) * periodUs + double(synthetic::jitterOffsetUs(n, faults.jitterUs));
        };
        // (The rows' drop and damage steps have no common factor: both at once is their product.)
        const auto multiples = [](quint64 every, quint64 last) {
            return every ? last / every : 0;
        };
        const quint64 first = samples.front().sequence, last = samples.back().sequence;
        const quint64 both = multiples(faults.dropEvery * faults.damageEvery, last) -
                             multiples(faults.dropEvery * faults.damageEvery, first);
        const quint64 damaged =
            multiples(faults.damageEvery, last) - multiples(faults.damageEvery, first);
        const quint64 dropped =
            multiples(faults.dropEvery, last) - multiples(faults.dropEvery, first) - both;
        const FrameDiagnostics::Figures figures = FrameDiagnostics::figuresOf(samples);
        QCOMPARE(figures.sequenceGaps, dropped + damaged);
        QCOMPARE(counts.lostAtCamera, multiples(faults.dropEvery, last) -
                                          multiples(faults.dropEvery * faults.damageEvery, last));
        QCOMPARE(counts.damaged, multiples(faults.damageEvery, last));
        std::vector<double> intervals;
        for (size_t i = 1; i < samples.size(); ++i)
            intervals.push_back((truthUs(samples[i].sequence) - truthUs(samples[i - 1].sequence)) /
                                1000);
        std::sort(intervals.begin(), intervals.end());
        const auto rank = [&](double share) {
            return intervals[size_t(std::ceil(share * double(intervals.size()))) - 1];
        };
        QVERIFY(figures.intervals);
        const IntervalStatistics::Summary &measured = *figures.intervals;
        QCOMPARE(measured.count, int(intervals.size()));
        for (const auto &[got, want] : {std::pair{measured.medianMs, rank(0.5)},
                                        {measured.p95Ms, rank(0.95)},
                                        {measured.p99Ms, rank(0.99)},
                                        {measured.maxMs, intervals.back()}})
            QVERIFY2(qAbs(got - want) < 0.01, qPrintable(QString("%1 vs %2").arg(got).arg(want)));
        const double fps = double(samples.size() - 1) * 1e6 / (truthUs(last) - truthUs(first));
        QVERIFY(qAbs(figures.deliveredFps - fps) < 0.01);
        QVERIFY(figures.meanCompressedBytes > 100);
        QVERIFY(qAbs(figures.compressedBitsPerSecond - figures.meanCompressedBytes * 8 * fps) < 1);
        diagnostics->setEnabled(false);
        QVERIFY(diagnostics->samples().empty());
    }

    void bandwidthWarningNamesTheFix_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<double>("speedMbps");
        QTest::addColumn<QString>("fix"); // empty: it fits
        QTest::newRow("1080p YUYV on USB 2.0") << "1920x1080@30:YUYV" << 480.0 << "Motion-JPEG";
        QTest::newRow("1080p MJPG on USB 2.0") << "1920x1080@30:MJPG" << 480.0 << "";
        QTest::newRow("VGA YUYV on USB 2.0") << "640x480@30:YUYV" << 480.0 << "";
        QTest::newRow("1080p YUYV on USB 3") << "1920x1080@30:YUYV" << 5000.0 << "";
        QTest::newRow("720p YUYV on USB 2.0") << "1280x720@30:YUYV" << 480.0 << "at most 13 fps";
        QTest::newRow("VGA MJPG on USB 1.1") << "640x480@30:MJPG" << 12.0 << "smaller size";
    }
    void bandwidthWarningNamesTheFix()
    {
        QFETCH(QString, mode);
        QFETCH(double, speedMbps);
        QFETCH(QString, fix);
        const QStringList parts = mode.split(QRegularExpression("[x@:]"));
        CameraBase::CameraFormat format;
        format.width = parts[0].toInt();
        format.height = parts[1].toInt();
        format.fps = parts[2].toDouble();
        format.fourcc = synthetic::fourcc(parts[3].toLatin1().constData());
        const QString warning = BandwidthEstimate::warning(format, UsbLink{"1-2", speedMbps, {}});
        QVERIFY2(fix.isEmpty() ? warning.isEmpty() : warning.contains(fix), qPrintable(warning));
    }

    // Every frame the camera made is accounted for, and a mode the link cannot carry is named.
    void reportAccountsForEveryFrame()
    {
        DiagnosticsReport report;
        report.format.width = 1920;
        report.format.height = 1080;
        report.format.fps = 30;
        report.format.fourcc = synthetic::fourcc("YUYV");
        report.counts = {100, 4, 3, 88, 80, 8};
        report.notRecorded = 6;
        report.link = UsbLink{"3-1.4", 480, {}};
        QCOMPARE(report.missedByProgram(), quint64(5));
        const QStringList lines = report.lines();
        for (const char *line : {"Lost in the driver or on the bus: 4", "Refused as damaged: 3",
                                 "Missed by the program: 5",
                                 "Not shown (a newer frame came first): 8", "Not recorded: 6",
                                 "USB port 3-1.4, USB 2.0 (480 Mbit/s); this mode needs about "
                                 "124.4 MB/s of about 24.6 MB/s"})
            QVERIFY2(lines.contains(QString::fromUtf8(line)), qPrintable(lines.join('\n')));
        QVERIFY(lines.last().contains("Motion-JPEG"));
    }

    // The port, speed and device folder of a camera, traced from its /dev/v4l name through a
    // sysfs tree.
    void usbLinkIsReadFromSysfs()
    {
        QTemporaryDir root;
        const QString usb = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2";
        QVERIFY(QDir(root.path()).mkpath("dev/v4l/by-id") &&
                QDir(root.path()).mkpath(usb.mid(1) + "/1-2:1.0"));
        const auto write = [&](const QString &path, const QByteArray &text) {
            QFile file(root.path() + path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        };
        write("/dev/video2", {});
        write(usb + "/speed", "480\n");
        write(usb + "/devpath", "2\n");
        QVERIFY(QFile::link("../../video2", root.filePath("dev/v4l/by-id/usb-Acme-video-index0")));
        QVERIFY(QDir(root.path()).mkpath("sys/class/video4linux/video2"));
        QVERIFY(QFile::link("../../.." + usb.mid(4) + "/1-2:1.0",
                            root.filePath("sys/class/video4linux/video2/device")));
        const std::optional<UsbLink> link =
            UsbLink::ofCamera("usb-Acme-video-index0 @ pci-0000:00:14.0-usb-0:2:1.0", root.path());
        QVERIFY(link);
        QCOMPARE(link->port, QString("1-2"));
        QCOMPARE(link->speedMbps, 480.0);
        QCOMPARE(link->sysfsPath, usb.mid(4));
        // A camera without a /dev/v4l name is found by the bus info the driver gives.
        const std::optional<UsbLink> byBus =
            UsbLink::ofCamera("HD Webcam usb-0000:00:14.0-2", root.path());
        QVERIFY(byBus && byBus->port == "1-2");
        QVERIFY(!UsbLink::ofCamera("HD Webcam usb-0000:00:14.0-3", root.path()));
        QVERIFY(!UsbLink::ofCamera("Synthetic Camera", root.path()));
    }

    // Marks are remembered per camera and burnt into a snapshot only when asked, on the turned
    // picture.
    void marksAreRememberedAndBurntIn()
    {
        OverlaySettings marks;
        marks.crosshair = marks.burnIntoSnapshots = true;
        marks.crosshairAt = QPointF(30, 200);
        marks.save("Cam A");
        QCOMPARE(OverlaySettings::load("Cam A").crosshairAt, QPointF(30, 200));
        QVERIFY(!OverlaySettings::load("Cam B").crosshair);

        startSession(synthetic::mode(320, 240, 30, "YUYV"));
        session->setOrientation({false, 90});
        QSignalSpy frames(session.get(), &CaptureSession::frameAvailable);
        QSignalSpy saved(session->stills(), &StillCapture::saved);
        QTRY_VERIFY(!frames.isEmpty());
        for (const bool burn : {true, false}) {
            marks.burnIntoSnapshots = burn;
            session->setSnapshotOverlays(marks);
            QVERIFY(session->takeSnapshot(dir.filePath(burn ? "burnt.png" : "plain.png")));
        }
        QTRY_COMPARE(saved.count(), 2);
        const QImage burnt(dir.filePath("burnt.png")), plain(dir.filePath("plain.png"));
        QCOMPARE(burnt.size(), QSize(240, 320));
        for (const QPoint onLine : {QPoint(30, 100), QPoint(150, 200), QPoint(30, 300)}) {
            QCOMPARE(burnt.pixel(onLine), qRgb(255, 64, 64));
            QVERIFY(plain.pixel(onLine) != qRgb(255, 64, 64));
        }
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
        // The first slot after the loss may still take a frame the camera gave just before.
        QTRY_VERIFY(recorder->statistics().framesWritten >= whenLost + 5);
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
    // A microphone unplugged mid-recording is told once; the picture records on, and the file's
    // sound lasts as long as its picture, silent from the loss on.
    void lostMicrophoneLeavesTheRecordingWhole()
    {
        QProcess pactl;
        pactl.start("pactl", {"load-module", "module-sine-source", "source_name=usbmic",
                              "rate=16000", "frequency=1000"});
        QVERIFY(pactl.waitForFinished(10000) && pactl.exitCode() == 0);
        const QString module = QString::fromUtf8(pactl.readAllStandardOutput()).trimmed();
        startSession(synthetic::mode(320, 240, 30, "MJPG"));
        session->sound()->setSource(
            AudioSourceInfo{"usbmic", "USB microphone", {16000, 1}, {}, false});
        QSignalSpy problems(session->sound(), &SoundCapture::problem);
        QTRY_VERIFY(session->hasFrame());
        Recorder *recorder = session->recorder();
        const QString path = dir.filePath("lost.avi");
        QVERIFY(session->startRecording(path));
        QVERIFY(session->sound()->isCapturing());
        QTRY_VERIFY_WITH_TIMEOUT(recorder->statistics().framesWritten >= 30, 10000);
        pactl.start("pactl", {"unload-module", module});
        QVERIFY(pactl.waitForFinished(10000) && pactl.exitCode() == 0);
        QTRY_COMPARE_WITH_TIMEOUT(problems.size(), 1, 10000);
        QVERIFY(problems.first().first().toString().contains("USB microphone was lost"));
        QVERIFY(!session->sound()->isCapturing());
        const int framesAtLoss = recorder->statistics().framesWritten;
        QTRY_VERIFY_WITH_TIMEOUT(recorder->statistics().framesWritten >= framesAtLoss + 30, 10000);
        QSignalSpy finished(recorder, &Recorder::finished);
        session->stopRecording();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
        QVERIFY(finished.first().at(1).toBool());
        QCOMPARE(problems.size(), 1);

        const ProbeResult picture = probeVideo(path);
        QVERIFY(picture.ok && picture.allDecodable);
        const SoundProbe sound = probeSound(path);
        QCOMPARE(sound.codec, QString("pcm_s16le"));
        QCOMPARE(sound.sampleRate, 16000);
        const qsizetype samples = sound.mono.size() / 2;
        QCOMPARE_LE(std::abs(samples - picture.frames * 16000 / 30), 16000 / 30);
        const auto *mono = reinterpret_cast<const qint16 *>(sound.mono.constData());
        QVERIFY(std::all_of(mono + samples - 8000, mono + samples,
                            [](qint16 sample) { return std::abs(sample) < 100; }));
    }
};

QTEST_MAIN(TestCaptureSession)
#include "tst_capturesession.moc"
