#include "camerabase.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
const int cameraFormatTypeId =
    qRegisterMetaType<CameraBase::CameraFormat>("CameraBase::CameraFormat");
}

bool CameraBase::CameraFormat::operator==(const CameraFormat &other) const
{
    // Written as a multiplication rather than a division so that two zero rates compare equal.
    const bool fpsEqual =
        std::abs(fps - other.fps) * 1e12 <= std::min(std::abs(fps), std::abs(other.fps));
    return width == other.width && height == other.height && fourcc == other.fourcc && fpsEqual;
}

CameraBase::CameraBase(QObject *parent)
    : QObject(parent)
{
    Q_UNUSED(cameraFormatTypeId);
}

CameraBase::~CameraBase() = default;

void CameraBase::setFrameCallback(FrameCallback callback)
{
    frameCallback = std::move(callback);
}

void CameraBase::setViewFrameCallback(FrameCallback callback)
{
    viewFrameCallback = std::move(callback);
}

void CameraBase::setViewSize(QSize devicePixels)
{
    std::lock_guard<std::mutex> lock(viewMutex);
    requestedViewSize = devicePixels;
}

QSize CameraBase::viewSize() const
{
    std::lock_guard<std::mutex> lock(viewMutex);
    return requestedViewSize;
}

void CameraBase::setFpsCallback(FpsCallback callback)
{
    fpsCallback = std::move(callback);
}

void CameraBase::setFrameFactsCallback(FrameFactsCallback callback)
{
    frameFactsCallback = std::move(callback);
}

void CameraBase::setRecordingTap(RecordingTap tap, TapInput input, TapUser user)
{
    std::lock_guard<std::mutex> lock(tapMutex);
    recordingTaps[std::size_t(user)] = {std::move(tap), input};
    pictureTap = std::any_of(recordingTaps.begin(), recordingTaps.end(), [](const PictureTap &t) {
        return t.tap && t.input == TapInput::Picture;
    });
}

void CameraBase::recordCameraJpeg(const QByteArray &cameraJpeg, qint64 timestampUs)
{
    std::lock_guard<std::mutex> lock(tapMutex);
    for (const PictureTap &user : recordingTaps) {
        if (user.tap && user.input == TapInput::CameraJpeg)
            user.tap(QImage(), cameraJpeg, timestampUs);
    }
}

void CameraBase::recordPicture(const QImage &rgb, const QByteArray &cameraJpeg, qint64 timestampUs)
{
    std::lock_guard<std::mutex> lock(tapMutex);
    for (const PictureTap &user : recordingTaps) {
        if (user.tap && (user.input == TapInput::Picture || cameraJpeg.isEmpty()))
            user.tap(rgb, cameraJpeg, timestampUs);
    }
}

void CameraBase::setCompressedTap(CompressedTap tap, TapUser user)
{
    std::lock_guard<std::mutex> lock(compressedTapMutex);
    compressedTaps[std::size_t(user)] = std::move(tap);
}

void CameraBase::recordCompressed(const CompressedFrame &frame)
{
    std::lock_guard<std::mutex> lock(compressedTapMutex);
    for (const CompressedTap &tap : compressedTaps) {
        if (tap)
            tap(frame);
    }
}

bool CameraBase::deliversH264() const
{
    return fourccText(currentFormat().fourcc) == QLatin1String("H264");
}

CameraBase::FrameCounts CameraBase::FrameCounts::since(const FrameCounts &earlier) const
{
    // Counters only grow within one run; one that went back means a new run began.
    if (produced < earlier.produced || lostAtCamera < earlier.lostAtCamera ||
        damaged < earlier.damaged || taken < earlier.taken || decoded < earlier.decoded ||
        displaySkipped < earlier.displaySkipped)
        return *this;
    return {produced - earlier.produced, lostAtCamera - earlier.lostAtCamera,
            damaged - earlier.damaged,   taken - earlier.taken,
            decoded - earlier.decoded,   displaySkipped - earlier.displaySkipped};
}

bool CameraBase::isCapturing() const
{
    return capturing;
}

QString CameraBase::fourccText(uint32_t fourcc)
{
    QString text;
    for (int shift = 0; shift < 32; shift += 8) {
        const char byte = char((fourcc >> shift) & 0xff);
        if (byte == 0)
            break;
        text += QLatin1Char(byte);
    }
    return text;
}
