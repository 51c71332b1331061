#include "fullscreenview.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

FullscreenView::FullscreenView(QWidget *parent)
    : ViewFinder(QString(), parent)
{
    setObjectName(QStringLiteral("fullscreenLabel"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setBackground(Qt::black);
    setScaling(Scaling::AlwaysSmooth);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Fullscreen camera view"));
}

void FullscreenView::enter(const QImage &picture)
{
    // Always the primary screen, whichever screen the main window is on.
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    setGeometry(screen->geometry());
    if (!picture.isNull())
        setFrame(picture);
    showFullScreen();
    raise();
    setFocus(Qt::OtherFocusReason);
}

void FullscreenView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        hide();
    // Every other key is swallowed too: the view reacts to Escape only.
    event->accept();
}

void FullscreenView::showEvent(QShowEvent *event)
{
    ViewFinder::showEvent(event);
    emit visibilityChanged(true);
}

void FullscreenView::hideEvent(QHideEvent *event)
{
    ViewFinder::hideEvent(event);
    emit visibilityChanged(false);
}
