#include "testsupport/ffprobe.h"
#include "videowriterthread.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QMutex>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTransform>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <thread>
#include <vector>

namespace {

const int mjpg = 'M' | ('J' << 8) | ('P' << 16) | ('G' << 24);

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

// Calls add(i) for i = 0, 1, ... once a period from another thread, as a camera does, for the
// given time.
void produce(int milliseconds, std::chrono::microseconds period,
             const std::function<void(int)> &add)
{
    std::atomic<bool> stop{false};
    std::thread producer([&] {
        auto next = std::chrono::steady_clock::now();
        for (int i = 0; !stop; ++i) {
            add(i);
            std::this_thread::sleep_until(next += period);
        }
    });
    QTest::qWait(milliseconds);
    stop = true;
    producer.join();
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

    void refusesASecondStartAndAnEmptyRecording()
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
        QCOMPARE(errors.size(), 0);

        // The next recording gets no frame: it neither counts on from the first one nor repeats
        // its last frame, and it ends as an error, not as a file that plays nowhere.
        QVERIFY(record(writer, path("empty.avi"), 30, size));
        QTest::qWait(200);
        writer.stopWriting();
        QCOMPARE(finished.size(), 2);
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors.first().first().toString(),
                 QStringLiteral("No frame reached the recording"));
        QCOMPARE(writer.statistics().framesWritten, 0);
        QVERIFY(!QFile::exists(path("empty.avi")));
    }

    void pacesAtFrameRate_data()
    {
        QTest::addColumn<double>("fps");
        QTest::addColumn<QString>("fileRate");

        // Periods with a fraction of a millisecond: whole-millisecond steps would drift from them.
        QTest::newRow("30 fps") << 30.0 << "30/1";
        QTest::newRow("7.5 fps") << 7.5 << "15/2";
        QTest::newRow("29.97 fps") << 29.97 << "30000/1001";
        QTest::newRow("60 fps") << 60.0 << "60/1";
    }

    void pacesAtFrameRate()
    {
        QFETCH(double, fps);
        QFETCH(QString, fileRate);

        const double periodMs = 1000.0 / fps;
        const QSize size(16, 16);
        const QString file = path(QStringLiteral("rate%1.avi").arg(int(fps * 100)));
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
        // Still below the third of a millisecond that whole-millisecond steps would add, while a
        // few milliseconds of lateness at either end, spread over few slots, are tolerated.
        const double tolerance = std::max(0.15, 5.0 / double(last - 1));
        QVERIFY2(std::abs(meanSpacing - periodMs) < tolerance,
                 qPrintable(QString::number(meanSpacing)));

        const ProbeResult probe = probeVideo(file);
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QVERIFY(probe.allDecodable);
        QCOMPARE(probe.frameRate, fileRate);
        QCOMPARE(probe.frames, stats.framesWritten);
    }

    // A Motion-JPEG camera at half the file's rate: its own JPEG goes into the file byte for
    // byte, every second slot repeats those bytes, and the file's length follows the clock.
    void passThroughFramesAreCopiedIntoEverySlot()
    {
        const QSize size(320, 240);
        const QString file = path("passthrough.avi");
        QByteArray jpegs[2];
        for (int i = 0; i < 2; ++i) {
            QBuffer buffer(&jpegs[i]);
            QVERIFY(makeFrame(size, 3 + 17 * i).save(&buffer, "JPG", 70));
        }
        QByteArray wrongSize;
        QBuffer buffer(&wrongSize);
        QVERIFY(makeFrame(QSize(32, 32), 1).save(&buffer, "JPG"));
        VideoWriterThread writer;
        QVERIFY(record(writer, file, 30, size));
        writer.addEncodedFrame(wrongSize);
        produce(2000, std::chrono::microseconds(66667),
                [&](int i) { writer.addEncodedFrame(jpegs[i % 2]); });
        writer.stopWriting();
        const WriterStatistics stats = writer.statistics();

        QCOMPARE(warningsWith("VideoWriterThread: Frame size mismatch").size(), 1);
        QCOMPARE_LE(qAbs(stats.framesDuplicated - 0.5 * stats.framesWritten),
                    stats.framesWritten / 8.0);
        QCOMPARE(stats.framesDropped, 0);
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        QCOMPARE(bytes.count(jpegs[0]) + bytes.count(jpegs[1]), stats.framesWritten);
        const ProbeResult probe = probeVideo(file);
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QCOMPARE(probe.frameRate, QStringLiteral("30/1"));
        QVERIFY(probe.allDecodable);
        QCOMPARE(probe.frames, stats.framesWritten);
        QCOMPARE_LE(qAbs(probe.frames - std::round(30.0 * stats.elapsedMs / 1000.0)), 1.0);
    }

    // An encoder that manages half the camera's rate: slots are still never skipped, so the
    // file holds as many frames as the time it recorded; the frames it could not take count
    // as dropped. The transform runs on the encoders and sets the recorded picture's size.
    void slowEncoderStillFollowsTheClock()
    {
        const QSize cameraSize(65, 49);
        const QString file = path("slow.avi");
        VideoWriterThread writer;
        const int encoders = std::max(1, QThread::idealThreadCount());
        writer.setFrameTransform([encoders](const QImage &frame) {
            std::this_thread::sleep_for(std::chrono::milliseconds(66 * encoders));
            return frame.transformed(QTransform().rotate(90));
        });
        QVERIFY(record(writer, file, 30, cameraSize.transposed()));
        const QImage frame = makeFrame(cameraSize, 9);
        int added = 0; // by the producer until it is joined
        produce(3000, std::chrono::microseconds(33333), [&](int i) {
            writer.addFrame(frame);
            added = i + 1;
        });
        writer.stopWriting();
        const WriterStatistics stats = writer.statistics();

        // Every frame given is either in the file once or counted as dropped.
        QCOMPARE_GT(stats.framesDropped, 0);
        QCOMPARE(stats.framesWritten - stats.framesDuplicated + stats.framesDropped, added);
        const ProbeResult probe = probeVideo(file);
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QVERIFY(probe.allDecodable);
        QCOMPARE(QSize(probe.width, probe.height), cameraSize.transposed());
        QCOMPARE(probe.frames, stats.framesWritten);
        QCOMPARE_LE(qAbs(probe.frames - std::round(30.0 * stats.elapsedMs / 1000.0)), 1.0);
    }

    // The stop finds the queue full of frames as large as a camera's: the trim kept the newest,
    // and the file gets no more frames than the time it recorded.
    void trimsOldestFramesAndStopsOnTheClock()
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
        QCOMPARE_LT(stopClock.elapsed(), 4000);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(decodeFrameIndexes(path("trim.avi")), QList<int>{15});
        QCOMPARE(writer.statistics().framesDropped, 15 + 29);
    }

    void fullDiskEndsTheRecordingWithTheCause()
    {
        const QString file = path("full.avi");
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), file));
        const QSize size(320, 240);
        VideoWriterThread writer;
        QSignalSpy finished(&writer, &VideoWriterThread::writingFinished);
        QSignalSpy errors(&writer, &VideoWriterThread::errorOccurred);
        QVERIFY(record(writer, file, 30, size));
        writer.addFrame(makeFrame(size, 4));
        // The writer ends by itself, without a stop.
        QVERIFY(writer.wait(5000));
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors.first().first().toString(),
                 QStringLiteral("Error writing frame: No space left on device"));
        QCOMPARE(finished.size(), 1);
        QCOMPARE(writer.statistics().framesWritten, 0);
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
            // The first frame, as the window gives it, may come before the file is open.
            writer.addFrame(makeFrame(QSize(320, 240), 6));
            QThread::usleep(round * 500);
            QElapsedTimer stopClock;
            stopClock.start();
            writer.stopWriting();
            QCOMPARE_LT(stopClock.elapsed(), 2000);
            QCOMPARE(finished.size(), 1);
            QCOMPARE(decodeFrameIndexes(file).value(0), 6);
        }
    }
};

QTEST_GUILESS_MAIN(TestVideoWriterThread)
#include "tst_videowriterthread.moc"
