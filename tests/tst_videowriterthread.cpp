#include "testsupport/ffprobe.h"
#include "videowriterthread.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <opencv2/videoio.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

namespace {

const int mjpg = cv::VideoWriter::fourcc('M', 'J', 'P', 'G');

QMutex warningsMutex; // guards warnings: the worker warns too
QStringList warnings;
QtMessageHandler previousHandler = nullptr;

void captureWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg) {
        QMutexLocker locker(&warningsMutex);
        warnings.append(message);
    }
    previousHandler(type, context, message);
}

QStringList warningsWith(const QString &text)
{
    QMutexLocker locker(&warningsMutex);
    return warnings.filter(text);
}

// Solid frames whose colours tell indices up to 31 apart, with red and blue far apart so that
// swapped channels show.
QColor colourOf(int index)
{
    return QColor(8 * index, 255 - 8 * index, 128);
}

QImage makeFrame(const QSize &size, int index)
{
    QImage frame(size, QImage::Format_RGB888);
    frame.fill(colourOf(index));
    return frame;
}

// The index each frame of the file shows as ffmpeg decodes it, read from its colour scaled down
// to one pixel; -1 where the other channels do not fit the red one.
QList<int> decodeFrameIndexes(const QString &path)
{
    QProcess ffmpeg;
    ffmpeg.start(QStandardPaths::findExecutable(QStringLiteral("ffmpeg")),
                 QStringList{"-v", "error", "-i", path, "-vf", "scale=1:1", "-f", "rawvideo",
                             "-pix_fmt", "rgb24", "-"});
    if (!ffmpeg.waitForFinished(60000))
        return {};
    const QByteArray raw = ffmpeg.readAllStandardOutput();
    QList<int> indexes;
    for (qsizetype at = 0; at + 3 <= raw.size(); at += 3) {
        const int index = qRound(uchar(raw[at]) / 8.0);
        const QColor c = colourOf(index);
        const int distance = qAbs(c.red() - uchar(raw[at])) + qAbs(c.green() - uchar(raw[at + 1])) +
                             qAbs(c.blue() - uchar(raw[at + 2]));
        // JPEG keeps a solid colour within a few steps per channel.
        indexes.append(distance < 3 * 8 ? index : -1);
    }
    return indexes;
}

// Starts a recording and waits until the worker has opened the file.
bool record(VideoWriterThread &writer, const QString &file, double fps, const QSize &size)
{
    if (!writer.startWriting(file, mjpg, fps, size))
        return false;
    writer.start();
    return QTest::qWaitFor([&] { return writer.statistics().elapsedMs > 0; }, 5000);
}

} // namespace

