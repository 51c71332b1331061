#include "openpnpcamera.h"

#include "capture.h"

#include <QLoggingCategory>
#include <QMutexLocker>
#include <QTimer>
#include <QtGlobal>

#include <cstdint>
#include <optional>

namespace {

constexpr int connectionCheckIntervalMs = 3000;

// The capture library's own lines: its warnings and errors show by default, the rest on request
// (QT_LOGGING_RULES="ostrel.capture.debug=true"). Called on whichever thread made the call.
Q_LOGGING_CATEGORY(captureLog, "ostrel.capture", QtWarningMsg)

void logCaptureMessage(uint32_t level, const char *message)
{
    if (level <= LOG_WARNING)
        qCWarning(captureLog, "%s", message);
    else if (level <= LOG_INFO)
        qCInfo(captureLog, "%s", message);
    else
        qCDebug(captureLog, "%s", message);
}

CameraBase::Failure failureOf(uint32_t error)
{
    switch (error) {
    case CAPERROR_GONE:
        return CameraBase::Failure::Unplugged;
    case CAPERROR_BUSY:
        return CameraBase::Failure::Busy;
    case CAPERROR_ACCESS:
        return CameraBase::Failure::NoPermission;
    case CAPERROR_TOOLARGE:
        return CameraBase::Failure::ModeTooLarge;
    default:
        return CameraBase::Failure::Other;
    }
}

} // namespace

void OpenPNPCamera::ContextRelease::operator()(void *context) const
{
    Cap_releaseContext(context);
}

OpenPNPCamera::OpenPNPCamera(QObject *parent)
    : CameraBase(parent)
    , newest([this](const QByteArray &jpeg, int stream, QSize size) {
        return CaptureLoop::newFrame(size.width(), size.height(), [&](uchar *rgb, uint32_t bytes) {
            return Cap_decodeFrame(captureContext.get(), stream, jpeg.constData(),
                                   uint32_t(jpeg.size()), rgb, bytes) == CAPRESULT_OK;
        });
    })
    , captureLoop(
          [this](const QByteArray &jpeg, qint64 timestampUs) {
              recordCameraJpeg(jpeg, timestampUs);
          },
          [this](const QImage &frame, const QByteArray &jpeg, qint64 timestampUs) {
              deliverFrame(frame, jpeg, timestampUs);
          },
          // The capture thread: the report belongs to the GUI thread.
          [this](bool deviceGone) { emit streamEndedOnCaptureThread(captureRun, deviceGone); },
          [this] { return decodeScale(); },
          [this](const CompressedFrame &frame) { recordCompressed(frame); },
          [this](const FrameFacts &facts) {
              if (frameFactsCallback)
                  frameFactsCallback(facts);
          })
    , controlWatcher([this](Property property, int value, bool automatic) {
        // The control thread: the changes wait for the GUI thread, which hears of them once.
        bool first = false;
        {
            std::lock_guard lock(changesMutex);
            first = pendingChanges.empty();
            pendingChanges.push_back({property, value, automatic});
        }
        if (first)
            emit controlChangesWaiting();
    })
{
    // Queued: the receivers run on the GUI thread, and not at all once this object is gone.
    connect(this, &OpenPNPCamera::streamEndedOnCaptureThread, this, &OpenPNPCamera::captureEnded,
            Qt::QueuedConnection);
    connect(this, &OpenPNPCamera::controlChangesWaiting, this,
            &OpenPNPCamera::deliverControlChanges, Qt::QueuedConnection);
    Cap_setLogLevel(LOG_VERBOSE);
    Cap_installCustomLogFunction(logCaptureMessage);

    captureContext.reset(Cap_createContext());
    if (!captureContext)
        qWarning("Failed to create OpenPNP Capture context");

    connectionTimer = new QTimer(this);
    connectionTimer->setInterval(connectionCheckIntervalMs);
    connect(connectionTimer, &QTimer::timeout, this, &OpenPNPCamera::checkCameraConnection);
}

OpenPNPCamera::~OpenPNPCamera()
{
    // Not stopCapture(): no virtual calls while the object is being torn down.
    haltCapture();
    captureContext.reset();
}

// ---- Discovery, opening and formats ------------------------------------------------------------

QStringList OpenPNPCamera::availableCameras()
{
    QStringList names;
    cameraIds.clear();

    // Stream ids belong to the old context, so capture has to end before it goes.
    if (captureContext) {
        stopCapture();
        captureContext.reset();
    }

    captureContext.reset(Cap_createContext());
    if (!captureContext) {
        qWarning("Failed to create OpenPNP Capture context");
        return names;
    }

    // The window opens the device at the list position, so every device keeps its place: one
    // whose name cannot be read is listed under a stand-in name rather than left out.
    const uint32_t count = Cap_getDeviceCount(captureContext.get());
    for (uint32_t index = 0; index < count; ++index) {
        const char *name = Cap_getDeviceName(captureContext.get(), index);
        if (name)
            names.append(QString::fromUtf8(name));
        else
            names.append(tr("Camera %1").arg(qint64(index) + 1));
        const char *id = Cap_getDeviceUniqueID(captureContext.get(), index);
        cameraIds.append(id ? QString::fromUtf8(id) : names.last());
    }
    return names;
}

