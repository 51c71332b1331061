#include "capturesession.h"

#include "appsettings.h"
#include "camerabase.h"
#include "controlkeeper.h"
#include "framediagnostics.h"
#include "framehandover.h"
#include "overlaypainter.h"
#include "publisher.h"
#include "soundcapture.h"
#include "stillcapture.h"

#include <QPainter>

CaptureSession::CaptureSession(QObject *parent, VideoWriterThread *writer)
    : QObject(parent)
    , handOver(new FrameHandOver(this))
    , frameDiagnostics(std::make_shared<FrameDiagnostics>())
    , recording(new Recorder(this, writer))
    , stillCapture(new StillCapture(this))
    , soundCapture(new SoundCapture(recording, this))
    , publishing(new Publisher(this))
{
    connect(handOver, &FrameHandOver::frameAvailable, this, &CaptureSession::onFrameAvailable);
    connect(handOver, &FrameHandOver::fpsAvailable, this,
            [this] { emit fpsChanged(handOver->takeFps()); });
}

CaptureSession::~CaptureSession()
{
    // The sound's thread hands its chunks to the recorder: it ends first.
    delete soundCapture;
    stopPublishing();
    recording->stop();
    if (cameraDevice)
        cameraDevice->stopCapture();
}

void CaptureSession::setCamera(CameraBase *camera)
{
    Q_ASSERT(!cameraDevice && camera);
    cameraDevice = camera;
    cameraDevice->setParent(this);
    keeper = new ControlKeeper(cameraDevice, this);
    FrameHandOver *target = handOver;
    // The display needs a picture only as large as the view; snapshots and recordings take the
    // camera's frames at full size by their own ways.
    cameraDevice->setViewFrameCallback([target](const QImage &frame) { target->postFrame(frame); });
    applyViewSize();
    cameraDevice->setFpsCallback([target](double fps) { target->postFps(fps); });
    cameraDevice->setFrameFactsCallback(
        [diagnostics = frameDiagnostics](const CameraBase::FrameFacts &facts) {
            diagnostics->addFrame(facts);
        });
    connect(cameraDevice, &CameraBase::cameraDisconnected, this,
            &CaptureSession::onCameraDisconnected);
}

QString CaptureSession::cameraId() const
{
    return cameraDevice ? cameraDevice->cameraId(cameraDevice->currentCameraIndex()) : QString();
}

bool CaptureSession::isRunning() const
{
    return cameraDevice && cameraDevice->isCapturing();
}

bool CaptureSession::start()
{
    if (isRunning())
        return true;
    if (!cameraDevice || !cameraDevice->startCapture())
        return false;
    const QString id = cameraId();
    AppSettings::restoreCameraProperties(id, cameraDevice);
    const ControlProfiles profiles = AppSettings::controlProfiles(id);
    profiles.applyStartProfile(cameraDevice);
    keeper->setEnabled(profiles.keepsValues());
    keeper->keepCurrent();
    AppSettings::storeLastCameraId(id);
    // Only a format the camera has run in is worth selecting again next time.
    AppSettings::storeCameraFormat(id, cameraDevice->currentFormat());
    recording->resumeWithCamera(cameraDevice);
    emit runningChanged(true);
    return true;
}

void CaptureSession::stop()
{
    recording->stop();
    stopCamera();
}

void CaptureSession::stopCamera()
{
    stopPublishing();
    const bool wasRunning = isRunning();
    if (cameraDevice)
        cameraDevice->stopCapture();
    forgetFrames();
    if (wasRunning)
        emit runningChanged(false);
}

void CaptureSession::setOrientation(const Orientation &orientation)
{
    currentOrientation = orientation;
    applyViewSize();
    emit orientationChanged(orientation);
}

void CaptureSession::setViewSize(QSize devicePixels)
{
    viewSize = devicePixels;
    applyViewSize();
}

// The camera decodes before the picture is turned: a quarter turn swaps what must be covered.
void CaptureSession::applyViewSize()
{
    if (cameraDevice)
        cameraDevice->setViewSize(currentOrientation.angle % 180 ? viewSize.transposed()
                                                                 : viewSize);
}

