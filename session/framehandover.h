#pragma once

#include <QImage>
#include <QMutex>
#include <QObject>

// Carries frames and frame rates from the camera's capture thread to the GUI thread without the
// capture thread ever waiting for the GUI. Deliveries are coalesced: at most one frame waits for
// the GUI thread, and a newer one replaces it, so a busy GUI never builds up a queue of frames.
class FrameHandOver : public QObject
{
    Q_OBJECT

public:
    explicit FrameHandOver(QObject *parent = nullptr);

    // Capture thread.
    void postFrame(const QImage &frame);
    void postFps(double fps);

    // GUI thread: the waiting frame (null when there is none) and rate; taking empties the slot.
    QImage takeFrame();
    double takeFps();
    // GUI thread: forgets whatever waits, so nothing posted before a stop is shown after it.
    void clear();

signals:
    // Emitted on the capture thread when the slot goes from empty to full; receivers on the GUI
    // thread get it queued.
    void frameAvailable();
    void fpsAvailable();

private:
    QMutex mutex; // guards pendingFrame, pendingFps, fpsPending
    QImage pendingFrame;
    double pendingFps = 0.0;
    bool fpsPending = false;
};
