#pragma once

#include <QWidget>

#include <functional>

class QTimer;

// The loudness of the sound being recorded: a bar from -60 dBFS to full scale, green, then
// yellow from -12 dB and red from -3 dB; the loudest moment of the last second stays marked.
// Input that stays below -50 dBFS for a second (a muted or unplugged microphone) is shown as
// "Silent" at a glance, and told to screen readers.
class LevelMeter : public QWidget
{
    Q_OBJECT

public:
    explicit LevelMeter(QWidget *parent = nullptr);

    // Reads the loudest sample since the last read (0 to 1) from peak about fifteen times a
    // second and shows it; an empty function stops the meter and hides it.
    void follow(std::function<double()> peak);
    // Shows a level read elsewhere (0 to 1), as a second meter of the same sound.
    void setLevel(double peak);
    bool isSilent() const { return silent; }

    QSize sizeHint() const override;

signals:
    // Every level read while following.
    void levelChanged(double peak);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void read();

    QTimer *timer;
    std::function<double()> readPeak;
    double shown = 0.0;  // the bar, in dBFS
    double held = -60.0; // the loudest moment of the last second, in dBFS
    int heldFor = 0;     // reads since held was set
    int quietReads = 0;  // reads in a row below the silence threshold
    bool silent = false;
};
