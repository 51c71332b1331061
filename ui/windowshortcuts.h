#pragma once

#include <QCoreApplication>

#include <functional>

class QSlider;
class QWidget;

// The window's keys: arrows for brightness and contrast, and the snapshot, record, fullscreen
// and pause keys, which the fullscreen view has too.
class WindowShortcuts
{
    Q_DECLARE_TR_FUNCTIONS(WindowShortcuts)

public:
    static void addAdjustmentKeys(QWidget *window, QSlider *brightness, QSlider *contrast);
    static void addCaptureKeys(QWidget *target, const std::function<void()> &snapshot,
                               const std::function<void()> &record,
                               const std::function<void()> &fullscreen,
                               const std::function<void()> &pause);
};
