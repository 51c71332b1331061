// The V4L2 backend against a scripted device: listing, opening, streaming, dropped frames,
// refusals and unplugs, and what the camera above it offers; plus a real node, when there is one.
#include "fakev4l2device.h"
#include "h264encoder.h"
#include "h264passthroughwriter.h"
#include "openpnpcamera.h"
#include "recorder.h"
#include "synthetic/syntheticcontrol.h"
#include "testsupport/ffprobe.h"
#include "testsupport/smalldisk.h"
#include "v4l2/v4l2backend.h"
#include "v4l2/v4l2device.h"
#include "v4l2/v4l2mode.h"
#include "v4l2/v4l2stream.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMetaEnum>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <atomic>
#include <functional>
#include <thread>

extern "C" {
#include <libavformat/avformat.h>
}

using namespace ostrel::capture;
using Fake = FakeV4l2Device;
using Bytes = std::vector<uint8_t>;
using NodeChange = std::function<void(Fake::Node &)>;
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(NodeChange)

namespace {

struct ContextDeleter
{
    void operator()(void *ctx) const { Cap_releaseContext(ctx); }
};
using ContextPtr = std::unique_ptr<void, ContextDeleter>;

const std::string node0 = "/fake/video0";

// The capture library's log, while a test listens (on the test's thread only).
QStringList logLines;
void collectLog(uint32_t, const char *message)
{
    logLines << QString::fromUtf8(message);
}

struct Yuv
{
    uint8_t y, u, v;
};
// BT.601 studio range.
constexpr Yuv red{82, 90, 240};
constexpr Yuv blue{41, 240, 110};

// 64x48, left half one colour, right half the other; likewise jpegFrame.
Bytes yuyvFrame(Yuv left, Yuv right)
{
    Bytes frame;
    for (uint32_t y = 0; y < 48; ++y) {
        for (uint32_t x = 0; x < 64; x += 2) {
            const Yuv c = x < 32 ? left : right;
            frame.insert(frame.end(), {c.y, c.u, c.y, c.v});
        }
    }
    return frame;
}

Bytes jpegFrame(QColor left = Qt::red, QColor right = Qt::blue)
{
    QImage image(64, 48, QImage::Format_RGB888);
    image.fill(right);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 32; ++x)
            image.setPixelColor(x, y, left);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPG", 95))
        return {};
    return Bytes(bytes.begin(), bytes.end());
}

