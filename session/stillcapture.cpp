#include "stillcapture.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

StillCapture::StillCapture(QObject *parent)
    : QObject(parent)
{
    pool.setMaxThreadCount(1);
    connect(this, &StillCapture::writtenOnWorker, this, &StillCapture::finish,
            Qt::QueuedConnection);
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
        QString error;
        const bool written = writeImage(picture, path, &error);
        // Delivered on the GUI thread; this object outlives the task, its destructor waits.
        emit writtenOnWorker(path, picture.size(), written ? QString() : error);
    });
}

void StillCapture::waitForDone()
{
    pool.waitForDone();
}

bool StillCapture::writeImage(const QImage &picture, const QString &path, QString *error)
{
    const auto failed = [error](const QString &cause) {
        if (error)
            *error = cause;
        return false;
    };
    if (picture.isNull())
        return failed(tr("there is no picture"));
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return failed(tr("the folder cannot be created"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    // The format follows the suffix, as the save dialog offers PNG and JPEG.
    QImageWriter writer(&file, QFileInfo(path).suffix().toLatin1());
    // Each step is checked on its own. For a small picture the PNG writer reports success although
    // the file's write failed, and QSaveFile::commit() then puts the empty file in place: the
    // file's own error decides. Nor does commit() look at the sync to the disk.
    const bool encoded = writer.write(picture);
    if (file.error() != QFileDevice::NoError || !encoded) {
        const QString cause =
            file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
        file.cancelWriting();
        return failed(cause);
    }
    if (!file.flush() || ::fsync(file.handle()) != 0) {
        const QString cause = file.error() != QFileDevice::NoError
                                  ? file.errorString()
                                  : QString::fromLocal8Bit(std::strerror(errno));
        file.cancelWriting();
        return failed(cause);
    }
    if (!file.commit())
        return failed(file.errorString());
    return true;
}

void StillCapture::finish(const QString &path, QSize pictureSize, const QString &error)
{
    pending.remove(path);
    if (error.isEmpty())
        emit saved(path, pictureSize);
    else
        emit failed(path, error);
}
