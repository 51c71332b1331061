#pragma once

#include <QLabel>

class QTimer;

// A framed message at the bottom of the video area for three seconds: green for success, red
// for failure. A new message replaces the one shown and restarts the three seconds; a notice
// under the mouse stays until the mouse leaves it. It floats over the window, outside any layout,
// and lets mouse clicks through unless it offers a folder to open.
class NotificationLabel : public QLabel
{
    Q_OBJECT

public:
    explicit NotificationLabel(QWidget *parent);

    // area: the video area's geometry in the parent's coordinates. With a folder, the notice
    // names it beneath the message and offers to open it (a link, reachable by keyboard); for
    // that while it shows, it takes mouse clicks.
    void showMessage(const QString &message, bool success, const QRect &area,
                     const QString &folder = {});

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QTimer *notificationTimer;
    QString shownFolder;
};