// A file of the tests' real camera data.
QByteArray realData(const char *name)
{
    QFile file(QFINDTESTDATA("data/" + QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// True when the pixel of a 64-pixel-wide RGB24 frame is within 40 of expected in each channel.
bool near(const Bytes &rgb, uint32_t x, uint32_t y, QColor expected)
{
    const size_t at = (size_t(y) * 64 + x) * 3;
    return std::abs(rgb[at] - expected.red()) <= 40 &&
           std::abs(rgb[at + 1] - expected.green()) <= 40 &&
           std::abs(rgb[at + 2] - expected.blue()) <= 40;
}

// A directory whose video0 is the node, made the backend's default source, with the synthetic
// cameras given; both back to their defaults when it goes.
struct DefaultSource
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("video0").toStdString();
    DefaultSource(const std::shared_ptr<Fake> &io, const Fake::Node &node,
                  const std::vector<ostrel::synthetic::DeviceSpec> &synthetic = {})
    {
        [[maybe_unused]] const bool made = QFile(dir.filePath("video0")).open(QIODevice::WriteOnly);
        io->addNode(path, node);
        V4l2Backend::setDefaultSource(io, dir.path().toStdString());
        ostrel::synthetic::setDevices(synthetic);
    }
    ~DefaultSource()
    {
        V4l2Backend::resetDefaultSource();
        ostrel::synthetic::resetDevices();
    }
};

// 64x48 H.264 as a camera sends it (parameter sets before each keyframe, one every 10 frames)
// of a test card: red and blue halves, a white bar that moves down a row a frame.
std::vector<H264Encoder::Packet> cameraH264(int frames)
{
    std::vector<H264Encoder::Packet> packets;
    H264Encoder encoder;
    QString error = encoder.open({QSize(64, 48), {30, 1}, 10, false});
    for (int n = 0; n < frames && error.isEmpty(); ++n) {
        QImage card(64, 48, QImage::Format_RGB888);
        card.fill(Qt::red);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                if (x >= 32 || (y >= n && y < n + 4))
                    card.setPixelColor(x, y, y >= n && y < n + 4 ? Qt::white : Qt::blue);
        error = encoder.encode(H264Encoder::yuv420FromImage(card, &error), n, &packets);
    }
    if (error.isEmpty())
        error = encoder.flush(&packets);
    return error.isEmpty() ? packets : std::vector<H264Encoder::Packet>{};
}

// What a writer reported, heard on the test's thread once the events are handled (a spy would
// hear it on the writer's).
struct WriterReports : QObject
{
    int finished = 0;
    QStringList errors;
    explicit WriterReports(H264PassThroughWriter &writer)
    {
        connect(&writer, &H264PassThroughWriter::writingFinished, this, [this] { ++finished; });
        connect(&writer, &H264PassThroughWriter::errorOccurred, this,
                [this](const QString &error) { errors << error; });
    }
};

RecordingOptions passThrough(const QString &path)
{
    RecordingOptions options;
    options.fileName = path;
    options.codec = RecordingOptions::Codec::H264;
    options.frameSize = QSize(64, 48);
    return options;
}

// The NAL units of an access unit, without their start codes or, as a file holds them, their
// four-byte lengths; trailing zeros belong to no unit.
QList<QByteArray> nalUnits(const QByteArray &unit)
{
    QList<QByteArray> units;
    const bool annexB =
        unit.startsWith(QByteArray("\0\0\1", 3)) || unit.startsWith(QByteArray("\0\0\0\1", 4));
    for (qsizetype at = 0; at < unit.size();) {
        qsizetype begin = at + 4, end = 0;
        if (annexB) {
            begin = unit.indexOf(QByteArray("\0\0\1", 3), at) + 3;
            end = unit.indexOf(QByteArray("\0\0\1", 3), begin);
            end = end < 0 ? unit.size() : end;
        } else {
            end = begin + qFromBigEndian<quint32>(unit.constData() + at);
        }
        QByteArray nal = unit.mid(begin, end - begin);
        while (nal.endsWith('\0'))
            nal.chop(1);
        units << nal;
        at = end;
    }
    return units;
}

struct Packet
{
    QByteArray data;
    qint64 ptsUs;
};

// The packets of a movie file as libavformat reads them back, and its duration in µs.
QList<Packet> readPackets(const QString &path, qint64 *durationUs)
{
    AVFormatContext *file = nullptr;
    QList<Packet> packets;
    if (avformat_open_input(&file, path.toUtf8().constData(), nullptr, nullptr) < 0)
        return packets;
    avformat_find_stream_info(file, nullptr);
    *durationUs = file->duration;
    AVPacket *packet = av_packet_alloc();
    while (av_read_frame(file, packet) >= 0) {
        if (packet->stream_index == 0) // the picture's
            packets << Packet{
                QByteArray(reinterpret_cast<const char *>(packet->data), packet->size),
                av_rescale_q(packet->pts, file->streams[0]->time_base, {1, 1000000})};
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&file);
    return packets;
}

} // namespace

class TestV4l2Backend : public QObject
{
    Q_OBJECT

private slots:
    void init() { io = std::make_shared<Fake>(); }
    void cleanup();

    void listsCaptureNodesInNodeOrder();
    void listsConvertibleModesInEnumerationOrder();
    void decodesRealCameraFrames_data();
    void decodesRealCameraFrames();
    void deliversConvertedFrames_data();
    void deliversConvertedFrames();
    void damagedFramesAreDroppedAndStreamGoesOn_data();
    void damagedFramesAreDroppedAndStreamGoesOn();
    void refusedModesFailTheOpen_data();
    void refusedModesFailTheOpen();
    void captureWakesPerFrameCountsThemAndNoticesTheLoss();
    void controlsFollowTheDevice();
    void captureAndPropertiesFromTwoThreadsThenUnplug();
    void changesMadeElsewhereReachTheCamera_data();
    void changesMadeElsewhereReachTheCamera();
    void offersWhatRealCamerasList_data();
    void offersWhatRealCamerasList();
    void h264IsShownAndRecordedAsTheCameraSentIt_data();
    void h264IsShownAndRecordedAsTheCameraSentIt();
    void h264PassThroughFiles_data();
    void h264PassThroughFiles();
    void recorderPassesTheCamerasH264Through();
    void realDevice();

private:
    // The first mode of the pixel format on node0, after the node's script is set up.
    std::unique_ptr<Stream> openStream(uint32_t pixelFormat, const Fake::Node &node = {});

    std::shared_ptr<Fake> io;
};

void TestV4l2Backend::cleanup()
{
    // Whatever a test did, nothing may stay open or mapped once its objects are gone.
    QCOMPARE(io->openCount(), 0);
    QCOMPARE(io->mappingCount(), 0);
}

std::unique_ptr<Stream> TestV4l2Backend::openStream(uint32_t pixelFormat, const Fake::Node &node)
{
    io->addNode(node0, node.formats.empty() ? Fake::uvcCamera() : node);
    const auto device = V4l2Device::probe(io, node0);
    const auto &modes = device ? device->modes() : std::vector<V4l2Mode>{};
    for (size_t i = 0; i < modes.size(); ++i) {
        if (modes[i].pixelFormat == pixelFormat)
            return device->openStream(uint32_t(i));
    }
    return nullptr;
}

// Cam B is known by its link under v4l/by-id, the same in any port. Two cameras of one kind are
// known by their ports as well, so that each keeps its own memory; alone, a camera keeps the id it
// always had.
void TestV4l2Backend::listsCaptureNodesInNodeOrder()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("v4l/by-id") && QDir(dir.path()).mkpath("v4l/by-path"));
    const std::string base = dir.path().toStdString();
    // video1 is a camera's metadata node, video3 an output device, video4 not a V4L2 node at
    // all (opens, but QUERYCAP is refused), video5 exists in the directory but cannot be opened.
    for (const char *name : {"video10", "video2", "video0", "video1", "video3", "video4", "video5",
                             "video6", "video7", "vbi0", "videoX", "video"})
        QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    const auto add = [&](const char *name, const std::string &card, uint32_t caps,
                         const std::string &bus) {
        Fake::Node node = Fake::uvcCamera();
        node.card = card;
        node.deviceCaps = caps | V4L2_CAP_STREAMING;
        node.busInfo = bus;
        if (card.empty())
            node.failingRequests[VIDIOC_QUERYCAP] = -ENOTTY;
        io->addNode(base + name, node);
    };
    add("/video0", "Cam A", V4L2_CAP_VIDEO_CAPTURE, "usb-1");
    add("/video1", "Cam A", V4L2_CAP_META_CAPTURE, "usb-1");
    add("/video2", "Cam B", V4L2_CAP_VIDEO_CAPTURE, "usb-2");
    add("/video3", "Out", V4L2_CAP_VIDEO_OUTPUT, "x");
    add("/video4", "", V4L2_CAP_VIDEO_CAPTURE, "usb-4");
    add("/video6", "Twin Cam", V4L2_CAP_VIDEO_CAPTURE, "usb-6");
    add("/video7", "Twin Cam", V4L2_CAP_VIDEO_CAPTURE, "usb-7");
    add("/video10", "Cam C", V4L2_CAP_VIDEO_CAPTURE, "usb-3");
    for (const auto &[target, link] : {std::pair{"video2", "by-id/usb-Maker_Cam_B_42-video-index0"},
                                       {"video7", "by-id/usb-Twin-video-index0"},
                                       {"video6", "by-path/usb-0:1:1.0-video-index0"},
                                       {"video7", "by-path/usb-0:2:1.0-video-index0"}})
        QVERIFY(QFile::link(QString("../../") + target, dir.filePath(QString("v4l/") + link)));

    const auto listed = [&] {
        std::vector<std::string> result;
        for (const auto &device : V4l2Backend(io, base).enumerateDevices())
            result.push_back(device->name().value_or("?") + " / " + device->uniqueId());
        return result;
    };
    QCOMPARE(listed(), (std::vector<std::string>{
                           "Cam A / Cam A usb-1", "Cam B / usb-Maker_Cam_B_42-video-index0",
                           "Twin Cam / Twin Cam @ usb-0:1:1.0-video-index0",
                           "Twin Cam / usb-Twin-video-index0 @ usb-0:2:1.0-video-index0",
                           "Cam C / Cam C usb-3"}));
    QVERIFY(QFile::remove(dir.filePath("video6")));
    QCOMPARE(listed(), (std::vector<std::string>{
                           "Cam A / Cam A usb-1", "Cam B / usb-Maker_Cam_B_42-video-index0",
                           "Twin Cam / usb-Twin-video-index0", "Cam C / Cam C usb-3"}));
}

