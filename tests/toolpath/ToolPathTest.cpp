#include "toolpath/ToolPath.h"
#include "tests/toolpath/PathDescription.h"
#include "toolpath/SegmentGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace toolpath;

namespace {

struct Case
{
    const char16_t *program; // lines separated by "|"
    const char16_t *path;
};

void CheckPaths(const Case *cases, std::size_t count, const PathOptions &options = {})
{
    for (std::size_t i = 0; i < count; ++i) {
        const QString program = Program(cases[i].program);
        const ToolPath path = WalkToolPath(program, options);
        EXPECT_EQ(Describe(path), QString::fromUtf16(cases[i].path)) << program.toStdString();
        EXPECT_EQ(path.problems.Total(), 0) << program.toStdString();
    }
}

} // namespace

// Hand-worked lathe paths: X is a diameter (the plot shows the radius), U and W move from the last
// position, G02 turns clockwise with Z across and X up. The first positioning of a program comes from an
// unknown place and is not drawn.
TEST(ToolPath, LathePathsAsWorkedByHand)
{
    const Case cases[] = {
        {u"G00 X40. Z5.|G01 Z-20. F0.2|X60.", u"F 20,5>20,-20; F 20,-20>30,-20"},
        {u"G00 X40. Z5.|G01 U10. W-5.|U-4.", u"F 20,5>25,0; F 25,0>23,0"},
        {u"G00 X40. Z5.|G00 W-2.", u"R 20,5>20,3"},
        // arcs from (X40, Z-45) to (X50, Z-50): R, I/K, both directions, the longer arc for a negative R
        {u"G00 X40. Z-45.|G02 X50. Z-50. R5.", u"C 20,-45>25,-50@25,-45"},
        {u"G00 X40. Z-45.|G03 X50. Z-50. R5.", u"A 20,-45>25,-50@20,-50"},
        {u"G00 X40. Z-45.|G02 X50. Z-50. R-5.", u"C 20,-45>25,-50@20,-50"},
        {u"G00 X40. Z-45.|G02 X50. Z-50. I5.", u"C 20,-45>25,-50@25,-45"},
        {u"G00 X40. Z-45.|G03 X50. Z-50. K-5.", u"A 20,-45>25,-50@20,-50"},
        {u"G00 X40. Z-45.|G03 U10. W-5. K-5.", u"A 20,-45>25,-50@20,-50"},
        // the arc code stays in force for the next line
        {u"G00 X0 Z0|G03 X20. Z-10. R10.|X0 Z-20. R10.", u"A 0,0>10,-10@0,-10; A 10,-10>0,-20@0,-10"},
        // a system that uses G91 for increments: X stays a diameter
        {u"G00 X40. Z5.|G91 G01 X10. Z-5.|G90 X30.", u"F 20,5>25,0; F 25,0>15,0"},
        // inches: every length times 25.4, back to millimetres with G21
        {u"G20|G00 X1. Z0.2|G01 Z-1.|G21 X10.", u"F 12.7,5.08>12.7,-25.4; F 12.7,-25.4>5,-25.4"},
        {u"G20|G00 X2. Z0|G02 X2. Z-1. R0.5", u"C 25.4,0>25.4,-25.4@25.4,-12.7"},
        // a dwell's U or X is a time
        {u"G00 X40. Z5.|G04 U1.5|G04 X2.|G01 Z0", u"F 20,5>20,0"},
        // comments, across lines too, hide their words
        {u"G00 X40. Z5. (X99 Z99)|(G01 X0|Z0)|G01 Z0", u"F 20,5>20,0"},
        // a lone LF is a character inside its line
        {u"G00 X40. Z5.|G01 Z0\nX10.", u"F 20,5>5,0"},
        // the outer diameter cycle: approach, cut, retract, return; its repeat block too
        {u"G00 X62. Z5.|G90 X50. Z-30. F0.2|X45.|G00 X100.",
         u"M 25,-30; R 31,5>25,5; F 25,5>25,-30; F 25,-30>31,-30; R 31,-30>31,5; "
         u"M 22.5,-30; R 31,5>22.5,5; F 22.5,5>22.5,-30; F 22.5,-30>31,-30; R 31,-30>31,5; R 31,5>50,5"},
        // a taper: the cut starts R (a radius) further out
        {u"G00 X62. Z5.|G90 X50. Z-30. R-2. F0.2",
         u"M 25,-30; R 31,5>23,5; F 23,5>25,-30; F 25,-30>31,-30; R 31,-30>31,5"},
        // the face cycle
        {u"G00 X62. Z5.|G94 X20. Z-2. F0.2",
         u"M 10,-2; R 31,5>31,-2; F 31,-2>10,-2; F 10,-2>10,5; R 10,5>31,5"},
        // the thread cycle goes back at rapid rate
        {u"G00 X40. Z5.|G92 X38. Z-20. F1.5",
         u"M 19,-20; R 20,5>19,5; F 19,5>19,-20; R 19,-20>20,-20; R 20,-20>20,5"},
        // a roughing cycle whose profile does not follow it and a finishing cycle with no profile read:
        // markers where the tool stands (the first G71 block only keeps the depth and the retract)
        {u"G00 X62. Z5.|G71 U2. R0.5|G71 P10 Q20 U0.4 W0.1 F0.25|G70 P10 Q20|G00 X100.",
         u"M 31,5; M 31,5; R 31,5>50,5"},
        // a grooving cycle: a marker at its end point, the tool stays
        {u"G00 X40. Z5.|G75 R0.5|G75 X20. Z-10. P2000 Q3000 F0.1|G01 Z0", u"M 20,5; M 10,-10; F 20,5>20,0"},
        // drilling on the face: to the hole at the present level, a marker at the depth
        {u"G00 X0 Z5.|G83 X0 Z-20. R-2. Q5000 F0.1|G80|G00 X50.", u"M 0,-20; R 0,5>25,5"},
        // the first move after the cycle cancel is a rapid
        {u"G00 X40. Z5.|G01 Z0 F0.1|G84 Z-10.|G80|Z5.", u"F 20,5>20,0; M 20,-10; R 20,0>20,5"},
        // G50: the position is renamed, the tool does not move; with S only it is the speed limit
        {u"G50 S2000|G00 X40. Z5.|G50 X100. Z10.|G01 Z0", u"F 50,10>50,0"},
        // a home return without a home position ends at its intermediate point
        {u"G00 X40. Z5.|G28 U10. W0", u"R 20,5>25,5"},
        // program number, block numbers, block delete and a T word change nothing
        {u"%|O1000|N10 G00 X40. Z5.|/N20 G01 Z0 T0101 M08|%", u"F 20,5>20,0"},
    };
    CheckPaths(cases, std::size(cases));
}

