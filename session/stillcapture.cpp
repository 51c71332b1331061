#include "stillcapture.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

StillCapture::StillCapture(QObject *parent)
    : QObject(parent)
{
    pool.setMaxThreadCount(1);
}

StillCapture::~StillCapture()
{
    pool.waitForDone();
}

void StillCapture::save(const QImage &cameraFrame, const Orientation &orientation,
                        const QString &path)
{
    save([cameraFrame] { return cameraFrame; }, orientation, path);
}

void StillCapture::save(std::function<QImage()> frameSource, const Orientation &orientation,
                        const QString &path)
{
    pending.insert(path);
    pool.start([this, frameSource = std::move(frameSource), orientation, path] {
        const QImage picture = orientation.apply(frameSource());
        const bool written = writeImage(picture, path);
        // Delivered on the GUI thread; this object outlives the task, its destructor waits.
        QMetaObject::invokeMethod(
            this, [this, path, size = picture.size(), written] { finish(path, size, written); },
            Qt::QueuedConnection);
    });
}

void StillCapture::waitForDone()
{
    pool.waitForDone();
}

bool StillCapture::writeImage(const QImage &picture, const QString &path)
{
    if (picture.isNull() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The format follows the suffix, as the save dialog offers PNG and JPEG.
    QImageWriter writer(&file, QFileInfo(path).suffix().toLatin1());
    if (!writer.write(picture)) {
        file.cancelWriting();
        return false;
    }
    // commit() fails when any write failed (a full disk) and then leaves the target untouched.
    return file.commit();
}

void StillCapture::finish(const QString &path, QSize pictureSize, bool written)
{
    pending.remove(path);
    if (written)
        emit saved(path, pictureSize);
    else
        emit failed(path);
}
