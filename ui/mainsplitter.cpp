#include "mainsplitter.h"

MainSplitter::MainSplitter(QWidget *panel, QWidget *video, QWidget *parent)
    : QSplitter(Qt::Horizontal, parent)
{
    addWidget(panel);
    addWidget(video);
    setStretchFactor(0, 0);
    setStretchFactor(1, 1);
    setSizes({300, 700});
    setHandleWidth(2);
    setStyleSheet(
        QStringLiteral("QSplitter::handle { background-color: #999; margin: 1px; border-radius: "
                       "3px; } QSplitter::handle:hover { background-color: #bbb; }"));
}