void TestV4l2Backend::listsConvertibleModesInEnumerationOrder()
{
    v4l2_frmsizeenum range{};
    range.type = V4L2_FRMSIZE_TYPE_STEPWISE;
    range.stepwise = {320, 1296, 16, 240, 972, 4};
    v4l2_frmivalenum rates{};
    rates.type = V4L2_FRMIVAL_TYPE_CONTINUOUS;
    rates.stepwise = {{1, 30}, {1, 5}, {1, 1}};
    Fake::Node node = Fake::uvcCamera();
    node.driverInterval = {1, 25};
    node.formats = {
        // The same size twice: its modes are offered once.
        {V4L2_PIX_FMT_MJPEG,
         {Fake::discreteSize(1920, 1080), Fake::discreteSize(640, 480),
          Fake::discreteSize(1920, 1080)},
         {Fake::discreteInterval(1, 30), Fake::discreteInterval(333333, 10000000),
          Fake::discreteInterval(2, 15)}},
        // The stream decodes H.264 itself, offered after the rest; nothing here decodes HEVC,
        // which is not offered.
        {V4L2_PIX_FMT_H264, {Fake::discreteSize(1920, 1080)}, {Fake::discreteInterval(1, 30)}},
        {V4L2_PIX_FMT_HEVC, {Fake::discreteSize(1920, 1080)}, {Fake::discreteInterval(1, 30)}},
        // A range (a camera module's binned mode): the common sizes inside it on its 16 x 4 grid
        // and its native size, the common rates from 30 down to 5 frames per second.
        {V4L2_PIX_FMT_YUYV, {range}, {rates}},
        // No rates at all: the driver's current rate, and the open leaves it alone.
        {V4L2_PIX_FMT_GREY, {Fake::discreteSize(640, 480)}, {}},
    };
    io->addNode(node0, node);
    const auto device = V4l2Device::probe(io, node0);
    QVERIFY(device);

    const uint32_t mjpg = V4L2_PIX_FMT_MJPEG, yuyv = V4L2_PIX_FMT_YUYV;
    std::vector<V4l2Mode> expected;
    for (auto [width, height] : {std::pair{1920u, 1080u}, {640u, 480u}}) {
        expected.push_back({mjpg, width, height, 1, 30, 30, 0, 30, 1});
        expected.push_back({mjpg, width, height, 333333, 10000000, 30, 0, 10000000, 333333});
        expected.push_back({mjpg, width, height, 2, 15, 8, 0, 15, 2});
    }
    // 1280x1024 is taller than the range.
    const uint32_t inRange[][2] = {{320, 240},  {352, 288},  {640, 360},  {640, 480}, {800, 600},
                                   {1024, 768}, {1280, 720}, {1280, 960}, {1296, 972}};
    for (auto [width, height] : inRange) {
        for (uint32_t rate : {30u, 25u, 20u, 15u, 10u, 5u})
            expected.push_back({yuyv, width, height, 1, rate, rate, 16, rate, 1});
    }
    expected.push_back({V4L2_PIX_FMT_GREY, 640, 480, 0, 0, 25, 8, 25, 1});
    expected.push_back({V4L2_PIX_FMT_H264, 1920, 1080, 1, 30, 30, 0, 30, 1});
    QVERIFY(device->modes() == expected);

    // The rate-less mode opens without touching the driver's interval.
    QVERIFY(device->openStream(uint32_t(expected.size() - 2)));
    QCOMPARE(io->observe(node0).interval.denominator, 25u);
}

void TestV4l2Backend::decodesRealCameraFrames_data()
{
    QTest::addColumn<uint32_t>("pixelFormat");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<uint32_t>("warnings"); // of libjpeg-turbo, about a frame it decodes whole
    QTest::newRow("Logitech C270 MJPEG without Huffman tables")
        << uint32_t(V4L2_PIX_FMT_MJPEG) << QSize(160, 120)
        << realData("logitech-c270-160x120-avi1-no-huffman.jpg") << 0u;
    // Firmware that pads a restart interval: "extraneous bytes before marker 0xd1".
    QByteArray padded = realData("webcam-640x480-avi1-no-huffman.jpg");
    padded.insert(padded.indexOf("\xff\xd1"), QByteArray(12, '\x11'));
    QTest::newRow("webcam MJPEG with stray bytes before a restart marker")
        << uint32_t(V4L2_PIX_FMT_MJPEG) << QSize(640, 480) << padded << 1u;
    QTest::newRow("Etron YUYV") << uint32_t(V4L2_PIX_FMT_YUYV) << QSize(320, 240)
                                << realData("etron-usb2-camera-320x240.yuyv") << 0u;
}

// A picture, not a flat fill: the frames show a scene.
void TestV4l2Backend::decodesRealCameraFrames()
{
    QFETCH(uint32_t, pixelFormat);
    QFETCH(QSize, size);
    QFETCH(QByteArray, frame);
    QFETCH(uint32_t, warnings);
    QVERIFY(!frame.isEmpty());
    Fake::Node node;
    node.formats = {{pixelFormat,
                     {Fake::discreteSize(uint32_t(size.width()), uint32_t(size.height()))},
                     {Fake::discreteInterval(1, 30)}}};
    auto stream = openStream(pixelFormat, node);
    QVERIFY(stream);
    QVERIFY(io->deliver(node0, Bytes(frame.begin(), frame.end())));
    Bytes rgb(size_t(size.width() * size.height() * 3));
    QCOMPARE(stream->captureFrame(rgb.data()), CapResult(CAPRESULT_OK));
    const auto [darkest, brightest] = std::minmax_element(rgb.begin(), rgb.end());
    QCOMPARE_GT(*brightest - *darkest, 100);
    QCOMPARE(stream->decodeWarnings(), warnings);
}

void TestV4l2Backend::deliversConvertedFrames_data()
{
    QTest::addColumn<uint32_t>("pixelFormat");
    QTest::addColumn<Bytes>("older");
    QTest::addColumn<Bytes>("frame");
    QTest::addColumn<Bytes>("stale"); // left after the frame by a driver that reports too long
    const uint32_t mjpg = V4L2_PIX_FMT_MJPEG;
    const Bytes older = jpegFrame(Qt::blue, Qt::red);
    QTest::newRow("MJPEG") << mjpg << older << jpegFrame() << Bytes();
    QTest::newRow("MJPEG, stale bytes after its end")
        << mjpg << older << jpegFrame() << Bytes(older.begin() + older.size() / 2, older.end());
    QTest::newRow("YUYV") << uint32_t(V4L2_PIX_FMT_YUYV) << yuyvFrame(blue, red)
                          << yuyvFrame(red, blue) << Bytes();
}

void TestV4l2Backend::deliversConvertedFrames()
{
    QFETCH(uint32_t, pixelFormat);
    QFETCH(Bytes, older);
    QFETCH(Bytes, frame);
    QFETCH(Bytes, stale);
    QVERIFY(!frame.empty() && !older.empty());
    auto stream = openStream(pixelFormat);
    QVERIFY(stream);
    QCOMPARE(io->observe(node0).interval.denominator, 30u);
    QVERIFY(!stream->hasNewFrame());

    // The camera filled three buffers before the caller came back: only the newest counts, and
    // all of them go back to the driver.
    Bytes delivered = frame;
    delivered.insert(delivered.end(), stale.begin(), stale.end());
    QVERIFY(io->deliver(node0, older) && io->deliver(node0, older) &&
            io->deliver(node0, delivered));
    QVERIFY(stream->hasNewFrame());
    // A guard byte past the frame catches a conversion that writes beyond its size.
    Bytes rgb(64 * 48 * 3 + 1, 0xa5);
    QCOMPARE(stream->captureFrame(rgb.data()), CapResult(CAPRESULT_OK));
    QCOMPARE(rgb.back(), uint8_t(0xa5));
    for (uint32_t y : {0u, 24u, 47u})
        QVERIFY(near(rgb, 8, y, Qt::red) && near(rgb, 56, y, Qt::blue));
    // The camera's own bytes of that frame, for recordings that store them untouched.
    Bytes own(frame.size() + 1);
    uint32_t ownBytes = 0;
    const CapResult handed = stream->compressedFrame(own.data(), uint32_t(own.size()), ownBytes);
    const bool jpeg = pixelFormat == V4L2_PIX_FMT_MJPEG;
    QCOMPARE(handed, CapResult(jpeg ? CAPRESULT_OK : CAPRESULT_FORMATNOTSUPPORTED));
    QVERIFY(!jpeg || Bytes(own.begin(), own.begin() + ownBytes) == frame);
    QCOMPARE(stream->frameCount(), 1u);
    QCOMPARE(io->observe(node0).held, 0u);
    QVERIFY(!stream->hasNewFrame());

    // Taken without decoding: the newest frame's own bytes, kept when the buffer was too small.
    QVERIFY(io->deliver(node0, older) && io->deliver(node0, delivered));
    ownBytes = 0;
    QCOMPARE(stream->captureCompressedFrame(nullptr, 0, ownBytes),
             CapResult(jpeg ? CAPRESULT_ERR : CAPRESULT_FORMATNOTSUPPORTED));
    QCOMPARE(stream->hasNewFrame(), !jpeg); // an uncompressed format takes nothing
    if (jpeg) {
        QCOMPARE(ownBytes, uint32_t(frame.size()));
        QCOMPARE(stream->compressedFrame(own.data(), uint32_t(own.size()), ownBytes),
                 CapResult(CAPRESULT_OK));
        QVERIFY(Bytes(own.begin(), own.begin() + ownBytes) == frame);
        QCOMPARE(stream->frameCount(), 2u);
        QCOMPARE(io->observe(node0).held, 0u);
    }
}

