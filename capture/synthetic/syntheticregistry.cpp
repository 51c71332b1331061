#include "syntheticregistry.h"

#include "backend.h"
#include "syntheticconfig.h"

#include <cstdlib>

namespace ostrel::capture {

namespace {

std::string environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

void logAll(const std::vector<std::string> &warnings)
{
    for (const std::string &warning : warnings)
        logMessage(LOG_WARNING, warning);
}

} // namespace

SyntheticRegistry &SyntheticRegistry::instance()
{
    static SyntheticRegistry registry;
    return registry;
}

void SyntheticRegistry::readSettings(std::vector<std::string> &warnings)
{
    std::string error;
    presencePath = environment("OSTREL_SYNTHETIC_PRESENCE");
    const std::string rateText = environment("OSTREL_SYNTHETIC_RATE");
    if (const auto rate = parseSyntheticRate(rateText, error)) {
        rateFactor = *rate;
    } else {
        rateFactor = 1.0;
        warnings.push_back("OSTREL_SYNTHETIC_RATE: " + error + "; using 1");
    }
}

void SyntheticRegistry::define(const std::vector<synthetic::DeviceSpec> &specs)
{
    states.clear();
    for (const synthetic::DeviceSpec &spec : specs)
        states.push_back(std::make_shared<SyntheticDeviceState>(spec, presencePath, rateFactor));
    defined = true;
}

std::vector<std::string> SyntheticRegistry::defineFromEnvironment()
{
    std::vector<std::string> warnings;
    readSettings(warnings);
    std::string error;
    const std::string camerasText = environment("OSTREL_SYNTHETIC_CAMERAS");
    std::vector<synthetic::DeviceSpec> specs;
    if (const auto parsed = parseSyntheticCameras(camerasText, error))
        specs = *parsed;
    else
        warnings.push_back("OSTREL_SYNTHETIC_CAMERAS: " + error +
                           "; no synthetic camera added (expected \"1\" or "
                           "NAME=WIDTHxHEIGHT@FPS:FOURCC,...;NAME=...)");
    define(specs);
    return warnings;
}

std::vector<std::shared_ptr<SyntheticDeviceState>> SyntheticRegistry::devices()
{
    std::vector<std::string> warnings;
    std::vector<std::shared_ptr<SyntheticDeviceState>> result;
    {
        std::lock_guard lock(mutex);
        if (!defined)
            warnings = defineFromEnvironment();
        result = states;
    }
    logAll(warnings);
    return result;
}

std::shared_ptr<SyntheticDeviceState> SyntheticRegistry::device(int index)
{
    const auto all = devices();
    if (index < 0 || static_cast<size_t>(index) >= all.size())
        return nullptr;
    return all[static_cast<size_t>(index)];
}

void SyntheticRegistry::setDevices(const std::vector<synthetic::DeviceSpec> &specs)
{
    std::vector<std::string> warnings;
    {
        std::lock_guard lock(mutex);
        // The presence file and the rate factor still come from the environment.
        readSettings(warnings);
        define(specs);
    }
    clearFaults();
    logAll(warnings);
}

void SyntheticRegistry::resetToEnvironment()
{
    std::vector<std::string> warnings;
    {
        std::lock_guard lock(mutex);
        warnings = defineFromEnvironment();
    }
    clearFaults();
    logAll(warnings);
}

void SyntheticRegistry::arm(Fault fault)
{
    faults[static_cast<size_t>(fault)].store(true);
}

bool SyntheticRegistry::take(Fault fault)
{
    return faults[static_cast<size_t>(fault)].exchange(false);
}

void SyntheticRegistry::clearFaults()
{
    for (auto &fault : faults)
        fault.store(false);
}

} // namespace ostrel::capture
