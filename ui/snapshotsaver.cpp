#include "snapshotsaver.h"

#include "camerabase.h"
#include "capturesession.h"
#include "filenaming.h"
#include "stillcapture.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

SnapshotSaver::SnapshotSaver(CaptureSession *session, QObject *parent)
    : QObject(parent)
    , session(session)
{
    connect(session->stills(), &StillCapture::saved, this,
            [this](const QString &path, QSize pictureSize) {
                emit notificationRequested(tr("Snapshot saved (%1x%2)\n%3")
                                               .arg(pictureSize.width())
                                               .arg(pictureSize.height())
                                               .arg(QFileInfo(path).fileName()),
                                           true, QFileInfo(path).absolutePath());
            });
    // The cause goes beneath the fixed headline, as the file name does beneath success.
    connect(session->stills(), &StillCapture::failed, this,
            [this](const QString &, const QString &error) {
                emit notificationRequested(
                    tr("Failed to save snapshot") + QLatin1Char('\n') + error, false);
            });
}

QString SnapshotSaver::choosePath(QWidget *dialogParent, const AppSettings &settings,
                                  const QSize &formatSize) const
{
    const QString generated = FileNaming::snapshotPath(settings.snapshotDirectory,
                                                       QDateTime::currentDateTime(), formatSize);
    if (!settings.autoSaveWithDefaultName) {
        QDir().mkpath(settings.snapshotDirectory);
        return FileNaming::withSuffix(
            QFileDialog::getSaveFileName(dialogParent, tr("Save Snapshot"), generated,
                                         tr("Images (*.png *.jpg *.jpeg)")),
            QStringLiteral("png"),
            {QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg")});
    }
    // Two snapshots in one second would both find the name free while neither is written yet.
    return FileNaming::firstFreePath(generated, session->stills()->pendingPaths());
}

void SnapshotSaver::take(QWidget *dialogParent, const AppSettings &settings)
{
    const CameraBase::CameraFormat format = session->camera()->currentFormat();
    const QString path = choosePath(dialogParent, settings, QSize(format.width, format.height));
    // The camera may have been lost while the dialog was open.
    if (!path.isEmpty() && !session->takeSnapshot(path))
        emit notificationRequested(tr("No camera frame available"), false);
}
