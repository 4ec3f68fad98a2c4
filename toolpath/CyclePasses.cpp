#include "toolpath/CyclePasses.h"

#include "toolpath/SegmentGeometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace toolpath {
namespace {

constexpr double Pi = 3.14159265358979323846;
// Closer than this a level is on the profile: well under the thousandth programs are written in.
constexpr double OnLevel = 1e-6;
// Arcs are followed in chords of at most 5° to find which part of them a level crosses; the crossing
// itself is found on the arc.
constexpr double ChordAngle = 5 * Pi / 180;
constexpr int MostChordsPerArc = 72;

// The point a fraction `t` along an arc of the given shape, in its plane.
Point3 OnArc(const Segment &arc, const ArcShape &shape, double t)
{
    const double angle = shape.startAngle + shape.sweep * t;
    return WithPlane(arc.start,
                     PlanePoint{shape.centre.a + shape.radius * std::cos(angle),
                                shape.centre.b + shape.radius * std::sin(angle)},
                     arc.plane);
}

// A move of the cycle's own, not along the profile.
CycleMove Line(const Point3 &end, SegmentKind kind)
{
    CycleMove move;
    move.end = end;
    move.kind = kind;
    return move;
}

Point3 Shifted(const Point3 &p, double dx, double dz)
{
    return {p.x + dx, p.y, p.z + dz};
}

// The two axes of a roughing cycle: the level axis it steps along and the axis it cuts along.
struct Axes
{
    bool alongZ = true;

    double Level(const Point3 &p) const { return alongZ ? p.x : p.z; }
    double Along(const Point3 &p) const { return alongZ ? p.z : p.x; }
    Point3 At(double level, double along) const
    {
        return alongZ ? Point3{level, 0, along} : Point3{along, 0, level};
    }
};

// A point of the profile after its first move, shifted: the segment it lies on and how far along.
struct Sample
{
    Point3 point;
    std::size_t segment = 0;
    double t = 1;
};

// The profile after its first move, shifted, as points: arcs in short chords.
std::vector<Sample> Flattened(const std::vector<Segment> &profile, double dx, double dz)
{
    std::vector<Sample> points{{Shifted(profile.front().end, dx, dz), 0, 1}};
    for (std::size_t i = 1; i < profile.size(); ++i) {
        const Segment &s = profile[i];
        if (!s.IsArc()) {
            points.push_back({Shifted(s.end, dx, dz), i, 1});
            continue;
        }
        const ArcShape shape = ShapeOf(s);
        const int chords =
            std::clamp(int(std::ceil(std::fabs(shape.sweep) / ChordAngle)), 1, MostChordsPerArc);
        for (int j = 1; j < chords; ++j)
            points.push_back({Shifted(OnArc(s, shape, double(j) / chords), dx, dz), i, double(j) / chords});
        points.push_back({Shifted(s.end, dx, dz), i, 1});
    }
    return points;
}

// Whether `value` of the points never turns back.
template <typename Value> bool Monotonic(const std::vector<Sample> &points, Value &&value)
{
    int direction = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const double step = value(points[i].point) - value(points[i - 1].point);
        if (std::fabs(step) <= OnLevel)
            continue;
        const int sign = step > 0 ? 1 : -1;
        if (direction != 0 && sign != direction)
            return false;
        direction = sign;
    }
    return true;
}

// Where the profile crosses `level` between two of its points: on a line where the chord crosses it, on
// an arc where the arc itself does (halving the stretch of it between the two points).
double CrossingAlong(const std::vector<Segment> &profile, double dx, double dz, const Axes &axes,
                     const Sample &a, const Sample &b, double level)
{
    const Segment &s = profile[b.segment];
    if (!s.IsArc()) {
        const double t = (level - axes.Level(a.point)) / (axes.Level(b.point) - axes.Level(a.point));
        return axes.Along(a.point) + std::clamp(t, 0.0, 1.0) * (axes.Along(b.point) - axes.Along(a.point));
    }
    const ArcShape shape = ShapeOf(s);
    double low = a.segment == b.segment ? a.t : 0;
    double high = b.t;
    const auto above = [&](double t) { return axes.Level(Shifted(OnArc(s, shape, t), dx, dz)) > level; };
    const bool lowAbove = above(low);
    for (int i = 0; i < 48; ++i) { // to a 2⁻⁴⁸ part of the chord's stretch of arc
        const double middle = (low + high) / 2;
        (above(middle) == lowAbove ? low : high) = middle;
    }
    return axes.Along(Shifted(OnArc(s, shape, (low + high) / 2), dx, dz));
}

