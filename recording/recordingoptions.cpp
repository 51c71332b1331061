#include "recordingoptions.h"

#include <QFileInfo>

QString RecordingOptions::containerMismatch() const
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (codec == Codec::MotionJpeg && suffix != QLatin1String("avi"))
        return QStringLiteral("Motion-JPEG is recorded into .avi files, not .%1").arg(suffix);
    if (codec == Codec::H264 && suffix != QLatin1String("mkv") && suffix != QLatin1String("mp4"))
        return QStringLiteral("H.264 is recorded into .mkv or .mp4 files, not .%1").arg(suffix);
    return QString();
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