bool CaptureSession::startRecording(const QString &path)
{
    if (!isRunning())
        return false;
    RecordingOptions options = recordingOptions;
    options.audio = soundCapture->format();
    if (!recording->start(path, cameraDevice->latestFrame(), cameraDevice->currentFormat().fps,
                          currentOrientation, cameraDevice, options))
        return false;
    if (options.hasSound())
        soundCapture->begin();
    return true;
}

void CaptureSession::stopRecording()
{
    recording->stop();
}

bool CaptureSession::startPublishing(const QString &url)
{
    stopPublishing();
    if (!isRunning())
        return false;
    const CameraBase::CameraFormat format = cameraDevice->currentFormat();
    Publisher::Settings settings;
    settings.url = url;
    settings.fps = format.fps > 0 ? format.fps : 30.0;
    settings.size = currentOrientation.apply(QSize(format.width, format.height));
    settings.cameraH264 = cameraDevice->deliversH264() && currentOrientation.isIdentity();
    if (!currentOrientation.isIdentity())
        settings.transform = [orientation = currentOrientation](const QImage &frame) {
            return orientation.apply(frame);
        };
    if (!publishing->start(settings))
        return false;
    // The publisher's own tap: a recording beside it keeps every frame it gets.
    Publisher *target = publishing;
    if (settings.cameraH264)
        cameraDevice->setCompressedTap(
            [target](const CameraBase::CompressedFrame &frame) { target->addCompressed(frame); },
            CameraBase::TapUser::Publishing);
    else
        cameraDevice->setRecordingTap(
            [target](const QImage &rgb, const QByteArray &, qint64) { target->addPicture(rgb); },
            CameraBase::TapInput::Picture, CameraBase::TapUser::Publishing);
    return true;
}

void CaptureSession::stopPublishing()
{
    if (cameraDevice) {
        cameraDevice->setRecordingTap({}, CameraBase::TapInput::Picture,
                                      CameraBase::TapUser::Publishing);
        cameraDevice->setCompressedTap({}, CameraBase::TapUser::Publishing);
    }
    publishing->stop();
}

bool CaptureSession::takeSnapshot(const QString &path)
{
    if (!isRunning() || !frameShown)
        return false;
    // The camera, a child set after the stills, is deleted after them, and their destructor
    // waits for the worker.
    CameraBase *camera = cameraDevice;
    if (!snapshotMarks.burnIntoSnapshots || !snapshotMarks.anyShown()) {
        stillCapture->save([camera] { return camera->latestFrame(); }, currentOrientation, path);
        return true;
    }
    // The marks lie on the turned picture: it is turned before they are drawn.
    stillCapture->save(
        [camera, orientation = currentOrientation, marks = snapshotMarks] {
            QImage picture = orientation.apply(camera->latestFrame());
            if (!picture.isNull()) {
                QPainter painter(&picture);
                OverlayPainter::paint(painter, marks, QSizeF(picture.size()), QTransform());
            }
            return picture;
        },
        Orientation(), path);
    return true;
}

void CaptureSession::onFrameAvailable()
{
    const QImage frame = handOver->takeFrame();
    // A frame that was on its way when the camera stopped or was lost is not shown.
    if (isRunning() && !frame.isNull()) {
        frameShown = true;
        emit frameAvailable(frame);
    }
}

void CaptureSession::onCameraDisconnected(const QString &reason)
{
    if (!isRunning())
        return;
    const bool recordingRuns = recording->state() == Recorder::State::Recording;
    // The camera reports the loss before it stops itself; the session stops it first, so that
    // whoever hears of the loss finds it stopped.
    if (recordingRuns && recording->isTimelapse()) {
        recording->holdWithoutCamera();
        stopCamera();
        emit cameraLost(reason, QString());
        return;
    }
    stop();
    emit cameraLost(reason, recordingRuns ? recording->path() : QString());
}

void CaptureSession::forgetFrames()
{
    handOver->clear();
    frameShown = false;
}
