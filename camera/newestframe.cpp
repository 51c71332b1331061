#include "newestframe.h"

#include <QMutexLocker>

NewestFrame::NewestFrame(Decode decode)
    : decode(std::move(decode))
{}

void NewestFrame::store(const QImage &frame, const QByteArray &cameraJpeg, int stream, QSize size)
{
    const bool full = frame.size() == size;
    QMutexLocker locker(&mutex);
    picture = full ? frame : QImage();
    jpeg = full ? QByteArray() : cameraJpeg;
    jpegStream = stream;
    jpegSize = size;
}

QImage NewestFrame::fullSize()
{
    QByteArray waiting;
    int stream = -1;
    QSize size;
    {
        QMutexLocker locker(&mutex);
        if (!picture.isNull() || jpeg.isEmpty())
            return picture;
        waiting = jpeg;
        stream = jpegStream;
        size = jpegSize;
    }
    // Outside the lock: the capture threads never wait for this decode.
    const QImage frame = decode(waiting, stream, size);
    QMutexLocker locker(&mutex);
    // Kept for the next call unless a newer frame came in meanwhile.
    if (picture.isNull() && jpeg.constData() == waiting.constData())
        picture = frame;
    return frame;
}

void NewestFrame::keep()
{
    const QImage last = fullSize();
    QMutexLocker locker(&mutex);
    picture = last;
    jpeg.clear();
}

void NewestFrame::forget()
{
    QMutexLocker locker(&mutex);
    picture = QImage();
    jpeg.clear();
}
