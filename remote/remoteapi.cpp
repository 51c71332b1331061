#include "remoteapi.h"

#include "appsettings.h"
#include "camerabase.h"
#include "cameramessages.h"
#include "capturesession.h"
#include "controlkeeper.h"
#include "filenaming.h"
#include "stillcapture.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMetaEnum>

namespace {

using Property = CameraBase::Property;

QString propertyName(Property property)
{
    return QString::fromLatin1(QMetaEnum::fromType<Property>().valueToKey(int(property)));
}

std::optional<Property> propertyNamed(const QString &name)
{
    bool ok = false;
    const int value = QMetaEnum::fromType<Property>().keyToValue(name.toLatin1().constData(), &ok);
    return ok ? std::optional<Property>(Property(value)) : std::nullopt;
}

QJsonValue formatJson(const CameraBase::CameraFormat &format)
{
    if (format.formatIndex < 0)
        return QJsonValue::Null;
    return QJsonObject{{QStringLiteral("width"), format.width},
                       {QStringLiteral("height"), format.height},
                       {QStringLiteral("fps"), format.fps},
                       {QStringLiteral("fourcc"), CameraBase::fourccText(format.fourcc)},
                       {QStringLiteral("description"), format.description}};
}

QString stateName(Recorder::State state)
{
    switch (state) {
    case Recorder::State::Recording:
        return QStringLiteral("recording");
    case Recorder::State::Finishing:
        return QStringLiteral("finishing");
    case Recorder::State::Idle:
        break;
    }
    return QStringLiteral("idle");
}

} // namespace

RemoteApi::RemoteApi(CaptureSession *session, QObject *parent)
    : QObject(parent)
    , session(session)
{}

RemoteApi::Reply RemoteApi::error(int status, const QString &message)
{
    return {status, QJsonObject{{QStringLiteral("error"), message}}, false};
}

RemoteApi::Reply RemoteApi::handle(const QByteArray &method, const QString &path,
                                   const QByteArray &body)
{
    using Action = Reply (RemoteApi::*)(const QJsonObject &);
    struct Route
    {
        const char *path;
        const char *method;
        Action action;
    };
    static const Route routes[] = {
        {"status", "GET", &RemoteApi::getStatus},
        {"cameras", "GET", &RemoteApi::cameras},
        {"camera/start", "POST", &RemoteApi::startCamera},
        {"camera/stop", "POST", &RemoteApi::stopCamera},
        {"recording/start", "POST", &RemoteApi::startRecording},
        {"recording/stop", "POST", &RemoteApi::stopRecording},
        {"recording/pause", "POST", &RemoteApi::pauseRecording},
        {"snapshot", "POST", &RemoteApi::snapshot},
        {"controls", "GET", &RemoteApi::controls},
        {"controls", "POST", &RemoteApi::setControls},
        {"profiles", "GET", &RemoteApi::profiles},
        {"profile", "POST", &RemoteApi::loadProfile},
    };
    bool pathKnown = false;
    for (const Route &route : routes) {
        if (path != QLatin1String(route.path))
            continue;
        pathKnown = true;
        if (method != route.method)
            continue;
        QJsonObject request;
        if (!body.trimmed().isEmpty()) {
            QJsonParseError parseError;
            const QJsonDocument document = QJsonDocument::fromJson(body, &parseError);
            if (parseError.error != QJsonParseError::NoError || !document.isObject())
                return error(400, tr("The body is not a JSON object."));
            request = document.object();
        }
        return (this->*route.action)(request);
    }
    if (pathKnown)
        return error(405, tr("%1 is not allowed here.").arg(QString::fromLatin1(method)));
    return error(404, tr("No such path: /api/%1").arg(path));
}

QJsonObject RemoteApi::status() const
{
    CameraBase *camera = session->camera();
    const Recorder *recorder = session->recorder();
    const WriterStatistics statistics = recorder->statistics();
    const CameraBase::FrameCounts counts = camera->frameCounts();
    const int index = camera->currentCameraIndex();
    return {
        {QStringLiteral("camera"), index >= 0 ? QJsonValue(index) : QJsonValue::Null},
        {QStringLiteral("cameraId"), session->cameraId()},
        {QStringLiteral("running"), session->isRunning()},
        {QStringLiteral("format"), formatJson(camera->currentFormat())},
        {QStringLiteral("frames"),
         QJsonObject{{QStringLiteral("produced"), qint64(counts.produced)},
                     {QStringLiteral("lostAtCamera"), qint64(counts.lostAtCamera)},
                     {QStringLiteral("damaged"), qint64(counts.damaged)},
                     {QStringLiteral("taken"), qint64(counts.taken)}}},
        {QStringLiteral("recording"),
         QJsonObject{{QStringLiteral("state"), stateName(recorder->state())},
                     {QStringLiteral("paused"), recorder->isPaused()},
                     {QStringLiteral("path"), recorder->path()},
                     {QStringLiteral("elapsedMs"), recorder->elapsedMs()},
                     {QStringLiteral("framesWritten"), statistics.framesWritten},
                     {QStringLiteral("framesDropped"), statistics.framesDropped},
                     {QStringLiteral("framesLost"), statistics.framesLost},
                     {QStringLiteral("bytesWritten"), statistics.bytesWritten},
                     {QStringLiteral("report"), recorder->report()}}},
    };
}

