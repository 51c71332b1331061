#pragma once

#include "camerabase.h"

#include <QObject>

class QComboBox;
class ScanComboBox;

// Keeps the camera list and the format list in step with the camera: a scan each time the list
// is opened, opening the chosen camera, applying the chosen format, and following the camera's
// own format changes. A scan keeps the chosen camera chosen, or else chooses the one started
// last; a camera comes with the format chosen for it last. GUI thread only.
class CameraSelection : public QObject
{
    Q_OBJECT

public:
    CameraSelection(ScanComboBox *cameraSelector, QComboBox *formatSelector, CameraBase *camera,
                    QObject *parent = nullptr);

    // A camera of the list is chosen and has formats to start with.
    bool hasCamera() const;
    // The stable id of the chosen camera; empty when none is chosen.
    QString currentCameraId() const;

    void scan();
    void selectCamera(int index);
    void selectFormat(int index);
    void showFormat(const CameraBase::CameraFormat &format);

signals:
    // Emitted before another camera is opened, so that a running one can be stopped first.
    void cameraChanging();
    void cameraOpened();
    // A scan has ended; found tells whether it found any camera.
    void scanned(bool found);
    // The running camera could not switch to the chosen format and has stopped.
    void formatFailed(const QString &description);

private:
    ScanComboBox *cameraSelector;
    QComboBox *formatSelector;
    CameraBase *camera;
};
