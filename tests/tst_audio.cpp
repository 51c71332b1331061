// Sound sources against the private sound server of the test run (a 440 Hz source "sine"): the
// listing, the order a camera's microphone is offered in, the chunks and their timestamps, and a
// source that goes away.
#include "audiosourceinfo.h"
#include "pulseaudiolisting.h"
#include "pulseaudiosource.h"

#include <QProcess>
#include <QtEndian>
#include <QtTest>

#include <chrono>
#include <cmath>
#include <mutex>

namespace {

const QString cameraUsb = "/devices/pci0000:00/0000:00:14.0/usb1/1-2";

AudioSourceInfo source(const QString &name, const QString &sysfsPath = {}, bool monitor = false)
{
    return {name, name.toUpper(), {48000, 1}, sysfsPath, monitor};
}

// Runs pactl against the test's server; its output.
QString pactl(const QStringList &arguments)
{
    QProcess process;
    process.start("pactl", arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// Every chunk a source delivers, with when it was delivered.
struct ChunkLog
{
    std::mutex mutex; // guards the members below
    QList<AudioChunk> chunks;
    QList<qint64> deliveredNs;

    void add(const AudioChunk &chunk)
    {
        const qint64 now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                               std::chrono::steady_clock::now().time_since_epoch())
                               .count();
        std::lock_guard<std::mutex> lock(mutex);
        chunks.append(chunk);
        deliveredNs.append(now);
    }
    qint64 frames()
    {
        std::lock_guard<std::mutex> lock(mutex);
        qint64 total = 0;
        for (const AudioChunk &chunk : chunks)
            total += chunk.samples.size() / 2;
        return total;
    }
};

} // namespace

class TestAudio : public QObject
{
    Q_OBJECT

private slots:
    void camerasMicrophoneIsOfferedFirst_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<bool>("cameraHasMicrophone");
        QTest::addColumn<QString>("chosen"); // empty: no sound
        QTest::addColumn<QString>("order");
        QTest::newRow("camera's own") << "camera" << true << "cam"
                                      << "cam dflt ahub out.monitor";
        QTest::newRow("camera without") << "camera" << false << ""
                                        << "dflt ahub cam out.monitor";
        QTest::newRow("default") << "default" << true << "dflt"
                                 << "cam dflt ahub out.monitor";
        QTest::newRow("by name") << "ahub" << true << "ahub"
                                 << "cam dflt ahub out.monitor";
        QTest::newRow("none") << "none" << true << ""
                              << "cam dflt ahub out.monitor";
        QTest::newRow("gone") << "unplugged" << true << ""
                              << "cam dflt ahub out.monitor";
    }
    void camerasMicrophoneIsOfferedFirst()
    {
        QFETCH(QString, choice);
        QFETCH(bool, cameraHasMicrophone);
        AudioSourceList list;
        list.defaultName = "dflt";
        // The camera's interface folder is below its USB device's; a neighbouring port
        // ("1-20") is another device.
        const QString camera = cameraHasMicrophone ? cameraUsb : "/devices/pci0000:00/usb1/1-3";
        list.sources = {source("out.monitor", cameraUsb + "/1-2:1.0/sound", true),
                        source("ahub", "/devices/pci0000:00/0000:00:14.0/usb1/1-20/sound"),
                        source("cam", camera + "/1-2:1.3/sound/card1"), source("dflt")};
        QStringList offered;
        for (const AudioSourceInfo &info : list.ordered(cameraUsb))
            offered.append(info.name);
        QFETCH(QString, order);
        QCOMPARE(offered.join(' '), order);
        const std::optional<AudioSourceInfo> picked = list.chosen(choice, cameraUsb);
        QFETCH(QString, chosen);
        QCOMPARE(picked ? picked->name : QString(), chosen);
    }

    void serverListsItsSources()
    {
        QString error;
        const std::optional<AudioSourceList> list = listAudioSources(&error);
        QVERIFY2(list, qPrintable(error));
        const std::optional<AudioSourceInfo> sine = list->chosen("sine", {});
        QVERIFY(sine);
        QCOMPARE(sine->format.sampleRate, 48000);
        QCOMPARE(sine->format.channels, 1);
        QVERIFY(!sine->isMonitor);
        QVERIFY(list->chosen("silence.monitor", {})->isMonitor);
        QVERIFY(list->chosen("default", {}));
    }

