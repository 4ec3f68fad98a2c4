#include "toolpath/PathCompare.h"

#include "toolpath/SegmentGeometry.h"

#include <algorithm>
#include <cmath>

namespace toolpath {
namespace {

// How far from the last match a segment is looked for, in segments either way.
constexpr qsizetype Window = 64;

struct Extent
{
    Point3 low{1e300, 1e300, 1e300};
    Point3 high{-1e300, -1e300, -1e300};

    void Add(const Point3 &p)
    {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    double Diagonal() const
    {
        return high.x < low.x ? 0 : std::hypot(high.x - low.x, high.y - low.y, high.z - low.z);
    }
};

// The extent of the moves; of the cutting moves only when `cutsOnly`.
Extent ExtentOf(const ToolPath &path, bool cutsOnly = false)
{
    Extent extent;
    for (const Segment &s : path.segments) {
        if (s.kind == SegmentKind::Cycle || (cutsOnly && s.kind == SegmentKind::Rapid))
            continue;
        extent.Add(s.start);
        extent.Add(s.end);
    }
    return extent;
}

bool Cuts(const Segment &s)
{
    return s.kind != SegmentKind::Rapid;
}

Point3 Scaled(const Point3 &p, double factor)
{
    return {p.x * factor, p.y * factor, p.z * factor};
}

// The moves of a path, without the cycle markers, which are never compared and would only stretch the
// distance between matching moves.
std::vector<const Segment *> MovesOf(const ToolPath &path)
{
    std::vector<const Segment *> moves;
    moves.reserve(path.segments.size());
    for (const Segment &s : path.segments)
        if (s.kind != SegmentKind::Cycle)
            moves.push_back(&s);
    return moves;
}

// The index of a move of `other` of the same kind within `tolerance` of `p`, tried from `hint` outwards up
// to Window moves either way; -1 when there is none.
qsizetype FindPoint(const Point3 &p, bool cuts, const std::vector<const Segment *> &other, qsizetype hint,
                    double tolerance)
{
    const qsizetype count = qsizetype(other.size());
    for (qsizetype step = 0; step <= 2 * Window; ++step) {
        // hint, hint + 1, hint - 1, hint + 2, ...
        const qsizetype j = hint + ((step % 2) ? (step + 1) / 2 : -(step / 2));
        if (j < 0 || j >= count)
            continue;
        const Segment &candidate = *other[std::size_t(j)];
        if (Cuts(candidate) == cuts && DistanceTo(candidate, p) <= tolerance)
            return j;
    }
    return -1;
}

// Looks for every sample point of `segment` on the moves of `other`: each near the move that held the
// sample before it, so that the search follows a move the other path splits into several, and failing
// that near `hint` again, since a sample can land on a like move further off. Returns the index of the
// last move that held a sample, or -1 when some sample lies on none.
qsizetype FindAlong(const Segment &segment, const std::vector<const Segment *> &other, qsizetype hint,
                    double tolerance)
{
    const int samples = int(std::clamp(LengthOf(segment) / (tolerance * 100), 4.0, 32.0));
    qsizetype found = -1;
    qsizetype last = hint;
    for (int i = 0; i <= samples; ++i) {
        const Point3 p = PointAlong(segment, double(i) / samples);
        qsizetype hit = FindPoint(p, Cuts(segment), other, last, tolerance);
        if (hit < 0 && last != hint)
            hit = FindPoint(p, Cuts(segment), other, hint, tolerance);
        if (hit < 0)
            return -1;
        last = hit;
        found = std::max(found, hit);
    }
    return found;
}

// Marks each segment of `path` that `other` does not run along; returns the number of runs marked. A
// move is looked for near where the last one was found and, failing that, at the same share of the other
// path's moves, so that the search finds its place again after a stretch that differs.
qsizetype MarkDifferences(const ToolPath &path, const ToolPath &other, double tolerance,
                          std::vector<std::uint8_t> &differs)
{
    differs.assign(path.segments.size(), 0);
    const std::vector<const Segment *> moves = MovesOf(other);
    const auto ownMoves = std::count_if(path.segments.begin(), path.segments.end(),
                                        [](const Segment &s) { return s.kind != SegmentKind::Cycle; });
    const double share = ownMoves == 0 ? 0 : double(moves.size()) / double(ownMoves);
    qsizetype near = 0;
    qsizetype places = 0;
    qsizetype move = 0; // the index of `s` among the moves of `path`
    bool inRun = false;
    for (std::size_t i = 0; i < path.segments.size(); ++i) {
        const Segment &s = path.segments[i];
        if (s.kind == SegmentKind::Cycle)
            continue;
        qsizetype found = FindAlong(s, moves, near, tolerance);
        const qsizetype proportional = qsizetype(double(move++) * share);
        if (found < 0 && proportional != near)
            found = FindAlong(s, moves, proportional, tolerance);
        if (found >= 0) {
            near = found;
            inRun = false;
            continue;
        }
        differs[i] = 1;
        places += inRun ? 0 : 1;
        inRun = true;
    }
    return places;
}

} // namespace

// The sizes of the cutting moves, where both paths have them: a home position from the conversion table,
// in millimetres whatever the program's unit, would otherwise set the size of both.
double UnitScaleBetween(const ToolPath &source, const ToolPath &result)
{
    const bool cutsOnly = ExtentOf(source, true).Diagonal() > 0 && ExtentOf(result, true).Diagonal() > 0;
    const double a = ExtentOf(source, cutsOnly).Diagonal();
    const double b = ExtentOf(result, cutsOnly).Diagonal();
    if (!(a > 0) || !(b > 0))
        return 1;
    const double ratio = a / b;
    double best = 1;
    double bestMiss = std::fabs(ratio - 1);
    for (const double factor : {25.4, 1 / 25.4, 1000.0, 0.001, 100.0, 0.01, 10.0, 0.1}) {
        const double miss = std::fabs(ratio / factor - 1);
        if (miss < bestMiss) {
            best = factor;
            bestMiss = miss;
        }
    }
    return bestMiss < 0.02 ? best : 1;
}

ToolPath ScaledPath(const ToolPath &path, double factor)
{
    ToolPath scaled = path;
    for (Segment &s : scaled.segments) {
        s.start = Scaled(s.start, factor);
        s.end = Scaled(s.end, factor);
        s.centre = Scaled(s.centre, factor);
    }
    return scaled;
}

PathComparison ComparePaths(const ToolPath &source, const ToolPath &result)
{
    PathComparison comparison;
    comparison.resultScale = UnitScaleBetween(source, result);
    const ToolPath scaled =
        comparison.resultScale == 1 ? ToolPath() : ScaledPath(result, comparison.resultScale);
    const ToolPath &other = comparison.resultScale == 1 ? result : scaled;
    // programs are written to a thousandth, in inches to a ten-thousandth; a huge part allows a little more
    const double tolerance = std::max(0.01, ExtentOf(source).Diagonal() * 1e-6);
    comparison.sourcePlaces = MarkDifferences(source, other, tolerance, comparison.sourceDiffers);
    comparison.resultPlaces = MarkDifferences(other, source, tolerance, comparison.resultDiffers);
    return comparison;
}

} // namespace toolpath
