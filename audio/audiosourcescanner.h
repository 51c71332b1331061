#pragma once

#include "audiosourceinfo.h"

#include <QObject>
#include <QString>

class QThread;

// Asks the sound server for its sources in the background, so that the GUI thread never waits
// for it. GUI thread only.
class AudioSourceScanner : public QObject
{
    Q_OBJECT

public:
    explicit AudioSourceScanner(QObject *parent = nullptr);
    // Waits for a scan still running; the server's answer is waited for only a few seconds.
    ~AudioSourceScanner() override;

    // Starts a scan; finished() follows. A scan asked for while one runs follows it.
    void scan();

signals:
    // The server's sources; with an error (and no sources) when there is no sound server.
    void finished(const AudioSourceList &list, const QString &error);

private:
    void startScan();

    QThread *worker = nullptr;
    bool scanAgain = false;
    // Written by the worker, read once it has finished.
    AudioSourceList result;
    QString resultError;
};
