// The command line: parsing and its errors, and the program run without a window to list,
// record and photograph through the synthetic camera.
#include "commandline.h"
#include "synthetic/testpattern.h"
#include "testsupport/ffprobe.h"
#include "testsupport/smalldisk.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

QProcessEnvironment cameraEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OSTREL_SYNTHETIC_CAMERAS"),
                       QStringLiteral("Desk=320x240@30:MJPG,320x240@7.5:YUYV"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QDir::tempPath());
    environment.remove(QStringLiteral("DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("none"));
    return environment;
}

void startOstrel(QProcess &process, const QStringList &arguments,
                 const QProcessEnvironment &environment = cameraEnvironment())
{
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(OSTREL_BINARY), arguments);
}

Run runOstrel(const QStringList &arguments,
              const QProcessEnvironment &environment = cameraEnvironment())
{
    QProcess process;
    startOstrel(process, arguments, environment);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parsing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("detail"); // part of the error, or the file
        using A = CommandLine::Action;
        const auto row = [](const char *name, QStringList arguments, A action, QString detail) {
            QTest::newRow(name) << (QStringList{QStringLiteral("ostrel")} + arguments)
                                << int(action) << detail;
        };
        row("nothing", {}, A::Window, {});
        row("help", {"--help"}, A::Help, {});
        row("version", {"--version"}, A::Version, {});
        row("unknown option", {"--bogus"}, A::Error, "bogus");
        row("stray argument", {"camera"}, A::Error, "camera");
        row("format without rate", {"--format", "640x480"}, A::Error, "640x480");
        row("zero width", {"--format", "0x480@30"}, A::Error, "0x480@30");
        row("duration alone", {"--duration", "5"}, A::Error, "--record");
        row("diagnose", {"--diagnose"}, A::Diagnose, "10");
        row("diagnose for 2 s", {"--diagnose", "--duration", "2"}, A::Diagnose, "2");
        row("diagnose and record", {"--diagnose", "--record", "a.avi"}, A::Error, "--diagnose");
        row("negative duration", {"--record", "a.avi", "--duration", "-1"}, A::Error, "-1");
        row("two actions", {"--record", "a.avi", "--snapshot", "b.png"}, A::Error, "--snapshot");
        row("record", {"--record", "a.avi", "--duration", "2.5"}, A::Record, "a.avi");
        row("H.264 into AVI", {"--record", "a.avi", "--codec", "h264"}, A::Error, "a.avi");
        row("Motion-JPEG into MKV", {"--record", "a.mkv", "--codec", "mjpeg"}, A::Error, "a.mkv");
        row("unknown codec", {"--record", "a.mkv", "--codec", "vp9"}, A::Error, "vp9");
        row("segment alone", {"--segment", "60"}, A::Error, "--record");
        row("zero time-lapse", {"--record", "a.mkv", "--timelapse", "0"}, A::Error, "timelapse");
        row("rate alone", {"--record", "a.mkv", "--timelapse-rate", "25"}, A::Error, "--timelapse");
        row("H.264 by suffix", {"--record", "a.mp4", "--segment", "60", "--min-free", "0"},
            A::Record, "a.mp4");
        row("list formats", {"--list-formats", "Desk"}, A::ListFormats, {});
        row("list sound", {"--list-audio"}, A::ListAudio, {});
        row("sound alone", {"--audio", "sine"}, A::Error, "--record");
        row("no sound source", {"--record", "a.avi", "--audio", " "}, A::Error, "empty");
        row("unknown sound codec", {"--record", "a.mkv", "--audio-codec", "mp3"}, A::Error, "mp3");
        row("list sound and record", {"--list-audio", "--record", "a.avi"}, A::Error,
            "--list-audio");
        row("serve a port", {"--serve", "8080", "--duration", "2"}, A::Serve, "127.0.0.1 8080");
        row("serve everywhere", {"--serve", "0.0.0.0:80", "--token", "t"}, A::Serve, "0.0.0.0 80");
        row("serve IPv6", {"--serve", "[::1]:0"}, A::Serve, "::1 0");
        row("serve localhost", {"--serve", "localhost:9"}, A::Serve, "127.0.0.1 9");
        row("serve while recording", {"--serve", "80", "--record", "a.avi"}, A::Record, "a.avi");
        row("port too large", {"--serve", "65536"}, A::Error, "65536");
        row("host name", {"--serve", "camera.lan:80"}, A::Error, "camera.lan:80");
        row("serve and snapshot", {"--serve", "80", "--snapshot", "a.png"}, A::Error, "--serve");
        row("token alone", {"--token", "t"}, A::Error, "--serve");
    }
    void parsing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, detail);
        const CommandLine parsed = CommandLine::parse(arguments);
        QCOMPARE(int(parsed.action), action);
        if (parsed.action == CommandLine::Action::Error)
            QVERIFY2(parsed.message.contains(detail), qPrintable(parsed.message));
        if (parsed.action == CommandLine::Action::Record) {
            QCOMPARE(parsed.file, detail);
            QCOMPARE(parsed.recording.codec == RecordingOptions::Codec::H264,
                     detail.endsWith(".mp4"));
        }
        if (parsed.action == CommandLine::Action::Diagnose)
            QCOMPARE(parsed.duration, detail.toDouble());
        if (parsed.action == CommandLine::Action::Serve)
            QCOMPARE(parsed.serveAddress + ' ' + QString::number(parsed.servePort), detail);
    }

    void choosingCameraAndFormat()
    {
        const auto format = CommandLine::parseFormat(QStringLiteral("320x240@7.5:yuyv"));
        QVERIFY(format);
        QCOMPARE(format->fps, 7.5);
        QCOMPARE(format->fourcc, QStringLiteral("YUYV"));
        const QStringList names = {QStringLiteral("Left"), QStringLiteral("7")};
        QCOMPARE(CommandLine::findCamera(names, QStringLiteral("7")), 1); // a name goes first
        QCOMPARE(CommandLine::findCamera(names, QStringLiteral("0")), 0);
        QCOMPARE(CommandLine::findCamera(names, QStringLiteral("2")), -1);
        QCOMPARE(CommandLine::findCamera(names, QString()), 0);
    }

    // Errors in what the command line names come as one line and exit code 2.
    void listsAndErrorsWithoutWindow()
    {
        const Run cameras = runOstrel({"--list-cameras"});
        QCOMPARE(cameras.exitCode, 0);
        QVERIFY2(cameras.out.split(QLatin1Char('\n')).contains("Desk"),
                 qPrintable(cameras.out + cameras.err));
        const Run formats = runOstrel({"--list-formats", "Desk"});
        QCOMPARE(formats.exitCode, 0);
        QVERIFY(formats.out.contains("320x240 @ 7.5 fps (YUYV)"));
        const Run sound = runOstrel({"--list-audio"});
        QCOMPARE(sound.exitCode, 0);
        QVERIFY2(sound.out.contains(QRegularExpression("^sine\t.* \\(48000 Hz, mono\\)",
                                                       QRegularExpression::MultilineOption)),
                 qPrintable(sound.out + sound.err));
        for (const QStringList &arguments :
             {QStringList{"--list-formats", "Nowhere"},
              QStringList{"--record", "x.avi", "--format", "9x9@30"}, QStringList{"--bogus"},
              QStringList{"--record", "x.avi", "--audio", "nowhere"}}) {
            const Run run = runOstrel(arguments);
            QCOMPARE(run.exitCode, CommandLine::usageError);
            QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
            QVERIFY(run.out.isEmpty());
        }
        // The capture library's warnings reach the program's log.
        QProcessEnvironment malformed = cameraEnvironment();
        malformed.insert("OSTREL_SYNTHETIC_CAMERAS", "Desk=9x");
        QVERIFY(
            runOstrel({"--list-cameras"}, malformed).err.contains("OSTREL_SYNTHETIC_CAMERAS: "));
    }

    // The report of what the camera delivered, on standard output, at the format's rate.
    void diagnosesWithoutWindow()
    {
        const Run run =
            runOstrel({"--diagnose", "--duration", "1.5", "--format", "320x240@30:MJPG"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains("Requested: 320x240 at 30.00 fps (MJPG)\n"), qPrintable(run.out));
        const QRegularExpressionMatch delivered =
            QRegularExpression("Delivered: ([0-9.]+) fps").match(run.out);
        QVERIFY2(delivered.hasMatch() && delivered.captured(1).toDouble() > 15 &&
                     delivered.captured(1).toDouble() < 30.5,
                 qPrintable(run.out));
        for (const char *line : {"Frame interval: median", "Lost in the driver or on the bus: ",
                                 "Refused as damaged: 0", "Compressed frames: ", "USB: not a USB"})
            QVERIFY2(run.out.contains(line), line);
    }

    void recordsForTheDurationAndOnSignal()
    {
        if (!ffprobeAvailable())
            QSKIP("ffprobe is not installed");
        QTemporaryDir dir;
        // SIGTERM ends the recording with a finished file and a clean exit.
        const QString stopped = dir.filePath("stopped.avi");
        QProcess process;
        startOstrel(process, {"--record", stopped});
        QByteArray progress;
        QTRY_VERIFY_WITH_TIMEOUT((progress += process.readAllStandardError()).contains("written"),
                                 10000);
        process.terminate();
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        ProbeResult probe = probeVideo(stopped);
        QVERIFY(probe.ok && probe.frames > 0 && probe.allDecodable);

        // Killed 2.5 s in, the file's header already holds the first two seconds: a player that
        // does not scan past it, as FFmpeg does, still finds them.
        const QString killed = dir.filePath("killed.avi");
        QProcess victim;
        startOstrel(victim, {"--record", killed});
        progress.clear();
        QTRY_VERIFY_WITH_TIMEOUT((progress += victim.readAllStandardError()).count("written") >= 2,
                                 10000);
        QTest::qWait(500);
        victim.kill();
        QVERIFY(victim.waitForFinished(10000));
        probe = probeVideo(killed);
        QVERIFY2(probe.ok && probe.allDecodable, qPrintable(probe.error));
        QCOMPARE_GE(probe.declaredFrames, 60);
        QCOMPARE_GE(probe.frames, probe.declaredFrames);
    }

    // An uncompressed camera recorded as it comes: every frame in the file is decodable and
    // most are frames of their own, not repeats of the first picture.
    void uncompressedRecordingHoldsTheCamerasFrames()
    {
        if (!ffprobeAvailable())
            QSKIP("ffprobe is not installed");
        QTemporaryDir dir;
        const QString path = dir.filePath("yuyv.avi");
        const Run run = runOstrel({"--record", path, "--duration", "2", "--format",
                                   "320x240@7.5:YUYV", "--no-transform"});
        QCOMPARE(run.exitCode, 0);
        const ProbeResult probe = probeVideo(path);
        QVERIFY2(probe.ok && probe.allDecodable, qPrintable(probe.error + run.err));
        QVERIFY2(qAbs(probe.frames - 15) <= 1, qPrintable(QString::number(probe.frames)));
        QSet<uint32_t> sequences;
        for (const QImage &frame : decodeFrames(path, QSize(320, 240)))
            if (const auto sequence = ostrel::capture::TestPattern::readSequence(
                    frame.constBits(), 320, 240, size_t(frame.bytesPerLine())))
                sequences << *sequence;
        QCOMPARE_GT(sequences.size(), probe.frames * 3 / 4);
        // The last line accounts for the camera frames the file misses between its first and its
        // last (give or take the frames around the start and the stop).
        const QRegularExpressionMatch report =
            QRegularExpression("^(\\d+) frames written \\((\\d+) repeated\\); camera frames lost: "
                               "(\\d+) at the camera, (\\d+) in the program$")
                .match(run.err.trimmed().split('\n').last());
        QVERIFY2(report.hasMatch(), qPrintable(run.err));
        QCOMPARE(report.captured(1).toInt(), probe.frames);
        const auto [lowest, highest] = std::minmax_element(sequences.begin(), sequences.end());
        const int missing = int(*highest - *lowest + 1) - int(sequences.size());
        QVERIFY2(qAbs(report.captured(3).toInt() + report.captured(4).toInt() - missing) <= 2,
                 qPrintable(run.err));
    }

    // A recording whose file cannot grow, or whose messages nobody reads any more, ends with
    // exit code 1 and a finished file that declares every frame on the disk; the program is
    // never killed by SIGXFSZ or SIGPIPE.
    void recordingEndsWholeWhenWritingFails_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("name");
        QTest::newRow("full disk") << "disk"
                                   << "No space left on device"
                                   << "a.avi";
        QTest::newRow("file-size limit") << "limit"
                                         << "File too large"
                                         << "a.avi";
        QTest::newRow("reader gone") << "pipe" << QString() << "a.avi";
        QTest::newRow("full disk, Matroska") << "disk"
                                             << "No space left on device"
                                             << "a.mkv";
        QTest::newRow("file-size limit, MP4") << "limit"
                                              << "File too large"
                                              << "a.mp4";
    }
    void recordingEndsWholeWhenWritingFails()
    {
        QFETCH(QString, failure);
        QFETCH(QString, cause);
        QFETCH(QString, name);
        const bool movie = !name.endsWith(".avi");
        if (!ffprobeAvailable())
            QSKIP("ffprobe is not installed");
        // 200 KB hold less than a second of 320x240@30 in Motion-JPEG; a movie's room holds at
        // least a whole cluster or fragment of a second.
        const rlim_t room = movie ? 1024 * 1024 : 200 * 1024;
        SmallDisk disk{qint64(room)};
        if (failure == "disk" && !disk.isMounted())
            QSKIP("cannot mount a small tmpfs (not root?)");
        QTemporaryDir dir;
        const QString path = failure == "disk" ? disk.filePath(name) : dir.filePath(name);
        QProcess process;
        QProcessEnvironment environment = cameraEnvironment();
        // Noise makes H.264 frames as large as a camera's, so that the disk fills as quickly.
        if (movie)
            environment.insert("OSTREL_SYNTHETIC_NOISE", "12");
        // The free-space floor would stop the recording before the disk is full.
        QStringList arguments{"--record", path,         "--duration", "20",
                              "--format", "320x240@30", "--min-free", "0"};
        if (failure == "limit") {
            process.setChildProcessModifier([room] {
                const rlimit limit{room, room};
                setrlimit(RLIMIT_FSIZE, &limit);
            });
        }
        if (failure == "pipe") {
            // The first progress line is read, then the pipe's reader goes away.
            arguments =
                QStringList{"-c", R"("$@" 2>&1 >/dev/null | head -1; exit ${PIPESTATUS[0]})", "sh",
                            OSTREL_BINARY} +
                arguments;
            process.setProcessEnvironment(environment);
            process.start("bash", arguments);
        } else {
            startOstrel(process, arguments, environment);
        }
        QVERIFY(process.waitForFinished(60000));
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        if (!cause.isEmpty()) {
            QCOMPARE(err.count("ostrel: "), 1);
            QVERIFY2(err.contains(QRegularExpression("ostrel: .*" + cause + "\n$")),
                     qPrintable(err));
        }
        const ProbeResult probe = probeVideo(path);
        QVERIFY2(probe.ok && probe.allDecodable, qPrintable(probe.error + err));
        QCOMPARE_GT(probe.frames, 0);
        if (!movie)
            QCOMPARE(probe.declaredFrames, probe.frames);
        // The disk was full within seconds; the lost reader ended a recording of 20 s.
        QCOMPARE_LT(probe.frames, cause.isEmpty() || movie ? 300 : 30);
    }

    // Killed while recording, an H.264 file plays up to within two seconds of the last frame
    // the program had written, as far as its last whole cluster or fragment.
    void killedMovieFilePlaysToItsEnd_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Matroska") << "killed.mkv";
        QTest::newRow("MP4") << "killed.mp4";
    }
    void killedMovieFilePlaysToItsEnd()
    {
        QFETCH(QString, name);
        if (!ffprobeAvailable())
            QSKIP("ffprobe is not installed");
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QProcess victim;
        startOstrel(victim, {"--record", path});
        QByteArray progress;
        QTRY_VERIFY_WITH_TIMEOUT((progress += victim.readAllStandardError()).count("written") >= 4,
                                 15000);
        victim.kill();
        QVERIFY(victim.waitForFinished(10000));
        progress += victim.readAllStandardError();
        const QRegularExpression written("(\\d+) frames? written");
        int lastWritten = 0;
        for (auto match = written.globalMatch(QString::fromLocal8Bit(progress)); match.hasNext();)
            lastWritten = match.next().captured(1).toInt();
        const ProbeResult probe = probeVideo(path);
        QVERIFY2(probe.ok && probe.allDecodable, qPrintable(probe.error));
        QCOMPARE(probe.codec, "h264");
        // Clusters and fragments of a second: what was written up to a second and a half
        // before the kill is in the file.
        QCOMPARE_GE(probe.frames, lastWritten - 45);
    }

    // On a nearly full disk the floor of free space ends the recording before the disk is full:
    // the file is finished, the user told why.
    void freeSpaceFloorStopsTheRecordingInTime()
    {
        if (!ffprobeAvailable())
            QSKIP("ffprobe is not installed");
        SmallDisk disk(4 * 1024 * 1024);
        if (!disk.isMounted())
            QSKIP("cannot mount a small tmpfs (not root?)");
        const QString path = disk.filePath("floor.avi");
        const Run run = runOstrel({"--record", path, "--duration", "60", "--min-free", "2"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains("the disk is nearly full"), qPrintable(run.err));
        QCOMPARE_GE(QStorageInfo(disk.filePath(".")).bytesAvailable(), 1500 * 1000);
        const ProbeResult probe = probeVideo(path);
        QVERIFY2(probe.ok && probe.allDecodable && probe.frames > 30, qPrintable(probe.error));
        QCOMPARE(probe.declaredFrames, probe.frames);
    }

    // SIGUSR1 pauses a recording and resumes it: the camera's frames of the pause are not in
    // the file, and its length leaves the pause out.
    void pauseLeavesThePausedFramesOut()
    {
        if (!ffprobeAvailable())
            QSKIP("ffprobe is not installed");
        QTemporaryDir dir;
        const QString path = dir.filePath("paused.avi");
        QProcess process;
        startOstrel(process, {"--record", path, "--duration", "3", "--no-transform"});
        QByteArray err;
        QTRY_VERIFY_WITH_TIMEOUT((err += process.readAllStandardError()).contains("written"),
                                 10000);
        ::kill(pid_t(process.processId()), SIGUSR1);
        QTRY_VERIFY((err += process.readAllStandardError()).contains("Recording paused"));
        QTest::qWait(1500);
        ::kill(pid_t(process.processId()), SIGUSR1);
        QVERIFY(process.waitForFinished(15000));
        err += process.readAllStandardError();
        QCOMPARE(process.exitCode(), 0);
        QVERIFY2(err.contains("Recording resumed"), err.constData());
        const QList<uint32_t> sequences = recordedSequences(path, QSize(320, 240));
        QCOMPARE_GE(sequences.size(), 80);
        QCOMPARE_LE(sequences.size(), 91);
        // One jump over the pause's frames; elsewhere the camera's frames follow one another.
        int jumps = 0;
        for (qsizetype i = 1; i < sequences.size(); ++i) {
            const uint32_t step = sequences.at(i) - sequences.at(i - 1);
            QVERIFY(step <= 3 || step >= 30);
            jumps += step >= 30;
        }
        QCOMPARE(jumps, 1);
    }

    void snapshotWithoutWindow()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("picture.png");
        const Run run = runOstrel({"--snapshot", path});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QImage(path).size(), QSize(320, 240));

        SmallDisk disk(64 * 1024);
        if (!disk.isMounted())
            QSKIP("cannot mount a small tmpfs (not root?)");
        disk.fill();
        const Run full = runOstrel({"--snapshot", disk.filePath("a.png")});
        QCOMPARE(full.exitCode, 1);
        QVERIFY2(full.err.endsWith(": No space left on device\n"), qPrintable(full.err));
        QCOMPARE(full.err.count(QLatin1Char('\n')), 1);
        QCOMPARE(disk.files(), QStringList());
    }

    // The source's sound in every format, as long as the picture and holding its tone; without
    // a sound server the recording goes on silent after one warning line.
    void recordsTheSourcesSound_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("codec"); // empty: no sound
        QTest::newRow("AVI") << "a.avi" << QStringList{"--audio", "sine"} << "pcm_s16le";
        QTest::newRow("Matroska") << "a.mkv" << QStringList{"--audio", "sine"} << "aac";
        QTest::newRow("MP4, Opus")
            << "a.mp4" << QStringList{"--audio", "sine", "--audio-codec", "opus"} << "opus";
        QTest::newRow("no sound server") << "b.mkv" << QStringList{"--audio", "default"} << "";
    }
    void recordsTheSourcesSound()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, options);
        QFETCH(QString, codec);
        QTemporaryDir dir;
        QProcessEnvironment environment = cameraEnvironment();
        if (codec.isEmpty())
            environment.insert("PULSE_SERVER", "unix:" + dir.filePath("nothing"));
        const QString path = dir.filePath(file);
        const Run run =
            runOstrel(QStringList{"--record", path, "--duration", "2"} + options, environment);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err.contains("warning: no sound server"), codec.isEmpty());
        const ProbeResult picture = probeVideo(path);
        QVERIFY(picture.ok && picture.allDecodable);
        const SoundProbe sound = probeSound(path);
        QCOMPARE(sound.codec, codec);
        if (codec.isEmpty())
            return;
        QCOMPARE(sound.sampleRate, 48000);
        QCOMPARE(sound.channels, 1);
        const double soundSeconds = sound.mono.size() / 2 / 48000.0;
        QVERIFY2(
            std::abs(soundSeconds - picture.frames / 30.0) <= 1 / 30.0,
            qPrintable(QString("%1 s of sound, %2 frames").arg(soundSeconds).arg(picture.frames)));
        // 440 Hz crosses zero upwards 440 times a second, throughout but for the first and the
        // last frame period, in which the sound may start and end; the codec's noise about zero
        // does not count.
        const auto *samples = reinterpret_cast<const qint16 *>(sound.mono.constData());
        for (int second = 0; second < 2; ++second) {
            const int from = second * 48000 + (second == 0 ? 1600 : 1);
            const int to = std::min<int>(from + 48000, int(sound.mono.size() / 2) - 1600);
            int crossings = 0;
            bool low = false;
            for (int i = from; i < to; ++i) {
                crossings += low && samples[i] >= 0;
                low = samples[i] < -1000 || (low && samples[i] < 0);
            }
            QVERIFY2(std::abs(crossings - 440 * (to - from) / 48000) <= 4,
                     qPrintable(QString("second %1: %2").arg(second).arg(crossings)));
        }
    }

    // Failures the program can explain take one line that gives the cause.
    void failuresTakeOneLineWithTheirCause_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("camera");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("cause");
        const QStringList record{"--record", "x.avi"};
        QTest::newRow("beyond 32 bits") << record << "Big=65535x65535@30:YUYV" << 1
                                        << "65535x65535 are larger than this program can hold";
        QTest::newRow("beyond the program") << record << "Big=30000x30000@30:YUYV" << 1
                                            << "30000x30000 are larger than this program can hold";
        QTest::newRow("file that cannot be made")
            << QStringList{"--record", "/dev/null/x.avi"} << "Desk=320x240@30:MJPG" << 1
            << "Not a directory";
        QTest::newRow("window without display") << QStringList{"--start"} << "Desk=320x240@30:MJPG"
                                                << CommandLine::usageError << "no display";
        QTest::newRow("serving off the machine without a token")
            << QStringList{"--serve", "0.0.0.0:0"} << "Desk=320x240@30:MJPG"
            << CommandLine::usageError << "needs a token";
    }
    void failuresTakeOneLineWithTheirCause()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, camera);
        QFETCH(int, exitCode);
        QFETCH(QString, cause);
        QProcessEnvironment environment = cameraEnvironment();
        environment.insert("OSTREL_SYNTHETIC_CAMERAS", camera);
        environment.remove("QT_QPA_PLATFORM");
        environment.remove("WAYLAND_DISPLAY");
        const Run run = runOstrel(arguments, environment);
        QCOMPARE(run.exitCode, exitCode);
        // Beside the log of the camera, which may say more.
        const QStringList lines = run.err.split('\n').filter(QRegularExpression("^ostrel: "));
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines.first().contains(cause), qPrintable(run.err));
    }

    // --serve runs without a display until a signal or its duration ends it; the picture is
    // there for a reader while it runs.
    void servesWithoutWindowUntilEnded()
    {
        QProcess process;
        startOstrel(process, {"--serve", "0"});
        QByteArray log;
        const QRegularExpression serving("Serving on http://127.0.0.1:(\\d+)/");
        QTRY_VERIFY_WITH_TIMEOUT(serving.match(log += process.readAllStandardError()).hasMatch(),
                                 20000);
        QTcpSocket reader;
        reader.connectToHost(QHostAddress::LocalHost,
                             quint16(serving.match(log).captured(1).toUInt()));
        reader.write("GET /snapshot.jpg HTTP/1.1\r\n\r\n");
        QByteArray reply;
        while (reader.waitForReadyRead(20000))
            reply += reader.readAll();
        QVERIFY2(reply.startsWith("HTTP/1.1 200 OK\r\n"), reply.left(200).constData());
        QVERIFY(QImage::fromData(reply.mid(reply.indexOf("\r\n\r\n") + 4), "JPG").size() ==
                QSize(320, 240));
        process.terminate();
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 0);
        const Run bounded = runOstrel({"--serve", "0", "--duration", "1"});
        QCOMPARE(bounded.exitCode, 0);
        QVERIFY(bounded.err.contains("Serving on"));
    }

    // A terminating signal ends the program even while a modal box waits for an answer.
    void signalEndsTheProgramWithABoxOpen()
    {
        QTemporaryDir settings; // the window remembers cameras
        QProcessEnvironment environment = cameraEnvironment();
        environment.insert("OSTREL_SYNTHETIC_CAMERAS", "Big=30000x30000@30:YUYV");
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_CONFIG_HOME", settings.path());
        QProcess process;
        startOstrel(process, {"--start"}, environment);
        // The box "Camera Error" opens right after the failure is logged.
        QByteArray log;
        QTRY_VERIFY_WITH_TIMEOUT((log += process.readAllStandardError()).contains("Failed to open"),
                                 10000);
        process.terminate();
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    }

    void speaksTheUsersLanguage()
    {
        QProcessEnvironment environment = cameraEnvironment();
        environment.insert("LANGUAGE", "de");
        const Run german = runOstrel({"--help"}, environment);
        QCOMPARE(german.exitCode, 0);
        QVERIFY2(german.out.contains("Diese Hilfe anzeigen"), qPrintable(german.out));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