    // The chunks follow each other without gaps or overlaps, each stamped before it arrived, and
    // hold the server's tone.
    void chunksCarryTheToneOnTheMonotonicClock()
    {
        PulseAudioSource sine(source("sine"));
        ChunkLog log;
        sine.setChunkCallback([&log](const AudioChunk &chunk) { log.add(chunk); });
        QSignalSpy failed(&sine, &AudioSource::failed);
        sine.start();
        QTRY_VERIFY_WITH_TIMEOUT(log.frames() >= 48000, 10000);
        sine.stop();
        const qint64 framesAtStop = log.frames();
        QTest::qWait(100);
        QCOMPARE(log.frames(), framesAtStop);
        QVERIFY(failed.isEmpty());
        QVERIFY(sine.takePeak() > 0.1);

        std::lock_guard<std::mutex> lock(log.mutex);
        QByteArray samples;
        for (int i = 0; i < log.chunks.size(); ++i) {
            const AudioChunk &chunk = log.chunks.at(i);
            QVERIFY(chunk.timeNs < log.deliveredNs.at(i));
            if (i > 0) {
                const AudioChunk &previous = log.chunks.at(i - 1);
                const qint64 expected =
                    previous.timeNs + previous.samples.size() / 2 * 1'000'000'000LL / 48000;
                QVERIFY2(std::llabs(chunk.timeNs - expected) < 100'000,
                         qPrintable(
                             QString("chunk %1 off by %2 ns").arg(i).arg(chunk.timeNs - expected)));
            }
            samples += chunk.samples;
        }
        // A 440 Hz tone crosses zero upwards 440 times a second.
        int crossings = 0;
        const auto *bytes = reinterpret_cast<const uchar *>(samples.constData());
        for (qsizetype at = 2; at + 1 < 2 * 48000; at += 2) {
            crossings += qFromLittleEndian<qint16>(bytes + at - 2) < 0 &&
                         qFromLittleEndian<qint16>(bytes + at) >= 0;
        }
        QVERIFY2(std::abs(crossings - 440) <= 2, qPrintable(QString::number(crossings)));
    }

    // A microphone unplugged: the source says so once and delivers nothing more.
    void vanishedSourceIsReportedOnce()
    {
        const QString module = pactl({"load-module", "module-sine-source", "source_name=unplugged",
                                      "rate=16000", "frequency=1000"});
        QVERIFY(!module.isEmpty());
        PulseAudioSource microphone({"unplugged", {}, {16000, 1}, {}, false});
        ChunkLog log;
        microphone.setChunkCallback([&log](const AudioChunk &chunk) { log.add(chunk); });
        QSignalSpy lost(&microphone, &AudioSource::lost);
        QSignalSpy failed(&microphone, &AudioSource::failed);
        microphone.start();
        QTRY_VERIFY_WITH_TIMEOUT(log.frames() > 1600, 10000);
        pactl({"unload-module", module});
        QTRY_COMPARE_WITH_TIMEOUT(lost.size(), 1, 10000);
        const qint64 framesWhenLost = log.frames();
        QTest::qWait(200);
        QCOMPARE(log.frames(), framesWhenLost);
        QCOMPARE(lost.size(), 1);
        QVERIFY(failed.isEmpty());
    }

    // No sound server, or no such source: a failure with its cause, never a hang.
    void missingServerOrSourceFails_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("sourceName");
        QTest::newRow("no server") << "unix:/nonexistent/native"
                                   << "sine";
        QTest::newRow("no source") << QString() << "nonexistent";
    }
    void missingServerOrSourceFails()
    {
        QFETCH(QString, server);
        const QByteArray saved = qgetenv("PULSE_SERVER");
        const auto restore = qScopeGuard([&saved] { qputenv("PULSE_SERVER", saved); });
        if (!server.isEmpty())
            qputenv("PULSE_SERVER", server.toUtf8());
        QFETCH(QString, sourceName);
        PulseAudioSource missing({sourceName, {}, {48000, 1}, {}, false});
        QSignalSpy failed(&missing, &AudioSource::failed);
        missing.start();
        QTRY_VERIFY_WITH_TIMEOUT(!failed.isEmpty(), 10000);
        QTest::qWait(100);
        QCOMPARE(failed.size(), 1);
        QVERIFY(!failed.first().first().toString().isEmpty());
        if (!server.isEmpty()) {
            QString error;
            QVERIFY(!listAudioSources(&error));
            QVERIFY(!error.isEmpty());
        }
    }
};

QTEST_MAIN(TestAudio)
#include "tst_audio.moc"
