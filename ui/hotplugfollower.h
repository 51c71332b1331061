#pragma once

#include <QObject>
#include <QString>

class CameraBase;
class CameraSelection;
class DeviceWatcher;

// Makes the window follow cameras being plugged in and unplugged: with no camera running the
// list is scanned again; a running camera checks at once whether its device is still there; and
// the camera that was lost is announced when a scan finds it again, so that it can be started
// with the same format. GUI thread only.
class HotplugFollower : public QObject
{
    Q_OBJECT

public:
    HotplugFollower(DeviceWatcher *watcher, CameraBase *camera, CameraSelection *selection,
                    QObject *parent = nullptr);

    // The running camera with this id was lost.
    void cameraLost(const QString &cameraId);
    // The user has started or stopped a camera himself: none is waiting to come back.
    void forget() { lostId.clear(); }

signals:
    void rescanRequested();
    // The lost camera is in the list again, selected with its format.
    void cameraReturned();

private:
    void onDevicesChanged();
    void onScanned();

    CameraBase *camera;
    CameraSelection *selection;
    QString lostId;
};
