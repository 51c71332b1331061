#include "recordingcontroller.h"

#include "camerabase.h"
#include "filenaming.h"
#include "videowriterthread.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
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

constexpr int motionJpeg = 'M' | ('J' << 8) | ('P' << 16) | ('G' << 24);

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

RecordingController::RecordingController(QLabel *timeLabel, QLabel *indicator, QObject *parent,
                                         VideoWriterThread *writer)
    : QObject(parent)
    , timeLabel(timeLabel)
    , indicator(indicator)
    , writerThread(writer ? writer : new VideoWriterThread)
    , recordingTimer(new QTimer(this))
{
    writerThread->setParent(this);
    connect(recordingTimer, &QTimer::timeout, this, &RecordingController::updateRecordingTime);
}

// The writer, a child, is deleted after this body: its destructor finishes a running file, so
// closing the window still leaves a complete recording.
RecordingController::~RecordingController()
{
    if (currentState == State::Recording) {
        detachCamera();
        writerThread->requestStop();
    }
}

bool RecordingController::startWriter(VideoWriterThread *writer, const QString &path,
                                      const QImage &firstFrame, double fps,
                                      const Orientation &orientation, CameraBase *camera)
{
    if (firstFrame.isNull())
        return false;
    // The default folders do not exist on every desktop; a folder that cannot be made is
    // reported by the writer when it cannot open the file.
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QSize frameSize = orientation.apply(firstFrame.size());
    if (!writer->startWriting(path, motionJpeg, fps > 0 ? fps : 30.0, frameSize))
        return false;
    // Mirroring and rotating happen on the writer's encode threads.
    writer->setFrameTransform(orientation.isIdentity() ? VideoWriterThread::FrameTransform()
                                                       : [orientation](const QImage &frame) {
                                                             return orientation.apply(frame);
                                                         });
    writer->start();
    // A recording stopped before the camera delivers again still holds the picture of its start.
    writer->addFrame(firstFrame);
    // A picture that needs no turning takes the camera's own JPEG where it has one, every frame
    // of it, however far the display falls behind.
    if (camera) {
        camera->setRecordingTap(
            [writer](const QImage &rgb, const QByteArray &jpeg) {
                if (rgb.isNull())
                    writer->addEncodedFrame(jpeg);
                else
                    writer->addFrame(rgb);
            },
            orientation.isIdentity() ? CameraBase::TapInput::CameraJpeg
                                     : CameraBase::TapInput::Picture);
    }
    return true;
}

bool RecordingController::start(const QString &path, const QImage &firstFrame, double fps,
                                const Orientation &orientation, CameraBase *camera)
{
    if (currentState != State::Idle ||
        !startWriter(writerThread, path, firstFrame, fps, orientation, camera))
        return false;
    source = camera;
    currentPath = path;
    failed = false;
    recordingElapsed.start();
    recordingTimer->start(500);
    blinkCounter = 1;
    indicator->setStyleSheet(indicatorStartStyle);
    showOverlays(true);
    setState(State::Recording);
    return true;
}

QString RecordingController::choosePath(QWidget *dialogParent, const AppSettings &settings)
{
    // The dialog opens in the recordings folder, which may not exist yet.
    QDir().mkpath(settings.recordingDirectory);
    const QString generated =
        FileNaming::recordingPath(settings.recordingDirectory, QDateTime::currentDateTime());
    if (settings.autoSaveWithDefaultName)
        return FileNaming::firstFreePath(generated);
    return QFileDialog::getSaveFileName(dialogParent, tr("Save Video Recording"), generated,
                                        tr("Video Files (*.avi)"));
}

void RecordingController::updateRecordButton(QPushButton *button, bool cameraLive) const
{
    const bool recording = currentState == State::Recording;
    button->setEnabled(cameraLive && currentState != State::Finishing);
    button->setChecked(recording);
    button->setText(recording                          ? tr("Stop Recording")
                    : currentState == State::Finishing ? tr("Finishing…")
                                                       : tr("Record"));
    button->setStyleSheet(recording ? recordButtonActiveStyle : QString());
}

void RecordingController::stop()
{
    if (currentState != State::Recording)
        return;
    detachCamera();
    writerThread->requestStop();
    timeLabel->setText(tr("00:00"));
    indicator->setStyleSheet(indicatorRedStyle);
    showOverlays(false);
    setState(State::Finishing);
}

void RecordingController::handleWriterError(const QString &error)
{
    qWarning() << "Video writer error:" << error;
    if (currentState == State::Idle)
        return;
    // The writer ends by itself after an error; its file is finished with what it holds. The
    // time keeps its last text and the dot its last look.
    failed = true;
    detachCamera();
    showOverlays(false);
    setState(State::Finishing);
    emit notificationRequested(tr("Recording error occurred") + QLatin1Char('\n') + error, false);
}

void RecordingController::handleWriterFinished()
{
    if (currentState == State::Idle)
        return;
    if (!failed) {
        emit notificationRequested(tr("Recording saved: %1").arg(QFileInfo(currentPath).fileName()),
                                   true);
    }
    currentPath.clear();
    setState(State::Idle);
}

// The tap is gone once this returns: no frame of the camera reaches the writer afterwards.
void RecordingController::detachCamera()
{
    if (source)
        source->setRecordingTap({});
    source = nullptr;
}

void RecordingController::setState(State state)
{
    if (state != State::Recording)
        recordingTimer->stop();
    currentState = state;
    emit stateChanged(state);
}

void RecordingController::showOverlays(bool shown)
{
    timeLabel->setVisible(shown);
    indicator->setVisible(shown);
}

void RecordingController::updateRecordingTime()
{
    timeLabel->setText(formatRecordingTime(recordingElapsed.elapsed()));
    blinkCounter = (blinkCounter + 1) % 2;
    indicator->setStyleSheet(blinkCounter == 1 ? indicatorRedStyle : indicatorHiddenStyle);
}
