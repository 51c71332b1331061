#include "avicheckpoint.h"

#include <QtEndian>

namespace {

constexpr quint32 fourcc(const char (&text)[5])
{
    return quint32(uchar(text[0])) | quint32(uchar(text[1])) << 8 | quint32(uchar(text[2])) << 16 |
           quint32(uchar(text[3])) << 24;
}

constexpr quint32 hasIndexFlag = 0x10; // AVIF_HASINDEX: an idx1 chunk follows the movi list

qint64 afterChunk(qint64 at, quint32 size)
{
    // Chunks are padded to an even length.
    return at + 8 + qint64(size) + (size & 1);
}

} // namespace

QString AviCheckpoint::open(const QString &path)
{
    file.setFileName(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return file.errorString();
    if (file.isSequential()) {
        file.close();
        return QStringLiteral("not a seekable file");
    }
    Chunk riff;
    if (!readChunk(0, &riff) || riff.tag != fourcc("RIFF") || riff.type != fourcc("AVI ") ||
        !findHeaderFields(12, file.size()) || avihFlagsAt == 0 || avihFramesAt == 0 ||
        strhLengthAt == 0 || firstMoviAt == 0) {
        file.close();
        return QStringLiteral("unexpected AVI header layout");
    }
    return QString();
}

bool AviCheckpoint::findHeaderFields(qint64 from, qint64 to)
{
    Chunk chunk;
    for (qint64 at = from; at + 8 <= to && readChunk(at, &chunk); at = afterChunk(at, chunk.size)) {
        const qint64 data = at + 8;
        if (chunk.tag == fourcc("avih")) {
            avihFlagsAt = data + 12;
            avihFramesAt = data + 16;
            QByteArray flags;
            if (!file.seek(avihFlagsAt) || (flags = file.read(4)).size() != 4)
                return false;
            avihFlags = qFromLittleEndian<quint32>(flags.constData());
        } else if (chunk.tag == fourcc("strh") && strhLengthAt == 0 &&
                   chunk.type == fourcc("vids")) {
            strhLengthAt =
                data + 32; // dwLength, after type, handler, flags, ..., scale, rate, start
        } else if (chunk.tag == fourcc("strh") && soundLengthAt == 0 &&
                   chunk.type == fourcc("auds")) {
            soundLengthAt = data + 32;
        } else if (chunk.tag == fourcc("LIST") &&
                   (chunk.type == fourcc("hdrl") || chunk.type == fourcc("strl"))) {
            if (!findHeaderFields(data + 4, std::min(to, afterChunk(at, chunk.size))))
                return false;
        } else if (chunk.tag == fourcc("strh") && soundLengthAt == 0 &&
                   chunk.type == fourcc("auds")) {
            soundLengthAt = data + 32;
        } else if (chunk.tag == fourcc("LIST") && chunk.type == fourcc("movi")) {
            firstMoviAt = at;
            return true;
        } else if (chunk.tag == fourcc("JUNK") && chunk.type == fourcc("odml")) {
            odmlTagAt = at;
            dmlhFramesAt = data + 12; // after "odml", "dmlh" and its size
        }
    }
    return true;
}

QString AviCheckpoint::update(qint64 end, qint64 frames, qint64 samples)
{
    if (!file.isOpen())
        return QString();
    // libavformat starts a new RIFF (AVIX) each gigabyte and finishes the one before, so the
    // open one is the last RIFF that an earlier one's final size leads to.
    qint64 riffAt = 0;
    bool firstRiff = true;
    Chunk chunk;
    while (readChunk(riffAt, &chunk)) {
        const qint64 next = afterChunk(riffAt, chunk.size);
        Chunk following;
        if (next + 12 > end || !readChunk(next, &following) || following.tag != fourcc("RIFF"))
            break;
        riffAt = next;
        firstRiff = false;
    }
    qint64 moviAt = firstRiff ? firstMoviAt : riffAt + 12;
    if (!readChunk(moviAt, &chunk) || chunk.tag != fourcc("LIST") || chunk.type != fourcc("movi"))
        return QStringLiteral("unexpected AVI layout at %1").arg(moviAt);

    // The RIFF grows before the list inside it: should the program stop between the two writes,
    // the list still lies within the RIFF.
    bool written = write32(riffAt + 4, quint32(end - riffAt - 8)) &&
                   write32(moviAt + 4, quint32(end - moviAt - 8)) &&
                   write32(strhLengthAt, quint32(frames)) &&
                   (soundLengthAt == 0 || write32(soundLengthAt, quint32(samples)));
    if (firstRiff) {
        // No idx1 until the trailer: the header must not promise one.
        written = written && write32(avihFramesAt, quint32(frames)) &&
                  write32(avihFlagsAt, avihFlags & ~hasIndexFlag);
    } else if (odmlTagAt != 0) {
        // The first RIFF is finished with its idx1; past it, OpenDML's count of all frames.
        written = written && write32(avihFlagsAt, avihFlags) &&
                  write32(odmlTagAt, fourcc("LIST")) && write32(dmlhFramesAt, quint32(frames));
    }
    return written ? QString() : file.errorString();
}

QString AviCheckpoint::markIndexed()
{
    if (!file.isOpen() || write32(avihFlagsAt, avihFlags | hasIndexFlag))
        return QString();
    return file.errorString();
}

bool AviCheckpoint::readChunk(qint64 at, Chunk *chunk)
{
    if (!file.seek(at))
        return false;
    const QByteArray bytes = file.read(12);
    if (bytes.size() < 8)
        return false;
    chunk->tag = qFromLittleEndian<quint32>(bytes.constData());
    chunk->size = qFromLittleEndian<quint32>(bytes.constData() + 4);
    chunk->type = bytes.size() == 12 ? qFromLittleEndian<quint32>(bytes.constData() + 8) : 0;
    return true;
}

bool AviCheckpoint::write32(qint64 at, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    return file.seek(at) && file.write(bytes, 4) == 4;
}
