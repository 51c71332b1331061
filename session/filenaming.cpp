#include "filenaming.h"

#include <QFileInfo>

namespace {
const QString timeFormat = QStringLiteral("yyyy-MM-dd_hh-mm-ss");
}

namespace FileNaming {

QString snapshotPath(const QString &directory, const QDateTime &time, const QSize &formatSize)
{
    const QString size = QStringLiteral("%1x%2").arg(formatSize.width()).arg(formatSize.height());
    return directory +
           QStringLiteral("/Ostrel_snapshot_%1_%2.png").arg(time.toString(timeFormat), size);
}

QString recordingPath(const QString &directory, const QDateTime &time, const QString &suffix)
{
    return directory + QStringLiteral("/Ostrel_recording_") + time.toString(timeFormat) +
           QLatin1Char('.') + suffix;
}

QString firstFreePath(const QString &path, const QSet<QString> &reserved)
{
    auto taken = [&reserved](const QString &candidate) {
        return QFileInfo::exists(candidate) || reserved.contains(candidate);
    };
    if (!taken(path))
        return path;
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    // Cut at the last dot of the file name only, so dots in directory names stay.
    const QString stem = suffix.isEmpty() ? path : path.left(path.size() - suffix.size() - 1);
    const QString dotSuffix = suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix;
    for (int n = 2;; ++n) {
        const QString candidate = stem + QStringLiteral("_%1").arg(n) + dotSuffix;
        if (!taken(candidate))
            return candidate;
    }
}

QString withSuffix(const QString &path, const QString &defaultSuffix, const QStringList &accepted)
{
    if (path.isEmpty() || accepted.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive))
        return path;
    return path + QLatin1Char('.') + defaultSuffix;
}

} // namespace FileNaming
