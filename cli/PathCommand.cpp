#include "cli/CliCommand.h"
#include "machine/ConversionTable.h"
#include "machine/TableFile.h"
#include "toolpath/SegmentGeometry.h"
#include "toolpath/ToolPath.h"

#include <QCoreApplication>
#include <QDir>

#include <cmath>

namespace {

// The row of the conversion table that names the home position G28 returns to, as the tool path window
// reads it.
constexpr int HomePositionRow = 5;

// The home position of the default table beside the executable; none when it cannot be read.
std::optional<toolpath::Point3> DefaultHomePosition()
{
    ConversionTable table;
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(DefaultTableFileName());
    if (!ReadTableFile(path, table).ok)
        return std::nullopt;
    return toolpath::PositionOfWords(table.Row(HomePositionRow).after);
}

// A length to the thousandth, in its shortest form: "20", "-12.5", "0".
QString Number(double value)
{
    const double rounded = std::round(value * 1000) / 1000;
    QString text = QString::number(rounded == 0 ? 0.0 : rounded, 'f', 3);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

QString KindName(toolpath::SegmentKind kind)
{
    switch (kind) {
    case toolpath::SegmentKind::Rapid:
        return QStringLiteral("rapid");
    case toolpath::SegmentKind::Feed:
        return QStringLiteral("feed");
    case toolpath::SegmentKind::ArcCw:
        return QStringLiteral("cw");
    case toolpath::SegmentKind::ArcCcw:
        return QStringLiteral("ccw");
    case toolpath::SegmentKind::Cycle:
        break;
    }
    return QStringLiteral("marker");
}

// x, y, z of a point as the program writes them: X a diameter on a lathe.
QString Coordinates(const toolpath::ToolPath &path, const toolpath::Point3 &p)
{
    const double x = path.PlotsXz() ? p.x * 2 : p.x;
    return Number(x) + u',' + Number(p.y) + u',' + Number(p.z);
}

// One row per segment; the lines end in CR LF, as every file of ours does.
QString PathRows(const toolpath::ToolPath &path)
{
    QString text = QStringLiteral("line,kind,x,y,z,cx,cy,cz\r\n");
    for (const toolpath::Segment &s : path.segments) {
        text +=
            QString::number(s.line + 1) + u',' + KindName(s.kind) + u',' + Coordinates(path, s.end) + u',';
        text += s.IsArc() ? Coordinates(path, s.centre) : QStringLiteral(",,");
        text += QStringLiteral("\r\n");
    }
    return text;
}

QString Summary(const toolpath::ToolPath &path)
{
    double feed = 0;
    double rapid = 0;
    for (const toolpath::Segment &s : path.segments) {
        if (s.kind == toolpath::SegmentKind::Rapid)
            rapid += toolpath::LengthOf(s);
        else if (s.kind != toolpath::SegmentKind::Cycle)
            feed += toolpath::LengthOf(s);
    }
    return QStringLiteral("segments,feed_mm,rapid_mm,seconds\r\n%1,%2,%3,%4\r\n")
        .arg(path.segments.size())
        .arg(Number(feed), Number(rapid), QString::number(path.time.Total(), 'f', 1));
}

} // namespace

// The tool path of the program as data: every move, or the totals.
CliCommand PathCommand()
{
    CliCommand command;
    command.name = QStringLiteral("path");
    command.usage = QStringLiteral("[--summary] (the tool path as CSV; --summary: its lengths and time)");
    command.flagOptions = {QStringLiteral("summary")};
    command.run = [](const CliOptions &options, const QString &program) {
        toolpath::PathOptions pathOptions;
        pathOptions.home = DefaultHomePosition();
        const toolpath::ToolPath path = toolpath::WalkToolPath(program, pathOptions);
        return CliOutcome{
            0, options.flags.contains(QStringLiteral("summary")) ? Summary(path) : PathRows(path), QString()};
    };
    return command;
}