void TestV4l2Backend::damagedFramesAreDroppedAndStreamGoesOn_data()
{
    QTest::addColumn<uint32_t>("pixelFormat");
    QTest::addColumn<Bytes>("frame");
    QTest::addColumn<uint32_t>("flags");
    QTest::addColumn<int>("bytesused");  // -1 = the frame's length
    QTest::addColumn<QString>("reason"); // what the log gives as the cause; empty: not judged
    // Refused also when taken without decoding; the decode for the display catches the rest.
    QTest::addColumn<bool>("refusedUndecoded");

    const Bytes jpeg = jpegFrame(), yuyv = yuyvFrame(red, blue);
    const uint32_t mjpg = V4L2_PIX_FMT_MJPEG, yuyvFormat = V4L2_PIX_FMT_YUYV;
    const QString incomplete = "incomplete frame";
    // Noise between intact start and end markers: only the decoder can tell.
    Bytes noise{0xff, 0xd8};
    for (int i = 0; i < 600; ++i)
        noise.push_back(uint8_t((i * 131) ^ 0x5a));
    noise.insert(noise.end(), {0xff, 0xd9});
    QTest::newRow("MJPEG noise") << mjpg << noise << 0u << -1 << QString() << false;
    // The decoder refuses a picture cut short too, but the log tells lost packets apart.
    QTest::newRow("MJPEG cut short") << mjpg << Bytes(jpeg.begin(), jpeg.begin() + jpeg.size() / 2)
                                     << 0u << -1 << incomplete << true;
    QTest::newRow("MJPEG without its end marker")
        << mjpg << Bytes(jpeg.begin(), jpeg.end() - 2) << 0u << -1 << incomplete << true;
    QTest::newRow("MJPEG flagged by driver")
        << mjpg << jpeg << uint32_t(V4L2_BUF_FLAG_ERROR) << -1 << QString() << true;
    QTest::newRow("YUYV short") << yuyvFormat << Bytes(yuyv.begin(), yuyv.begin() + 100) << 0u << -1
                                << incomplete << false;
    QTest::newRow("YUYV longer than buffer")
        << yuyvFormat << yuyv << 0u << (1 << 30) << QString() << false;
}

void TestV4l2Backend::damagedFramesAreDroppedAndStreamGoesOn()
{
    QFETCH(uint32_t, pixelFormat);
    QFETCH(Bytes, frame);
    QFETCH(uint32_t, flags);
    QFETCH(int, bytesused);
    QFETCH(QString, reason);
    QFETCH(bool, refusedUndecoded);
    auto stream = openStream(pixelFormat);
    QVERIFY(stream);
    const auto deliverDamaged = [&] {
        return io->deliver(node0, frame, flags,
                           bytesused < 0 ? std::nullopt : std::optional<uint32_t>(bytesused));
    };

    if (refusedUndecoded) {
        QVERIFY(deliverDamaged());
        Bytes jpeg(1 << 16);
        uint32_t bytes = 0;
        QVERIFY(stream->captureCompressedFrame(jpeg.data(), uint32_t(jpeg.size()), bytes) !=
                CAPRESULT_OK);
        QCOMPARE(io->observe(node0).held, 0u);
    }
    Bytes rgb(64 * 48 * 3);
    QVERIFY(deliverDamaged());
    logLines.clear();
    Cap_installCustomLogFunction(collectLog);
    const CapResult result = stream->captureFrame(rgb.data());
    Cap_installCustomLogFunction(nullptr);
    QVERIFY(result != CAPRESULT_OK);
    QVERIFY2(logLines.join('\n').contains(reason), qPrintable(logLines.join('\n')));
    QCOMPARE(io->observe(node0).held, 0u);
    QCOMPARE(stream->frameCount(), 0u);

    QVERIFY(
        io->deliver(node0, pixelFormat == V4L2_PIX_FMT_MJPEG ? jpegFrame() : yuyvFrame(red, blue)));
    QCOMPARE(stream->captureFrame(rgb.data()), CapResult(CAPRESULT_OK));
    QVERIFY(near(rgb, 8, 8, Qt::red));
}

void TestV4l2Backend::refusedModesFailTheOpen_data()
{
    QTest::addColumn<NodeChange>("change");
    QTest::addColumn<uint32_t>("error"); // CAPERROR_NONE: opens
    const auto row = [](const char *name, uint32_t error, NodeChange change) {
        QTest::newRow(name) << change << error;
    };
    row("accepted as asked", CAPERROR_NONE, [](Fake::Node &) {});
    row("interval adjusted to 1/15", CAPERROR_OTHER, [](Fake::Node &n) {
        n.grantedInterval = v4l2_fract{1, 15};
    });
    row("interval refused", CAPERROR_OTHER,
        [](Fake::Node &n) { n.failingRequests[VIDIOC_S_PARM] = -EINVAL; });
    row("pixel format adjusted", CAPERROR_OTHER,
        [](Fake::Node &n) { n.grantedPixelFormat = V4L2_PIX_FMT_YUYV; });
    // Buffers the driver cannot give are memory the mode needs.
    row("only one buffer", CAPERROR_TOOLARGE, [](Fake::Node &n) { n.grantedBuffers = 1; });
    row("buffers cannot be mapped", CAPERROR_TOOLARGE, [](Fake::Node &n) { n.mmapFails = true; });
    row("size too large for a 32-bit buffer", CAPERROR_TOOLARGE,
        [](Fake::Node &n) { n.formats[0].sizes = {Fake::discreteSize(40000, 40000)}; });
    row("another program streams", CAPERROR_BUSY,
        [](Fake::Node &n) { n.failingRequests[VIDIOC_S_FMT] = -EBUSY; });
    row("no USB bandwidth", CAPERROR_TOOLARGE,
        [](Fake::Node &n) { n.failingRequests[VIDIOC_STREAMON] = -ENOSPC; });
    row("unplugged meanwhile", CAPERROR_GONE,
        [](Fake::Node &n) { n.failingRequests[VIDIOC_S_FMT] = -ENODEV; });
    // UVC drivers answer in 100 ns units.
    row("interval 333333/10000000 is 1/30", CAPERROR_NONE, [](Fake::Node &n) {
        n.grantedInterval = v4l2_fract{333333, 10000000};
    });
}

void TestV4l2Backend::refusedModesFailTheOpen()
{
    QFETCH(NodeChange, change);
    QFETCH(uint32_t, error);
    Fake::Node node = Fake::uvcCamera();
    change(node);
    io->addNode(node0, node);
    const auto device = V4l2Device::probe(io, node0);
    QVERIFY(device);
    QCOMPARE(bool(device->openStream(0)), error == CAPERROR_NONE);
    QCOMPARE(device->openError(), error);
    QCOMPARE(io->openCount(), 0);
}

