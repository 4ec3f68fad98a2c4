#pragma once

#include "toolpath/ToolPath.h"

#include <cstdint>
#include <vector>

namespace toolpath {

// Where a converted program sends the tool elsewhere than its source does.
struct PathComparison
{
    // The result's lengths times this are in the source's unit: a unit change that wrote no G20/G21
    // (inch to mm, mm to thousandths) is undone before comparing; 1 when the sizes already agree.
    double resultScale = 1;
    // Per segment, 1 when no stretch of the other path of the same kind (rapid, or cutting) runs along
    // it. Markers of cycles are never compared.
    std::vector<std::uint8_t> sourceDiffers;
    std::vector<std::uint8_t> resultDiffers;
    // Runs of consecutive differing segments: the places a user looks at.
    qsizetype sourcePlaces = 0;
    qsizetype resultPlaces = 0;
};

// The factor among the usual unit changes (25.4, 1000, 100, 10 and their inverses) that brings the size
// of `result` to that of `source`, or 1.
double UnitScaleBetween(const ToolPath &source, const ToolPath &result);

// `path` with every length times `factor`, to draw a result in the source's unit.
ToolPath ScaledPath(const ToolPath &path, double factor);

// Compares both paths in program order: each segment is looked for in the other path near the place the
// segments before it were found, so that a conversion that splits or joins moves still matches and the
// work stays linear in the length of the paths.
PathComparison ComparePaths(const ToolPath &source, const ToolPath &result);

} // namespace toolpath
