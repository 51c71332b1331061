#pragma once

#include <QSplitter>

// The window's two halves side by side: the control panel at its own width, the video area
// taking the rest, with a slim handle between them.
class MainSplitter : public QSplitter
{
    Q_OBJECT

public:
    MainSplitter(QWidget *panel, QWidget *video, QWidget *parent = nullptr);
};
