#include "histogramplot.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

HistogramPlot::HistogramPlot(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("histogramPlot"));
    setAccessibleName(tr("Histogram of luma and colours"));
    setMinimumSize(256, 120);
}

void HistogramPlot::setHistogram(const ImageMeasures::Histogram &histogram)
{
    counts = histogram;
    setAccessibleDescription(clippedText());
    update();
}

QString HistogramPlot::clippedText() const
{
    return tr("Clipped: %1 % dark, %2 % light")
        .arg(counts.clippedDark * 100, 0, 'f', 1)
        .arg(counts.clippedLight * 100, 0, 'f', 1);
}

void HistogramPlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x22, 0x22, 0x22));
    const QRectF area = QRectF(rect()).adjusted(4, 20, -4, -4);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(rect()).adjusted(6, 2, -6, 0), Qt::AlignLeft | Qt::AlignTop,
                     clippedText());
    if (counts.pixels == 0)
        return;
    // Square-root heights, so that a tall peak does not flatten everything else.
    quint32 top = 1;
    for (const auto *channel : {&counts.luma, &counts.red, &counts.green, &counts.blue})
        top = std::max(top, *std::max_element(channel->begin(), channel->end()));
    const auto path = [&](const std::array<quint32, 256> &channel) {
        QPainterPath outline(area.bottomLeft());
        for (int i = 0; i < 256; ++i)
            outline.lineTo(area.left() + area.width() * i / 255.0,
                           area.bottom() - std::sqrt(double(channel[i]) / top) * area.height());
        outline.lineTo(area.bottomRight());
        return outline;
    };
    painter.setPen(QPen(QColor(255, 80, 80), 1));
    painter.drawPath(path(counts.red));
    painter.setPen(QPen(QColor(80, 220, 80), 1));
    painter.drawPath(path(counts.green));
    painter.setPen(QPen(QColor(100, 140, 255), 1));
    painter.drawPath(path(counts.blue));
    painter.fillPath(path(counts.luma), QColor(255, 255, 255, 90));
    painter.setPen(QPen(Qt::white, 1));
    painter.drawPath(path(counts.luma));
}
