#include "recorder.h"

#include "recordingreport.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr int motionJpeg = 'M' | ('J' << 8) | ('P' << 16) | ('G' << 24);

} // namespace

Recorder::Recorder(QObject *parent, VideoWriterThread *writer)
    : QObject(parent)
    , writerThread(writer ? writer : new VideoWriterThread)
{
    writerThread->setParent(this);
    connect(writerThread, &VideoWriterThread::errorOccurred, this, &Recorder::onWriterError);
    // Only once the thread has ended is the file closed and the writer ready for the next one.
    connect(writerThread, &QThread::finished, this, &Recorder::onWriterFinished);
}

Recorder::~Recorder()
{
    if (currentState == State::Recording) {
        detachCamera();
        writerThread->requestStop();
    }
}

bool Recorder::start(const QString &path, const QImage &firstFrame, double fps,
                     const Orientation &orientation, CameraBase *camera)
{
    if (currentState != State::Idle || firstFrame.isNull())
        return false;
    // The default folders do not exist on every desktop; a folder that cannot be made is
    // reported by the writer when it cannot open the file.
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QSize frameSize = orientation.apply(firstFrame.size());
    if (!writerThread->startWriting(path, motionJpeg, fps > 0 ? fps : 30.0, frameSize))
        return false;
    // Mirroring and rotating happen on the writer's encode threads.
    writerThread->setFrameTransform(orientation.isIdentity() ? VideoWriterThread::FrameTransform()
                                                             : [orientation](const QImage &frame) {
                                                                   return orientation.apply(frame);
                                                               });
    writerThread->start();
    // A recording stopped before the camera delivers again still holds the picture of its start.
    writerThread->addFrame(firstFrame);
    cameraCounts = {};
    if (camera) {
        countsAtStart = camera->frameCounts();
        VideoWriterThread *writer = writerThread;
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
    source = camera;
    currentPath = path;
    failed = false;
    clock.start();
    setState(State::Recording);
    return true;
}

void Recorder::stop()
{
    if (currentState != State::Recording)
        return;
    detachCamera();
    writerThread->requestStop();
    setState(State::Finishing);
}

qint64 Recorder::elapsedMs() const
{
    return currentState == State::Recording ? clock.elapsed() : 0;
}

void Recorder::onWriterError(const QString &error)
{
    qWarning() << "Video writer error:" << error;
    if (currentState == State::Idle)
        return;
    // The writer ends by itself after an error; its file is finished with what it holds.
    failed = true;
    detachCamera();
    setState(State::Finishing);
    emit errorOccurred(error);
}

void Recorder::onWriterFinished()
{
    if (currentState == State::Idle)
        return;
    const QString path = currentPath;
    currentPath.clear();
    endReport = RecordingReport::endLine(cameraCounts, writerThread->statistics());
    setState(State::Idle);
    emit finished(path, !failed);
}

// The tap is gone once this returns: no frame of the camera reaches the writer afterwards.
void Recorder::detachCamera()
{
    if (source) {
        source->setRecordingTap({});
        cameraCounts = source->frameCounts().since(countsAtStart);
    }
    source = nullptr;
}

void Recorder::setState(State state)
{
    currentState = state;
    emit stateChanged(state);
}
