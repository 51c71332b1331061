#pragma once

#include <QWidget>

class HistogramPlot;
class IntervalPlot;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;

// A tool window beside the main window with the bench tools, one page each: what the camera
// delivers, the focus figure, the histogram and the marks over the picture. It only builds and
// lays out the widgets; BenchToolsController wires them. GUI thread only.
class BenchToolsWindow : public QWidget
{
    Q_OBJECT

public:
    enum Page { Diagnostics, Focus, Exposure, Overlays };

    explicit BenchToolsWindow(QWidget *parent = nullptr);

    // The page shown while the window is visible, or -1 when it is hidden.
    int visiblePage() const;
    void showPage(Page page);

    QTabWidget *tabs = nullptr;
    IntervalPlot *intervalPlot = nullptr;
    QLabel *diagnosticsText = nullptr;

    QLabel *sharpnessLabel = nullptr;
    QLabel *bestSharpnessLabel = nullptr;
    QPushButton *resetBestButton = nullptr;
    QSpinBox *focusRegionSize = nullptr; // percent of the picture's sides
    QCheckBox *peakingCheck = nullptr;

    HistogramPlot *histogram = nullptr;

    QCheckBox *crosshairCheck = nullptr;
    QCheckBox *gridCheck = nullptr;
    QSpinBox *gridColumns = nullptr;
    QSpinBox *gridRows = nullptr;
    QCheckBox *rulerCheck = nullptr;
    QPushButton *pickRulerButton = nullptr;
    QDoubleSpinBox *rulerMillimetres = nullptr;
    QLabel *rulerScaleLabel = nullptr;
    QCheckBox *burnInCheck = nullptr;

signals:
    // The window was shown or hidden, or another page chosen.
    void visiblePageChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *createDiagnosticsPage();
    QWidget *createFocusPage();
    QWidget *createExposurePage();
    QWidget *createOverlaysPage();
};