// The stretches along the cutting axis where the level `level` runs through stock: from the start point's
// `along` to where the profile rises through the level, and from where it falls below it again (a pocket)
// to where it rises once more or ends. `side` is +1 when the levels go down from the start point.
std::vector<std::pair<double, double>> Stretches(const std::vector<Segment> &profile, double dx, double dz,
                                                 const std::vector<Sample> &points, const Axes &axes,
                                                 double level, double side, double startAlong)
{
    std::vector<std::pair<double, double>> stretches;
    const auto inStock = [&](const Sample &p) { return side * (level - axes.Level(p.point)) > OnLevel; };
    bool in = inStock(points.front());
    double begin = startAlong;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const bool next = inStock(points[i]);
        if (next == in)
            continue;
        const double along = CrossingAlong(profile, dx, dz, axes, points[i - 1], points[i], level);
        if (in)
            stretches.emplace_back(begin, along);
        else
            begin = along;
        in = next;
    }
    if (in)
        stretches.emplace_back(begin, axes.Along(points.back().point));
    return stretches;
}

SegmentKind ApproachKind(const std::vector<Segment> &profile)
{
    return profile.front().kind == SegmentKind::Rapid ? SegmentKind::Rapid : SegmentKind::Feed;
}

// The profile's segments from `first` on, shifted.
void FollowProfile(const std::vector<Segment> &profile, std::size_t first, double dx, double dz,
                   std::vector<CycleMove> &moves)
{
    for (std::size_t i = first; i < profile.size(); ++i) {
        const Segment &s = profile[i];
        moves.push_back(
            {Shifted(s.end, dx, dz), s.kind, s.IsArc() ? Shifted(s.centre, dx, dz) : Point3{}, int(i)});
    }
}

void Return(const Point3 &start, CycleReturn back, std::vector<CycleMove> &moves)
{
    if (back == CycleReturn::ZThenX && !moves.empty())
        moves.push_back(Line(Point3{moves.back().end.x, start.y, start.z}, SegmentKind::Rapid));
    moves.push_back(Line(start, SegmentKind::Rapid));
}

// The number of levels strictly between the start and the last level, `depth` apart, or -1 when there
// are more than the cycles may make.
int LevelCount(double span, double depth)
{
    const double levels = std::ceil((std::fabs(span) - OnLevel) / depth) - 1;
    if (levels > MaxCyclePasses)
        return -1;
    return std::max(0, int(levels));
}

} // namespace

