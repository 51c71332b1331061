#pragma once

#include <QObject>
#include <QString>

class CaptureSession;
class LevelMeter;

// The sound of the window's recordings: the source remembered for the camera is looked up when
// it starts and when the settings change, the level meters follow the sound while it is
// recorded, and its troubles become notices. GUI thread only.
class SoundController : public QObject
{
    Q_OBJECT

public:
    // meter: the window's meter over the picture; not owned.
    SoundController(CaptureSession *session, LevelMeter *meter, QObject *parent = nullptr);

    // The settings changed: the camera's source is looked up again.
    void chooseSource();

signals:
    void notificationRequested(const QString &message, bool success);

private:
    CaptureSession *session;
    LevelMeter *meter;
};
