#pragma once

#include <QScrollArea>

// Holds the control panel: as narrow as the panel allows, never narrower, and as short as the
// screen needs, scrolling the panel up and down when it is taller than the window.
class PanelScrollArea : public QScrollArea
{
    Q_OBJECT

public:
    explicit PanelScrollArea(QWidget *panel, QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;
};
