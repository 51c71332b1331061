#pragma once

#include <QFile>
#include <QString>

// Keeps an AVI file that libavformat is still writing readable should the program die before
// the trailer (a hard kill, a power cut of the session): libavformat fills in the header's
// sizes and frame counts only at the end, and until then the RIFF and movi sizes read as
// 0xFFFFFFFF. Each update() writes them as they would be if the file ended at the last complete
// frame, exactly as libavformat's trailer would, so that a player finds a well-formed file of
// that many frames and reads it through the movi list without an index. Frames written after
// the last update lie past the end of the RIFF, where players ignore them.
//
// The file is opened a second time for these few in-place writes; libavformat's own writes
// never overlap them except at the end of a RIFF and in the trailer, where it writes the same
// fields with final values. Not thread-safe: the muxer's thread only.
class AviCheckpoint
{
public:
    // After the header has been written and flushed: finds the fields to keep up to date.
    // Returns the reason when the file cannot be opened or its header is not understood.
    QString open(const QString &path);
    bool isOpen() const { return file.isOpen(); }
    // After a frame has been written and flushed: end is the file's size, frames the frames
    // and samples the sample frames of sound written so far.
    QString update(qint64 end, qint64 frames, qint64 samples);
    // After a successful trailer, which wrote the index: the header says so again.
    QString markIndexed();
    void close() { file.close(); }

private:
    struct Chunk
    {
        quint32 tag = 0;
        quint32 size = 0;
        quint32 type = 0; // the list type of a RIFF or LIST chunk
    };

    bool readChunk(qint64 at, Chunk *chunk);
    bool findHeaderFields(qint64 from, qint64 to);
    bool write32(qint64 at, quint32 value);

    QFile file;
    // Offsets in the file of the fields update() writes; 0 for one the header lacks.
    qint64 avihFlagsAt = 0;
    qint64 avihFramesAt = 0;
    qint64 strhLengthAt = 0;
    qint64 soundLengthAt = 0; // of the sound stream's header
    qint64 odmlTagAt = 0;     // the JUNK chunk libavformat turns into the OpenDML header list
    qint64 dmlhFramesAt = 0;
    qint64 firstMoviAt = 0;
    quint32 avihFlags = 0;
};
