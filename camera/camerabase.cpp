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

void CameraBase::setFpsCallback(FpsCallback callback)
{
    fpsCallback = std::move(callback);
}

void CameraBase::setRecordingTap(RecordingTap tap)
{
    std::lock_guard<std::mutex> lock(tapMutex);
    tapSet = static_cast<bool>(tap);
    recordingTap = std::move(tap);
}

void CameraBase::feedRecordingTap(const QImage &rgb, const QByteArray &cameraJpeg)
{
    std::lock_guard<std::mutex> lock(tapMutex);
    if (recordingTap)
        recordingTap(rgb, cameraJpeg);
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
