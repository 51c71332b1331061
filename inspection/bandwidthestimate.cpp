#include "bandwidthestimate.h"

#include <algorithm>
#include <cmath>

namespace {

// Bytes per pixel on the bus, by the format's four characters.
double bytesPerPixel(const QString &fourcc)
{
    if (fourcc == QLatin1String("MJPG") || fourcc == QLatin1String("JPEG"))
        return 0.25;
    if (fourcc == QLatin1String("H264") || fourcc == QLatin1String("HEVC"))
        return 0.05;
    if (fourcc == QLatin1String("NV12") || fourcc == QLatin1String("NV21") ||
        fourcc == QLatin1String("YU12") || fourcc == QLatin1String("YV12"))
        return 1.5;
    if (fourcc == QLatin1String("RGB3") || fourcc == QLatin1String("BGR3"))
        return 3;
    if (fourcc == QLatin1String("GREY"))
        return 1;
    return 2; // YUYV, UYVY and the other packed 4:2:2 formats
}

} // namespace

double BandwidthEstimate::bytesPerSecond(const CameraBase::CameraFormat &format)
{
    return double(format.width) * format.height *
           bytesPerPixel(CameraBase::fourccText(format.fourcc)) * format.fps;
}

QString BandwidthEstimate::warning(const CameraBase::CameraFormat &format, const UsbLink &link)
{
    const double needed = bytesPerSecond(format);
    const double carried = link.videoBytesPerSecond();
    if (needed <= carried)
        return {};
    const double perFrame = needed / std::max(format.fps, 1e-9);
    const int fittingFps = int(std::floor(carried / perFrame));
    const bool compressed = bytesPerPixel(CameraBase::fourccText(format.fourcc)) < 1;
    QString fix = compressed ? tr("Choose a smaller size or a lower frame rate.")
                             : tr("Choose Motion-JPEG or a lower frame rate.");
    if (fittingFps >= 1)
        fix += QLatin1Char(' ') + tr("At this size, at most %1 fps fits.").arg(fittingFps);
    return tr("%1x%2 at %3 fps (%4) needs about %5 MB/s, more than the camera's %6 link "
              "carries (about %7 MB/s).")
               .arg(format.width)
               .arg(format.height)
               .arg(format.fps, 0, 'g', 4)
               .arg(CameraBase::fourccText(format.fourcc))
               .arg(needed / 1e6, 0, 'f', 1)
               .arg(link.speedText())
               .arg(carried / 1e6, 0, 'f', 1) +
           QLatin1Char(' ') + fix;
}
