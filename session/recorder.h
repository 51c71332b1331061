#pragma once

#include "camerabase.h"
#include "orientation.h"
#include "videowriterthread.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>

class CameraBase;

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
    bool start(const QString &path, const QImage &firstFrame, double fps,
               const Orientation &orientation, CameraBase *camera = nullptr);
    // Recording: asks the writer to finish and returns at once.
    void stop();

    State state() const { return currentState; }
    QString path() const { return currentPath; }
    qint64 elapsedMs() const;
    WriterStatistics statistics() const { return writerThread->statistics(); }
    // The end line of the recording finished last: the frames written and where camera frames
    // were lost; empty before the first.
    QString report() const { return endReport; }
    VideoWriterThread *writer() const { return writerThread; }

signals:
    void stateChanged(Recorder::State state);
    // The recording ended with an error; the file is finished with what reached it.
    void errorOccurred(const QString &error);
    // The file is closed and the recorder Idle again; saved is false after an error.
    void finished(const QString &path, bool saved);

private:
    void onWriterError(const QString &error);
    void onWriterFinished();
    // Stops the camera's frames reaching the writer and notes the camera's counts over the
    // recording.
    void detachCamera();
    void setState(State state);

    VideoWriterThread *writerThread;
    QElapsedTimer clock;
    State currentState = State::Idle;
    QString currentPath;
    QPointer<CameraBase> source;
    CameraBase::FrameCounts countsAtStart;
    CameraBase::FrameCounts cameraCounts; // over the recording, once the camera is detached
    QString endReport;
    bool failed = false; // the running recording reported an error
};