RemoteApi::Reply RemoteApi::getStatus(const QJsonObject &)
{
    return {200, status(), false};
}

RemoteApi::Reply RemoteApi::stopCamera(const QJsonObject &)
{
    session->stop();
    return {200, status(), false};
}

RemoteApi::Reply RemoteApi::stopRecording(const QJsonObject &)
{
    if (session->recorder()->state() != Recorder::State::Recording)
        return error(409, tr("No recording is running."));
    session->stopRecording();
    return {200, status(), false};
}

RemoteApi::Reply RemoteApi::cameras(const QJsonObject &)
{
    CameraBase *camera = session->camera();
    QJsonArray list;
    const QStringList names = camera->availableCameras();
    for (int i = 0; i < names.size(); ++i) {
        QJsonObject entry{{QStringLiteral("index"), i},
                          {QStringLiteral("name"), names.at(i)},
                          {QStringLiteral("id"), camera->cameraId(i)}};
        // Only the open camera's formats are known without opening another.
        if (i == camera->currentCameraIndex()) {
            QJsonArray formats;
            for (const CameraBase::CameraFormat &format : camera->supportedFormats())
                formats.append(formatJson(format));
            entry.insert(QStringLiteral("formats"), formats);
        }
        list.append(entry);
    }
    return {200, QJsonObject{{QStringLiteral("cameras"), list}}, false};
}

RemoteApi::Reply RemoteApi::startCamera(const QJsonObject &request)
{
    CameraBase *camera = session->camera();
    const QJsonValue which = request.value(QStringLiteral("camera"));
    const QJsonValue format = request.value(QStringLiteral("format"));
    if ((!which.isUndefined() || !format.isUndefined()) &&
        session->recorder()->state() != Recorder::State::Idle)
        return error(409, tr("The camera cannot change while recording."));
    if (!which.isUndefined()) {
        const QStringList names = camera->availableCameras();
        const int index = which.isDouble() ? which.toInt(-1) : int(names.indexOf(which.toString()));
        if (index < 0 || index >= names.size())
            return error(400, tr("No such camera."));
        session->stop();
        if (!camera->openCamera(index))
            return error(500, tr("The camera could not be opened."));
    }
    if (!format.isUndefined()) {
        const QList<CameraBase::CameraFormat> formats = camera->supportedFormats();
        const int index = format.toInt(-1);
        if (!format.isDouble() || index < 0 || index >= formats.size())
            return error(400, tr("No such format."));
        if (!camera->setFormat(formats.at(index)))
            return error(500, CameraMessages::cause(camera->lastFailure()));
    }
    if (!session->start()) {
        const CameraBase::CameraFormat current = camera->currentFormat();
        return error(500, CameraMessages::cause(camera->lastFailure(),
                                                QSize(current.width, current.height)));
    }
    return {200, status(), false};
}

RemoteApi::Reply RemoteApi::startRecording(const QJsonObject &request)
{
    if (!session->isRunning())
        return error(409, tr("The camera is not running."));
    if (session->recorder()->state() != Recorder::State::Idle)
        return error(409, tr("A recording is already running."));
    if (!session->hasFrame())
        return error(409, tr("The camera has delivered no picture yet."));
    const AppSettings settings = AppSettings::load();
    RecordingOptions options = settings.recordingOptions();
    QString path = request.value(QStringLiteral("path")).toString();
    if (path.isEmpty()) {
        path = FileNaming::firstFreePath(FileNaming::recordingPath(
            settings.recordingDirectory, QDateTime::currentDateTime(), settings.recordingSuffix()));
    } else {
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix != QLatin1String("avi") && suffix != QLatin1String("mkv") &&
            suffix != QLatin1String("mp4"))
            return error(400, tr("A recording is an .avi, .mkv or .mp4 file."));
        options.codec = suffix == QLatin1String("avi") ? RecordingOptions::Codec::MotionJpeg
                                                       : RecordingOptions::Codec::H264;
    }
    options.fileName = path;
    session->setRecordingOptions(options);
    if (!session->startRecording(path))
        return error(500, tr("The recording could not be started."));
    return {200, status(), false};
}

