#include "commandline.h"

#include "publisher.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QHostAddress>
#include <QRegularExpression>

#include <cmath>

std::optional<CommandLine::FormatRequest> CommandLine::parseFormat(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,5})x(\\d{1,5})@(\\d{1,4}(?:\\.\\d+)?)(?::([A-Za-z0-9 ]{4}))?$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    FormatRequest request;
    request.width = match.captured(1).toInt();
    request.height = match.captured(2).toInt();
    request.fps = match.captured(3).toDouble();
    request.fourcc = match.captured(4).toUpper();
    if (request.width < 1 || request.height < 1 || !(request.fps > 0.0))
        return std::nullopt;
    return request;
}

bool CommandLine::parseServe(const QString &text, QString *address, int *port)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(?:(\\[[0-9A-Fa-f:.]+\\]|[0-9.]+|localhost):)?(\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    QString host = match.captured(1);
    if (host == QLatin1String("localhost"))
        host = QStringLiteral("127.0.0.1");
    if (host.startsWith(QLatin1Char('[')))
        host = host.mid(1, host.size() - 2);
    const int number = match.captured(2).toInt();
    if (number > 65535 || (!host.isEmpty() && QHostAddress(host).isNull()))
        return false;
    if (!host.isEmpty())
        *address = host;
    *port = number;
    return true;
}

int CommandLine::findCamera(const QStringList &names, const QString &spec)
{
    if (spec.isEmpty())
        return names.isEmpty() ? -1 : 0;
    const int byName = int(names.indexOf(spec));
    if (byName >= 0)
        return byName;
    bool isNumber = false;
    const int position = spec.toInt(&isNumber);
    return isNumber && position >= 0 && position < names.size() ? position : -1;
}

int CommandLine::findFormat(const QList<CameraBase::CameraFormat> &formats,
                            const FormatRequest &request)
{
    for (int i = 0; i < formats.size(); ++i) {
        const CameraBase::CameraFormat &format = formats.at(i);
        if (format.width == request.width && format.height == request.height &&
            std::abs(format.fps - request.fps) <= request.fps * 0.005 &&
            (request.fourcc.isEmpty() || CameraBase::fourccText(format.fourcc) == request.fourcc))
            return i;
    }
    return -1;
}

