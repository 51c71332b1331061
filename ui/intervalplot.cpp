#include "intervalplot.h"

#include <QPainter>

#include <algorithm>

namespace {

// The seconds of camera time the chart spans.
constexpr double spanSeconds = 10;

} // namespace

IntervalPlot::IntervalPlot(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("intervalPlot"));
    setAccessibleName(tr("Frame intervals of the last ten seconds"));
    setMinimumSize(240, 100);
}

void IntervalPlot::setSamples(std::vector<FrameDiagnostics::Sample> samples, double periodMs)
{
    shown = std::move(samples);
    period = periodMs;
    update();
}

void IntervalPlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x22, 0x22, 0x22));
    const QRectF area = QRectF(rect()).adjusted(56, 8, -8, -18);
    double top = std::max(period * 2.5, 1.0);
    for (size_t i = 1; i < shown.size(); ++i)
        top = std::max(top, (shown[i].timestampUs - shown[i - 1].timestampUs) / 1000.0 * 1.1);
    const auto yOf = [&](double ms) {
        return area.bottom() - ms / top * area.height();
    };

    painter.setPen(QColor(0xaa, 0xaa, 0xaa));
    painter.drawText(QRectF(0, area.top() - 6, 52, 14), Qt::AlignRight,
                     tr("%1 ms").arg(top, 0, 'f', 0));
    painter.drawText(QRectF(0, area.bottom() - 8, 52, 14), Qt::AlignRight, tr("0 ms"));
    painter.drawText(QRectF(area.left(), area.bottom() + 2, area.width(), 16), Qt::AlignLeft,
                     tr("%1 s ago").arg(spanSeconds, 0, 'f', 0));
    painter.drawText(QRectF(area.left(), area.bottom() + 2, area.width(), 16), Qt::AlignRight,
                     tr("now"));
    if (shown.size() >= 2) {
        const double nowUs = double(shown.back().timestampUs);
        for (size_t i = 1; i < shown.size(); ++i) {
            const double ms = (shown[i].timestampUs - shown[i - 1].timestampUs) / 1000.0;
            const double ago = (nowUs - double(shown[i].timestampUs)) / 1e6;
            if (ago > spanSeconds)
                continue;
            const double x = area.right() - ago / spanSeconds * area.width();
            // Past one and a half periods a frame is missing: red.
            const bool late = period > 0 && ms > period * 1.5;
            painter.setPen(late ? QColor(0xff, 0x50, 0x50) : QColor(0x40, 0xc0, 0xff));
            painter.drawLine(QPointF(x, area.bottom()), QPointF(x, yOf(ms)));
        }
    }
    if (period > 0) {
        painter.setPen(QPen(QColor(0x60, 0xff, 0x60), 1, Qt::DashLine));
        painter.drawLine(QPointF(area.left(), yOf(period)), QPointF(area.right(), yOf(period)));
        painter.drawText(QRectF(0, yOf(period) - 7, 52, 14), Qt::AlignRight,
                         tr("%1 ms").arg(period, 0, 'f', 1));
    }
}
