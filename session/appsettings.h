#pragma once

#include "camerabase.h"
#include "controlprofiles.h"
#include "orientation.h"
#include "recordingoptions.h"

#include <QString>
#include <QVariant>

#include <optional>

// The persisted settings, typed: those of the settings dialog and the orientation, and what is
// remembered of each camera under its stable id. A stored value that is empty, of the wrong type or
// unusable reads as its default, so a damaged settings file can never send files to the root folder
// or tilt the picture. Settings are written the moment they change, each time through a short-lived
// store (GUI thread).
struct AppSettings
{
    QString recordingDirectory;
    QString snapshotDirectory;
    bool showFpsCounter = true;
    bool autoSaveWithDefaultName = true;
    // The camera started last starts by itself when the program opens.
    bool startLastCamera = false;
    Orientation orientation;
    // How recordings are written.
    enum class RecordingFormat {
        MotionJpegAvi,
        H264Mkv,
        H264Mp4,
    };
    RecordingFormat recordingFormat = RecordingFormat::MotionJpegAvi;
    int segmentMinutes = 0;      // a new file every so many minutes; 0: one file
    int timelapseSeconds = 0;    // one frame every so many seconds; 0: every frame
    int maxSizeMegabytes = 0;    // 0: no limit
    int minFreeMegabytes = 1024; // recordings stop before the free space falls below it
    // The sound of recordings in Matroska and MP4; AVI files always hold PCM.
    RecordingOptions::AudioCodec soundCodec = RecordingOptions::AudioCodec::Aac;
    // Where the camera these settings were loaded for (empty: none) takes its sound from:
    // "none", "camera" (its own microphone, or none when it has none), "default" or the name of
    // a source of the sound server. Remembered for each camera.
    QString cameraId;
    QString soundSource = QStringLiteral("camera");
    // The live feed and remote control in the window: its port (0: off), the address it is
    // reached on and the token every request must carry (needed off the machine's own address).
    int remotePort = 0;
    QString remoteAddress = QStringLiteral("127.0.0.1");
    QString remoteToken;
    QString publishUrl;          // the media server the "Publish" button sends the picture to

    // The codec, segments, time-lapse and limits these settings ask for.
    RecordingOptions recordingOptions() const;
    // The suffix of a recording's file name: "avi", "mkv" or "mp4".
    QString recordingSuffix() const;

    // With the sound source remembered for cameraId.
    static AppSettings load(const QString &cameraId = {});
    static AppSettings defaults();

    static void storeRecordingDirectory(const QString &directory);
    static void storeSnapshotDirectory(const QString &directory);
    static void storeShowFpsCounter(bool show);
    static void storeAutoSaveWithDefaultName(bool autoSave);
    static void storeStartLastCamera(bool start);
    static void storeOrientation(const Orientation &orientation);
    // Takes the directories and options of chosen (the settings dialog's), storing those that
    // changed.
    void storeChoices(const AppSettings &chosen);

    static QByteArray windowGeometry();
    static void storeWindowGeometry(const QByteArray &geometry);
    // The camera started last, and the format each camera ran in last (to be found again in
    // its list by size, rate and pixel code).
    static QString lastCameraId();
    static std::optional<CameraBase::CameraFormat> cameraFormat(const QString &cameraId);
    static void storeLastCameraId(const QString &cameraId);
    static void storeCameraFormat(const QString &cameraId, const CameraBase::CameraFormat &format);
    // The property's value and automatic mode as the running camera reports them.
    static void storeCameraProperty(const QString &cameraId, CameraBase *camera,
                                    CameraBase::Property property);
    // The camera's named profiles, kept in the same store.
    static ControlProfiles controlProfiles(const QString &cameraId);
    // Gives the running camera the values stored for it.
    static void restoreCameraProperties(const QString &cameraId, CameraBase *camera);
    static QString soundSourceOf(const QString &cameraId);
};
