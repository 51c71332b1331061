// What the bench tools cost at 1920x1080@30 (synthetic Motion-JPEG), through the real window.
//
//   ostrel_bench_tools [seconds=10]          every case in turn, each in a process of its own
//   ostrel_bench_tools shots FOLDER           pictures of the window and the tools for the README
//
// Each case runs the window with the camera started and the tools set as named; reported are the
// process's CPU without the synthetic camera's own thread (ostrel-synth), as a share of one core,
// and the frames the view finder painted per second. "hidden" is every tool shown once and then
// closed, to compare with "none" (never opened). Run it under a display (xvfb-run); offscreen
// nothing is painted.
#include "benchsupport.h"
#include "benchtoolswindow.h"
#include "testsupport/mainwindowaccess.h"
#include "viewfinder.h"

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

const char *const cases[] = {"none",     "diagnostics", "focus",  "histogram", "peaking",
                             "overlays", "zoom 4x",     "hidden", "all"};

struct PaintCounter : QObject
{
    int frames = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        frames += event->type() == QEvent::Paint;
        return false;
    }
};

template<typename T> T *child(QWidget *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}

void setOverlays(BenchToolsWindow *tools, bool on)
{
    for (const char *name : {"crosshairCheck", "gridCheck", "rulerCheck"})
        child<QCheckBox>(tools, name)->setChecked(on);
}

// Sets the window up for a case; false for an unknown one.
bool arrange(const QString &name, MainWindow &window, BenchToolsWindow *tools)
{
    auto *peaking = child<QCheckBox>(tools, "peakingCheck");
    auto *view = child<ViewFinder>(&window, "videoLabel");
    if (name == QLatin1String("diagnostics") || name == QLatin1String("all"))
        tools->showPage(BenchToolsWindow::Diagnostics);
    else if (name == QLatin1String("focus"))
        tools->showPage(BenchToolsWindow::Focus);
    else if (name == QLatin1String("histogram"))
        tools->showPage(BenchToolsWindow::Exposure);
    if (name == QLatin1String("peaking") || name == QLatin1String("all"))
        peaking->setChecked(true);
    if (name == QLatin1String("overlays") || name == QLatin1String("all"))
        setOverlays(tools, true);
    if (name == QLatin1String("zoom 4x"))
        view->zoomAbout(QPointF(view->width() / 3.0, view->height() / 3.0), 4);
    if (name == QLatin1String("hidden")) {
        for (auto page : {BenchToolsWindow::Diagnostics, BenchToolsWindow::Focus,
                          BenchToolsWindow::Exposure, BenchToolsWindow::Overlays}) {
            tools->showPage(page);
            BenchSupport::runEventLoop(300);
        }
        peaking->setChecked(true);
        setOverlays(tools, true);
        BenchSupport::runEventLoop(300);
        peaking->setChecked(false);
        setOverlays(tools, false);
        tools->hide();
    }
    return std::find(std::begin(cases), std::end(cases), name) != std::end(cases);
}

int runCase(const QString &name, int seconds, const QString &shots, int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareWindowTestApplication();
    QSettings(QString::fromLatin1(AppInfo::organisation), QString::fromLatin1(AppInfo::name))
        .clear();
    MainWindow window;
    window.resize(1280, 800);
    window.show();
    window.openCamera(0, 0, true);
    auto *tools = window.findChild<BenchToolsWindow *>(QStringLiteral("benchTools"));
    if (!tools || !arrange(name, window, tools)) {
        std::fprintf(stderr, "no such case or no camera: %s\n", qPrintable(name));
        return 1;
    }
    PaintCounter counter;
    child<QWidget>(&window, "videoLabel")->installEventFilter(&counter);
    BenchSupport::runEventLoop(1500); // the stream settles
    if (!shots.isEmpty()) {
        // A ruler as two clicks 1000 pixels apart on a 50 mm gauge would set it.
        emit child<ViewFinder>(&window, "videoLabel")
            ->rulerPicked(QPointF(420, 950), QPointF(1420, 950));
        child<QDoubleSpinBox>(tools, "rulerMillimetres")->setValue(50);
        BenchSupport::runEventLoop(300);
        window.grab().save(shots + QStringLiteral("/benchtools-window.png"));
        tools->grab().save(shots + QStringLiteral("/benchtools-diagnostics.png"));
        for (auto [page, file] : {std::pair{BenchToolsWindow::Focus, "focus"},
                                  {BenchToolsWindow::Exposure, "exposure"}}) {
            tools->showPage(page);
            BenchSupport::runEventLoop(800);
            tools->grab().save(shots + QStringLiteral("/benchtools-%1.png").arg(file));
        }
        return 0;
    }
    counter.frames = 0;
    const auto byName = [] {
        QMap<QString, double> seconds;
        for (const BenchSupport::ThreadCpu &thread : BenchSupport::threadCpu())
            seconds[thread.name] += thread.seconds;
        return seconds;
    };
    const QMap<QString, double> before = byName();
    const double cpuBefore = BenchSupport::processCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    BenchSupport::runEventLoop(seconds * 1000);
    const double elapsed = double(wall.elapsed()) / 1000.0;
    const double cpu = BenchSupport::processCpuSeconds() - cpuBefore;
    const QMap<QString, double> after = byName();
    const auto used = [&](const char *thread) {
        const QString name = QString::fromLatin1(thread);
        return 100.0 * (after.value(name) - before.value(name)) / elapsed;
    };
    // The tools run on the GUI thread (the main thread, named after the program) and Qt's paint
    // helpers; the capture and decode threads do the same work whatever the tools do.
    std::printf("  %-12s CPU without ostrel-synth %5.1f %% of one core (GUI thread %5.1f %%, "
                "paint helpers %5.1f %%), %4.1f frames painted per second\n",
                qPrintable(name), 100.0 * (cpu / elapsed) - used("ostrel-synth"),
                used("ostrel_bench_to"), used("Thread (pooled)"), counter.frames / elapsed);
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("OSTREL_SYNTHETIC_CAMERAS", "Bench Camera=1920x1080@30:MJPG");
    if (argc > 3 && qstrcmp(argv[1], "run") == 0)
        return runCase(QString::fromLocal8Bit(argv[2]), std::max(1, std::atoi(argv[3])), {}, argc,
                       argv);
    if (argc > 2 && qstrcmp(argv[1], "shots") == 0)
        return runCase(QStringLiteral("all"), 1, QString::fromLocal8Bit(argv[2]), argc, argv);
    const int seconds = BenchSupport::positiveArgument(argc, argv, 1, 10);
    const QString program = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    std::printf("bench tools at 1920x1080@30 MJPG in a 1280x800 window, %d s each\n", seconds);
    std::fflush(stdout);
    for (const char *name : cases) {
        QProcess run;
        run.setProcessChannelMode(QProcess::ForwardedChannels);
        run.start(program,
                  {QStringLiteral("run"), QString::fromLatin1(name), QString::number(seconds)});
        if (!run.waitForFinished(-1) || run.exitCode() != 0)
            std::printf("  %s: the run failed\n", name);
    }
    return 0;
}
