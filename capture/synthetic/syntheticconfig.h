// Reading the environment variables that switch the synthetic cameras on:
//   OSTREL_SYNTHETIC_CAMERAS  "1" (the default device) or NAME=WxH@FPS:CODE,...;NAME=...
//   OSTREL_SYNTHETIC_RATE     a factor applied to every format's frame rate
// The parsers never throw; a malformed text gives no value and a one-line reason.
#pragma once

#include "syntheticcontrol.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ostrel::capture {

// The device "1" stands for.
std::vector<synthetic::DeviceSpec> defaultSyntheticCameras();

// An empty text and "0" mean "no synthetic cameras" and give an empty list.
std::optional<std::vector<synthetic::DeviceSpec>> parseSyntheticCameras(const std::string &text,
                                                                        std::string &error);

// A positive decimal number up to 1000; an empty text means 1.
std::optional<double> parseSyntheticRate(const std::string &text, std::string &error);

// The bits per pixel reported for a fourcc: 16 for the packed 4:2:2 codes, 8 for GREY, 12 for
// the planar 4:2:0 codes and 24 for everything else (compressed codes included).
uint32_t bitsPerPixel(uint32_t code);

} // namespace ostrel::capture
