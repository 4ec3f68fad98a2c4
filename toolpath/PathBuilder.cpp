#include "toolpath/PathBuilder.h"

#include "toolpath/SegmentGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace toolpath {
namespace {

constexpr double Pi = 3.14159265358979323846;
// Closer than this two points are one: well under the thousandth of a millimetre programs are written in.
constexpr double SamePoint = 1e-7;
// A profile longer than this is no profile a cycle runs: the cycle is refused and the lines walked.
constexpr std::size_t MostProfileLines = 500;
// How many profiles are kept for the finishing cycles that name them later.
constexpr std::size_t KeptProfiles = 16;
// OSP's relief at the end of each cut of the bar turning cycle (the parameter "relieving amount in
// LAP-bar turning", 0.1 mm by default).
constexpr double OspRelief = 0.1;

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
    m_cutting.perRevolution = rules.machine == MachineKind::Lathe;
}

void PathBuilder::AddLine(const LineWords &words, std::int32_t line)
{
    if (m_pendingActive) {
        ContinueCycle(words, line);
        return;
    }
    m_line = line;
    m_dwell = false;
    m_lineCycle = 0;
    const LineAction action = ReadGCodes(words);
    ReadCuttingWords(words);
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
    case LineAction::Cycle:
        StartCycle(words);
        return;
    case LineAction::Contour:
        m_pending = PendingCycle{81, line, words, Profile{}, true};
        m_pending.profile.label = words.nameLabel;
        m_pending.profile.transverse = words.HasG(82);
        m_pendingActive = true;
        return;
    }
}

void PathBuilder::Finish()
{
    // the lines a refused cycle held may start another cycle that waits in turn
    while (m_pendingActive)
        EndPending(false);
}

PathBuilder::LineAction PathBuilder::ReadGCodes(const LineWords &words)
{
    const bool lathe = m_rules.machine == MachineKind::Lathe;
    const bool fanucLathe = lathe && m_rules.dialect == Dialect::Fanuc;
    const bool ospLathe = lathe && m_rules.dialect == Dialect::Osp;
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
            m_dwell = m_dwell || g == 4;
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
            } else {
                m_cutting.perRevolution = false;
            }
        } else if (g == 91) {
            m_incremental = true;
        } else if (g == 95 || (g == 99 && lathe)) {
            m_cutting.perRevolution = true;
        } else if (g == 98 && lathe) {
            m_cutting.perRevolution = false;
        } else if (g == 96 || g == 97) {
            m_cutting.constantSurface = g == 96;
        } else if (g == 80 || g == 180) {
            m_cycle = 0;
            m_motion = 0;
        } else if (fanucLathe && g >= 70 && g <= 73) {
            action = m_profileMode ? LineAction::Nothing : LineAction::Cycle;
            m_lineCycle = g;
        } else if ((fanucLathe && g >= 74 && g <= 76) ||
                   (m_rules.dialect == Dialect::Osp && g >= 70 && g <= 79)) {
            action = LineAction::MarkEndPoint;
        } else if (ospLathe && g >= 85 && g <= 87) {
            action = m_profileMode ? LineAction::Nothing : LineAction::Cycle;
            m_lineCycle = g;
        } else if (ospLathe && (g == 81 || g == 82)) {
            // a contour definition moves nothing: the cycles that name it do
            action = m_profileMode || words.nameLabel == 0 ? LineAction::Nothing : LineAction::Contour;
        } else if (IsDrilling(g, m_rules.machine, m_rules.dialect)) {
            m_cycle = g;
        }
    }
    return action;
}

// The feed, the spindle speed and the tool; the G codes of the line are read already.
void PathBuilder::ReadCuttingWords(const LineWords &words)
{
    if (m_dwell) {
        Dwell(words);
        return;
    }
    if (words.Has('F'))
        m_cutting.feed = words.Value('F') * m_unit;
    if (words.Has('S')) {
        const double s = words.Value('S');
        if (m_rules.machine == MachineKind::Lathe && words.HasG(50))
            m_cutting.speedLimit = s;
        else if (m_cutting.constantSurface)
            m_cutting.surfaceSpeed = m_unit == 1 ? s : s * 0.3048; // feet per minute under G20
        else
            m_cutting.speed = s;
    }
    if (words.Has('T')) {
        // T0101 names tool 1 with offset 1; OSP's T010101 a nose radius number, tool 1 and offset 1
        const double t = words.Value('T');
        const double tool = t >= 10000 ? std::fmod(std::floor(t / 100), 100) : std::floor(t / 100);
        if (tool != m_cutting.tool && tool > 0)
            m_path.time.toolChanges += MachiningTime::ToolChangeSeconds;
        if (tool > 0)
            m_cutting.tool = tool;
    }
}

