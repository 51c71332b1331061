#include "modalanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>

ModalAnswerer::ModalAnswerer(Action action, QObject *parent)
    : QObject(parent)
    , action(std::move(action))
{
    connect(&timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer.start(10);
}

void ModalAnswerer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || modal == current)
        return;
    current = modal;
    Seen seen;
    seen.className = QString::fromLatin1(modal->metaObject()->className());
    seen.title = modal->windowTitle();
    if (auto *box = qobject_cast<QMessageBox *>(modal))
        seen.text = box->text(), seen.details = box->informativeText();
    seenModals.append(seen);

    QPointer<QWidget> target = modal;
    QTimer::singleShot(answerDelayMs, this, [this, target] {
        if (target)
            answer(target);
    });
}

void ModalAnswerer::answer(QWidget *modal)
{
    if (action) {
        action(modal);
        return;
    }
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        if (QAbstractButton *ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->accept();
    } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
        dialog->reject();
    }
}
