#pragma once

#include "camerabase.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// A camera's named sets of control values, kept beside its other remembered settings under
// "cameras/<id>/": "profiles/<name>/<Property>" (and "<Property>Auto"), "startProfile" (the one
// applied when the camera starts or returns) and "keepValues". Names and ids may hold any
// character. Every call reads or writes the settings store at once (GUI thread).
class ControlProfiles
{
public:
    struct Control
    {
        int value = 0;
        bool automatic = false;
        bool operator==(const Control &other) const
        {
            return value == other.value && automatic == other.automatic;
        }
    };
    using Controls = QMap<CameraBase::Property, Control>;

    static constexpr int maximum = 50;

    // The settings store of organisation/application, as QSettings names it.
    ControlProfiles(QString organisation, QString application, QString cameraId);

    // The group of everything remembered of a camera.
    static QString cameraGroup(const QString &cameraId);

    QStringList names() const;
    // False for an empty name, or a new name once maximum profiles exist; an existing profile
    // of that name is replaced.
    bool save(const QString &name, const Controls &controls);
    std::optional<Controls> load(const QString &name) const;
    // False when from does not exist or to is empty or taken; the start mark follows.
    bool rename(const QString &from, const QString &to);
    bool remove(const QString &name);

    // Empty when none is applied on start.
    QString startProfile() const;
    void setStartProfile(const QString &name);
    bool keepsValues() const;
    void setKeepValues(bool keep);

    // What the running camera has now, of every property it supports.
    static Controls read(CameraBase *camera);
    // Gives the running camera the values; a value set by hand ends the automatic mode.
    static void apply(CameraBase *camera, const Controls &controls);
    // Applies the start profile, if one is marked and the camera runs; true when it did.
    bool applyStartProfile(CameraBase *camera) const;

private:
    QString group() const;
    QString profileGroup(const QString &name) const;

    QString organisation;
    QString application;
    QString cameraId;
};
