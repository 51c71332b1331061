#include "recordingcontroller.h"

#include "capturesession.h"
#include "filenaming.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

const QString indicatorRedStyle = QStringLiteral(
    "QLabel { color: red; font-size: 20px; font-weight: bold; background: transparent; }");
const QString indicatorStartStyle =
    QStringLiteral("QLabel {font-size: 20px; font-weight: bold; background: transparent; }");
const QString indicatorHiddenStyle = QStringLiteral(
    "QLabel { color: transparent; font-size: 20px; font-weight: bold; background: transparent; }");

const QString recordButtonActiveStyle =
    QStringLiteral("QPushButton {background-color: white; color: red; font-weight: bold; }");

} // namespace

QString formatRecordingTime(qint64 elapsedMs)
{
    const qint64 seconds = elapsedMs / 1000;
    const qint64 minutes = seconds / 60;
    const qint64 rest = seconds - 60 * minutes;
    return QCoreApplication::translate("RecordingController", "%1:%2")
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(rest, 2, 10, QLatin1Char('0'));
}

RecordingController::RecordingController(Recorder *recorder, QLabel *timeLabel, QLabel *indicator,
                                         QLabel *detailLabel, QObject *parent)
    : QObject(parent)
    , recorder(recorder)
    , timeLabel(timeLabel)
    , indicator(indicator)
    , detailLabel(detailLabel)
    , recordingTimer(new QTimer(this))
{
    connect(recordingTimer, &QTimer::timeout, this, &RecordingController::updateRecordingTime);
    connect(recorder, &Recorder::stateChanged, this, &RecordingController::onStateChanged);
    connect(recorder, &Recorder::errorOccurred, this, &RecordingController::onError);
    connect(recorder, &Recorder::finished, this, &RecordingController::onFinished);
    connect(recorder, &Recorder::limitReached, this, &RecordingController::onLimitReached);
    connect(recorder, &Recorder::pausedChanged, this, &RecordingController::updateRecordingTime);
}

QString RecordingController::choosePath(QWidget *dialogParent, const AppSettings &settings)
{
    // The dialog opens in the recordings folder, which may not exist yet.
    QDir().mkpath(settings.recordingDirectory);
    const QString suffix = settings.recordingSuffix();
    const QString generated = FileNaming::recordingPath(settings.recordingDirectory,
                                                        QDateTime::currentDateTime(), suffix);
    if (settings.autoSaveWithDefaultName)
        return FileNaming::firstFreePath(generated);
    return FileNaming::withSuffix(
        QFileDialog::getSaveFileName(dialogParent, tr("Save Video Recording"), generated,
                                     tr("Video Files (*.%1)").arg(suffix)),
        suffix, {suffix});
}

void RecordingController::startRecording(QWidget *dialogParent, CaptureSession *session,
                                         const AppSettings &settings)
{
    const QString path = choosePath(dialogParent, settings);
    // The camera may have been lost while the dialog was open.
    if (path.isEmpty() || !session->isRunning())
        return;
    if (!session->hasFrame()) {
        emit notificationRequested(tr("No camera frame available"), false);
        return;
    }
    session->setRecordingOptions(settings.recordingOptions());
    if (!session->startRecording(path))
        emit notificationRequested(tr("Recording start failed"), false);
}

void RecordingController::setPauseButton(QPushButton *button)
{
    pauseButton = button;
    connect(button, &QPushButton::clicked, this, &RecordingController::togglePause);
    connect(recorder, &Recorder::stateChanged, this, &RecordingController::updatePauseButton);
    connect(recorder, &Recorder::pausedChanged, this, &RecordingController::updatePauseButton);
    updatePauseButton();
}

void RecordingController::togglePause()
{
    recorder->setPaused(!recorder->isPaused());
    updatePauseButton();
}

void RecordingController::updatePauseButton()
{
    if (!pauseButton)
        return;
    pauseButton->setEnabled(recorder->state() == Recorder::State::Recording);
    pauseButton->setChecked(recorder->isPaused());
    pauseButton->setText(recorder->isPaused() ? tr("Resume") : tr("Pause"));
}

QString RecordingController::detailText(const Recorder &recorder)
{
    if (recorder.state() != Recorder::State::Recording)
        return QString();
    QStringList parts;
    if (recorder.isPaused())
        parts << tr("Paused");
    if (recorder.isTimelapse()) {
        parts << tr("%n frame(s)", nullptr, recorder.statistics().framesWritten);
        if (recorder.isHeldWithoutCamera())
            parts << tr("waiting for the camera");
        else if (!recorder.isPaused())
            parts << tr("next in %1 s").arg((recorder.msToNextTimelapseFrame() + 999) / 1000);
    }
    const qint64 remaining = recorder.remainingMs();
    const qint64 minutes = remaining / 60000;
    if (minutes >= 100 * 60)
        parts << tr("over 99 hours left");
    else if (remaining >= 0)
        parts << tr("%1:%2 left").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return parts.join(QStringLiteral(" · "));
}

void RecordingController::updateRecordButton(QPushButton *button, bool cameraLive) const
{
    const Recorder::State state = recorder->state();
    const bool recording = state == Recorder::State::Recording;
    // A time-lapse waiting for its lost camera can still be stopped.
    button->setEnabled((cameraLive || recording) && state != Recorder::State::Finishing);
    button->setChecked(recording);
    button->setText(recording                             ? tr("Stop Recording")
                    : state == Recorder::State::Finishing ? tr("Finishing…")
                                                          : tr("Record"));
    button->setStyleSheet(recording ? recordButtonActiveStyle : QString());
}

void RecordingController::onStateChanged(Recorder::State state)
{
    switch (state) {
    case Recorder::State::Recording:
        recordingTimer->start(500);
        emit recordingTimeChanged(formatRecordingTime(0));
        blinkCounter = 1;
        indicator->setStyleSheet(indicatorStartStyle);
        showOverlays(true);
        break;
    case Recorder::State::Finishing:
        recordingTimer->stop();
        timeLabel->setText(tr("00:00"));
        indicator->setStyleSheet(indicatorRedStyle);
        showOverlays(false);
        break;
    case Recorder::State::Idle:
        recordingTimer->stop();
        break;
    }
}

void RecordingController::onError(const QString &error)
{
    emit notificationRequested(tr("Recording error occurred") + QLatin1Char('\n') + error, false);
}

void RecordingController::onFinished(const QString &path, bool saved)
{
    if (saved) {
        const QFileInfo file(path);
        emit notificationRequested(tr("Recording saved: %1").arg(file.fileName()) +
                                       QLatin1Char('\n') + recorder->report(),
                                   true, file.absolutePath());
    }
}

void RecordingController::onLimitReached(RecordingLimit limit)
{
    emit notificationRequested(limit == RecordingLimit::Size
                                   ? tr("The recording reached its size limit and was stopped.")
                                   : tr("The recording was stopped: the disk is nearly full."),
                               false);
}

void RecordingController::showOverlays(bool shown)
{
    timeLabel->setVisible(shown);
    indicator->setVisible(shown);
    detailLabel->setVisible(shown && !detailLabel->text().isEmpty());
}

void RecordingController::updateRecordingTime()
{
    detailLabel->setText(detailText(*recorder));
    detailLabel->setVisible(!detailLabel->text().isEmpty());
    timeLabel->setText(formatRecordingTime(recorder->elapsedMs()));
    emit recordingTimeChanged(timeLabel->text());
    blinkCounter = (blinkCounter + 1) % 2;
    indicator->setStyleSheet(blinkCounter == 1 ? indicatorRedStyle : indicatorHiddenStyle);
}
