#include "benchtoolscontroller.h"

#include "bandwidthestimate.h"
#include "benchtoolswindow.h"
#include "capturesession.h"
#include "diagnosticsreport.h"
#include "histogramplot.h"
#include "imagemeasures.h"
#include "intervalplot.h"
#include "overlaypainter.h"
#include "viewfinder.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>

#include <cmath>

namespace {

// The picture measures run at most this often: the focus figure above 10 times a second at 25 fps
// and more, the histogram and the peaking marks as often as an eye follows them.
constexpr int focusIntervalMs = 66;
constexpr int histogramIntervalMs = 250;
constexpr int peakingIntervalMs = 125;
// The histogram samples about this many pixels, whatever the frame size.
constexpr double histogramPixels = 130000;

void addKey(QWidget *target, const QString &keys, const std::function<void()> &action)
{
    QObject::connect(new QShortcut(QKeySequence(keys, QKeySequence::NativeText), target),
                     &QShortcut::activated, target, action);
}

} // namespace

BenchToolsController::BenchToolsController(QWidget *window, CaptureSession *session,
                                           ViewFinder *view)
    : QObject(window)
    , session(session)
    , mainView(view)
    , tools(new BenchToolsWindow(window))
{
    diagnosticsTimer.setInterval(250);
    connect(&diagnosticsTimer, &QTimer::timeout, this, &BenchToolsController::updateDiagnostics);
    connect(session, &CaptureSession::runningChanged, this,
            &BenchToolsController::onRunningChanged);
    connect(session, &CaptureSession::frameAvailable, this, &BenchToolsController::onFrame);
    connect(tools, &BenchToolsWindow::visiblePageChanged, this,
            &BenchToolsController::onVisiblePageChanged);
    connect(tools->resetBestButton, &QPushButton::clicked, this, [this] {
        best = 0;
        tools->bestSharpnessLabel->setText(QStringLiteral("–"));
    });
    connect(tools->peakingCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (!on) {
            for (ViewFinder *v : views())
                v->setPeaking({});
        }
    });
    for (QCheckBox *box :
         {tools->crosshairCheck, tools->gridCheck, tools->rulerCheck, tools->burnInCheck})
        connect(box, &QCheckBox::toggled, this, &BenchToolsController::takeOverlayControls);
    for (QSpinBox *box : {tools->gridColumns, tools->gridRows})
        connect(box, &QSpinBox::valueChanged, this, &BenchToolsController::takeOverlayControls);
    connect(tools->rulerMillimetres, &QDoubleSpinBox::valueChanged, this,
            &BenchToolsController::takeOverlayControls);
    connect(tools->pickRulerButton, &QPushButton::clicked, this,
            [this] { activeView()->pickRulerPoints(); });
    showOverlayControls();
    addView(view);
    addKeys(window);
}

void BenchToolsController::addView(ViewFinder *view)
{
    if (view != mainView)
        fullscreenView = view;
    view->setOverlays(marks);
    connect(view, &ViewFinder::crosshairMoved, this, [this](QPointF pixel) {
        marks.crosshairAt = pixel;
        applyOverlays();
    });
    connect(view, &ViewFinder::rulerPicked, this, [this](QPointF from, QPointF to) {
        marks.ruler = true;
        marks.rulerFrom = from;
        marks.rulerTo = to;
        showOverlayControls();
        applyOverlays();
    });
}

