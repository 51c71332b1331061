#pragma once

#include "audiosourceinfo.h"

#include <QString>

#include <optional>

// Any thread but the GUI thread (it waits for the sound server, at most timeoutMs): the sources
// the sound server offers. Nothing, with the cause in error, when there is no sound server.
std::optional<AudioSourceList> listAudioSources(QString *error, int timeoutMs = 3000);
