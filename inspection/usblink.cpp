#include "usblink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString readLine(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readLine()).trimmed();
}

// The USB device folder above a video node's device under root/sys: the first with a speed.
QString usbDeviceOf(const QString &node, const QString &root)
{
    QString path =
        QFileInfo(root + "/sys/class/video4linux/" + node + "/device").canonicalFilePath();
    const QString top = QFileInfo(root + "/sys").canonicalFilePath();
    for (; !path.isEmpty() && path.startsWith(top) && path != top; path = QFileInfo(path).path()) {
        if (QFileInfo::exists(path + "/speed"))
            return path;
    }
    return {};
}

// The node whose USB device has the bus info at the end of cameraId ("usb-<controller>-<port
// path>", as the driver reports it for a camera without a /dev/v4l name).
QString nodeByBusInfo(const QString &cameraId, const QString &root)
{
    const QString busInfo = cameraId.section(QLatin1Char(' '), -1);
    const int portAt = int(busInfo.lastIndexOf(QLatin1Char('-')));
    if (!busInfo.startsWith(QLatin1String("usb-")) || portAt <= 4)
        return {};
    const QString controller = busInfo.mid(4, portAt - 4);
    const QString port = busInfo.mid(portAt + 1);
    const QStringList nodes =
        QDir(root + "/sys/class/video4linux").entryList({QStringLiteral("video*")});
    for (const QString &node : nodes) {
        const QString usb = usbDeviceOf(node, root);
        if (!usb.isEmpty() && usb.contains('/' + controller + '/') &&
            readLine(usb + "/devpath") == port)
            return node;
    }
    return {};
}

// The device node (videoN) that one of the names in /dev/v4l leads to.
QString nodeOf(const QString &cameraId, const QString &root)
{
    for (const QString &name : cameraId.split(QStringLiteral(" @ "))) {
        for (const char *kind : {"by-id", "by-path"}) {
            const QFileInfo link(root + "/dev/v4l/" + kind + '/' + name.trimmed());
            if (!name.trimmed().isEmpty() && !name.contains('/') && link.exists())
                return QFileInfo(link.canonicalFilePath()).fileName();
        }
    }
    return nodeByBusInfo(cameraId, root);
}

} // namespace

std::optional<UsbLink> UsbLink::ofCamera(const QString &cameraId, const QString &root)
{
    const QString node = nodeOf(cameraId, root);
    if (node.isEmpty())
        return std::nullopt;
    // The node's device is a USB interface (1-2:1.0); the USB device above it knows its speed.
    const QString usb = usbDeviceOf(node, root);
    if (usb.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double speed = readLine(usb + "/speed").toDouble(&ok);
    if (!ok || speed <= 0)
        return std::nullopt;
    const QString sys = QFileInfo(root + "/sys").canonicalFilePath();
    return UsbLink{QFileInfo(usb).fileName(), speed, usb.mid(sys.size())};
}

double UsbLink::videoBytesPerSecond() const
{
    if (speedMbps < 12)
        return 0; // low speed has no isochronous transfers
    if (speedMbps < 480)
        return 1023 * 1000.0; // one packet of 1023 bytes per 1 ms frame
    if (speedMbps < 5000)
        return 3 * 1024 * 8000.0; // three packets of 1024 bytes per 125 us microframe
    // SuperSpeed: 3 bursts of 16 packets of 1024 bytes per 125 us, per 5 Gbit/s.
    return 48 * 1024 * 8000.0 * (speedMbps / 5000);
}

QString UsbLink::speedText() const
{
    const QString generation = speedMbps < 480    ? QStringLiteral("USB 1.1")
                               : speedMbps < 5000 ? QStringLiteral("USB 2.0")
                                                  : QStringLiteral("USB 3");
    const QString rate =
        speedMbps >= 1000 ? tr("%1 Gbit/s").arg(speedMbps / 1000) : tr("%1 Mbit/s").arg(speedMbps);
    return QStringLiteral("%1 (%2)").arg(generation, rate);
}
