#pragma once

#include "appsettings.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

class CameraBase;
class QLabel;
class QPushButton;
class QTimer;
class VideoWriterThread;

// One recording's life from the window's side: the writer's start, the frames it is fed, the
// blinking dot and the time over the picture, and the notices at the end. Stopping never waits
// for the file: the controller stays Finishing until the writer has closed it, and only then
// says "Recording saved". GUI thread only.
class RecordingController : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Idle,
        Recording,
        Finishing,
    };

    // The two labels are the overlays this controller drives; they are not owned. Without a
    // writer the controller makes its own.
    RecordingController(QLabel *timeLabel, QLabel *indicator, QObject *parent = nullptr,
                        VideoWriterThread *writer = nullptr);
    ~RecordingController() override;

    // Starts writing path at fps with frames the size of firstFrame once oriented, beginning
    // with firstFrame. Every later frame of camera (when given) comes straight from its capture
    // thread, never through the GUI; a Motion-JPEG camera's own JPEG goes into the file untouched
    // when the picture needs no turning. The orientation stays that of the start until the
    // recording ends, whatever the window does meanwhile, so every frame keeps the file's size.
    bool start(const QString &path, const QImage &firstFrame, double fps,
               const Orientation &orientation, CameraBase *camera = nullptr);
    // Recording: asks the writer to finish and returns at once.
    void stop();

    // Starts writer on path as start() describes; the camera's tap is left in place.
    static bool startWriter(VideoWriterThread *writer, const QString &path,
                            const QImage &firstFrame, double fps, const Orientation &orientation,
                            CameraBase *camera);
    // The file for a recording started now: a free generated name, or the one chosen in the
    // save dialog (empty when it was cancelled).
    static QString choosePath(QWidget *dialogParent, const AppSettings &settings);
    // The record button's look and use in the current state.
    void updateRecordButton(QPushButton *button, bool cameraLive) const;

    State state() const { return currentState; }
    QString path() const { return currentPath; }
    VideoWriterThread *writer() const { return writerThread; }

    // The writer's reports; the window forwards them here.
    void handleWriterError(const QString &error);
    void handleWriterFinished();

signals:
    void stateChanged(RecordingController::State state);
    // folder: where a saved file went, for the notice to show and open; empty otherwise.
    void notificationRequested(const QString &message, bool success, const QString &folder = {});

private:
    void detachCamera();
    void setState(State state);
    void showOverlays(bool shown);
    void updateRecordingTime();

    QLabel *timeLabel;
    QLabel *indicator;
    VideoWriterThread *writerThread;
    QTimer *recordingTimer;
    QElapsedTimer recordingElapsed;
    int blinkCounter = 0;
    State currentState = State::Idle;
    QString currentPath;
    QPointer<CameraBase> source;
    bool failed = false; // the running recording reported an error: no success notice follows
};

// Recording time as shown in the overlay: minutes and seconds, each at least two digits.
QString formatRecordingTime(qint64 elapsedMs);
