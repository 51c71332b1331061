// The V4L2 backend against a scripted device: what it lists, how it opens and streams, which
// frames it delivers or drops, and how it behaves when the device refuses or vanishes.
#include "fakev4l2device.h"
#include "v4l2backend.h"
#include "v4l2device.h"
#include "v4l2mode.h"
#include "v4l2stream.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

using namespace ostrel::capture;

namespace {

const std::string node0 = "/fake/video0";

v4l2_frmsizeenum discreteSize(uint32_t width, uint32_t height)
{
    v4l2_frmsizeenum size{};
    size.type = V4L2_FRMSIZE_TYPE_DISCRETE;
    size.discrete = {width, height};
    return size;
}

v4l2_frmsizeenum stepwiseSize(uint32_t minWidth, uint32_t maxWidth, uint32_t stepWidth,
                              uint32_t minHeight, uint32_t maxHeight, uint32_t stepHeight)
{
    v4l2_frmsizeenum size{};
    size.type = V4L2_FRMSIZE_TYPE_STEPWISE;
    size.stepwise = {minWidth, maxWidth, stepWidth, minHeight, maxHeight, stepHeight};
    return size;
}

v4l2_frmivalenum discreteInterval(uint32_t numerator, uint32_t denominator)
{
    v4l2_frmivalenum interval{};
    interval.type = V4L2_FRMIVAL_TYPE_DISCRETE;
    interval.discrete = {numerator, denominator};
    return interval;
}

v4l2_frmivalenum continuousInterval(v4l2_fract shortest, v4l2_fract longest)
{
    v4l2_frmivalenum interval{};
    interval.type = V4L2_FRMIVAL_TYPE_CONTINUOUS;
    interval.stepwise = {shortest, longest, {1, 1}};
    return interval;
}

FakeV4l2Device::Control control(uint32_t id, v4l2_ctrl_type type, int32_t min, int32_t max,
                                int32_t def, std::vector<uint32_t> menu = {})
{
    FakeV4l2Device::Control c;
    c.query.id = id;
    c.query.type = type;
    c.query.minimum = min;
    c.query.maximum = max;
    c.query.step = 1;
    c.query.default_value = def;
    c.value = def;
    c.menuItems = std::move(menu);
    return c;
}

// A typical UVC camera: MJPEG and YUYV at 64x48, brightness, contrast, exposure with its
// menu-style auto control (manual and aperture priority only), white balance with a switch.
FakeV4l2Device::Node camera()
{
    FakeV4l2Device::Node node;
    node.card = "Fake UVC Camera";
    node.formats = {
        {V4L2_PIX_FMT_MJPEG, {discreteSize(64, 48)}, {discreteInterval(1, 30)}},
        {V4L2_PIX_FMT_YUYV, {discreteSize(64, 48)}, {discreteInterval(1, 30)}},
    };
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

struct Yuv
{
    uint8_t y, u, v;
};
// BT.601 studio range.
constexpr Yuv red{82, 90, 240};
constexpr Yuv blue{41, 240, 110};

// Left half one colour, right half the other.
std::vector<uint8_t> yuyvFrame(uint32_t width, uint32_t height, Yuv left, Yuv right)
{
    std::vector<uint8_t> frame;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; x += 2) {
            const Yuv c = x < width / 2 ? left : right;
            frame.insert(frame.end(), {c.y, c.u, c.y, c.v});
        }
    }
    return frame;
}

std::vector<uint8_t> jpegFrame(uint32_t width, uint32_t height, QColor left, QColor right)
{
    QImage image(int(width), int(height), QImage::Format_RGB888);
    image.fill(right);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width() / 2; ++x)
            image.setPixelColor(x, y, left);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPG", 95))
        return {};
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

QColor pixel(const std::vector<uint8_t> &rgb, uint32_t width, uint32_t x, uint32_t y)
{
    const size_t at = (size_t(y) * width + x) * 3;
    return QColor(rgb[at], rgb[at + 1], rgb[at + 2]);
}

bool near(QColor actual, QColor expected, int tolerance = 40)
{
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

} // namespace

