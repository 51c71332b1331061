#pragma once

#include "appsettings.h"

#include <QObject>
#include <QSize>
#include <QString>

class CaptureSession;
class QWidget;

// Snapshots as the window takes them: the file's name (generated, or chosen in the save dialog)
// and the notice of the outcome. The picture is saved by the session in the background. GUI
// thread only.
class SnapshotSaver : public QObject
{
    Q_OBJECT

public:
    explicit SnapshotSaver(CaptureSession *session, QObject *parent = nullptr);

    // The file for a snapshot taken now: a generated name free of any existing file and of every
    // snapshot still being written, or the one chosen in the save dialog (empty when cancelled).
    QString choosePath(QWidget *dialogParent, const AppSettings &settings,
                       const QSize &formatSize) const;
    // A snapshot of the camera's newest frame, to the file choosePath() gives.
    void take(QWidget *dialogParent, const AppSettings &settings);

signals:
    // folder: where a saved file went, for the notice to show and open; empty otherwise.
    void notificationRequested(const QString &message, bool success, const QString &folder = {});

private:
    CaptureSession *session;
};
