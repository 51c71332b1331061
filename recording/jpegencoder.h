#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <memory>

// Encodes RGB frames into baseline JPEG (4:2:2 like USB cameras) with libjpeg-turbo. One encoder
// per thread: an encoder is not thread-safe, but separate encoders run in parallel.
class JpegEncoder
{
public:
    explicit JpegEncoder(int quality = 90);
    ~JpegEncoder();
    JpegEncoder(const JpegEncoder &) = delete;
    JpegEncoder &operator=(const JpegEncoder &) = delete;

    // Any image format; frames that are not RGB888 are converted first. On failure returns
    // false and puts libjpeg-turbo's reason into *error.
    bool encode(const QImage &image, QByteArray *jpeg, QString *error);
    // The same colour conversion without the compression: YUV 4:2:0 planes in full range, one
    // after the other without padding, for a video encoder. Width and height must be even.
    bool encodeYuv420(const QImage &image, QByteArray *planes, QString *error);

private:
    struct HandleDeleter
    {
        void operator()(void *handle) const;
    };

    std::unique_ptr<void, HandleDeleter> handle;
    int quality;
};
