#pragma once

#include "viewfinder.h"

class LevelMeter;
class NotificationLabel;
class QLabel;
class QPropertyAnimation;

// The live picture alone on the whole primary screen, on black: a frameless top-level window
// of its own, so the main window keeps its layout behind it. Escape, F11 and a double-click
// leave it; a hint says so for a moment after it opens, and a red mark shows while recording.
class FullscreenView : public ViewFinder
{
    Q_OBJECT

public:
    explicit FullscreenView(QWidget *parent = nullptr);

    // Opens on the primary screen with picture (kept from before when it is null); does nothing
    // without a screen.
    void enter(const QImage &picture);
    void setRecording(bool recording);
    // The recording's running time, shown beside the red mark.
    void setRecordingTime(const QString &time);
    // The sound's loudness below the red mark, as the window's meter reads it, until the
    // recording ends.
    void setSoundLevel(double peak);
    // A notice over the picture, as the window shows it while this view hides the window.
    void showNotification(const QString &message, bool success, const QString &folder = {});

signals:
    void visibilityChanged(bool visible);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QLabel *hint;
    QLabel *recordingMark;
    LevelMeter *soundMeter;
    NotificationLabel *notices;
    QPropertyAnimation *hintFade;
};
