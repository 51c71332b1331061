// The command line: parsing and its errors, and the program run without a window to list,
// record and photograph through the synthetic camera.
#include "commandline.h"
#include "testsupport/ffprobe.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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
        row("negative duration", {"--record", "a.avi", "--duration", "-1"}, A::Error, "-1");
        row("two actions", {"--record", "a.avi", "--snapshot", "b.png"}, A::Error, "--snapshot");
        row("record", {"--record", "a.avi", "--duration", "2.5"}, A::Record, "a.avi");
        row("list formats", {"--list-formats", "Desk"}, A::ListFormats, {});
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
        if (parsed.action == CommandLine::Action::Record)
            QCOMPARE(parsed.file, detail);
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
        for (const QStringList &arguments :
             {QStringList{"--list-formats", "Nowhere"},
              QStringList{"--record", "x.avi", "--format", "9x9@30"}, QStringList{"--bogus"}}) {
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

    void recordsForTheDurationAndOnSignal()
    {
        if (!ffprobeAvailable())
            QSKIP("ffprobe is not installed");
        QTemporaryDir dir;
        const QString timed = dir.filePath("timed.avi");
        const Run run = runOstrel({"--record", timed, "--duration", "2", "--format", "320x240@30"});
        QCOMPARE(run.exitCode, 0);
        ProbeResult probe = probeVideo(timed);
        QVERIFY2(probe.ok, qPrintable(probe.error + run.err));
        QVERIFY2(qAbs(probe.frames - 60) <= 1, qPrintable(QString::number(probe.frames)));

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
        probe = probeVideo(stopped);
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

    void snapshotWithoutWindow()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("picture.png");
        const Run run = runOstrel({"--snapshot", path});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QImage(path).size(), QSize(320, 240));
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