RemoteApi::Reply RemoteApi::pauseRecording(const QJsonObject &request)
{
    const QJsonValue paused = request.value(QStringLiteral("paused"));
    if (!paused.isBool())
        return error(400, tr("\"paused\" must be true or false."));
    if (session->recorder()->state() != Recorder::State::Recording)
        return error(409, tr("No recording is running."));
    session->recorder()->setPaused(paused.toBool());
    return {200, status(), false};
}

RemoteApi::Reply RemoteApi::snapshot(const QJsonObject &request)
{
    // As /snapshot.jpg answers: no picture for now.
    if (!session->isRunning())
        return error(503, tr("The camera is not running."));
    const QString path = request.value(QStringLiteral("path")).toString();
    if (path.isEmpty())
        return {200, {}, true};
    if (!session->takeSnapshot(path))
        return error(409, tr("The camera has delivered no picture yet."));
    // The picture is written in the background; saved or not shows in the file.
    return {202, QJsonObject{{QStringLiteral("path"), path}}, false};
}

RemoteApi::Reply RemoteApi::controls(const QJsonObject &)
{
    CameraBase *camera = session->camera();
    QJsonArray list;
    for (const CameraBase::PropertyRange &range : camera->properties()) {
        const std::optional<int> value = camera->propertyValue(range.property);
        const std::optional<bool> automatic = camera->propertyAuto(range.property);
        list.append(QJsonObject{
            {QStringLiteral("name"), propertyName(range.property)},
            {QStringLiteral("min"), range.min},
            {QStringLiteral("max"), range.max},
            {QStringLiteral("default"), range.def},
            {QStringLiteral("hasAuto"), range.hasAuto},
            {QStringLiteral("value"), value ? QJsonValue(*value) : QJsonValue::Null},
            {QStringLiteral("auto"), automatic ? QJsonValue(*automatic) : QJsonValue::Null}});
    }
    return {200, QJsonObject{{QStringLiteral("controls"), list}}, false};
}

RemoteApi::Reply RemoteApi::setControls(const QJsonObject &request)
{
    CameraBase *camera = session->camera();
    if (!session->isRunning())
        return error(409, tr("The camera is not running."));
    QMap<Property, CameraBase::PropertyRange> ranges;
    for (const CameraBase::PropertyRange &range : camera->properties())
        ranges.insert(range.property, range);
    // Everything is checked before anything is set.
    for (auto it = request.begin(); it != request.end(); ++it) {
        const std::optional<Property> property = propertyNamed(it.key());
        if (!property || !ranges.contains(*property))
            return error(400, tr("The camera has no control %1.").arg(it.key()));
        const bool automatic = it.value().toString() == QLatin1String("auto");
        if (automatic ? !ranges.value(*property).hasAuto : !it.value().isDouble())
            return error(400, tr("%1 takes a number or \"auto\".").arg(it.key()));
    }
    const QString id = session->cameraId();
    for (auto it = request.begin(); it != request.end(); ++it) {
        const Property property = *propertyNamed(it.key());
        const bool set = it.value().isString()
                             ? camera->setPropertyAuto(property, true)
                             : camera->setPropertyValue(property, it.value().toInt());
        if (!set)
            return error(409, tr("The camera refused %1.").arg(it.key()));
        AppSettings::storeCameraProperty(id, camera, property);
        session->controlKeeper()->remember(property);
    }
    return controls({});
}

RemoteApi::Reply RemoteApi::profiles(const QJsonObject &)
{
    return {200,
            QJsonObject{{QStringLiteral("profiles"),
                         QJsonArray::fromStringList(
                             AppSettings::controlProfiles(session->cameraId()).names())}},
            false};
}

RemoteApi::Reply RemoteApi::loadProfile(const QJsonObject &request)
{
    if (!session->isRunning())
        return error(409, tr("The camera is not running."));
    const QString name = request.value(QStringLiteral("name")).toString();
    const std::optional<ControlProfiles::Controls> values =
        AppSettings::controlProfiles(session->cameraId()).load(name);
    if (!values)
        return error(404, tr("No such profile: %1").arg(name));
    ControlProfiles::apply(session->camera(), *values);
    for (const Property property : values->keys()) {
        AppSettings::storeCameraProperty(session->cameraId(), session->camera(), property);
        session->controlKeeper()->remember(property);
    }
    return controls({});
}
