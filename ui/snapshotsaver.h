#pragma once

#include "appsettings.h"

#include <QImage>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>
#include <QThreadPool>

// Saves snapshots off the GUI thread: the camera frame is oriented, encoded and written on a
// worker, through a temporary file that replaces the target only once every byte is on the
// disk, and the outcome comes back as a notice. Called on the GUI thread.
class SnapshotSaver : public QObject
{
    Q_OBJECT

public:
    explicit SnapshotSaver(QObject *parent = nullptr);
    // Waits for the snapshots still being written: none is lost when the window closes.
    ~SnapshotSaver() override;

    // The file for a snapshot taken now: a generated name free of any existing file and of every
    // snapshot still being written, or the one chosen in the save dialog (empty when cancelled).
    QString choosePath(QWidget *dialogParent, const AppSettings &settings,
                       const QSize &formatSize) const;
    // A snapshot of the camera's newest frame, to the file choosePath() gives.
    void take(QWidget *dialogParent, CameraBase *camera, const AppSettings &settings,
              const Orientation &orientation);
    // Starts saving; notificationRequested() reports the outcome.
    void save(const QImage &cameraFrame, const Orientation &orientation, const QString &path);
    // Blocks until every snapshot started so far is written; for tests and shutdown.
    void waitForDone();

    // Any thread: writes picture to path as a whole or not at all. On any failure returns false
    // and, when error is given, puts the cause there ("No space left on device"); no file is left.
    static bool writeImage(const QImage &picture, const QString &path, QString *error = nullptr);

signals:
    // folder: where a saved file went, for the notice to show and open; empty otherwise.
    void notificationRequested(const QString &message, bool success, const QString &folder = {});

private:
    // error: empty when the snapshot was saved.
    void finish(const QString &path, QSize pictureSize, const QString &error);

    QThreadPool pool;
    QSet<QString> pendingPaths; // GUI thread
};
