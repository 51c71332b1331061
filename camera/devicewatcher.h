#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QFileSystemWatcher;
class QTimer;

// Notices cameras being plugged in and unplugged: video nodes appearing in or leaving the device
// directory (through inotify), and the presence file of the synthetic cameras coming and going.
// A burst of changes (udev creates a node, then its links) is announced once, also when a camera
// went and came back within it: the capture may have reported the loss meanwhile. GUI thread.
class DeviceWatcher : public QObject
{
    Q_OBJECT

public:
    // devices: the directory of the video nodes; presenceFile: empty for none.
    DeviceWatcher(const QString &devices, const QString &presenceFile, QObject *parent = nullptr);
    // The system's /dev and the presence file OSTREL_SYNTHETIC_PRESENCE names.
    explicit DeviceWatcher(QObject *parent = nullptr);

signals:
    void devicesChanged();

private:
    QStringList present() const;
    void noteChange();
    void settle();

    const QString devices;
    const QString presenceFile;
    QFileSystemWatcher *watcher;
    QTimer *settleTimer;
    QStringList lastSeen;
    bool changedMeanwhile = false; // the nodes differed from lastSeen during the burst
};
