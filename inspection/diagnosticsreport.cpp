#include "diagnosticsreport.h"

#include "bandwidthestimate.h"

QStringList DiagnosticsReport::lines() const
{
    QStringList lines;
    lines << tr("Requested: %1x%2 at %3 fps (%4)")
                 .arg(format.width)
                 .arg(format.height)
                 .arg(format.fps, 0, 'f', 2)
                 .arg(CameraBase::fourccText(format.fourcc));
    lines << tr("Delivered: %1 fps").arg(figures.deliveredFps, 0, 'f', 2);
    if (const auto &i = figures.intervals) {
        lines << tr("Frame interval: median %1 ms, 95%: %2 ms, 99%: %3 ms, max %4 ms")
                     .arg(i->medianMs, 0, 'f', 1)
                     .arg(i->p95Ms, 0, 'f', 1)
                     .arg(i->p99Ms, 0, 'f', 1)
                     .arg(i->maxMs, 0, 'f', 1);
    }
    lines << tr("Frames made by the camera: %1, taken: %2").arg(counts.produced).arg(counts.taken);
    lines << tr("Lost in the driver or on the bus: %1").arg(counts.lostAtCamera);
    lines << tr("Refused as damaged: %1").arg(counts.damaged);
    lines << tr("Missed by the program: %1").arg(missedByProgram());
    lines << tr("Not shown (a newer frame came first): %1").arg(counts.displaySkipped);
    if (notRecorded)
        lines << tr("Not recorded: %1").arg(*notRecorded);
    if (figures.meanCompressedBytes > 0) {
        lines << tr("Compressed frames: %1 KB each on average, %2 Mbit/s")
                     .arg(figures.meanCompressedBytes / 1000, 0, 'f', 1)
                     .arg(figures.compressedBitsPerSecond / 1e6, 0, 'f', 2);
    }
    if (link) {
        lines << tr("USB port %1, %2; this mode needs about %3 MB/s of about %4 MB/s")
                     .arg(link->port, link->speedText())
                     .arg(BandwidthEstimate::bytesPerSecond(format) / 1e6, 0, 'f', 1)
                     .arg(link->videoBytesPerSecond() / 1e6, 0, 'f', 1);
        const QString warning = BandwidthEstimate::warning(format, *link);
        if (!warning.isEmpty())
            lines << warning;
    } else if (usbChecked) {
        lines << tr("USB: not a USB camera, or its port could not be found");
    }
    return lines;
}

quint64 DiagnosticsReport::missedByProgram() const
{
    const quint64 accounted = counts.taken + counts.lostAtCamera + counts.damaged;
    return counts.produced > accounted ? counts.produced - accounted : 0;
}