// A 2 fps camera under the camera object: the capture thread sleeps until each frame comes (one
// poll per frame, none while none comes), takes the rate from the camera's timestamps, counts what
// the camera lost and what came damaged, and reports the unplug itself, once.
void TestV4l2Backend::captureWakesPerFrameCountsThemAndNoticesTheLoss()
{
    Fake::Node node = Fake::uvcCamera();
    node.formats = {
        {V4L2_PIX_FMT_MJPEG, {Fake::discreteSize(64, 48)}, {Fake::discreteInterval(1, 2)}}};
    const DefaultSource source(io, node);
    const std::string &path = source.path;
    {
        OpenPNPCamera camera;
        std::atomic<double> rate{-1.0};
        camera.setFpsCallback([&rate](double fps) { rate = fps; });
        QCOMPARE(camera.availableCameras().size(), 1);
        QVERIFY(camera.openCamera(0) && camera.startCapture());
        camera.findChild<QTimer *>()->stop(); // the connection watch stays out of it
        QSignalSpy losses(&camera, &CameraBase::cameraDisconnected);
        const Bytes good = jpegFrame(), cut(good.begin(), good.begin() + good.size() / 2);
        const int pollsBefore = io->pollCount();
        // Numbered 0, 1, 2, then 5 (two lost), 6 (flagged), 7 (cut short), 8.
        const std::tuple<Bytes, uint32_t, uint32_t> frames[] = {
            {good, 0, 0}, {good, 0, 0}, {good, 0, 0}, {good, 2, 0}, {good, 0, V4L2_BUF_FLAG_ERROR},
            {cut, 0, 0},  {good, 0, 0}};
        for (size_t i = 0; i < std::size(frames); ++i) {
            const auto &[bytes, skipped, flags] = frames[i];
            io->skipFrames(path, skipped);
            QVERIFY(io->deliver(path, bytes, flags));
            QTRY_COMPARE(io->observe(path).held, 0u);
            if (i == 2) // 1 s of the camera's time, 2 intervals: however fast they came
                QTRY_COMPARE(rate.load(), 2.0);
        }
        QTRY_COMPARE(camera.frameCounts().taken, 5u);
        QTRY_COMPARE(io->frameWaits(), 1); // back asleep, waiting for the next frame
        const int polls = io->pollCount() - pollsBefore;
        QCOMPARE_LE(polls, int(std::size(frames)) + 1);
        QTest::qWait(100);
        QCOMPARE(io->pollCount() - pollsBefore, polls);
        const CameraBase::FrameCounts counts = camera.frameCounts();
        QCOMPARE(counts.produced, 9u);
        QCOMPARE(counts.lostAtCamera, 3u);
        QCOMPARE(counts.damaged, 1u);
        QTRY_COMPARE(camera.frameCounts().decoded + camera.frameCounts().displaySkipped, 5u);

        io->unplug(path);
        QTRY_COMPARE(losses.count(), 1);
        QVERIFY(!camera.isCapturing());
        QCOMPARE(camera.lastFailure(), CameraBase::Failure::Unplugged);
        camera.checkCameraConnection();
        QCoreApplication::processEvents();
        QCOMPARE(losses.count(), 1);
    }
}

// Values reach the value control (a relative exposure control where there is no absolute one);
// a value out of range is refused. Exposure's automatic mode is a menu; this camera offers
// aperture priority, not full auto.
void TestV4l2Backend::controlsFollowTheDevice()
{
    Fake::Node node = Fake::uvcCamera();
    node.controls.erase(V4L2_CID_EXPOSURE_ABSOLUTE);
    node.controls[V4L2_CID_EXPOSURE] =
        Fake::control(V4L2_CID_EXPOSURE, V4L2_CTRL_TYPE_INTEGER, 0, 255, 16);
    node.controls[V4L2_CID_SHARPNESS] =
        Fake::control(V4L2_CID_SHARPNESS, V4L2_CTRL_TYPE_INTEGER, 0, 7, 3);
    node.controls[V4L2_CID_SHARPNESS].query.flags = V4L2_CTRL_FLAG_DISABLED;
    auto stream = openStream(V4L2_PIX_FMT_YUYV, node);
    QVERIFY(stream);
    const auto control = [&](uint32_t id) {
        return io->observe(node0).controls.at(id);
    };
    int32_t value = 0;
    QCOMPARE(stream->setProperty(CAPPROPID_EXPOSURE, 254), CapResult(CAPRESULT_OK));
    QCOMPARE(control(V4L2_CID_EXPOSURE), 254);
    QCOMPARE(stream->property(CAPPROPID_EXPOSURE, value), CapResult(CAPRESULT_OK));
    QCOMPARE(value, 254);
    QVERIFY(stream->setProperty(CAPPROPID_EXPOSURE, 256) != CAPRESULT_OK);

    bool automatic = false;
    QCOMPARE(stream->autoProperty(CAPPROPID_EXPOSURE, automatic), CapResult(CAPRESULT_OK));
    QVERIFY(automatic);
    QCOMPARE(stream->setAutoProperty(CAPPROPID_EXPOSURE, false), CapResult(CAPRESULT_OK));
    QCOMPARE(control(V4L2_CID_EXPOSURE_AUTO), int(V4L2_EXPOSURE_MANUAL));
    QCOMPARE(stream->setAutoProperty(CAPPROPID_EXPOSURE, true), CapResult(CAPRESULT_OK));
    QCOMPARE(control(V4L2_CID_EXPOSURE_AUTO), int(V4L2_EXPOSURE_APERTURE_PRIORITY));
    QCOMPARE(stream->setAutoProperty(CAPPROPID_WHITEBALANCE, false), CapResult(CAPRESULT_OK));
    QCOMPARE(control(V4L2_CID_AUTO_WHITE_BALANCE), 0);

    // Missing, disabled and unknown properties.
    int32_t min = 0, max = 0, def = 0;
    const CapResult unsupported = CAPRESULT_PROPERTYNOTSUPPORTED;
    QCOMPARE(stream->setAutoProperty(CAPPROPID_BRIGHTNESS, false), unsupported);
    QCOMPARE(stream->propertyLimits(CAPPROPID_ZOOM, min, max, def), unsupported);
    QCOMPARE(stream->propertyLimits(CAPPROPID_SHARPNESS, min, max, def), unsupported);
    QCOMPARE(stream->setAutoProperty(CAPPROPID_FOCUS, true), unsupported);
    QVERIFY(stream->propertyLimits(1000u, min, max, def) != CAPRESULT_OK);
}

// The camera fills buffers and the capture thread takes them while the GUI thread adjusts
// brightness: the stream must stay consistent (ThreadSanitizer watches the rest). Gone then,
// every call fails and the frame count stays.
void TestV4l2Backend::captureAndPropertiesFromTwoThreadsThenUnplug()
{
    auto stream = openStream(V4L2_PIX_FMT_YUYV);
    QVERIFY(stream);
    const Bytes frame = yuyvFrame(red, blue);
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
    Bytes rgb(64 * 48 * 3);
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
    QCOMPARE(io->observe(node0).held, 0u);

    int32_t min = 0, max = 0, def = 0;
    QCOMPARE(stream->propertyLimits(CAPPROPID_BRIGHTNESS, min, max, def), CapResult(CAPRESULT_OK));
    io->unplug(node0);
    QVERIFY(!stream->hasNewFrame());
    QVERIFY(stream->captureFrame(rgb.data()) != CAPRESULT_OK);
    QVERIFY(stream->propertyLimits(CAPPROPID_BRIGHTNESS, min, max, def) != CAPRESULT_OK);
    QVERIFY(stream->setProperty(CAPPROPID_BRIGHTNESS, 1) != CAPRESULT_OK);
    QCOMPARE(stream->frameCount(), captured);
}