class TestV4l2Backend : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listsCaptureNodesInNodeOrder();
    void listsConvertibleModesInEnumerationOrder();
    void deliversConvertedFrames_data();
    void deliversConvertedFrames();
    void slowCallerGetsNewestFrame();
    void damagedFramesAreDroppedAndStreamGoesOn_data();
    void damagedFramesAreDroppedAndStreamGoesOn();
    void refusedModesFailTheOpen_data();
    void refusedModesFailTheOpen();
    void deviceGoneBeforeOpenFailsTheOpen();
    void deviceGoneMidStreamFailsEveryCall();
    void propertiesFollowTheDeviceControls_data();
    void propertiesFollowTheDeviceControls();
    void automaticModes();
    void captureAndPropertiesFromTwoThreads();

private:
    std::unique_ptr<V4l2Device> probe(const std::string &path = node0)
    {
        return V4l2Device::probe(io, path);
    }
    std::unique_ptr<Stream> openStream(uint32_t pixelFormat);

    std::shared_ptr<FakeV4l2Device> io;
};

void TestV4l2Backend::init()
{
    io = std::make_shared<FakeV4l2Device>();
}

void TestV4l2Backend::cleanup()
{
    // Whatever a test did, nothing may stay open or mapped once its objects are gone.
    QCOMPARE(io->openCount(), 0);
    QCOMPARE(io->mappingCount(), 0);
}

std::unique_ptr<Stream> TestV4l2Backend::openStream(uint32_t pixelFormat)
{
    auto device = probe();
    if (!device)
        return nullptr;
    const auto &modes = device->modes();
    for (size_t i = 0; i < modes.size(); ++i) {
        if (modes[i].pixelFormat == pixelFormat)
            return device->openStream(uint32_t(i));
    }
    return nullptr;
}

void TestV4l2Backend::listsCaptureNodesInNodeOrder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::string base = dir.path().toStdString();
    // video1 is a camera's metadata node, video3 an output device, video4 not a V4L2 node at
    // all (opens, but QUERYCAP is refused), video5 exists in the directory but cannot be opened.
    for (const char *name : {"video10", "video2", "video0", "video1", "video3", "video4", "video5",
                             "vbi0", "videoX", "video"})
        QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    auto named = [&](const std::string &card, uint32_t caps, const std::string &bus) {
        FakeV4l2Device::Node node = camera();
        node.card = card;
        node.deviceCaps = caps;
        node.busInfo = bus;
        return node;
    };
    const uint32_t capture = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
    io->addNode(base + "/video0", named("Cam A", capture, "usb-1"));
    io->addNode(base + "/video1",
                named("Cam A", V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING, "usb-1"));
    io->addNode(base + "/video2", named("Cam B", capture, "usb-2"));
    io->addNode(base + "/video3", named("Out", V4L2_CAP_VIDEO_OUTPUT | V4L2_CAP_STREAMING, "x"));
    FakeV4l2Device::Node notV4l2 = camera();
    notV4l2.failingRequests[VIDIOC_QUERYCAP] = -ENOTTY;
    io->addNode(base + "/video4", notV4l2);
    io->addNode(base + "/video10", named("Cam C", capture, "usb-3"));

    V4l2Backend backend(io, base);
    const auto devices = backend.enumerateDevices();
    std::vector<std::string> names, ids;
    for (const auto &device : devices) {
        names.push_back(device->name().value_or("?"));
        ids.push_back(device->uniqueId());
    }
    QCOMPARE(names, (std::vector<std::string>{"Cam A", "Cam B", "Cam C"}));
    QCOMPARE(ids, (std::vector<std::string>{"usb-1" + base + "/video0", "usb-2" + base + "/video2",
                                            "usb-3" + base + "/video10"}));
}

