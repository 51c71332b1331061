#pragma once

#include <QString>

// libavutil's words for an AVERROR code ("No space left on device").
QString avErrorText(int averror);