void TestV4l2Backend::changesMadeElsewhereReachTheCamera_data()
{
    QTest::addColumn<uint32_t>("control");
    QTest::addColumn<int>("value");
    QTest::addColumn<CameraBase::Property>("property");
    QTest::addColumn<int>("reported");
    QTest::addColumn<bool>("automatic");
    using P = CameraBase::Property;
    QTest::newRow("value") << uint32_t(V4L2_CID_BRIGHTNESS) << 10 << P::Brightness << 10 << false;
    QTest::newRow("automatic mode on")
        << uint32_t(V4L2_CID_EXPOSURE_AUTO) << int(V4L2_EXPOSURE_APERTURE_PRIORITY) << P::Exposure
        << 300 << true;
    QTest::newRow("value under automatic control")
        << uint32_t(V4L2_CID_WHITE_BALANCE_TEMPERATURE) << 5000 << P::WhiteBalance << 5000 << true;
}

// Another program changes a control: the camera hears of it on the GUI thread, with the
// property's automatic mode. The camera's own write of a value under automatic control switches
// the automatic mode off before it sets the value. V4L2 cameras are listed before synthetic ones.
void TestV4l2Backend::changesMadeElsewhereReachTheCamera()
{
    QFETCH(uint32_t, control);
    QFETCH(int, value);
    QFETCH(CameraBase::Property, property);
    QFETCH(int, reported);
    QFETCH(bool, automatic);
    const DefaultSource source(
        io, Fake::uvcCamera(),
        {{"Synthetic A", {{64, 48, 30, ostrel::synthetic::fourcc("YUYV")}}}});
    const std::string &path = source.path;
    {
        OpenPNPCamera camera;
        QCOMPARE(camera.availableCameras(), (QStringList{"Fake UVC Camera", "Synthetic A"}));
        QVERIFY(camera.openCamera(0) && camera.startCapture());
        QVERIFY(camera.setPropertyValue(CameraBase::Property::Exposure, 300));
        QCOMPARE(io->observe(path).controlWrites,
                 (std::vector<std::pair<uint32_t, int32_t>>{
                     {V4L2_CID_EXPOSURE_AUTO, V4L2_EXPOSURE_MANUAL},
                     {V4L2_CID_EXPOSURE_ABSOLUTE, 300}}));

        QSignalSpy changes(&camera, &CameraBase::propertyChanged);
        io->changeControl(path, control, value);
        QTRY_COMPARE(changes.size(), 1);
        QCOMPARE(changes[0][0].value<CameraBase::Property>(), property);
        QCOMPARE(changes[0][1].toInt(), reported);
        QCOMPARE(changes[0][2].toBool(), automatic);
    }
}

// The modes (how many, the first and the last) and controls the camera above the backend offers
// for real cameras' listings.
void TestV4l2Backend::offersWhatRealCamerasList_data()
{
    QTest::addColumn<QString>("formats");
    QTest::addColumn<QString>("controls");
    QTest::addColumn<QStringList>("modes");
    QTest::addColumn<QString>("properties");
    QTest::newRow("no-name webcam, laptop camera")
        << "no-name-webcam-b.txt"
        << "laptop-integrated-camera.txt"
        << QStringList{"9", "1920x1080 @ 30.0 fps (MJPG)", "640x480 @ 30.0 fps (YUYV)"}
        << "Exposure 2..1250 (156) auto, WhiteBalance 2800..6500 (4600) auto, Brightness 0..255 "
           "(128), Contrast 0..100 (32), Saturation 0..100 (64), Gamma 90..150 (120), Hue "
           "-180..180 (0), Sharpness 0..7 (3), BacklightCompensation 0..2 (1), "
           "PowerLineFrequency 0..2 (1)";
    QTest::newRow("FHD camera with its own H.264 (and HEVC, not offered)")
        << "fhd-camera-mjpg-yuyv-h264-hevc.txt"
        << "logitech-c920-controls.txt"
        << QStringList{"10", "1920x1080 @ 30.0 fps (MJPG)", "640x360 @ 30.0 fps (H264)"}
        << "Exposure 3..2047 (250) auto, Focus 0..250 (0) auto, Zoom 100..500 (100), WhiteBalance "
           "2000..6500 (4000) auto, Gain 0..255 (0), Brightness 0..255 (128), Contrast 0..255 "
           "(128), Saturation 0..255 (128), Sharpness 0..255 (128), BacklightCompensation 0..1 "
           "(0), PowerLineFrequency 0..2 (2)";
    QTest::newRow("Etron, Logitech C920")
        << "etron-usb2-camera.txt"
        << "logitech-c920-controls.txt"
        << QStringList{"5", "640x480 @ 30.0 fps (YUYV)", "160x120 @ 30.0 fps (YUYV)"}
        << "Exposure 3..2047 (250) auto, Focus 0..250 (0) auto, Zoom 100..500 (100), WhiteBalance "
           "2000..6500 (4000) auto, Gain 0..255 (0), Brightness 0..255 (128), Contrast 0..255 "
           "(128), Saturation 0..255 (128), Sharpness 0..255 (128), BacklightCompensation 0..1 "
           "(0), PowerLineFrequency 0..2 (2)";
}

void TestV4l2Backend::offersWhatRealCamerasList()
{
    QFETCH(QString, formats);
    QFETCH(QString, controls);
    QFETCH(QStringList, modes);
    QFETCH(QString, properties);
    const DefaultSource source(io, Fake::fromListing(realData(qPrintable(formats)).toStdString(),
                                                     realData(qPrintable(controls)).toStdString()));
    QStringList offered, offeredModes;
    {
        OpenPNPCamera camera;
        QCOMPARE(camera.availableCameras().size(), 1);
        QVERIFY(camera.openCamera(0) && camera.startCapture());
        for (const CameraBase::CameraFormat &format : camera.supportedFormats())
            offeredModes << format.description;
        for (const CameraBase::PropertyRange &p : camera.properties())
            offered << QString::asprintf(
                "%s %d..%d (%d)%s",
                QMetaEnum::fromType<CameraBase::Property>().valueToKey(int(p.property)), p.min,
                p.max, p.def, p.hasAuto ? " auto" : "");
    }
    QCOMPARE((QStringList{QString::number(offeredModes.size()), offeredModes.value(0),
                          offeredModes.value(offeredModes.size() - 1)}),
             modes);
    QCOMPARE(offered.join(", "), properties);
}

void TestV4l2Backend::h264IsShownAndRecordedAsTheCameraSentIt_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("flagged"); // frame 13 is marked by the driver, or lacks its start
    QTest::newRow("Matroska, frame marked as broken") << "mkv" << true;
    QTest::newRow("MP4, frame without its start code") << "mp4" << false;
}