void TestV4l2Backend::listsConvertibleModesInEnumerationOrder()
{
    FakeV4l2Device::Node node = camera();
    node.driverInterval = {1, 25};
    node.formats = {
        {V4L2_PIX_FMT_MJPEG,
         {discreteSize(1920, 1080), discreteSize(640, 480)},
         {discreteInterval(1, 30), discreteInterval(333333, 10000000), discreteInterval(2, 15)}},
        // Nothing converts H.264 to RGB: it must not be offered.
        {V4L2_PIX_FMT_H264, {discreteSize(1920, 1080)}, {discreteInterval(1, 30)}},
        // A range: the common sizes inside it (on its 16 x 8 grid), the common rates from 30 down
        // to 5 frames per second.
        {V4L2_PIX_FMT_YUYV,
         {stepwiseSize(320, 1280, 16, 240, 720, 8)},
         {continuousInterval({1, 30}, {1, 5})}},
        // No rates at all: the driver's current rate, and the open leaves it alone.
        {V4L2_PIX_FMT_GREY, {discreteSize(640, 480)}, {}},
    };
    io->addNode(node0, node);
    const auto device = probe();
    QVERIFY(device);

    using M = V4l2Mode;
    const uint32_t mjpg = V4L2_PIX_FMT_MJPEG, yuyv = V4L2_PIX_FMT_YUYV;
    std::vector<M> expected = {
        {mjpg, 1920, 1080, 1, 30, 30, 0},          {mjpg, 1920, 1080, 333333, 10000000, 30, 0},
        {mjpg, 1920, 1080, 2, 15, 8, 0},           {mjpg, 640, 480, 1, 30, 30, 0},
        {mjpg, 640, 480, 333333, 10000000, 30, 0}, {mjpg, 640, 480, 2, 15, 8, 0},
    };
    // 1024x768 is taller than the range.
    const std::pair<uint32_t, uint32_t> sizes[] = {{320, 240}, {352, 288}, {640, 360},
                                                   {640, 480}, {800, 600}, {1280, 720}};
    for (auto size : sizes) {
        for (uint32_t rate : {30u, 25u, 20u, 15u, 10u, 5u})
            expected.push_back({yuyv, size.first, size.second, 1, rate, rate, 16});
    }
    expected.push_back({V4L2_PIX_FMT_GREY, 640, 480, 0, 0, 25, 8});
    QCOMPARE(device->modes().size(), expected.size());
    QVERIFY(device->modes() == expected);

    CapFormatInfo info{};
    QVERIFY(device->formatInfo(2, info));
    QCOMPARE(info.fourcc, mjpg);
    QCOMPARE(info.fps, 8u);
    QVERIFY(!device->formatInfo(uint32_t(expected.size()), info));

    // The rate-less mode opens without touching the driver's interval.
    auto stream = device->openStream(uint32_t(expected.size() - 1));
    QVERIFY(stream);
    QCOMPARE(io->callCount(node0, VIDIOC_S_PARM), 0);
}

void TestV4l2Backend::deliversConvertedFrames_data()
{
    QTest::addColumn<uint32_t>("pixelFormat");
    QTest::addColumn<QByteArray>("frame");
    const auto bytes = [](const std::vector<uint8_t> &v) {
        return QByteArray(reinterpret_cast<const char *>(v.data()), int(v.size()));
    };
    QTest::newRow("MJPEG") << uint32_t(V4L2_PIX_FMT_MJPEG)
                           << bytes(jpegFrame(64, 48, Qt::red, Qt::blue));
    QTest::newRow("YUYV") << uint32_t(V4L2_PIX_FMT_YUYV) << bytes(yuyvFrame(64, 48, red, blue));
}

void TestV4l2Backend::deliversConvertedFrames()
{
    QFETCH(uint32_t, pixelFormat);
    QFETCH(QByteArray, frame);
    QVERIFY(!frame.isEmpty());
    io->addNode(node0, camera());
    auto stream = openStream(pixelFormat);
    QVERIFY(stream);
    QCOMPARE(stream->width(), 64u);
    QCOMPARE(stream->height(), 48u);
    QCOMPARE(io->interval(node0).denominator, 30u);
    QVERIFY(io->bufferCount(node0) >= 4);
    QVERIFY(!stream->hasNewFrame());

    QVERIFY(io->deliver(node0, std::vector<uint8_t>(frame.begin(), frame.end())));
    QVERIFY(stream->hasNewFrame());
    // A guard byte past the frame catches a conversion that writes beyond its size.
    std::vector<uint8_t> rgb(64 * 48 * 3 + 1, 0xa5);
    QCOMPARE(stream->captureFrame(rgb.data()), CapResult(CAPRESULT_OK));
    QCOMPARE(rgb.back(), uint8_t(0xa5));
    for (uint32_t y : {0u, 24u, 47u}) {
        QVERIFY2(near(pixel(rgb, 64, 8, y), Qt::red), qPrintable(pixel(rgb, 64, 8, y).name()));
        QVERIFY2(near(pixel(rgb, 64, 56, y), Qt::blue), qPrintable(pixel(rgb, 64, 56, y).name()));
    }
    QCOMPARE(stream->frameCount(), 1u);
    QVERIFY(!stream->hasNewFrame());
}

