// A V4L2 capture node as the capture library lists it. Name and modes are read once, when the
// device is found; opening a stream opens the node afresh.
#pragma once

#include "backend.h"
#include "v4l2io.h"
#include "v4l2mode.h"

#include <memory>
#include <string>
#include <vector>

namespace ostrel::capture {

class V4l2Device : public Device
{
public:
    // Null when path is not a node that captures video by streaming (metadata nodes, output
    // devices, nodes that cannot be opened).
    static std::unique_ptr<V4l2Device> probe(const std::shared_ptr<V4l2Io> &io,
                                             const std::string &path);

    std::optional<std::string> name() const override;
    // The node's name under v4l/by-id beside it (vendor, product and serial number, the same in
    // every port) when there is one, else the card name and bus info. A twin adds its port.
    std::string uniqueId() const override;
    // Whether other is a camera of the same kind that its by-id name does not tell apart from
    // this one: the same card name, and the same by-id name or (udev links only one of them)
    // a by-id name on one of the two alone.
    bool isTwinOf(const V4l2Device &other) const;
    // From now on the id names the USB port too: the node's name under v4l/by-path, else the
    // bus info.
    void tellApartByPort() { twin = true; }
    int32_t formatCount() const override;
    bool formatInfo(uint32_t index, CapFormatInfo &info) const override;
    bool frameRate(uint32_t index, uint32_t &numerator, uint32_t &denominator) const override;
    std::unique_ptr<Stream> openStream(uint32_t formatIndex) override;

    const std::vector<V4l2Mode> &modes() const { return modeList; }

private:
    V4l2Device(std::shared_ptr<V4l2Io> io, std::string path, std::string card, std::string busInfo,
               std::vector<V4l2Mode> modes);

    std::shared_ptr<V4l2Io> io;
    std::string path;
    std::string card;
    std::string busInfo;
    std::string byIdName;
    std::string byPathName;
    bool twin = false;
    std::vector<V4l2Mode> modeList;
};

} // namespace ostrel::capture
