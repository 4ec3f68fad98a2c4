// Draws the editor's own icon set: plain shapes on a 48-unit grid, written as PNG at 24 and 48 pixels
// (name.png and name@2x.png) so that the toolbar looks the same on every machine, with no icon theme.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QColor Outline(0x30, 0x30, 0x30);
const QColor Paper(0xff, 0xff, 0xff);
const QColor Blue(0x1f, 0x5f, 0xbf);
const QColor Red(0xd0, 0x20, 0x20);
const QColor Yellow(0xf2, 0xc4, 0x3c);
const QColor Green(0x2e, 0x8b, 0x3e);

QPen OutlinePen(qreal width = 2.5, QColor colour = Outline)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QFont BoldFont(qreal pixelSize)
{
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(int(pixelSize));
    return font;
}

void Text(QPainter &p, const QRectF &box, const QString &text, qreal size, QColor colour)
{
    p.setFont(BoldFont(size));
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

// An arrowhead at tip pointing along the angle (degrees, 0 = right, counter-clockwise positive on screen).
void ArrowHead(QPainter &p, QPointF tip, qreal angleDegrees, qreal size, QColor colour)
{
    const qreal a = angleDegrees * M_PI / 180.0;
    const QPointF back(-std::cos(a) * size, std::sin(a) * size);
    const QPointF side(-std::sin(a) * size * 0.6, -std::cos(a) * size * 0.6);
    QPolygonF head;
    head << tip << tip + back + side << tip + back - side;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

void Page(QPainter &p, QRectF r, qreal fold)
{
    QPolygonF page;
    page << r.topLeft() << QPointF(r.right() - fold, r.top()) << QPointF(r.right(), r.top() + fold)
         << r.bottomRight() << r.bottomLeft();
    p.setPen(OutlinePen());
    p.setBrush(Paper);
    p.drawPolygon(page);
    QPolygonF corner;
    corner << QPointF(r.right() - fold, r.top()) << QPointF(r.right() - fold, r.top() + fold)
           << QPointF(r.right(), r.top() + fold);
    p.setBrush(QColor(0xd8, 0xd8, 0xd8));
    p.drawPolygon(corner);
}

void TextLines(QPainter &p, qreal left, qreal right, qreal top, int count)
{
    p.setPen(OutlinePen(2.0, QColor(0x70, 0x70, 0x70)));
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(left, top + i * 6), QPointF(right - (i % 2) * 5, top + i * 6));
}

void DrawNew(QPainter &p)
{
    Page(p, QRectF(9, 4, 30, 40), 10);
    // A spark says "new" without any text.
    p.setPen(OutlinePen(3, Yellow.darker(130)));
    const QPointF c(35, 36);
    for (int i = 0; i < 4; ++i) {
        const qreal a = i * M_PI / 4;
        p.drawLine(c + QPointF(std::cos(a) * 8, std::sin(a) * 8),
                   c - QPointF(std::cos(a) * 8, std::sin(a) * 8));
    }
}

void DrawOpen(QPainter &p)
{
    p.setPen(OutlinePen());
    p.setBrush(Yellow.darker(115));
    QPolygonF back;
    back << QPointF(4, 10) << QPointF(17, 10) << QPointF(21, 15) << QPointF(40, 15) << QPointF(40, 40)
         << QPointF(4, 40);
    p.drawPolygon(back);
    p.setBrush(Yellow);
    QPolygonF front;
    front << QPointF(4, 40) << QPointF(12, 22) << QPointF(46, 22) << QPointF(40, 40);
    p.drawPolygon(front);
}

void DrawSaveAs(QPainter &p)
{
    p.setPen(OutlinePen());
    p.setBrush(Blue);
    QPolygonF disk;
    disk << QPointF(4, 4) << QPointF(36, 4) << QPointF(42, 10) << QPointF(42, 42) << QPointF(4, 42);
    p.drawPolygon(disk);
    p.setBrush(Paper);
    p.drawRect(QRectF(11, 4, 22, 13));
    p.setBrush(QColor(0xdd, 0xdd, 0xdd));
    p.drawRect(QRectF(10, 26, 26, 16));
    // The pencil: "save under a name you write".
    p.save();
    p.translate(34, 34);
    p.rotate(-45);
    p.setPen(OutlinePen(2));
    p.setBrush(QColor(0xf0, 0x90, 0x20));
    p.drawRect(QRectF(-4, -18, 8, 20));
    p.setBrush(QColor(0xf5, 0xd6, 0xa8));
    QPolygonF tip;
    tip << QPointF(-4, 2) << QPointF(4, 2) << QPointF(0, 10);
    p.drawPolygon(tip);
    p.restore();
}

void DrawUndo(QPainter &p)
{
    p.setPen(OutlinePen(6, Blue));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(14, 20);
    path.lineTo(28, 20);
    path.cubicTo(46, 20, 46, 42, 28, 42);
    path.lineTo(18, 42);
    p.drawPath(path);
    ArrowHead(p, QPointF(3, 20), 180, 15, Blue);
}

void DrawCut(QPainter &p)
{
    p.setPen(OutlinePen(4, QColor(0x50, 0x50, 0x50)));
    p.drawLine(QPointF(14, 4), QPointF(30, 32));
    p.drawLine(QPointF(34, 4), QPointF(18, 32));
    p.setPen(OutlinePen(4, Red));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(14, 37), 7, 7);
    p.drawEllipse(QPointF(34, 37), 7, 7);
}

