#pragma once

#include "camerabase.h"
#include "captureloop.h"
#include "controlwatcher.h"
#include "newestframe.h"
#include "streamproperties.h"

#include <QImage>
#include <QList>
#include <QMutex>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class QTimer;

// The camera over the capture library: device discovery, format lists, the capture threads of the
// running stream, rate measurement, the report of a vanished device (noticed by the capture
// itself, and by a watch for a device that goes while no frame is awaited), the image properties
// in each device's own units, and a thread that hears of property changes made elsewhere. Every
// operation runs on the GUI thread except latestFrame() (any thread) and what the capture threads
// call (deliverFrame()).
class OpenPNPCamera : public CameraBase
{
    Q_OBJECT

public:
    explicit OpenPNPCamera(QObject *parent = nullptr);
    ~OpenPNPCamera() override;

    OpenPNPCamera(const OpenPNPCamera &) = delete;
    OpenPNPCamera &operator=(const OpenPNPCamera &) = delete;

    bool startCapture() override;
    void stopCapture() override;
    QStringList availableCameras() override;
    int currentCameraIndex() const override;
    QString cameraId(int index) const override;
    bool openCamera(int index) override;
    QList<CameraFormat> supportedFormats() const override;
    bool setFormat(const CameraFormat &format) override;
    CameraFormat currentFormat() const override;
    QList<PropertyRange> properties() override;
    std::optional<int> propertyValue(Property property) override;
    std::optional<bool> propertyAuto(Property property) override;
    bool setPropertyValue(Property property, int value) override;
    bool setPropertyAuto(Property property, bool automatic) override;
    QImage latestFrame() override;
    FrameCounts frameCounts() const override { return captureLoop.counts(); }

public slots:
    // Connection watch: a stream whose device the library reports as not found any more is
    // reported through cameraDisconnected() and capture stops.
    void checkCameraConnection() override;

signals:
    // Internal hand-overs from the capture and control threads to the GUI thread, queued: the
    // capture of run found its stream ended; control changes wait in pendingChanges.
    void streamEndedOnCaptureThread(quint64 run, bool deviceGone);
    void controlChangesWaiting();

private:
    // Releases the library context when the handle goes.
    struct ContextRelease
    {
        void operator()(void *context) const;
    };
    using ContextHandle = std::unique_ptr<void, ContextRelease>;

    // A view of the open stream's image properties.
    StreamProperties streamProperties() const;
    // Stops the watch, ends the capture threads and closes the stream.
    void haltCapture();
    void refreshFormats();
    bool reopenStream();
    // Opens activeFormat on the current device; false with failure set when it cannot.
    bool openStream();
    void startCaptureThreads();
    // GUI thread: the capture of run found its stream ended; reported like the watch's finding,
    // unless that run is over or the loss has been reported already.
    void captureEnded(quint64 run, bool deviceGone);
    // GUI thread: emits propertyChanged() for every change waiting, while capturing.
    void deliverControlChanges();
    // Reports the loss through cameraDisconnected() and stops capture.
    void reportLoss(Failure cause);
    // Capture threads, one at a time: a new picture for the display, the recording and the rate.
    void deliverFrame(const QImage &frame, const QByteArray &jpeg, qint64 timestampUs);
    // Decode thread: the scale of the next Motion-JPEG frame's picture.
    uint32_t decodeScale() const;

    ContextHandle captureContext;
    int deviceIndex = -1;
    int streamId = -1; // written by the GUI thread only while no capture threads run
    // Counts the runs, so that a late report of an earlier run is told apart; written by the GUI
    // thread only while no capture threads run.
    quint64 captureRun = 0;
    struct ControlChange
    {
        Property property;
        int value;
        bool automatic;
    };
    std::mutex changesMutex; // guards pendingChanges
    std::vector<ControlChange> pendingChanges;
    QStringList cameraIds; // of the last scan, in its order
    QList<CameraFormat> formatList;
    CameraFormat activeFormat;
    QSize streamSize; // the running stream's frame size; written while no capture threads run
    NewestFrame newest;
    QTimer *connectionTimer = nullptr; // child of this object
    bool reportingLoss = false;        // cameraDisconnected() is being emitted
    CaptureLoop captureLoop;           // its threads use the members above
    ControlWatcher controlWatcher;     // hands changes to the GUI thread through the event queue
};
