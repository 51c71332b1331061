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
#include <thread>
#include <vector>

namespace {

const int mjpg = cv::VideoWriter::fourcc('M', 'J', 'P', 'G');

// Warnings may come from the worker thread, hence the lock.
QMutex warningsMutex;
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

QStringList warningsStartingWith(const QString &prefix)
{
    QMutexLocker locker(&warningsMutex);
    QStringList result;
    for (const QString &warning : std::as_const(warnings))
        if (warning.startsWith(prefix))
            result.append(warning);
    return result;
}

// A solid frame whose colour tells its index apart from every other index below 31, with red
// and blue far apart so that swapped channels show.
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

// The index whose colour is nearest to the centre pixel of each frame in the file, as decoded
// by ffmpeg; -1 for a frame that matches none.
QList<int> decodeFrameIndexes(const QString &path, const QSize &size)
{
    QProcess ffmpeg;
    ffmpeg.start(QStandardPaths::findExecutable(QStringLiteral("ffmpeg")),
                 {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path,
                  QStringLiteral("-f"), QStringLiteral("rawvideo"), QStringLiteral("-pix_fmt"),
                  QStringLiteral("rgb24"), QStringLiteral("-")});
    if (!ffmpeg.waitForFinished(60000))
        return {};
    const QByteArray raw = ffmpeg.readAllStandardOutput();
    const qsizetype frameBytes = qsizetype(size.width()) * size.height() * 3;
    QList<int> indexes;
    for (qsizetype offset = 0; offset + frameBytes <= raw.size(); offset += frameBytes) {
        const qsizetype centre =
            offset + (qsizetype(size.height() / 2) * size.width() + size.width() / 2) * 3;
        const int r = uchar(raw[centre]), g = uchar(raw[centre + 1]), b = uchar(raw[centre + 2]);
        int best = -1;
        int bestDistance = 3 * 12; // JPEG keeps a solid colour within a few steps per channel
        for (int i = 0; i <= 30; ++i) {
            const QColor c = colourOf(i);
            const int distance = qAbs(c.red() - r) + qAbs(c.green() - g) + qAbs(c.blue() - b);
            if (distance < bestDistance) {
                best = i;
                bestDistance = distance;
            }
        }
        indexes.append(best);
    }
    return indexes;
}

bool waitUntilOpen(const VideoWriterThread &writer)
{
    return QTest::qWaitFor([&] { return writer.statistics().elapsedMs > 0; }, 5000);
}

// Feeds frames from a thread of its own at a steady rate until stopped, as the camera does.
class Producer
{
public:
    Producer(VideoWriterThread &writer, const QSize &size, std::chrono::milliseconds period)
        : thread([this, &writer, size, period] {
            const QList<QImage> frames = {makeFrame(size, 3), makeFrame(size, 20)};
            auto next = std::chrono::steady_clock::now();
            for (int i = 0; !stop; ++i) {
                writer.addFrame(frames[i % 2]);
                ++added;
                next += period;
                std::this_thread::sleep_until(next);
            }
        })
    {}
    ~Producer() { finish(); }
    int finish()
    {
        stop = true;
        if (thread.joinable())
            thread.join();
        return added;
    }

private:
    std::atomic<bool> stop{false};
    std::atomic<int> added{0};
    std::thread thread;
};

} // namespace

class TestVideoWriterThread : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void refusesInvalidParameters_data();
    void refusesInvalidParameters();
    void refusesWhileWriting();
    void pacesAtTruncatedInterval_data();
    void pacesAtTruncatedInterval();
    void intervalZeroWritesOnEveryPass();

    void trimsOldestFramesAndDrainsTheRest();
    void warnsAtEveryThirtiethDropAcrossRecordings();

    void duplicatesSlotsOfAHalfRateProducer();
    void fileLengthFollowsWallClock();

    void stopWithFullQueueAt1080pFinishesInTime();
    void recordingWithoutFramesIsValidAndFinishes();
    void stopWhenIdleOrAfterFailedOpenDoesNothing();
    void stopBeforeOpenEndsWorkerPromptly();
    void secondRecordingStartsClean();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

