#include "audiosourcescanner.h"

#include "pulseaudiolisting.h"

#include <QThread>

AudioSourceScanner::AudioSourceScanner(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<AudioSourceList>("AudioSourceList");
}

AudioSourceScanner::~AudioSourceScanner()
{
    if (worker)
        worker->wait();
}

void AudioSourceScanner::scan()
{
    if (worker)
        scanAgain = true;
    else
        startScan();
}

void AudioSourceScanner::startScan()
{
    worker = QThread::create([this] {
        QString error;
        const std::optional<AudioSourceList> list = listAudioSources(&error);
        result = list.value_or(AudioSourceList());
        resultError = list ? QString() : error;
    });
    worker->setParent(this);
    connect(worker, &QThread::finished, this, [this] {
        worker->deleteLater();
        worker = nullptr;
        emit finished(result, resultError);
        if (std::exchange(scanAgain, false))
            startScan();
    });
    worker->start();
}
