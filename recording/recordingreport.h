#pragma once

#include "camerabase.h"
#include "videowriterthread.h"

#include <QString>

// The one line that ends a recording: what the file holds and where camera frames were lost.
// A camera frame of the recording's time that is not in the file was either lost at the camera
// (dropped by the camera or its driver, or damaged on the way) or in the program (not taken in
// time, skipped for a newer one, or lost inside the writer).
class RecordingReport
{
public:
    // camera: the camera's counts over the recording (FrameCounts::since of the counts read at
    // its start); writer: the writer's statistics once it has finished. Any thread.
    static QString endLine(const CameraBase::FrameCounts &camera, const WriterStatistics &writer);
    // The camera frames lost in the program, as endLine counts them.
    static quint64 lostInProgram(const CameraBase::FrameCounts &camera,
                                 const WriterStatistics &writer);
};
