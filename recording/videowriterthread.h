#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QSize>
#include <QString>
#include <QThread>
#include <QWaitCondition>

#include <opencv2/core/mat.hpp>
#include <opencv2/videoio.hpp>

#include <atomic>

// Counters of one recording, as read by statistics().
struct WriterStatistics
{
    int framesWritten = 0;
    int framesDuplicated = 0;
    int framesDropped = 0;
    qint64 elapsedMs = 0;
};

// Writes frames that arrive at an irregular rate into a video file at a constant frame rate.
// A producer pushes frames into a bounded queue (addFrame, any thread but the worker); the worker
// takes one frame per frame interval, repeating the last one when none is due.
class VideoWriterThread : public QThread
{
    Q_OBJECT

public:
    explicit VideoWriterThread(QObject *parent = nullptr);
    ~VideoWriterThread() override;

    // GUI thread, before start(): validates and stores the parameters of the next recording.
    bool startWriting(const QString &fileName, int fourcc, double fps, const QSize &frameSize);
    // Any thread but the worker.
    void addFrame(const QImage &frame);
    // Any thread but the worker: asks the worker to finish and returns at once. The file is
    // complete when writingFinished() (or, after a failure, errorOccurred()) and then
    // QThread::finished() have been emitted.
    void requestStop();
    // GUI thread: returns once the worker has drained its queue and closed the file.
    void stopWriting();
    // Any thread.
    WriterStatistics statistics() const;

signals:
    void frameWritten();
    void errorOccurred(QString error);
    void writingFinished();

protected:
    void run() override;

private:
    // Worker thread: one frame in B,G,R order for the encoder; empty when the conversion failed.
    cv::Mat convertToMat(const QImage &image);
    // Worker thread: the paced loop; returns when a stop was requested or a write failed.
    void writePaced();
    // Worker thread, queueMutex held: writes what is left in the queue back to back.
    void drainQueue();
    // Worker thread, queueMutex held: waits on frameAvailable for at most ms milliseconds.
    void waitForFrame(qint64 ms);

    cv::VideoWriter encoder;
    QMutex queueMutex; // guards frameQueue, lastFrame, and frameSize as the producer reads it
    QList<QImage> frameQueue;
    QWaitCondition frameAvailable;
    std::atomic<bool> writing{false};
    std::atomic<bool> stopRequested{false};
    QString fileName;
    int fourccCode = 0;
    double framesPerSecond = 0.0;
    QSize frameSize;
    QElapsedTimer clock;
    qint64 frameIntervalMs = 0;
    QImage lastFrame;
    std::atomic<int> framesWritten{0};
    std::atomic<int> framesDuplicated{0};
    std::atomic<int> framesDropped{0};

    // Guards clock, which the worker starts while statistics() may read it on the GUI thread.
    // Separate from queueMutex because the final drain holds that one for a long time.
    mutable QMutex clockMutex;
};
