// The synthetic camera's own frames, made again from their sequence numbers, to judge what a
// recording made of them: SSIM against them (FFmpeg's ssim filter), and the same frames through
// the ffmpeg command line's H.264 encoder as an anchor.
#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>

namespace CameraReference {

// The frame the synthetic camera sends for a sequence number: its test pattern with the noise
// OSTREL_SYNTHETIC_NOISE asks for, through JPEG at the camera's quality (85, 4:2:2).
QImage frame(QSize size, uint32_t sequence, int noise);

// The mean SSIM (luma and chroma, as FFmpeg's ssim filter gives it as "All") of the recording
// against the camera's frames of the sequence numbers read from it, in file order; a frame
// without a readable number is compared with the frame before it. -1 when FFmpeg fails.
double ssim(const QString &recording, QSize size, const QList<std::optional<uint32_t>> &sequences,
            bool mirrored, int noise);

// Encodes frames camera frames with the ffmpeg command line at the recorder's H.264 settings;
// prints its frames per second, CPU and MB/s.
void printAnchor(QSize size, int frames, int noise);

} // namespace CameraReference