void TestVideoWriterThread::initTestCase()
{
    QVERIFY2(ffprobeAvailable(), "ffprobe and ffmpeg are needed to judge the recordings");
    QVERIFY(dir.isValid());
    previousHandler = qInstallMessageHandler(captureWarnings);
}

void TestVideoWriterThread::init()
{
    QMutexLocker locker(&warningsMutex);
    warnings.clear();
}

void TestVideoWriterThread::refusesInvalidParameters_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<double>("fps");
    QTest::addColumn<QSize>("size");

    QTest::newRow("empty name") << QString() << 30.0 << QSize(320, 240);
    QTest::newRow("zero fps") << "a.avi" << 0.0 << QSize(320, 240);
    QTest::newRow("negative fps") << "a.avi" << -30.0 << QSize(320, 240);
    QTest::newRow("NaN fps") << "a.avi" << qQNaN() << QSize(320, 240);
    QTest::newRow("zero width") << "a.avi" << 30.0 << QSize(0, 240);
    QTest::newRow("zero height") << "a.avi" << 30.0 << QSize(320, 0);
    QTest::newRow("invalid size") << "a.avi" << 30.0 << QSize();
}

void TestVideoWriterThread::refusesInvalidParameters()
{
    QFETCH(QString, fileName);
    QFETCH(double, fps);
    QFETCH(QSize, size);

    VideoWriterThread writer;
    QVERIFY(!writer.startWriting(fileName.isEmpty() ? fileName : path(fileName), mjpg, fps, size));
    QCOMPARE(warningsStartingWith("VideoWriterThread: Invalid parameters").size(), 1);
}

void TestVideoWriterThread::refusesWhileWriting()
{
    VideoWriterThread writer;
    QVERIFY(writer.startWriting(path("busy.avi"), mjpg, 30, QSize(320, 240)));
    writer.start();
    QVERIFY(waitUntilOpen(writer));

    QVERIFY(!writer.startWriting(path("other.avi"), mjpg, 25, QSize(640, 480)));
    QCOMPARE(warningsStartingWith("VideoWriterThread: Already writing").size(), 1);

    // The running recording keeps its own parameters.
    writer.addFrame(makeFrame(QSize(320, 240), 1));
    QTRY_VERIFY(writer.statistics().framesWritten >= 2);
    writer.stopWriting();
    QVERIFY(!QFile::exists(path("other.avi")));
    const ProbeResult probe = probeVideo(path("busy.avi"));
    QVERIFY2(probe.ok, qPrintable(probe.error));
    QCOMPARE(QSize(probe.width, probe.height), QSize(320, 240));
    QCOMPARE(probe.frameRate, QStringLiteral("30/1"));
}

void TestVideoWriterThread::pacesAtTruncatedInterval_data()
{
    QTest::addColumn<double>("fps");
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<QString>("fileRate");

    QTest::newRow("30 fps") << 30.0 << 33 << "30/1";
    QTest::newRow("25 fps") << 25.0 << 40 << "25/1";
    QTest::newRow("7.5 fps") << 7.5 << 133 << "15/2";
    // 16.7 ms rounded would be 17: the spacing shows which one the writer keeps.
    QTest::newRow("60 fps") << 60.0 << 16 << "60/1";
}

