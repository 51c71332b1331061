#pragma once

#include "orientation.h"

#include <QString>
#include <QVariant>

// The six persisted settings, typed. A stored value that is empty, of the wrong type or unusable
// reads as its default, so a damaged settings file can never send files to the root folder or
// tilt the picture. Settings are written the moment they change, each time through a short-lived
// store (GUI thread).
struct AppSettings
{
    QString recordingDirectory;
    QString snapshotDirectory;
    bool showFpsCounter = true;
    bool autoSaveWithDefaultName = true;
    Orientation orientation;

    static AppSettings load();
    static AppSettings defaults();

    static void storeRecordingDirectory(const QString &directory);
    static void storeSnapshotDirectory(const QString &directory);
    static void storeShowFpsCounter(bool show);
    static void storeAutoSaveWithDefaultName(bool autoSave);
    static void storeOrientation(const Orientation &orientation);
};
