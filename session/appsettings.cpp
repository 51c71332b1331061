#include "appsettings.h"

#include "appinfo.h"

#include <QDir>
#include <QMetaEnum>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString recordingDirectoryKey = QStringLiteral("recordingDirectory");
const QString snapshotDirectoryKey = QStringLiteral("snapshotDirectory");
const QString showFpsCounterKey = QStringLiteral("showFpsCounter");
const QString autoSaveKey = QStringLiteral("autoSaveWithDefaultName");
const QString startLastCameraKey = QStringLiteral("startLastCamera");
const QString horizontalFlipKey = QStringLiteral("horizontalFlip");
const QString rotationAngleKey = QStringLiteral("rotationAngle");
const QString windowGeometryKey = QStringLiteral("windowGeometry");
const QString lastCameraKey = QStringLiteral("lastCamera");
const QString recordingFormatKey = QStringLiteral("recordingFormat");
const QString segmentMinutesKey = QStringLiteral("segmentMinutes");
const QString timelapseSecondsKey = QStringLiteral("timelapseSeconds");
const QString maxSizeKey = QStringLiteral("maxSizeMegabytes");
const QString minFreeKey = QStringLiteral("minFreeMegabytes");
const QString soundCodecKey = QStringLiteral("soundCodec");
const QString soundSourceKey = QStringLiteral("/soundSource");
const QString remotePortKey = QStringLiteral("remotePort");
const QString remoteAddressKey = QStringLiteral("remoteAddress");
const QString remoteTokenKey = QStringLiteral("remoteToken");
const QString publishUrlKey = QStringLiteral("publishUrl");

// The stored names of the recording formats, in the order of AppSettings::RecordingFormat.
const char *const recordingFormatNames[] = {"mjpeg-avi", "h264-mkv", "h264-mp4"};

QString cameraGroup(const QString &cameraId)
{
    return ControlProfiles::cameraGroup(cameraId);
}

QString propertyKey(const QString &cameraId, CameraBase::Property property)
{
    return cameraGroup(cameraId) + QStringLiteral("/controls/") +
           QString::fromLatin1(
               QMetaEnum::fromType<CameraBase::Property>().valueToKey(int(property)));
}

QSettings openStore()
{
    return QSettings(QString::fromLatin1(AppInfo::organisation),
                     QString::fromLatin1(AppInfo::name));
}

void store(const QString &key, const QVariant &value)
{
    openStore().setValue(key, value);
}

// Only an absolute folder is usable: an empty or relative one would put files into the root
// folder or wherever the program happened to be started.
QString readDirectory(const QSettings &settings, const QString &key, const QString &fallback)
{
    const QVariant value = settings.value(key);
    if (!value.canConvert<QString>())
        return fallback;
    const QString directory = value.toString().trimmed();
    if (directory.isEmpty() || QDir::isRelativePath(directory))
        return fallback;
    return directory;
}

// Settings files store booleans as text; anything but a recognisable truth value is unusable
// (QVariant would read "banana" as true).
bool readBool(const QSettings &settings, const QString &key, bool fallback)
{
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
}

// A whole number from 0 to max; anything else is unusable.
int readCount(const QSettings &settings, const QString &key, int max, int fallback)
{
    bool ok = false;
    const qint64 value = settings.value(key).toLongLong(&ok);
    return ok && value >= 0 && value <= max ? int(value) : fallback;
}

AppSettings::RecordingFormat readRecordingFormat(const QSettings &settings)
{
    const QString text = settings.value(recordingFormatKey).toString();
    for (int i = 0; i < 3; ++i) {
        if (text == QLatin1String(recordingFormatNames[i]))
            return AppSettings::RecordingFormat(i);
    }
    return AppSettings::RecordingFormat::MotionJpegAvi;
}

int readAngle(const QSettings &settings)
{
    bool ok = false;
    const qint64 angle = settings.value(rotationAngleKey).toLongLong(&ok);
    return ok ? Orientation::normalisedAngle(angle) : 0;
}

} // namespace

AppSettings AppSettings::defaults()
{
    AppSettings settings;
    settings.recordingDirectory = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    settings.snapshotDirectory = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return settings;
}

