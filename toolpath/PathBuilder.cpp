#include "toolpath/PathBuilder.h"

#include "toolpath/SegmentGeometry.h"

#include <cmath>

namespace toolpath {
namespace {

constexpr double Pi = 3.14159265358979323846;
// Closer than this two points are one: well under the thousandth of a millimetre programs are written in.
constexpr double SamePoint = 1e-7;

bool IsDrilling(int g, MachineKind machine, Dialect dialect)
{
    if (dialect == Dialect::Osp)
        return g >= 181 && g <= 189;
    if (machine == MachineKind::Mill && (g == 73 || g == 74 || g == 76))
        return true;
    return g >= 81 && g <= 89;
}

// The letters of the centre offsets along the plane's two axes.
std::pair<char, char> OffsetLetters(ArcPlane plane)
{
    switch (plane) {
    case ArcPlane::XY:
        return {'I', 'J'};
    case ArcPlane::YZ:
        return {'J', 'K'};
    case ArcPlane::ZX:
        break;
    }
    return {'K', 'I'};
}

// How far apart the two radii of an arc given by its centre may be: the programs' rounding to a
// thousandth, and a little more for large radii.
double RadiusTolerance(double radius)
{
    return 0.01 + radius * 1e-3;
}

} // namespace

PathBuilder::PathBuilder(const ReadingRules &rules, ToolPath &path)
    : m_rules(rules), m_path(path), m_plane(rules.machine == MachineKind::Lathe ? ArcPlane::ZX : ArcPlane::XY)
{
}

void PathBuilder::AddLine(const LineWords &words, std::int32_t line)
{
    m_line = line;
    const LineAction action = ReadGCodes(words);
    switch (action) {
    case LineAction::Nothing:
        return;
    case LineAction::Move:
        Move(Target(words), words);
        return;
    case LineAction::HomeReturn:
        HomeReturn(Target(words), words);
        return;
    case LineAction::SetPosition:
        m_at = Target(words);
        return;
    case LineAction::MarkHere:
        if (m_at.knownX || m_at.knownZ)
            Mark(PointOf(m_at), PointOf(m_at));
        return;
    case LineAction::MarkEndPoint:
        Mark(PointOf(m_at), PointOf(Target(words, m_rules.dialect != Dialect::Osp)));
        return;
    }
}

PathBuilder::LineAction PathBuilder::ReadGCodes(const LineWords &words)
{
    const bool lathe = m_rules.machine == MachineKind::Lathe;
    const bool fanucLathe = lathe && m_rules.dialect == Dialect::Fanuc;
    LineAction action = LineAction::Move;
    for (const double code : words.gCodes) {
        if (code != std::floor(code) || code < 0 || code > 1000)
            continue; // G71.1 and the like: nothing this walk knows
        const int g = int(code);
        if (g <= 3) {
            m_motion = g;
            m_cycle = 0;
        } else if (g == 32 || g == 33 || g == 34) {
            m_motion = 1;
            m_cycle = 0;
        } else if (g == 4 || g == 10 || g == 11 || g == 65 || g == 66) {
            action = LineAction::Nothing;
        } else if (g >= 17 && g <= 19) {
            m_plane = ArcPlane(g);
        } else if (g == 20 || g == 21) {
            m_unit = g == 20 ? 25.4 : 1;
        } else if (g == 28 || g == 30) {
            action = LineAction::HomeReturn;
        } else if (g == 50 && lathe) {
            action = LineAction::SetPosition;
        } else if (g == 90 || g == 92 || g == 94) {
            if (m_rules.turningCycles) {
                m_cycle = g;
                m_cycleStarted = true;
            } else if (g == 90) {
                m_incremental = false;
            } else if (g == 92) {
                action = LineAction::SetPosition;
            }
        } else if (g == 91) {
            m_incremental = true;
        } else if (g == 80 || g == 180) {
            m_cycle = 0;
            m_motion = 0;
        } else if (fanucLathe && g >= 70 && g <= 73) {
            action = LineAction::MarkHere;
        } else if ((fanucLathe && g >= 74 && g <= 76) ||
                   (m_rules.dialect == Dialect::Osp && g >= 70 && g <= 79)) {
            action = LineAction::MarkEndPoint;
        } else if (IsDrilling(g, m_rules.machine, m_rules.dialect)) {
            m_cycle = g;
        }
    }
    return action;
}

PathBuilder::Programmed PathBuilder::Target(const LineWords &words, bool increments) const
{
    Programmed t = m_at;
    const auto take = [&](char letter, double &value, bool &known, double scale) {
        if (!words.Has(letter))
            return;
        const double v = words.Value(letter) * scale;
        value = m_incremental ? value + v : v;
        known = true;
    };
    const bool lathe = m_rules.machine == MachineKind::Lathe && increments;
    take('X', t.x, t.knownX, m_unit);
    take('Z', t.z, t.knownZ, m_unit);
    if (m_rules.machine != MachineKind::Lathe)
        take('Y', t.y, t.knownY, m_unit);
    if (m_rules.polar)
        take('C', t.c, t.knownC, 1);
    if (lathe && words.Has('U')) {
        t.x += words.Value('U') * m_unit;
        t.knownX = true;
    }
    if (lathe && words.Has('W')) {
        t.z += words.Value('W') * m_unit;
        t.knownZ = true;
    }
    return t;
}

Point3 PathBuilder::PointOf(const Programmed &p) const
{
    if (m_rules.machine == MachineKind::Lathe)
        return {p.x / 2, 0, p.z};
    if (m_rules.polar) {
        const double radius = p.x / 2;
        const double angle = p.c * Pi / 180;
        return {radius * std::cos(angle), radius * std::sin(angle), p.z};
    }
    return {p.x, p.y, p.z};
}

// A move is drawn only from a position the program has given: the first positioning of each axis comes
// from wherever the tool stood before the program, which no program says.
bool PathBuilder::MovedAxesKnown(const Programmed &target) const
{
    const auto known = [](double from, double to, bool wasKnown) { return from == to || wasKnown; };
    return known(m_at.x, target.x, m_at.knownX) && known(m_at.y, target.y, m_at.knownY) &&
           known(m_at.z, target.z, m_at.knownZ) && known(m_at.c, target.c, m_at.knownC);
}

void PathBuilder::Move(const Programmed &target, const LineWords &words)
{
    const bool positioned = words.Has('X') || words.Has('Y') || words.Has('Z') || words.Has('U') ||
                            words.Has('W') || (m_rules.polar && words.Has('C'));
    const bool turning = m_cycle == 90 || m_cycle == 92 || m_cycle == 94;
    if (m_cycle != 0 && !positioned)
        return;
    if (turning && m_rules.turningCycles)
        TurningCycle(target, words);
    else if (m_cycle != 0)
        DrillingCycle(target);
    else if (m_motion == 2 || m_motion == 3)
        Arc(target, words);
    else
        Straight(target, m_motion == 0 ? SegmentKind::Rapid : SegmentKind::Feed);
}

void PathBuilder::Straight(const Programmed &target, SegmentKind kind)
{
    const Point3 from = PointOf(m_at);
    const Point3 to = PointOf(target);
    if (MovedAxesKnown(target) && std::hypot(to.x - from.x, to.y - from.y, to.z - from.z) > SamePoint)
        Add(from, to, kind);
    m_at = target;
}

void PathBuilder::Arc(const Programmed &target, const LineWords &words)
{
    const bool known = MovedAxesKnown(target);
    const Point3 from = PointOf(m_at);
    const Point3 to = PointOf(target);
    m_at = target;
    if (!known)
        return;
    const bool clockwise = m_motion == 2;
    const PlanePoint s = InPlane(from, m_plane);
    const PlanePoint e = InPlane(to, m_plane);
    PlanePoint c;
    const char radiusLetter = words.Has('R') ? 'R' : words.Has('L') ? 'L' : 0;
    const auto [offsetA, offsetB] = OffsetLetters(m_plane);
    if (radiusLetter) {
        const double r = words.Value(radiusLetter) * m_unit;
        const double da = e.a - s.a;
        const double db = e.b - s.b;
        const double chord = std::hypot(da, db);
        const double half = chord / 2;
        if (chord <= SamePoint || std::fabs(r) <= SamePoint ||
            half - std::fabs(r) > RadiusTolerance(std::fabs(r))) {
            ++m_path.problems.badArcs;
            return;
        }
        const double rise = std::sqrt(std::max(0.0, r * r - half * half));
        // A clockwise arc of up to half a turn has its centre on the right of the chord; a negative
        // radius asks for the longer arc, whose centre is on the other side.
        const double side = (clockwise ? 1 : -1) * (r > 0 ? 1 : -1);
        c = {(s.a + e.a) / 2 + side * rise * db / chord, (s.b + e.b) / 2 - side * rise * da / chord};
    } else if (words.Has(offsetA) || words.Has(offsetB)) {
        c = {s.a + (words.Has(offsetA) ? words.Value(offsetA) * m_unit : 0),
             s.b + (words.Has(offsetB) ? words.Value(offsetB) * m_unit : 0)};
        const double rs = std::hypot(s.a - c.a, s.b - c.b);
        const double re = std::hypot(e.a - c.a, e.b - c.b);
        if (rs <= SamePoint || std::fabs(rs - re) > RadiusTolerance(rs)) {
            ++m_path.problems.badArcs;
            return;
        }
    } else {
        ++m_path.problems.badArcs;
        return;
    }
    Add(from, to, clockwise ? SegmentKind::ArcCw : SegmentKind::ArcCcw, WithPlane(from, c, m_plane));
}

// The turning cycles move in four strokes and come back to where they started; the taper given on the
// block that starts the cycle holds for its repeat blocks.
void PathBuilder::TurningCycle(const Programmed &given, const LineWords &words)
{
    // a repeat block names the axis that changes; the other keeps the cycle's last end point
    Programmed target = given;
    if (!m_cycleStarted && !words.Has('X') && !words.Has('U')) {
        target.x = m_cycleEnd.x;
        target.knownX = m_cycleEnd.knownX;
    }
    if (!m_cycleStarted && !words.Has('Z') && !words.Has('W')) {
        target.z = m_cycleEnd.z;
        target.knownZ = m_cycleEnd.knownZ;
    }
    m_cycleEnd = target;
    if (m_cycleStarted) {
        const char taperLetter = m_cycle == 92 && words.Has('I') ? 'I' : 'R';
        m_cycleTaper = words.Has(taperLetter) ? words.Value(taperLetter) * m_unit : 0;
        m_cycleStarted = false;
    }
    const Programmed start = m_at;
    Mark(PointOf(start), PointOf(target));
    if (!(start.knownX && start.knownZ))
        return;
    Programmed p1 = start, p2 = target, p3 = start;
    if (m_cycle == 94) {
        p1.z = target.z + m_cycleTaper;
        p3.x = target.x;
    } else {
        p1.x = target.x + 2 * m_cycleTaper;
        p3.z = target.z;
    }
    const SegmentKind back = m_cycle == 92 ? SegmentKind::Rapid : SegmentKind::Feed;
    Straight(p1, SegmentKind::Rapid);
    Straight(p2, SegmentKind::Feed);
    Straight(p3, back);
    Straight(start, SegmentKind::Rapid);
}

// A hole: the tool goes to it at its present level, drills to the programmed depth and comes back up;
// the depth is drawn as a marker.
void PathBuilder::DrillingCycle(const Programmed &target)
{
    Programmed hole = target;
    hole.z = m_at.z;
    hole.knownZ = m_at.knownZ;
    Straight(hole, SegmentKind::Rapid);
    Mark(PointOf(hole), PointOf(target));
}

// The axes named go to the intermediate point and on to the home position.
void PathBuilder::HomeReturn(const Programmed &target, const LineWords &words)
{
    Straight(target, SegmentKind::Rapid);
    if (!m_rules.home)
        return;
    Programmed home = m_at;
    if (words.Has('X') || words.Has('U')) {
        home.x = m_rules.home->x;
        home.knownX = true;
    }
    if (words.Has('Y')) {
        home.y = m_rules.home->y;
        home.knownY = true;
    }
    if (words.Has('Z') || words.Has('W')) {
        home.z = m_rules.home->z;
        home.knownZ = true;
    }
    Straight(home, SegmentKind::Rapid);
}

void PathBuilder::Mark(const Point3 &start, const Point3 &end)
{
    Add(start, end, SegmentKind::Cycle);
}

void PathBuilder::Add(const Point3 &start, const Point3 &end, SegmentKind kind, const Point3 &centre)
{
    Segment s;
    s.start = start;
    s.end = end;
    s.centre = centre;
    s.line = m_line;
    s.kind = kind;
    s.plane = m_plane;
    m_path.segments.push_back(s);
}

} // namespace toolpath
