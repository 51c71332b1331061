#pragma once

#include "commandline.h"

#include <QObject>
#include <QTimer>

class CaptureSession;

// The command line's work without a window: listing cameras and formats, and recording or
// saving a picture from the chosen camera. Messages go to the terminal, one line each.
class CommandLineSession : public QObject
{
    Q_OBJECT

public:
    // The camera and format the command line names, once found.
    struct Choice
    {
        int camera = -1;
        int format = -1;
    };

    explicit CommandLineSession(const CommandLine &commandLine, QObject *parent = nullptr);
    ~CommandLineSession() override;

    // Finds the camera and the format; on failure prints why and returns nothing.
    std::optional<Choice> resolve();
    // Runs the action: list actions return their exit code, recording and snapshot return -1
    // and report through finished() when done.
    int run();

public slots:
    // SIGINT or SIGTERM: a recording ends with a finished file.
    void interrupt();

signals:
    void finished(int exitCode);

private:
    // Whether path can be written; prints why not.
    bool canWrite(const QString &path);
    void onFirstFrame();
    void startRecording();
    void stopRecording();
    void onCameraLost(const QString &reason);
    void onRecordingFinished(bool saved);
    void printProgress();
    // The end of --diagnose: the report on standard output.
    void finishDiagnosis();
    void fail(const QString &reason);

    CommandLine commandLine;
    CaptureSession *session;
    QStringList cameraNames;
    QTimer progressTimer;
    QTimer durationTimer;
    QTimer firstFrameTimer;
    QString writerError;
    bool done = false;
    bool outputLost = false; // a progress line could not be written
};