void TestV4l2Backend::slowCallerGetsNewestFrame()
{
    io->addNode(node0, camera());
    auto stream = openStream(V4L2_PIX_FMT_YUYV);
    QVERIFY(stream);
    const size_t buffers = io->bufferCount(node0);
    // The camera filled three buffers before the caller came back: only the last one counts,
    // and all three go back to the driver.
    QVERIFY(io->deliver(node0, yuyvFrame(64, 48, red, red)));
    QVERIFY(io->deliver(node0, yuyvFrame(64, 48, red, red)));
    QVERIFY(io->deliver(node0, yuyvFrame(64, 48, blue, blue)));
    std::vector<uint8_t> rgb(64 * 48 * 3);
    QCOMPARE(stream->captureFrame(rgb.data()), CapResult(CAPRESULT_OK));
    QVERIFY(near(pixel(rgb, 64, 0, 0), Qt::blue));
    QCOMPARE(io->queuedCount(node0), buffers);
    QVERIFY(!stream->hasNewFrame());
    QVERIFY(stream->captureFrame(rgb.data()) != CAPRESULT_OK);
    QCOMPARE(stream->frameCount(), 1u);
}

void TestV4l2Backend::damagedFramesAreDroppedAndStreamGoesOn_data()
{
    QTest::addColumn<uint32_t>("pixelFormat");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<uint32_t>("flags");
    QTest::addColumn<int>("bytesused"); // -1 = the frame's length

    const std::vector<uint8_t> jpeg = jpegFrame(64, 48, Qt::red, Qt::blue);
    const QByteArray whole(reinterpret_cast<const char *>(jpeg.data()), int(jpeg.size()));
    const std::vector<uint8_t> yuyv = yuyvFrame(64, 48, red, blue);
    const QByteArray yuyvBytes(reinterpret_cast<const char *>(yuyv.data()), int(yuyv.size()));
    const uint32_t mjpg = V4L2_PIX_FMT_MJPEG;

    // Noise between intact start and end markers: only the decoder can tell.
    QByteArray noise(600, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 131) ^ 0x5a);
    noise = QByteArray("\xff\xd8", 2) + noise + QByteArray("\xff\xd9", 2);
    QTest::newRow("MJPEG noise") << mjpg << noise << 0u << -1;
    QTest::newRow("MJPEG cut short") << mjpg << whole.left(whole.size() / 2) << 0u << -1;
    QTest::newRow("MJPEG without start") << mjpg << whole.mid(2) << 0u << -1;
    QTest::newRow("MJPEG flagged by driver")
        << mjpg << whole << uint32_t(V4L2_BUF_FLAG_ERROR) << -1;
    QTest::newRow("YUYV short") << uint32_t(V4L2_PIX_FMT_YUYV) << yuyvBytes.left(100) << 0u << -1;
    QTest::newRow("YUYV empty") << uint32_t(V4L2_PIX_FMT_YUYV) << yuyvBytes << 0u << 0;
    QTest::newRow("YUYV longer than buffer")
        << uint32_t(V4L2_PIX_FMT_YUYV) << yuyvBytes << 0u << (1 << 30);
}

