#include "framehandover.h"

#include <QMutexLocker>

#include <utility>

FrameHandOver::FrameHandOver(QObject *parent)
    : QObject(parent)
{}

void FrameHandOver::postFrame(const QImage &frame)
{
    bool wasEmpty = false;
    {
        QMutexLocker locker(&mutex);
        wasEmpty = pendingFrame.isNull();
        pendingFrame = frame;
    }
    // A frame replacing one that still waits rides on the notification already under way.
    if (wasEmpty)
        emit frameAvailable();
}

void FrameHandOver::postFps(double fps)
{
    bool wasEmpty = false;
    {
        QMutexLocker locker(&mutex);
        wasEmpty = !fpsPending;
        pendingFps = fps;
        fpsPending = true;
    }
    if (wasEmpty)
        emit fpsAvailable();
}

QImage FrameHandOver::takeFrame()
{
    QMutexLocker locker(&mutex);
    return std::exchange(pendingFrame, QImage());
}

double FrameHandOver::takeFps()
{
    QMutexLocker locker(&mutex);
    fpsPending = false;
    return pendingFps;
}

void FrameHandOver::clear()
{
    QMutexLocker locker(&mutex);
    pendingFrame = QImage();
    fpsPending = false;
}
