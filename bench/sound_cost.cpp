// Sound benchmark: the CPU a recording's sound costs on top of its picture.
//
// 1. Encoding alone: CPU seconds per second of 48 kHz stereo sound for AAC and Opus, and for
//    PCM written into an AVI file between frames, on the thread that does it in a recording.
// 2. A paced 1920x1080 recording at 30 fps fed by a producer at 30 fps with 20 ms chunks of
//    sound: the process's CPU per second of recording without sound, with PCM (AVI) and with
//    AAC and Opus (Matroska, H.264 picture).
//
// Usage: ostrel_bench_sound [seconds of sound encoded, default 60] [paced seconds, default 10]

#include "audioencoder.h"
#include "avimuxer.h"
#include "benchsupport.h"
#include "videowriterthread.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

namespace {

QTextStream out(stdout);
const AudioFormat stereo{48000, 2};

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// 20 ms of a 440 Hz tone with a little noise, from sample frame first on.
QByteArray chunkOfSound(qint64 first)
{
    QByteArray samples(960 * stereo.bytesPerFrame(), '\0');
    auto *data = reinterpret_cast<qint16 *>(samples.data());
    quint32 noise = quint32(first);
    for (int i = 0; i < 960; ++i) {
        noise = noise * 1664525u + 1013904223u;
        const double t = double(first + i) / stereo.sampleRate;
        data[2 * i] = data[2 * i + 1] =
            qint16(8000 * std::sin(2 * M_PI * 440 * t) + int(noise >> 22) - 512);
    }
    return samples;
}

void encodingAlone(int seconds, const QString &dir)
{
    for (const auto codec :
         {RecordingOptions::AudioCodec::Aac, RecordingOptions::AudioCodec::Opus}) {
        AudioEncoder encoder;
        if (!encoder.open(stereo, codec).isEmpty())
            continue;
        std::vector<AudioEncoder::Packet> packets;
        const double start = threadCpuSeconds();
        for (qint64 chunk = 0; chunk < seconds * 50; ++chunk)
            encoder.encode(chunkOfSound(chunk * 960), &packets);
        encoder.flush(&packets);
        out << (codec == RecordingOptions::AudioCodec::Aac ? "AAC " : "Opus") << " encoding: "
            << QString::number((threadCpuSeconds() - start) / seconds * 100, 'f', 3)
            << " % of one core\n";
    }
    AviMuxer avi;
    avi.open(dir + "/pcm.avi", QSize(16, 16), {30, 1}, stereo);
    const QByteArray frame(600, '\x55');
    const double start = threadCpuSeconds();
    for (qint64 chunk = 0; chunk < seconds * 50; ++chunk) {
        if (chunk % 5 == 0)
            avi.writeFrame(frame);
        avi.writeAudio(chunkOfSound(chunk * 960));
    }
    const double withSound = threadCpuSeconds() - start;
    avi.finish();
    out << "PCM into AVI (with 16x16 frames): "
        << QString::number(withSound / seconds * 100, 'f', 3) << " % of one core\n";
}

void pacedRecording(int seconds, const QString &file, const AudioFormat &sound,
                    RecordingOptions::AudioCodec codec)
{
    RecordingOptions options;
    options.fileName = file;
    options.codec =
        file.endsWith("avi") ? RecordingOptions::Codec::MotionJpeg : RecordingOptions::Codec::H264;
    options.frameSize = QSize(1920, 1080);
    options.audio = sound;
    options.audioCodec = codec;
    QImage picture(options.frameSize, QImage::Format_RGB888);
    picture.fill(QColor(90, 120, 150));
    VideoWriterThread writer;
    if (!writer.startWriting(options))
        return;
    const double cpuStart = BenchSupport::processCpuSeconds();
    writer.start();
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    qint64 frame = 0, chunk = 0;
    while (Clock::now() - start < std::chrono::seconds(seconds)) {
        const qint64 now = Clock::now().time_since_epoch().count();
        const qint64 startNs = start.time_since_epoch().count();
        for (; startNs + frame * 1000000000 / 30 <= now; ++frame)
            writer.addFrame(picture, startNs + frame * 1000000000 / 30);
        for (; startNs + (chunk + 1) * 20000000 <= now; ++chunk)
            writer.addAudio({startNs + chunk * 20000000, chunkOfSound(chunk * 960)});
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    writer.stopWriting();
    const double cpu = BenchSupport::processCpuSeconds() - cpuStart;
    out << file.section('/', -1) << (sound.isValid() ? " with sound" : " without sound") << ": "
        << QString::number(cpu / seconds * 100, 'f', 1) << " % of one core, "
        << writer.statistics().framesWritten << " frames\n";
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int encodeSeconds = BenchSupport::positiveArgument(argc, argv, 1, 60);
    const int pacedSeconds = BenchSupport::positiveArgument(argc, argv, 2, 10);
    QTemporaryDir dir;
    encodingAlone(encodeSeconds, dir.path());
    out.flush();
    using Codec = RecordingOptions::AudioCodec;
    pacedRecording(pacedSeconds, dir.filePath("silent.avi"), {}, Codec::Aac);
    pacedRecording(pacedSeconds, dir.filePath("pcm.avi"), stereo, Codec::Aac);
    pacedRecording(pacedSeconds, dir.filePath("silent.mkv"), {}, Codec::Aac);
    pacedRecording(pacedSeconds, dir.filePath("aac.mkv"), stereo, Codec::Aac);
    pacedRecording(pacedSeconds, dir.filePath("opus.mkv"), stereo, Codec::Opus);
    return 0;
}
