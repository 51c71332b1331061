#pragma once

#include "camerabase.h"
#include "controlprofiles.h"

#include <QObject>
#include <QString>

class QTimer;

// "Keep my values": holds the running camera's control values as the user left them and puts
// back any that the camera's automatic mode or another program changes, within a fraction of a
// second; the first time in a run it does so, the user is told. A value under the camera's
// automatic control may move freely. GUI thread only.
class ControlKeeper : public QObject
{
    Q_OBJECT

public:
    explicit ControlKeeper(CameraBase *camera, QObject *parent = nullptr);

    void setEnabled(bool keep);
    bool isEnabled() const { return enabled; }
    // A new run: what the camera has now is what is kept, and the user may be told again.
    void keepCurrent();
    // The user set the property: its value and automatic mode now are the ones kept.
    void remember(CameraBase::Property property);

signals:
    // Once per run, when a value was put back.
    void valuesRestored(const QString &message);

private:
    void onPropertyChanged(CameraBase::Property property, int value, bool automatic);
    void putBack();

    CameraBase *camera;
    QTimer *putBackTimer;
    bool enabled = false;
    bool told = false;
    ControlProfiles::Controls kept;
    ControlProfiles::Controls changed; // kept values changed elsewhere, not yet put back
};