TEST(ToolPath, HomeReturnGoesToTheGivenHomePosition)
{
    const Case cases[] = {
        {u"G00 X40. Z5.|G28 U0. W0.", u"R 20,5>400,400"},
        {u"G00 X40. Z5.|G28 U0.", u"R 20,5>400,5"},
        {u"G00 X40. Z5.|G28 X60. W0|G00 X10.", u"R 20,5>30,5; R 30,5>400,400; R 400,400>5,400"},
    };
    PathOptions options;
    options.home = Point3{800, 0, 400};
    CheckPaths(cases, std::size(cases), options);
}

// Mill programs: X and Y are positions, G90/G91 distance modes, arcs in the XY plane with I and J;
// a program with C words and no Y word is the polar pair the XY-CX conversion writes.
TEST(ToolPath, MillPathsAsWorkedByHand)
{
    const Case cases[] = {
        {u"G90 G00 X0 Y0|G01 X10.|G03 X0 Y10. R10.", u"F 0,0>10,0; A 10,0>0,10@0,0"},
        {u"G00 X0 Y10.|G02 X10. Y0 J-10.", u"C 0,10>10,0@0,0"},
        {u"G00 X0 Y10.|G02 X0 Y10. J-10.", u"C 0,10>0,10@0,0"},
        {u"G00 X0 Y0 Z0|G91 G01 X10.|Y5.|G90 X0", u"F 0,0>10,0; F 10,0>10,5; F 10,5>0,5"},
        {u"G00 X0 Y0|G92 X100. Y100.|G01 X110.", u"F 100,100>110,100"},
        {u"G00 X0 Y0 Z10.|G81 X10. Y10. Z-5. R2.|X20.|G80|G00 Z50.",
         u"R 0,0>10,10; M 10,10; R 10,10>20,10; M 20,10; R 20,10>20,10"},
        // C an angle in degrees, X a diameter
        {u"G00 C0 X20.|G01 C90.|X40.", u"F 10,0>0,10; F 0,10>0,20"},
        {u"G00 C0 X20.|G91 G01 C90.|C90.", u"F 10,0>0,10; F 0,10>-10,0"},
        // the inch unit in a mill program
        {u"G20 G00 X0 Y0|G01 X1. Y2.", u"F 0,0>25.4,50.8"},
    };
    CheckPaths(cases, std::size(cases));
}