AppSettings AppSettings::load(const QString &cameraId)
{
    const AppSettings fallback = defaults();
    const QSettings store = openStore();
    AppSettings settings;
    settings.recordingDirectory =
        readDirectory(store, recordingDirectoryKey, fallback.recordingDirectory);
    settings.snapshotDirectory =
        readDirectory(store, snapshotDirectoryKey, fallback.snapshotDirectory);
    settings.showFpsCounter = readBool(store, showFpsCounterKey, fallback.showFpsCounter);
    settings.autoSaveWithDefaultName =
        readBool(store, autoSaveKey, fallback.autoSaveWithDefaultName);
    settings.startLastCamera = readBool(store, startLastCameraKey, fallback.startLastCamera);
    settings.orientation.mirrored = readBool(store, horizontalFlipKey, false);
    settings.orientation.angle = readAngle(store);
    settings.recordingFormat = readRecordingFormat(store);
    settings.segmentMinutes = readCount(store, segmentMinutesKey, 24 * 60, 0);
    settings.timelapseSeconds = readCount(store, timelapseSecondsKey, 24 * 3600, 0);
    settings.maxSizeMegabytes = readCount(store, maxSizeKey, 100000000, 0);
    settings.minFreeMegabytes = readCount(store, minFreeKey, 100000000, fallback.minFreeMegabytes);
    settings.soundCodec = store.value(soundCodecKey).toString() == QLatin1String("opus")
                              ? RecordingOptions::AudioCodec::Opus
                              : RecordingOptions::AudioCodec::Aac;
    settings.cameraId = cameraId;
    settings.soundSource = soundSourceOf(cameraId);
    settings.remotePort = readCount(store, remotePortKey, 65535, 0);
    settings.remoteAddress = store.value(remoteAddressKey, fallback.remoteAddress).toString();
    settings.remoteToken = store.value(remoteTokenKey).toString();
    settings.publishUrl = store.value(publishUrlKey).toString();
    return settings;
}

RecordingOptions AppSettings::recordingOptions() const
{
    RecordingOptions options;
    options.codec = recordingFormat == RecordingFormat::MotionJpegAvi
                        ? RecordingOptions::Codec::MotionJpeg
                        : RecordingOptions::Codec::H264;
    options.segmentSeconds = segmentMinutes * 60;
    options.timelapseIntervalS = timelapseSeconds;
    options.maxBytes = qint64(maxSizeMegabytes) * 1000000;
    options.minFreeBytes = qint64(minFreeMegabytes) * 1000000;
    options.audioCodec = soundCodec;
    return options;
}

QString AppSettings::recordingSuffix() const
{
    switch (recordingFormat) {
    case RecordingFormat::H264Mkv:
        return QStringLiteral("mkv");
    case RecordingFormat::H264Mp4:
        return QStringLiteral("mp4");
    case RecordingFormat::MotionJpegAvi:
        break;
    }
    return QStringLiteral("avi");
}

void AppSettings::storeRecordingDirectory(const QString &directory)
{
    store(recordingDirectoryKey, directory);
}

void AppSettings::storeSnapshotDirectory(const QString &directory)
{
    store(snapshotDirectoryKey, directory);
}

void AppSettings::storeShowFpsCounter(bool show)
{
    store(showFpsCounterKey, show);
}

void AppSettings::storeAutoSaveWithDefaultName(bool autoSave)
{
    store(autoSaveKey, autoSave);
}

void AppSettings::storeStartLastCamera(bool start)
{
    store(startLastCameraKey, start);
}

void AppSettings::storeOrientation(const Orientation &orientation)
{
    QSettings settings = openStore();
    settings.setValue(horizontalFlipKey, orientation.mirrored);
    settings.setValue(rotationAngleKey, orientation.angle);
}

