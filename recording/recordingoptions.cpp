#include "recordingoptions.h"

#include <QFileInfo>

bool RecordingOptions::fitsContainer() const
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (codec == Codec::MotionJpeg)
        return suffix == QLatin1String("avi");
    return suffix == QLatin1String("mkv") || suffix == QLatin1String("mp4");
}

QString RecordingOptions::segmentFileName(int number) const
{
    if (segmentSeconds <= 0)
        return fileName;
    const QFileInfo info(fileName);
    const QString stem =
        info.completeBaseName() + QStringLiteral("-%1").arg(number, 3, 10, QLatin1Char('0'));
    const QString name = info.suffix().isEmpty() ? stem : stem + QLatin1Char('.') + info.suffix();
    // The folder part stays as it was given, relative or not.
    return fileName.left(fileName.size() - info.fileName().size()) + name;
}
