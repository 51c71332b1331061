#pragma once

#include "audiosource.h"
#include "audiosourceinfo.h"
#include "audiosourcescanner.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class Recorder;

// The sound of the session's recordings: the source chosen for them, captured while a recording
// with sound runs, its chunks handed straight from the source's thread to the recorder, and its
// troubles told once. A source that cannot start or goes away never ends the recording: the file
// gets silence instead. GUI thread only.
class SoundCapture : public QObject
{
    Q_OBJECT

public:
    // Makes the source a recording captures; by default the sound server's.
    using SourceFactory = std::function<std::unique_ptr<AudioSource>(const AudioSourceInfo &)>;

    explicit SoundCapture(Recorder *recorder, QObject *parent = nullptr);
    ~SoundCapture() override;

    // The source recordings started from now on take their sound from; nothing for none.
    void setSource(const std::optional<AudioSourceInfo> &source) { chosen = source; }
    std::optional<AudioSourceInfo> source() const { return chosen; }
    void setSourceFactory(SourceFactory factory) { makeSource = std::move(factory); }
    // Looks choice up among the sound server's sources in the background: "none", "camera"
    // (the microphone below the camera's USB device folder cameraUsbPath, or none), "default"
    // or a source's name; sourceChosen() follows. Without a sound server there is no source,
    // with one warning line.
    void choose(const QString &choice, const QString &cameraUsbPath);
    // The sound a recording started now gets; invalid for none.
    AudioFormat format() const { return chosen ? chosen->format : AudioFormat(); }
    // The recorder has just started a recording with sound: capturing begins.
    void begin();
    bool isCapturing() const { return static_cast<bool>(capture); }
    // The loudest sample since the last call, from 0 to 1; -1 while nothing is captured.
    double takePeak();

signals:
    void sourceChosen();
    void capturingChanged(bool capturing);
    // The source could not be started or was lost; the recording goes on without sound.
    void problem(const QString &message);

private:
    void end();
    void onFailed(const QString &reason);
    void onLost(const QString &reason);

    Recorder *recorder;
    SourceFactory makeSource;
    AudioSourceScanner *scanner;
    QString choice;
    QString cameraUsbPath;
    bool serverMissingTold = false;
    std::optional<AudioSourceInfo> chosen;
    std::unique_ptr<AudioSource> capture;
};
