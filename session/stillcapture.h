#pragma once

#include "orientation.h"

#include <QImage>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <functional>

// Saves pictures off the GUI thread: the camera frame is oriented, encoded and written on a
// worker, through a temporary file that replaces the target only once every byte is on the disk.
// Called on the GUI thread; the outcome comes back there.
class StillCapture : public QObject
{
    Q_OBJECT

public:
    explicit StillCapture(QObject *parent = nullptr);
    // Waits for the pictures still being written: none is lost when the program ends.
    ~StillCapture() override;

    // Starts saving; saved() or failed() reports the outcome.
    void save(const QImage &cameraFrame, const Orientation &orientation, const QString &path);
    // The same with the picture taken by frameSource on the worker, so that fetching (and
    // decoding) it costs the GUI thread nothing; a null picture fails.
    void save(std::function<QImage()> frameSource, const Orientation &orientation,
              const QString &path);
    // Paths still being written, so that a generated name does not pick one of them twice.
    QSet<QString> pendingPaths() const { return pending; }
    // Blocks until every picture started so far is written; for tests and shutdown.
    void waitForDone();

    // Any thread: writes picture to path as a whole or not at all. On any failure returns false
    // and, when error is given, puts the cause there ("No space left on device"); no file is left.
    static bool writeImage(const QImage &picture, const QString &path, QString *error = nullptr);

signals:
    void saved(const QString &path, QSize pictureSize);
    void failed(const QString &path, const QString &error);
    // Internal, from the worker to the GUI thread (queued); error is empty when it was saved.
    void writtenOnWorker(const QString &path, QSize pictureSize, const QString &error);

private:
    // error: empty when the picture was saved.
    void finish(const QString &path, QSize pictureSize, const QString &error);

    QThreadPool pool;
    QSet<QString> pending; // GUI thread
};