// G04 waits: P in milliseconds, X or U in seconds (FANUC), F in seconds (OSP).
void PathBuilder::Dwell(const LineWords &words)
{
    double seconds = 0;
    if (words.Has('P'))
        seconds = words.Value('P') / 1000;
    else if (words.Has('X'))
        seconds = words.Value('X');
    else if (words.Has('U'))
        seconds = words.Value('U');
    else if (words.Has('F') && m_rules.dialect == Dialect::Osp)
        seconds = words.Value('F');
    m_path.time.dwell += std::max(0.0, seconds);
}

// Minutes per millimetre at a distance `radius` from the turning axis, times the feed: the spindle turns
// slower the further out the tool is under G96, never faster than its limit.
double PathBuilder::FeedSeconds(const Segment &s) const
{
    const double length = LengthOf(s);
    const Cutting &c = m_cutting;
    if (!c.perRevolution)
        return c.feed > 0 ? length / c.feed * 60 : -1;
    if (c.feed <= 0)
        return -1;
    if (!c.constantSurface)
        return c.speed > 0 ? length / (c.feed * c.speed) * 60 : -1;
    if (c.surfaceSpeed <= 0)
        return -1;
    const double limit = c.speedLimit > 0 ? c.speedLimit : MachiningTime::TopSpindleSpeed;
    const double k = 1000 * c.surfaceSpeed / (2 * Pi); // the speed is k / radius
    const auto radiusOf = [this](const Point3 &p) {
        return m_rules.machine == MachineKind::Lathe ? std::fabs(p.x) : std::hypot(p.x, p.y);
    };
    // minutes per turn: linear in the radius, or constant where the limit holds
    const auto minutesPerTurn = [&](double r) { return std::max(r / k, 1 / limit); };
    double mean = 0;
    if (s.IsArc()) {
        // the middles of 16 equal parts of the arc
        constexpr int Samples = 16;
        const ArcShape shape = ShapeOf(s);
        for (int i = 0; i < Samples; ++i) {
            const double angle = shape.startAngle + shape.sweep * (i + 0.5) / Samples;
            const PlanePoint p{shape.centre.a + shape.radius * std::cos(angle),
                               shape.centre.b + shape.radius * std::sin(angle)};
            mean += minutesPerTurn(radiusOf(WithPlane(s.start, p, s.plane)));
        }
        mean /= Samples;
    } else {
        // along a line the radius is linear but for a turn at the axis and the limit's kink: exact
        // trapezoids between those places
        const double x0 = m_rules.machine == MachineKind::Lathe ? s.start.x : radiusOf(s.start);
        const double x1 = m_rules.machine == MachineKind::Lathe ? s.end.x : radiusOf(s.end);
        const auto at = [&](double t) { return minutesPerTurn(std::fabs(x0 + (x1 - x0) * t)); };
        std::array<double, 5> cuts{0, 1};
        std::size_t count = 2;
        if (x1 != x0)
            for (const double r : {0.0, k / limit, -k / limit}) {
                const double t = (r - x0) / (x1 - x0);
                if (t > 0 && t < 1)
                    cuts[count++] = t;
            }
        for (std::size_t i = 1; i < count; ++i) // a handful of places: put in order by insertion
            for (std::size_t j = i; j > 0 && cuts[j] < cuts[j - 1]; --j)
                std::swap(cuts[j], cuts[j - 1]);
        for (std::size_t i = 1; i < count; ++i)
            mean += (cuts[i] - cuts[i - 1]) * (at(cuts[i - 1]) + at(cuts[i])) / 2;
    }
    return length * mean / c.feed * 60;
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

// A cycle block: FANUC's first blocks keep their depth and retract; a block with P and Q, or an OSP call,
// waits for its profile unless it names one already read.
void PathBuilder::StartCycle(const LineWords &words)
{
    const int g = m_lineCycle;
    const bool osp = m_rules.dialect == Dialect::Osp;
    const bool profileNamed = osp ? words.nameLabel != 0 : words.Has('P') && words.Has('Q');
    const double unit = m_unit;
    if (!osp && !profileNamed && g != 70) {
        if (g == 71) {
            m_g71Depth = words.Has('U') ? words.Value('U') * unit : m_g71Depth;
            m_g71Retract = words.Has('R') ? words.Value('R') * unit : m_g71Retract;
        } else if (g == 72) {
            m_g72Depth = words.Has('W') ? words.Value('W') * unit : m_g72Depth;
            m_g72Retract = words.Has('R') ? words.Value('R') * unit : m_g72Retract;
        } else {
            m_g73ReliefX = words.Has('U') ? words.Value('U') * unit : m_g73ReliefX;
            m_g73ReliefZ = words.Has('W') ? words.Value('W') * unit : m_g73ReliefZ;
            m_g73Divisions = words.Has('R') ? words.Value('R') : m_g73Divisions;
        }
        return;
    }
    PendingCycle cycle{g, m_line, words, Profile{}, false};
    cycle.profile.p = words.Value('P');
    cycle.profile.q = words.Value('Q');
    cycle.profile.label = words.nameLabel;
    if (!profileNamed) {
        Refuse(m_line, g == 70 || g == 87 ? CycleRefusal::NoProfile : CycleRefusal::ProfileNotFound);
        return;
    }
    const Profile *known = FindProfile(cycle);
    // a finishing cycle runs a profile read before; an OSP call may name a contour defined before it
    if (g == 70 || g == 87 || (osp && known)) {
        if (known)
            Expand(cycle, *known);
        else
            Refuse(m_line, CycleRefusal::NoProfile);
        return;
    }
    m_pending = std::move(cycle);
    m_pendingActive = true;
}

// A line after a cycle that waits for its profile: the profile's first line, a line of it, its last line,
// or a line that shows the profile does not follow.
void PathBuilder::ContinueCycle(const LineWords &words, std::int32_t line)
{
    const bool osp = m_rules.dialect == Dialect::Osp;
    Profile &profile = m_pending.profile;
    if (!m_pending.reading) {
        if (words.given == 0 && words.gCodes.isEmpty() && words.nameLabel == 0)
            return; // a blank or a comment line
        const bool first = osp ? words.nameLabel == profile.label && (words.HasG(81) || words.HasG(82))
                               : words.Has('N') && words.Value('N') == profile.p;
        if (!first) {
            EndPending(false);
            AddLine(words, line);
            return;
        }
        m_pending.reading = true;
        profile.transverse = words.HasG(82);
        if (osp)
            return; // the contour's heading: its blocks follow
    }
    const bool last = osp ? words.HasG(80) : words.Has('N') && words.Value('N') == profile.q;
    if (!(osp && last))
        profile.lines.push_back({words, line});
    if (last)
        EndPending(true);
    else if (profile.lines.size() > MostProfileLines)
        EndPending(false);
}

// The pending cycle ends: expanded over its profile when it came whole (or, for a FANUC cycle whose
// profile did not follow, over the one of the same P and Q read before), refused otherwise; the lines of
// a profile that never ended are walked as they stand.
void PathBuilder::EndPending(bool profileComplete)
{
    PendingCycle cycle = std::move(m_pending);
    m_pending = PendingCycle{};
    m_pendingActive = false;
    if (profileComplete) {
        KeepProfile(cycle.profile);
        if (cycle.code != 81)
            Expand(cycle, m_profiles.back());
        return;
    }
    if (cycle.code != 81) {
        const Profile *known = cycle.reading ? nullptr : FindProfile(cycle);
        if (known)
            Expand(cycle, *known);
        else
            Refuse(cycle.line, CycleRefusal::ProfileNotFound);
    }
    for (const ProfileLine &l : cycle.profile.lines)
        AddLine(l.words, l.line);
}

const PathBuilder::Profile *PathBuilder::FindProfile(const PendingCycle &cycle) const
{
    const bool osp = m_rules.dialect == Dialect::Osp;
    for (auto p = m_profiles.rbegin(); p != m_profiles.rend(); ++p)
        if (osp ? p->label == cycle.profile.label : p->p == cycle.profile.p && p->q == cycle.profile.q)
            return &*p;
    return nullptr;
}

void PathBuilder::KeepProfile(Profile profile)
{
    if (m_profiles.size() >= KeptProfiles)
        m_profiles.erase(m_profiles.begin());
    m_profiles.push_back(std::move(profile));
}

// The profile's moves from the tool's position, walked as the program writes them, with the feed each is
// made at; the first is the move to the profile's first point, a move of no length when the first block
// goes nowhere.
bool PathBuilder::ProfileSegments(const Profile &profile, std::vector<Segment> &segments,
                                  std::vector<double> &feeds)
{
    ToolPath shape;
    std::vector<double> shapeFeeds;
    PathBuilder walker(m_rules, shape);
    walker.m_profileMode = true;
    walker.m_at = m_at;
    walker.m_unit = m_unit;
    walker.m_incremental = m_incremental;
    walker.m_motion = m_motion;
    walker.m_cutting = m_cutting;
    walker.m_feeds = &shapeFeeds;
    for (const ProfileLine &l : profile.lines)
        walker.AddLine(l.words, l.line);
    for (std::size_t i = 0; i < shape.segments.size(); ++i) {
        if (shape.segments[i].kind == SegmentKind::Cycle)
            continue;
        if (segments.empty() && shape.segments[i].line != profile.lines.front().line) {
            Segment none;
            none.start = none.end = PointOf(m_at);
            none.kind = SegmentKind::Rapid;
            segments.push_back(none);
            feeds.push_back(m_cutting.feed);
        }
        segments.push_back(shape.segments[i]);
        feeds.push_back(shapeFeeds[i]);
    }
    return !segments.empty();
}

void PathBuilder::Expand(const PendingCycle &cycle, const Profile &profile)
{
    m_line = cycle.line;
    if (!(m_at.knownX && m_at.knownZ)) {
        Refuse(cycle.line, CycleRefusal::StartUnknown);
        return;
    }
    std::vector<Segment> segments;
    std::vector<double> feeds;
    if (!ProfileSegments(profile, segments, feeds)) {
        Refuse(cycle.line, CycleRefusal::ProfileNotFound);
        return;
    }
    const LineWords &w = cycle.words;
    const double u = w.Has('U') ? w.Value('U') * m_unit / 2 : 0; // a diameter
    const double wz = w.Has('W') ? w.Value('W') * m_unit : 0;
    const double d = w.Has('D') ? w.Value('D') * m_unit : 0;
    const Point3 start = PointOf(m_at);
    const ProfileLine &firstLine = profile.lines.front();
    const bool typeTwo = (firstLine.words.Has('X') || firstLine.words.Has('U')) &&
                         (firstLine.words.Has('Z') || firstLine.words.Has('W'));
    std::vector<CycleMove> moves;
    CycleRefusal refusal = CycleRefusal::None;
    switch (cycle.code) {
    case 71:
    case 72:
        refusal = PlanRoughing(start, segments,
                               RoughingCycle{cycle.code == 71, cycle.code == 71 ? m_g71Depth : m_g72Depth,
                                             cycle.code == 71 ? m_g71Retract : m_g72Retract, u, wz, typeTwo,
                                             CycleReturn::Straight},
                               moves);
        break;
    case 85:
        // D is a diameter where the levels step in X
        refusal = PlanRoughing(start, segments,
                               RoughingCycle{!profile.transverse, profile.transverse ? d : d / 2, OspRelief,
                                             u, wz, true, CycleReturn::ZThenX},
                               moves);
        break;
    case 73: {
        PatternCycle pattern;
        pattern.divisions = int(std::min(std::round(m_g73Divisions), double(MaxCyclePasses + 1)));
        pattern.reliefX = m_g73ReliefX;
        pattern.reliefZ = m_g73ReliefZ;
        pattern.allowanceX = u;
        pattern.allowanceZ = wz;
        refusal = PlanPattern(start, segments, pattern, moves);
        break;
    }
    case 86: {
        PatternCycle pattern;
        pattern.byDivisions = false;
        pattern.alongZ = !profile.transverse;
        pattern.depth = profile.transverse ? d : d / 2;
        pattern.allowanceX = u;
        pattern.allowanceZ = wz;
        pattern.back = CycleReturn::ZThenX;
        refusal = PlanPattern(start, segments, pattern, moves);
        break;
    }
    default:
        PlanFinishing(start, segments, cycle.code == 87 ? CycleReturn::ZThenX : CycleReturn::Straight, moves);
        break;
    }
    if (refusal != CycleRefusal::None) {
        Refuse(cycle.line, refusal);
        return;
    }
    // a roughing cycle cuts at its own feed; a finishing cycle at the feeds the profile gives
    const bool finishing = cycle.code == 70 || cycle.code == 87;
    const double cycleFeed = m_cutting.feed;
    Point3 from = start;
    for (const CycleMove &move : moves) {
        m_cutting.feed = finishing && move.profile >= 0 ? feeds[std::size_t(move.profile)] : cycleFeed;
        const bool arc = move.kind == SegmentKind::ArcCw || move.kind == SegmentKind::ArcCcw;
        const double dx = move.end.x - from.x;
        const double dz = move.end.z - from.z;
        if (arc || dx * dx + dz * dz > SamePoint * SamePoint)
            Add(from, move.end, move.kind, move.centre);
        from = move.end;
    }
    m_cutting.feed = cycleFeed;
}

void PathBuilder::Refuse(std::int32_t line, CycleRefusal reason)
{
    m_line = line;
    m_path.refusedCycles.push_back({line, reason});
    if (m_at.knownX || m_at.knownZ)
        Mark(PointOf(m_at), PointOf(m_at));
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
    if (m_feeds)
        m_feeds->push_back(m_cutting.feed);
    MachiningTime &time = m_path.time;
    if (kind == SegmentKind::Rapid) {
        const double travel =
            std::max({std::fabs(end.x - start.x), std::fabs(end.y - start.y), std::fabs(end.z - start.z)});
        time.rapid += travel / MachiningTime::RapidRate * 60;
    } else if (kind != SegmentKind::Cycle) {
        const double seconds = FeedSeconds(s);
        if (seconds >= 0)
            time.cutting += seconds;
        else
            ++time.untimedMoves;
    }
}

} // namespace toolpath
