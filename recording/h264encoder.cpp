#include "h264encoder.h"

#include "jpegencoder.h"
#include "libavsupport.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/hwcontext.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
}

#include <QDebug>

#include <cstring>
#include <mutex>

namespace {

// Chosen by measuring camera-like 1920x1080@30 on two cores with the window open: the fastest
// preset keeps up with a core to spare, and this quality keeps it near 1 MB/s (see the README's
// table of recording formats).
constexpr const char *x264Preset = "ultrafast";
constexpr const char *x264Quality = "26";

} // namespace

H264Encoder::H264Encoder() = default;
H264Encoder::~H264Encoder() = default;

qsizetype H264Encoder::yuv420Size(const QSize &size)
{
    return qsizetype(size.width()) * size.height() * 3 / 2;
}

QByteArray H264Encoder::yuv420FromImage(const QImage &image, QString *error)
{
    JpegEncoder converter;
    QByteArray planes;
    if (!converter.encodeYuv420(image, &planes, error))
        return QByteArray();
    return planes;
}

QString H264Encoder::open(const Settings &settings)
{
    if (settings.size.width() < 2 || settings.size.height() < 2 || settings.size.width() % 2 ||
        settings.size.height() % 2)
        return QStringLiteral("H.264 needs an even width and height, not %1x%2")
            .arg(settings.size.width())
            .arg(settings.size.height());
    if (settings.rate.numerator < 1 || settings.rate.denominator < 1)
        return avErrorText(AVERROR(EINVAL));
    // libx264 tells its settings and statistics on every file; a terminal wants only trouble.
    static std::once_flag quietened;
    std::call_once(quietened, [] {
        if (av_log_get_level() > AV_LOG_WARNING)
            av_log_set_level(AV_LOG_WARNING);
    });
    size = settings.size;
    packet.reset(av_packet_alloc());
    frame.reset(av_frame_alloc());
    if (!packet || !frame)
        return avErrorText(AVERROR(ENOMEM));

    const QString vaapiError = openVaapi(settings);
    if (vaapiError.isEmpty())
        return QString();
    qWarning().noquote() << "H264Encoder: no VAAPI H.264 encoder (" + vaapiError +
                                "), encoding with libx264";
    return openLibx264(settings);
}

namespace {

void applyCommon(AVCodecContext *context, const H264Encoder::Settings &settings)
{
    context->width = settings.size.width();
    context->height = settings.size.height();
    context->time_base = AVRational{settings.rate.denominator, settings.rate.numerator};
    context->framerate = AVRational{settings.rate.numerator, settings.rate.denominator};
    context->gop_size = std::max(1, settings.keyframeInterval);
    context->max_b_frames = 0;
    // The planes come from libjpeg-turbo: BT.601 in full range, as in a JPEG.
    context->color_range = AVCOL_RANGE_JPEG;
    context->colorspace = AVCOL_SPC_BT470BG;
    if (settings.globalHeader)
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
}

} // namespace

QString H264Encoder::openLibx264(const Settings &settings)
{
    const AVCodec *codec = avcodec_find_encoder_by_name("libx264");
    if (!codec)
        return QStringLiteral("This FFmpeg has no libx264 encoder");
    context.reset(avcodec_alloc_context3(codec));
    if (!context)
        return avErrorText(AVERROR(ENOMEM));
    applyCommon(context.get(), settings);
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    av_opt_set(context->priv_data, "preset", x264Preset, 0);
    av_opt_set(context->priv_data, "crf", x264Quality, 0);
    // A keyframe exactly every interval, so that segments and a killed file's end are predictable.
    av_opt_set(context->priv_data, "x264-params", "scenecut=0", 0);
    if (settings.lowDelay)
        av_opt_set(context->priv_data, "tune", "zerolatency", 0);
    const int result = avcodec_open2(context.get(), codec, nullptr);
    if (result < 0) {
        context.reset();
        return avErrorText(result);
    }
    vaapi = false;
    return QString();
}

QString H264Encoder::openVaapi(const Settings &settings)
{
    const AVCodec *codec = avcodec_find_encoder_by_name("h264_vaapi");
    if (!codec)
        return QStringLiteral("not in this FFmpeg");
    AVBufferRef *rawDevice = nullptr;
    int result = av_hwdevice_ctx_create(&rawDevice, AV_HWDEVICE_TYPE_VAAPI, nullptr, nullptr, 0);
    if (result < 0)
        return avErrorText(result);
    const BufferHandle device(rawDevice);
    const BufferHandle frames(av_hwframe_ctx_alloc(device.get()));
    if (!frames)
        return avErrorText(AVERROR(ENOMEM));
    auto *framesContext = reinterpret_cast<AVHWFramesContext *>(frames->data);
    framesContext->format = AV_PIX_FMT_VAAPI;
    framesContext->sw_format = AV_PIX_FMT_NV12;
    framesContext->width = settings.size.width();
    framesContext->height = settings.size.height();
    framesContext->initial_pool_size = 8;
    result = av_hwframe_ctx_init(frames.get());
    if (result < 0)
        return avErrorText(result);

    context.reset(avcodec_alloc_context3(codec));
    if (!context)
        return avErrorText(AVERROR(ENOMEM));
    applyCommon(context.get(), settings);
    context->pix_fmt = AV_PIX_FMT_VAAPI;
    context->hw_frames_ctx = av_buffer_ref(frames.get());
    result = avcodec_open2(context.get(), codec, nullptr);
    if (result < 0) {
        context.reset();
        return avErrorText(result);
    }
    vaapi = true;
    return QString();
}

