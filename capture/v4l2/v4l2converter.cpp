#include "v4l2converter.h"

#include <libv4l-plugin.h>
#include <libv4lconvert.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <map>
#include <mutex>

namespace ostrel::capture {

namespace {

void *noInit(int)
{
    return nullptr;
}

void noClose(void *)
{}

ssize_t noRead(void *, int, void *, size_t)
{
    errno = EINVAL;
    return -1;
}

ssize_t noWrite(void *, int, const void *, size_t)
{
    errno = EINVAL;
    return -1;
}

// The pretend device behind canConvertToRgb24: it offers one pixel format at one size and
// accepts whatever format it is asked to try.
int probeIoctl(void *format, int, unsigned long request, void *arg)
{
    const uint32_t pixelFormat = *static_cast<const uint32_t *>(format);
    switch (request) {
    case VIDIOC_QUERYCAP: {
        auto *cap = static_cast<v4l2_capability *>(arg);
        std::memset(cap, 0, sizeof(*cap));
        cap->capabilities = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
        return 0;
    }
    case VIDIOC_ENUM_FMT: {
        auto *desc = static_cast<v4l2_fmtdesc *>(arg);
        if (desc->index != 0 || desc->type != V4L2_BUF_TYPE_VIDEO_CAPTURE)
            break;
        desc->pixelformat = pixelFormat;
        desc->flags = 0;
        return 0;
    }
    case VIDIOC_ENUM_FRAMESIZES: {
        auto *size = static_cast<v4l2_frmsizeenum *>(arg);
        if (size->index != 0)
            break;
        size->type = V4L2_FRMSIZE_TYPE_DISCRETE;
        size->discrete = {640, 480};
        return 0;
    }
    case VIDIOC_TRY_FMT:
        return 0;
    default:
        break;
    }
    errno = EINVAL;
    return -1;
}

const libv4l_dev_ops probeOps = {noInit,  noClose, probeIoctl, noRead,  noWrite, nullptr,
                                 nullptr, nullptr, nullptr,    nullptr, nullptr, nullptr};

} // namespace

void V4l2Converter::Destroy::operator()(v4lconvert_data *data) const
{
    v4lconvert_destroy(data);
}

V4l2Converter::V4l2Converter(std::shared_ptr<V4l2Io> io, int fd)
    : io(std::move(io))
{
    // libv4lconvert keeps the pointer to the operations; they must outlive every converter.
    static const libv4l_dev_ops seamOps = {noInit,  noClose, forwardIoctl, noRead,
                                           noWrite, nullptr, nullptr,      nullptr,
                                           nullptr, nullptr, nullptr,      nullptr};
    data.reset(v4lconvert_create_with_dev_ops(fd, this, &seamOps));
}

V4l2Converter::~V4l2Converter() = default;

int V4l2Converter::forwardIoctl(void *self, int fd, unsigned long request, void *arg)
{
    const int result = static_cast<V4l2Converter *>(self)->io->ioctl(fd, request, arg);
    if (result >= 0)
        return result;
    errno = -result;
    return -1;
}

bool V4l2Converter::convert(const v4l2_format &source, const uint8_t *frame, size_t frameBytes,
                            uint8_t *rgb)
{
    const uint64_t rgbBytes = uint64_t(source.fmt.pix.width) * source.fmt.pix.height * 3;
    if (!data || frameBytes > INT_MAX || rgbBytes > INT_MAX)
        return false;

    v4l2_format destination = source;
    destination.fmt.pix.pixelformat = V4L2_PIX_FMT_RGB24;
    destination.fmt.pix.bytesperline = source.fmt.pix.width * 3;
    destination.fmt.pix.sizeimage = static_cast<uint32_t>(rgbBytes);
    // libv4lconvert takes the source as a mutable pointer but only reads it.
    const int written =
        v4lconvert_convert(data.get(), &source, &destination, const_cast<uint8_t *>(frame),
                           int(frameBytes), rgb, int(rgbBytes));
    return written == int(rgbBytes);
}

std::string V4l2Converter::errorMessage() const
{
    const char *message = data ? v4lconvert_get_error_message(data.get()) : nullptr;
    return message ? message : "no converter";
}

bool V4l2Converter::canConvertToRgb24(uint32_t pixelFormat)
{
    static std::mutex mutex; // guards answers
    static std::map<uint32_t, bool> answers;
    std::lock_guard<std::mutex> lock(mutex);
    if (auto known = answers.find(pixelFormat); known != answers.end())
        return known->second;

    bool convertible = false;
    uint32_t format = pixelFormat;
    if (v4lconvert_data *probe = v4lconvert_create_with_dev_ops(-1, &format, &probeOps)) {
        v4l2_format destination{};
        destination.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        destination.fmt.pix.pixelformat = V4L2_PIX_FMT_RGB24;
        destination.fmt.pix.width = 640;
        destination.fmt.pix.height = 480;
        v4l2_format source{};
        // When nothing converts, libv4lconvert falls back to asking for RGB24 itself.
        convertible = v4lconvert_try_format(probe, &destination, &source) == 0 &&
                      source.fmt.pix.pixelformat == pixelFormat &&
                      destination.fmt.pix.pixelformat == V4L2_PIX_FMT_RGB24;
        v4lconvert_destroy(probe);
    }
    answers.emplace(pixelFormat, convertible);
    return convertible;
}

} // namespace ostrel::capture