void BenchToolsController::addKeys(QWidget *target)
{
    const std::pair<QString, BenchToolsWindow::Page> pages[] = {
        {tr("Ctrl+D"), BenchToolsWindow::Diagnostics},
        {tr("Ctrl+F"), BenchToolsWindow::Focus},
        {tr("Ctrl+H"), BenchToolsWindow::Exposure},
        {tr("Ctrl+G"), BenchToolsWindow::Overlays},
    };
    for (const auto &[keys, page] : pages) {
        addKey(target, keys, [this, page = page] {
            if (tools->visiblePage() == page)
                tools->hide();
            else
                tools->showPage(page);
        });
    }
    // Zooming by key keeps the middle of the view where it is.
    const std::pair<QString, double> zooms[] = {
        {tr("Ctrl++"), 1.25}, {tr("Ctrl+="), 1.25}, {tr("Ctrl+-"), 1 / 1.25}};
    for (const auto &[keys, factor] : zooms) {
        addKey(target, keys, [this, factor = factor] {
            ViewFinder *v = activeView();
            v->zoomAbout(QPointF(v->width() / 2.0, v->height() / 2.0), v->zoom() * factor);
        });
    }
    addKey(target, tr("Ctrl+1"), [this] { activeView()->zoomOneToOne(); });
    addKey(target, tr("Ctrl+0"), [this] { activeView()->zoomToFit(); });
    const std::pair<QString, QPoint> moves[] = {
        {tr("Alt+Left"), {-1, 0}},        {tr("Alt+Right"), {1, 0}},
        {tr("Alt+Up"), {0, -1}},          {tr("Alt+Down"), {0, 1}},
        {tr("Alt+Shift+Left"), {-10, 0}}, {tr("Alt+Shift+Right"), {10, 0}},
        {tr("Alt+Shift+Up"), {0, -10}},   {tr("Alt+Shift+Down"), {0, 10}},
    };
    for (const auto &[keys, step] : moves)
        addKey(target, keys, [this, step = step] { moveCrosshair(step.x(), step.y()); });
}

QList<ViewFinder *> BenchToolsController::views() const
{
    if (fullscreenView)
        return {mainView, fullscreenView.data()};
    return {mainView};
}

ViewFinder *BenchToolsController::activeView() const
{
    return fullscreenView && fullscreenView->isVisible() ? fullscreenView.data() : mainView;
}

QSize BenchToolsController::pictureSize() const
{
    if (!session->camera())
        return {};
    const CameraBase::CameraFormat format = session->camera()->currentFormat();
    return QSize(format.width, format.height);
}

void BenchToolsController::cameraStarting()
{
    link = UsbLink::ofCamera(session->cameraId());
    if (!link)
        return;
    const QString warning = BandwidthEstimate::warning(session->camera()->currentFormat(), *link);
    if (!warning.isEmpty())
        emit notificationRequested(warning, false);
}

void BenchToolsController::onRunningChanged(bool running)
{
    best = lastSharpness = 0;
    if (!running)
        return;
    marks = OverlaySettings::load(session->cameraId());
    for (ViewFinder *v : views())
        v->setPictureSize(pictureSize());
    showOverlayControls();
    applyOverlays();
    onVisiblePageChanged();
}

void BenchToolsController::onVisiblePageChanged()
{
    const int page = tools->visiblePage();
    if (page != BenchToolsWindow::Focus) {
        for (ViewFinder *v : views())
            v->setMeasuredRegion({});
    }
    session->diagnostics()->setEnabled(page == BenchToolsWindow::Diagnostics);
    if (page == BenchToolsWindow::Diagnostics)
        diagnosticsTimer.start();
    else
        diagnosticsTimer.stop();
}

void BenchToolsController::updateDiagnostics()
{
    if (!session->isRunning() || !session->camera())
        return;
    CameraBase *camera = session->camera();
    DiagnosticsReport report;
    report.format = camera->currentFormat();
    const std::vector<FrameDiagnostics::Sample> samples = session->diagnostics()->samples();
    report.figures = FrameDiagnostics::figuresOf(samples);
    report.counts = camera->frameCounts();
    if (session->recorder()->state() != Recorder::State::Idle)
        report.notRecorded = session->recorder()->statistics().framesDropped;
    report.usbChecked = true;
    report.link = link;
    tools->diagnosticsText->setText(report.lines().join(QLatin1Char('\n')));
    tools->intervalPlot->setSamples(samples, report.format.fps > 0 ? 1000 / report.format.fps : 0);
}

// Whether interval milliseconds have passed since timer last started; starts it again if so.
bool BenchToolsController::due(QElapsedTimer &timer, int interval)
{
    if (timer.isValid() && timer.elapsed() < interval)
        return false;
    timer.start();
    return true;
}