TEST(ToolPath, ReadsTheProgramAsALatheOrAMillProgram)
{
    struct KindCase
    {
        const char16_t *program;
        MachineKind machine;
        Dialect dialect;
        bool polar;
    } cases[] = {
        {u"G00 X40. Z5.|G01 Z0", MachineKind::Lathe, Dialect::Fanuc, false},
        {u"G00 X0 Y0 Z5.|G01 Z0", MachineKind::Mill, Dialect::Fanuc, false},
        {u"G00 C90. X20.|G01 Z-1.", MachineKind::Mill, Dialect::Fanuc, true},
        {u"NMAX G50 S2000|NT01 G00 X40 Z5", MachineKind::Lathe, Dialect::Osp, false},
        {u"G00 X40 Z5|G02 X50 Z0 L5", MachineKind::Lathe, Dialect::Osp, false},
        // a FANUC macro's comparison is no OSP label
        {u"G00 X40. Z5.|IF[#1NE0]GOTO10|G90 X30. Z-10. F0.2", MachineKind::Lathe, Dialect::Fanuc, false},
        {u"/NT01 G00 X40 Z5", MachineKind::Lathe, Dialect::Osp, false},
        // a Y inside a comment says nothing
        {u"G00 X40. Z5. (Y10.)", MachineKind::Lathe, Dialect::Fanuc, false},
    };
    for (const KindCase &c : cases) {
        const ToolPath path = WalkToolPath(Program(c.program));
        EXPECT_EQ(path.machine, c.machine) << QString::fromUtf16(c.program).toStdString();
        EXPECT_EQ(path.dialect, c.dialect) << QString::fromUtf16(c.program).toStdString();
        EXPECT_EQ(path.polar, c.polar) << QString::fromUtf16(c.program).toStdString();
    }
    PathOptions asMill;
    asMill.machine = MachineKind::Mill;
    const ToolPath forced = WalkToolPath(Program(u"G00 X40. Z5.|G01 X20."), asMill);
    EXPECT_EQ(forced.machine, MachineKind::Mill);
    EXPECT_EQ(Describe(forced), u"F 40,0>20,0");
}

// In OSP the radius of an arc is L, labels are runs of letters, G90 is the absolute mode.
TEST(ToolPath, ReadsTheOspDialect)
{
    const Case cases[] = {
        {u"NMAX G50 S2000|NT01 G00 X40 Z-45 SB=1200|N000 G02 X50 Z-50 L5", u"C 20,-45>25,-50@25,-45"},
        {u"NMAX G50 S2000|N000 G00 X40 Z5|N000 G91 G01 X10 Z-5|N000 G90 X0", u"F 20,5>25,0; F 25,0>0,0"},
        {u"NMAX G50 S2000|N000 G00 X40 Z5|N000 CALL O1234|N000 G01 Z0", u"F 20,5>20,0"},
        // the OSP thread cycle's U is a parameter; its end point is marked
        {u"NMAX G50 S2000|N000 G00 X40 Z5|N000 G71 X38 Z-20 I0 H1 D0.2 B55 U0.01 F1.5|N000 G01 Z0",
         u"M 19,-20; F 20,5>20,0"},
    };
    CheckPaths(cases, std::size(cases));
}

