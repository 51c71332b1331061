#include "hotplugfollower.h"

#include "camerabase.h"
#include "cameraselection.h"
#include "devicewatcher.h"

HotplugFollower::HotplugFollower(DeviceWatcher *watcher, CameraBase *camera,
                                 CameraSelection *selection, QObject *parent)
    : QObject(parent)
    , camera(camera)
    , selection(selection)
{
    connect(watcher, &DeviceWatcher::devicesChanged, this, &HotplugFollower::onDevicesChanged);
    connect(selection, &CameraSelection::scanned, this, &HotplugFollower::onScanned);
}

void HotplugFollower::cameraLost(const QString &cameraId)
{
    lostId = cameraId;
}

void HotplugFollower::onDevicesChanged()
{
    if (camera->isCapturing())
        camera->checkCameraConnection();
    else
        emit rescanRequested();
}

void HotplugFollower::onScanned()
{
    if (lostId.isEmpty() || selection->currentCameraId() != lostId)
        return;
    lostId.clear();
    emit cameraReturned();
}
