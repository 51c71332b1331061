#include "controlprofiles.h"

#include <QMetaEnum>
#include <QSettings>
#include <QUrl>

#include <utility>

namespace {

QString encoded(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

QString keyOf(CameraBase::Property property)
{
    return QString::fromLatin1(
        QMetaEnum::fromType<CameraBase::Property>().valueToKey(int(property)));
}

const QString autoSuffix = QStringLiteral("Auto");

} // namespace

ControlProfiles::ControlProfiles(QString organisation, QString application, QString cameraId)
    : organisation(std::move(organisation))
    , application(std::move(application))
    , cameraId(std::move(cameraId))
{}

QString ControlProfiles::cameraGroup(const QString &cameraId)
{
    return QStringLiteral("cameras/") + encoded(cameraId);
}

QString ControlProfiles::group() const
{
    return cameraGroup(cameraId);
}

QString ControlProfiles::profileGroup(const QString &name) const
{
    return group() + QStringLiteral("/profiles/") + encoded(name);
}

QStringList ControlProfiles::names() const
{
    QSettings store(organisation, application);
    store.beginGroup(group() + QStringLiteral("/profiles"));
    QStringList found;
    for (const QString &key : store.childGroups())
        found << QUrl::fromPercentEncoding(key.toLatin1());
    found.sort(Qt::CaseInsensitive);
    return found;
}

bool ControlProfiles::save(const QString &name, const Controls &controls)
{
    if (name.trimmed().isEmpty() || (!names().contains(name) && names().size() >= maximum))
        return false;
    QSettings store(organisation, application);
    store.remove(profileGroup(name));
    store.beginGroup(profileGroup(name));
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        store.setValue(keyOf(it.key()), it->value);
        store.setValue(keyOf(it.key()) + autoSuffix, it->automatic);
    }
    return store.status() == QSettings::NoError;
}

std::optional<ControlProfiles::Controls> ControlProfiles::load(const QString &name) const
{
    if (name.isEmpty() || !names().contains(name))
        return std::nullopt;
    QSettings store(organisation, application);
    store.beginGroup(profileGroup(name));
    Controls controls;
    const QMetaEnum properties = QMetaEnum::fromType<CameraBase::Property>();
    for (int i = 0; i < properties.keyCount(); ++i) {
        const auto property = CameraBase::Property(properties.value(i));
        bool ok = false;
        const int value = store.value(keyOf(property)).toInt(&ok);
        if (ok)
            controls[property] = {value, store.value(keyOf(property) + autoSuffix).toBool()};
    }
    return controls;
}

bool ControlProfiles::rename(const QString &from, const QString &to)
{
    const std::optional<Controls> controls = load(from);
    if (!controls || to.trimmed().isEmpty() || names().contains(to) || !save(to, *controls))
        return false;
    const bool wasStart = startProfile() == from;
    remove(from);
    if (wasStart)
        setStartProfile(to);
    return true;
}

bool ControlProfiles::remove(const QString &name)
{
    if (!names().contains(name))
        return false;
    if (startProfile() == name)
        setStartProfile(QString());
    QSettings(organisation, application).remove(profileGroup(name));
    return true;
}

QString ControlProfiles::startProfile() const
{
    return QSettings(organisation, application)
        .value(group() + QStringLiteral("/startProfile"))
        .toString();
}

void ControlProfiles::setStartProfile(const QString &name)
{
    QSettings(organisation, application).setValue(group() + QStringLiteral("/startProfile"), name);
}

bool ControlProfiles::keepsValues() const
{
    return QSettings(organisation, application)
        .value(group() + QStringLiteral("/keepValues"), false)
        .toBool();
}

void ControlProfiles::setKeepValues(bool keep)
{
    QSettings(organisation, application).setValue(group() + QStringLiteral("/keepValues"), keep);
}

ControlProfiles::Controls ControlProfiles::read(CameraBase *camera)
{
    Controls controls;
    for (const CameraBase::PropertyRange &range : camera->properties()) {
        if (const std::optional<int> value = camera->propertyValue(range.property))
            controls[range.property] = {*value,
                                        camera->propertyAuto(range.property).value_or(false)};
    }
    return controls;
}

void ControlProfiles::apply(CameraBase *camera, const Controls &controls)
{
    for (const CameraBase::PropertyRange &range : camera->properties()) {
        const auto found = controls.find(range.property);
        if (found == controls.end())
            continue;
        if (range.hasAuto && found->automatic)
            camera->setPropertyAuto(range.property, true);
        else
            camera->setPropertyValue(range.property, qBound(range.min, found->value, range.max));
    }
}

bool ControlProfiles::applyStartProfile(CameraBase *camera) const
{
    const std::optional<Controls> controls = load(startProfile());
    if (!controls || !camera->isCapturing())
        return false;
    apply(camera, *controls);
    return true;
}
