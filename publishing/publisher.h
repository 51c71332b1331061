#pragma once

#include "camerabase.h"
#include "streamconnection.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class H264Encoder;

// Sends a camera's picture to a media server: pictures encoded into H.264 for low delay, or the
// camera's own H.264 untouched. Frames are handed over by a capture thread and sent by a network
// thread of the publisher's own; when the network falls behind, the oldest waiting frame is
// dropped, so a stalled server costs the stream frames and nothing else. A server lost while
// live is tried again every second until it is back.
//
// start(), stop() and the signals belong to the GUI thread; addPicture() and addCompressed() to
// one capture thread at a time.
class Publisher : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Idle,
        Connecting,   // the first connection is being made
        Live,         // frames reach the server
        Reconnecting, // the server was lost; it is tried again every second
        Failed,       // the first connection failed, or the address is wrong; see errorText()
    };
    Q_ENUM(State)

    struct Settings
    {
        QString url;
        QSize size; // of the pictures once transformed; even sides for encoding
        double fps = 30.0;
        // The camera's H.264 goes out as it came, through addCompressed(); otherwise pictures
        // are encoded, through addPicture().
        bool cameraH264 = false;
        // Applied to every picture on the network thread before it is encoded; empty: none.
        std::function<QImage(const QImage &)> transform;
    };

    explicit Publisher(QObject *parent = nullptr);
    // Stops a running stream.
    ~Publisher() override;

    // Why the program cannot publish to url, in the user's words; empty when it can try.
    static QString checkUrl(const QString &url);

    // Begins connecting; false (and state Failed) for an address checkUrl() refuses.
    bool start(const Settings &settings);
    // Ends the stream; returns once the network thread has ended, which an abort makes quick.
    void stop();
    // The state in a word, for a line of progress: "live", "reconnecting"...
    static QString stateText(State state);
    State state() const { return currentState; }
    QString errorText() const { return error; }
    QString url() const { return settings.url; }
    // Connecting, live or reconnecting.
    bool isActive() const;
    // Any thread: frames sent to the server and frames dropped (while the network was behind,
    // the server away, or until the next keyframe after a gap) since start().
    qint64 framesSent() const { return sent.load(); }
    qint64 framesDropped() const { return dropped.load(); }

    // A capture thread: one picture, or one frame of the camera's H.264 in the camera's order.
    void addPicture(const QImage &rgb);
    void addCompressed(const CameraBase::CompressedFrame &frame);

signals:
    // error: why the stream was lost (Reconnecting) or could not start (Failed).
    void stateChanged(Publisher::State state, const QString &error);
    // About once a second while active.
    void countersChanged(qint64 sent, qint64 dropped);

private:
    struct Queued
    {
        QImage picture;
        CameraBase::CompressedFrame compressed;
        qint64 timeUs = 0; // when it was taken, on the monotonic clock
    };

    void enqueue(Queued &&item);
    // Network thread.
    void run(int generation);
    // Network thread: one connection from its start until it breaks or is stopped; returns why
    // it ended (empty: stopped).
    QString stream(int generation, bool *wentLive);
    QString streamCameraH264(StreamConnection &connection, int generation, bool *wentLive);
    // Network thread: waits for the next frame to send; false once stopped.
    bool take(Queued *item);
    QString sendPicture(StreamConnection &connection, H264Encoder &encoder, const Queued &item);
    // Network thread: hands the state to the GUI thread, unless the run has ended meanwhile.
    void report(int generation, State state, const QString &why);
    void setState(State state, const QString &why);

    Settings settings; // written by start() before the network thread runs, read-only then
    State currentState = State::Idle; // GUI thread
    int generation = 0;               // GUI thread: counts runs, so a late report is ignored
    QString error;                    // GUI thread
    QTimer countersTimer;
    std::thread networkThread;
    StreamConnection::Interrupt interrupt;

    std::mutex queueMutex; // guards queue, stopping, accepting and gap
    std::condition_variable queueChanged;
    std::deque<Queued> queue;
    bool stopping = false;
    bool accepting = false;
    bool gap = false; // a compressed frame is missing: the stream waits for a keyframe
    bool haveSequence = false;
    quint32 lastSequence = 0; // of the camera's last compressed frame taken

    std::atomic<qint64> sent{0};
    std::atomic<qint64> dropped{0};
    // Network thread only.
    qint64 originUs = -1; // the time of the current connection's first frame
    qint64 lastPts = -1;  // in frame periods, for the encoder
};
