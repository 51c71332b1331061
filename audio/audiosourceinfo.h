#pragma once

#include "audiochunk.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>

// A source of sound the sound server offers: a microphone, or the monitor of an output.
struct AudioSourceInfo
{
    QString name;        // the server's name, stable across runs
    QString description; // for the user
    AudioFormat format;  // the rate and channels it is recorded in (at most two channels)
    // The device folder under /sys the source belongs to ("/devices/.../usb1/1-2/1-2:1.3/..."),
    // empty when the server does not say.
    QString sysfsPath;
    bool isMonitor = false;

    // Whether the source is part of the USB device whose folder under /sys is usbDevicePath
    // ("/devices/.../usb1/1-2"), as a camera's microphone is part of the camera.
    bool belongsTo(const QString &usbDevicePath) const;
};

// What the server offers: its sources and which is the default.
struct AudioSourceList
{
    Q_DECLARE_TR_FUNCTIONS(AudioSourceList)

public:
    QList<AudioSourceInfo> sources;
    QString defaultName;

    // The camera's microphone first (when one belongs to the camera's USB device), then the
    // default source, then every other microphone and then the outputs' monitors, each by its
    // description.
    QList<AudioSourceInfo> ordered(const QString &cameraUsbPath) const;
    // The camera's microphone, if it has one.
    std::optional<AudioSourceInfo> cameraMicrophone(const QString &cameraUsbPath) const;

    // A choice as settings and the command line give it: "none", "camera" (the camera's
    // microphone, or no sound when it has none), "default", or a source's name. Nothing for
    // "none", a missing camera microphone or an unknown name.
    std::optional<AudioSourceInfo> chosen(const QString &choice,
                                          const QString &cameraUsbPath) const;
};
