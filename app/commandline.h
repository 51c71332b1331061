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
        ListAudio,
        Serve,
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
    // --audio: where a recording takes its sound from; empty: as remembered for the camera.
    QString audio;
    // --audio-codec given: the sound's codec in Matroska and MP4.
    bool audioCodecGiven = false;
    // How long --diagnose watches the camera when no duration is given.
    static constexpr double defaultDiagnoseSeconds = 10.0;
    // --serve [ADDRESS:]PORT: the live feed and remote control, alone or beside --record.
    QString serveAddress = QStringLiteral("127.0.0.1");
    int servePort = -1; // -1: not served; 0: any free port
    QString token;      // --token; empty: the settings' remote token
    QString message;    // the help or version text, or the one-line error

    // Exit code: 2 for a command line that cannot be carried out.
    static constexpr int usageError = 2;

    static CommandLine parse(const QStringList &arguments);
    static std::optional<FormatRequest> parseFormat(const QString &text);
    // [ADDRESS:]PORT, the address an IPv4 or a bracketed IPv6 address; false when malformed.
    static bool parseServe(const QString &text, QString *address, int *port);

    // The camera named by spec (a name, or a position in the list), or -1.
    static int findCamera(const QStringList &names, const QString &spec);
    // The first of formats matching request (the rate to within 0.5 %), or -1.
    static int findFormat(const QList<CameraBase::CameraFormat> &formats,
                          const FormatRequest &request);
};
