#include "avimuxer.h"
#include "testsupport/ffprobe.h"
#include "videowriterthread.h"

#include <QBuffer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
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

// Solid frames whose colours tell indices up to 31 apart, with red and blue far apart so that
// swapped channels show.
QImage makeFrame(const QSize &size, int index)
{
    QImage frame(size, QImage::Format_RGB888);
    frame.fill(QColor(8 * index, 255 - 8 * index, 128));
    return frame;
}

// Calls add(0), add(1), ... once a period from another thread, as a camera does.
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

QByteArray jpegOf(const QImage &image)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    image.save(&buffer, "JPG", 70);
    return jpeg;
}

// Records options.fileName (codec by its suffix, 32x32 at 30 fps) for milliseconds as a camera
// and a microphone on one clock feed it: frames 15, 45, 75... white (the others dark), sound in
// 20 ms chunks whose samples wave() gives for the time since the start. Chunk timestamps jitter
// by up to 3 ms; no chunk comes in [gapFromMs, gapToMs) and from soundStopsAtMs on; the writer
// is paused in [pauseFromMs, pauseToMs).
struct SoundFeed
{
    std::function<qint16(double seconds)> wave;
    int gapFromMs = 0, gapToMs = 0, soundStopsAtMs = 1 << 30, pauseFromMs = -1, pauseToMs = -1;

    bool record(RecordingOptions options, int milliseconds) const
    {
        using namespace std::chrono;
        options.codec = options.fileName.endsWith("avi") ? RecordingOptions::Codec::MotionJpeg
                                                         : RecordingOptions::Codec::H264;
        options.frameSize = QSize(32, 32);
        VideoWriterThread writer;
        if (!writer.startWriting(options))
            return false;
        writer.start();
        const AudioFormat format = options.audio;
        const qint64 start = steady_clock::now().time_since_epoch().count(), chunkNs = 20000000;
        QImage white(options.frameSize, QImage::Format_RGB888), dark = white;
        white.fill(Qt::white);
        dark.fill(QColor(30, 30, 30));
        produce(milliseconds, microseconds(5000), [&, frame = 0, chunk = 0](int) mutable {
            const qint64 now = steady_clock::now().time_since_epoch().count();
            if (pauseFromMs >= 0)
                writer.setPaused(now - start >= pauseFromMs * 1000000LL &&
                                 now - start < pauseToMs * 1000000LL);
            for (; start + qint64(frame * 1e9 / 30) <= now; ++frame)
                writer.addFrame(frame % 30 == 15 ? white : dark, start + qint64(frame * 1e9 / 30));
            for (; start + (chunk + 1) * chunkNs <= now; ++chunk) {
                const qint64 ms = chunk * chunkNs / 1000000;
                if ((ms >= gapFromMs && ms < gapToMs) || ms >= soundStopsAtMs)
                    continue;
                AudioChunk sound{start + chunk * chunkNs + (chunk * 5 % 7 - 3) * 1000000, {}};
                for (int i = 0; i < format.sampleRate / 50; ++i) {
                    const qint16 sample = wave(chunk * 0.02 + double(i) / format.sampleRate);
                    for (int c = 0; c < format.channels; ++c)
                        sound.samples.append(reinterpret_cast<const char *>(&sample), 2);
                }
                writer.addAudio(sound);
            }
        });
        writer.stopWriting();
        return true;
    }
};

qint16 sampleAt(const QByteArray &mono, qsizetype i)
{
    return reinterpret_cast<const qint16 *>(mono.constData())[i];
}

