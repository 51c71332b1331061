#pragma once

#include <QDateTime>
#include <QSet>
#include <QSize>
#include <QString>

// Names of the files the window saves without asking.
namespace FileNaming {

// directory + "/Ostrel_snapshot_<time>_<width>x<height>.png"
QString snapshotPath(const QString &directory, const QDateTime &time, const QSize &formatSize);
// directory + "/Ostrel_recording_<time>.avi"
QString recordingPath(const QString &directory, const QDateTime &time,
                      const QString &suffix = QStringLiteral("avi"));

// A generated name never replaces an earlier file: when path exists, "_2", "_3", ... go before
// the extension until a free name is found.
// Reserved names (files about to be written) count as taken.
QString firstFreePath(const QString &path, const QSet<QString> &reserved = {});

// A name typed into a save dialog with one of the accepted suffixes (any case) as it is; any other
// name gets "." + defaultSuffix. An empty name (the dialog was cancelled) stays empty.
QString withSuffix(const QString &path, const QString &defaultSuffix, const QStringList &accepted);

} // namespace FileNaming