CycleRefusal PlanRoughing(const Point3 &start, const std::vector<Segment> &profile,
                          const RoughingCycle &cycle, std::vector<CycleMove> &moves)
{
    if (profile.empty())
        return CycleRefusal::ProfileNotFound;
    if (!(cycle.depth > 0))
        return CycleRefusal::NoDepth;
    const Axes axes{cycle.alongZ};
    const std::vector<Sample> points = Flattened(profile, cycle.allowanceX, cycle.allowanceZ);
    const auto level = [&](const Point3 &p) { return axes.Level(p); };
    const auto along = [&](const Point3 &p) { return axes.Along(p); };
    if (!Monotonic(points, along) || (!cycle.pockets && !Monotonic(points, level)))
        return CycleRefusal::NotMonotonic;

    const double startLevel = axes.Level(start);
    const double startAlong = axes.Along(start);
    const double span = startLevel - axes.Level(points.front().point);
    const double side = span > 0 ? 1 : -1;
    const int levels = LevelCount(span, cycle.depth);
    if (levels < 0)
        return CycleRefusal::TooManyPasses;
    const SegmentKind approach = ApproachKind(profile);
    const double e = cycle.retract;
    for (int k = 1; k <= levels; ++k) {
        const double l = startLevel - side * k * cycle.depth;
        moves.push_back(Line(axes.At(l, startAlong), approach));
        bool first = true;
        for (const auto &[from, to] :
             Stretches(profile, cycle.allowanceX, cycle.allowanceZ, points, axes, l, side, startAlong)) {
            if (!first) {
                moves.push_back(Line(axes.At(l + side * e, from), SegmentKind::Rapid));
                moves.push_back(Line(axes.At(l, from), SegmentKind::Feed));
            }
            first = false;
            moves.push_back(Line(axes.At(l, to), SegmentKind::Feed));
            const double backward = to < from ? 1 : -1;
            moves.push_back(Line(axes.At(l + side * e, to + backward * e), SegmentKind::Rapid));
        }
        moves.push_back(Line(axes.At(l + side * e, startAlong), SegmentKind::Rapid));
    }
    moves.push_back({points.front().point, approach, Point3{}, 0});
    FollowProfile(profile, 1, cycle.allowanceX, cycle.allowanceZ, moves);
    Return(start, cycle.back, moves);
    return CycleRefusal::None;
}

CycleRefusal PlanPattern(const Point3 &start, const std::vector<Segment> &profile, const PatternCycle &cycle,
                         std::vector<CycleMove> &moves)
{
    if (profile.empty())
        return CycleRefusal::ProfileNotFound;
    const Point3 first = profile.front().end;
    const SegmentKind approach = ApproachKind(profile);
    const auto pass = [&](double dx, double dz) {
        moves.push_back({Shifted(first, dx, dz), approach, Point3{}, 0});
        FollowProfile(profile, 1, dx, dz, moves);
        Return(start, cycle.back, moves);
    };
    if (cycle.byDivisions) {
        if (cycle.divisions < 1)
            return CycleRefusal::NoDepth;
        if (cycle.divisions > MaxCyclePasses)
            return CycleRefusal::TooManyPasses;
        for (int k = 1; k <= cycle.divisions; ++k) {
            const double share =
                cycle.divisions > 1 ? double(cycle.divisions - k) / (cycle.divisions - 1) : 0;
            pass(cycle.allowanceX + cycle.reliefX * share, cycle.allowanceZ + cycle.reliefZ * share);
        }
        return CycleRefusal::None;
    }
    if (!(cycle.depth > 0))
        return CycleRefusal::NoDepth;
    // the Nth pass starts at Xp = Xs - N·D and is shifted in Z by the same share of the way to the
    // finishing allowance (longitudinal; the transverse cycle the other way round)
    const Axes axes{cycle.alongZ};
    const double levelAllowance = cycle.alongZ ? cycle.allowanceX : cycle.allowanceZ;
    const double otherAllowance = cycle.alongZ ? cycle.allowanceZ : cycle.allowanceX;
    const double last = axes.Level(first) + levelAllowance;
    const double span = axes.Level(start) - last;
    const int levels = LevelCount(span, cycle.depth);
    if (levels < 0)
        return CycleRefusal::TooManyPasses;
    const double side = span > 0 ? 1 : -1;
    for (int n = 1; n <= levels; ++n) {
        const double level = axes.Level(start) - side * n * cycle.depth;
        const double share = (level - last) / span;
        const double levelShift = level - axes.Level(first);
        const double otherShift =
            otherAllowance + (axes.Along(start) - axes.Along(first) - otherAllowance) * share;
        pass(cycle.alongZ ? levelShift : otherShift, cycle.alongZ ? otherShift : levelShift);
    }
    pass(cycle.allowanceX, cycle.allowanceZ);
    return CycleRefusal::None;
}

void PlanFinishing(const Point3 &start, const std::vector<Segment> &profile, CycleReturn back,
                   std::vector<CycleMove> &moves)
{
    FollowProfile(profile, 0, 0, 0, moves);
    Return(start, back, moves);
}

} // namespace toolpath
