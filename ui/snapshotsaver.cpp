#include "snapshotsaver.h"

#include "filenaming.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

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
        const bool saved = writeImage(picture, path);
        // Delivered on the GUI thread; this object outlives the task, its destructor waits.
        QMetaObject::invokeMethod(
            this, [this, path, size = picture.size(), saved] { finish(path, size, saved); },
            Qt::QueuedConnection);
    });
}

void SnapshotSaver::waitForDone()
{
    pool.waitForDone();
}

bool SnapshotSaver::writeImage(const QImage &picture, const QString &path)
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

void SnapshotSaver::finish(const QString &path, QSize pictureSize, bool saved)
{
    pendingPaths.remove(path);
    if (saved) {
        emit notificationRequested(tr("Snapshot saved (%1x%2)\n%3")
                                       .arg(pictureSize.width())
                                       .arg(pictureSize.height())
                                       .arg(QFileInfo(path).fileName()),
                                   true, QFileInfo(path).absolutePath());
    } else {
        emit notificationRequested(tr("Failed to save snapshot"), false);
    }
}
