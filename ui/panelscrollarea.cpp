#include "panelscrollarea.h"

#include <QScrollBar>

namespace {

// Enough height for the camera group and the start button above any scrolling.
constexpr int shortestHeight = 120;

} // namespace

PanelScrollArea::PanelScrollArea(QWidget *panel, QWidget *parent)
    : QScrollArea(parent)
{
    setObjectName(QStringLiteral("panelScrollArea"));
    setWidget(panel);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

// The width follows the panel's (longer texts in some languages, the camera controls opened),
// with room for the scroll bar.
QSize PanelScrollArea::minimumSizeHint() const
{
    const int width = widget()->minimumSizeHint().width() + verticalScrollBar()->sizeHint().width();
    return QSize(width, shortestHeight);
}

QSize PanelScrollArea::sizeHint() const
{
    return QSize(minimumSizeHint().width(), widget()->sizeHint().height());
}
