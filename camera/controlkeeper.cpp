#include "controlkeeper.h"

#include <QTimer>

namespace {

// Long enough to gather a burst of changes (a program setting several controls at once) into
// one put-back, short enough to be back well within a second.
constexpr int putBackDelayMs = 100;

} // namespace

ControlKeeper::ControlKeeper(CameraBase *camera, QObject *parent)
    : QObject(parent)
    , camera(camera)
    , putBackTimer(new QTimer(this))
{
    putBackTimer->setSingleShot(true);
    putBackTimer->setInterval(putBackDelayMs);
    connect(putBackTimer, &QTimer::timeout, this, &ControlKeeper::putBack);
    connect(camera, &CameraBase::propertyChanged, this, &ControlKeeper::onPropertyChanged);
}

void ControlKeeper::setEnabled(bool keep)
{
    enabled = keep;
    if (!keep) {
        changed.clear();
        putBackTimer->stop();
    }
}

void ControlKeeper::keepCurrent()
{
    kept = ControlProfiles::read(camera);
    changed.clear();
    told = false;
}

void ControlKeeper::remember(CameraBase::Property property)
{
    if (const std::optional<int> value = camera->propertyValue(property))
        kept[property] = {*value, camera->propertyAuto(property).value_or(false)};
    changed.remove(property);
}

void ControlKeeper::onPropertyChanged(CameraBase::Property property, int value, bool automatic)
{
    const auto found = kept.constFind(property);
    if (!enabled || found == kept.cend())
        return;
    // Under automatic control the camera moves the value itself; only the mode is kept then.
    const bool same = found->automatic ? automatic : !automatic && found->value == value;
    if (same) {
        changed.remove(property);
        return;
    }
    changed[property] = *found;
    putBackTimer->start();
}

void ControlKeeper::putBack()
{
    if (changed.isEmpty() || !camera->isCapturing())
        return;
    ControlProfiles::apply(camera, changed);
    changed.clear();
    if (!told) {
        told = true;
        emit valuesRestored(tr("Another program changed the camera's controls. Your values "
                               "have been put back."));
    }
}
