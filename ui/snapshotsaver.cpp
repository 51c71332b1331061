#include "snapshotsaver.h"

#include "filenaming.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

SnapshotSaver::SnapshotSaver(QObject *parent)
    : QObject(parent)
{
    pool.setMaxThreadCount(1);
}

SnapshotSaver::~SnapshotSaver()
{
    pool.waitForDone();
}

QString SnapshotSaver::choosePath(QWidget *dialogParent, const AppSettings &settings,
                                  const QSize &formatSize) const
{
    const QString generated = FileNaming::snapshotPath(settings.snapshotDirectory,
                                                       QDateTime::currentDateTime(), formatSize);
    if (!settings.autoSaveWithDefaultName) {
        QDir().mkpath(settings.snapshotDirectory);
        return QFileDialog::getSaveFileName(dialogParent, tr("Save Snapshot"), generated,
                                            tr("Images (*.png *.jpg *.jpeg)"));
    }
    // Two snapshots in one second would both find the name free while neither is written yet.
    return FileNaming::firstFreePath(generated, pendingPaths);
}

void SnapshotSaver::take(QWidget *dialogParent, CameraBase *camera, const AppSettings &settings,
                         const Orientation &orientation)
{
    const QImage frame = camera->latestFrame();
    if (frame.isNull()) {
        emit notificationRequested(tr("No camera frame available"), false);
        return;
    }
    const CameraBase::CameraFormat format = camera->currentFormat();
    const QString path = choosePath(dialogParent, settings, QSize(format.width, format.height));
    if (!path.isEmpty())
        save(frame, orientation, path);
}

void SnapshotSaver::save(const QImage &cameraFrame, const Orientation &orientation,
                         const QString &path)
{
    pendingPaths.insert(path);
    pool.start([this, cameraFrame, orientation, path] {
        const QImage picture = orientation.apply(cameraFrame);
        QString error;
        const bool saved = writeImage(picture, path, &error);
        // Delivered on the GUI thread; this object outlives the task, its destructor waits.
        QMetaObject::invokeMethod(
            this,
            [this, path, size = picture.size(), saved, error] {
                finish(path, size, saved ? QString() : error);
            },
            Qt::QueuedConnection);
    });
}

void SnapshotSaver::waitForDone()
{
    pool.waitForDone();
}

bool SnapshotSaver::writeImage(const QImage &picture, const QString &path, QString *error)
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

void SnapshotSaver::finish(const QString &path, QSize pictureSize, const QString &error)
{
    pendingPaths.remove(path);
    if (error.isEmpty()) {
        emit notificationRequested(tr("Snapshot saved (%1x%2)\n%3")
                                       .arg(pictureSize.width())
                                       .arg(pictureSize.height())
                                       .arg(QFileInfo(path).fileName()),
                                   true, QFileInfo(path).absolutePath());
    } else {
        // The cause goes beneath the fixed headline, as the file name does beneath success.
        emit notificationRequested(tr("Failed to save snapshot") + QLatin1Char('\n') + error,
                                   false);
    }
}
