// Draws the images embedded in the program (resources/) as simple flat icons.
// Usage: ostrel_makeresources <resources directory>
#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <QtEndian>

#include <cstdio>

namespace {

const QColor ink(0x2b, 0x2f, 0x36);
const QColor accent(0x49, 0x63, 0x79);
const QColor light(0xf0, 0xf0, 0xf0);

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void prepare(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

// The camera lens mark shared by the application icon and the logo, drawn into a square.
void drawLensMark(QPainter &painter, const QRectF &box)
{
    const qreal s = box.width();
    painter.setPen(Qt::NoPen);
    painter.setBrush(accent);
    painter.drawRoundedRect(box, s * 0.22, s * 0.22);
    const QPointF centre = box.center();
    painter.setBrush(light);
    painter.drawEllipse(centre, s * 0.34, s * 0.34);
    painter.setBrush(ink);
    painter.drawEllipse(centre, s * 0.25, s * 0.25);
    painter.setBrush(QColor(0x61, 0xaf, 0xef));
    painter.drawEllipse(centre, s * 0.13, s * 0.13);
    painter.setBrush(light);
    painter.drawEllipse(centre + QPointF(-s * 0.06, -s * 0.06), s * 0.04, s * 0.04);
    painter.drawEllipse(QPointF(box.right() - s * 0.17, box.top() + s * 0.17), s * 0.05, s * 0.05);
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A Windows icon file with one PNG-compressed entry (the 256 x 255 image the program uses).
QByteArray icoWithPng(const QImage &image)
{
    const QByteArray png = pngBytes(image);
    QByteArray ico;
    auto put16 = [&ico](quint16 v) {
        ico.append(char(v & 0xff));
        ico.append(char(v >> 8));
    };
    auto put32 = [&](quint32 v) {
        put16(quint16(v & 0xffff));
        put16(quint16(v >> 16));
    };
    put16(0); // reserved
    put16(1); // type: icon
    put16(1); // one image
    ico.append(char(image.width() >= 256 ? 0 : image.width()));
    ico.append(char(image.height() >= 256 ? 0 : image.height()));
    ico.append(char(0)); // no palette
    ico.append(char(0)); // reserved
    put16(1);            // colour planes
    put16(32);           // bits per pixel
    put32(quint32(png.size()));
    put32(6 + 16); // data follows the header and the one directory entry
    ico.append(png);
    return ico;
}

QImage appIcon(int height)
{
    QImage image = canvas(256, height);
    QPainter painter(&image);
    prepare(painter);
    drawLensMark(painter, QRectF(8, 8, 240, height - 16));
    return image;
}

QImage logo()
{
    QImage image = canvas(634, 120);
    QPainter painter(&image);
    prepare(painter);
    drawLensMark(painter, QRectF(10, 10, 100, 100));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(84);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(accent);
    painter.drawText(QRectF(132, 0, 500, 120), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("Ostrel"));
    return image;
}

QImage fullscreenIcon()
{
    QImage image = canvas(24, 24);
    QPainter painter(&image);
    prepare(painter);
    painter.setPen(QPen(light, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal a = 4, b = 20, l = 6;
    painter.drawPolyline(QPolygonF({{a, a + l}, {a, a}, {a + l, a}}));
    painter.drawPolyline(QPolygonF({{b - l, a}, {b, a}, {b, a + l}}));
    painter.drawPolyline(QPolygonF({{b, b - l}, {b, b}, {b - l, b}}));
    painter.drawPolyline(QPolygonF({{a + l, b}, {a, b}, {a, b - l}}));
    return image;
}

QImage settingsIcon()
{
    QImage image = canvas(64, 64);
    QPainter painter(&image);
    prepare(painter);
    painter.translate(32, 32);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    for (int tooth = 0; tooth < 8; ++tooth) {
        painter.drawRoundedRect(QRectF(-6, -29, 12, 14), 2, 2);
        painter.rotate(45);
    }
    painter.drawEllipse(QPointF(0, 0), 20, 20);
    painter.setBrush(Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.drawEllipse(QPointF(0, 0), 8, 8);
    return image;
}

QImage flipIcon()
{
    QImage image = canvas(32, 32);
    QPainter painter(&image);
    prepare(painter);
    painter.setPen(QPen(ink, 1.5, Qt::DashLine));
    painter.drawLine(QPointF(16, 3), QPointF(16, 29));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPolygon(QPolygonF({{13, 7}, {13, 25}, {3, 25}}));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ink, 1.6));
    painter.drawPolygon(QPolygonF({{19, 7}, {19, 25}, {29, 25}}));
    return image;
}

QImage rotateIcon()
{
    QImage image = canvas(32, 32);
    QPainter painter(&image);
    prepare(painter);
    painter.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
    const QRectF arc(6, 6, 20, 20);
    // Qt angles run counter-clockwise from three o'clock, in sixteenths of a degree: the arc
    // runs clockwise from twelve o'clock round to nine o'clock.
    painter.drawArc(arc, 90 * 16, -270 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    // At nine o'clock a clockwise turn heads upwards.
    const QPointF tip(6, 9);
    painter.drawPolygon(QPolygonF({tip, tip + QPointF(-5.5, 8), tip + QPointF(5.5, 8)}));
    return image;
}

QImage folderIcon()
{
    QImage image = canvas(48, 48);
    QPainter painter(&image);
    prepare(painter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xd1, 0x9a, 0x66));
    QPainterPath back;
    back.moveTo(4, 12);
    back.lineTo(18, 12);
    back.lineTo(22, 16);
    back.lineTo(44, 16);
    back.lineTo(44, 40);
    back.lineTo(4, 40);
    back.closeSubpath();
    painter.drawPath(back);
    painter.setBrush(QColor(0xe5, 0xc0, 0x7b));
    painter.drawRoundedRect(QRectF(4, 20, 40, 20), 2, 2);
    return image;
}

// A 16 x 16 XPM image in three colours: '.' transparent, '#' black, 'o' the given colour.
QByteArray xpm(const char *name, const char *colour, const char *const rows[16])
{
    QByteArray text;
    QTextStream out(&text);
    out << "/* XPM */\nstatic const char *" << name << "[] = {\n";
    out << "\"16 16 3 1\",\n";
    out << "\". c None\",\n";
    out << "\"# c #000000\",\n";
    out << "\"o c " << colour << "\",\n";
    for (int row = 0; row < 16; ++row)
        out << '"' << rows[row] << '"' << (row < 15 ? ",\n" : "\n");
    out << "};\n";
    out.flush();
    return text;
}

const char *const snapshotRows[16] = {
    "................", "................", ".....######.....", "....#oooooo#....",
    ".##############.", "#oooooo####oooo#", "#ooooo#....#ooo#", "#oooo#..oo..#oo#",
    "#oooo#.oooo.#oo#", "#oooo#.oooo.#oo#", "#oooo#..oo..#oo#", "#ooooo#....#ooo#",
    "#oooooo####oooo#", ".##############.", "................", "................"};

const char *const recordRows[16] = {
    "................", ".....######.....", "...##oooooo##...", "..#oooooooooo#..",
    ".#oooooooooooo#.", ".#oooooooooooo#.", "#oooooooooooooo#", "#oooooooooooooo#",
    "#oooooooooooooo#", "#oooooooooooooo#", ".#oooooooooooo#.", ".#oooooooooooo#.",
    "..#oooooooooo#..", "...##oooooo##...", ".....######.....", "................"};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resources directory>\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    // The window icon is 256 x 255; the desktop icon installed beside it is square.
    bool ok = writeFile(dir + "dunmo-logo.ico", icoWithPng(appIcon(255)));
    ok = appIcon(256).save(dir + "ostrel.png") && ok;
    ok = logo().save(dir + "logo.png") && ok;
    ok = writeFile(dir + "snapshot.png", xpm("snapshot", "#808080", snapshotRows)) && ok;
    ok = writeFile(dir + "record.png", xpm("record", "#FF0000", recordRows)) && ok;
    ok = fullscreenIcon().save(dir + "fullscreen.png") && ok;
    ok = settingsIcon().save(dir + "settings.png") && ok;
    ok = flipIcon().save(dir + "flip.png") && ok;
    ok = rotateIcon().save(dir + "rotate.png") && ok;
    ok = folderIcon().save(dir + "folder.png") && ok;
    return ok ? 0 : 1;
}
