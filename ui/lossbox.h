#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QMessageBox;
class QWidget;

// The box that tells of a lost camera. Nothing waits for it: a camera that returns while it is
// open starts again at once, and a later loss rewrites the open box instead of stacking another
// one on it. GUI thread only.
class LossBox : public QObject
{
    Q_OBJECT

public:
    explicit LossBox(QWidget *parent);

    // Opens the box window-modal over the parent, or updates the one open.
    void show(const QString &title, const QString &cause, const QString &text);

private:
    QWidget *parentWidget;
    QPointer<QMessageBox> box; // deleted once closed
};