void TestVideoWriterThread::pacesAtTruncatedInterval()
{
    QFETCH(double, fps);
    QFETCH(int, intervalMs);
    QFETCH(QString, fileRate);

    const QSize size(64, 48);
    const QString file = path(QStringLiteral("interval%1.avi").arg(intervalMs));
    VideoWriterThread writer;
    std::vector<qint64> writeTimes; // touched by the worker only until stopWriting returns
    connect(
        &writer, &VideoWriterThread::frameWritten, &writer,
        [&] { writeTimes.push_back(writer.statistics().elapsedMs); }, Qt::DirectConnection);

    QVERIFY(writer.startWriting(file, mjpg, fps, size));
    writer.start();
    QVERIFY(waitUntilOpen(writer));
    // One frame only: every later slot repeats it, so the slots alone set the rhythm.
    writer.addFrame(makeFrame(size, 5));
    const int wanted = std::max(8, 1000 / intervalMs);
    QTRY_VERIFY_WITH_TIMEOUT(writer.statistics().framesWritten >= wanted, 20000);
    writer.stopWriting();

    const WriterStatistics stats = writer.statistics();
    QCOMPARE(int(writeTimes.size()), stats.framesWritten);
    QCOMPARE(stats.framesDuplicated, stats.framesWritten - 1);

    // Slot k is never served before k intervals have passed since the file was opened.
    for (size_t k = 0; k < writeTimes.size(); ++k)
        QVERIFY2(writeTimes[k] >= qint64(k + 1) * intervalMs,
                 qPrintable(QStringLiteral("frame %1 written at %2 ms").arg(k).arg(writeTimes[k])));
    // The typical spacing is the interval itself; the first frame may have been late.
    std::vector<qint64> spacing;
    for (size_t k = 2; k < writeTimes.size(); ++k)
        spacing.push_back(writeTimes[k] - writeTimes[k - 1]);
    std::nth_element(spacing.begin(), spacing.begin() + spacing.size() / 2, spacing.end());
    QCOMPARE(spacing[spacing.size() / 2], qint64(intervalMs));

    const ProbeResult probe = probeVideo(file);
    QVERIFY2(probe.ok, qPrintable(probe.error));
    QCOMPARE(probe.frameRate, fileRate);
    QCOMPARE(probe.frames, stats.framesWritten);
}

void TestVideoWriterThread::intervalZeroWritesOnEveryPass()
{
    const QSize size(16, 16);
    const QString file = path("interval0.avi");
    VideoWriterThread writer;
    QVERIFY(writer.startWriting(file, mjpg, 2000, size));
    writer.start();
    QVERIFY(waitUntilOpen(writer));
    writer.addFrame(makeFrame(size, 9));
    QTest::qWait(300);
    writer.stopWriting();

    // With a whole-millisecond interval of at least 1 no more than one frame per millisecond
    // could be written.
    const WriterStatistics stats = writer.statistics();
    QVERIFY2(
        stats.framesWritten > stats.elapsedMs,
        qPrintable(
            QStringLiteral("%1 frames in %2 ms").arg(stats.framesWritten).arg(stats.elapsedMs)));
    // The AVI muxer cannot keep this rate (it falls back to 600 fps and leaves out frames whose
    // timestamps collide), so only the file's soundness is judged here.
    const ProbeResult probe = probeVideo(file);
    QVERIFY2(probe.ok, qPrintable(probe.error));
    QVERIFY(probe.frames > 0);
    QVERIFY(probe.allDecodable);
}

void TestVideoWriterThread::trimsOldestFramesAndDrainsTheRest()
{
    const QSize size(64, 48);
    const QString file = path("trim.avi");
    VideoWriterThread writer;
    QSignalSpy written(&writer, &VideoWriterThread::frameWritten);
    // At 0.1 fps no slot falls due during the test, so the queue holds everything added.
    QVERIFY(writer.startWriting(file, mjpg, 0.1, size));
    writer.start();
    QVERIFY(waitUntilOpen(writer));

    writer.addFrame(makeFrame(QSize(32, 32), 0)); // wrong size: refused, not dropped
    writer.addFrame(QImage());                    // null: ignored
    for (int i = 0; i < 30; ++i)
        writer.addFrame(makeFrame(size, i));
    QCOMPARE(writer.statistics().framesDropped, 0);
    writer.addFrame(makeFrame(size, 30));
    QCOMPARE(writer.statistics().framesDropped, 15);

    const QStringList mismatch =
        warningsStartingWith("VideoWriterThread: Frame size mismatch. Expected:");
    QCOMPARE(mismatch.size(), 1);
    QVERIFY2(mismatch.first().contains("64, 48") && mismatch.first().contains("32, 32"),
             qPrintable(mismatch.first()));

    writer.stopWriting();
    // The drain writes the 16 survivors in order but counts nothing.
    QCOMPARE(written.size(), 0);
    QCOMPARE(writer.statistics().framesWritten, 0);
    QCOMPARE(writer.statistics().framesDuplicated, 0);

    const ProbeResult probe = probeVideo(file);
    QVERIFY2(probe.ok, qPrintable(probe.error));
    QCOMPARE(probe.codec, QStringLiteral("mjpeg"));
    QCOMPARE(probe.frames, 16);
    QVERIFY(probe.allDecodable);
    QList<int> expected;
    for (int i = 15; i <= 30; ++i)
        expected.append(i);
    QCOMPARE(decodeFrameIndexes(file, size), expected);
}

