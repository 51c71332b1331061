#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>

// Answers the modal boxes and dialogs that a call under test opens, without real waiting: a
// timer started before the call looks for the active modal widget, records what it showed and
// answers it (OK for a message box, Cancel for any other dialog, unless an action is given).
class ModalAnswerer
{
public:
    struct Seen
    {
        QString title;
        QString text;    // a message box's text
        QString details; // and its informative text
    };
    using Action = std::function<void(QWidget *modal)>;

    explicit ModalAnswerer(Action action = {})
        : action(std::move(action))
    {
        QObject::connect(&timer, &QTimer::timeout, [this] { poll(); });
        timer.start(10);
    }

    const QList<Seen> &seen() const { return seenModals; }
    int count() const { return int(seenModals.size()); }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == current)
            return;
        current = modal;
        auto *box = qobject_cast<QMessageBox *>(modal);
        seenModals.append({modal->windowTitle(), box ? box->text() : QString(),
                           box ? box->informativeText() : QString()});
        // Answered from a timer of its own, so that a modal the answer opens is seen too.
        QTimer::singleShot(0, &timer, [this, target = QPointer<QWidget>(modal)] {
            if (target)
                answer(target);
        });
    }

    void answer(QWidget *modal)
    {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (action)
            action(modal);
        else if (QAbstractButton *ok = box ? box->button(QMessageBox::Ok) : nullptr)
            ok->click();
        else if (box)
            box->accept();
        else if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
    }

    Action action;
    QTimer timer;
    QList<Seen> seenModals;
    QPointer<QWidget> current;
};
