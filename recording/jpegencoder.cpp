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

QSize JpegEncoder::declaredSize(const QByteArray &jpeg)
{
    const auto *bytes = reinterpret_cast<const uchar *>(jpeg.constData());
    const qsizetype size = jpeg.size();
    if (size < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return QSize();
    // Walk the marker segments up to the first start-of-frame; each segment states its length.
    qsizetype at = 2;
    while (at + 4 <= size) {
        if (bytes[at] != 0xFF)
            return QSize();
        const uchar marker = bytes[at + 1];
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        const int length = (bytes[at + 2] << 8) | bytes[at + 3];
        const bool startOfFrame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            if (at + 9 > size)
                return QSize();
            const int height = (bytes[at + 5] << 8) | bytes[at + 6];
            const int width = (bytes[at + 7] << 8) | bytes[at + 8];
            return QSize(width, height);
        }
        if (length < 2)
            return QSize();
        at += 2 + length;
    }
    return QSize();
}
