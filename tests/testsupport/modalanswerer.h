#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>

class QWidget;

// Answers the modal boxes and dialogs that a call under test opens, without real waiting: a
// timer started before the call looks for the active modal widget, records what it showed and
// answers it (OK for a message box, Cancel for any other dialog, unless an action is given).
class ModalAnswerer : public QObject
{
    Q_OBJECT

public:
    struct Seen
    {
        QString className;
        QString title;
        QString text;    // a message box's text
        QString details; // and its informative text
    };
    using Action = std::function<void(QWidget *modal)>;

    explicit ModalAnswerer(Action action = {}, QObject *parent = nullptr);

    // How long a modal stays open before it is answered (default: at once).
    void setAnswerDelay(int milliseconds) { answerDelayMs = milliseconds; }

    const QList<Seen> &seen() const { return seenModals; }
    int count() const { return seenModals.size(); }

private:
    void poll();
    void answer(QWidget *modal);

    Action action;
    QTimer timer;
    QList<Seen> seenModals;
    QPointer<QWidget> current;
    int answerDelayMs = 0;
};