int OpenPNPCamera::currentCameraIndex() const
{
    return deviceIndex;
}

QString OpenPNPCamera::cameraId(int index) const
{
    return cameraIds.value(index);
}

bool OpenPNPCamera::openCamera(int index)
{
    if (!captureContext)
        return false;
    if (capturing)
        stopCapture();

    const int count = int(Cap_getDeviceCount(captureContext.get()));
    if (index < 0 || index >= count) {
        qWarning("Invalid camera index: %d", index);
        return false;
    }

    deviceIndex = index;
    refreshFormats();
    return true;
}

QList<CameraBase::CameraFormat> OpenPNPCamera::supportedFormats() const
{
    return formatList;
}

void OpenPNPCamera::refreshFormats()
{
    formatList.clear();
    if (!captureContext || deviceIndex < 0)
        return;

    const int32_t count = Cap_getNumFormats(captureContext.get(), deviceIndex);
    for (int32_t index = 0; index < count; ++index) {
        CapFormatInfo info{};
        if (Cap_getFormatInfo(captureContext.get(), deviceIndex, index, &info) != CAPRESULT_OK)
            continue;

        CameraFormat format;
        format.width = int(info.width);
        format.height = int(info.height);
        uint32_t numerator = 0;
        uint32_t denominator = 0;
        // The exact rate when the library knows it: a 7.5 fps mode is not an 8 fps one.
        format.fps = Cap_getFormatFrameRate(captureContext.get(), deviceIndex, index, &numerator,
                                            &denominator) == CAPRESULT_OK
                         ? double(numerator) / denominator
                         : double(info.fps);
        format.fourcc = info.fourcc;
        format.formatIndex = index;
        format.description = tr("%1x%2 @ %3 fps (%4)")
                                 .arg(info.width)
                                 .arg(info.height)
                                 .arg(format.fps, 0, 'f', 1)
                                 .arg(CameraBase::fourccText(info.fourcc));
        formatList.append(format);
    }
}

// ---- Streaming ---------------------------------------------------------------------------------

bool OpenPNPCamera::startCapture()
{
    if (!captureContext || deviceIndex < 0)
        return false;
    if (capturing)
        return false;

    if (activeFormat.width == 0 || activeFormat.height == 0) {
        if (formatList.isEmpty()) {
            qWarning("No formats available");
            failure = Failure::Other;
            return false;
        }
        activeFormat = formatList.first();
    }

    if (!openStream()) {
        qWarning("Failed to open camera stream");
        return false;
    }

    startCaptureThreads();
    connectionTimer->start();
    return true;
}

void OpenPNPCamera::stopCapture()
{
    haltCapture();
}

void OpenPNPCamera::haltCapture()
{
    connectionTimer->stop();
    capturing = false;
    captureLoop.stop();
    newest.keep();
    controlWatcher.stop();
    if (captureContext && streamId >= 0) {
        Cap_closeStream(captureContext.get(), streamId);
        streamId = -1;
    }
}

bool OpenPNPCamera::setFormat(const CameraFormat &format)
{
    if (!captureContext || deviceIndex < 0)
        return false;

    activeFormat = format;
    if (!capturing)
        return true; // takes effect at the next start
    return reopenStream();
}

CameraBase::CameraFormat OpenPNPCamera::currentFormat() const
{
    return activeFormat;
}

bool OpenPNPCamera::reopenStream()
{
    if (!captureContext || deviceIndex < 0)
        return false;

    // The connection watch keeps running: a restart is not a stop.
    if (capturing) {
        capturing = false;
        captureLoop.stop();
        newest.keep();
        controlWatcher.stop();
        if (streamId >= 0) {
            Cap_closeStream(captureContext.get(), streamId);
            streamId = -1;
        }
    }

    if (!openStream()) {
        qWarning("Failed to open camera stream with new format");
        return false;
    }

    startCaptureThreads();
    emit formatChanged(activeFormat);
    return true;
}

// A format whose frames cannot be held in one capture buffer is refused before the device is
// asked.
bool OpenPNPCamera::openStream()
{
    if (!CaptureLoop::frameBytes(activeFormat.width, activeFormat.height)) {
        failure = Failure::FrameTooLarge;
        return false;
    }
    streamId = Cap_openStream(captureContext.get(), deviceIndex, activeFormat.formatIndex);
    failure = streamId >= 0 ? Failure::None
                            : failureOf(Cap_getLastError(captureContext.get(), deviceIndex));
    return streamId >= 0;
}

