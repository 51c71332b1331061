#pragma once

#include "camerabase.h"
#include "framediagnostics.h"
#include "usblink.h"

#include <QCoreApplication>
#include <QStringList>

#include <optional>

// What the camera really delivers, as lines for a person: the panel shows them and the command
// line prints them.
struct DiagnosticsReport
{
    Q_DECLARE_TR_FUNCTIONS(DiagnosticsReport)

public:
    CameraBase::CameraFormat format; // the mode asked for
    FrameDiagnostics::Figures figures;
    CameraBase::FrameCounts counts;
    std::optional<quint64> notRecorded; // frames a recording dropped, while there is one
    bool usbChecked = false;            // link below was looked for
    std::optional<UsbLink> link;

    QStringList lines() const;
    // The frames the camera made that the program was too late to take.
    quint64 missedByProgram() const;
};
