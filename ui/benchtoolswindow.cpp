#include "benchtoolswindow.h"

#include "histogramplot.h"
#include "intervalplot.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

template<typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

BenchToolsWindow::BenchToolsWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("benchTools"));
    setWindowTitle(tr("Bench Tools"));
    tabs = named(new QTabWidget, "benchToolsTabs");
    tabs->addTab(createDiagnosticsPage(), tr("Diagnostics"));
    tabs->addTab(createFocusPage(), tr("Focus"));
    tabs->addTab(createExposurePage(), tr("Exposure"));
    tabs->addTab(createOverlaysPage(), tr("Overlays"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(tabs);
    connect(tabs, &QTabWidget::currentChanged, this, &BenchToolsWindow::visiblePageChanged);
    resize(420, 420);
}

int BenchToolsWindow::visiblePage() const
{
    return isVisible() ? tabs->currentIndex() : -1;
}

void BenchToolsWindow::showPage(Page page)
{
    tabs->setCurrentIndex(page);
    show();
    raise();
}

void BenchToolsWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    emit visiblePageChanged();
}

void BenchToolsWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    emit visiblePageChanged();
}

QWidget *BenchToolsWindow::createDiagnosticsPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    intervalPlot = new IntervalPlot;
    diagnosticsText =
        named(new QLabel(tr("Start the camera to see what it delivers.")), "diagnosticsText");
    diagnosticsText->setWordWrap(true);
    diagnosticsText->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                             Qt::TextSelectableByKeyboard);
    layout->addWidget(intervalPlot, 1);
    layout->addWidget(diagnosticsText);
    return page;
}

QWidget *BenchToolsWindow::createFocusPage()
{
    auto *page = new QWidget;
    auto *layout = new QFormLayout(page);
    sharpnessLabel = named(new QLabel(QStringLiteral("–")), "sharpnessLabel");
    QFont big = sharpnessLabel->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    sharpnessLabel->setFont(big);
    bestSharpnessLabel = named(new QLabel(QStringLiteral("–")), "bestSharpnessLabel");
    resetBestButton = named(new QPushButton(tr("Reset best")), "resetBestButton");
    focusRegionSize = named(new QSpinBox, "focusRegionSize");
    focusRegionSize->setRange(5, 100);
    focusRegionSize->setValue(25);
    focusRegionSize->setSuffix(QStringLiteral(" %"));
    peakingCheck = named(new QCheckBox(tr("Mark sharp edges (focus peaking)")), "peakingCheck");
    layout->addRow(tr("Sharpness:"), sharpnessLabel);
    layout->addRow(tr("Best so far:"), bestSharpnessLabel);
    layout->addRow(QString(), resetBestButton);
    layout->addRow(tr("Region (around the crosshair):"), focusRegionSize);
    layout->addRow(peakingCheck);
    return page;
}

QWidget *BenchToolsWindow::createExposurePage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    histogram = new HistogramPlot;
    layout->addWidget(histogram);
    return page;
}

QWidget *BenchToolsWindow::createOverlaysPage()
{
    auto *page = new QWidget;
    auto *layout = new QFormLayout(page);
    crosshairCheck =
        named(new QCheckBox(tr("Crosshair (drag it, or Alt+arrow keys)")), "crosshairCheck");
    gridCheck = named(new QCheckBox(tr("Grid")), "gridCheck");
    gridColumns = named(new QSpinBox, "gridColumns");
    gridRows = named(new QSpinBox, "gridRows");
    for (QSpinBox *box : {gridColumns, gridRows})
        box->setRange(1, 64);
    gridColumns->setAccessibleName(tr("Grid columns"));
    gridRows->setAccessibleName(tr("Grid rows"));
    auto *gridSize = new QHBoxLayout;
    gridSize->addWidget(gridColumns);
    gridSize->addWidget(new QLabel(QStringLiteral("×")));
    gridSize->addWidget(gridRows);
    rulerCheck = named(new QCheckBox(tr("Ruler")), "rulerCheck");
    pickRulerButton = named(new QPushButton(tr("Click two points…")), "pickRulerButton");
    rulerMillimetres = named(new QDoubleSpinBox, "rulerMillimetres");
    rulerMillimetres->setRange(0, 100000);
    rulerMillimetres->setDecimals(3);
    rulerMillimetres->setSuffix(tr(" mm"));
    rulerMillimetres->setAccessibleName(tr("Distance between the two points"));
    rulerScaleLabel = named(new QLabel, "rulerScaleLabel");
    burnInCheck = named(new QCheckBox(tr("Burn the marks into snapshots")), "burnInCheck");
    layout->addRow(crosshairCheck);
    layout->addRow(gridCheck, gridSize);
    layout->addRow(rulerCheck, pickRulerButton);
    layout->addRow(tr("Distance between the points:"), rulerMillimetres);
    layout->addRow(rulerScaleLabel);
    layout->addRow(burnInCheck);
    return page;
}
