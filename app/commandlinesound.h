#pragma once

#include <QCoreApplication>
#include <QString>

class CaptureSession;

// The command line's sound: the sources listed, and the one a recording takes its sound from.
// Run before the recording starts; they wait for the sound server (a few seconds at most).
struct CommandLineSound
{
    Q_DECLARE_TR_FUNCTIONS(CommandLineSound)

public:
    // Prints the sound server's sources, one per line, the camera's microphone first; the exit
    // code (1 without a sound server).
    static int list(const QString &cameraId);
    // Gives the session's recordings the source choice names ("none", "camera", "default" or a
    // source's name; empty: the one remembered for the camera). Without a sound server, or when
    // the camera has no microphone, the recording is silent, with a warning line for the
    // former; false, with the error in error, for a named source the server does not have.
    static bool choose(CaptureSession *session, const QString &choice, const QString &cameraId,
                       QString *error);
};
