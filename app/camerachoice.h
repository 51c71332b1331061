#pragma once

#include "camerabase.h"
#include "commandline.h"

#include <QCoreApplication>
#include <QStringList>

#include <optional>

// The camera and format the command line names, as positions in the camera's lists.
struct CameraChoice
{
    Q_DECLARE_TR_FUNCTIONS(CameraChoice)

public:
    int camera = -1;
    int format = -1;

    // Finds them among cameraNames (the list camera gave) and opens the camera; on failure
    // prints why and returns nothing. The sound sources and the camera list need no camera.
    static std::optional<CameraChoice> resolve(const CommandLine &commandLine, CameraBase *camera,
                                               const QStringList &cameraNames);
    // Whether path can be written; prints why not.
    static bool canWrite(const QString &path);
};
