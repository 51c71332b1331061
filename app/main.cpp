#include "appinfo.h"
#include "mainwindow.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

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

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/resources/dunmo-logo.ico")));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setStyleSheet(QString::fromLatin1(applicationStyleSheet));
    QApplication::setApplicationName(QString::fromLatin1(AppInfo::name));
    QApplication::setApplicationVersion(QString::fromLatin1(AppInfo::version));
    QApplication::setOrganizationName(QString::fromLatin1(AppInfo::organisation));

    MainWindow window;
    window.show();
    return app.exec();
}
