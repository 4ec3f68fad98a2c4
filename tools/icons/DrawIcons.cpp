// Draws the editor's own icon set as PNG at the size shown and at twice that (name.png, name@2x.png), so
// that the toolbar looks the same on every machine, with no icon theme; given a second folder, also the
// application icon for the desktop's menus and file managers, as SVG and as PNG of the usual sizes.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

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

// Toolbar icons are drawn on a 16-unit grid, the size the toolbar shows them at; 1-unit lines sit on
// half units so that they fall on whole pixels.

void Page(QPainter &p, QRectF r, qreal fold)
{
    QPolygonF page;
    page << r.topLeft() << QPointF(r.right() - fold, r.top()) << QPointF(r.right(), r.top() + fold)
         << r.bottomRight() << r.bottomLeft();
    p.setPen(OutlinePen(1, Outline));
    p.setBrush(Paper);
    p.drawPolygon(page);
    p.drawPolyline(QPolygonF() << QPointF(r.right() - fold, r.top())
                               << QPointF(r.right() - fold, r.top() + fold)
                               << QPointF(r.right(), r.top() + fold));
}

void TextLines(QPainter &p, qreal left, qreal right, qreal top, int count)
{
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(left, top + i * 2), QPointF(right, top + i * 2));
}

void DrawNew(QPainter &p)
{
    Page(p, QRectF(2.5, 0.5, 10, 14), 3.5);
    // A spark says "new" without any text.
    p.setPen(QPen(QColor(0xe0, 0x9a, 0x00), 1.5));
    const QPointF c(12, 12);
    p.drawLine(c + QPointF(-3, 0), c + QPointF(3, 0));
    p.drawLine(c + QPointF(0, -3), c + QPointF(0, 3));
    p.drawLine(c + QPointF(-2, -2), c + QPointF(2, 2));
    p.drawLine(c + QPointF(-2, 2), c + QPointF(2, -2));
}

void DrawOpen(QPainter &p)
{
    p.setPen(OutlinePen(1, QColor(0x80, 0x60, 0x10)));
    p.setBrush(QColor(0xd8, 0xa8, 0x28));
    QPolygonF back;
    back << QPointF(0.5, 2.5) << QPointF(5.5, 2.5) << QPointF(7, 4.5) << QPointF(13.5, 4.5)
         << QPointF(13.5, 13.5) << QPointF(0.5, 13.5);
    p.drawPolygon(back);
    p.setBrush(Yellow);
    QPolygonF front;
    front << QPointF(0.5, 13.5) << QPointF(3.5, 7.5) << QPointF(15.5, 7.5) << QPointF(13.5, 13.5);
    p.drawPolygon(front);
}

void DrawSaveAs(QPainter &p)
{
    p.setPen(OutlinePen(1, QColor(0x10, 0x30, 0x70)));
    p.setBrush(Blue);
    QPolygonF disk;
    disk << QPointF(0.5, 0.5) << QPointF(12.5, 0.5) << QPointF(14.5, 2.5) << QPointF(14.5, 14.5)
         << QPointF(0.5, 14.5);
    p.drawPolygon(disk);
    p.setBrush(Paper);
    p.drawRect(QRectF(3.5, 0.5, 8, 5));
    p.setBrush(QColor(0xdd, 0xdd, 0xdd));
    p.drawRect(QRectF(3.5, 9.5, 8, 5));
    // The pencil: "save under a name you write".
    p.setPen(QPen(QColor(0x60, 0x30, 0x00), 1));
    p.setBrush(QColor(0xf0, 0x90, 0x20));
    QPolygonF pencil;
    pencil << QPointF(15.5, 7.5) << QPointF(9.5, 13.5) << QPointF(8, 15.5) << QPointF(10, 14.5)
           << QPointF(16, 8.5);
    p.drawPolygon(pencil);
}

void DrawUndo(QPainter &p)
{
    p.setPen(QPen(Blue, 2.2, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(5, 6);
    path.lineTo(9, 6);
    path.cubicTo(15.5, 6, 15.5, 14, 9, 14);
    path.lineTo(5, 14);
    p.drawPath(path);
    ArrowHead(p, QPointF(0.5, 6), 180, 5.5, Blue);
}

void DrawCut(QPainter &p)
{
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4.5, 0.5), QPointF(10, 10));
    p.drawLine(QPointF(11.5, 0.5), QPointF(6, 10));
    p.setPen(QPen(Red, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 12.5), 2.5, 2.5);
    p.drawEllipse(QPointF(11.5, 12.5), 2.5, 2.5);
}

