#include "appinfo.h"
#include "commandline.h"
#include "commandlinesession.h"
#include "mainwindow.h"
#include "signalwatcher.h"
#include "translations.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

#include <cstdio>

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
    QObject::connect(&session, &CommandLineSession::finished, &app, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    return app.exec();
}

int runWindow(int argc, char *argv[], const CommandLine &commandLine)
{
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(AppInfo::desktopId));
    Translations::install(app);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/resources/dunmo-logo.ico")));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setStyleSheet(QString::fromLatin1(applicationStyleSheet));

    std::optional<CommandLineSession::Choice> choice;
    if (!commandLine.camera.isEmpty() || commandLine.format || commandLine.start) {
        // Checked before the window opens a device: a wrong name is a one-line error.
        choice = CommandLineSession(commandLine).resolve();
        if (!choice)
            return CommandLine::usageError;
    }

    MainWindow window;
    SignalWatcher signalWatcher;
    // A terminating signal closes the window as the user would: a recording is finished.
    QObject::connect(&signalWatcher, &SignalWatcher::terminationRequested, &window,
                     &QWidget::close);
    window.show();
    if (choice)
        window.openCamera(choice->camera, choice->format, commandLine.start);
    if (commandLine.fullscreen)
        window.enterFullscreen();
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
