#include "fakev4l2device.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numeric>
#include <sstream>

namespace {

// Buffer offsets handed out by QUERYBUF: far enough apart to tell the buffers apart in mmap.
constexpr int offsetShift = 20;

template<size_t N> void copyText(uint8_t (&field)[N], const std::string &text)
{
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

} // namespace

FakeV4l2Device::Control FakeV4l2Device::control(uint32_t id, v4l2_ctrl_type type, int32_t min,
                                                int32_t max, int32_t def,
                                                std::vector<uint32_t> menu)
{
    Control c;
    c.query.id = id;
    c.query.type = type;
    c.query.minimum = min;
    c.query.maximum = max;
    c.query.step = 1;
    c.query.default_value = c.value = def;
    c.menuItems = std::move(menu);
    return c;
}

FakeV4l2Device::Node FakeV4l2Device::uvcCamera()
{
    Node node;
    node.card = "Fake UVC Camera";
    for (uint32_t pixelFormat : {V4L2_PIX_FMT_MJPEG, V4L2_PIX_FMT_YUYV})
        node.formats.push_back({pixelFormat, {discreteSize(64, 48)}, {discreteInterval(1, 30)}});
    for (const auto &c : {
             control(V4L2_CID_BRIGHTNESS, V4L2_CTRL_TYPE_INTEGER, -64, 64, 0),
             control(V4L2_CID_CONTRAST, V4L2_CTRL_TYPE_INTEGER, 0, 95, 32),
             control(V4L2_CID_EXPOSURE_ABSOLUTE, V4L2_CTRL_TYPE_INTEGER, 3, 2047, 250),
             control(V4L2_CID_EXPOSURE_AUTO, V4L2_CTRL_TYPE_MENU, 0, 3, 3,
                     {V4L2_EXPOSURE_MANUAL, V4L2_EXPOSURE_APERTURE_PRIORITY}),
             control(V4L2_CID_WHITE_BALANCE_TEMPERATURE, V4L2_CTRL_TYPE_INTEGER, 2800, 6500, 4600),
             control(V4L2_CID_AUTO_WHITE_BALANCE, V4L2_CTRL_TYPE_BOOLEAN, 0, 1, 1),
         })
        node.controls[c.query.id] = c;
    return node;
}

FakeV4l2Device::Node FakeV4l2Device::fromListing(const std::string &formats,
                                                 const std::string &controls)
{
    Node node;
    std::istringstream lines(formats);
    for (std::string line; std::getline(lines, line);) {
        char code[5] = {};
        uint32_t width = 0, height = 0;
        double fps = 0;
        if (std::sscanf(line.c_str(), " [%*d]: '%4c'", code) == 1 ||
            std::sscanf(line.c_str(), " Pixel Format: '%4c'", code) == 1)
            node.formats.push_back({v4l2_fourcc(code[0], code[1], code[2], code[3]), {}, {}});
        else if (std::sscanf(line.c_str(), " Size: Discrete %ux%u", &width, &height) == 2)
            node.formats.back().sizes.push_back(discreteSize(width, height));
        else if (std::sscanf(line.c_str(), " Interval: Discrete %*fs (%lf fps)", &fps) == 1) {
            const Format &format = node.formats.back();
            const auto milliFps = uint32_t(std::lround(fps * 1000)),
                       common = std::gcd(1000u, milliFps);
            node.sizeIntervals[{format.pixelFormat, format.sizes.back().discrete.width,
                                format.sizes.back().discrete.height}]
                .push_back(discreteInterval(1000 / common, milliFps / common));
        }
    }
    std::istringstream controlLines(controls);
    Control *menu = nullptr;
    for (std::string line; std::getline(controlLines, line);) {
        char type[8] = {};
        uint32_t id = 0, item = 0;
        if (std::sscanf(line.c_str(), " %*s 0x%x (%7[a-z])", &id, type) == 2) {
            const auto number = [&line](const char *key, int32_t fallback) {
                const auto at = line.find(key);
                return at == std::string::npos
                           ? fallback
                           : int32_t(std::stol(line.substr(at + std::strlen(key))));
            };
            const bool isMenu = std::strcmp(type, "menu") == 0;
            Control c = control(id,
                                isMenu                           ? V4L2_CTRL_TYPE_MENU
                                : std::strcmp(type, "bool") == 0 ? V4L2_CTRL_TYPE_BOOLEAN
                                                                 : V4L2_CTRL_TYPE_INTEGER,
                                number(" min=", 0), number(" max=", 1), number(" default=", 0));
            c.value = number(" value=", c.value);
            menu = &(node.controls[id] = c);
            if (!isMenu)
                menu = nullptr;
        } else if (menu && std::sscanf(line.c_str(), " %u: ", &item) == 1) {
            menu->menuItems.push_back(item);
        }
    }
    return node;
}

void FakeV4l2Device::addNode(const std::string &path, const Node &node)
{
    std::lock_guard lock(mutex);
    State &state = nodes[path] = State();
    state.script = node;
    state.interval = node.driverInterval;
}

void FakeV4l2Device::unplug(const std::string &path)
{
    std::lock_guard lock(mutex);
    nodes.at(path).plugged = false;
    signalChange(path);
}

void FakeV4l2Device::skipFrames(const std::string &path, uint32_t count)
{
    std::lock_guard lock(mutex);
    nodes.at(path).nextSequence += count;
}

void FakeV4l2Device::signalChange(const std::string &path)
{
    const uint64_t one = 1;
    const auto [first, last] = sleepers.equal_range(path);
    for (auto sleeper = first; sleeper != last; ++sleeper)
        [[maybe_unused]] const ssize_t written = ::write(sleeper->second, &one, sizeof one);
}

bool FakeV4l2Device::deliver(const std::string &path, const std::vector<uint8_t> &bytes,
                             uint32_t flags, std::optional<uint32_t> bytesused)
{
    std::lock_guard lock(mutex);
    State &node = nodes.at(path);
    if (!node.plugged || !node.streaming || node.queued.empty())
        return false;
    const uint32_t index = node.queued.front();
    node.queued.pop_front();
    Buffer &buffer = node.buffers[index];
    std::copy_n(bytes.begin(), std::min(bytes.size(), buffer.memory.size()), buffer.memory.begin());
    buffer.bytesused = bytesused.value_or(uint32_t(bytes.size()));
    buffer.flags = flags;
    buffer.sequence = node.nextSequence++;
    node.ready.push_back(index);
    signalChange(path);
    return true;
}

int FakeV4l2Device::openCount() const
{
    std::lock_guard lock(mutex);
    return int(descriptors.size());
}

int FakeV4l2Device::mappingCount() const
{
    std::lock_guard lock(mutex);
    return int(mappings.size());
}

FakeV4l2Device::Observed FakeV4l2Device::observe(const std::string &path) const
{
    std::lock_guard lock(mutex);
    const State &node = nodes.at(path);
    Observed seen{node.buffers.size() - node.queued.size(), node.interval, {}, node.controlWrites};
    for (const auto &[id, control] : node.script.controls)
        seen.controls[id] = control.value;
    return seen;
}

int FakeV4l2Device::open(const std::string &path)
{
    std::lock_guard lock(mutex);
    const auto found = nodes.find(path);
    if (found == nodes.end() || !found->second.plugged)
        return -ENOENT;
    descriptors[nextDescriptor] = path;
    return nextDescriptor++;
}

int FakeV4l2Device::close(int fd)
{
    std::lock_guard lock(mutex);
    State *node = nodeOf(fd);
    if (!node)
        return -EBADF;
    // Closing the node stops its stream, as a driver does; the memory stays for late munmaps.
    node->stop();
    node->subscriptions.erase(fd);
    node->events.erase(fd);
    descriptors.erase(fd);
    return 0;
}

FakeV4l2Device::State *FakeV4l2Device::nodeOf(int fd)
{
    const auto found = descriptors.find(fd);
    return found == descriptors.end() ? nullptr : &nodes.at(found->second);
}

int FakeV4l2Device::ioctl(int fd, unsigned long request, void *arg)
{
    std::lock_guard lock(mutex);
    State *node = nodeOf(fd);
    if (!node)
        return -EBADF;
    if (!node->plugged)
        return -ENODEV;
    const auto failing = node->script.failingRequests.find(request);
    if (failing != node->script.failingRequests.end())
        return failing->second;
    if (request == VIDIOC_SUBSCRIBE_EVENT) {
        const auto *subscription = static_cast<v4l2_event_subscription *>(arg);
        if (subscription->type != V4L2_EVENT_CTRL || !node->script.controls.count(subscription->id))
            return -EINVAL;
        node->subscriptions[fd].insert(subscription->id);
        return 0;
    }
    if (request == VIDIOC_DQEVENT) {
        std::deque<v4l2_event> &waiting = node->events[fd];
        if (waiting.empty())
            return -ENOENT;
        *static_cast<v4l2_event *>(arg) = waiting.front();
        waiting.pop_front();
        return 0;
    }
    return handle(*node, request, arg);
}

int FakeV4l2Device::handle(State &node, unsigned long request, void *arg)
{
    const Node &script = node.script;
    switch (request) {
    case VIDIOC_QUERYCAP: {
        auto *cap = static_cast<v4l2_capability *>(arg);
        *cap = {};
        copyText(cap->driver, "fake");
        copyText(cap->card, script.card);
        copyText(cap->bus_info, script.busInfo);
        cap->device_caps = script.deviceCaps;
        cap->capabilities = script.deviceCaps | V4L2_CAP_DEVICE_CAPS;
        return 0;
    }
    case VIDIOC_ENUM_FMT: {
        auto *desc = static_cast<v4l2_fmtdesc *>(arg);
        if (desc->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || desc->index >= script.formats.size())
            return -EINVAL;
        desc->pixelformat = script.formats[desc->index].pixelFormat;
        desc->flags = 0;
        return 0;
    }
    case VIDIOC_ENUM_FRAMESIZES:
    case VIDIOC_ENUM_FRAMEINTERVALS:
        return enumerate(node, request, arg);
    case VIDIOC_S_FMT: {
        v4l2_pix_format &pix = static_cast<v4l2_format *>(arg)->fmt.pix;
        pix.pixelformat = script.grantedPixelFormat.value_or(pix.pixelformat);
        pix.field = V4L2_FIELD_NONE;
        const uint32_t bytes = pix.pixelformat == V4L2_PIX_FMT_YUYV   ? 2
                               : pix.pixelformat == V4L2_PIX_FMT_GREY ? 1
                                                                      : 0;
        pix.bytesperline = pix.width * bytes;
        // Compressed frames get room for a worst case, as drivers do.
        pix.sizeimage = pix.width * pix.height * (bytes ? bytes : 2);
        node.format = *static_cast<v4l2_format *>(arg);
        return 0;
    }
    case VIDIOC_G_PARM:
    case VIDIOC_S_PARM: {
        auto *parm = static_cast<v4l2_streamparm *>(arg);
        if (request == VIDIOC_S_PARM)
            node.interval = script.grantedInterval.value_or(parm->parm.capture.timeperframe);
        parm->parm.capture.capability = V4L2_CAP_TIMEPERFRAME;
        parm->parm.capture.timeperframe = node.interval;
        return 0;
    }
    case VIDIOC_REQBUFS: {
        auto *asked = static_cast<v4l2_requestbuffers *>(arg);
        if (asked->memory != V4L2_MEMORY_MMAP || node.streaming)
            return node.streaming ? -EBUSY : -EINVAL;
        if (asked->count > 0 && script.grantedBuffers > 0)
            asked->count = script.grantedBuffers;
        node.stop();
        node.buffers.assign(asked->count, Buffer{});
        for (Buffer &buffer : node.buffers)
            buffer.memory.assign(node.format.fmt.pix.sizeimage, 0);
        return 0;
    }
    case VIDIOC_QUERYBUF: {
        auto *buffer = static_cast<v4l2_buffer *>(arg);
        if (buffer->index >= node.buffers.size())
            return -EINVAL;
        buffer->length = uint32_t(node.buffers[buffer->index].memory.size());
        buffer->m.offset = buffer->index << offsetShift;
        return 0;
    }
    case VIDIOC_QBUF: {
        const uint32_t index = static_cast<v4l2_buffer *>(arg)->index;
        // Queuing a buffer twice is a backend fault a real driver refuses too.
        if (index >= node.buffers.size() ||
            std::count(node.queued.begin(), node.queued.end(), index) ||
            std::count(node.ready.begin(), node.ready.end(), index))
            return -EINVAL;
        node.queued.push_back(index);
        return 0;
    }
    case VIDIOC_DQBUF: {
        if (!node.streaming || node.ready.empty())
            return node.streaming ? -EAGAIN : -EINVAL;
        auto *buffer = static_cast<v4l2_buffer *>(arg);
        buffer->index = node.ready.front();
        node.ready.pop_front();
        const Buffer &filled = node.buffers[buffer->index];
        buffer->bytesused = filled.bytesused;
        buffer->flags = filled.flags;
        buffer->length = uint32_t(filled.memory.size());
        buffer->sequence = filled.sequence;
        const uint64_t us = uint64_t(filled.sequence) * 1000000u * node.interval.numerator /
                            std::max(1u, node.interval.denominator);
        buffer->timestamp = {time_t(us / 1000000u), suseconds_t(us % 1000000u)};
        return 0;
    }
    case VIDIOC_STREAMON:
        node.streaming = true;
        return 0;
    case VIDIOC_STREAMOFF:
        node.stop();
        return 0;
    case VIDIOC_QUERYCTRL:
    case VIDIOC_G_CTRL:
    case VIDIOC_S_CTRL:
    case VIDIOC_QUERYMENU:
        return controlIoctl(node, request, arg);
    case VIDIOC_SUBSCRIBE_EVENT:
    case VIDIOC_DQEVENT:
        return -ENOTTY; // answered per descriptor in ioctl()
    default:
        return -ENOTTY;
    }
}

int FakeV4l2Device::enumerate(const State &node, unsigned long request, void *arg)
{
    const bool sizes = request == VIDIOC_ENUM_FRAMESIZES;
    auto *size = static_cast<v4l2_frmsizeenum *>(arg);
    auto *interval = static_cast<v4l2_frmivalenum *>(arg);
    const uint32_t pixelFormat = sizes ? size->pixel_format : interval->pixel_format;
    const uint32_t index = sizes ? size->index : interval->index;
    const auto &formats = node.script.formats;
    const auto format = std::find_if(formats.begin(), formats.end(),
                                     [&](const Format &f) { return f.pixelFormat == pixelFormat; });
    if (format == formats.end())
        return -EINVAL;
    const auto &listings = node.script.sizeIntervals;
    const auto listed = listings.find({pixelFormat, interval->width, interval->height});
    const auto &intervals = listed == listings.end() ? format->intervals : listed->second;
    if (index >= (sizes ? format->sizes.size() : intervals.size()))
        return -EINVAL;
    if (sizes) {
        *size = format->sizes[index];
        size->index = index;
        size->pixel_format = pixelFormat;
        return 0;
    }
    const uint32_t width = interval->width, height = interval->height;
    *interval = intervals[index];
    interval->index = index;
    interval->pixel_format = pixelFormat;
    interval->width = width;
    interval->height = height;
    return 0;
}

int FakeV4l2Device::controlIoctl(State &node, unsigned long request, void *arg)
{
    // Every control ioctl's argument starts with the control id.
    const auto found = node.script.controls.find(*static_cast<uint32_t *>(arg));
    if (found == node.script.controls.end())
        return -EINVAL;
    Control &control = found->second;
    switch (request) {
    case VIDIOC_QUERYCTRL:
        *static_cast<v4l2_queryctrl *>(arg) = control.query;
        return 0;
    case VIDIOC_G_CTRL:
        static_cast<v4l2_control *>(arg)->value = control.value;
        return 0;
    case VIDIOC_S_CTRL: {
        const int32_t value = static_cast<v4l2_control *>(arg)->value;
        if (value < control.query.minimum || value > control.query.maximum)
            return -ERANGE;
        control.value = value;
        node.controlWrites.emplace_back(control.query.id, value);
        return 0;
    }
    default: { // VIDIOC_QUERYMENU
        auto *item = static_cast<v4l2_querymenu *>(arg);
        const auto &items = control.menuItems;
        if (std::find(items.begin(), items.end(), item->index) == items.end())
            return -EINVAL;
        // The name sits in a packed union; only its presence matters to the backend.
        std::memset(&item->name, 0, sizeof(item->name));
        item->name[0] = 'm';
        return 0;
    }
    }
}

void *FakeV4l2Device::mmap(int fd, size_t length, int64_t offset)
{
    std::lock_guard lock(mutex);
    State *node = nodeOf(fd);
    const size_t index = size_t(offset >> offsetShift);
    if (!node || !node->plugged || node->script.mmapFails || index >= node->buffers.size() ||
        length > node->buffers[index].memory.size())
        return nullptr;
    void *address = node->buffers[index].memory.data();
    mappings[address] = length;
    return address;
}

int FakeV4l2Device::munmap(void *address, size_t)
{
    std::lock_guard lock(mutex);
    return mappings.erase(address) ? 0 : -EINVAL;
}

int FakeV4l2Device::poll(pollfd *fds, nfds_t count, int timeoutMs)
{
    bool frameWait = false;
    {
        // Only waits for frames count: a control-event wait sleeps on the same node meanwhile.
        std::lock_guard lock(mutex);
        frameWait = std::any_of(fds, fds + count, [this](const pollfd &entry) {
            return (entry.events & POLLIN) && descriptors.count(entry.fd);
        });
    }
    polls += frameWait ? 1 : 0;
    waitingForFrames += frameWait ? 1 : 0;
    const std::unique_ptr<std::atomic<int>, void (*)(std::atomic<int> *)> waited(
        frameWait ? &waitingForFrames : nullptr, [](std::atomic<int> *waiting) { --*waiting; });
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    // This call's own wake-up: every node it watches raises it on a change, so several threads
    // polling one node (frames and control events) each hear of it.
    const int wakeup = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeup < 0)
        return -errno;
    // What the kernel is asked to watch: the real descriptors as given, the wake-up for the fake.
    std::vector<pollfd> watched(fds, fds + count);
    std::vector<std::string> fakePaths(count);
    int ready = 0;
    for (;;) {
        ready = 0;
        {
            std::lock_guard lock(mutex);
            for (nfds_t i = 0; i < count; ++i) {
                const auto descriptor = descriptors.find(fds[i].fd);
                if (descriptor == descriptors.end())
                    continue;
                fakePaths[i] = descriptor->second;
                const State &node = nodes.at(descriptor->second);
                // An unplugged node reports an error, as a UVC node whose queue failed does; a
                // control event waiting for the descriptor is priority data.
                const bool frame = node.streaming && !node.ready.empty();
                const auto waiting = node.events.find(fds[i].fd);
                const bool event = waiting != node.events.end() && !waiting->second.empty();
                fds[i].revents = !node.plugged ? short(POLLERR)
                                               : short((frame ? fds[i].events & POLLIN : 0) |
                                                       (event ? fds[i].events & POLLPRI : 0));
                ready += fds[i].revents ? 1 : 0;
                watched[i] = {wakeup, POLLIN, 0};
                sleepers.emplace(descriptor->second, wakeup);
            }
        }
        const int left = int(std::max<int64_t>(
            0,
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count() +
                1));
        const int realReady = ::poll(watched.data(), count,
                                     ready > 0       ? 0
                                     : timeoutMs < 0 ? -1
                                                     : left);
        const int pollError = realReady < 0 && errno != EINTR ? errno : 0;
        {
            std::lock_guard lock(mutex);
            for (auto sleeper = sleepers.begin(); sleeper != sleepers.end();)
                sleeper = sleeper->second == wakeup ? sleepers.erase(sleeper) : std::next(sleeper);
        }
        uint64_t raised = 0;
        [[maybe_unused]] const ssize_t drained = ::read(wakeup, &raised, sizeof raised);
        if (pollError) {
            ready = -pollError;
            break;
        }
        for (nfds_t i = 0; i < count; ++i) {
            if (fakePaths[i].empty()) {
                fds[i].revents = watched[i].revents;
                ready += fds[i].revents ? 1 : 0;
            }
        }
        if (ready > 0 || (timeoutMs >= 0 && Clock::now() >= deadline))
            break;
    }
    ::close(wakeup);
    return ready;
}

void FakeV4l2Device::changeControl(const std::string &path, uint32_t id, int32_t value)
{
    std::lock_guard lock(mutex);
    State &node = nodes.at(path);
    node.script.controls.at(id).value = value;
    for (const auto &[fd, ids] : node.subscriptions) {
        if (!ids.count(id))
            continue;
        v4l2_event event{};
        event.type = V4L2_EVENT_CTRL;
        event.id = id;
        event.u.ctrl.changes = V4L2_EVENT_CTRL_CH_VALUE;
        event.u.ctrl.value = value;
        node.events[fd].push_back(event);
    }
    signalChange(path);
}
