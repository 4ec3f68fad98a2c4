// Draws each conversion dialog into a PNG file, to look at how its captions render (not a test).
#include "app/convert/G90_G91.h"
#include "app/convert/PointAdd.h"
#include "app/convert/Space.h"
#include "app/convert/Spindle.h"
#include "app/convert/Unit.h"
#include "app/convert/XY_CX.h"
#include "tests/app/convert/FakeConversionHost.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

namespace {

bool Save(QDialog &dialog, const QString &path)
{
    dialog.show();
    QApplication::processEvents();
    const bool saved = dialog.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    FakeConversionHost host;
    Space space(host);
    PointAdd pointAdd(host);
    Unit unit(host);
    G90_G91 g90g91(host);
    XY_CX xycx(host);
    Spindle spindle(host);
    const bool ok = Save(space, dir.filePath(QStringLiteral("Space.png"))) &&
                    Save(pointAdd, dir.filePath(QStringLiteral("PointAdd.png"))) &&
                    Save(unit, dir.filePath(QStringLiteral("Unit.png"))) &&
                    Save(g90g91, dir.filePath(QStringLiteral("G90_G91.png"))) &&
                    Save(xycx, dir.filePath(QStringLiteral("XY_CX.png"))) &&
                    Save(spindle, dir.filePath(QStringLiteral("Spindle.png")));
    return ok ? 0 : 1;
}
