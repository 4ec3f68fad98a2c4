// Fuzzes the tool path: any program, read as a lathe or a mill program, gives segments in program order
// with finite positions, a finite machining time, refused cycles on lines of the program, and a path
// compared with itself differs nowhere. The input is also walked as the profile of a FANUC roughing cycle
// and of an OSP LAP cycle with fuzzed depths, so that the expansion of the cycles meets any profile (each
// cycle bounded in passes, so that none hangs). No crash, no hang.
#include "nc/ProgramText.h"
#include "tests/fuzz/FuzzInput.h"
#include "toolpath/PathCompare.h"
#include "toolpath/SegmentGeometry.h"
#include "toolpath/ToolPath.h"

#include <cmath>

namespace {

bool Finite(const toolpath::Point3 &p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

void CheckPath(const QString &program, const toolpath::ToolPath &path)
{
    const qsizetype lines = qsizetype(toolpath::LineStarts(program).size());
    std::int32_t last = 0;
    for (const toolpath::Segment &s : path.segments) {
        FuzzCheck(s.line >= last && s.line < lines);
        last = s.line;
        FuzzCheck(Finite(s.start) && Finite(s.end) && Finite(s.centre));
        FuzzCheck(std::isfinite(toolpath::LengthOf(s)));
    }
    FuzzCheck(path.problems.unreadableWords >= 0 && path.problems.absurdValues >= 0 &&
              path.problems.badArcs >= 0);
    FuzzCheck(std::isfinite(path.time.Total()) && path.time.Total() >= 0);
    for (const toolpath::RefusedCycle &refused : path.refusedCycles)
        FuzzCheck(refused.line >= 0 && refused.line < lines &&
                  refused.reason != toolpath::CycleRefusal::None);
}

// `profile` as the P..Q blocks of a G71 (or G72, G73) and the labelled contour of a G85 (or G86), each
// followed by its finishing cycle.
QString CycleProgram(const QString &profile, uint8_t choice)
{
    const QString depth = QString::number(0.5 + (choice % 7), 'f', 1);
    const QString g = QString::number(71 + (choice >> 3) % 3);
    QString program = QStringLiteral("G00 X62. Z5.\r\nG%1 U%2 W%2 R%3\r\nG%1 P10 Q20 U0.4 W0.1 F0.25\r\n"
                                     "N10 %4\r\nN20 X62.\r\nG70 P10 Q20\r\n")
                          .arg(g, depth, QString::number(1 + choice % 5), profile);
    program += QStringLiteral("NLAP1 G81\r\n%1\r\nG80\r\nG%2 NLAP1 D%3 U0.4 W0.1 F0.2\r\nG87 NLAP1\r\n")
                   .arg(profile, QString::number(85 + (choice >> 5) % 2), depth);
    return program;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t choice = input.Choice();
    toolpath::PathOptions options;
    options.machine = toolpath::MachineKind(choice % 3);
    if (choice & 4)
        options.home = toolpath::Point3{800, 0, 400};
    const QString program = nc::DecodeCp932(input.Part()).text;
    const QString other = nc::DecodeCp932(input.Rest()).text;

    const toolpath::ToolPath path = toolpath::WalkToolPath(program, options);
    CheckPath(program, path);
    const toolpath::PathComparison self = toolpath::ComparePaths(path, path);
    FuzzCheck(self.sourcePlaces == 0 && self.resultPlaces == 0);

    const toolpath::ToolPath second = toolpath::WalkToolPath(other, options);
    CheckPath(other, second);
    const toolpath::PathComparison both = toolpath::ComparePaths(path, second);
    FuzzCheck(both.sourceDiffers.size() == path.segments.size());
    FuzzCheck(both.resultDiffers.size() == second.segments.size());

    // the fuzzed text as a cycle's profile, read as a lathe program (FANUC, then OSP for the LAP half)
    const QString cycles = CycleProgram(program, choice);
    toolpath::PathOptions lathe;
    lathe.machine = toolpath::MachineKind::Lathe;
    CheckPath(cycles, toolpath::WalkToolPath(cycles, lathe));
    const qsizetype split = cycles.indexOf(u"NLAP1 G81");
    CheckPath(cycles.mid(split), toolpath::WalkToolPath(cycles.mid(split), lathe));
    return 0;
}
