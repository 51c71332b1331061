#pragma once

#include "camerabase.h"

#include <QCoreApplication>
#include <QString>

class QWidget;

// The texts that tell the user why a camera failed, beneath the fixed message of each box, and
// what to check when no camera is found.
class CameraMessages
{
    Q_DECLARE_TR_FUNCTIONS(CameraMessages)

public:
    // Empty for Failure::None.
    static QString cause(CameraBase::Failure failure);
    static QString noCamerasHelp();
    // A modal critical box "Camera Error" with text and the cause beneath it.
    static void showError(QWidget *parent, const QString &text, CameraBase::Failure failure);
};
