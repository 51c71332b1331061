#pragma once

#include "camerabase.h"
#include "recordingoptions.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What the program was asked to do on its command line. Parsing touches no device and needs no
// display, so errors and --help come before either.
struct CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    enum class Action {
        Window,
        Help,
        Version,
        ListCameras,
        ListFormats,
        Record,
        Publish, // --publish without --record
        Snapshot,
        Diagnose,
        Error,
    };

    // A mode as asked for with --format WIDTHxHEIGHT@FPS[:FOURCC].
    struct FormatRequest
    {
        int width = 0;
        int height = 0;
        double fps = 0.0;
        QString fourcc; // empty: any
    };

    Action action = Action::Window;
    QString camera; // a name or a position counted from 0; empty: the first camera
    std::optional<FormatRequest> format;
    bool start = false;
    bool fullscreen = false;
    bool noTransform = false;
    QString file;          // --record and --snapshot
    QString publishUrl;    // --publish, alone or beside --record
    double duration = 0.0; // seconds; 0: until a signal ends the recording
    // --codec, --segment, --timelapse, --timelapse-rate, --max-size and --min-free; the file
    // name, rate and size come later. minFreeBytes < 0: the settings' floor.
    RecordingOptions recording;
    // How long --diagnose watches the camera when no duration is given.
    static constexpr double defaultDiagnoseSeconds = 10.0;
    QString message; // the help or version text, or the one-line error

    // Exit code: 2 for a command line that cannot be carried out.
    static constexpr int usageError = 2;

    static CommandLine parse(const QStringList &arguments);
    static std::optional<FormatRequest> parseFormat(const QString &text);

    // The camera named by spec (a name, or a position in the list), or -1.
    static int findCamera(const QStringList &names, const QString &spec);
    // The first of formats matching request (the rate to within 0.5 %), or -1.
    static int findFormat(const QList<CameraBase::CameraFormat> &formats,
                          const FormatRequest &request);
};