TEST(ToolPath, KeepsTheLineEachSegmentComesFrom)
{
    const QString program = Program(u"%|G00 X40. Z5.|(comment)||G01 Z0|X20.\r|G02 X40. Z-10. R10.");
    const ToolPath path = WalkToolPath(program);
    ASSERT_EQ(path.segments.size(), 3u);
    EXPECT_EQ(path.segments[0].line, 4);
    EXPECT_EQ(path.segments[1].line, 5);
    EXPECT_EQ(path.segments[2].line, 6);
    EXPECT_EQ(FirstSegmentOfLine(path, 5), 1);
    EXPECT_EQ(FirstSegmentOfLine(path, 3), -1);
    EXPECT_EQ(FirstSegmentOfLine(path, 7), -1);

    const std::vector<qsizetype> starts = LineStarts(program);
    ASSERT_EQ(starts.size(), 7u);
    EXPECT_EQ(program.mid(starts[4], 6), u"G01 Z0");
    EXPECT_EQ(program.mid(starts[6]), u"G02 X40. Z-10. R10.");
    EXPECT_EQ(LineStarts(u"A\r\n"), (std::vector<qsizetype>{0, 3}));
    EXPECT_EQ(LineStarts(u"A\nB\rC"), (std::vector<qsizetype>{0}));
}

// Faulty input is counted and skipped; the path goes on from where the program says the tool is.
TEST(ToolPath, CountsWhatItCannotDraw)
{
    struct BadCase
    {
        const char16_t *program;
        const char16_t *path;
        qsizetype unreadable;
        qsizetype absurd;
        qsizetype badArcs;
    } cases[] = {
        {u"G00 X40. Z5.|G01 X#1 Z0", u"F 20,5>20,0", 1, 0, 0},
        {u"G00 X40. Z5.|G01 X100000000. Z0", u"F 20,5>20,0", 0, 1, 0},
        {u"G00 X40. Z5.|G01 X99999999999999999999999999999999999999999. Z0", u"F 20,5>20,0", 0, 1, 0},
        {u"G00 X40. Z5.|G1-2 Z0|G01 X20.", u"R 20,5>20,0; F 20,0>10,0", 1, 0, 0},
        // a radius shorter than half the chord, a centre not equally far from both ends, no centre at all:
        // the tool still ends up at the arc's end
        {u"G00 X0 Z0|G02 X20. Z-20. R1.|G01 Z-30.", u"F 10,-20>10,-30", 0, 0, 1},
        {u"G00 X0 Z0|G02 X20. Z-20. I3.|G01 Z-30.", u"F 10,-20>10,-30", 0, 0, 1},
        {u"G00 X0 Z0|G02 X20. Z-20.|G01 Z-30.", u"F 10,-20>10,-30", 0, 0, 1},
        {u"G00 X0 Z0|G02 X0 Z0 R5.|G01 Z-30.", u"F 0,0>0,-30", 0, 0, 1},
        // a radius a rounding short of half the chord is the half circle
        {u"G00 X0 Z0|G02 X0 Z-20. R9.999", u"C 0,0>0,-20@0,-10", 0, 0, 0},
    };
    for (const BadCase &c : cases) {
        const QString program = Program(c.program);
        const ToolPath path = WalkToolPath(program);
        EXPECT_EQ(Describe(path), QString::fromUtf16(c.path)) << program.toStdString();
        EXPECT_EQ(path.problems.unreadableWords, c.unreadable) << program.toStdString();
        EXPECT_EQ(path.problems.absurdValues, c.absurd) << program.toStdString();
        EXPECT_EQ(path.problems.badArcs, c.badArcs) << program.toStdString();
    }
}

