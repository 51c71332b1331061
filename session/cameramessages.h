#pragma once

#include "camerabase.h"

#include <QCoreApplication>
#include <QSize>
#include <QString>

// The texts that tell the user why a camera failed, beneath the fixed message of each box, and
// what to check when no camera is found.
class CameraMessages
{
    Q_DECLARE_TR_FUNCTIONS(CameraMessages)

public:
    // Empty for Failure::None. frameSize: the format's, named by FrameTooLarge.
    static QString cause(CameraBase::Failure failure, QSize frameSize = {});
    // The headline of a failed start: it blames another program only where one may be the cause.
    static QString startFailed(CameraBase::Failure failure);
    static QString noCamerasHelp();
};
