#pragma once

#include "overlaysettings.h"
#include "usblink.h"

#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <optional>

class BenchToolsWindow;
class CaptureSession;
class ViewFinder;

// Wires the bench tools to the session and the views: the diagnostics page, the focus figure,
// the histogram and focus peaking from the frames shown, the marks over the picture (remembered
// per camera), the zoom keys, and the bandwidth warning before a start. What no page shows is
// not computed: the frame facts are collected only while the diagnostics page is in view, the
// picture measures only while theirs is. GUI thread only.
class BenchToolsController : public QObject
{
    Q_OBJECT

public:
    // Adds the tools' keys to window, which owns this controller and the tools window.
    BenchToolsController(QWidget *window, CaptureSession *session, ViewFinder *view);

    // The fullscreen view, once made: it shows the same marks and peaking and takes the keys.
    void addView(ViewFinder *view);
    void addKeys(QWidget *target);
    // Before the camera starts: warns when its mode cannot fit the camera's USB link.
    void cameraStarting();
    BenchToolsWindow *toolsWindow() const { return tools; }
    // The focus figure shown last and the best one since the camera started; 0 before any.
    double sharpness() const { return lastSharpness; }
    double bestSharpness() const { return best; }

signals:
    void notificationRequested(const QString &message, bool success);

private:
    void onRunningChanged(bool running);
    void onFrame(const QImage &frame);
    void measureFocus(const QImage &frame);
    void updateDiagnostics();
    void onVisiblePageChanged();
    // The overlay page's widgets into the marks, which are saved and shown.
    void takeOverlayControls();
    void showOverlayControls();
    void applyOverlays();
    void moveCrosshair(int dx, int dy);
    // The view the user looks at: the fullscreen one while it is shown.
    ViewFinder *activeView() const;
    QList<ViewFinder *> views() const;
    QSize pictureSize() const;

    CaptureSession *session;
    ViewFinder *mainView;
    QPointer<ViewFinder> fullscreenView;
    BenchToolsWindow *tools;
    QTimer diagnosticsTimer;
    static bool due(QElapsedTimer &timer, int interval);

    QElapsedTimer sinceFocus;
    QElapsedTimer sinceHistogram;
    QElapsedTimer sincePeaking;
    OverlaySettings marks;
    std::optional<UsbLink> link;
    double lastSharpness = 0;
    double best = 0;
};