// The arcs' geometry the view and the comparison share.
TEST(ToolPath, ArcGeometry)
{
    struct ArcCase
    {
        const char16_t *program;
        double sweepDegrees;
        double length;
    } cases[] = {
        {u"G00 X0 Y10.|G02 X10. Y0 J-10.", -90, 10 * M_PI / 2},
        {u"G00 X0 Y10.|G03 X10. Y0 J-10.", 270, 10 * 3 * M_PI / 2},
        {u"G00 X0 Y10.|G02 X0 Y10. J-10.", -360, 20 * M_PI},
        {u"G00 X40. Z-45.|G02 X50. Z-50. R5.", -90, 5 * M_PI / 2},
        {u"G00 X40. Z-45.|G02 X50. Z-50. R-5.", -270, 5 * 3 * M_PI / 2},
        // a whole turn of a helix starts and ends at the same angle, at different heights
        {u"G00 X0 Y10. Z0|G02 X0 Y10. Z-5. J-10.", -360, std::hypot(20 * M_PI, 5.)},
        {u"G19 G00 X9. Y0 Z0|G02 X2. J2.", -360, std::hypot(4 * M_PI, 7.)},
        // ends at the start's angle a hundredth nearer the centre: no turn, the helix rises straight
        {u"G19 G00 X1. Y0 Z0|G02 X0 Y0.01 J2.", 0, 1},
    };
    for (const ArcCase &c : cases) {
        const ToolPath path = WalkToolPath(Program(c.program));
        ASSERT_EQ(path.segments.size(), 1u) << QString::fromUtf16(c.program).toStdString();
        const Segment &arc = path.segments[0];
        EXPECT_NEAR(ShapeOf(arc).sweep * 180 / M_PI, c.sweepDegrees, 1e-9);
        EXPECT_NEAR(LengthOf(arc), c.length, 1e-9);
        // its ends and middle are on it, the middle at its radius from the centre; the centre is not
        const Point3 middle = PointAlong(arc, 0.5);
        EXPECT_NEAR(DistanceTo(arc, middle), 0, 1e-9);
        EXPECT_NEAR(DistanceTo(arc, arc.start), 0, 1e-9);
        EXPECT_NEAR(DistanceTo(arc, arc.end), 0, 1e-9);
        EXPECT_GE(DistanceTo(arc, arc.centre), ShapeOf(arc).radius - 1e-9);
        const PlanePoint mid = InPlane(middle, arc.plane);
        const PlanePoint centre = InPlane(arc.centre, arc.plane);
        EXPECT_NEAR(std::hypot(mid.a - centre.a, mid.b - centre.b), ShapeOf(arc).radius, 1e-9);
    }
}

// Every point along an arc lies on it, as the comparison needs to find a path in itself: arcs in every
// plane and direction, of any angles, whose end is off the start's radius by as much as the walk allows,
// and helices, some of a whole turn or of no turn at all.
TEST(ToolPath, PointsAlongAnArcLieOnIt)
{
    const ArcPlane planes[] = {ArcPlane::XY, ArcPlane::ZX, ArcPlane::YZ};
    for (int k = 1; k <= 3000; ++k) {
        Segment arc;
        arc.kind = k % 2 ? SegmentKind::ArcCw : SegmentKind::ArcCcw;
        arc.plane = planes[k % 3];
        const double from = k * 0.37;
        const double to = k % 7 == 0 ? from : k * 0.91;
        const double rise = k % 5 == 0 ? k * 0.01 : 0;
        arc.centre = WithPlane(Point3{3, -4, 5}, PlanePoint{1, 2}, arc.plane);
        arc.start =
            WithPlane(arc.centre, PlanePoint{1 + 100 * std::cos(from), 2 + 100 * std::sin(from)}, arc.plane);
        arc.end = WithPlane(arc.centre, PlanePoint{1 + 100.05 * std::cos(to), 2 + 100.05 * std::sin(to)},
                            arc.plane);
        // the rise goes on the axis across the plane: every axis moves, then the plane's two are put back
        const PlanePoint endInPlane = InPlane(arc.end, arc.plane);
        arc.end =
            WithPlane(Point3{arc.end.x + rise, arc.end.y + rise, arc.end.z + rise}, endInPlane, arc.plane);
        for (const double t : {0.0, 0.25, 0.5, 0.75, 1.0})
            ASSERT_LT(DistanceTo(arc, PointAlong(arc, t)), 1e-6) << "arc " << k << " at " << t;
    }
}

