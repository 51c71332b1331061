// One driver buffer mapped into our address space, unmapped through the seam that mapped it.
// Move-only.
#pragma once

#include "v4l2io.h"

#include <cstdint>
#include <memory>

namespace ostrel::capture {

class V4l2Mapping
{
public:
    V4l2Mapping() = default;
    ~V4l2Mapping();
    V4l2Mapping(V4l2Mapping &&other) noexcept;
    V4l2Mapping &operator=(V4l2Mapping &&other) noexcept;
    V4l2Mapping(const V4l2Mapping &) = delete;
    V4l2Mapping &operator=(const V4l2Mapping &) = delete;

    // Invalid when the mapping fails.
    static V4l2Mapping map(const std::shared_ptr<V4l2Io> &io, int fd, size_t length,
                           int64_t offset);

    bool isValid() const { return address != nullptr; }
    const uint8_t *data() const { return static_cast<const uint8_t *>(address); }
    size_t size() const { return length; }

private:
    void reset();

    std::shared_ptr<V4l2Io> io;
    void *address = nullptr;
    size_t length = 0;
};

} // namespace ostrel::capture
