#include "overlaysettings.h"

#include "appinfo.h"
#include "controlprofiles.h"
#include "imagemeasures.h"

#include <QSettings>

namespace {

QString groupOf(const QString &cameraId)
{
    return ControlProfiles::cameraGroup(cameraId) + QStringLiteral("/overlays/");
}

} // namespace

double OverlaySettings::millimetresPerPixel() const
{
    return ImageMeasures::millimetresPerPixel(rulerFrom, rulerTo, rulerMillimetres);
}

OverlaySettings OverlaySettings::load(const QString &cameraId)
{
    const QSettings store(QString::fromLatin1(AppInfo::organisation),
                          QString::fromLatin1(AppInfo::name));
    const QString group = groupOf(cameraId);
    const auto value = [&](const char *key, const QVariant &fallback) {
        return store.value(group + QLatin1String(key), fallback);
    };
    OverlaySettings settings;
    settings.crosshair = value("crosshair", false).toBool();
    settings.crosshairAt = value("crosshairAt", settings.crosshairAt).toPointF();
    settings.grid = value("grid", false).toBool();
    settings.gridColumns = qBound(1, value("gridColumns", 3).toInt(), 64);
    settings.gridRows = qBound(1, value("gridRows", 3).toInt(), 64);
    settings.ruler = value("ruler", false).toBool();
    settings.rulerFrom = value("rulerFrom", QPointF()).toPointF();
    settings.rulerTo = value("rulerTo", QPointF()).toPointF();
    settings.rulerMillimetres = qMax(0.0, value("rulerMillimetres", 0.0).toDouble());
    settings.burnIntoSnapshots = value("burnIntoSnapshots", false).toBool();
    return settings;
}

void OverlaySettings::save(const QString &cameraId) const
{
    QSettings store(QString::fromLatin1(AppInfo::organisation), QString::fromLatin1(AppInfo::name));
    const QString group = groupOf(cameraId);
    const auto set = [&](const char *key, const QVariant &value) {
        store.setValue(group + QLatin1String(key), value);
    };
    set("crosshair", crosshair);
    set("crosshairAt", crosshairAt);
    set("grid", grid);
    set("gridColumns", gridColumns);
    set("gridRows", gridRows);
    set("ruler", ruler);
    set("rulerFrom", rulerFrom);
    set("rulerTo", rulerTo);
    set("rulerMillimetres", rulerMillimetres);
    set("burnIntoSnapshots", burnIntoSnapshots);
}
