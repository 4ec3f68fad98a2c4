// Writes the benchmark's generated programs (code page 932, as the benchmark writes them) to a folder, for
// the tools that compare two converters on them: brindlewick-bench-programs FOLDER LINES [SEED]
// gives lathe_LINES.nc, mill_LINES.nc, 1line_LINES.nc, finish_LINES.nc and cycles_LINES.nc.

#include "bench/ProgramGenerator.h"
#include "nc/ProgramText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

bool Write(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(nc::EncodeCp932(text).bytes) >= 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: brindlewick-bench-programs FOLDER LINES [SEED]\n");
        return 2;
    }
    const QDir dir(args[1]);
    const qsizetype lines = args[2].toLongLong();
    const unsigned seed = args.size() > 3 ? args[3].toUInt() : 7;
    QString mill = bench::GenerateMillProgram(lines, seed);
    const QString name = QStringLiteral("%1_%2.nc");
    bool ok =
        Write(dir.filePath(name.arg(u"lathe").arg(lines)), bench::GenerateLatheProgram(lines, seed)) &&
        Write(dir.filePath(name.arg(u"mill").arg(lines)), mill) &&
        Write(dir.filePath(name.arg(u"finish").arg(lines)), bench::GenerateFinishingProgram(lines, seed)) &&
        Write(dir.filePath(name.arg(u"cycles").arg(lines)), bench::GenerateCycleProgram(lines));
    // the mill-turn program with LF line ends is one line to the conversions, as in the benchmark
    mill.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ok = ok && Write(dir.filePath(name.arg(u"1line").arg(lines)), mill);
    return ok ? 0 : 1;
}
