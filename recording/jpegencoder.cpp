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