void TestVideoWriterThread::warnsAtEveryThirtiethDropAcrossRecordings()
{
    const QSize size(32, 32);
    const QImage frame = makeFrame(size, 1);
    const QString prefix = QStringLiteral("VideoWriterThread: Queue full, dropped");
    // The count of dropped frames is process-wide, so read where it stands from the warnings.
    auto totalIn = [](const QString &warning) {
        const qsizetype at = warning.indexOf(QStringLiteral("total dropped:"));
        return at < 0 ? -1 : warning.mid(at + 14).remove(')').trimmed().toInt();
    };

    VideoWriterThread writer;
    QVERIFY(writer.startWriting(path("drops1.avi"), mjpg, 0.1, size));
    writer.start();
    QVERIFY(waitUntilOpen(writer));
    for (int i = 0; i < 30; ++i)
        writer.addFrame(frame);
    // Trims of 15 until the first warning, which comes at the first or the second one.
    int trims = 0;
    while (warningsStartingWith(prefix).isEmpty() && trims < 2) {
        for (int i = 0; i < 15; ++i)
            writer.addFrame(frame);
        ++trims;
    }
    QStringList dropWarnings = warningsStartingWith(prefix);
    QCOMPARE(dropWarnings.size(), 1);
    QVERIFY2(dropWarnings.first().startsWith(prefix + " 15 frames"),
             qPrintable(dropWarnings.first()));
    const int total = totalIn(dropWarnings.first());
    QVERIFY2(total > 0 && total % 30 == 0, qPrintable(dropWarnings.first()));

    // The next trim brings the total to an odd multiple of 15: no warning.
    for (int i = 0; i < 15; ++i)
        writer.addFrame(frame);
    QCOMPARE(warningsStartingWith(prefix).size(), 1);
    writer.stopWriting();
    QCOMPARE(writer.statistics().framesDropped, 15 * (trims + 1));

    // A later recording, on another writer even, carries on from that total.
    VideoWriterThread second;
    QVERIFY(second.startWriting(path("drops2.avi"), mjpg, 0.1, size));
    second.start();
    QVERIFY(waitUntilOpen(second));
    for (int i = 0; i < 31; ++i)
        second.addFrame(frame);
    dropWarnings = warningsStartingWith(prefix);
    QCOMPARE(dropWarnings.size(), 2);
    QCOMPARE(totalIn(dropWarnings.last()), total + 30);
    QCOMPARE(second.statistics().framesDropped, 15);
    second.stopWriting();

    // Every trim leaves 15 and the 15 adds that follow it fill the queue to 30 again.
    const QList<QPair<QString, int>> files = {{"drops1.avi", 30}, {"drops2.avi", 16}};
    for (const auto &[name, frames] : files) {
        const ProbeResult probe = probeVideo(path(name));
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QCOMPARE(probe.frames, frames);
    }
}

void TestVideoWriterThread::duplicatesSlotsOfAHalfRateProducer()
{
    const QSize size(320, 240);
    const QString file = path("halfrate.avi");
    VideoWriterThread writer;
    QVERIFY(writer.startWriting(file, mjpg, 30, size));
    writer.start();
    QVERIFY(waitUntilOpen(writer));
    {
        Producer producer(writer, size, std::chrono::milliseconds(66));
        QTest::qWait(2000);
    }
    QTest::qWait(100); // let the last frame be taken, so the file holds paced frames only
    writer.stopWriting();

    const WriterStatistics stats = writer.statistics();
    QVERIFY2(stats.framesWritten >= 50, qPrintable(QString::number(stats.framesWritten)));
    QVERIFY2(qAbs(2 * stats.framesDuplicated - stats.framesWritten) <= stats.framesWritten / 4,
             qPrintable(QStringLiteral("%1 of %2 duplicated")
                            .arg(stats.framesDuplicated)
                            .arg(stats.framesWritten)));
    QCOMPARE(stats.framesDropped, 0);
    const ProbeResult probe = probeVideo(file);
    QVERIFY2(probe.ok, qPrintable(probe.error));
    QCOMPARE(probe.frames, stats.framesWritten);
    QVERIFY(probe.allDecodable);
}