void DrawCopy(QPainter &p)
{
    Page(p, QRectF(4, 4, 24, 30), 8);
    TextLines(p, 9, 22, 16, 3);
    Page(p, QRectF(18, 14, 24, 30), 8);
    TextLines(p, 23, 36, 26, 3);
}

void DrawPaste(QPainter &p)
{
    p.setPen(OutlinePen());
    p.setBrush(QColor(0xb0, 0x7a, 0x40));
    p.drawRoundedRect(QRectF(5, 7, 30, 37), 3, 3);
    p.setBrush(QColor(0xa0, 0xa0, 0xa0));
    p.drawRoundedRect(QRectF(12, 3, 16, 8), 2, 2);
    Page(p, QRectF(20, 18, 23, 27), 7);
    TextLines(p, 24, 37, 29, 3);
}

void Magnifier(QPainter &p, QPointF centre, qreal radius)
{
    p.setPen(OutlinePen(7, QColor(0x60, 0x40, 0x20)));
    const QPointF handle = centre + QPointF(radius * 0.7, radius * 0.7);
    p.drawLine(handle, handle + QPointF(radius * 0.9, radius * 0.9));
    p.setPen(OutlinePen(4));
    p.setBrush(QColor(0xcf, 0xe8, 0xff));
    p.drawEllipse(centre, radius, radius);
}

void DrawFind(QPainter &p)
{
    Magnifier(p, QPointF(19, 19), 14);
}

void DrawReplace(QPainter &p)
{
    Text(p, QRectF(0, 0, 26, 26), "A", 24, Outline);
    Text(p, QRectF(22, 22, 26, 26), "B", 24, Blue);
    p.setPen(OutlinePen(3.5, Red));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(26, 8);
    path.quadTo(40, 8, 40, 18);
    p.drawPath(path);
    ArrowHead(p, QPointF(40, 25), -90, 9, Red);
}

void DrawCalcReplace(QPainter &p)
{
    p.setPen(OutlinePen());
    p.setBrush(QColor(0x70, 0x78, 0x84));
    p.drawRoundedRect(QRectF(7, 3, 34, 42), 4, 4);
    p.setBrush(QColor(0xc8, 0xf0, 0xc8));
    p.drawRect(QRectF(12, 8, 24, 9));
    p.setPen(OutlinePen(1.5));
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            p.setBrush(row == 2 && column == 2 ? Red : Paper);
            p.drawRect(QRectF(12 + column * 8.5, 21 + row * 7.5, 6, 5));
        }
}

void DrawRotary(QPainter &p)
{
    p.setPen(OutlinePen(2.5));
    p.setBrush(QColor(0xd0, 0xd0, 0xd0));
    p.drawEllipse(QPointF(24, 24), 12, 12);
    p.setBrush(Outline);
    p.drawEllipse(QPointF(24, 24), 3, 3);
    // The short way round, in red.
    p.setPen(OutlinePen(4.5, Red));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 4, 40, 40), 200 * 16, -125 * 16);
    // The arc ends at 75 degrees; the head continues it clockwise.
    const qreal end = 75 * M_PI / 180.0;
    const QPointF endPoint(24 + 20 * std::cos(end), 24 - 20 * std::sin(end));
    ArrowHead(p, endPoint + QPointF(std::cos(end - M_PI / 2), -std::sin(end - M_PI / 2)) * 9, 75 - 90, 13,
              Red);
}

void DrawSpaceAdd(QPainter &p)
{
    p.setPen(OutlinePen(2));
    p.setBrush(QColor(0x40, 0x40, 0x40));
    p.drawRect(QRectF(2, 10, 9, 28));
    p.drawRect(QRectF(37, 10, 9, 28));
    p.setPen(OutlinePen(4.5, Red));
    p.drawLine(QPointF(20, 24), QPointF(28, 24));
    ArrowHead(p, QPointF(14, 24), 180, 11, Red);
    ArrowHead(p, QPointF(34, 24), 0, 11, Red);
}