// Machining times worked by hand. The first positioning is not drawn and costs nothing; per revolution
// at 1000 min⁻¹ and F0.1, 100 mm take a minute; under G96 S100 at Ø20 the spindle turns 1000·100/(π·20)
// min⁻¹, so 100 mm take 0.2π minutes; facing Ø40 to the centre under G96 S100 with a limit of 3000
// min⁻¹ takes 5.305/3000 + (20² − 5.305²)/(2·15915.5) minutes at F0.1 (the limit holds below a radius of
// 5.305 mm).
TEST(ToolPath, EstimatesTheMachiningTime)
{
    struct TimeCase
    {
        const char16_t *program;
        double seconds;
        qsizetype untimed;
    } cases[] = {
        {u"G97 S1000 M03|G99|G00 X20. Z0.|G01 Z-100. F0.1|M30", 60, 0},
        {u"G50 S3000|G96 S100 M03|G99|G00 X20. Z0.|G01 Z-100. F0.1|M30", 12 * M_PI, 0},
        // the limit holds over the whole cut
        {u"G50 S1000|G96 S100 M03|G00 X20. Z0.|G01 Z-100. F0.1", 60, 0},
        {u"G50 S3000|G96 S100|G00 X40. Z0.|G01 X0 F0.1",
         60 * (5.30516477 / 3000 + (400 - 5.30516477 * 5.30516477) / (2 * 15915.494309)) / 0.1, 0},
        // the same cut as an arc keeps the radius: a quarter turn of radius 10 about Ø20
        {u"G97 S1000|G00 X20. Z0.|G02 X40. Z-10. R10. F0.1", 60 * (10 * M_PI / 2) / 100, 0},
        // per minute
        {u"G98|G00 X20. Z0.|G01 Z-50. F100", 30, 0},
        {u"G00 X0 Y0|G01 X100. F200", 30, 0},
        // rapids at 20 m/min on every axis at once: the longest travel counts (X as a radius)
        {u"G00 X20. Z0.|X100. Z-200.", 0.6, 0},
        // dwells: U and X in seconds, P in milliseconds; OSP's F in seconds
        {u"G00 X20. Z0.|G04 U1.5|G04 P500|G04 X2.", 4, 0},
        {u"NMAX G50 S2000|N000 G04 F1.5", 1.5, 0},
        // a tool change each time another tool is named
        {u"T0101|G00 X20. Z0.|T0101|T0303", 4, 0},
        {u"NMAX G50 S2000|N000 T010101|N000 T010303", 4, 0},
        // no spindle speed to turn a feed per revolution into time: counted, not timed
        {u"G99|G00 X20. Z0.|G01 Z-50. F0.1", 0, 1},
    };
    for (const TimeCase &c : cases) {
        const ToolPath path = WalkToolPath(Program(c.program));
        EXPECT_NEAR(path.time.Total(), c.seconds, 1e-4) << QString::fromUtf16(c.program).toStdString();
        EXPECT_EQ(path.time.untimedMoves, c.untimed) << QString::fromUtf16(c.program).toStdString();
    }
}

namespace {

// The levels of a cycle that cuts along Z from the start point at radius 31, Z5, worked by hand: in from
// the last level's retract to radius `x` at Z5, the cut to `z`, the retract of `e` at 45° and back to Z5
// at rapid rate; then in to the profile's first point.
QString Levels(std::initializer_list<double> levels, double z, double e)
{
    const auto n = [](double v) { return QString::number(v, 'g', 8); };
    QStringList moves;
    double from = 31;
    for (const double x : levels) {
        moves << u"R %1,5>%2,5; F %2,5>%2,%3; R %2,%3>%4,%5; R %4,%5>%4,5"_qs.arg(n(from), n(x), n(z),
                                                                                  n(x + e), n(z + e));
        from = x + e;
    }
    return moves.join(u"; ") + u"; R "_qs + n(from) + u",5>15.2,5.1; "_qs;
}

} // namespace