void TestVideoWriterThread::fileLengthFollowsWallClock()
{
    const QSize size(320, 240);
    const QString file = path("threeseconds.avi");
    VideoWriterThread writer;
    QVERIFY(writer.startWriting(file, mjpg, 30, size));
    writer.start();
    QVERIFY(waitUntilOpen(writer));
    {
        // Frames at 40 ms: a camera a little slower than the file's rate.
        Producer producer(writer, size, std::chrono::milliseconds(40));
        QTest::qWait(3000);
    }
    QTest::qWait(100);
    const qint64 elapsedMs = writer.statistics().elapsedMs;
    writer.stopWriting();

    const ProbeResult probe = probeVideo(file);
    QVERIFY2(probe.ok, qPrintable(probe.error));
    QCOMPARE(probe.codec, QStringLiteral("mjpeg"));
    QCOMPARE(QSize(probe.width, probe.height), size);
    QCOMPARE(probe.frameRate, QStringLiteral("30/1"));
    QVERIFY(probe.allDecodable);
    const double expected = 30.0 * elapsedMs / 1000.0;
    QVERIFY2(qAbs(probe.frames - expected) <= 2.0,
             qPrintable(QStringLiteral("%1 frames for %2 ms").arg(probe.frames).arg(elapsedMs)));
}

void TestVideoWriterThread::stopWithFullQueueAt1080pFinishesInTime()
{
    const QSize size(1920, 1080);
    const QString file = path("fullqueue.avi");
    VideoWriterThread writer;
    QSignalSpy finished(&writer, &VideoWriterThread::writingFinished);
    QVERIFY(writer.startWriting(file, mjpg, 30, size));
    writer.start();
    QVERIFY(waitUntilOpen(writer));
    QList<QImage> frames;
    for (int i = 0; i < 30; ++i)
        frames.append(makeFrame(size, i));
    for (const QImage &frame : std::as_const(frames))
        writer.addFrame(frame);

    QElapsedTimer stopClock;
    stopClock.start();
    writer.stopWriting();
    const qint64 stopMs = stopClock.elapsed();
    // Well below the 5000 ms after which the worker would be terminated and the file lost.
    QVERIFY2(stopMs < 4000, qPrintable(QStringLiteral("stop took %1 ms").arg(stopMs)));
    QCOMPARE(finished.size(), 1);

    // Each frame is written once, by the paced loop or by the drain.
    const WriterStatistics stats = writer.statistics();
    QCOMPARE(stats.framesDropped, 0);
    QCOMPARE(stats.framesDuplicated, 0);
    const ProbeResult probe = probeVideo(file);
    QVERIFY2(probe.ok, qPrintable(probe.error));
    QCOMPARE(QSize(probe.width, probe.height), size);
    QCOMPARE(probe.frames, 30);
    QVERIFY(probe.allDecodable);
}

void TestVideoWriterThread::recordingWithoutFramesIsValidAndFinishes()
{
    const QString file = path("empty.avi");
    VideoWriterThread writer;
    QSignalSpy finished(&writer, &VideoWriterThread::writingFinished);
    QSignalSpy errors(&writer, &VideoWriterThread::errorOccurred);
    QVERIFY(writer.startWriting(file, mjpg, 30, QSize(320, 240)));
    writer.start();
    QVERIFY(waitUntilOpen(writer));
    QTest::qWait(200);
    writer.stopWriting();

    QCOMPARE(finished.size(), 1);
    QCOMPARE(errors.size(), 0);
    QCOMPARE(writer.statistics().framesWritten, 0);
    QCOMPARE(writer.statistics().framesDuplicated, 0);
    const ProbeResult probe = probeVideo(file);
    QVERIFY2(probe.ok, qPrintable(probe.error));
    QCOMPARE(probe.codec, QStringLiteral("mjpeg"));
    QCOMPARE(QSize(probe.width, probe.height), QSize(320, 240));
    QVERIFY(probe.frames <= 0);
}

