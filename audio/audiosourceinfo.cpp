#include "audiosourceinfo.h"

#include <algorithm>

bool AudioSourceInfo::belongsTo(const QString &usbDevicePath) const
{
    if (usbDevicePath.isEmpty() || sysfsPath.isEmpty())
        return false;
    const QString device = usbDevicePath.endsWith('/') ? usbDevicePath : usbDevicePath + '/';
    return sysfsPath.startsWith(device);
}

QList<AudioSourceInfo> AudioSourceList::ordered(const QString &cameraUsbPath) const
{
    QList<AudioSourceInfo> list = sources;
    const auto rank = [&](const AudioSourceInfo &source) {
        if (!source.isMonitor && source.belongsTo(cameraUsbPath))
            return 0;
        if (source.name == defaultName)
            return 1;
        return source.isMonitor ? 3 : 2;
    };
    std::stable_sort(list.begin(), list.end(),
                     [&](const AudioSourceInfo &a, const AudioSourceInfo &b) {
                         const int rankA = rank(a);
                         const int rankB = rank(b);
                         if (rankA != rankB)
                             return rankA < rankB;
                         return a.description.localeAwareCompare(b.description) < 0;
                     });
    return list;
}

std::optional<AudioSourceInfo> AudioSourceList::cameraMicrophone(const QString &cameraUsbPath) const
{
    for (const AudioSourceInfo &source : sources) {
        if (!source.isMonitor && source.belongsTo(cameraUsbPath))
            return source;
    }
    return std::nullopt;
}

std::optional<AudioSourceInfo> AudioSourceList::chosen(const QString &choice,
                                                       const QString &cameraUsbPath) const
{
    if (choice == QLatin1String("camera"))
        return cameraMicrophone(cameraUsbPath);
    const QString name = choice == QLatin1String("default") ? defaultName : choice;
    if (choice == QLatin1String("none") || name.isEmpty())
        return std::nullopt;
    for (const AudioSourceInfo &source : sources) {
        if (source.name == name)
            return source;
    }
    return std::nullopt;
}
