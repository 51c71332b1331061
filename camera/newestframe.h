#pragma once

#include <QByteArray>
#include <QImage>
#include <QMutex>
#include <QSize>

#include <functional>

// The newest frame of a stream at the size of its format, for latestFrame() and snapshots: the
// picture itself when it was decoded at full size, otherwise the camera's JPEG of it, decoded
// only when somebody asks. Any thread.
class NewestFrame
{
public:
    // Decodes a JPEG of the stream at full size; a null image when it cannot.
    using Decode = std::function<QImage(const QByteArray &jpeg, int stream, QSize size)>;

    explicit NewestFrame(Decode decode);

    // A capture thread: frame was decoded from jpeg (empty for formats without) of a stream whose
    // frames are size large; a smaller frame keeps only the JPEG.
    void store(const QImage &frame, const QByteArray &jpeg, int stream, QSize size);
    // The newest frame at full size (shared, never modified); null when there is none.
    QImage fullSize();
    // No capture threads run, the stream is still open: a JPEG waiting is decoded now, since only
    // its stream can decode it.
    void keep();
    // No capture threads run: nothing of an earlier run is handed out as the newest frame.
    void forget();

private:
    const Decode decode;
    QMutex mutex;    // guards picture, jpeg, jpegStream and jpegSize
    QImage picture;  // null while only the JPEG is at hand
    QByteArray jpeg; // when only a smaller picture was decoded
    int jpegStream = -1;
    QSize jpegSize;
};
