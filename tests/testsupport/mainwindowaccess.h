#pragma once

#include "appinfo.h"
#include "capturesession.h"
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

// The window's parts that a user cannot reach through a widget: the camera behind the lists,
// the recorder, and the scan the list popup triggers.
class TestMainWindowAccess
{
public:
    explicit TestMainWindowAccess(MainWindow &window)
        : w(window)
    {}

    CameraBase *camera() const { return w.camera; }
    Recorder *recording() const { return w.session->recorder(); }
    CaptureSession *session() const { return w.session; }
    void scan() { w.onCameraSelectorAboutToShow(); }

private:
    MainWindow &w;
};
