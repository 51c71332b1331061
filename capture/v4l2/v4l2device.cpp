#include "v4l2device.h"

#include "v4l2fd.h"
#include "v4l2formatreader.h"
#include "v4l2stream.h"

#include <linux/videodev2.h>

#include <cstring>
#include <filesystem>
#include <limits>
#include <utility>

namespace ostrel::capture {

namespace {

// The kernel pads these fields with zeros but does not promise a terminator in a full field.
template<size_t N> std::string fieldText(const uint8_t (&field)[N])
{
    const void *end = std::memchr(field, 0, N);
    return std::string(reinterpret_cast<const char *>(field),
                       end ? static_cast<const uint8_t *>(end) - field : N);
}

uint32_t openErrorOf(int error)
{
    if (v4l2DeviceGone(error))
        return CAPERROR_GONE;
    switch (error) {
    case -EBUSY:
        return CAPERROR_BUSY;
    case -EACCES:
    case -EPERM:
        return CAPERROR_ACCESS;
    case -ENOSPC: // USB bandwidth
    case -ENOMEM:
        return CAPERROR_TOOLARGE;
    default:
        return CAPERROR_OTHER;
    }
}

// The entry of v4l/<kind> (by-id, by-path), next to the node, that links to it; empty when there
// is none.
std::string linkNameOf(const std::string &path, const char *kind)
{
    const std::filesystem::path node(path);
    std::error_code error;
    std::filesystem::directory_iterator entry(node.parent_path() / "v4l" / kind, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        std::error_code compared;
        if (std::filesystem::equivalent(entry->path(), node, compared))
            return entry->path().filename().string();
    }
    return {};
}

} // namespace

V4l2Device::V4l2Device(std::shared_ptr<V4l2Io> io, std::string path, std::string card,
                       std::string busInfo, std::vector<V4l2Mode> modes)
    : io(std::move(io))
    , path(std::move(path))
    , card(std::move(card))
    , busInfo(std::move(busInfo))
    , byIdName(linkNameOf(this->path, "by-id"))
    , byPathName(linkNameOf(this->path, "by-path"))
    , modeList(std::move(modes))
{}

std::unique_ptr<V4l2Device> V4l2Device::probe(const std::shared_ptr<V4l2Io> &io,
                                              const std::string &path)
{
    int error = 0;
    V4l2Fd fd = V4l2Fd::open(io, path, error);
    if (!fd.isValid())
        return nullptr;
    v4l2_capability capability{};
    if (fd.ioctl(VIDIOC_QUERYCAP, &capability) < 0)
        return nullptr;
    // A node's own capabilities; the plain field describes the whole physical device, which
    // for a UVC camera includes the capture node next to its metadata node.
    const uint32_t caps = (capability.capabilities & V4L2_CAP_DEVICE_CAPS)
                              ? capability.device_caps
                              : capability.capabilities;
    if (!(caps & V4L2_CAP_VIDEO_CAPTURE) || !(caps & V4L2_CAP_STREAMING))
        return nullptr;

    return std::unique_ptr<V4l2Device>(new V4l2Device(io, path, fieldText(capability.card),
                                                      fieldText(capability.bus_info),
                                                      V4l2FormatReader(fd).read()));
}

std::optional<std::string> V4l2Device::name() const
{
    return card.empty() ? path : card;
}

std::string V4l2Device::uniqueId() const
{
    if (!twin)
        return byIdName.empty() ? card + " " + busInfo : byIdName;
    return (byIdName.empty() ? card : byIdName) + " @ " +
           (byPathName.empty() ? busInfo : byPathName);
}

bool V4l2Device::isTwinOf(const V4l2Device &other) const
{
    // Two cameras without by-id names are told apart by their bus info already.
    return card == other.card && (byIdName.empty() != other.byIdName.empty() ||
                                  (!byIdName.empty() && byIdName == other.byIdName));
}

int32_t V4l2Device::formatCount() const
{
    return int32_t(modeList.size());
}

bool V4l2Device::formatInfo(uint32_t index, CapFormatInfo &info) const
{
    if (index >= modeList.size())
        return false;
    const V4l2Mode &mode = modeList[index];
    info.width = mode.width;
    info.height = mode.height;
    info.fourcc = mode.pixelFormat;
    info.fps = mode.fps;
    info.bpp = mode.bpp;
    return true;
}

bool V4l2Device::frameRate(uint32_t index, uint32_t &numerator, uint32_t &denominator) const
{
    if (index >= modeList.size())
        return false;
    numerator = modeList[index].fpsNumerator;
    denominator = modeList[index].fpsDenominator;
    return true;
}

std::unique_ptr<Stream> V4l2Device::openStream(uint32_t formatIndex)
{
    if (formatIndex >= modeList.size())
        return nullptr;
    const V4l2Mode &mode = modeList[formatIndex];
    // The caller's RGB buffer size is a 32-bit count of bytes.
    if (uint64_t(mode.width) * mode.height * 3 > std::numeric_limits<uint32_t>::max()) {
        logMessage(LOG_ERR, "V4L2: " + path + " mode " + std::to_string(mode.width) + "x" +
                                std::to_string(mode.height) + " is too large");
        lastOpenError = CAPERROR_TOOLARGE;
        return nullptr;
    }
    int error = 0;
    auto stream = V4l2Stream::open(io, path, mode, error);
    lastOpenError = stream ? CAPERROR_NONE : openErrorOf(error);
    return stream;
}

} // namespace ostrel::capture