void DrawCopy(QPainter &p)
{
    Page(p, QRectF(0.5, 0.5, 9, 11), 3);
    TextLines(p, 2.5, 6.5, 5.5, 3);
    Page(p, QRectF(5.5, 4.5, 9, 11), 3);
    TextLines(p, 7.5, 12.5, 9.5, 3);
}

void DrawPaste(QPainter &p)
{
    p.setPen(OutlinePen(1, QColor(0x50, 0x30, 0x10)));
    p.setBrush(QColor(0xb0, 0x7a, 0x40));
    p.drawRect(QRectF(1.5, 2.5, 10, 12));
    p.setBrush(QColor(0xa8, 0xa8, 0xa8));
    p.drawRect(QRectF(4.5, 0.5, 4, 3));
    Page(p, QRectF(6.5, 6.5, 8, 9), 2.5);
    TextLines(p, 8.5, 12.5, 10.5, 2);
}

void DrawFind(QPainter &p)
{
    p.setPen(QPen(QColor(0x60, 0x40, 0x20), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14, 14));
    p.setPen(QPen(Outline, 1.5));
    p.setBrush(QColor(0xcf, 0xe8, 0xff));
    p.drawEllipse(QPointF(6.5, 6.5), 5, 5);
}

void DrawReplace(QPainter &p)
{
    Text(p, QRectF(-1, -1, 10, 10), "A", 10, Outline);
    Text(p, QRectF(7, 6, 10, 10), "B", 10, Blue);
    p.setPen(QPen(Red, 1.5));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(8.5, 2.5);
    path.quadTo(13, 2.5, 13, 5);
    p.drawPath(path);
    ArrowHead(p, QPointF(13, 7.5), -90, 3.5, Red);
}

void DrawCalcReplace(QPainter &p)
{
    p.setPen(OutlinePen(1, Outline));
    p.setBrush(QColor(0x70, 0x78, 0x84));
    p.drawRect(QRectF(2.5, 0.5, 11, 15));
    p.setBrush(QColor(0xc8, 0xf0, 0xc8));
    p.drawRect(QRectF(4.5, 2.5, 7, 3));
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            p.setBrush(row == 2 && column == 2 ? QColor(0xff, 0x60, 0x40) : Paper);
            p.drawRect(QRectF(4 + column * 3, 7 + row * 2.8, 2, 2));
        }
    }
}

void DrawRotary(QPainter &p)
{
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(0xd0, 0xd0, 0xd0));
    p.drawEllipse(QPointF(8, 8), 4, 4);
    p.setBrush(Outline);
    p.drawEllipse(QPointF(8, 8), 1, 1);
    // The short way round, in red.
    p.setPen(QPen(Red, 1.8, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(1, 1, 14, 14), 200 * 16, -115 * 16);
    // The arc ends at 85 degrees; the head continues it clockwise.
    ArrowHead(p, QPointF(12.5, 1.8), -15, 5, Red);
}

void DrawSpaceAdd(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x40, 0x40, 0x40));
    p.drawRect(QRectF(0, 2, 2, 12));
    p.drawRect(QRectF(14, 2, 2, 12));
    p.setPen(QPen(Red, 2));
    p.drawLine(QPointF(6, 8), QPointF(10, 8));
    ArrowHead(p, QPointF(3, 8), 180, 4.5, Red);
    ArrowHead(p, QPointF(13, 8), 0, 4.5, Red);
}

void DrawPointAdd(QPainter &p)
{
    Text(p, QRectF(-1, 1, 8, 13), "1", 12, Outline);
    Text(p, QRectF(8, 1, 9, 13), "0", 12, Outline);
    p.setPen(Qt::NoPen);
    p.setBrush(Red);
    p.drawEllipse(QPointF(7.5, 12.5), 1.8, 1.8);
}

