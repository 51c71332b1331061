#include "publishcontroller.h"

#include "capturesession.h"

#include <QPushButton>

PublishController::PublishController(QPushButton *button, CaptureSession *session,
                                     std::function<QString()> url, QObject *parent)
    : QObject(parent)
    , button(button)
    , session(session)
    , url(std::move(url))
{
    button->setCheckable(true);
    button->setEnabled(session->isRunning());
    showState(Publisher::State::Idle, QString());
    connect(button, &QPushButton::clicked, this, &PublishController::toggle);
    connect(session, &CaptureSession::runningChanged, button, &QPushButton::setEnabled);
    connect(session->publisher(), &Publisher::stateChanged, this, &PublishController::showState);
}

void PublishController::toggle(bool publish)
{
    if (!publish) {
        session->stopPublishing();
        return;
    }
    const QString address = url().trimmed();
    if (address.isEmpty()) {
        button->setChecked(false);
        emit notificationRequested(tr("Set the address to publish to in the settings first"),
                                   false);
        return;
    }
    // A refused address is told through the Failed state; without a running camera nothing
    // starts.
    if (!session->startPublishing(address))
        button->setChecked(false);
}

void PublishController::showState(Publisher::State state, const QString &error)
{
    using State = Publisher::State;
    button->setChecked(state == State::Connecting || state == State::Live ||
                       state == State::Reconnecting);
    switch (state) {
    case State::Idle:
        button->setText(tr("Publish"));
        button->setToolTip(tr("Send the picture to the media server set in the settings"));
        break;
    case State::Connecting:
        button->setText(tr("Connecting…"));
        button->setToolTip(tr("Connecting to %1").arg(session->publisher()->url()));
        break;
    case State::Live:
        button->setText(tr("Live"));
        button->setToolTip(tr("Live at %1; click to stop").arg(session->publisher()->url()));
        break;
    case State::Reconnecting:
        button->setText(tr("Reconnecting…"));
        button->setToolTip(tr("The server was lost (%1); trying again every second").arg(error));
        break;
    case State::Failed:
        button->setText(tr("Publish"));
        button->setToolTip(tr("Publishing failed: %1").arg(error));
        emit notificationRequested(tr("Publishing failed: %1").arg(error), false);
        break;
    }
}