void TestV4l2Backend::damagedFramesAreDroppedAndStreamGoesOn()
{
    QFETCH(uint32_t, pixelFormat);
    QFETCH(QByteArray, frame);
    QFETCH(uint32_t, flags);
    QFETCH(int, bytesused);
    io->addNode(node0, camera());
    auto stream = openStream(pixelFormat);
    QVERIFY(stream);
    const size_t buffers = io->bufferCount(node0);

    std::vector<uint8_t> rgb(64 * 48 * 3);
    QVERIFY(io->deliver(node0, std::vector<uint8_t>(frame.begin(), frame.end()), flags,
                        bytesused < 0 ? std::nullopt : std::optional<uint32_t>(bytesused)));
    QVERIFY(stream->captureFrame(rgb.data()) != CAPRESULT_OK);
    QCOMPARE(io->queuedCount(node0), buffers);
    QCOMPARE(stream->frameCount(), 0u);

    const std::vector<uint8_t> good = pixelFormat == V4L2_PIX_FMT_MJPEG
                                          ? jpegFrame(64, 48, Qt::red, Qt::blue)
                                          : yuyvFrame(64, 48, red, blue);
    QVERIFY(io->deliver(node0, good));
    QCOMPARE(stream->captureFrame(rgb.data()), CapResult(CAPRESULT_OK));
    QVERIFY(near(pixel(rgb, 64, 8, 8), Qt::red));
}

void TestV4l2Backend::refusedModesFailTheOpen_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<bool>("opens");
    // Each row changes camera() in one way (see refusedModesFailTheOpen).
    QTest::newRow("accepted as asked") << 0 << true;
    QTest::newRow("interval adjusted to 1/15") << 1 << false;
    QTest::newRow("interval refused") << 2 << false;
    QTest::newRow("pixel format adjusted") << 3 << false;
    QTest::newRow("size adjusted") << 4 << false;
    QTest::newRow("only one buffer") << 5 << false;
    QTest::newRow("buffers cannot be mapped") << 6 << false;
    QTest::newRow("streaming refused") << 7 << false;
    QTest::newRow("size too large for a 32-bit buffer") << 8 << false;
    QTest::newRow("interval 2/60 is 1/30") << 9 << true;
}

void TestV4l2Backend::refusedModesFailTheOpen()
{
    QFETCH(int, fault);
    QFETCH(bool, opens);
    FakeV4l2Device::Node node = camera();
    switch (fault) {
    case 1:
        node.grantedInterval = v4l2_fract{1, 15};
        break;
    case 2:
        node.failingRequests[VIDIOC_S_PARM] = -EINVAL;
        break;
    case 3:
        node.grantedPixelFormat = V4L2_PIX_FMT_YUYV;
        break;
    case 4:
        node.grantedWidth = 32;
        break;
    case 5:
        node.grantedBuffers = 1;
        break;
    case 6:
        node.mmapFails = true;
        break;
    case 7:
        node.failingRequests[VIDIOC_STREAMON] = -EIO;
        break;
    case 8:
        node.formats[0].sizes = {discreteSize(40000, 40000)};
        break;
    case 9:
        node.grantedInterval = v4l2_fract{2, 60};
        break;
    }
    io->addNode(node0, node);
    auto stream = openStream(V4L2_PIX_FMT_MJPEG);
    QCOMPARE(bool(stream), opens);
    if (!opens)
        QCOMPARE(io->openCount(), 0);
}

void TestV4l2Backend::deviceGoneBeforeOpenFailsTheOpen()
{
    io->addNode(node0, camera());
    auto device = probe();
    QVERIFY(device);
    QVERIFY(device->formatCount() > 0);
    io->unplug(node0);
    QVERIFY(!device->openStream(0));
    // What was read at enumeration stays readable.
    CapFormatInfo info{};
    QVERIFY(device->formatInfo(0, info));
}