void TestVideoWriterThread::stopWhenIdleOrAfterFailedOpenDoesNothing()
{
    VideoWriterThread writer;
    QSignalSpy finished(&writer, &VideoWriterThread::writingFinished);
    QSignalSpy errors(&writer, &VideoWriterThread::errorOccurred);
    writer.stopWriting();
    QCOMPARE(finished.size() + errors.size(), 0);

    const QString unreachable = path("missing-directory/recording.avi");
    QVERIFY(writer.startWriting(unreachable, mjpg, 30, QSize(320, 240)));
    writer.start();
    QVERIFY(writer.wait(10000));
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.first().first().toString(),
             QStringLiteral("Failed to open video writer for: ") + unreachable);
    writer.addFrame(makeFrame(QSize(320, 240), 1)); // not writing: ignored
    writer.stopWriting();
    QCOMPARE(finished.size(), 0);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(writer.statistics().elapsedMs, 0);

    // The writer is idle again, not stuck in a recording that never began.
    QVERIFY(writer.startWriting(path("afterfailure.avi"), mjpg, 30, QSize(320, 240)));
    QVERIFY(warningsStartingWith("VideoWriterThread:").isEmpty());
}

void TestVideoWriterThread::stopBeforeOpenEndsWorkerPromptly()
{
    // The stop lands at different points before, during and after the open.
    for (int round = 0; round < 5; ++round) {
        const QString file = path(QStringLiteral("early%1.avi").arg(round));
        VideoWriterThread writer;
        QSignalSpy finished(&writer, &VideoWriterThread::writingFinished);
        QVERIFY(writer.startWriting(file, mjpg, 30, QSize(320, 240)));
        writer.start();
        if (round > 0)
            QThread::usleep(round * 500);
        QElapsedTimer stopClock;
        stopClock.start();
        writer.stopWriting();
        QVERIFY2(stopClock.elapsed() < 2000,
                 qPrintable(QStringLiteral("stop took %1 ms").arg(stopClock.elapsed())));
        QVERIFY(writer.isFinished());
        QCOMPARE(finished.size(), 1);

        const ProbeResult probe = probeVideo(file);
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QCOMPARE(probe.codec, QStringLiteral("mjpeg"));
    }
}

void TestVideoWriterThread::secondRecordingStartsClean()
{
    const QSize size(64, 48);
    VideoWriterThread writer;
    QSignalSpy finished(&writer, &VideoWriterThread::writingFinished);
    QVERIFY(writer.startWriting(path("first.avi"), mjpg, 30, size));
    writer.start();
    QVERIFY(waitUntilOpen(writer));
    writer.addFrame(makeFrame(size, 2));
    QTRY_VERIFY(writer.statistics().framesDuplicated >= 3);
    writer.stopWriting();

    QVERIFY(writer.startWriting(path("second.avi"), mjpg, 30, size));
    const WriterStatistics reset = writer.statistics();
    QCOMPARE(reset.framesWritten, 0);
    QCOMPARE(reset.framesDuplicated, 0);
    QCOMPARE(reset.framesDropped, 0);
    QCOMPARE(reset.elapsedMs, 0);

    // No frame arrives this time: the last frame of the first recording must not be repeated.
    writer.start();
    QVERIFY(waitUntilOpen(writer));
    QTest::qWait(200);
    writer.stopWriting();
    QCOMPARE(finished.size(), 2);
    QCOMPARE(writer.statistics().framesWritten, 0);
    QCOMPARE(writer.statistics().framesDuplicated, 0);
    const ProbeResult probe = probeVideo(path("second.avi"));
    QVERIFY2(probe.ok, qPrintable(probe.error));
    QVERIFY(probe.frames <= 0);
}

QTEST_GUILESS_MAIN(TestVideoWriterThread)
#include "tst_videowriterthread.moc"
