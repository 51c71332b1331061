#pragma once

#include "commandline.h"
#include "publisher.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class CaptureSession;
class DeviceWatcher;

// The command line's work without a window: listing cameras and formats, and recording or
// saving a picture from the chosen camera. Messages go to the terminal, one line each.
class CommandLineSession : public QObject
{
    Q_OBJECT

public:
    explicit CommandLineSession(const CommandLine &commandLine, QObject *parent = nullptr);
    ~CommandLineSession() override;

    // Runs the action: list actions return their exit code, recording and snapshot return -1
    // and report through finished() when done.
    int run();

public slots:
    // SIGINT or SIGTERM: a recording ends with a finished file.
    void interrupt();
    // SIGUSR1: a recording pauses, or goes on.
    void togglePause();

signals:
    void finished(int exitCode);

private:
    void onFirstFrame();
    void startRecording();
    // Ends the recording (and publishing with it once the file is finished), or publishing
    // alone.
    void stopOutputs();
    void startPublishing();
    void onPublishingState(Publisher::State state, const QString &error);
    void finishPublishing();
    void onCameraLost(const QString &reason);
    // A time-lapse waits for its lost camera: it is started again once it is back.
    void restartReturnedCamera();
    void onLimitReached(RecordingLimit limit);
    void onRecordingFinished(bool saved);
    void printProgress();
    // The end of --diagnose: the report on standard output.
    void finishDiagnosis();
    // --serve: starts the server; 0, or the exit code of the failure (printed).
    int startServing();
    // The end of --serve alone.
    void finishServing();
    void fail(const QString &reason);

    CommandLine commandLine;
    CaptureSession *session;
    QStringList cameraNames;
    QString cameraId;                       // of the camera in use, to find it again
    DeviceWatcher *deviceWatcher = nullptr; // while a time-lapse waits for its camera
    QTimer progressTimer;
    QTimer durationTimer;
    QTimer firstFrameTimer;
    QString writerError;
    QString publishError; // publishing could not start beside the recording
    QElapsedTimer publishClock;
    bool done = false;
    bool outputLost = false;    // a progress line could not be written
    int pausedRemainingMs = -1; // of --duration, while paused
};