void TestV4l2Backend::deviceGoneMidStreamFailsEveryCall()
{
    io->addNode(node0, camera());
    auto stream = openStream(V4L2_PIX_FMT_YUYV);
    QVERIFY(stream);
    std::vector<uint8_t> rgb(64 * 48 * 3);
    QVERIFY(io->deliver(node0, yuyvFrame(64, 48, red, blue)));
    QCOMPARE(stream->captureFrame(rgb.data()), CapResult(CAPRESULT_OK));
    int32_t min = 0, max = 0, def = 0, value = 0;
    QCOMPARE(stream->propertyLimits(CAPPROPID_BRIGHTNESS, min, max, def), CapResult(CAPRESULT_OK));

    io->unplug(node0);
    bool automatic = false;
    QVERIFY(!stream->hasNewFrame());
    QVERIFY(stream->captureFrame(rgb.data()) != CAPRESULT_OK);
    QVERIFY(stream->propertyLimits(CAPPROPID_BRIGHTNESS, min, max, def) != CAPRESULT_OK);
    QVERIFY(stream->property(CAPPROPID_BRIGHTNESS, value) != CAPRESULT_OK);
    QVERIFY(stream->setProperty(CAPPROPID_BRIGHTNESS, 1) != CAPRESULT_OK);
    QVERIFY(stream->autoProperty(CAPPROPID_EXPOSURE, automatic) != CAPRESULT_OK);
    QVERIFY(stream->setAutoProperty(CAPPROPID_EXPOSURE, false) != CAPRESULT_OK);
    QCOMPARE(stream->frameCount(), 1u);
}

void TestV4l2Backend::propertiesFollowTheDeviceControls_data()
{
    QTest::addColumn<uint32_t>("property");
    QTest::addColumn<uint32_t>("control");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("def");
    QTest::addColumn<uint32_t>("autoResult"); // of setAutoProperty(property, false)

    const uint32_t ok = CAPRESULT_OK, unsupported = CAPRESULT_PROPERTYNOTSUPPORTED;
    QTest::newRow("brightness") << 6u << uint32_t(V4L2_CID_BRIGHTNESS) << -64 << 64 << 0
                                << unsupported;
    QTest::newRow("contrast") << 7u << uint32_t(V4L2_CID_CONTRAST) << 0 << 95 << 32 << unsupported;
    QTest::newRow("exposure") << 1u << uint32_t(V4L2_CID_EXPOSURE_ABSOLUTE) << 3 << 2047 << 250
                              << ok;
    QTest::newRow("white balance")
        << 4u << uint32_t(V4L2_CID_WHITE_BALANCE_TEMPERATURE) << 2800 << 6500 << 4600 << ok;
    QTest::newRow("gain") << 5u << uint32_t(V4L2_CID_GAIN) << 0 << 255 << 16 << ok;
}

void TestV4l2Backend::propertiesFollowTheDeviceControls()
{
    QFETCH(uint32_t, property);
    QFETCH(uint32_t, control);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, def);
    QFETCH(uint32_t, autoResult);
    FakeV4l2Device::Node node = camera();
    node.controls[V4L2_CID_GAIN] = ::control(V4L2_CID_GAIN, V4L2_CTRL_TYPE_INTEGER, 0, 255, 16);
    node.controls[V4L2_CID_AUTOGAIN] =
        ::control(V4L2_CID_AUTOGAIN, V4L2_CTRL_TYPE_BOOLEAN, 0, 1, 1);
    io->addNode(node0, node);
    auto stream = openStream(V4L2_PIX_FMT_YUYV);
    QVERIFY(stream);

    int32_t lo = 0, hi = 0, dv = 0, value = 0;
    QCOMPARE(stream->propertyLimits(property, lo, hi, dv), CapResult(CAPRESULT_OK));
    QCOMPARE(lo, min);
    QCOMPARE(hi, max);
    QCOMPARE(dv, def);
    QCOMPARE(stream->setProperty(property, max - 1), CapResult(CAPRESULT_OK));
    QCOMPARE(io->controlValue(node0, control), max - 1);
    QCOMPARE(stream->property(property, value), CapResult(CAPRESULT_OK));
    QCOMPARE(value, max - 1);
    QVERIFY(stream->setProperty(property, max + 1) != CAPRESULT_OK);
    QCOMPARE(stream->setAutoProperty(property, false), CapResult(autoResult));
}

