#include "audiosource.h"

#include <QtEndian>

#include <algorithm>
#include <cstdlib>

AudioSource::AudioSource(const AudioFormat &format, QObject *parent)
    : QObject(parent)
    , sampleFormat(format)
{}

void AudioSource::setChunkCallback(ChunkCallback newCallback)
{
    std::lock_guard<std::mutex> lock(callbackMutex);
    callback = std::move(newCallback);
}

double AudioSource::takePeak()
{
    return peak.exchange(0) / 32768.0;
}

void AudioSource::deliver(const AudioChunk &chunk)
{
    int loudest = 0;
    const auto *bytes = reinterpret_cast<const uchar *>(chunk.samples.constData());
    for (qsizetype at = 0; at + 1 < chunk.samples.size(); at += 2)
        loudest = std::max(loudest, std::abs(int(qFromLittleEndian<qint16>(bytes + at))));
    int previous = peak.load();
    while (loudest > previous && !peak.compare_exchange_weak(previous, loudest)) {
    }
    std::lock_guard<std::mutex> lock(callbackMutex);
    if (callback)
        callback(chunk);
}