// Roughing and finishing cycles worked by hand, in FANUC's words and in the LAP form the translator writes.
// The step Ø62 to Ø30 at Z-20 (U2. R0.5, allowances U0.4 W0.1) is roughed at Ø58, Ø54 ... Ø34, each cut
// ending on the shoulder offset by W (Z-19.9); then the profile offset by U/2 and W, and back to the start
// point. OSP's bar turning cycle makes the same cuts (D4 is a diameter) with its relief of 0.1 and goes
// back Z first.
TEST(ToolPath, ExpandsRoughingAndFinishingCycles)
{
    const Case cases[] = {
        {u"G00 X62. Z5.|G71 U2. R0.5|G71 P10 Q20 U0.4 W0.1 F0.25|N10 G00 X30.|G01 Z-20. F0.15|N20 X62.|"
         u"G00 X100.",
         nullptr},
        {u"NMAX G50 S2000|N000 G00 X62 Z5|G85 NLAP1 D4 U0.4 W0.1 F0.25|NLAP1 G81|G00 X30|G01 Z-20 F0.15|X62|"
         u"G80|G00 X100",
         nullptr},
        // G72 steps in Z: cuts along X towards the centre, the retract at 45° back up and out
        {u"G00 X62. Z2.|G72 W2. R0.5|G72 P10 Q20 U0.4 W0.1 F0.25|N10 G00 Z-10.|G01 X30.|N20 Z2.",
         u"R 31,2>31,0; F 31,0>15.2,0; R 15.2,0>15.7,0.5; R 15.7,0.5>31,0.5; "
         u"R 31,0.5>31,-2; F 31,-2>15.2,-2; R 15.2,-2>15.7,-1.5; R 15.7,-1.5>31,-1.5; "
         u"R 31,-1.5>31,-4; F 31,-4>15.2,-4; R 15.2,-4>15.7,-3.5; R 15.7,-3.5>31,-3.5; "
         u"R 31,-3.5>31,-6; F 31,-6>15.2,-6; R 15.2,-6>15.7,-5.5; R 15.7,-5.5>31,-5.5; "
         u"R 31,-5.5>31,-8; F 31,-8>15.2,-8; R 15.2,-8>15.7,-7.5; R 15.7,-7.5>31,-7.5; "
         u"R 31,-7.5>31.2,-9.9; F 31.2,-9.9>15.2,-9.9; F 15.2,-9.9>15.2,2.1; R 15.2,2.1>31,2"},
        // G73: the profile three times, shifted by the relief (U3. a radius, W1.) shrinking to nothing
        {u"G00 X62. Z5.|G73 U3. W1. R3|G73 P10 Q20 U0.4 W0.1 F0.25|N10 G00 X30. Z0.|G01 Z-20.|N20 X60.",
         u"R 31,5>18.2,1.1; F 18.2,1.1>18.2,-18.9; F 18.2,-18.9>33.2,-18.9; R 33.2,-18.9>31,5; "
         u"R 31,5>16.7,0.6; F 16.7,0.6>16.7,-19.4; F 16.7,-19.4>31.7,-19.4; R 31.7,-19.4>31,5; "
         u"R 31,5>15.2,0.1; F 15.2,0.1>15.2,-19.9; F 15.2,-19.9>30.2,-19.9; R 30.2,-19.9>31,5"},
        // G70 and G87 follow the profile read before them and go back: FANUC at once, OSP Z first
        {u"G00 X62. Z5.|G70 P10 Q20", nullptr},
    };
    const QString fanucRoughing = Levels({29, 27, 25, 23, 21, 19, 17}, -19.9, 0.5) +
                                  u"F 15.2,5.1>15.2,-19.9; F 15.2,-19.9>31.2,-19.9; R 31.2,-19.9>31,5; "
                                  u"R 31,5>50,5"_qs;
    const QString ospRoughing = Levels({29, 27, 25, 23, 21, 19, 17}, -19.9, 0.1) +
                                u"F 15.2,5.1>15.2,-19.9; F 15.2,-19.9>31.2,-19.9; R 31.2,-19.9>31.2,5; "
                                u"R 31.2,5>31,5; R 31,5>50,5"_qs;
    CheckPaths(&cases[2], 2);
    for (const auto &[program, path] :
         {std::pair{cases[0].program, fanucRoughing}, std::pair{cases[1].program, ospRoughing}}) {
        const ToolPath walked = WalkToolPath(Program(program));
        EXPECT_EQ(Describe(walked), path) << QString::fromUtf16(program).toStdString();
        EXPECT_TRUE(walked.refusedCycles.empty());
        // every pass belongs to the cycle's block; the profile's lines draw nothing of their own
        EXPECT_EQ(std::count_if(walked.segments.begin(), walked.segments.end(),
                                [](const Segment &s) { return s.line != 2; }),
                  1);
    }

    const auto finishing = [](const char16_t *program, std::int32_t line) {
        ToolPath path = WalkToolPath(Program(program));
        std::erase_if(path.segments, [&](const Segment &s) { return s.line != line; });
        return Describe(path);
    };
    EXPECT_EQ(finishing(u"G00 X62. Z5.|G71 U2. R0.5|G71 P10 Q20 U0.4 W0.1 F0.25|N10 G00 X30.|G01 Z-20.|"
                        u"G02 X40. Z-25. R5.|N20 G01 X62.|G00 X100. Z50.|G00 X62. Z5.|G70 P10 Q20",
                        9),
              u"R 31,5>15,5; F 15,5>15,-20; C 15,-20>20,-25@20,-20; F 20,-25>31,-25; R 31,-25>31,5");
    EXPECT_EQ(finishing(u"NMAX G50 S2000|N000 G00 X62 Z5|NLAP1 G81|G00 X30|G01 Z-20|X62|G80|G87 NLAP1", 7),
              u"R 31,5>15,5; F 15,5>15,-20; F 15,-20>31,-20; R 31,-20>31,5");
    // a pocket (type II: the profile's first block gives X and Z): the level of Ø46 cuts to where the
    // profile rises through it, retracts, and cuts again from where it falls below it to the shoulder
    const QString pocket = Describe(WalkToolPath(
        Program(u"G00 X62. Z5.|G71 U2. R0.5|G71 P10 Q20 U0.4 W0.1 F0.25|N10 G00 X30. Z5.|G01 Z-10.|"
                u"X50. Z-20.|X40. Z-30.|Z-40.|N20 X62.")));
    EXPECT_TRUE(pocket.contains(u"F 23,5>23,-17.7; R 23,-17.7>23.5,-17.2; R 23.5,-17.2>23.5,-24.3; "
                                u"F 23.5,-24.3>23,-24.3; F 23,-24.3>23,-39.9;"))
        << pocket.toStdString();
}