void TestV4l2Backend::automaticModes()
{
    FakeV4l2Device::Node node = camera();
    node.controls[V4L2_CID_SHARPNESS] =
        control(V4L2_CID_SHARPNESS, V4L2_CTRL_TYPE_INTEGER, 0, 7, 3);
    node.controls[V4L2_CID_SHARPNESS].query.flags = V4L2_CTRL_FLAG_DISABLED;
    io->addNode(node0, node);
    auto stream = openStream(V4L2_PIX_FMT_YUYV);
    QVERIFY(stream);

    // Exposure's automatic mode is a menu; this camera offers aperture priority, not full auto.
    bool automatic = false;
    QCOMPARE(stream->autoProperty(CAPPROPID_EXPOSURE, automatic), CapResult(CAPRESULT_OK));
    QVERIFY(automatic);
    QCOMPARE(stream->setAutoProperty(CAPPROPID_EXPOSURE, false), CapResult(CAPRESULT_OK));
    QCOMPARE(io->controlValue(node0, V4L2_CID_EXPOSURE_AUTO), int(V4L2_EXPOSURE_MANUAL));
    QCOMPARE(stream->autoProperty(CAPPROPID_EXPOSURE, automatic), CapResult(CAPRESULT_OK));
    QVERIFY(!automatic);
    QCOMPARE(stream->setAutoProperty(CAPPROPID_EXPOSURE, true), CapResult(CAPRESULT_OK));
    QCOMPARE(io->controlValue(node0, V4L2_CID_EXPOSURE_AUTO), int(V4L2_EXPOSURE_APERTURE_PRIORITY));

    QCOMPARE(stream->setAutoProperty(CAPPROPID_WHITEBALANCE, false), CapResult(CAPRESULT_OK));
    QCOMPARE(io->controlValue(node0, V4L2_CID_AUTO_WHITE_BALANCE), 0);

    // Missing, disabled and unknown properties.
    int32_t min = 0, max = 0, def = 0;
    const uint32_t unsupported = CAPRESULT_PROPERTYNOTSUPPORTED;
    QCOMPARE(stream->propertyLimits(CAPPROPID_ZOOM, min, max, def), CapResult(unsupported));
    QCOMPARE(stream->propertyLimits(CAPPROPID_SHARPNESS, min, max, def), CapResult(unsupported));
    QCOMPARE(stream->setAutoProperty(CAPPROPID_FOCUS, true), CapResult(unsupported));
    for (uint32_t id : {0u, uint32_t(CAPPROPID_LAST), 1000u})
        QVERIFY(stream->propertyLimits(id, min, max, def) != CAPRESULT_OK);
}

void TestV4l2Backend::captureAndPropertiesFromTwoThreads()
{
    io->addNode(node0, camera());
    auto stream = openStream(V4L2_PIX_FMT_YUYV);
    QVERIFY(stream);
    const std::vector<uint8_t> frame = yuyvFrame(64, 48, red, blue);

    // The camera fills buffers and the capture thread takes them while the GUI thread adjusts
    // brightness: the stream must stay consistent (ThreadSanitizer watches the rest).
    std::atomic<bool> done{false};
    std::atomic<int> propertyFailures{0};
    std::thread gui([&] {
        int32_t value = 0;
        for (int i = 0; !done.load(); ++i) {
            if (stream->setProperty(CAPPROPID_BRIGHTNESS, i % 64) != CAPRESULT_OK ||
                stream->property(CAPPROPID_BRIGHTNESS, value) != CAPRESULT_OK)
                propertyFailures.fetch_add(1);
        }
    });
    std::vector<uint8_t> rgb(64 * 48 * 3);
    uint32_t captured = 0;
    for (int i = 0; i < 300; ++i) {
        io->deliver(node0, frame);
        if (stream->hasNewFrame() && stream->captureFrame(rgb.data()) == CAPRESULT_OK)
            ++captured;
    }
    done.store(true);
    gui.join();
    QCOMPARE(propertyFailures.load(), 0);
    QCOMPARE(captured, 300u);
    QCOMPARE(stream->frameCount(), captured);
    QCOMPARE(io->queuedCount(node0), io->bufferCount(node0));
}

QTEST_GUILESS_MAIN(TestV4l2Backend)
#include "tst_v4l2backend.moc"
