#pragma once

#include "viewfinder.h"

// The live picture alone on the whole primary screen, on black: a frameless top-level window
// of its own, so the main window keeps its layout behind it. Escape leaves it.
class FullscreenView : public ViewFinder
{
    Q_OBJECT

public:
    explicit FullscreenView(QWidget *parent = nullptr);

    // Opens on the primary screen with picture (kept from before when it is null); does nothing
    // without a screen.
    void enter(const QImage &picture);

signals:
    void visibilityChanged(bool visible);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
};