// A camera's own H.264, made here by our encoder as a camera sends it (parameter sets before each
// keyframe, one every 10 frames, no keyframe flag from the driver): every frame reaches the tap
// in order, the view shows the picture, and the file holds the camera's bytes at the camera's
// times. Frame 13, which the driver marks as broken, costs frames 14 to 19, not the file.
void TestV4l2Backend::h264IsShownAndRecordedAsTheCameraSentIt()
{
    QFETCH(QString, suffix);
    QFETCH(bool, flagged);
    const QSize size(64, 48);
    const std::vector<H264Encoder::Packet> packets = cameraH264(30);
    QCOMPARE(packets.size(), size_t(30));

    Fake::Node node = Fake::uvcCamera();
    node.formats = {
        {V4L2_PIX_FMT_H264, {Fake::discreteSize(64, 48)}, {Fake::discreteInterval(1, 30)}}};
    const DefaultSource source(io, node);
    const QTemporaryDir dir;
    const QString path = dir.filePath("camera." + suffix);
    H264PassThroughWriter writer;
    const WriterReports reports(writer);
    QVERIFY(writer.startWriting(passThrough(path)));
    writer.start();
    std::mutex mutex; // guards shown and taken
    QImage shown;
    QList<CameraBase::CompressedFrame> taken;
    {
        OpenPNPCamera camera;
        QCOMPARE(camera.availableCameras().size(), 1);
        QVERIFY(camera.openCamera(0));
        QCOMPARE(camera.supportedFormats().value(0).description, "64x48 @ 30.0 fps (H264)");
        camera.setViewFrameCallback([&](const QImage &frame) {
            std::lock_guard lock(mutex);
            shown = frame;
        });
        camera.setCompressedTap([&](const CameraBase::CompressedFrame &frame) {
            writer.addFrame(frame);
            std::lock_guard lock(mutex);
            taken << frame;
        });
        QVERIFY(camera.startCapture() && camera.deliversH264());
        io->skipFrames(source.path, 100); // the camera's clock did not start with the recording
        // Frames 0 to 12 come faster than they are taken; from then on each one is shown
        // before the next comes, but frames 14 to 19 are not even decoded: they cannot be
        // shown whole.
        quint64 decodedBefore = 0;
        for (int n = 0; n < 30; ++n) {
            const QByteArray unit = packets[size_t(n)].data.mid(n == 13 && !flagged ? 4 : 0);
            const auto deliver = [&] { // into the next buffer the capture gives back
                return io->deliver(source.path, Bytes(unit.begin(), unit.end()),
                                   n == 13 && flagged ? V4L2_BUF_FLAG_ERROR : 0);
            };
            for (int tries = 0; tries < 500 && !deliver(); ++tries)
                QTest::qWait(10);
            const auto done = [&] {
                const CameraBase::FrameCounts c = camera.frameCounts();
                return c.decoded + c.displaySkipped + c.damaged;
            };
            if (n >= 12 && n != 13) // a frame refused counts once the next one is taken
                QTRY_COMPARE(done(), quint64(n + 1 - (n >= 13 && flagged ? 1 : 0)));
            if (n == 12)
                decodedBefore = camera.frameCounts().decoded;
        }
        QCOMPARE(camera.frameCounts().decoded - decodedBefore, 10u);
        QCOMPARE(camera.frameCounts().damaged, flagged ? 0u : 1u);
        QCOMPARE(camera.frameCounts().lostAtCamera, flagged ? 1u : 0u);
        // The test card of the last frames: the bar has reached rows 30 and 31.
        const auto showsLastCard = [&] {
            std::lock_guard lock(mutex);
            const auto is = [&](int x, int y, QColor c) {
                const QRgb p = shown.pixel(x, y);
                return std::abs(qRed(p) - c.red()) + std::abs(qGreen(p) - c.green()) +
                           std::abs(qBlue(p) - c.blue()) <
                       90;
            };
            return !shown.isNull() && is(5, 5, Qt::red) && is(40, 5, Qt::blue) &&
                   is(5, 31, Qt::white) && is(40, 30, Qt::white) && is(5, 20, Qt::red);
        };
        QTRY_VERIFY(showsLastCard());
    }
    writer.requestStop();
    QVERIFY(writer.wait(10000));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(reports.finished, 1);
    QCOMPARE(reports.errors, QStringList());

    QList<int> sequences, keyframes;
    for (const CameraBase::CompressedFrame &frame : taken) {
        sequences << int(frame.sequence);
        if (frame.keyframe)
            keyframes << int(frame.sequence);
    }
    QList<int> expected;
    for (int n = 0; n < 30; ++n)
        if (n != 13)
            expected << 100 + n;
    QCOMPARE(sequences, expected);
    QCOMPARE(keyframes, (QList<int>{100, 110, 120}));

    qint64 durationUs = 0;
    const QList<Packet> written = readPackets(path, &durationUs);
    QCOMPARE(written.size(), 23);
    for (int i = 0; i < written.size(); ++i) {
        const CameraBase::CompressedFrame &frame = taken[i < 13 ? i : i + 6];
        QCOMPARE(nalUnits(written[i].data), nalUnits(frame.data));
        QVERIFY(std::abs(written[i].ptsUs - (frame.timestampUs - taken[0].timestampUs)) <= 1000);
    }
    QVERIFY2(std::abs(durationUs - 1000000) <= 20000, qPrintable(QString::number(durationUs)));
    const WriterStatistics statistics = writer.statistics();
    QCOMPARE(statistics.framesReceived, 29);
    QCOMPARE(statistics.framesWritten, 23);
    QCOMPARE(statistics.framesSkipped, 6);
    if (ffprobeAvailable()) {
        const ProbeResult probe = probeVideo(path);
        QVERIFY2(probe.allDecodable, qPrintable(probe.error));
        QCOMPARE(probe.frames, 23);
    }
}

void TestV4l2Backend::h264PassThroughFiles_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("frames");
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QList<int>>("packets"); // in each file
    QTest::newRow("the file cannot be made")
        << "folder" << 90 << "Failed to open video writer for" << QList<int>{};
    QTest::newRow("no keyframe comes")
        << "keyframe" << 90 << "No keyframe came from the camera" << QList<int>{};
    // 30 s of these frames take about 110 KB.
    QTest::newRow("the disk fills up")
        << "disk" << 900 << "Error writing frame: No space left on device" << QList<int>{};
    QTest::newRow("segments of a second") << "segments" << 90 << "" << QList<int>{30, 30, 30};
    QTest::newRow("a second paused") << "pause" << 90 << "" << QList<int>{60};
    QTest::newRow("a size limit") << "size" << 900 << "" << QList<int>{};
    QTest::newRow("a free-space floor") << "floor" << 900 << "" << QList<int>{};
}

