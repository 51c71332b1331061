// Set-up shared by the tests that drive OpenPNPCamera against the synthetic cameras.
#pragma once

#include "openpnpcamera.h"
#include "synthetic/syntheticcontrol.h"

#include <QRegularExpression>
#include <QTest>

#include <vector>

namespace syntheticcameratest {

// The camera lists the synthetic devices after any V4L2 devices of the machine; this is the
// camera index of the first of them once devices are installed, negative if some are missing.
inline int firstSyntheticIndex(const std::vector<ostrel::synthetic::DeviceSpec> &devices)
{
    ostrel::synthetic::setDevices(devices);
    OpenPNPCamera camera;
    return int(camera.availableCameras().size()) - int(devices.size());
}

// Every test function starts from the full device set. The camera reports failures with fixed
// warnings only, so any warning a test does not announce fails it.
inline void startTest(const std::vector<ostrel::synthetic::DeviceSpec> &devices)
{
    ostrel::synthetic::setDevices(devices);
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

} // namespace syntheticcameratest
