#pragma once

#include "framediagnostics.h"

#include <QWidget>

#include <vector>

// The frame intervals of the last seconds as a chart read at a glance: each frame a bar as tall
// as the time since the frame before it, the camera's promised period a line across. A lost
// frame stands out as a bar twice as tall, jitter as a ragged top. GUI thread only.
class IntervalPlot : public QWidget
{
    Q_OBJECT

public:
    explicit IntervalPlot(QWidget *parent = nullptr);

    // samples oldest first; periodMs: the interval the format promises (0: unknown).
    void setSamples(std::vector<FrameDiagnostics::Sample> samples, double periodMs);

    QSize sizeHint() const override { return {360, 140}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<FrameDiagnostics::Sample> shown;
    double period = 0;
};
