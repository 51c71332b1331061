#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QString>

class CaptureSession;

// The remote control's JSON API over the capture session (paths below /api/):
//   GET  status                  camera, format, running, recording state and statistics
//   GET  cameras                 the cameras, and the formats of the one open
//   POST camera/start            {"camera": index or name, "format": index}, both optional
//   POST camera/stop
//   POST recording/start         {"path": file}; without one the settings' folder and naming
//   POST recording/stop
//   POST recording/pause         {"paused": true or false}
//   POST snapshot                {"path": file}; without one the picture is the answer
//   GET  controls                every control of the running camera
//   POST controls                {"Brightness": 5, "Exposure": "auto", ...}
//   GET  profiles                the open camera's profile names
//   POST profile                 {"name": profile}
// Every answer is a JSON object; a failure is {"error": why} with a 4xx or 5xx status. GUI
// thread only.
class RemoteApi : public QObject
{
    Q_OBJECT

public:
    struct Reply
    {
        int status = 200;
        QJsonObject body;
        // POST snapshot without a path: the answer is the next frame as a JPEG.
        bool wantsPicture = false;
    };

    explicit RemoteApi(CaptureSession *session, QObject *parent = nullptr);

    // path is the part after "/api/".
    Reply handle(const QByteArray &method, const QString &path, const QByteArray &body);

private:
    QJsonObject status() const;
    // One for each path and method; the request's body is an empty object when none was sent.
    Reply getStatus(const QJsonObject &request);
    Reply cameras(const QJsonObject &request);
    Reply startCamera(const QJsonObject &request);
    Reply stopCamera(const QJsonObject &request);
    Reply startRecording(const QJsonObject &request);
    Reply stopRecording(const QJsonObject &request);
    Reply pauseRecording(const QJsonObject &request);
    Reply snapshot(const QJsonObject &request);
    Reply controls(const QJsonObject &request);
    Reply setControls(const QJsonObject &request);
    Reply profiles(const QJsonObject &request);
    Reply loadProfile(const QJsonObject &request);
    static Reply error(int status, const QString &message);

    CaptureSession *session;
};
