// The process-wide list of synthetic cameras and the one-shot fault switches. The list is read
// from the environment on first use and may be replaced by the test control functions.
#pragma once

#include "syntheticcontrol.h"
#include "syntheticdevicestate.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace ostrel::capture {

class SyntheticRegistry
{
public:
    enum class Fault { CreateContext, OpenStream, CaptureFrame, GetFormatInfo, Count };

    static SyntheticRegistry &instance();

    // Any thread. Devices unplugged since stay in the list (with their index).
    std::vector<std::shared_ptr<SyntheticDeviceState>> devices();
    // Null when index is out of range.
    std::shared_ptr<SyntheticDeviceState> device(int index);

    void setDevices(const std::vector<synthetic::DeviceSpec> &specs);
    void resetToEnvironment();

    void arm(Fault fault);
    // The cause an injected OpenStream fault reports (a CAPERROR_ code).
    void setInjectedOpenError(uint32_t error) { openError.store(error); }
    uint32_t injectedOpenError() const { return openError.load(); }
    // True once per arm(): the caller is the call that fails.
    bool take(Fault fault);

private:
    SyntheticRegistry() = default;
    // The callers hold the mutex and log the warnings once they have released it.
    std::vector<std::string> defineFromEnvironment();
    void readSettings(std::vector<std::string> &warnings);
    void define(const std::vector<synthetic::DeviceSpec> &specs);
    void clearFaults();

    std::mutex mutex; // guards defined, states, presencePath, rateFactor
    bool defined = false;
    std::vector<std::shared_ptr<SyntheticDeviceState>> states;
    std::string presencePath;
    double rateFactor = 1.0;

    std::array<std::atomic<bool>, static_cast<size_t>(Fault::Count)> faults{};
    std::atomic<uint32_t> openError{CAPERROR_OTHER};
};

} // namespace ostrel::capture
