#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QSize>
#include <QString>

#include <array>
#include <atomic>
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
    // The camera's facts of one frame as it is taken, before any decoding.
    struct FrameFacts
    {
        quint64 sequence = 0;       // the camera's number; numbers skipped were lost there
        quint64 timestampUs = 0;    // when the camera took it, on the monotonic clock
        qint64 compressedBytes = 0; // the camera's own bytes; 0 for an uncompressed format
    };
    using FrameFactsCallback = std::function<void(const FrameFacts &)>;
    // Every captured frame for a recording, as the tap's TapInput asks for it. Called on a capture
    // thread before the frame callback, whatever the GUI thread is doing; it must hand the frame
    // over and return, and must not call the camera. timestampUs: when the camera took the frame,
    // on the monotonic clock as FrameFacts has it; 0 when the camera gives no time.
    using RecordingTap =
        std::function<void(const QImage &rgb, const QByteArray &cameraJpeg, qint64 timestampUs)>;
    enum class TapInput {
        // The decoded picture, with the camera's own JPEG of it when the format is Motion-JPEG
        // (empty otherwise). A frame the display decode skips is not seen.
        Picture,
        // For a Motion-JPEG format the camera's own JPEG with a null picture, as soon as the
        // frame is taken: every frame, however far decoding for the display falls behind. For
        // other formats the picture, as with Picture.
        CameraJpeg,
    };

    // One frame of a camera that sends H.264 itself, as it came: one access unit (Annex B),
    // stamped by the driver (microseconds, monotonic clock) and numbered by the camera.
    struct CompressedFrame
    {
        QByteArray data;
        qint64 timestampUs = 0;
        quint32 sequence = 0;
        bool keyframe = false; // decodes without any earlier frame
    };
    // Every frame of an H.264 format, in the camera's order, as soon as it is taken; called on
    // the capture thread under the rules of RecordingTap. A number missing between two frames is
    // a frame lost or refused as damaged.
    using CompressedTap = std::function<void(const CameraBase::CompressedFrame &frame)>;

    // What became of the camera's frames since capture last started. Every frame the camera made
    // is produced; it is lost at the camera (the driver or the camera dropped it, or the
    // camera's thread was too late for it), damaged (refused as broken), or reaches the program
    // and is taken; what is not taken the program was too slow for. A taken frame is decoded
    // for the display or skipped because a newer one came first.
    struct FrameCounts
    {
        quint64 produced = 0;
        quint64 lostAtCamera = 0;
        quint64 damaged = 0;
        quint64 taken = 0;
        quint64 decoded = 0;
        quint64 displaySkipped = 0;

        // The counts of the frames after earlier was read; counts since a restart in between
        // when the camera was restarted meanwhile.
        FrameCounts since(const FrameCounts &earlier) const;
    };

    // The four characters of a pixel code, lowest byte first, up to the first zero byte.
    static QString fourccText(uint32_t fourcc);

    explicit CameraBase(QObject *parent = nullptr);
    ~CameraBase() override;

    // Set once, before capture starts; they are read without a lock by the capture threads.
    // The frame callback gets every frame at the size of the active format. The view frame
    // callback gets a picture for a view finder of the size setViewSize() gives: a Motion-JPEG
    // frame decoded at the smallest scale that still covers it, in Format_RGB32, which paints
    // fastest (or at full size while anything else needs that size), a frame of any other format
    // at full size. A camera that only has a
    // view frame callback saves the cost of full-size decoding; latestFrame() stays full size.
    void setFrameCallback(FrameCallback callback);
    void setViewFrameCallback(FrameCallback callback);
    void setFpsCallback(FpsCallback callback);
    // Called on the capture thread for every frame taken; it must return at once.
    void setFrameFactsCallback(FrameFactsCallback callback);
    // Any thread, also while capturing: the device pixels the view finder shows the picture in;
    // an empty size asks for full size.
    void setViewSize(QSize devicePixels);
    // Who takes the camera's frames from a tap; each has a tap of its own, and all are called
    // with every frame.
    enum class TapUser {
        Recording,
        Publishing,
        LiveFeed,
    };
    // Any thread, also while capturing; an empty function removes the user's tap. Once it
    // returns, the user's previous tap is not running and is never called again.
    void setRecordingTap(RecordingTap tap, TapInput input = TapInput::Picture,
                         TapUser user = TapUser::Recording);
    // As setRecordingTap, for the frames of an H.264 format; other formats never call it.
    void setCompressedTap(CompressedTap tap, TapUser user = TapUser::Recording);
    // GUI thread: whether the current format is the camera's own H.264, whose frames reach the
    // compressed tap.
    bool deliversH264() const;

    virtual bool startCapture() = 0;
    virtual void stopCapture() = 0;
    virtual bool isCapturing() const;
    // Any thread: the counts of the current run, or of the last one once stopped.
    virtual FrameCounts frameCounts() const { return {}; }
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
    // The properties the running camera supports, in the order of Property; empty while it
    // does not run. The values are the device's own.
    virtual QList<PropertyRange> properties() = 0;
    virtual std::optional<int> propertyValue(Property property) = 0;
    virtual std::optional<bool> propertyAuto(Property property) = 0;
    // A value set by hand switches the automatic mode off first: a camera under automatic
    // control refuses it otherwise.
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
    // GUI thread: a property of the running camera changed without this program setting it,
    // by the camera's automatic mode or another program; value in the device's units.
    void propertyChanged(CameraBase::Property property, int value, bool automatic);

protected:
    // Capture threads: the camera's JPEG of a frame just taken, and a frame once decoded (with
    // its JPEG, or none for a format without); each reaches the tap that asks for it.
    void recordCameraJpeg(const QByteArray &cameraJpeg, qint64 timestampUs);
    void recordPicture(const QImage &rgb, const QByteArray &cameraJpeg, qint64 timestampUs);
    // The capture thread: an H.264 frame just taken.
    void recordCompressed(const CompressedFrame &frame);

    // Any thread.
    QSize viewSize() const;
    // Any thread: whether a recording tap takes decoded pictures of Motion-JPEG frames.
    bool tapTakesPictures() const { return pictureTap.load(); }

    FrameCallback frameCallback;
    FrameCallback viewFrameCallback;
    FpsCallback fpsCallback;
    FrameFactsCallback frameFactsCallback;
    bool capturing = false;          // GUI thread only; the one record of a running capture
    Failure failure = Failure::None; // GUI thread only

private:
    static constexpr int tapUsers = 3;
    struct PictureTap
    {
        RecordingTap tap;
        TapInput input = TapInput::Picture;
    };
    // Guards recordingTaps; held while a tap runs, so that replacing a tap waits for it.
    std::mutex tapMutex;
    std::array<PictureTap, tapUsers> recordingTaps;
    std::atomic<bool> pictureTap{false}; // a tap with Picture input is set
    // Guards compressedTaps; held while a tap runs, as tapMutex is.
    std::mutex compressedTapMutex;
    std::array<CompressedTap, tapUsers> compressedTaps;
    mutable std::mutex viewMutex; // guards requestedViewSize
    QSize requestedViewSize;
};

Q_DECLARE_METATYPE(CameraBase::CameraFormat)