// The longest run of samples that are quiet.
qsizetype longestQuiet(const QByteArray &mono, int quiet)
{
    qsizetype longest = 0;
    for (qsizetype i = 0, run = 0; i < mono.size() / 2; ++i)
        longest = std::max(longest, run = std::abs(sampleAt(mono, i)) < quiet ? run + 1 : 0);
    return longest;
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
        QVERIFY2(ffprobeAvailable() && dir.isValid(), "ffprobe and ffmpeg judge the recordings");
    }

    void refusesInvalidParameters()
    {
        VideoWriterThread writer;
        QTest::ignoreMessage(QtWarningMsg, "VideoWriterThread: Invalid parameters");
        QVERIFY(!writer.startWriting(path("a.avi"), mjpg, qQNaN(), QSize(320, 240)));
        QTest::ignoreMessage(QtWarningMsg, "VideoWriterThread: Invalid parameters");
        QVERIFY(!writer.startWriting(path("a.avi"), mjpg, 30, QSize(320, 0)));
        RecordingOptions opus;
        opus.fileName = path("a.mkv");
        opus.codec = RecordingOptions::Codec::H264;
        opus.frameSize = QSize(320, 240);
        opus.audio = {44100, 2};
        opus.audioCodec = RecordingOptions::AudioCodec::Opus;
        QTest::ignoreMessage(QtWarningMsg, "VideoWriterThread: cannot record the sound: \"Opus "
                                           "takes sound at 48000 Hz only, not 44100 Hz\"");
        QVERIFY(!writer.startWriting(opus));
    }

    void pacesAtFrameRate_data()
    {
        QTest::addColumn<double>("fps");
        QTest::addColumn<QString>("fileRate");
        // Periods with a fraction of a millisecond: whole-millisecond steps would drift from them.
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
        // One frame that every later slot repeats, for about three seconds of slots.
        writer.addFrame(makeFrame(size, 5));
        const int wanted = std::clamp(int(fps * 3), 24, 1000);
        QTRY_VERIFY_WITH_TIMEOUT(writer.statistics().framesWritten >= wanted, 20000);
        writer.stopWriting();

        // Slot k is never served before k periods have passed since the file was opened: an
        // order, which a loaded machine cannot upset. Periods cut to whole milliseconds would
        // serve the later slots early.
        for (size_t k = 0; k < writeTimes.size(); ++k)
            QVERIFY2(writeTimes[k] >= qint64(double(k + 1) * periodMs),
                     qPrintable(QString::number(k)));

        const ProbeResult probe = probeVideo(file);
        QVERIFY2(probe.ok && probe.allDecodable, qPrintable(probe.error));
        QCOMPARE(probe.frameRate, fileRate);
        QCOMPARE(probe.frames, writer.statistics().framesWritten);
    }

    // H.264 files follow the clock as AVI files do: one frame per slot, the rate declared
    // exactly, every frame decodable; MP4 as Matroska.
    void h264FilesFollowTheClock_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("fps");
        QTest::addColumn<QString>("fileRate");
        QTest::newRow("Matroska 30 fps") << "clock.mkv" << 30.0 << "30/1";
        QTest::newRow("MP4 29.97 fps") << "clock.mp4" << 29.97 << "30000/1001";
    }
    void h264FilesFollowTheClock()
    {
        QFETCH(QString, name);
        QFETCH(double, fps);
        QFETCH(QString, fileRate);
        RecordingOptions options;
        options.fileName = path(name);
        options.codec = RecordingOptions::Codec::H264;
        options.fps = fps;
        options.frameSize = QSize(64, 48);
        VideoWriterThread writer;
        // Without a VAAPI device the encoder says once per file that libx264 encodes.
        if (!QFileInfo::exists("/dev/dri"))
            QTest::ignoreMessage(
                QtWarningMsg, QRegularExpression("^H264Encoder: no VAAPI H.264 encoder \\(.*\\), "
                                                 "encoding with libx264$"));
        QVERIFY(writer.startWriting(options));
        writer.start();
        produce(2000, std::chrono::microseconds(std::llround(1e6 / fps)),
                [&](int i) { writer.addFrame(makeFrame(options.frameSize, i % 32)); });
        writer.stopWriting();

        const WriterStatistics statistics = writer.statistics();
        QVERIFY2(std::abs(statistics.framesWritten - statistics.elapsedMs * fps / 1000.0) <= 1.5,
                 qPrintable(QString::number(statistics.framesWritten)));
        const ProbeResult probe = probeVideo(options.fileName);
        QVERIFY2(probe.ok && probe.allDecodable, qPrintable(probe.error));
        QCOMPARE(probe.codec, "h264");
        QCOMPARE(probe.frameRate, fileRate);
        QCOMPARE(probe.frames, statistics.framesWritten);
        // Every frame keeps its colours through the conversion to YUV: red and green sum to
        // full, blue stays in the middle (swapped channels or planes would break either).
        const QList<QImage> frames = decodeFrames(options.fileName, options.frameSize);
        QCOMPARE(frames.size(), probe.frames);
        for (const QImage &frame : frames) {
            const QColor colour = frame.pixelColor(32, 24);
            QVERIFY2(std::abs(colour.red() + colour.green() - 255) <= 16 &&
                         std::abs(colour.blue() - 128) <= 12,
                     qPrintable(colour.name()));
        }
    }

    // A Motion-JPEG camera at half the file's rate whose frames alternate between one with
    // Huffman tables and one of a USB camera without (AVI1): the first goes into the file byte
    // for byte, the second with the standard tables added, each repeat copies the bytes before
    // it, and the file's length follows the clock.
    void passThroughFramesAreCopiedIntoEverySlot()
    {
        const QSize size(640, 480);
        QFile cameraFrame(QFINDTESTDATA("data/webcam-640x480-avi1-no-huffman.jpg"));
        QVERIFY(cameraFrame.open(QIODevice::ReadOnly));
        const QByteArray withoutTables = cameraFrame.readAll();
        const QByteArray withTables = jpegOf(makeFrame(size, 3));
        const QString file = path("passthrough.avi");
        VideoWriterThread writer;
        QVERIFY(record(writer, file, 30, size));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Frame size mismatch"));
        writer.addEncodedFrame(jpegOf(makeFrame(QSize(32, 32), 1)));
        produce(2000, std::chrono::microseconds(66667),
                [&](int i) { writer.addEncodedFrame(i % 2 ? withoutTables : withTables); });
        writer.stopWriting();
        const WriterStatistics stats = writer.statistics();
        QCOMPARE_LE(qAbs(stats.framesDuplicated - 0.5 * stats.framesWritten),
                    stats.framesWritten / 8.0);
        QCOMPARE(stats.framesDropped, 0);

        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        const qsizetype mended = bytes.count(QByteArray("\xFF\xD8\xFF\xC4", 4)); // SOI, DHT
        QCOMPARE_GT(mended, 0);
        QCOMPARE(bytes.count(withoutTables), 0);
        QCOMPARE(bytes.count(withoutTables.mid(2)), mended);
        QCOMPARE(bytes.count(withTables) + mended, stats.framesWritten);
        // The mended frame decodes as FFmpeg decodes the camera's own with the standard tables.
        const QImage cameraPicture = decodeFrames(cameraFrame.fileName(), size).value(0);
        const QList<QImage> frames = decodeFrames(file, size);
        QCOMPARE(frames.size(), stats.framesWritten);
        QCOMPARE(frames.count(cameraPicture), mended);
        QCOMPARE_LE(qAbs(frames.size() - std::round(30.0 * stats.elapsedMs / 1000.0)), 1.0);
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
        int added = 0; // by the producer until it is joined
        produce(3000, std::chrono::microseconds(33333), [&](int i) {
            writer.addFrame(makeFrame(cameraSize, 9));
            added = i + 1;
        });
        writer.stopWriting();
        const WriterStatistics stats = writer.statistics();

        // Every frame given is either in the file once or counted as dropped.
        QCOMPARE_GT(stats.framesDropped, 0);
        QCOMPARE(stats.framesWritten - stats.framesDuplicated + stats.framesDropped, added);
        const ProbeResult probe = probeVideo(file);
        QVERIFY2(probe.ok && probe.allDecodable, qPrintable(probe.error));
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
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Frame size mismatch"));
        writer.addFrame(makeFrame(QSize(32, 32), 0)); // refused, not dropped
        for (int i = 0; i < 30; ++i)
            writer.addFrame(makeFrame(size, i));
        QCOMPARE(writer.statistics().framesDropped, 0);
        writer.addFrame(makeFrame(size, 30));
        QCOMPARE(writer.statistics().framesDropped, 15);
        for (int i = 0; i < 14; ++i)
            writer.addFrame(makeFrame(size, i));

        QTest::failOnWarning(QRegularExpression("terminating")); // the worker ends by itself
        writer.stopWriting();
        QCOMPARE(finished.size(), 1);
        const QList<QImage> frames = decodeFrames(path("trim.avi"), size);
        QCOMPARE(frames.size(), 1);
        QCOMPARE_LE(qAbs(frames[0].pixelColor(0, 0).red() - 8 * 15), 4); // makeFrame's index 15
        QCOMPARE(writer.statistics().framesDropped, 15 + 29);
        const WriterStatistics end = writer.statistics();
        QCOMPARE(end.framesReceived, 1 + 30 + 1 + 14);
        QCOMPARE(end.framesSkipped, 1);
        QCOMPARE(end.framesRecorded + end.framesLost, end.framesReceived);
    }

    void recordingEnds_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("stopAfterUs"); // -1: the writer ends by itself
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("finishes");
        // A stop that lands before, during or after the open still ends the worker at once and
        // keeps the first frame, which the window may give before the file is open.
        for (int us : {0, 500, 1000, 2000})
            QTest::addRow("stopped after %d us", us)
                << path(QStringLiteral("early%1.avi").arg(us)) << us << QString() << 1;
        QFile::link(QStringLiteral("/dev/full"), path("full.avi"));
        QTest::newRow("disk full")
            << path("full.avi") << -1 << "Error writing frame: No space left on device" << 1;
        const QString unreachable = path("missing-directory/recording.avi");
        QTest::newRow("unopenable")
            << unreachable << -1 << "Failed to open video writer for: " + unreachable << 0;
    }

    void recordingEnds()
    {
        QFETCH(QString, file);
        QFETCH(int, stopAfterUs);
        QFETCH(QString, error);
        QFETCH(int, finishes);
        const QSize size(320, 240);
        VideoWriterThread writer;
        QSignalSpy finished(&writer, &VideoWriterThread::writingFinished);
        QSignalSpy errors(&writer, &VideoWriterThread::errorOccurred);
        QVERIFY(writer.startWriting(file, mjpg, 30, size));
        writer.start();
        writer.addFrame(makeFrame(size, 6));
        if (stopAfterUs >= 0) {
            // Whether its file is open yet or not, a running recording keeps its parameters.
            QTest::ignoreMessage(QtWarningMsg, "VideoWriterThread: Already writing");
            QVERIFY(!writer.startWriting(path("other.avi"), mjpg, 25, QSize(640, 480)));
            QThread::usleep(stopAfterUs);
            QTest::failOnWarning(QRegularExpression("terminating")); // it ends by itself
            writer.stopWriting();
        }
        QVERIFY(writer.wait(10000));
        QCOMPARE(finished.size(), finishes);
        QCOMPARE(errors.value(0).value(0).toString(), error);
        if (error.isEmpty())
            QCOMPARE_LE(qAbs(decodeFrames(file, size).value(0).pixelColor(0, 0).red() - 8 * 6), 4);
        // Idle again; its next recording gets no frame: it neither counts on from this one nor
        // repeats its last frame, and ends as an error rather than a file that plays nowhere.
        writer.stopWriting();
        QVERIFY(record(writer, path("empty.avi"), 30, size));
        QTest::qWait(100);
        writer.stopWriting();
        QCOMPARE(errors.last().first().toString(),
                 QStringLiteral("No frame reached the recording"));
        QCOMPARE(writer.statistics().framesWritten, 0);
        QVERIFY(!QFile::exists(path("empty.avi")));
    }

    void soundInEveryFormat_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("codec"); // RecordingOptions::AudioCodec
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QString>("written");
        QTest::addColumn<int>("soundStopsAtMs");
        const int aac = int(RecordingOptions::AudioCodec::Aac);
        const int opus = int(RecordingOptions::AudioCodec::Opus);
        QTest::newRow("AVI PCM") << "pcm.avi" << aac << 44100 << 2 << "pcm_s16le" << (1 << 30);
        QTest::newRow("MKV AAC") << "aac.mkv" << aac << 48000 << 1 << "aac" << (1 << 30);
        QTest::newRow("MP4 AAC") << "aac.mp4" << aac << 44100 << 2 << "aac" << (1 << 30);
        QTest::newRow("MKV Opus") << "opus.mkv" << opus << 48000 << 2 << "opus" << (1 << 30);
        // The source lost halfway: the picture goes on, silence fills the sound.
        QTest::newRow("source lost") << "lost.avi" << aac << 48000 << 1 << "pcm_s16le" << 1000;
    }

    void soundInEveryFormat()
    {
        QFETCH(QString, name);
        QFETCH(int, codec);
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(QString, written);
        QFETCH(int, soundStopsAtMs);
        RecordingOptions options;
        options.fileName = path(name);
        options.audio = {rate, channels};
        options.audioCodec = RecordingOptions::AudioCodec(codec);
        SoundFeed feed{[](double t) {
            return qint16(std::lround(12000 * sin(2 * M_PI * 1000 * t)));
        }};
        feed.soundStopsAtMs = soundStopsAtMs;
        QVERIFY(feed.record(options, 2000));

        const ProbeResult picture = probeVideo(options.fileName);
        const SoundProbe sound = probeSound(options.fileName);
        QVERIFY2(picture.ok && picture.allDecodable, qPrintable(picture.error));
        QCOMPARE(sound.codec, written);
        QCOMPARE(sound.sampleRate, rate);
        QCOMPARE(sound.channels, channels);
        const qsizetype samples = sound.mono.size() / 2;
        QCOMPARE_LE(std::abs(double(samples) / rate - picture.frames / 30.0), 1 / 30.0);
        // The tone at its frequency, from its zero crossings in 0.1 s - 0.9 s.
        int crossings = 0;
        for (qsizetype i = rate / 10; i < rate * 9 / 10; ++i)
            crossings += (sampleAt(sound.mono, i) < 0) != (sampleAt(sound.mono, i + 1) < 0);
        QCOMPARE_LE(std::abs(crossings / 2 / 0.8 - 1000), 20);
        // After the source went, only silence to the end: 0.3 s and more, as the tone never is.
        QCOMPARE(longestQuiet(sound.mono.mid(samples * 2 - rate * 6 / 10), 200) >= rate * 3 / 10,
                 soundStopsAtMs < 1500);
    }

    void soundIsInStepWithThePicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("AVI PCM") << "sync.avi";
        QTest::newRow("MKV AAC") << "sync.mkv";
    }

    void soundIsInStepWithThePicture()
    {
        QFETCH(QString, name);
        RecordingOptions options;
        options.fileName = path(name);
        options.audio = {48000, 1};
        // A click with every white frame, at the time the frame was taken, over a soft hum; no
        // sound 1.2 - 1.7 s, which holds the second.
        SoundFeed feed{[](double t) {
            return qint16(std::abs(std::fmod(t, 1.0) - 0.501) < 0.001
                              ? 20000
                              : std::lround(1000 * sin(2 * M_PI * 50 * t)));
        }};
        feed.gapFromMs = 1200;
        feed.gapToMs = 1700;
        QVERIFY(feed.record(options, 3200));

        QList<double> whiteFrames, clicks;
        const QList<QImage> frames = decodeFrames(options.fileName, QSize(32, 32));
        const SoundProbe sound = probeSound(options.fileName);
        for (int i = 0; i < frames.size(); ++i) {
            if (frames[i].pixelColor(16, 16).red() > 200)
                whiteFrames << sound.videoStartS + i / 30.0;
        }
        for (qsizetype i = 0; i < sound.mono.size() / 2; ++i) {
            const double t = sound.startS + double(i) / 48000;
            if (sampleAt(sound.mono, i) > 10000 && (clicks.isEmpty() || t - clicks.last() > 0.1))
                clicks << t;
        }
        // Every white frame but the one in the gap has its click within a frame period.
        QCOMPARE_GE(whiteFrames.size(), 3);
        QCOMPARE(clicks.size(), whiteFrames.size() - 1);
        int inStep = 0;
        for (double frame : whiteFrames)
            inStep += std::any_of(clicks.begin(), clicks.end(), [&](double click) {
                return std::abs(click - frame) <= 1 / 30.0;
            });
        QCOMPARE(inStep, clicks.size());
        // The gap is silence in its place, not closed up.
        QCOMPARE_GE(longestQuiet(sound.mono, 20), 48000 * 4 / 10);
    }

    void segmentsAndPausesKeepTheSoundWhole()
    {
        RecordingOptions options;
        options.fileName = path("joined.avi");
        options.audio = {48000, 1};
        options.segmentSeconds = 1;
        // A sawtooth counting samples: a lost or doubled one shows as a jump.
        SoundFeed feed{[](double t) {
            return qint16(std::llround(t * 48000) % 20000);
        }};
        feed.pauseFromMs = 1500;
        feed.pauseToMs = 2000;
        QVERIFY(feed.record(options, 3000));

        QByteArray joined;
        for (int file = 1; file <= 3; ++file) {
            const QString name = options.segmentFileName(file);
            const SoundProbe sound = probeSound(name);
            // Each file holds the sound of its own frames, to the sample.
            QCOMPARE_LE(std::abs(sound.mono.size() / 2 - probeVideo(name).frames * 1600), 1);
            joined += sound.mono;
        }
        qsizetype firstJump = 1;
        while (firstJump < joined.size() / 2 &&
               (sampleAt(joined, firstJump) - sampleAt(joined, firstJump - 1) + 20000) % 20000 == 1)
            ++firstJump;
        // Whole across the segment's end at 1 s, up to the pause; the paused half second is
        // left out of the sound as of the picture.
        QCOMPARE_GE(firstJump, 48000 * 13 / 10);
        QCOMPARE_LT(longestQuiet(joined, 1), 48000 / 10);
    }

    void killedAviKeepsItsSoundUpToTheLastSecond()
    {
        // The file as a killed program leaves it: copied before it is finished, 31 frames in,
        // a checkpoint after 30.
        AviMuxer muxer;
        QVERIFY(muxer.open(path("open.avi"), QSize(16, 16), {30, 1}, {48000, 1}).isEmpty());
        const QByteArray jpeg = jpegOf(makeFrame(QSize(16, 16), 1));
        for (int frame = 0; frame < 31; ++frame)
            QVERIFY(muxer.writeFrame(jpeg).isEmpty() &&
                    muxer.writeAudio(QByteArray(1600 * 2, '\1')).isEmpty());
        QVERIFY(QFile::copy(path("open.avi"), path("killed.avi")));
        QVERIFY(muxer.finish().isEmpty());
        // Each frame's sound follows it: the checkpoint at frame 30 has that of 29.
        QCOMPARE(probeSound(path("killed.avi")).declaredSamples, 29 * 1600);
        QCOMPARE(probeSound(path("open.avi")).declaredSamples, 31 * 1600);
    }
};

QTEST_GUILESS_MAIN(TestVideoWriterThread)
#include "tst_videowriterthread.moc"
