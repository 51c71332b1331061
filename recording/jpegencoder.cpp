#include "jpegencoder.h"

#include <turbojpeg.h>

void JpegEncoder::HandleDeleter::operator()(void *handle) const
{
    tjDestroy(handle);
}

JpegEncoder::JpegEncoder(int quality)
    : handle(tjInitCompress())
    , quality(quality)
{}

JpegEncoder::~JpegEncoder() = default;

bool JpegEncoder::encode(const QImage &image, QByteArray *jpeg, QString *error)
{
    if (!handle) {
        *error = QStringLiteral("JPEG encoder could not be created");
        return false;
    }
    const QImage rgb = image.format() == QImage::Format_RGB888
                           ? image
                           : image.convertToFormat(QImage::Format_RGB888);
    // Encoding straight into a QByteArray saves copying every frame once more; its size is the
    // library's worst case for the picture, so the library never reallocates it.
    const unsigned long bound = tjBufSize(rgb.width(), rgb.height(), TJSAMP_422);
    if (jpeg->size() < qsizetype(bound))
        jpeg->resize(qsizetype(bound));
    auto *out = reinterpret_cast<unsigned char *>(jpeg->data());
    unsigned long size = bound;
    const int result = tjCompress2(handle.get(), rgb.constBits(), rgb.width(),
                                   int(rgb.bytesPerLine()), rgb.height(), TJPF_RGB, &out, &size,
                                   TJSAMP_422, quality, TJFLAG_NOREALLOC | TJFLAG_FASTDCT);
    if (result != 0) {
        *error = QString::fromUtf8(tjGetErrorStr2(handle.get()));
        return false;
    }
    jpeg->resize(qsizetype(size));
    return true;
}

bool JpegEncoder::encodeYuv420(const QImage &image, QByteArray *planes, QString *error)
{
    if (!handle) {
        *error = QStringLiteral("JPEG encoder could not be created");
        return false;
    }
    if (image.width() % 2 || image.height() % 2) {
        *error = QStringLiteral("A picture of odd size cannot be made 4:2:0");
        return false;
    }
    // The view's and the camera's own formats go in as they are, without a conversion first.
    QImage source = image;
    int pixelFormat = TJPF_RGB;
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        // 0xffRRGGBB as a word, so its bytes lie in the order of the machine.
        pixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;
        break;
    case QImage::Format_RGB888:
        break;
    default:
        source = image.convertToFormat(QImage::Format_RGB888);
        break;
    }
    planes->resize(qsizetype(tjBufSizeYUV2(source.width(), 1, source.height(), TJSAMP_420)));
    const int result = tjEncodeYUV3(handle.get(), source.constBits(), source.width(),
                                    int(source.bytesPerLine()), source.height(), pixelFormat,
                                    reinterpret_cast<unsigned char *>(planes->data()), 1,
                                    TJSAMP_420, TJFLAG_FASTDCT);
    if (result != 0) {
        *error = QString::fromUtf8(tjGetErrorStr2(handle.get()));
        return false;
    }
    return true;
}
