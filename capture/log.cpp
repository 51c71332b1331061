#include "backend.h"

#include <atomic>
#include <cstdio>

namespace {
std::atomic<uint32_t> logLevel{LOG_WARNING};
std::atomic<CapCustomLogFunction> customLogFunction{nullptr};
} // namespace

namespace ostrel::capture {

void logMessage(uint32_t level, const std::string &message)
{
    if (CapCustomLogFunction function = customLogFunction.load()) {
        function(level, message.c_str());
        return;
    }
    if (level <= logLevel.load())
        std::fprintf(stderr, "ostrel-capture: %s\n", message.c_str());
}

void Stream::noteDecodeWarning(const std::string &warning)
{
    warnings.fetch_add(1);
    logMessage(LOG_DEBUG, "shown despite a decode warning: " + warning);
}

} // namespace ostrel::capture

extern "C" void Cap_setLogLevel(uint32_t level)
{
    logLevel.store(level);
}

extern "C" void Cap_installCustomLogFunction(CapCustomLogFunction logFunc)
{
    customLogFunction.store(logFunc);
}

extern "C" const char *Cap_getLibraryVersion(void)
{
    return "1.1.0";
}
