#include "recordingfiles.h"

#include "audiotrack.h"
#include "avimuxer.h"
#include "h264encoder.h"
#include "moviefile.h"

#include <QFileInfo>
#include <QStorageInfo>

#include <cmath>

namespace {

// Keyframes this far apart in the file: a player seeks to within this, and a killed file loses
// at most this much.
constexpr double keyframeSeconds = 2.0;

} // namespace

RecordingFiles::RecordingFiles(const RecordingOptions &options, AudioTrack *sound)
    : options(options)
    , sound(options.hasSound() ? sound : nullptr)
    , slotsPerSegment(
          options.segmentSeconds > 0
              ? std::max<qint64>(1, std::llround(options.segmentSeconds * options.slotsPerSecond()))
              : 0)
    , slotsPerCheck(std::max<qint64>(1, std::llround(options.slotsPerSecond())))
{}

RecordingFiles::~RecordingFiles()
{
    finish();
}

qint64 RecordingFiles::bytesWritten() const
{
    qint64 current = 0;
    if (avi)
        current = avi->size();
    else if (movie)
        current = movie->size();
    return bytesInFinishedFiles + current;
}

bool RecordingFiles::roomLeft()
{
    if (options.minFreeBytes <= 0)
        return true;
    QStorageInfo storage(QFileInfo(options.fileName).absolutePath());
    lastFree = storage.isValid() ? storage.bytesAvailable() : -1;
    // A target whose free space cannot be read is not stopped for it.
    return lastFree < 0 || lastFree >= options.minFreeBytes;
}

QString RecordingFiles::open()
{
    if (!roomLeft()) {
        limit = RecordingLimit::FreeSpace;
        return QString();
    }
    const QString name = options.segmentFileName(int(names.size()) + 1);
    const FrameRateFraction rate = AviMuxer::exactRate(options.fileFps());
    QString error;
    const AudioFormat audio = options.hasSound() ? options.audio : AudioFormat();
    if (options.codec == RecordingOptions::Codec::MotionJpeg) {
        avi = std::make_unique<AviMuxer>();
        error = avi->open(name, options.frameSize, rate, audio);
    } else {
        encoder = std::make_unique<H264Encoder>();
        H264Encoder::Settings settings;
        settings.size = options.frameSize;
        settings.rate = rate;
        settings.keyframeInterval =
            std::max(1, int(std::lround(keyframeSeconds * options.fileFps())));
        error = encoder->open(settings);
        if (error.isEmpty()) {
            movie = std::make_unique<MovieFile>();
            error = movie->open(name, options.frameSize, rate, encoder->extradata(),
                                {rate.denominator, rate.numerator}, audio, options.audioCodec);
        }
    }
    if (!error.isEmpty())
        return error;
    names.append(name);
    slotsInFile = 0;
    return QString();
}

QString RecordingFiles::writeSlot(const QByteArray &picture)
{
    if (limit != RecordingLimit::None)
        return QString();
    if (slotsPerSegment > 0 && slotsInFile == slotsPerSegment) {
        QString error = finish();
        if (error.isEmpty())
            error = open();
        if (!error.isEmpty() || limit != RecordingLimit::None)
            return error;
    }
    QString error = writePicture(picture);
    if (!error.isEmpty())
        return error;
    ++slotsInFile;
    ++slotsWritten;
    if (error = writeSound(false); !error.isEmpty())
        return error;
    if (options.maxBytes > 0 && bytesWritten() + picture.size() > options.maxBytes)
        limit = RecordingLimit::Size;
    else if (slotsWritten % slotsPerCheck == 0 && !roomLeft())
        limit = RecordingLimit::FreeSpace;
    return QString();
}

QString RecordingFiles::writeSound(bool whole)
{
    if (!sound || (!avi && !movie))
        return QString();
    const qint64 end =
        std::llround(double(slotsWritten) * options.audio.sampleRate / options.fileFps());
    if (whole)
        sound->waitFor(end);
    const QByteArray samples =
        whole ? sound->takeAll(end)
              : sound->take(end, std::chrono::steady_clock::now().time_since_epoch().count());
    const QString error = avi ? avi->writeAudio(samples) : movie->writeAudio(samples);
    return error.isEmpty() ? QString() : QStringLiteral("sound: %1").arg(error);
}

QString RecordingFiles::writePicture(const QByteArray &picture)
{
    if (avi)
        return avi->writeFrame(picture);
    if (!encoder || !movie)
        return QStringLiteral("No file is open");
    std::vector<H264Encoder::Packet> packets;
    QString error = encoder->encode(picture, slotsInFile, &packets);
    for (const H264Encoder::Packet &packet : packets) {
        if (!error.isEmpty())
            break;
        error = movie->writePacket(packet.data, packet.pts, packet.dts, 1, packet.keyframe);
    }
    return error;
}

QString RecordingFiles::finish()
{
    // A file ends with all of its sound, before the next one begins.
    QString error = writeSound(true);
    if (avi) {
        const QString finishError = avi->finish();
        if (error.isEmpty())
            error = finishError;
        bytesInFinishedFiles += avi->size();
        avi.reset();
    }
    if (movie) {
        std::vector<H264Encoder::Packet> packets;
        if (const QString flushError = encoder->flush(&packets); error.isEmpty())
            error = flushError;
        for (const H264Encoder::Packet &packet : packets) {
            if (!error.isEmpty())
                break;
            error = movie->writePacket(packet.data, packet.pts, packet.dts, 1, packet.keyframe);
        }
        const qint64 size = movie->size();
        const QString finishError = movie->finish();
        if (error.isEmpty())
            error = finishError;
        bytesInFinishedFiles += size;
        movie.reset();
    }
    encoder.reset();
    return error;
}
