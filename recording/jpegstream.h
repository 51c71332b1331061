#pragma once

#include <QByteArray>
#include <QSize>

// What the writer reads from and mends in a JPEG stream before it goes into a file. Any thread.
class JpegStream
{
public:
    // The picture size the stream declares in its frame header; invalid when the bytes are not
    // a JPEG stream.
    static QSize declaredSize(const QByteArray &jpeg);
    // Many USB cameras send Motion-JPEG without Huffman tables (the AVI1 format), coded with the
    // tables of the JPEG standard's annex K that decoders are expected to assume. FFmpeg and
    // libjpeg-turbo do, other players refuse such frames: when a stream has no DHT segment
    // before its scan, this returns it with the standard tables inserted after SOI, otherwise
    // the stream itself (no copy).
    static QByteArray withHuffmanTables(const QByteArray &jpeg);
};