CommandLine CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(tr("Look at, photograph and record the picture of a camera."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  tr("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     tr("Show the version and exit."));
    const QCommandLineOption listCameras(QStringLiteral("list-cameras"),
                                         tr("Print the cameras, one per line, and exit."));
    const QCommandLineOption listFormats(QStringLiteral("list-formats"),
                                         tr("Print the formats of CAMERA, one per line, and exit."),
                                         tr("CAMERA"));
    const QCommandLineOption camera(QStringLiteral("camera"),
                                    tr("Use the camera with this name or position (from 0)."),
                                    tr("NAME|INDEX"));
    const QCommandLineOption format(QStringLiteral("format"),
                                    tr("Use this format, e.g. 1280x720@30:MJPG."),
                                    tr("WxH@FPS[:FOURCC]"));
    const QCommandLineOption start(QStringLiteral("start"), tr("Start the camera at once."));
    const QCommandLineOption fullscreen(QStringLiteral("fullscreen"),
                                        tr("Show the picture on the whole screen."));
    const QCommandLineOption record(QStringLiteral("record"),
                                    tr("Record to FILE without a window, until the duration is "
                                       "over or the program is interrupted."),
                                    tr("FILE"));
    const QCommandLineOption publish(QStringLiteral("publish"),
                                     tr("Send the picture to a media server at URL (rtmp://, "
                                        "rtsp:// or srt://) without a window, with or without "
                                        "--record."),
                                     tr("URL"));
    const QCommandLineOption duration(QStringLiteral("duration"),
                                      tr("Stop recording or publishing, or watching with "
                                         "--diagnose, after this many seconds."),
                                      tr("SECONDS"));
    const QCommandLineOption codec(
        QStringLiteral("codec"),
        tr("Record Motion-JPEG (into .avi) or H.264 (into .mkv or .mp4). "
           "Default: H.264 for .mkv and .mp4, Motion-JPEG otherwise."),
        QStringLiteral("mjpeg|h264"));
    const QCommandLineOption segment(QStringLiteral("segment"),
                                     tr("Start a new numbered file every SECONDS of recording."),
                                     tr("SECONDS"));
    const QCommandLineOption timelapse(QStringLiteral("timelapse"),
                                       tr("Record a time-lapse: one frame every SECONDS."),
                                       tr("SECONDS"));
    const QCommandLineOption timelapseRate(QStringLiteral("timelapse-rate"),
                                           tr("Play the time-lapse at FPS (default 30)."),
                                           tr("FPS"));
    const QCommandLineOption maxSize(QStringLiteral("max-size"),
                                     tr("Stop recording once the files hold MB megabytes."),
                                     tr("MB"));
    const QCommandLineOption minFree(QStringLiteral("min-free"),
                                     tr("Stop recording before the free space falls below MB "
                                        "megabytes; 0 for never (default: the settings', 1024)."),
                                     tr("MB"));
    const QCommandLineOption snapshot(QStringLiteral("snapshot"),
                                      tr("Save one picture to FILE without a window and exit."),
                                      tr("FILE"));
    const QCommandLineOption diagnose(
        QStringLiteral("diagnose"),
        tr("Watch the camera for the duration (10 seconds unless given) without a window and "
           "print what it really delivers."));
    const QCommandLineOption noTransform(QStringLiteral("no-transform"),
                                         tr("Record and save the picture unmirrored and "
                                            "unrotated, whatever the settings say."));
    const QCommandLineOption listAudio(QStringLiteral("list-audio"),
                                       tr("Print the sound sources, one per line, the camera's "
                                          "microphone first, and exit."));
    const QCommandLineOption audio(QStringLiteral("audio"),
                                   tr("Record sound from SOURCE (a name from --list-audio), the "
                                      "default source, the camera's microphone or none. "
                                      "Default: the camera's microphone if it has one."),
                                   QStringLiteral("SOURCE|default|camera|none"));
    const QCommandLineOption audioCodec(QStringLiteral("audio-codec"),
                                        tr("The sound's codec in .mkv and .mp4 files (default: "
                                           "the settings', AAC); .avi files hold PCM."),
                                        QStringLiteral("aac|opus"));
    const QCommandLineOption serve(
        QStringLiteral("serve"),
        tr("Serve the live picture (/stream.mjpg, /snapshot.jpg) and the remote control (/api/) "
           "over HTTP on PORT, on 127.0.0.1 unless ADDRESS is given; without a window, alone or "
           "while recording."),
        tr("[ADDRESS:]PORT"));
    const QCommandLineOption token(QStringLiteral("token"),
                                   tr("The token every request to --serve must carry "
                                      "(Authorization: Bearer TOKEN); needed off 127.0.0.1."),
                                   tr("TOKEN"));
    parser.addOptions({help,     version, listCameras, listFormats, camera,
                       format,   start,   fullscreen,  record,      publish,
                       duration, codec,   segment,     timelapse,   timelapseRate,
                       maxSize,  minFree, snapshot,    diagnose,    noTransform,
                       serve,    token,   listAudio,   audio,       audioCodec});

    CommandLine result;
    auto fail = [&result](const QString &error) {
        result.action = Action::Error;
        result.message = error;
        return result;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return fail(tr("Unexpected argument: %1").arg(parser.positionalArguments().first()));
    if (parser.isSet(help)) {
        result.action = Action::Help;
        result.message = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.action = Action::Version;
        result.message = QCoreApplication::applicationName() + QLatin1Char(' ') +
                         QCoreApplication::applicationVersion();
        return result;
    }

    const QList<const QCommandLineOption *> actions = {&listCameras, &listFormats, &record,
                                                       &snapshot,    &diagnose,    &listAudio};
    const auto chosen = std::count_if(actions.begin(), actions.end(),
                                      [&](const auto *option) { return parser.isSet(*option); });
    if (chosen > 1)
        return fail(tr("Choose only one of --list-cameras, --list-formats, --list-audio, "
                       "--record, --snapshot and --diagnose."));
    if (parser.isSet(publish)) {
        if (chosen > 0 && !parser.isSet(record))
            return fail(tr("--publish goes alone or with --record."));
        result.publishUrl = parser.value(publish).trimmed();
        if (const QString wrong = Publisher::checkUrl(result.publishUrl); !wrong.isEmpty())
            return fail(wrong);
        result.action = Action::Publish;
    }

    result.camera = parser.value(camera);
    if (parser.isSet(format)) {
        result.format = parseFormat(parser.value(format));
        if (!result.format)
            return fail(tr("Not a format: %1 (expected WIDTHxHEIGHT@FPS[:FOURCC])")
                            .arg(parser.value(format)));
    }
    if (parser.isSet(duration)) {
        bool ok = false;
        result.duration = parser.value(duration).toDouble(&ok);
        if (!ok || !(result.duration > 0.0) || result.duration > 1e7)
            return fail(tr("Not a duration in seconds: %1").arg(parser.value(duration)));
        if (!parser.isSet(record) && !parser.isSet(diagnose) && !parser.isSet(serve) &&
            !parser.isSet(publish))
            return fail(tr("--duration needs --record, --publish, --serve or --diagnose."));
    }
    // Every recording option is a positive number up to max (or 0, where that switches it
    // off), and only for --record.
    auto recordingNumber = [&](const QCommandLineOption &option, double max, double *value,
                               bool zeroAllowed = false) -> bool {
        if (!parser.isSet(option))
            return true;
        bool ok = false;
        *value = parser.value(option).toDouble(&ok);
        if (!ok || !(*value > 0.0 || (zeroAllowed && *value == 0.0)) || *value > max) {
            fail(tr("Not a positive number for --%1: %2")
                     .arg(option.names().constFirst(), parser.value(option)));
            return false;
        }
        if (!parser.isSet(record)) {
            fail(tr("--%1 needs --record.").arg(option.names().constFirst()));
            return false;
        }
        return true;
    };
    double segmentSeconds = 0.0, maxMegabytes = 0.0, minFreeMegabytes = -1.0;
    RecordingOptions &recording = result.recording;
    if (!recordingNumber(segment, 1e7, &segmentSeconds) ||
        !recordingNumber(timelapse, 1e6, &recording.timelapseIntervalS) ||
        !recordingNumber(timelapseRate, 1000, &recording.playbackFps) ||
        !recordingNumber(maxSize, 1e9, &maxMegabytes) ||
        !recordingNumber(minFree, 1e9, &minFreeMegabytes, true))
        return result;
    if (parser.isSet(timelapseRate) && !parser.isSet(timelapse))
        return fail(tr("--timelapse-rate needs --timelapse."));
    recording.segmentSeconds = int(std::ceil(segmentSeconds));
    recording.maxBytes = qint64(maxMegabytes * 1e6);
    recording.minFreeBytes = minFreeMegabytes < 0 ? -1 : qint64(minFreeMegabytes * 1e6);
    result.start = parser.isSet(start);
    result.fullscreen = parser.isSet(fullscreen);
    result.noTransform = parser.isSet(noTransform);

    for (const QCommandLineOption *soundOption : {&audio, &audioCodec}) {
        if (parser.isSet(*soundOption) && !parser.isSet(record))
            return fail(tr("--%1 needs --record.").arg(soundOption->names().constFirst()));
    }
    result.audio = parser.value(audio).trimmed();
    if (parser.isSet(audio) && result.audio.isEmpty())
        return fail(tr("The sound source is empty."));
    if (parser.isSet(audioCodec)) {
        const QString name = parser.value(audioCodec).toLower();
        if (name != QLatin1String("aac") && name != QLatin1String("opus"))
            return fail(
                tr("Not a sound codec: %1 (expected aac or opus)").arg(parser.value(audioCodec)));
        result.audioCodecGiven = true;
        recording.audioCodec = name == QLatin1String("opus") ? RecordingOptions::AudioCodec::Opus
                                                             : RecordingOptions::AudioCodec::Aac;
    }

    if (parser.isSet(listCameras)) {
        result.action = Action::ListCameras;
    } else if (parser.isSet(listAudio)) {
        result.action = Action::ListAudio;
    } else if (parser.isSet(listFormats)) {
        result.action = Action::ListFormats;
        result.camera = parser.value(listFormats);
    } else if (parser.isSet(diagnose)) {
        result.action = Action::Diagnose;
        if (!parser.isSet(duration))
            result.duration = defaultDiagnoseSeconds;
    } else if (parser.isSet(record) || parser.isSet(snapshot)) {
        result.action = parser.isSet(record) ? Action::Record : Action::Snapshot;
        result.file = parser.value(parser.isSet(record) ? record : snapshot);
        if (result.file.isEmpty())
            return fail(tr("The file name is empty."));
    }
    if (parser.isSet(serve)) {
        if (result.action != Action::Record && result.action != Action::Window)
            return fail(tr("--serve goes alone or with --record."));
        if (!parseServe(parser.value(serve), &result.serveAddress, &result.servePort))
            return fail(tr("Not an address and port to serve on: %1 (expected [ADDRESS:]PORT)")
                            .arg(parser.value(serve)));
        if (result.action == Action::Window)
            result.action = Action::Serve;
    }
    if (parser.isSet(token)) {
        if (!parser.isSet(serve))
            return fail(tr("--token needs --serve."));
        result.token = parser.value(token);
        if (result.token.isEmpty())
            return fail(tr("The token is empty."));
    }
    if (parser.isSet(codec) && !parser.isSet(record))
        return fail(tr("--codec needs --record."));
    if (result.action == Action::Record) {
        const QString name = parser.value(codec).toLower();
        if (!name.isEmpty() && name != QLatin1String("mjpeg") && name != QLatin1String("h264"))
            return fail(tr("Not a codec: %1 (expected mjpeg or h264)").arg(parser.value(codec)));
        const QString suffix = QFileInfo(result.file).suffix().toLower();
        const bool movie = suffix == QLatin1String("mkv") || suffix == QLatin1String("mp4");
        recording.codec = name == QLatin1String("h264") || (name.isEmpty() && movie)
                              ? RecordingOptions::Codec::H264
                              : RecordingOptions::Codec::MotionJpeg;
        recording.fileName = result.file;
        // A file without a known suffix has always been taken as Motion-JPEG AVI.
        const bool known = movie || suffix == QLatin1String("avi");
        if ((known || !name.isEmpty()) && !recording.fitsContainer())
            return fail(
                recording.codec == RecordingOptions::Codec::H264
                    ? tr("H.264 is recorded into .mkv or .mp4 files, not %1").arg(result.file)
                    : tr("Motion-JPEG is recorded into .avi files, not %1").arg(result.file));
    }
    return result;
}
