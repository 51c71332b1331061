#include "levelmeter.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {
constexpr double floorDb = -60.0;
constexpr double silenceDb = -50.0;
constexpr int readsPerSecond = 15;
// The bar falls at most this far per read, so that it can be followed by eye.
constexpr double fallDbPerRead = 2.0;

double decibels(double peak)
{
    return peak > 0.0 ? std::max(floorDb, 20.0 * std::log10(peak)) : floorDb;
}
} // namespace

LevelMeter::LevelMeter(QWidget *parent)
    : QWidget(parent)
    , timer(new QTimer(this))
{
    setObjectName(QStringLiteral("levelMeter"));
    setAccessibleName(tr("Sound level"));
    setToolTip(tr("Loudness of the sound being recorded"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    timer->setInterval(1000 / readsPerSecond);
    connect(timer, &QTimer::timeout, this, &LevelMeter::read);
    hide();
}

void LevelMeter::follow(std::function<double()> peak)
{
    readPeak = std::move(peak);
    shown = floorDb;
    held = floorDb;
    quietReads = 0;
    silent = false;
    if (readPeak) {
        timer->start();
        show();
    } else {
        timer->stop();
        hide();
    }
}

void LevelMeter::read()
{
    const double peak = readPeak ? readPeak() : 0.0;
    setLevel(std::max(0.0, peak));
    emit levelChanged(std::max(0.0, peak));
}

void LevelMeter::setLevel(double peak)
{
    const double level = decibels(peak);
    shown = std::max(level, shown - fallDbPerRead);
    if (level >= held || ++heldFor > readsPerSecond) {
        held = level;
        heldFor = 0;
    }
    quietReads = level < silenceDb ? quietReads + 1 : 0;
    const bool nowSilent = quietReads >= readsPerSecond;
    if (nowSilent != silent) {
        silent = nowSilent;
        setAccessibleDescription(silent ? tr("Silent") : QString());
    }
    update();
}

QSize LevelMeter::sizeHint() const
{
    return {110, 18};
}

void LevelMeter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF area = QRectF(rect()).adjusted(1, 1, -1, -1);
    painter.fillRect(rect(), QColor(0, 0, 0, 120));
    const auto xOf = [&](double db) {
        return area.left() + area.width() * (db - floorDb) / -floorDb;
    };
    if (silent) {
        painter.setPen(QColor(255, 170, 0));
        painter.drawText(area, Qt::AlignCenter, tr("Silent"));
        return;
    }
    const struct
    {
        double from, to;
        QColor colour;
    } bands[] = {{floorDb, -12.0, QColor(0, 200, 0)},
                 {-12.0, -3.0, QColor(230, 200, 0)},
                 {-3.0, 0.0, QColor(230, 0, 0)}};
    for (const auto &band : bands) {
        const double to = std::min(band.to, shown);
        if (to > band.from)
            painter.fillRect(
                QRectF(QPointF(xOf(band.from), area.top()), QPointF(xOf(to), area.bottom())),
                band.colour);
    }
    painter.fillRect(QRectF(xOf(held) - 1, area.top(), 2, area.height()), Qt::white);
}
