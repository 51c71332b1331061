#include "audioencoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <cstring>

AudioEncoder::AudioEncoder() = default;
AudioEncoder::~AudioEncoder() = default;

QString AudioEncoder::refusal(const RecordingOptions &options)
{
    if (options.hasSound() && options.codec == RecordingOptions::Codec::H264 &&
        options.audioCodec == RecordingOptions::AudioCodec::Opus &&
        options.audio.sampleRate != 48000)
        return QStringLiteral("Opus takes sound at 48000 Hz only, not %1 Hz")
            .arg(options.audio.sampleRate);
    return QString();
}

QString AudioEncoder::open(const AudioFormat &newFormat, RecordingOptions::AudioCodec codec)
{
    if (!newFormat.isValid())
        return QStringLiteral("no sound format");
    if (codec == RecordingOptions::AudioCodec::Opus && newFormat.sampleRate != 48000)
        return QStringLiteral("Opus takes sound at 48000 Hz only");
    format = newFormat;
    const bool opus = codec == RecordingOptions::AudioCodec::Opus;
    const AVCodec *encoder = avcodec_find_encoder_by_name(opus ? "libopus" : "aac");
    if (!encoder)
        return QStringLiteral("no %1 encoder").arg(opus ? "libopus" : "aac");
    context.reset(avcodec_alloc_context3(encoder));
    frame.reset(av_frame_alloc());
    packet.reset(av_packet_alloc());
    if (!context || !frame || !packet)
        return avErrorText(AVERROR(ENOMEM));
    AVCodecContext *c = context.get();
    c->sample_rate = format.sampleRate;
    av_channel_layout_default(&c->ch_layout, format.channels);
    // AAC's encoder takes planar floats; libopus takes the samples as they come.
    c->sample_fmt = opus ? AV_SAMPLE_FMT_S16 : AV_SAMPLE_FMT_FLTP;
    c->bit_rate = 64000 * format.channels;
    c->time_base = AVRational{1, format.sampleRate};
    // Files keep the codec's description once, in their header.
    c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int result = avcodec_open2(c, encoder, nullptr);
    if (result < 0)
        return avErrorText(result);
    waiting.clear();
    samplesSent = 0;
    primingLeft = c->initial_padding;
    return QString();
}

QString AudioEncoder::describe(AVCodecParameters *parameters) const
{
    const int result = avcodec_parameters_from_context(parameters, context.get());
    // The priming replaced the first samples already: nothing is to be cut off on playing.
    parameters->initial_padding = 0;
    return result < 0 ? avErrorText(result) : QString();
}

QString AudioEncoder::sendFrame(const char *samples, int frames)
{
    AVFrame *f = frame.get();
    av_frame_unref(f);
    f->nb_samples = frames;
    f->format = context->sample_fmt;
    f->sample_rate = format.sampleRate;
    av_channel_layout_copy(&f->ch_layout, &context->ch_layout);
    f->pts = samplesSent;
    int result = av_frame_get_buffer(f, 0);
    if (result < 0)
        return avErrorText(result);
    const int channels = format.channels;
    const auto *in = reinterpret_cast<const qint16 *>(samples);
    if (context->sample_fmt == AV_SAMPLE_FMT_S16) {
        std::memcpy(f->data[0], samples, size_t(frames) * size_t(format.bytesPerFrame()));
    } else {
        for (int channel = 0; channel < channels; ++channel) {
            auto *out = reinterpret_cast<float *>(f->data[channel]);
            for (int i = 0; i < frames; ++i)
                out[i] = float(in[i * channels + channel]) / 32768.0f;
        }
    }
    samplesSent += frames;
    result = avcodec_send_frame(context.get(), f);
    return result < 0 ? avErrorText(result) : QString();
}

QString AudioEncoder::receivePackets(std::vector<Packet> *packets)
{
    for (;;) {
        const int result = avcodec_receive_packet(context.get(), packet.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return QString();
        if (result < 0)
            return avErrorText(result);
        packets->push_back({QByteArray(reinterpret_cast<const char *>(packet->data), packet->size),
                            packet->pts + context->initial_padding, packet->duration});
        av_packet_unref(packet.get());
    }
}

QString AudioEncoder::encode(const QByteArray &samples, std::vector<Packet> *packets)
{
    if (!context)
        return avErrorText(AVERROR(EINVAL));
    const qsizetype skipped =
        std::min<qsizetype>(samples.size(), primingLeft * format.bytesPerFrame());
    primingLeft -= skipped / format.bytesPerFrame();
    waiting.append(samples.constData() + skipped, samples.size() - skipped);
    const qsizetype frameBytes = qsizetype(context->frame_size) * format.bytesPerFrame();
    qsizetype at = 0;
    for (; waiting.size() - at >= frameBytes; at += frameBytes) {
        QString error = sendFrame(waiting.constData() + at, context->frame_size);
        if (error.isEmpty())
            error = receivePackets(packets);
        if (!error.isEmpty())
            return error;
    }
    waiting.remove(0, at);
    return QString();
}

QString AudioEncoder::flush(std::vector<Packet> *packets)
{
    if (!context)
        return QString();
    if (!waiting.isEmpty()) {
        // A codec that cannot end on a short frame ends on silence.
        int frames = int(waiting.size() / format.bytesPerFrame());
        if (!(context->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME)) {
            waiting.append(
                QByteArray((context->frame_size - frames) * format.bytesPerFrame(), '\0'));
            frames = context->frame_size;
        }
        QString error = sendFrame(waiting.constData(), frames);
        waiting.clear();
        if (error.isEmpty())
            error = receivePackets(packets);
        if (!error.isEmpty())
            return error;
    }
    const int result = avcodec_send_frame(context.get(), nullptr);
    if (result < 0 && result != AVERROR_EOF)
        return avErrorText(result);
    return receivePackets(packets);
}
