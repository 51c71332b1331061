#include "appsettings.h"

#include "appinfo.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString recordingDirectoryKey = QStringLiteral("recordingDirectory");
const QString snapshotDirectoryKey = QStringLiteral("snapshotDirectory");
const QString showFpsCounterKey = QStringLiteral("showFpsCounter");
const QString autoSaveKey = QStringLiteral("autoSaveWithDefaultName");
const QString horizontalFlipKey = QStringLiteral("horizontalFlip");
const QString rotationAngleKey = QStringLiteral("rotationAngle");

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

AppSettings AppSettings::load()
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
    settings.orientation.mirrored = readBool(store, horizontalFlipKey, false);
    settings.orientation.angle = readAngle(store);
    return settings;
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

void AppSettings::storeOrientation(const Orientation &orientation)
{
    QSettings settings = openStore();
    settings.setValue(horizontalFlipKey, orientation.mirrored);
    settings.setValue(rotationAngleKey, orientation.angle);
}
