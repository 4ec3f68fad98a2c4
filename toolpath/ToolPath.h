#pragma once

#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

namespace toolpath {

// A position in millimetres in the work's own axes. On a lathe `x` is the radius (the program's X is a
// diameter), so that a plot of Z against x shows the part's true profile.
struct Point3
{
    double x = 0;
    double y = 0;
    double z = 0;

    bool operator==(const Point3 &) const = default;
};

enum class SegmentKind : unsigned char
{
    Rapid,  // G00 and every positioning the control makes at rapid rate (home returns, cycle returns)
    Feed,   // G01, thread cutting, the cutting strokes of a turning cycle
    ArcCw,  // G02: clockwise seen from the positive end of the plane's third axis
    ArcCcw, // G03
    Cycle,  // a canned cycle drawn by its programmed end point only: a marker at `end`
};

// The plane of an arc, named by the G code that selects it; its two axes in the order that makes G02
// clockwise: G17 (x, y), G18 (z, x), G19 (y, z).
enum class ArcPlane : unsigned char
{
    XY = 17,
    ZX = 18,
    YZ = 19,
};

struct Segment
{
    Point3 start;
    Point3 end;
    Point3 centre;         // arcs only
    std::int32_t line = 0; // 0-based number of the program line (lines end at CR LF) it comes from
    SegmentKind kind = SegmentKind::Feed;
    ArcPlane plane = ArcPlane::ZX;

    bool IsArc() const { return kind == SegmentKind::ArcCw || kind == SegmentKind::ArcCcw; }
};

// How the words of a program are read. A lathe program (FANUC or the OSP output of the translator) has
// X as a diameter and U/W as increments, and its G90/G92/G94 are turning cycles unless the program also
// uses G91; a mill program has G90/G91 as distance modes and G92 as a coordinate setting, and when it
// gives C words and no Y word its X and C are the polar pair the XY-CX conversion writes (C an angle in
// degrees, X a diameter).
enum class MachineKind : unsigned char
{
    Automatic,
    Lathe,
    Mill,
};

enum class Dialect : unsigned char
{
    Fanuc,
    Osp,
};

struct PathOptions
{
    MachineKind machine = MachineKind::Automatic;
    // Where G28/G30 take the axes they name, in the program's own terms (X a diameter on a lathe), in
    // millimetres; without it a home return ends at its intermediate point.
    std::optional<Point3> home;
};

// What could not be drawn, by cause; the path goes on after each.
struct PathProblems
{
    qsizetype unreadableWords = 0; // an axis word without a value the scanner can read
    qsizetype absurdValues = 0;    // not finite, or beyond a metre times a thousand
    qsizetype badArcs = 0;         // radius too small for the chord, or centre not at the same distance
                                   // from both ends, or neither radius nor centre given

    qsizetype Total() const { return unreadableWords + absurdValues + badArcs; }
};

// Why a roughing or finishing cycle could not be expanded into its passes; it is drawn as a marker.
enum class CycleRefusal : unsigned char
{
    None,
    ProfileNotFound, // the P..Q blocks or the labelled contour did not follow, or did not end
    NotMonotonic,    // a type I profile that turns back in X or Z
    NoProfile,       // a finishing cycle with no profile read before it
    NoDepth,         // no depth of cut, or no number of divisions
    TooManyPasses,   // more passes than one cycle may make
    StartUnknown,    // the tool's position is not known where the cycle starts
};

struct RefusedCycle
{
    std::int32_t line = 0; // 0-based, the cycle's block
    CycleRefusal reason = CycleRefusal::None;
};

// What the program's run is estimated to take, in seconds. Feed moves go at their feed: per minute
// (G98, or G94 where it is no turning cycle), or per revolution (G99, G95) at the spindle speed in force,
// which under G96 follows the diameter up to the G50 S limit (TopSpindleSpeed without one). Rapid moves go
// at RapidRate on every axis at once, so a rapid takes as long as its longest axis travel; a dwell takes
// its time; a T word that names another tool takes ToolChangeSeconds.
struct MachiningTime
{
    static constexpr double RapidRate = 20000; // mm/min, every axis
    static constexpr double ToolChangeSeconds = 2;
    static constexpr double TopSpindleSpeed = 6000; // min⁻¹

    double cutting = 0;
    double rapid = 0;
    double dwell = 0;
    double toolChanges = 0;
    qsizetype untimedMoves = 0; // feed moves with no feed or no spindle speed to time them by

    double Total() const { return cutting + rapid + dwell + toolChanges; }
};

struct ToolPath
{
    std::vector<Segment> segments;            // in program order, so their line numbers never decrease
    MachineKind machine = MachineKind::Lathe; // what the program was read as
    Dialect dialect = Dialect::Fanuc;
    PathProblems problems;
    std::vector<RefusedCycle> refusedCycles;
    MachiningTime time;
    bool polar = false; // X and C read as the polar pair

    // The default view: Z against X for a lathe program, X against Y for a mill program.
    bool PlotsXz() const { return machine == MachineKind::Lathe; }
};

// Walks `program` line by line as the conversions do and returns the tool's path.
ToolPath WalkToolPath(QStringView program, const PathOptions &options = {});

// The position named by a line of axis words such as the translator's table gives for the home position
// ("X800 Z400"), in the program's own terms; nothing when the text names no axis.
std::optional<Point3> PositionOfWords(QStringView words);

// The 0-based offsets where each line of `program` starts (lines end at CR LF); the first is 0.
std::vector<qsizetype> LineStarts(QStringView program);

// The index of the first segment drawn from `line`, or -1.
qsizetype FirstSegmentOfLine(const ToolPath &path, std::int32_t line);

} // namespace toolpath