void AppSettings::storeChoices(const AppSettings &chosen)
{
    if (chosen.recordingDirectory != recordingDirectory) {
        recordingDirectory = chosen.recordingDirectory;
        storeRecordingDirectory(recordingDirectory);
    }
    if (chosen.snapshotDirectory != snapshotDirectory) {
        snapshotDirectory = chosen.snapshotDirectory;
        storeSnapshotDirectory(snapshotDirectory);
    }
    if (chosen.showFpsCounter != showFpsCounter) {
        showFpsCounter = chosen.showFpsCounter;
        storeShowFpsCounter(showFpsCounter);
    }
    if (chosen.autoSaveWithDefaultName != autoSaveWithDefaultName) {
        autoSaveWithDefaultName = chosen.autoSaveWithDefaultName;
        storeAutoSaveWithDefaultName(autoSaveWithDefaultName);
    }
    if (chosen.startLastCamera != startLastCamera) {
        startLastCamera = chosen.startLastCamera;
        storeStartLastCamera(startLastCamera);
    }
    QSettings settings = openStore();
    if (chosen.publishUrl != publishUrl) {
        publishUrl = chosen.publishUrl;
        settings.setValue(publishUrlKey, publishUrl);
    }
    if (chosen.recordingFormat != recordingFormat) {
        recordingFormat = chosen.recordingFormat;
        settings.setValue(recordingFormatKey,
                          QLatin1String(recordingFormatNames[int(recordingFormat)]));
    }
    const std::pair<int AppSettings::*, const QString *> counts[] = {
        {&AppSettings::segmentMinutes, &segmentMinutesKey},
        {&AppSettings::timelapseSeconds, &timelapseSecondsKey},
        {&AppSettings::maxSizeMegabytes, &maxSizeKey},
        {&AppSettings::minFreeMegabytes, &minFreeKey},
    };
    for (const auto &[member, key] : counts) {
        if (chosen.*member != this->*member) {
            this->*member = chosen.*member;
            settings.setValue(*key, this->*member);
        }
    }
    if (chosen.soundCodec != soundCodec) {
        soundCodec = chosen.soundCodec;
        settings.setValue(soundCodecKey, soundCodec == RecordingOptions::AudioCodec::Opus
                                             ? QStringLiteral("opus")
                                             : QStringLiteral("aac"));
    }
    if (!chosen.cameraId.isEmpty() && chosen.soundSource != soundSourceOf(chosen.cameraId))
        settings.setValue(cameraGroup(chosen.cameraId) + soundSourceKey, chosen.soundSource);
    soundSource = chosen.soundSource;
}

QString AppSettings::soundSourceOf(const QString &cameraId)
{
    const QString stored =
        cameraId.isEmpty()
            ? QString()
            : openStore().value(cameraGroup(cameraId) + soundSourceKey).toString().trimmed();
    return stored.isEmpty() ? QStringLiteral("camera") : stored;
}

QByteArray AppSettings::windowGeometry()
{
    return openStore().value(windowGeometryKey).toByteArray();
}

void AppSettings::storeWindowGeometry(const QByteArray &geometry)
{
    store(windowGeometryKey, geometry);
}

QString AppSettings::lastCameraId()
{
    return openStore().value(lastCameraKey).toString();
}

std::optional<CameraBase::CameraFormat> AppSettings::cameraFormat(const QString &cameraId)
{
    const QStringList fields =
        openStore().value(cameraGroup(cameraId) + QStringLiteral("/format")).toString().split(';');
    CameraBase::CameraFormat format;
    bool ok[4] = {};
    if (fields.size() == 4) {
        format.width = fields[0].toInt(&ok[0]);
        format.height = fields[1].toInt(&ok[1]);
        format.fps = fields[2].toDouble(&ok[2]);
        format.fourcc = fields[3].toUInt(&ok[3]);
    }
    if (!(ok[0] && ok[1] && ok[2] && ok[3]))
        return std::nullopt;
    return format;
}

void AppSettings::storeLastCameraId(const QString &cameraId)
{
    store(lastCameraKey, cameraId);
}

void AppSettings::storeCameraFormat(const QString &cameraId, const CameraBase::CameraFormat &format)
{
    store(cameraGroup(cameraId) + QStringLiteral("/format"), QStringLiteral("%1;%2;%3;%4")
                                                                 .arg(format.width)
                                                                 .arg(format.height)
                                                                 .arg(format.fps, 0, 'g', 17)
                                                                 .arg(format.fourcc));
}

void AppSettings::storeCameraProperty(const QString &cameraId, CameraBase *camera,
                                      CameraBase::Property property)
{
    const std::optional<int> value = camera->propertyValue(property);
    if (!value)
        return;
    QSettings settings = openStore();
    const QString key = propertyKey(cameraId, property);
    settings.setValue(key, *value);
    settings.setValue(key + QStringLiteral("Auto"), camera->propertyAuto(property).value_or(false));
}

ControlProfiles AppSettings::controlProfiles(const QString &cameraId)
{
    return ControlProfiles(QString::fromLatin1(AppInfo::organisation),
                           QString::fromLatin1(AppInfo::name), cameraId);
}

void AppSettings::restoreCameraProperties(const QString &cameraId, CameraBase *camera)
{
    const QSettings settings = openStore();
    for (const CameraBase::PropertyRange &range : camera->properties()) {
        const QString key = propertyKey(cameraId, range.property);
        bool ok = false;
        const int value = settings.value(key).toInt(&ok);
        if (!ok)
            continue;
        if (range.hasAuto && readBool(settings, key + QStringLiteral("Auto"), false))
            camera->setPropertyAuto(range.property, true);
        else
            camera->setPropertyValue(range.property, qBound(range.min, value, range.max));
    }
}
