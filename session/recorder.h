#pragma once

#include "camerabase.h"
#include "orientation.h"
#include "videowriterthread.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>

class CameraBase;
class H264PassThroughWriter;

// One recording's life without a window: the writer's start, the frames it is fed, and the end.
// Stopping never waits for the file: the recorder stays Finishing until the writer has closed it.
// GUI thread only; the camera's frames reach the writer straight from its capture thread.
class Recorder : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Idle,
        Recording,
        Finishing,
    };
    Q_ENUM(State)

    // Without a writer the recorder makes its own; either way it owns it.
    explicit Recorder(QObject *parent = nullptr, VideoWriterThread *writer = nullptr);
    // A running recording is finished: the writer, a child, completes its file when deleted.
    ~Recorder() override;

    // Starts writing path at fps with frames the size of firstFrame once oriented, beginning
    // with firstFrame. Every later frame of camera (when given) comes straight from its capture
    // thread; a Motion-JPEG camera's own JPEG goes into the file untouched when the picture needs
    // no turning. The orientation stays that of the start until the recording ends, so every
    // frame keeps the file's size.
    // options gives the codec, segments, time-lapse and limits; its file name, rate and size
    // are those given here.
    bool start(const QString &path, const QImage &firstFrame, double fps,
               const Orientation &orientation, CameraBase *camera = nullptr,
               const RecordingOptions &options = {});
    // Recording: asks the writer to finish and returns at once.
    void stop();
    // Recording: the paused time is left out of the file and of elapsedMs().
    void setPaused(bool paused);
    bool isPaused() const { return paused; }
    bool isTimelapse() const { return currentOptions.isTimelapse(); }
    // Recording a time-lapse: the camera was lost; the file goes on, repeating its last picture,
    // until resumeWithCamera() brings the camera's frames back.
    void holdWithoutCamera();
    void resumeWithCamera(CameraBase *camera);
    bool isHeldWithoutCamera() const { return currentState == State::Recording && !source; }

    State state() const { return currentState; }
    QString path() const { return currentPath; }
    // The time recorded, pauses left out.
    qint64 elapsedMs() const;
    // At the rate the files grow now, how long until a limit ends the recording; -1 when
    // nothing is known or no limit is set.
    qint64 remainingMs() const;
    // A time-lapse: how long until it takes its next frame; -1 otherwise.
    qint64 msToNextTimelapseFrame() const;
    WriterStatistics statistics() const;
    // The end line of the recording finished last: the frames written and where camera frames
    // were lost; empty before the first.
    QString report() const { return endReport; }
    VideoWriterThread *writer() const { return writerThread; }
    // Whether the running or last recording takes the camera's own H.264 untouched.
    bool isPassingThroughH264() const { return passingThrough; }
    // Any thread (the sound source's): sound for the running recording, on the clock of the
    // camera's frames; ignored while idle or paused and by a time-lapse.
    void addAudio(const AudioChunk &chunk);

signals:
    void stateChanged(Recorder::State state);
    // The recording ended with an error; the file is finished with what reached it.
    void errorOccurred(const QString &error);
    // The recording ended by itself at a limit; finished() follows.
    void limitReached(RecordingLimit limit);
    void pausedChanged(bool paused);
    // The file is closed and the recorder Idle again; saved is false after an error.
    void finished(const QString &path, bool saved);

private:
    void onWriterError(const QString &error);
    void onWriterFinished();
    // Stops the camera's frames reaching the writer and notes the camera's counts over the
    // recording.
    void detachCamera();
    void requestWriterStop();
    void attachCamera(CameraBase *camera);
    // The writer has started: the camera's frames go to it from now on.
    bool begin(const QString &path, CameraBase *camera);
    void setState(State state);

    VideoWriterThread *writerThread;
    // A camera's own H.264 into an H.264 file, when nothing turns the picture.
    H264PassThroughWriter *passThrough;
    std::atomic<bool> passingThrough{false}; // read by addAudio on the sound's thread
    RecordingOptions currentOptions;
    QElapsedTimer clock;
    QElapsedTimer pauseClock;
    QElapsedTimer cameraGoneClock;
    qint64 pausedMs = 0; // over the pauses that ended
    bool paused = false;
    State currentState = State::Idle;
    QString currentPath;
    QPointer<CameraBase> source;
    CameraBase::FrameCounts countsAtStart;
    CameraBase::FrameCounts cameraCounts; // over the recording, as far as the camera was detached
    QString endReport;
    Orientation currentOrientation;
    bool failed = false; // the running recording reported an error
};
