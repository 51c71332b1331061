#pragma once

#include "camerabase.h"
#include "captureloop.h"
#include "streamproperties.h"

#include <QImage>
#include <QList>
#include <QMutex>
#include <QStringList>

#include <cstdint>
#include <memory>

class QTimer;

// The camera over the capture library: device discovery, format lists, the capture threads of the
// running stream, rate measurement, the report of a vanished device (noticed by the capture
// itself, and by a watch for a device that goes while no frame is awaited), and the image
// properties mapped onto each device's own ranges. Every operation runs on the GUI thread except
// latestFrame() (any thread) and what the capture threads call (deliverFrame()).
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
    void setBrightness(double value) override;
    double brightness() override;
    void resetBrightness() override;
    void setContrast(double value) override;
    double contrast() override;
    void resetContrast() override;
    void setSharpness(double value) override;
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
    void forgetLatestFrame();
    // GUI thread: the capture of run found its stream ended; reported like the watch's finding,
    // unless that run is over or the loss has been reported already.
    void captureEnded(quint64 run, bool deviceGone);
    // Reports the loss through cameraDisconnected() and stops capture.
    void reportLoss(Failure cause);
    // Capture threads, one at a time: a new picture for the display, the recording and the rate.
    void deliverFrame(const QImage &frame, const QByteArray &jpeg);

    ContextHandle captureContext;
    int deviceIndex = -1;
    int streamId = -1; // written by the GUI thread only while no capture threads run
    // Counts the runs, so that a late report of an earlier run is told apart; written by the GUI
    // thread only while no capture threads run.
    quint64 captureRun = 0;
    QStringList cameraIds; // of the last scan, in its order
    QList<CameraFormat> formatList;
    CameraFormat activeFormat;
    QMutex frameMutex; // guards latestImage
    QImage latestImage;
    QTimer *connectionTimer = nullptr; // child of this object
    bool reportingLoss = false;        // cameraDisconnected() is being emitted
    double brightnessValue = 0.0;
    double contrastValue = 1.0;
    CaptureLoop captureLoop; // last: its threads use the members above
};