void DrawXyCx(QPainter &p)
{
    p.setPen(QPen(Outline, 1));
    p.drawLine(QPointF(2.5, 14.5), QPointF(2.5, 3));
    p.drawLine(QPointF(2.5, 14.5), QPointF(13, 14.5));
    ArrowHead(p, QPointF(2.5, 0.5), 90, 3.5, Outline);
    ArrowHead(p, QPointF(16, 14.5), 0, 3.5, Outline);
    p.setPen(QPen(Blue, 1.3));
    p.drawLine(QPointF(2.5, 14.5), QPointF(11, 6));
    p.setPen(QPen(Red, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-3.5, 8.5, 12, 12), 0, 45 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(Blue);
    p.drawEllipse(QPointF(11, 6), 1.7, 1.7);
}

void DrawG90G91(QPainter &p)
{
    Text(p, QRectF(-1, -1, 12, 9), "90", 9, Outline);
    Text(p, QRectF(-1, 7, 12, 9), "91", 9, Blue);
    p.setPen(QPen(Red, 1.3));
    p.drawLine(QPointF(13.5, 5), QPointF(13.5, 11));
    ArrowHead(p, QPointF(13.5, 1), 90, 3.5, Red);
    ArrowHead(p, QPointF(13.5, 15), -90, 3.5, Red);
}

void DrawUnit(QPainter &p)
{
    p.save();
    p.translate(8, 8);
    p.rotate(-40);
    p.setPen(QPen(QColor(0x70, 0x50, 0x00), 1));
    p.setBrush(Yellow);
    p.drawRect(QRectF(-8, -3, 16, 6));
    for (int i = 0; i < 7; ++i) {
        const qreal x = -6 + i * 2;
        p.drawLine(QPointF(x, -3), QPointF(x, i % 2 == 0 ? 0.5 : -1.2));
    }
    p.restore();
}

void Machine(QPainter &p, QRectF box, QColor colour, const QString &letter)
{
    p.setPen(QPen(Outline, 1));
    p.setBrush(colour);
    p.drawRect(box);
    Text(p, box.adjusted(0, 0, 1, 1), letter, 8, Paper);
}

void DrawMachine(QPainter &p)
{
    Machine(p, QRectF(0.5, 0.5, 8, 8), Blue, "F");
    Machine(p, QRectF(7.5, 7.5, 8, 8), Green, "O");
    p.setPen(QPen(Red, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(3.5, 9.5), QPointF(3.5, 12.5));
    ArrowHead(p, QPointF(7, 12.5), 0, 3, Red);
    p.drawLine(QPointF(3.5, 12.5), QPointF(4.5, 12.5));
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
    int grid = 16;   // units of the drawing
    int pixels = 16; // the size it is shown at; name@2x.png has twice as many
};

bool Write(const Icon &icon, const QString &folder, int pixels, const QString &suffix)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(qreal(pixels) / icon.grid, qreal(pixels) / icon.grid);
    icon.draw(p);
    p.end();
    return image.save(folder + "/" + icon.name + suffix + ".png");
}

// The application icon as the desktop installs it: brindlewick.svg and brindlewick-SIZE.png.
bool WriteDesktopIcons(const QString &folder)
{
    const Icon application{"brindlewick", DrawApplication, 48, 48};
    for (const int pixels : {16, 24, 32, 48, 64, 128, 256})
        if (!Write(application, folder, pixels, QStringLiteral("-%1").arg(pixels)))
            return false;
    QSvgGenerator svg;
    svg.setFileName(folder + "/brindlewick.svg");
    svg.setSize(QSize(application.grid, application.grid));
    svg.setViewBox(QRect(0, 0, application.grid, application.grid));
    svg.setTitle(QStringLiteral("Brindlewick"));
    QPainter p;
    if (!p.begin(&svg))
        return false;
    application.draw(p);
    return p.end();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: draw-icons FOLDER [DESKTOP_FOLDER]\n");
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
        {"machine", DrawMachine},   {"brindlewick", DrawApplication, 48, 32},
    };
    for (const Icon &icon : icons) {
        if (!Write(icon, folder, icon.pixels, "") || !Write(icon, folder, 2 * icon.pixels, "@2x")) {
            std::fprintf(stderr, "cannot write %s\n", icon.name);
            return 1;
        }
    }
    if (argc == 3) {
        const QString desktop = QString::fromLocal8Bit(argv[2]);
        QDir().mkpath(desktop);
        if (!WriteDesktopIcons(desktop)) {
            std::fprintf(stderr, "cannot write the desktop icons\n");
            return 1;
        }
    }
    return 0;
}
