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
    // GUI thread: returns once the worker has drained its queue and closed the file.
    void stopWriting();
    WriterStatistics statistics() const;

signals:
    void frameWritten();
    void errorOccurred(QString error);
    void writingFinished();

protected:
    void run() override;

private:
    cv::Mat convertToMat(const QImage &image);

    cv::VideoWriter encoder;
    QMutex queueMutex; // guards frameQueue and lastFrame
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
};