class TestVideoWriterThread : public QObject
{
    Q_OBJECT

    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        QVERIFY2(ffprobeAvailable(), "ffprobe and ffmpeg are needed to judge the recordings");
        QVERIFY(dir.isValid());
        previousHandler = qInstallMessageHandler(captureWarnings);
    }

    void init()
    {
        QMutexLocker locker(&warningsMutex);
        warnings.clear();
    }

    void refusesInvalidParameters()
    {
        const struct
        {
            QString file;
            double fps;
            QSize size;
        } cases[] = {{QString(), 30.0, QSize(320, 240)},
                     {path("a.avi"), 0.0, QSize(320, 240)},
                     {path("a.avi"), qQNaN(), QSize(320, 240)},
                     {path("a.avi"), 30.0, QSize(320, 0)}};
        VideoWriterThread writer;
        for (const auto &c : cases)
            QVERIFY(!writer.startWriting(c.file, mjpg, c.fps, c.size));
        QCOMPARE(warningsWith("VideoWriterThread: Invalid parameters").size(), 4);
    }

    void recordingsStartCleanAndRefuseASecondStart()
    {
        const QSize size(320, 240);
        VideoWriterThread writer;
        QSignalSpy finished(&writer, &VideoWriterThread::writingFinished);
        QSignalSpy errors(&writer, &VideoWriterThread::errorOccurred);
        QVERIFY(record(writer, path("busy.avi"), 30, size));

        QVERIFY(!writer.startWriting(path("other.avi"), mjpg, 25, QSize(640, 480)));
        QCOMPARE(warningsWith("VideoWriterThread: Already writing").size(), 1);
        writer.addFrame(makeFrame(size, 2));
        QTRY_VERIFY(writer.statistics().framesDuplicated >= 3);
        writer.stopWriting();
        QCOMPARE(finished.size(), 1);
        QVERIFY(!QFile::exists(path("other.avi")));

        // The next recording gets no frame: it must neither count on from the first one nor
        // repeat its last frame, and still leaves a valid file.
        QVERIFY(writer.startWriting(path("empty.avi"), mjpg, 30, size));
        const WriterStatistics reset = writer.statistics();
        QCOMPARE(reset.framesWritten + reset.framesDuplicated + reset.elapsedMs, 0);
        writer.start();
        QTRY_VERIFY(writer.statistics().elapsedMs >= 200);
        writer.stopWriting();
        QCOMPARE(finished.size(), 2);
        QCOMPARE(errors.size(), 0);
        QCOMPARE(writer.statistics().framesWritten, 0);
        const ProbeResult empty = probeVideo(path("empty.avi"));
        QVERIFY2(empty.ok, qPrintable(empty.error));
        QCOMPARE(QSize(empty.width, empty.height), size);
        QCOMPARE_LE(empty.frames, 0);
    }

    void pacesAtFrameRate_data()
    {
        QTest::addColumn<double>("fps");
        QTest::addColumn<QString>("fileRate");

        // Periods with a fraction of a millisecond: whole-millisecond steps would drift from them.
        QTest::newRow("30 fps") << 30.0 << "30/1";
        QTest::newRow("25 fps") << 25.0 << "25/1";
        QTest::newRow("7.5 fps") << 7.5 << "15/2";
        QTest::newRow("60 fps") << 60.0 << "60/1";
        // Above 1000 fps a frame goes out on every pass.
        QTest::newRow("2000 fps") << 2000.0 << QString();
    }

    void pacesAtFrameRate()
    {
        QFETCH(double, fps);
        QFETCH(QString, fileRate);

        const double periodMs = 1000.0 / fps;
        const QSize size(16, 16);
        const QString file = path(QStringLiteral("rate%1.avi").arg(int(fps * 10)));
        VideoWriterThread writer;
        std::vector<qint64> writeTimes; // touched by the worker only until stopWriting returns
        connect(
            &writer, &VideoWriterThread::frameWritten, &writer,
            [&] { writeTimes.push_back(writer.statistics().elapsedMs); }, Qt::DirectConnection);
        QVERIFY(record(writer, file, fps, size));
        // One frame only: every later slot repeats it, so the slots alone set the rhythm.
        writer.addFrame(makeFrame(size, 5));
        // About three seconds of slots, so that a drift of a third of a millisecond per slot shows.
        const int wanted = std::clamp(int(fps * 3), 24, 1000);
        QTRY_VERIFY_WITH_TIMEOUT(writer.statistics().framesWritten >= wanted, 20000);
        writer.stopWriting();

        const WriterStatistics stats = writer.statistics();
        QCOMPARE(int(writeTimes.size()), stats.framesWritten);
        QCOMPARE(stats.framesDuplicated, stats.framesWritten - 1);
        // Slot k is never served before k periods have passed since the file was opened, and the
        // slots keep the period on average: late wake-ups do not add up, and whole-millisecond
        // steps would show over this many slots (33 against 33.3 ms, 16 against 16.7 ms).
        for (size_t k = 0; k < writeTimes.size(); ++k) {
            QVERIFY2(writeTimes[k] >= qint64(double(k + 1) * periodMs),
                     qPrintable(
                         QStringLiteral("slot %1 written at %2 ms").arg(k + 1).arg(writeTimes[k])));
        }
        const size_t last = writeTimes.size() - 1;
        const double meanSpacing = double(writeTimes[last] - writeTimes[1]) / double(last - 1);
        const double tolerance = periodMs >= 1.0 ? 0.15 : 1.0;
        QVERIFY2(std::abs(meanSpacing - periodMs) < tolerance,
                 qPrintable(QString::number(meanSpacing)));

        const ProbeResult probe = probeVideo(file);
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QVERIFY(probe.allDecodable);
        // The AVI muxer cannot keep a rate above 1000 fps (it leaves out frames whose timestamps
        // collide), so only such a file's soundness is judged.
        if (!fileRate.isEmpty()) {
            QCOMPARE(probe.frameRate, fileRate);
            QCOMPARE(probe.frames, stats.framesWritten);
        }
    }

    // A thread feeds frames at half the file's rate, as a slow camera does: every second slot
    // repeats the last frame, and the file's length follows the wall clock.
    void halfRateProducerIsPaddedWithDuplicates()
    {
        const QSize size(320, 240);
        const QString file = path("producer.avi");
        VideoWriterThread writer;
        QVERIFY(record(writer, file, 30, size));
        std::atomic<bool> stop{false};
        std::thread producer([&] {
            const QImage frames[] = {makeFrame(size, 3), makeFrame(size, 20)};
            auto next = std::chrono::steady_clock::now();
            for (int i = 0; !stop; ++i) {
                writer.addFrame(frames[i % 2]);
                std::this_thread::sleep_until(next += std::chrono::microseconds(66667));
            }
        });
        QTest::qWait(2000);
        stop = true;
        producer.join();
        QTest::qWait(100); // the last frame is taken, so the file holds paced frames only
        const WriterStatistics stats = writer.statistics();
        writer.stopWriting();

        QCOMPARE_LE(qAbs(stats.framesDuplicated - 0.5 * stats.framesWritten),
                    stats.framesWritten / 8.0);
        QCOMPARE(stats.framesDropped, 0);
        const ProbeResult probe = probeVideo(file);
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QCOMPARE(probe.frameRate, QStringLiteral("30/1"));
        QVERIFY(probe.allDecodable);
        QCOMPARE(probe.frames, stats.framesWritten);
        QCOMPARE_LE(qAbs(probe.frames - 30.0 * stats.elapsedMs / 1000.0), 2.0);
    }

    // Frames are as large as the camera's largest, and the stop finds the queue full.
    void trimsOldestFramesAndDrainsAFullQueueInTime()
    {
        const QSize size(1920, 1080);
        VideoWriterThread writer;
        QSignalSpy finished(&writer, &VideoWriterThread::writingFinished);
        // At 0.1 fps no slot falls due during the test, so the queue holds everything added.
        QVERIFY(record(writer, path("trim.avi"), 0.1, size));

        writer.addFrame(makeFrame(QSize(32, 32), 0)); // wrong size: refused, not dropped
        for (int i = 0; i < 30; ++i)
            writer.addFrame(makeFrame(size, i));
        QCOMPARE(writer.statistics().framesDropped, 0);
        writer.addFrame(makeFrame(size, 30));
        QCOMPARE(writer.statistics().framesDropped, 15);
        QCOMPARE(warningsWith("VideoWriterThread: Frame size mismatch").size(), 1);
        // 14 more fill the queue again without a drop.
        for (int i = 0; i < 14; ++i)
            writer.addFrame(makeFrame(size, i));
        QCOMPARE(writer.statistics().framesDropped, 15);

        QElapsedTimer stopClock;
        stopClock.start();
        writer.stopWriting();
        // Well below the 5000 ms after which the worker would be terminated and the file lost.
        QCOMPARE_LT(stopClock.elapsed(), 4000);
        QCOMPARE(finished.size(), 1);
        QList<int> expected;
        for (int i = 15; i <= 30; ++i)
            expected.append(i);
        for (int i = 0; i < 14; ++i)
            expected.append(i);
        QCOMPARE(decodeFrameIndexes(path("trim.avi")), expected);
    }

    void warnsAtEveryThirtiethDropAcrossRecordings()
    {
        const QImage frame = makeFrame(QSize(32, 32), 1);
        const QString prefix = QStringLiteral("VideoWriterThread: Queue full, dropped");
        // The count of dropped frames is process-wide, so read where it stands from the warnings.
        auto totalIn = [](const QString &warning) {
            const qsizetype at = warning.indexOf(QStringLiteral("total dropped:"));
            return at < 0 ? -1 : warning.mid(at + 14).remove(')').trimmed().toInt();
        };
        auto add = [&frame](VideoWriterThread &writer, int count) {
            for (int i = 0; i < count; ++i)
                writer.addFrame(frame);
        };

        VideoWriterThread writer;
        QVERIFY(record(writer, path("drops1.avi"), 0.1, frame.size()));
        add(writer, 30);
        // Trims of 15 until the first warning, which comes at the first or the second one.
        int trims = 0;
        for (; warningsWith(prefix).isEmpty() && trims < 2; ++trims)
            add(writer, 15);
        QStringList dropWarnings = warningsWith(prefix);
        QCOMPARE(dropWarnings.size(), 1);
        QVERIFY2(dropWarnings.first().startsWith(prefix + " 15 frames"),
                 qPrintable(dropWarnings.first()));
        const int total = totalIn(dropWarnings.first());
        QVERIFY2(total > 0 && total % 30 == 0, qPrintable(dropWarnings.first()));
        // The next trim brings the total to an odd multiple of 15: no warning.
        add(writer, 15);
        QCOMPARE(warningsWith(prefix).size(), 1);
        writer.stopWriting();

        // A later recording, on another writer even, carries on from that total.
        VideoWriterThread second;
        QVERIFY(record(second, path("drops2.avi"), 0.1, frame.size()));
        add(second, 31);
        dropWarnings = warningsWith(prefix);
        QCOMPARE(dropWarnings.size(), 2);
        QCOMPARE(totalIn(dropWarnings.last()), total + 30);
        second.stopWriting();
    }

    void failedOpenIsReportedWithoutFinishing()
    {
        VideoWriterThread writer;
        QSignalSpy finished(&writer, &VideoWriterThread::writingFinished);
        QSignalSpy errors(&writer, &VideoWriterThread::errorOccurred);
        const QString unreachable = path("missing-directory/recording.avi");
        QVERIFY(writer.startWriting(unreachable, mjpg, 30, QSize(320, 240)));
        writer.start();
        QVERIFY(writer.wait(10000));
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors.first().first().toString(),
                 QStringLiteral("Failed to open video writer for: ") + unreachable);
        writer.stopWriting();
        QCOMPARE(finished.size(), 0);
        // The writer is idle again, not stuck in a recording that never began.
        QVERIFY(writer.startWriting(path("afterfailure.avi"), mjpg, 30, QSize(320, 240)));
    }

    void stopBeforeOpenEndsWorkerPromptly()
    {
        // The stop lands at different points before, during and after the open.
        for (int round = 0; round < 5; ++round) {
            const QString file = path(QStringLiteral("early%1.avi").arg(round));
            VideoWriterThread writer;
            QSignalSpy finished(&writer, &VideoWriterThread::writingFinished);
            QVERIFY(writer.startWriting(file, mjpg, 30, QSize(320, 240)));
            writer.start();
            QThread::usleep(round * 500);
            QElapsedTimer stopClock;
            stopClock.start();
            writer.stopWriting();
            QCOMPARE_LT(stopClock.elapsed(), 2000);
            QCOMPARE(finished.size(), 1);
            QVERIFY(probeVideo(file).ok);
        }
    }
};

QTEST_GUILESS_MAIN(TestVideoWriterThread)
#include "tst_videowriterthread.moc"
