#include "cameraerrorbox.h"

#include "cameramessages.h"

#include <QMessageBox>

void CameraErrorBox::show(QWidget *parent, const QString &text, CameraBase::Failure failure,
                          QSize frameSize)
{
    QMessageBox box(QMessageBox::Critical,
                    QCoreApplication::translate("CameraMessages", "Camera Error"), text,
                    QMessageBox::Ok, parent);
    box.setInformativeText(CameraMessages::cause(failure, frameSize));
    box.exec();
}