void DrawPointAdd(QPainter &p)
{
    Text(p, QRectF(-2, 6, 22, 36), "1", 32, Outline);
    Text(p, QRectF(27, 6, 22, 36), "0", 32, Outline);
    p.setPen(Qt::NoPen);
    p.setBrush(Red);
    p.drawEllipse(QPointF(24, 35), 5, 5);
}

void DrawXyCx(QPainter &p)
{
    p.setPen(OutlinePen(3));
    p.drawLine(QPointF(8, 42), QPointF(8, 10));
    p.drawLine(QPointF(8, 42), QPointF(40, 42));
    ArrowHead(p, QPointF(8, 3), 90, 8, Outline);
    ArrowHead(p, QPointF(47, 42), 0, 8, Outline);
    p.setPen(OutlinePen(3, Blue));
    p.drawLine(QPointF(8, 42), QPointF(34, 16));
    p.setPen(OutlinePen(3, Red));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-8, 26, 32, 32), 0, 45 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(Blue);
    p.drawEllipse(QPointF(34, 16), 4, 4);
}

void DrawG90G91(QPainter &p)
{
    Text(p, QRectF(-2, 0, 34, 24), "90", 22, Outline);
    Text(p, QRectF(-2, 24, 34, 24), "91", 22, Blue);
    p.setPen(OutlinePen(4.5, Red));
    p.drawLine(QPointF(40, 16), QPointF(40, 32));
    ArrowHead(p, QPointF(40, 4), 90, 11, Red);
    ArrowHead(p, QPointF(40, 44), -90, 11, Red);
}

void DrawUnit(QPainter &p)
{
    p.save();
    p.translate(24, 24);
    p.rotate(-35);
    p.setPen(OutlinePen(2.5));
    p.setBrush(Yellow);
    p.drawRect(QRectF(-23, -8, 46, 16));
    p.setPen(OutlinePen(2));
    for (int i = 0; i < 9; ++i) {
        const qreal x = -19 + i * 4.75;
        p.drawLine(QPointF(x, -8), QPointF(x, i % 2 == 0 ? 0 : -4));
    }
    p.restore();
}

void Machine(QPainter &p, QRectF box, QColor colour, const QString &letter)
{
    p.setPen(OutlinePen(2.5));
    p.setBrush(colour);
    p.drawRoundedRect(box, 3, 3);
    Text(p, box, letter, 17, Paper);
}

void DrawMachine(QPainter &p)
{
    Machine(p, QRectF(2, 4, 20, 22), Blue, "F");
    Machine(p, QRectF(26, 22, 20, 22), Green, "O");
    p.setPen(OutlinePen(3.5, Red));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(12, 28);
    path.quadTo(12, 38, 19, 38);
    p.drawPath(path);
    ArrowHead(p, QPointF(25, 38), 0, 8, Red);
}

// The application: a lathe tool tip cutting a turned part, on the "NC" of the program text.
void DrawApplication(QPainter &p)
{
    p.setPen(OutlinePen(2));
    p.setBrush(QColor(0x1c, 0x3a, 0x6e));
    p.drawRoundedRect(QRectF(2, 2, 44, 44), 7, 7);
    p.setBrush(QColor(0xc0, 0xc8, 0xd0));
    p.setPen(OutlinePen(1.5));
    p.drawRect(QRectF(6, 8, 36, 10));
    p.setBrush(Yellow);
    QPolygonF tool;
    tool << QPointF(28, 19) << QPointF(36, 30) << QPointF(22, 30);
    p.drawPolygon(tool);
    Text(p, QRectF(2, 27, 44, 19), "NC", 17, Paper);
}

struct Icon
{
    const char *name;
    std::function<void(QPainter &)> draw;
};

bool Write(const Icon &icon, const QString &folder, int pixels, const QString &suffix)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(pixels / 48.0, pixels / 48.0);
    icon.draw(p);
    p.end();
    return image.save(folder + "/" + icon.name + suffix + ".png");
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw-icons FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const std::vector<Icon> icons = {
        {"new", DrawNew},           {"open", DrawOpen},
        {"saveas", DrawSaveAs},     {"undo", DrawUndo},
        {"cut", DrawCut},           {"copy", DrawCopy},
        {"paste", DrawPaste},       {"find", DrawFind},
        {"replace", DrawReplace},   {"calcreplace", DrawCalcReplace},
        {"rotary", DrawRotary},     {"spaceadd", DrawSpaceAdd},
        {"pointadd", DrawPointAdd}, {"xycx", DrawXyCx},
        {"g90g91", DrawG90G91},     {"unit", DrawUnit},
        {"machine", DrawMachine},   {"brindlewick", DrawApplication},
    };
    for (const Icon &icon : icons) {
        if (!Write(icon, folder, 24, "") || !Write(icon, folder, 48, "@2x")) {
            std::fprintf(stderr, "cannot write %s\n", icon.name);
            return 1;
        }
    }
    return 0;
}