void OpenPNPCamera::startCaptureThreads()
{
    capturing = true;
    ++captureRun;
    newest.forget();
    // The stream delivers the library's size for this format, whatever the chosen record says.
    // Without it no frames arrive.
    CapFormatInfo info{};
    const bool known = Cap_getFormatInfo(captureContext.get(), deviceIndex,
                                         activeFormat.formatIndex, &info) == CAPRESULT_OK;
    streamSize = QSize(int(info.width), int(info.height));
    if (!known || !captureLoop.start(captureContext.get(), streamId, streamSize.width(),
                                     streamSize.height(), fourccText(info.fourcc) == "H264"))
        qWarning("Failed to get format info");
    controlWatcher.start(captureContext.get(), streamId);
}

void OpenPNPCamera::deliverFrame(const QImage &frame, const QByteArray &jpeg, qint64 timestampUs)
{
    // A Motion-JPEG frame decoded for the view finder only is smaller than the format's size.
    const bool fullSize = frame.size() == streamSize;
    newest.store(frame, jpeg, streamId, streamSize);
    // Before the frame callback: a recording must not wait for the display.
    if (fullSize)
        recordPicture(frame, jpeg, timestampUs);
    if (frameCallback && fullSize)
        frameCallback(frame);
    if (viewFrameCallback)
        viewFrameCallback(frame);
    // Measured from the camera's timestamps: how fast frames come, not how fast they are shown.
    if (fpsCallback)
        fpsCallback(captureLoop.framesPerSecond());
}

uint32_t OpenPNPCamera::decodeScale() const
{
    // Full size for anyone who relies on the format's size, and when nobody asks for less. A tap
    // of pictures set meanwhile misses at most the frame being decoded.
    if (frameCallback || !viewFrameCallback || tapTakesPictures())
        return 1;
    return CaptureLoop::scaleDenominatorFor(streamSize, viewSize());
}

QImage OpenPNPCamera::latestFrame()
{
    // The deep copy is made outside the lock; the shared image itself is never modified.
    return newest.fullSize().copy();
}

void OpenPNPCamera::checkCameraConnection()
{
    // A receiver may run an event loop (a message box, a rescan) while it hears of the loss; a
    // check from in there must not report the same loss again.
    if (!capturing || !captureContext || streamId < 0 || reportingLoss)
        return;

    // Only a device that is gone counts as lost: a camera without a brightness control answers
    // "not supported", and a busy one may fail a query now and then.
    int32_t min = 0;
    int32_t max = 0;
    int32_t def = 0;
    if (Cap_getPropertyLimits(captureContext.get(), streamId, CAPPROPID_BRIGHTNESS, &min, &max,
                              &def) != CAPRESULT_DEVICENOTFOUND)
        return;

    reportLoss(Failure::Unplugged);
}

void OpenPNPCamera::deliverControlChanges()
{
    std::vector<ControlChange> changes;
    {
        std::lock_guard lock(changesMutex);
        changes.swap(pendingChanges);
    }
    for (const ControlChange &change : changes)
        if (capturing)
            emit propertyChanged(change.property, change.value, change.automatic);
}

void OpenPNPCamera::captureEnded(quint64 run, bool deviceGone)
{
    if (!capturing || run != captureRun || reportingLoss)
        return;
    reportLoss(deviceGone ? Failure::Unplugged : Failure::Other);
}

void OpenPNPCamera::reportLoss(Failure cause)
{
    failure = cause;
    // Receivers hear of the loss while the stream is still in place; capture ends afterwards.
    reportingLoss = true;
    emit cameraDisconnected(tr("Failed to access camera properties"));
    reportingLoss = false;
    stopCapture();
}

// ---- Image properties --------------------------------------------------------------------------
// With no stream open, setters leave everything alone and getters answer nothing.

StreamProperties OpenPNPCamera::streamProperties() const
{
    return StreamProperties(captureContext.get(), streamId);
}

QList<CameraBase::PropertyRange> OpenPNPCamera::properties()
{
    return streamProperties().supported();
}

std::optional<int> OpenPNPCamera::propertyValue(Property property)
{
    return streamProperties().value(property);
}

std::optional<bool> OpenPNPCamera::propertyAuto(Property property)
{
    return streamProperties().isAutomatic(property);
}

bool OpenPNPCamera::setPropertyValue(Property property, int value)
{
    return streamProperties().setValue(property, value);
}

bool OpenPNPCamera::setPropertyAuto(Property property, bool automatic)
{
    return streamProperties().setAutomatic(property, automatic);
}
