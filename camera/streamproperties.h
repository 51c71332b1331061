#pragma once

#include "camerabase.h"

#include <QList>

#include <cstdint>
#include <optional>

// The image properties of one open stream of the capture library, read and written in the
// device's own units. A light view over a context and stream
// that the camera owns; every call answers "nothing" when no stream is open. GUI thread only.
class StreamProperties
{
public:
    StreamProperties(void *context, int32_t stream);

    bool isOpen() const { return context && stream >= 0; }

    QList<CameraBase::PropertyRange> supported() const;
    std::optional<int> value(CameraBase::Property property) const;
    std::optional<bool> isAutomatic(CameraBase::Property property) const;
    // A value set by hand switches the automatic mode off first: newer kernels refuse a manual
    // value while it is on (EACCES).
    bool setValue(CameraBase::Property property, int value);
    bool setAutomatic(CameraBase::Property property, bool automatic);

private:
    void *context;
    int32_t stream;
};