// Cycles the rules refuse are a marker where the tool stands and a reason with their line; the lines of
// a profile that never ended are walked as they stand.
TEST(ToolPath, RefusesCyclesItCannotExpand)
{
    struct RefusalCase
    {
        const char16_t *program;
        const char16_t *path;
        std::int32_t line;
        CycleRefusal reason;
    } cases[] = {
        {u"G00 X62. Z5.|G71 U2. R0.5|G71 P10 Q20 U0.4 W0.1|G01 X30.", u"M 31,5; F 31,5>15,5", 2,
         CycleRefusal::ProfileNotFound},
        {u"G00 X62. Z5.|G71 U2. R0.5|G71 P10 Q20|N10 G00 X30.|G01 Z-20.",
         u"M 31,5; R 31,5>15,5; F 15,5>15,-20", 2, CycleRefusal::ProfileNotFound},
        // type I: the profile must not turn back in X
        {u"G00 X62. Z5.|G71 U2. R0.5|G71 P10 Q20|N10 G00 X30.|G01 Z-20.|X20. Z-30.|N20 X62.", u"M 31,5", 2,
         CycleRefusal::NotMonotonic},
        {u"G00 X62. Z5.|G70 P10 Q20", u"M 31,5", 1, CycleRefusal::NoProfile},
        {u"NMAX G50 S2000|N000 G00 X62 Z5|G87 NLAP2", u"M 31,5", 2, CycleRefusal::NoProfile},
        {u"G00 X62. Z5.|G71 P10 Q20|N10 G00 X30.|N20 G01 Z-20.", u"M 31,5", 1, CycleRefusal::NoDepth},
        {u"G00 X62. Z5.|G71 U0.001 R0.5|G71 P10 Q20|N10 G00 X30.|N20 G01 Z-20.", u"M 31,5", 2,
         CycleRefusal::TooManyPasses},
        {u"G71 U2. R0.5|G71 P10 Q20|N10 G00 X30.|N20 G01 Z-20.", u"", 1, CycleRefusal::StartUnknown},
    };
    for (const RefusalCase &c : cases) {
        const ToolPath path = WalkToolPath(Program(c.program));
        EXPECT_EQ(Describe(path), QString::fromUtf16(c.path)) << QString::fromUtf16(c.program).toStdString();
        ASSERT_EQ(path.refusedCycles.size(), 1u) << QString::fromUtf16(c.program).toStdString();
        EXPECT_EQ(path.refusedCycles[0].line, c.line);
        EXPECT_EQ(path.refusedCycles[0].reason, c.reason) << QString::fromUtf16(c.program).toStdString();
    }
    // a profile that never ends holds a cycle that waits in turn when the program ends
    const ToolPath nested =
        WalkToolPath(Program(u"G00 X62. Z5.|G71 U2. R0.5|G71 P10 Q20|N10 G00 X30.|G71 P30 Q40"));
    EXPECT_EQ(Describe(nested), u"M 31,5; R 31,5>15,5; M 15,5");
    ASSERT_EQ(nested.refusedCycles.size(), 2u);
    EXPECT_EQ(nested.refusedCycles[1].line, 4);
}
