#pragma once

#include <QCoreApplication>
#include <QString>

#include <optional>

// The USB connection a camera hangs on, as the kernel describes it under /sys: the port and the
// speed the link was negotiated at.
struct UsbLink
{
    Q_DECLARE_TR_FUNCTIONS(UsbLink)

public:
    QString port;           // the kernel's name of the USB device: bus-port[.port...], e.g. "1-2"
    double speedMbps = 0.0; // the signalling rate: 1.5, 12, 480, 5000, 10000 or 20000
    // The USB device's folder below /sys ("/devices/.../usb1/1-2"): its other functions, a
    // microphone among them, are found below it.
    QString sysfsPath;

    // The link of the camera with this id (its /dev/v4l/by-id or by-path name, or both joined
    // by " @ "), looked up under root ("/" on a real system). Nothing for a camera that is not
    // on USB or whose node cannot be traced.
    static std::optional<UsbLink> ofCamera(const QString &cameraId, const QString &root = "/");

    // Bytes per second a video stream can get on this link: a USB 2.0 camera's isochronous
    // endpoint carries at most 3 x 1024 bytes every 125 us, about 24.6 MB/s of the 60 MB/s.
    double videoBytesPerSecond() const;
    // "USB 2.0 (480 Mbit/s)", for the user.
    QString speedText() const;
};
