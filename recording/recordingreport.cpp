#include "recordingreport.h"

#include <QCoreApplication>

#include <algorithm>

quint64 RecordingReport::lostInProgram(const CameraBase::FrameCounts &camera,
                                       const WriterStatistics &writer)
{
    // The frames that reached the program are all the camera made but those it lost itself;
    // whatever of them is not in the file was lost on the way. A frame or two at either end of
    // the recording may fall outside the counts' window, hence the floor at 0.
    const quint64 reached =
        camera.produced - std::min(camera.produced, camera.lostAtCamera + camera.damaged);
    const quint64 recorded = quint64(std::max(0, writer.framesRecorded));
    return reached > recorded ? reached - recorded : 0;
}

QString RecordingReport::endLine(const CameraBase::FrameCounts &camera,
                                 const WriterStatistics &writer)
{
    return QCoreApplication::translate("RecordingReport",
                                       "%1 frames written (%2 repeated); camera frames lost: %3 "
                                       "at the camera, %4 in the program")
        .arg(writer.framesWritten)
        .arg(writer.framesDuplicated)
        .arg(camera.lostAtCamera + camera.damaged)
        .arg(lostInProgram(camera, writer));
}