// A camera's own H.264 into files: one after the other at keyframes, the paused time left out, or
// ended by a limit; what cannot be recorded ends with the cause, never as a success. Every frame
// given is written or counted as lost.
void TestV4l2Backend::h264PassThroughFiles()
{
    QFETCH(QString, mode);
    QFETCH(int, frames);
    QFETCH(QString, cause);
    QFETCH(QList<int>, packets);
    SmallDisk disk(64 * 1024);
    const bool small = mode == "disk" || mode == "floor";
    if (small && !disk.isMounted())
        QSKIP("cannot mount a small tmpfs (not root?)");
    const QTemporaryDir dir;
    RecordingOptions options = passThrough(small              ? disk.filePath("a.mkv")
                                           : mode == "folder" ? dir.filePath("missing/a.mkv")
                                                              : dir.filePath("a.mkv"));
    options.segmentSeconds = mode == "segments" ? 1 : 0;
    options.maxBytes = mode == "size" ? 20000 : 0;
    options.minFreeBytes = mode == "floor" ? 32 * 1024 : 0;
    const std::vector<H264Encoder::Packet> units = cameraH264(30);
    QCOMPARE(units.size(), size_t(30));
    H264PassThroughWriter writer;
    const WriterReports reports(writer);
    QVERIFY(writer.startWriting(options));
    writer.start();
    for (int n = 0; n < frames; ++n) {
        const H264Encoder::Packet &unit = units[size_t(n % 30)];
        writer.setPaused(mode == "pause" && n >= 30 && n < 60);
        if (mode != "keyframe" || !unit.keyframe)
            writer.addFrame({unit.data, n * 33333LL, quint32(n), unit.keyframe});
    }
    writer.requestStop();
    QVERIFY(writer.wait(60000));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(reports.errors.size(), cause.isEmpty() ? 0 : 1);
    if (!cause.isEmpty())
        QVERIFY2(reports.errors[0].startsWith(cause), qPrintable(reports.errors[0]));
    QCOMPARE(reports.finished, mode == "folder" || mode == "keyframe" ? 0 : 1);
    const WriterStatistics statistics = writer.statistics();
    QCOMPARE(statistics.framesReceived, statistics.framesRecorded + statistics.framesLost);
    QCOMPARE(statistics.endedAtLimit, mode == "size"    ? RecordingLimit::Size
                                      : mode == "floor" ? RecordingLimit::FreeSpace
                                                        : RecordingLimit::None);
    // Ended at the limit, give or take the second of frames a Matroska cluster holds back.
    if (mode == "size")
        QVERIFY(QFileInfo(options.fileName).size() >= 20000 &&
                QFileInfo(options.fileName).size() < 25000);
    // The files hold the frames given, in order, none twice, each file from its own start.
    int n = 0;
    for (int file = 0; file < packets.size(); ++file) {
        qint64 durationUs = 0;
        const QList<Packet> written = readPackets(options.segmentFileName(file + 1), &durationUs);
        QCOMPARE(written.size(), packets[file]);
        QVERIFY2(std::abs(durationUs - packets[file] * 33333) <= 20000,
                 qPrintable(QString::number(durationUs)));
        for (const Packet &packet : written) {
            n += mode == "pause" && n == 30 ? 30 : 0;
            QCOMPARE(nalUnits(packet.data), nalUnits(units[size_t(n++ % 30)].data));
        }
    }
    QCOMPARE(QFileInfo::exists(options.fileName),
             mode != "folder" && mode != "keyframe" && mode != "segments");
}

// The first mode of the first real node, when this machine has one, gives a good frame within
// five seconds: cameras often send a few damaged frames while they settle.
void TestV4l2Backend::realDevice()
{
    if (V4l2Backend().enumerateDevices().empty())
        QSKIP("no V4L2 capture device on this machine");
    ContextPtr context(Cap_createContext());
    CapFormatInfo info{};
    QCOMPARE(Cap_getFormatInfo(context.get(), 0, 0, &info), CapResult(CAPRESULT_OK));
    const CapStream stream = Cap_openStream(context.get(), 0, 0);
    QVERIFY2(stream >= 0, "the first mode of the first device does not open (busy?)");
    std::vector<uint8_t> rgb(size_t(info.width) * info.height * 3);
    QTRY_VERIFY_WITH_TIMEOUT(
        Cap_captureFrame(context.get(), stream, rgb.data(), uint32_t(rgb.size())) == CAPRESULT_OK,
        5000);
    QCOMPARE(Cap_closeStream(context.get(), stream), CapResult(CAPRESULT_OK));
}

// The session's recorder gives an H.264 file the camera's own frames when nothing turns the
// picture: the file begins at the first keyframe after the start and holds every frame since.
// Sound given to the recorder goes with it, on the camera's clock (here the fake's, which counts
// frame periods from 0): a click taken with frame 20 plays when frame 20 shows.
void TestV4l2Backend::recorderPassesTheCamerasH264Through()
{
    const std::vector<H264Encoder::Packet> packets = cameraH264(30);
    Fake::Node node = Fake::uvcCamera();
    node.formats = {
        {V4L2_PIX_FMT_H264, {Fake::discreteSize(64, 48)}, {Fake::discreteInterval(1, 30)}}};
    const DefaultSource source(io, node);
    const QTemporaryDir dir;
    const QString path = dir.filePath("recorded.mkv");
    OpenPNPCamera camera;
    camera.availableCameras();
    QVERIFY(camera.openCamera(0) && camera.startCapture());
    const auto deliver = [&](int n) {
        const QByteArray &unit = packets[size_t(n)].data;
        for (int tries = 0; tries < 500; ++tries) {
            if (io->deliver(source.path, Bytes(unit.begin(), unit.end()), 0))
                return true;
            QTest::qWait(10);
        }
        return false;
    };
    for (int n = 0; n < 5; ++n)
        QVERIFY(deliver(n));
    QTRY_VERIFY(!camera.latestFrame().isNull());
    Recorder recorder;
    RecordingOptions options;
    options.codec = RecordingOptions::Codec::H264;
    options.audio = {48000, 2};
    QVERIFY(recorder.start(path, camera.latestFrame(), 30.0, Orientation(), &camera, options));
    QVERIFY(recorder.isPassingThroughH264());
    for (int chunk = 0; chunk < 60; ++chunk) { // 20 ms each
        AudioChunk sound{chunk * 20000000LL, QByteArray(960 * 4, '\0')};
        if (chunk == 1000 / 30) // 666.7 ms, the time of frame 20: 6.7 ms into the chunk
            std::fill_n(sound.samples.data() + 320 * 4, 4 * 96, char(0x7f));
        recorder.addAudio(sound);
    }
    for (int n = 5; n < 30; ++n)
        QVERIFY(deliver(n));
    QTRY_COMPARE(recorder.statistics().framesReceived, 25);
    recorder.stop();
    QTRY_COMPARE(recorder.state(), Recorder::State::Idle);
    qint64 durationUs = 0;
    const QList<Packet> written = readPackets(path, &durationUs);
    QCOMPARE(written.size(), 20);
    QCOMPARE(nalUnits(written.first().data), nalUnits(packets[10].data));
    QCOMPARE(nalUnits(written.last().data), nalUnits(packets[29].data));
    const SoundProbe sound = probeSound(path);
    QCOMPARE(sound.codec, "aac");
    QCOMPARE(sound.channels, 2);
    const qsizetype samples = sound.mono.size() / 2;
    QCOMPARE_LE(std::abs(samples / 48000.0 - 20 / 30.0), 1 / 30.0);
    const auto *mono = reinterpret_cast<const qint16 *>(sound.mono.constData());
    const qint16 *click = std::find_if(mono, mono + samples, [](qint16 s) { return s > 16000; });
    QCOMPARE_LE(
        std::abs(sound.startS + double(click - mono) / 48000 - sound.videoStartS - 10 / 30.0),
        1 / 30.0);
}

QTEST_GUILESS_MAIN(TestV4l2Backend)
#include "tst_v4l2backend.moc"
