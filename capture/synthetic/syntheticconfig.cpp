#include "syntheticconfig.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <utility>

namespace ostrel::capture {

namespace {

// Widths and heights beyond this are no camera's; the frame-size check at stream opening still
// refuses the combinations whose RGB size does not fit 32 bits.
constexpr uint32_t maxDimension = 65535;
constexpr uint32_t maxFps = 1000;

std::vector<std::string> split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::string::size_type begin = 0;
    for (;;) {
        const auto end = text.find(separator, begin);
        parts.push_back(text.substr(begin, end - begin));
        if (end == std::string::npos)
            return parts;
        begin = end + 1;
    }
}

std::optional<uint32_t> parseNumber(const std::string &text, uint32_t max)
{
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    if (value == 0 || value > max)
        return std::nullopt;
    return value;
}

// A rate with up to three decimals, such as 7.5, as an exact fraction (15/2); from 1 to maxFps.
std::optional<std::pair<uint32_t, uint32_t>> parseRate(const std::string &text)
{
    const auto point = text.find('.');
    const std::string decimals = point == std::string::npos ? "" : text.substr(point + 1);
    if (decimals.size() > 3 || (point != std::string::npos && decimals.empty()))
        return std::nullopt;
    const auto whole = parseNumber(text.substr(0, point), maxFps);
    uint32_t numerator = whole.value_or(0);
    uint32_t denominator = 1;
    for (char c : decimals) {
        if (c < '0' || c > '9')
            return std::nullopt;
        numerator = numerator * 10 + static_cast<uint32_t>(c - '0');
        denominator *= 10;
    }
    if (!whole || numerator > maxFps * denominator)
        return std::nullopt;
    const uint32_t common = std::gcd(numerator, denominator);
    return std::make_pair(numerator / common, denominator / common);
}

// WIDTHxHEIGHT@FPS:CODE
std::optional<synthetic::FormatSpec> parseFormat(const std::string &text, std::string &error)
{
    const auto x = text.find('x');
    const auto at = text.find('@');
    const auto colon = text.find(':');
    if (x == std::string::npos || at == std::string::npos || colon == std::string::npos ||
        !(x < at && at < colon)) {
        error = "format \"" + text + "\" is not WIDTHxHEIGHT@FPS:FOURCC";
        return std::nullopt;
    }
    const auto width = parseNumber(text.substr(0, x), maxDimension);
    const auto height = parseNumber(text.substr(x + 1, at - x - 1), maxDimension);
    const auto fps = parseRate(text.substr(at + 1, colon - at - 1));
    const std::string code = text.substr(colon + 1);
    if (!width || !height) {
        error = "format \"" + text + "\" needs a width and height from 1 to 65535";
        return std::nullopt;
    }
    if (!fps) {
        error = "format \"" + text + "\" needs a frame rate from 1 to 1000";
        return std::nullopt;
    }
    if (code.size() != 4) {
        error = "format \"" + text + "\" needs a four-character FOURCC";
        return std::nullopt;
    }
    for (char c : code) {
        if (c < 0x20 || c > 0x7e) {
            error = "format \"" + text + "\" has a FOURCC with an unprintable character";
            return std::nullopt;
        }
    }
    return synthetic::FormatSpec{*width, *height, fps->first, synthetic::fourcc(code.c_str()),
                                 fps->second};
}

// NAME=FORMAT,FORMAT,...
std::optional<synthetic::DeviceSpec> parseDevice(const std::string &text, std::string &error)
{
    const auto equals = text.find('=');
    if (equals == std::string::npos) {
        error = "device \"" + text + "\" has no '='";
        return std::nullopt;
    }
    synthetic::DeviceSpec device;
    device.name = text.substr(0, equals);
    if (device.name.empty()) {
        error = "device \"" + text + "\" has an empty name";
        return std::nullopt;
    }
    const std::string formats = text.substr(equals + 1);
    if (formats.empty()) {
        error = "device \"" + device.name + "\" has no formats";
        return std::nullopt;
    }
    for (const std::string &formatText : split(formats, ',')) {
        const auto format = parseFormat(formatText, error);
        if (!format)
            return std::nullopt;
        device.formats.push_back(*format);
    }
    return device;
}

} // namespace

std::vector<synthetic::DeviceSpec> defaultSyntheticCameras()
{
    const uint32_t mjpg = synthetic::fourcc("MJPG");
    return {{"Synthetic Camera",
             {{640, 480, 30, mjpg},
              {1280, 720, 30, mjpg},
              {1920, 1080, 30, mjpg},
              {3840, 2160, 30, mjpg},
              {640, 480, 15, synthetic::fourcc("YUYV")}}}};
}

std::optional<std::vector<synthetic::DeviceSpec>> parseSyntheticCameras(const std::string &text,
                                                                        std::string &error)
{
    if (text.empty() || text == "0")
        return std::vector<synthetic::DeviceSpec>{};
    if (text == "1")
        return defaultSyntheticCameras();
    std::vector<synthetic::DeviceSpec> devices;
    for (const std::string &deviceText : split(text, ';')) {
        const auto device = parseDevice(deviceText, error);
        if (!device)
            return std::nullopt;
        devices.push_back(*device);
    }
    return devices;
}

std::optional<double> parseSyntheticRate(const std::string &text, std::string &error)
{
    if (text.empty())
        return 1.0;
    errno = 0;
    char *end = nullptr;
    const double factor = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(factor) ||
        factor <= 0.0 || factor > 1000.0) {
        error = "\"" + text + "\" is not a factor above 0 and up to 1000";
        return std::nullopt;
    }
    return factor;
}

uint32_t bitsPerPixel(uint32_t code)
{
    const auto is = [code](const char *text) {
        return code == synthetic::fourcc(text);
    };
    if (is("YUYV") || is("UYVY") || is("YVYU") || is("VYUY"))
        return 16;
    if (is("GREY"))
        return 8;
    if (is("NV12") || is("YU12") || is("YV12"))
        return 12;
    return 24;
}

} // namespace ostrel::capture
