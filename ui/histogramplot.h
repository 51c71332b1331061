#pragma once

#include "imagemeasures.h"

#include <QWidget>

// A histogram of luma and of red, green and blue, the clipped shares at both ends written above
// it. GUI thread only.
class HistogramPlot : public QWidget
{
    Q_OBJECT

public:
    explicit HistogramPlot(QWidget *parent = nullptr);

    void setHistogram(const ImageMeasures::Histogram &histogram);
    // "Clipped: 0.4 % dark, 2.1 % light", as written over the chart.
    QString clippedText() const;

    QSize sizeHint() const override { return {360, 160}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ImageMeasures::Histogram counts;
};
