#include "devicewatcher.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <utility>

namespace {

// Long enough for udev to create a node with its permissions and links, short enough to feel
// immediate.
constexpr int settleMs = 300;

} // namespace

DeviceWatcher::DeviceWatcher(const QString &devices, const QString &presenceFile, QObject *parent)
    : QObject(parent)
    , devices(devices)
    , presenceFile(presenceFile)
    , watcher(new QFileSystemWatcher(this))
    , settleTimer(new QTimer(this))
{
    QStringList directories = {devices};
    if (!presenceFile.isEmpty())
        directories << QFileInfo(presenceFile).absolutePath();
    for (const QString &directory : directories) {
        if (QFileInfo(directory).isDir())
            watcher->addPath(directory);
    }
    settleTimer->setSingleShot(true);
    settleTimer->setInterval(settleMs);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, &DeviceWatcher::noteChange);
    connect(settleTimer, &QTimer::timeout, this, &DeviceWatcher::settle);
    lastSeen = present();
}

DeviceWatcher::DeviceWatcher(QObject *parent)
    : DeviceWatcher(QStringLiteral("/dev"), qEnvironmentVariable("OSTREL_SYNTHETIC_PRESENCE"),
                    parent)
{}

QStringList DeviceWatcher::present() const
{
    QStringList seen =
        QDir(devices).entryList({QStringLiteral("video*")}, QDir::Files | QDir::System);
    if (!presenceFile.isEmpty() && QFileInfo::exists(presenceFile))
        seen << presenceFile;
    return seen;
}

void DeviceWatcher::noteChange()
{
    changedMeanwhile = changedMeanwhile || present() != lastSeen;
    settleTimer->start();
}

// Only a change of the nodes themselves counts: /dev sees many other entries come and go.
void DeviceWatcher::settle()
{
    const QStringList seen = present();
    if (seen == lastSeen && !std::exchange(changedMeanwhile, false))
        return;
    changedMeanwhile = false;
    lastSeen = seen;
    emit devicesChanged();
}