QByteArray H264Encoder::extradata() const
{
    if (!context || !context->extradata)
        return QByteArray();
    return QByteArray(reinterpret_cast<const char *>(context->extradata), context->extradata_size);
}

QString H264Encoder::sendToVaapi(const QByteArray &yuv420, qint64 pts)
{
    // The surfaces take NV12: the chroma planes interleaved.
    FrameHandle upload(av_frame_alloc());
    FrameHandle surface(av_frame_alloc());
    if (!upload || !surface)
        return avErrorText(AVERROR(ENOMEM));
    upload->format = AV_PIX_FMT_NV12;
    upload->width = size.width();
    upload->height = size.height();
    int result = av_frame_get_buffer(upload.get(), 0);
    if (result < 0)
        return avErrorText(result);
    const int width = size.width(), height = size.height();
    const auto *y = reinterpret_cast<const uint8_t *>(yuv420.constData());
    const uint8_t *u = y + qsizetype(width) * height;
    const uint8_t *v = u + qsizetype(width / 2) * (height / 2);
    for (int row = 0; row < height; ++row)
        std::memcpy(upload->data[0] + qsizetype(row) * upload->linesize[0],
                    y + qsizetype(row) * width, size_t(width));
    for (int row = 0; row < height / 2; ++row) {
        uint8_t *out = upload->data[1] + qsizetype(row) * upload->linesize[1];
        for (int column = 0; column < width / 2; ++column) {
            out[2 * column] = u[qsizetype(row) * (width / 2) + column];
            out[2 * column + 1] = v[qsizetype(row) * (width / 2) + column];
        }
    }
    result = av_hwframe_get_buffer(context->hw_frames_ctx, surface.get(), 0);
    if (result >= 0)
        result = av_hwframe_transfer_data(surface.get(), upload.get(), 0);
    if (result < 0)
        return avErrorText(result);
    surface->pts = pts;
    result = avcodec_send_frame(context.get(), surface.get());
    return result < 0 ? avErrorText(result) : QString();
}

QString H264Encoder::encode(const QByteArray &yuv420, qint64 pts, std::vector<Packet> *packets)
{
    if (!context)
        return avErrorText(AVERROR(EINVAL));
    if (yuv420.size() != yuv420Size(size))
        return QStringLiteral("A picture of %1 bytes for an encoder of %2x%3")
            .arg(yuv420.size())
            .arg(size.width())
            .arg(size.height());
    if (vaapi) {
        const QString error = sendToVaapi(yuv420, pts);
        if (!error.isEmpty())
            return error;
        return receivePackets(packets);
    }
    // The frame borrows the planes: libavcodec copies a frame it does not own before it returns.
    AVFrame *f = frame.get();
    f->format = AV_PIX_FMT_YUV420P;
    f->width = size.width();
    f->height = size.height();
    f->color_range = AVCOL_RANGE_JPEG;
    auto *planes = reinterpret_cast<uint8_t *>(const_cast<char *>(yuv420.constData()));
    f->data[0] = planes;
    f->data[1] = planes + qsizetype(size.width()) * size.height();
    f->data[2] = f->data[1] + qsizetype(size.width() / 2) * (size.height() / 2);
    f->linesize[0] = size.width();
    f->linesize[1] = f->linesize[2] = size.width() / 2;
    f->pts = pts;
    const int result = avcodec_send_frame(context.get(), f);
    f->data[0] = f->data[1] = f->data[2] = nullptr;
    if (result < 0)
        return avErrorText(result);
    return receivePackets(packets);
}

QString H264Encoder::flush(std::vector<Packet> *packets)
{
    if (!context)
        return QString();
    const int result = avcodec_send_frame(context.get(), nullptr);
    if (result < 0 && result != AVERROR_EOF)
        return avErrorText(result);
    return receivePackets(packets);
}

QString H264Encoder::receivePackets(std::vector<Packet> *packets)
{
    for (;;) {
        const int result = avcodec_receive_packet(context.get(), packet.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return QString();
        if (result < 0)
            return avErrorText(result);
        Packet out;
        out.data = QByteArray(reinterpret_cast<const char *>(packet->data), packet->size);
        out.pts = packet->pts;
        out.dts = packet->dts;
        out.keyframe = packet->flags & AV_PKT_FLAG_KEY;
        packets->push_back(std::move(out));
        av_packet_unref(packet.get());
    }
}
