#pragma once

#include "appsettings.h"
#include "recorder.h"

#include <QObject>
#include <QString>

class CaptureSession;
class QLabel;
class QPushButton;
class QTimer;

// A recording as the window shows it: the blinking dot and the time over the picture, the record
// button, the file chosen, and the notices at the end. The recording itself is the session's
// recorder; this only follows it. GUI thread only.
class RecordingController : public QObject
{
    Q_OBJECT

public:
    // The labels are the overlays this controller drives; they are not owned.
    RecordingController(Recorder *recorder, QLabel *timeLabel, QLabel *indicator,
                        QLabel *detailLabel, QObject *parent = nullptr);

    // The file for a recording started now: a free generated name, or the one chosen in the
    // save dialog (empty when it was cancelled).
    static QString choosePath(QWidget *dialogParent, const AppSettings &settings);
    // Starts the session's recording as the settings say, into a file chosen as above; a
    // failure is told through a notice.
    void startRecording(QWidget *dialogParent, CaptureSession *session,
                        const AppSettings &settings);
    // The record button's look and use in the current state.
    void updateRecordButton(QPushButton *button, bool cameraLive) const;
    // The pause button follows the recording and pauses it; not owned.
    void setPauseButton(QPushButton *button);
    // Pauses a running recording, or resumes a paused one.
    void togglePause();
    // Beside the recording time: paused, the time left before a limit ends the recording, a
    // time-lapse's frames and the time to its next one, or that it waits for its camera.
    static QString detailText(const Recorder &recorder);

signals:
    // folder: where a saved file went, for the notice to show and open; empty otherwise.
    void notificationRequested(const QString &message, bool success, const QString &folder = {});
    // The running recording's time as the overlay shows it.
    void recordingTimeChanged(const QString &time);

private:
    void onStateChanged(Recorder::State state);
    void onError(const QString &error);
    void onFinished(const QString &path, bool saved);
    void onLimitReached(RecordingLimit limit);
    void showOverlays(bool shown);
    void updateRecordingTime();
    void updatePauseButton();

    Recorder *recorder;
    QLabel *timeLabel;
    QLabel *indicator;
    QLabel *detailLabel;
    QPushButton *pauseButton = nullptr;
    QTimer *recordingTimer;
    int blinkCounter = 0;
};

// Recording time as shown in the overlay: minutes and seconds, each at least two digits.
QString formatRecordingTime(qint64 elapsedMs);
