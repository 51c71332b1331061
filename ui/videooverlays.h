#pragma once

#include <QCoreApplication>

class LevelMeter;
class QLabel;
class QPushButton;
class QWidget;

// The widgets that float over the live picture: the recording dot and time at the top left, the
// frame rate at the top right and the fullscreen button at the bottom right. They are children
// of the video area, laid out over it.
struct VideoOverlays
{
    Q_DECLARE_TR_FUNCTIONS(VideoOverlays)

public:
    explicit VideoOverlays(QWidget *videoArea);

    QLabel *recordingIndicator = nullptr;
    QLabel *recordingTimeLabel = nullptr;
    // Beside the time: paused, the time left before a limit, a time-lapse's progress.
    QLabel *recordingDetailLabel = nullptr;
    // The sound's loudness, while a recording with sound runs.
    LevelMeter *levelMeter = nullptr;
    QLabel *fpsLabel = nullptr;
    QPushButton *fullscreenButton = nullptr;
};
