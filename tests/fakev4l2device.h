// A scripted set of V4L2 nodes behind the backend's I/O seam. Each node answers the ioctls the
// backend and libv4lconvert make from its script; the test delivers frames into whatever buffers
// the backend has queued, unplugs nodes and injects refusals. Thread-safe. poll() blocks as the
// kernel's does: a frame delivered or an unplug wakes it, and so does any real descriptor (an
// eventfd) polled with the fake ones.
#pragma once

#include "v4l2/v4l2io.h"

#include <linux/videodev2.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

class FakeV4l2Device : public ostrel::capture::V4l2Io
{
public:
    // The intervals are offered for every size that the node's sizeIntervals does not list;
    // index and pixel_format are filled in on the way.
    struct Format
    {
        uint32_t pixelFormat = 0;
        std::vector<v4l2_frmsizeenum> sizes;
        std::vector<v4l2_frmivalenum> intervals;
    };

    struct Control
    {
        v4l2_queryctrl query{};
        int32_t value = 0;
        std::vector<uint32_t> menuItems; // valid QUERYMENU indices of a menu control
    };

    struct Node
    {
        std::string card = "Fake Camera";
        std::string busInfo = "usb-0000:00:14.0-1";
        uint32_t deviceCaps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
        std::vector<Format> formats;
        // The intervals of one size: (pixel format, width, height) -> intervals.
        std::map<std::array<uint32_t, 3>, std::vector<v4l2_frmivalenum>> sizeIntervals;
        std::map<uint32_t, Control> controls;
        v4l2_fract driverInterval{1, 30}; // what G_PARM reports before any S_PARM

        // Refusals: the driver's answers differ from what was asked.
        std::optional<v4l2_fract> grantedInterval;
        std::optional<uint32_t> grantedPixelFormat;
        uint32_t grantedBuffers = 0; // 0 = as many as requested
        bool mmapFails = false;
        std::map<unsigned long, int> failingRequests; // ioctl request -> -errno
    };

    // What a test can see of a node from the driver's side.
    struct Observed
    {
        size_t held = 0; // buffers the backend has not handed back for filling
        v4l2_fract interval{};
        std::map<uint32_t, int32_t> controls;
        std::vector<std::pair<uint32_t, int32_t>> controlWrites; // every S_CTRL, in order
    };

    static v4l2_frmsizeenum discreteSize(uint32_t width, uint32_t height)
    {
        return {0, 0, V4L2_FRMSIZE_TYPE_DISCRETE, {{width, height}}, {}};
    }
    static v4l2_frmivalenum discreteInterval(uint32_t numerator, uint32_t denominator)
    {
        return {0, 0, 0, 0, V4L2_FRMIVAL_TYPE_DISCRETE, {{numerator, denominator}}, {}};
    }
    static Control control(uint32_t id, v4l2_ctrl_type type, int32_t min, int32_t max, int32_t def,
                           std::vector<uint32_t> menu = {});
    // A typical UVC camera: MJPEG and YUYV at 64x48 and 30 fps, brightness, contrast, exposure
    // with its menu-style auto control (manual and aperture priority only), white balance with
    // an on/off automatic.
    static Node uvcCamera();
    // A camera as `v4l2-ctl --list-formats-ext` and `--list-ctrls-menus` describe it.
    static Node fromListing(const std::string &formats, const std::string &controls);

    void addNode(const std::string &path, const Node &node);
    void unplug(const std::string &path);
    // Another program sets a control of the node: every descriptor subscribed to it hears of it.
    void changeControl(const std::string &path, uint32_t id, int32_t value);
    // The camera loses count frames: the next frame delivered is numbered that much later.
    void skipFrames(const std::string &path, uint32_t count);

    // Fills the oldest queued buffer of the streaming node at path with bytes (bytesused may
    // claim a different length) and marks it ready. False when the backend has none queued.
    bool deliver(const std::string &path, const std::vector<uint8_t> &bytes, uint32_t flags = 0,
                 std::optional<uint32_t> bytesused = std::nullopt);

    // Frames are numbered from 0 in delivery order; a frame's timestamp is its number times the
    // node's frame interval.
    int openCount() const;
    // Calls of poll() that wait for a frame of a node, so far.
    int pollCount() const { return polls.load(); }
    // Calls of poll() waiting for a frame of a node right now.
    int frameWaits() const { return waitingForFrames.load(); }
    int mappingCount() const;
    Observed observe(const std::string &path) const;

    int open(const std::string &path) override;
    int close(int fd) override;
    int ioctl(int fd, unsigned long request, void *arg) override;
    void *mmap(int fd, size_t length, int64_t offset) override;
    int munmap(void *address, size_t length) override;
    int poll(pollfd *fds, nfds_t count, int timeoutMs) override;

private:
    struct Buffer
    {
        std::vector<uint8_t> memory;
        uint32_t bytesused = 0, flags = 0, sequence = 0;
    };
    struct State
    {
        Node script;
        bool plugged = true;
        v4l2_format format{};
        v4l2_fract interval{};
        std::vector<Buffer> buffers;
        std::deque<uint32_t> queued, ready;
        bool streaming = false;
        std::vector<std::pair<uint32_t, int32_t>> controlWrites;
        std::map<int, std::set<uint32_t>> subscriptions; // descriptor -> control ids
        std::map<int, std::deque<v4l2_event>> events;    // descriptor -> waiting events
        uint32_t nextSequence = 0;

        void stop()
        {
            streaming = false;
            queued.clear();
            ready.clear();
        }
    };

    int handle(State &node, unsigned long request, void *arg);
    int enumerate(const State &node, unsigned long request, void *arg);
    int controlIoctl(State &node, unsigned long request, void *arg);
    State *nodeOf(int fd);
    // mutex held: wakes every poll() that waits on a descriptor of the node at path.
    void signalChange(const std::string &path);

    mutable std::mutex mutex; // guards everything below
    std::map<std::string, State> nodes;
    std::map<int, std::string> descriptors;   // open fd -> node path
    std::multimap<std::string, int> sleepers; // node path -> wake-up of a poll() sleeping on it
    std::map<void *, size_t> mappings;
    // Far above any real descriptor, so that the two kinds never meet in one poll() call.
    int nextDescriptor = 1 << 24;
    std::atomic<int> polls{0};
    std::atomic<int> waitingForFrames{0};
};
