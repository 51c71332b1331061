#pragma once

#include "appinfo.h"
#include "framehandover.h"
#include "mainwindow.h"

#include <QApplication>
#include <QStandardPaths>

// The application identity the window reads, with settings and folders kept apart from the
// user's own.
inline void prepareWindowTestApplication()
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QString::fromLatin1(AppInfo::name));
    QApplication::setApplicationVersion(QString::fromLatin1(AppInfo::version));
    QApplication::setOrganizationName(QString::fromLatin1(AppInfo::organisation));
}

// Lets the window tests reach what the window keeps private: its state members and the steps
// that the user triggers through widgets that are awkward to drive offscreen.
class TestMainWindowAccess
{
public:
    explicit TestMainWindowAccess(MainWindow &window)
        : w(window)
    {}

    CameraBase *camera() const { return w.camera; }
    bool cameraRunning() const { return w.cameraRunning; }
    bool isRecording() const { return w.isRecording; }
    QString currentRecordingPath() const { return w.currentRecordingPath; }
    double recordingFps() const { return w.recordingFps; }
    QString recordingDirectory() const { return w.recordingDirectory; }
    QString snapshotDirectory() const { return w.snapshotDirectory; }
    bool showFpsCounter() const { return w.showFpsCounter; }
    bool autoSaveWithDefaultName() const { return w.autoSaveWithDefaultName; }
    bool horizontalFlip() const { return w.horizontalFlip; }
    int rotationAngle() const { return w.rotationAngle; }
    QLabel *fullscreenLabel() const { return w.fullscreenLabel; }
    QLabel *notificationLabel() const { return w.notificationLabel; }
    QTimer *notificationTimer() const { return w.notificationTimer; }
    QVBoxLayout *controlPanelLayout() const { return w.controlPanelLayout; }
    VideoWriterThread *writerThread() const { return w.writerThread; }
    QTimer *recordingTimer() const { return w.recordingTimer; }
    FrameHandOver *handOver() const { return w.handOver; }

    void setAutoSave(bool on) { w.autoSaveWithDefaultName = on; }
    void setDirectories(const QString &recordings, const QString &snapshots)
    {
        w.recordingDirectory = recordings;
        w.snapshotDirectory = snapshots;
    }
    void setOrientation(bool flip, int angle)
    {
        w.horizontalFlip = flip;
        w.rotationAngle = angle;
    }

    void scan() { w.onCameraSelectorAboutToShow(); }
    void displayFrame(const QImage &frame) { w.displayFrame(frame); }
    QImage transformFrame(const QImage &frame) const { return w.transformFrame(frame); }
    void takeSnapshot() { w.takeSnapshot(); }
    void showNotification(const QString &message, bool success)
    {
        w.showNotification(message, success);
    }
    void toggleFullscreen() { w.toggleFullscreen(); }
    void updateRecordingTime() { w.updateRecordingTime(); }
    void updateLogo(int maxWidth) { w.updateLogo(maxWidth); }
    void onVideoWriterError(const QString &error) { w.onVideoWriterError(error); }
    void onCameraDisconnected(const QString &reason) { w.onCameraDisconnected(reason); }

private:
    MainWindow &w;
};
