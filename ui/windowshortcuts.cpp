#include "windowshortcuts.h"

#include "controlpanel.h"

#include <QShortcut>

#include <utility>

namespace {

void addKey(QWidget *target, const char *keys, const std::function<void()> &action)
{
    QObject::connect(
        new QShortcut(QKeySequence(WindowShortcuts::tr(keys), QKeySequence::NativeText), target),
        &QShortcut::activated, target, action);
}

} // namespace

void WindowShortcuts::addAdjustmentKeys(QWidget *window, QSlider *brightness, QSlider *contrast)
{
    const std::pair<const char *, std::pair<QSlider *, int>> steps[] = {
        {QT_TR_NOOP("Up"), {brightness, 5}},
        {QT_TR_NOOP("Down"), {brightness, -5}},
        {QT_TR_NOOP("Shift+Up"), {contrast, 5}},
        {QT_TR_NOOP("Shift+Down"), {contrast, -5}},
    };
    for (const auto &[keys, target] : steps) {
        addKey(window, keys, [slider = target.first, step = target.second] {
            ControlPanel::stepSlider(slider, step);
        });
    }
}

void WindowShortcuts::addCaptureKeys(QWidget *target, const std::function<void()> &snapshot,
                                     const std::function<void()> &record,
                                     const std::function<void()> &fullscreen,
                                     const std::function<void()> &pause)
{
    addKey(target, QT_TR_NOOP("Ctrl+S"), snapshot);
    addKey(target, QT_TR_NOOP("Ctrl+R"), record);
    addKey(target, QT_TR_NOOP("F11"), fullscreen);
    addKey(target, QT_TR_NOOP("Ctrl+P"), pause);
}
