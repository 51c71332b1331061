#include "appinfo.h"
#include "camerachoice.h"
#include "commandline.h"
#include "commandlinesession.h"
#include "mainwindow.h"
#include "openpnpcamera.h"
#include "signalwatcher.h"
#include "translations.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

// Every horizontal slider: a thin grey groove, a round white handle overhanging it, and the
// filled part in blue-grey. The QMainWindow rule is kept for a main window of that class.
const char *const applicationStyleSheet = R"(
/* Main application background */
QMainWindow {
    background-color: #2b2b2b;
    color: #ffffff;
}

QSlider::groove:horizontal {
    background-color: #555555;
    height: 6px;
    border-radius: 3px;
}

QSlider::handle:horizontal {
    background-color: #ffffff;
    border: 1px solid #cccccc;
    width: 16px;
    height: 16px;
    border-radius: 8px;
    margin: -5px 0;
}

QSlider::handle:horizontal:hover {
    background-color: #f0f0f0;
}

QSlider::sub-page:horizontal {
    background-color: #496379 !important;
    height: 6px;
    border-radius: 3px;
}
)";

void setIdentity()
{
    QCoreApplication::setApplicationName(QString::fromLatin1(AppInfo::name));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(AppInfo::version));
    QCoreApplication::setOrganizationName(QString::fromLatin1(AppInfo::organisation));
}

QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void print(std::FILE *stream, const QString &text)
{
    std::fputs(qPrintable(text.endsWith(QLatin1Char('\n')) ? text : text + QLatin1Char('\n')),
               stream);
}

// Everything but the window: help, version, errors, lists, recording and snapshots. None of it
// needs a display.
int runWithoutWindow(int argc, char *argv[])
{
    // A reader of the messages that goes away (`| head -1`) or a file-size limit must not kill a
    // recording: the failed write is reported instead, and the file is finished.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    Translations::install(app);
    const CommandLine commandLine = CommandLine::parse(QCoreApplication::arguments());
    switch (commandLine.action) {
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        print(stdout, commandLine.message);
        return 0;
    case CommandLine::Action::Error:
        print(stderr, QStringLiteral("ostrel: ") + commandLine.message);
        return CommandLine::usageError;
    default:
        break;
    }
    CommandLineSession session(commandLine);
    const int code = session.run();
    if (code >= 0)
        return code;
    SignalWatcher signalWatcher;
    QObject::connect(&signalWatcher, &SignalWatcher::terminationRequested, &session,
                     &CommandLineSession::interrupt);
    QObject::connect(&signalWatcher, &SignalWatcher::pauseToggleRequested, &session,
                     &CommandLineSession::togglePause);
    QObject::connect(&session, &CommandLineSession::finished, &app, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    return app.exec();
}

// Whether Qt's platform will find a display. Without one QApplication aborts with its own
// message, so the window's options are refused first. Platforms other than X11 and Wayland
// (offscreen, a framebuffer, VNC), a list of platforms to try in turn, or one chosen with
// -platform decide for themselves.
bool displayAvailable(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0)
            return true;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && (platform.contains(';') ||
                                (!platform.startsWith("xcb") && !platform.startsWith("wayland"))))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int runWindow(int argc, char *argv[], const CommandLine &commandLine)
{
    if (!displayAvailable(argc, argv)) {
        QCoreApplication app(argc, argv);
        Translations::install(app);
        print(stderr, QCoreApplication::translate("main", "ostrel: cannot open a window: no "
                                                          "display (DISPLAY and WAYLAND_DISPLAY "
                                                          "are not set)"));
        return CommandLine::usageError;
    }
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(AppInfo::desktopId));
    Translations::install(app);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/resources/dunmo-logo.ico")));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setStyleSheet(QString::fromLatin1(applicationStyleSheet));

    std::optional<CameraChoice> choice;
    if (!commandLine.camera.isEmpty() || commandLine.format || commandLine.start) {
        // Checked before the window opens a device: a wrong name is a one-line error.
        OpenPNPCamera camera;
        choice = CameraChoice::resolve(commandLine, &camera, camera.availableCameras());
        if (!choice)
            return CommandLine::usageError;
    }

    MainWindow window;
    SignalWatcher signalWatcher;
    // A terminating signal closes the window as the user would: a recording is finished. It
    // then leaves every event loop, a box's too, so that no open box keeps the program alive.
    QObject::connect(&signalWatcher, &SignalWatcher::terminationRequested, &window, [&window] {
        window.close();
        QCoreApplication::exit(0);
    });
    window.show();
    // From inside the event loop: a box the start opens runs within it, and a signal that ends
    // that loop ends the program (an exit before exec() would be forgotten by exec()).
    QTimer::singleShot(0, &window, [&window, choice, &commandLine] {
        if (choice)
            window.openCamera(choice->camera, choice->format, commandLine.start);
        if (commandLine.fullscreen)
            window.enterFullscreen();
    });
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    setIdentity();
    // Decided before any application object exists: only the window needs a display.
    const CommandLine commandLine = CommandLine::parse(argumentList(argc, argv));
    if (commandLine.action != CommandLine::Action::Window)
        return runWithoutWindow(argc, argv);
    return runWindow(argc, argv, commandLine);
}
