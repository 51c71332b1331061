#include "v4l2mode.h"

#include <linux/videodev2.h>

namespace ostrel::capture {

uint32_t v4l2BitsPerPixel(uint32_t pixelFormat)
{
    switch (pixelFormat) {
    case V4L2_PIX_FMT_RGB24:
    case V4L2_PIX_FMT_BGR24:
        return 24;
    case V4L2_PIX_FMT_YUYV:
    case V4L2_PIX_FMT_YVYU:
    case V4L2_PIX_FMT_UYVY:
    case V4L2_PIX_FMT_VYUY:
    case V4L2_PIX_FMT_RGB565:
    case V4L2_PIX_FMT_Y16:
    case V4L2_PIX_FMT_NV16:
    case V4L2_PIX_FMT_NV61:
        return 16;
    case V4L2_PIX_FMT_NV12:
    case V4L2_PIX_FMT_NV21:
    case V4L2_PIX_FMT_YUV420:
    case V4L2_PIX_FMT_YVU420:
        return 12;
    case V4L2_PIX_FMT_GREY:
    case V4L2_PIX_FMT_SBGGR8:
    case V4L2_PIX_FMT_SGBRG8:
    case V4L2_PIX_FMT_SGRBG8:
    case V4L2_PIX_FMT_SRGGB8:
        return 8;
    default:
        return 0;
    }
}

} // namespace ostrel::capture
