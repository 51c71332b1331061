#pragma once

#include "camerabase.h"
#include "usblink.h"

#include <QCoreApplication>
#include <QString>

// What a capture mode asks of the USB bus, and whether a link carries it.
struct BandwidthEstimate
{
    Q_DECLARE_TR_FUNCTIONS(BandwidthEstimate)

public:
    // Bytes per second the mode needs: exact for an uncompressed format, a typical figure for a
    // compressed one (a Motion-JPEG frame is about an eighth of its YUYV size).
    static double bytesPerSecond(const CameraBase::CameraFormat &format);
    // Empty when the link carries the mode; otherwise why not and what to choose instead.
    static QString warning(const CameraBase::CameraFormat &format, const UsbLink &link);
};
