#pragma once

#include "orientation.h"
#include "overlaysettings.h"
#include "recorder.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <memory>

class CameraBase;
class ControlKeeper;
class FrameDiagnostics;
class FrameHandOver;
class SoundCapture;
class Publisher;
class StillCapture;
class VideoWriterThread;

// The program's core without a window: one camera, the hand-over of its frames to whatever shows
// them, the recording, the snapshots and the orientation they share. The window and the command
// line only call it; further outputs attach here. The camera's frames never pass through the GUI
// thread on their way into a file. GUI thread only.
class CaptureSession : public QObject
{
    Q_OBJECT

public:
    // Without a writer the recorder makes its own.
    explicit CaptureSession(QObject *parent = nullptr, VideoWriterThread *writer = nullptr);
    // Stops the camera; a running recording is finished.
    ~CaptureSession() override;

    // The session's one camera, taken as its child; set once, before it is started.
    void setCamera(CameraBase *camera);
    CameraBase *camera() const { return cameraDevice; }
    Recorder *recorder() const { return recording; }
    StillCapture *stills() const { return stillCapture; }
    // The sound of recordings: the source chosen, and its capture while recording.
    SoundCapture *sound() const { return soundCapture; }
    // Puts back control values changed behind the program's back, when the camera's memory asks
    // for it; made with the camera.
    ControlKeeper *controlKeeper() const { return keeper; }
    // Where the camera's frames wait for the GUI thread.
    FrameHandOver *frameHandOver() const { return handOver; }
    // The camera's facts of every frame, collected while enabled; made with the session.
    FrameDiagnostics *diagnostics() const { return frameDiagnostics.get(); }
    // The stable id of the camera opened last; empty before any.
    QString cameraId() const;

    // The one answer to "does the camera run".
    bool isRunning() const;
    // Starts the camera in its current format. On success the camera gets the control values
    // remembered for it and then its start profile, the keeper holds them when asked to, and
    // the camera and its format are remembered as the ones that worked.
    bool start();
    // Ends a running recording (its file is finished in the background) and stops the camera.
    void stop();

    Orientation orientation() const { return currentOrientation; }
    // For snapshots and recordings started from now on; a running recording keeps its own.
    void setOrientation(const Orientation &orientation);
    // The device pixels the picture is shown in: frameAvailable() hands out pictures decoded at
    // the smallest size that still fills them once turned. An empty size asks for full size.
    void setViewSize(QSize devicePixels);
    // A frame of this run has been handed out for display.
    bool hasFrame() const { return frameShown; }

    // The codec, segments, time-lapse and limits of recordings started from now on.
    void setRecordingOptions(const RecordingOptions &options) { recordingOptions = options; }
    // Records the running camera into path, beginning with its newest frame, with the sound of
    // the source chosen (a time-lapse has none); false when there is no frame yet or the file
    // cannot be started. A time-lapse goes on while the camera is lost
    // and takes its frames again once the camera is started again.
    bool startRecording(const QString &path);
    void stopRecording();
    // The marks a snapshot gets burnt in when they ask for it.
    void setSnapshotOverlays(const OverlaySettings &overlays) { snapshotMarks = overlays; }
    // Saves the newest frame, oriented, to path in the background; false before the running
    // camera's first frame.
    bool takeSnapshot(const QString &path);

    // Sends the running camera's picture, turned as recordings are, to a media server at url,
    // beside any recording; the camera's own H.264 goes out untouched when nothing turns it.
    // False when the camera does not run or the address is wrong (the publisher says why).
    // Publishing ends with the camera.
    bool startPublishing(const QString &url);
    void stopPublishing();
    Publisher *publisher() const { return publishing; }

signals:
    void runningChanged(bool running);
    // The newest frame for the display, only while the camera runs; frames that come faster than
    // the GUI thread takes them are skipped.
    void frameAvailable(const QImage &frame);
    void fpsChanged(double fps);
    void orientationChanged(const Orientation &orientation);
    // The camera was lost while running: it has stopped. A recording it interrupted is finishing
    // into interruptedRecording (empty when none was running, or for a time-lapse, which waits
    // for the camera to return).
    void cameraLost(const QString &reason, const QString &interruptedRecording);

private:
    void onFrameAvailable();
    void onCameraDisconnected(const QString &reason);
    // Nothing shown before a stop is handed out after it.
    void forgetFrames();
    void stopCamera();
    void applyViewSize();

    CameraBase *cameraDevice = nullptr;
    ControlKeeper *keeper = nullptr;
    // Its capture threads may still be inside a callback until the camera has stopped, which the
    // destructor makes sure of before the children go.
    FrameHandOver *handOver;
    // Shared with the camera's capture thread, which may outlive the session's members.
    std::shared_ptr<FrameDiagnostics> frameDiagnostics;
    Recorder *recording;
    StillCapture *stillCapture;
    SoundCapture *soundCapture;
    Publisher *publishing;
    Orientation currentOrientation;
    RecordingOptions recordingOptions;
    QSize viewSize;
    OverlaySettings snapshotMarks;
    bool frameShown = false; // a frame of this run has reached the display
};
