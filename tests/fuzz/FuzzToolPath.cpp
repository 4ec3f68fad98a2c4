// Fuzzes the tool path: any program, read as a lathe or a mill program, gives segments in program order
// with finite positions, and a path compared with itself differs nowhere. No crash, no hang.
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
    return 0;
}
