#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT, SIGTERM and SIGHUP into a Qt signal on the GUI thread, so that the program ends
// through its normal close: a running recording is finished, nothing is lost. SIGUSR1 asks to
// pause or resume a recording. The handler only writes the signal number into a pipe;
// everything else happens in the event loop.
class SignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

signals:
    void terminationRequested(int signalNumber);
    void pauseToggleRequested();

private:
    void readSignal();

    QSocketNotifier *notifier = nullptr;
};
