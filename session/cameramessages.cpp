#include "cameramessages.h"

#include "captureloop.h"

QString CameraMessages::cause(CameraBase::Failure failure, QSize frameSize)
{
    switch (failure) {
    case CameraBase::Failure::None:
        return QString();
    case CameraBase::Failure::Unplugged:
        return tr("The camera is no longer connected. Check its cable and plug it in again; "
                  "it starts again by itself when it comes back.");
    case CameraBase::Failure::Busy:
        return tr("Another program is using the camera. Close it (a video call, another camera "
                  "viewer) and try again.");
    case CameraBase::Failure::NoPermission:
        return tr("You are not allowed to use the camera. Your user must be a member of the "
                  "\"video\" group; log out and in again after adding it.");
    case CameraBase::Failure::ModeTooLarge:
        return tr("The chosen format is too large for the camera or its USB connection. Choose "
                  "a smaller size or a lower frame rate, or use another USB port.");
    case CameraBase::Failure::FrameTooLarge:
        return tr("Frames of %1x%2 are larger than this program can hold (%3 MB each at most). "
                  "Choose a smaller size.")
            .arg(frameSize.width())
            .arg(frameSize.height())
            .arg(CaptureLoop::maxFrameBytes >> 20);
    case CameraBase::Failure::Other:
        break;
    }
    return tr("The camera refused the chosen format. Details are in the program's log.");
}

QString CameraMessages::noCamerasHelp()
{
    return tr("No cameras found.\n\nCheck that the camera is plugged in (try another cable or "
              "USB port),\nthat your user may use it (member of the \"video\" group),\nand that "
              "no other program holds it.");
}

QString CameraMessages::startFailed(CameraBase::Failure failure)
{
    // Only a busy device or an unexplained refusal may be another program's doing.
    if (failure == CameraBase::Failure::Busy || failure == CameraBase::Failure::Other)
        return tr("Failed to start camera. Please check if another application is using it.");
    return tr("Failed to start camera.");
}
