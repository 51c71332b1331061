#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

// The interface through which the window talks to a camera. Implementations deliver every frame
// through the frame callback and the measured rate through the fps callback, both on a capture
// thread of their own; everything else is called on the GUI thread, except latestFrame().
class CameraBase : public QObject
{
    Q_OBJECT

public:
    // One capture mode of a device.
    struct CameraFormat
    {
        int width = 0;
        int height = 0;
        double fps = 0.0;
        uint32_t fourcc = 0;  // four characters, lowest byte first
        int formatIndex = -1; // index in the device's own list; -1 = no mode
        QString description;

        // formatIndex and description do not take part; fps is compared with a relative
        // tolerance of 1e-12.
        bool operator==(const CameraFormat &other) const;
        bool operator!=(const CameraFormat &other) const { return !(*this == other); }
    };

    // Why the last start or format change failed, or why the camera was lost.
    // FrameTooLarge: the program cannot hold frames of the format's size (refused before the
    // device is asked); ModeTooLarge: the camera or its connection cannot deliver the format.
    enum class Failure { None, Unplugged, Busy, NoPermission, ModeTooLarge, FrameTooLarge, Other };
    Q_ENUM(Failure)

    // The image properties a camera may have, numbered as the capture library numbers them.
    enum class Property {
        Exposure = 1,
        Focus,
        Zoom,
        WhiteBalance,
        Gain,
        Brightness,
        Contrast,
        Saturation,
        Gamma,
        Hue,
        Sharpness,
        BacklightCompensation,
        PowerLineFrequency,
    };
    Q_ENUM(Property)

    // A property of the running camera in the device's own units.
    struct PropertyRange
    {
        Property property = Property::Exposure;
        int min = 0;
        int max = 0;
        int def = 0;
        bool hasAuto = false; // the camera can control it itself
    };

    using FrameCallback = std::function<void(const QImage &)>;
    using FpsCallback = std::function<void(double)>;
    // Every captured frame for a recording, as the tap's TapInput asks for it. Called on a capture
    // thread before the frame callback, whatever the GUI thread is doing; it must hand the frame
    // over and return, and must not call the camera.
    using RecordingTap = std::function<void(const QImage &rgb, const QByteArray &cameraJpeg)>;
    enum class TapInput {
        // The decoded picture, with the camera's own JPEG of it when the format is Motion-JPEG
        // (empty otherwise). A frame the display decode skips is not seen.
        Picture,
        // For a Motion-JPEG format the camera's own JPEG with a null picture, as soon as the
        // frame is taken: every frame, however far decoding for the display falls behind. For
        // other formats the picture, as with Picture.
        CameraJpeg,
    };

    // The four characters of a pixel code, lowest byte first, up to the first zero byte.
    static QString fourccText(uint32_t fourcc);

    explicit CameraBase(QObject *parent = nullptr);
    ~CameraBase() override;

    // Set once, before capture starts; they are read without a lock by the capture threads.
    void setFrameCallback(FrameCallback callback);
    void setFpsCallback(FpsCallback callback);
    // Any thread, also while capturing; an empty function removes the tap. Once it returns, the
    // previous tap is not running and is never called again.
    void setRecordingTap(RecordingTap tap, TapInput input = TapInput::Picture);

    virtual bool startCapture() = 0;
    virtual void stopCapture() = 0;
    virtual bool isCapturing() const;
    Failure lastFailure() const { return failure; }
    virtual QStringList availableCameras() = 0;
    virtual int currentCameraIndex() const = 0;
    // A name that stays the camera's own across runs, ports and rescans, for the camera at index
    // in the list availableCameras() gave last; empty for an unknown index.
    virtual QString cameraId(int index) const = 0;
    virtual bool openCamera(int index) = 0;
    virtual QList<CameraFormat> supportedFormats() const = 0;
    virtual bool setFormat(const CameraFormat &format) = 0;
    virtual CameraFormat currentFormat() const = 0;
    virtual void setBrightness(double value) = 0;
    virtual double brightness() = 0;
    virtual void resetBrightness() = 0;
    virtual void setContrast(double value) = 0;
    virtual double contrast() = 0;
    virtual void resetContrast() = 0;
    virtual void setSharpness(double value) = 0;
    // The properties the running camera supports, in the order of Property; empty while it
    // does not run. The values are the device's own.
    virtual QList<PropertyRange> properties() = 0;
    virtual std::optional<int> propertyValue(Property property) = 0;
    virtual std::optional<bool> propertyAuto(Property property) = 0;
    // A value set by hand switches the automatic mode off first.
    virtual bool setPropertyValue(Property property, int value) = 0;
    virtual bool setPropertyAuto(Property property, bool automatic) = 0;
    // Any thread: a deep copy of the newest frame, or a null image before the first one.
    virtual QImage latestFrame() = 0;

public slots:
    // Checks at once whether the running camera's device is still there; a lost one is
    // reported through cameraDisconnected().
    virtual void checkCameraConnection() = 0;

signals:
    void formatChanged(CameraBase::CameraFormat format);
    void cameraDisconnected(QString reason);

protected:
    // Capture threads: the camera's JPEG of a frame just taken, and a frame once decoded (with
    // its JPEG, or none for a format without); each reaches the tap that asks for it.
    void recordCameraJpeg(const QByteArray &cameraJpeg);
    void recordPicture(const QImage &rgb, const QByteArray &cameraJpeg);

    FrameCallback frameCallback;
    FpsCallback fpsCallback;
    bool capturing = false;          // GUI thread only
    Failure failure = Failure::None; // GUI thread only

private:
    // Guards recordingTap; held while the tap runs, so that replacing the tap waits for it.
    std::mutex tapMutex;
    RecordingTap recordingTap;
    TapInput recordingInput = TapInput::Picture;
};

Q_DECLARE_METATYPE(CameraBase::CameraFormat)
