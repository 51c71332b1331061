#pragma once

#include "camerabase.h"

#include <QSize>
#include <QString>

class QWidget;

// A modal critical box "Camera Error" with text and the failure's cause beneath it.
namespace CameraErrorBox {
// frameSize: the format's, named when the frames are too large.
void show(QWidget *parent, const QString &text, CameraBase::Failure failure, QSize frameSize = {});
} // namespace CameraErrorBox