void BenchToolsController::onFrame(const QImage &frame)
{
    const int page = tools->visiblePage();
    if (page == BenchToolsWindow::Focus && due(sinceFocus, focusIntervalMs))
        measureFocus(frame);
    if (page == BenchToolsWindow::Exposure && due(sinceHistogram, histogramIntervalMs)) {
        const int step =
            int(std::ceil(std::sqrt(double(frame.width()) * frame.height() / histogramPixels)));
        tools->histogram->setHistogram(ImageMeasures::histogram(frame, step));
    }
    if (tools->peakingCheck->isChecked() && due(sincePeaking, peakingIntervalMs)) {
        const QList<QPoint> edges = ImageMeasures::peakingPoints(frame);
        for (ViewFinder *v : views())
            if (v->isVisible())
                v->setPeaking(edges);
    }
}

void BenchToolsController::measureFocus(const QImage &frame)
{
    // The region lies around the crosshair in the shown picture's pixels; the frame may be
    // decoded smaller and is not turned yet.
    const Orientation orientation = session->orientation();
    const QImage shown = orientation.isIdentity() ? frame : orientation.apply(frame);
    const QSize full = orientation.apply(pictureSize());
    const double toFrame = full.isEmpty() ? 1.0 : double(shown.width()) / full.width();
    const QPointF middle = OverlayPainter::crosshairPoint(marks, QSizeF(full)) * toFrame;
    const double share = tools->focusRegionSize->value() / 100.0;
    QRectF region(QPointF(), QSizeF(shown.size()) * share);
    region.moveCenter(middle);
    lastSharpness = ImageMeasures::sharpness(shown, region.toAlignedRect());
    for (ViewFinder *v : views())
        v->setMeasuredRegion(QRectF(region.topLeft() / toFrame, region.size() / toFrame));
    best = std::max(best, lastSharpness);
    tools->sharpnessLabel->setText(QString::number(lastSharpness, 'f', 1));
    tools->bestSharpnessLabel->setText(QString::number(best, 'f', 1));
}

void BenchToolsController::takeOverlayControls()
{
    marks.crosshair = tools->crosshairCheck->isChecked();
    marks.grid = tools->gridCheck->isChecked();
    marks.gridColumns = tools->gridColumns->value();
    marks.gridRows = tools->gridRows->value();
    marks.ruler = tools->rulerCheck->isChecked();
    marks.rulerMillimetres = tools->rulerMillimetres->value();
    marks.burnIntoSnapshots = tools->burnInCheck->isChecked();
    applyOverlays();
}

void BenchToolsController::showOverlayControls()
{
    const QSignalBlocker blockers[] = {
        QSignalBlocker(tools->crosshairCheck), QSignalBlocker(tools->gridCheck),
        QSignalBlocker(tools->gridColumns),    QSignalBlocker(tools->gridRows),
        QSignalBlocker(tools->rulerCheck),     QSignalBlocker(tools->rulerMillimetres),
        QSignalBlocker(tools->burnInCheck)};
    tools->crosshairCheck->setChecked(marks.crosshair);
    tools->gridCheck->setChecked(marks.grid);
    tools->gridColumns->setValue(marks.gridColumns);
    tools->gridRows->setValue(marks.gridRows);
    tools->rulerCheck->setChecked(marks.ruler);
    tools->rulerMillimetres->setValue(marks.rulerMillimetres);
    tools->burnInCheck->setChecked(marks.burnIntoSnapshots);
}

void BenchToolsController::applyOverlays()
{
    const double mmPerPixel = marks.millimetresPerPixel();
    tools->rulerScaleLabel->setText(
        mmPerPixel > 0 ? tr("%1 mm per pixel, %2 pixels per mm")
                             .arg(mmPerPixel, 0, 'g', 4)
                             .arg(1 / mmPerPixel, 0, 'g', 4)
                       : tr("Click two points a known distance apart, then enter it."));
    for (ViewFinder *v : views())
        v->setOverlays(marks);
    session->setSnapshotOverlays(marks);
    if (session->isRunning())
        marks.save(session->cameraId());
}

void BenchToolsController::moveCrosshair(int dx, int dy)
{
    const QSize full = session->orientation().apply(pictureSize());
    if (!marks.crosshair || full.isEmpty())
        return;
    const QPointF at = OverlayPainter::crosshairPoint(marks, QSizeF(full)) + QPointF(dx, dy);
    marks.crosshairAt = QPointF(std::clamp(at.x(), 0.0, full.width() - 1.0),
                                std::clamp(at.y(), 0.0, full.height() - 1.0));
    applyOverlays();
}
