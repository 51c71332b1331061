#pragma once

#include "publisher.h"

#include <QObject>
#include <QString>

#include <functional>

class CaptureSession;
class QPushButton;

// Publishing as the window shows it: the checkable "Publish" button starts and stops the
// session's stream to the address of the settings, and its text and tooltip follow the stream's
// state (live, reconnecting, or why it failed). GUI thread only.
class PublishController : public QObject
{
    Q_OBJECT

public:
    // button is not owned; url gives the address to publish to at the moment of the click.
    PublishController(QPushButton *button, CaptureSession *session, std::function<QString()> url,
                      QObject *parent = nullptr);

signals:
    // A stream that failed or could not start, for the window's notice.
    void notificationRequested(const QString &message, bool success);

private:
    void toggle(bool publish);
    void showState(Publisher::State state, const QString &error);

    QPushButton *button;
    CaptureSession *session;
    std::function<QString()> url;
};
