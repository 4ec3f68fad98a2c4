#pragma once

#include "toolpath/LineWords.h"
#include "toolpath/ToolPath.h"

namespace toolpath {

// How the words of the program are to be understood, settled before the path is built.
struct ReadingRules
{
    MachineKind machine = MachineKind::Lathe;
    Dialect dialect = Dialect::Fanuc;
    bool polar = false;        // X and C are the polar pair (mill only)
    bool turningCycles = true; // G90, G92 and G94 are the lathe's turning cycles
    std::optional<Point3> home;
};

// Turns the words of each line into segments, keeping the modal state between lines.
class PathBuilder
{
public:
    PathBuilder(const ReadingRules &rules, ToolPath &path);

    void AddLine(const LineWords &words, std::int32_t line);

private:
    // The axis values as the program writes them, in millimetres (X a diameter on a lathe and in the
    // polar pair, C in degrees), and whether each has been given yet.
    struct Programmed
    {
        double x = 0, y = 0, z = 0, c = 0;
        bool knownX = false, knownY = false, knownZ = false, knownC = false;
    };

    enum class LineAction
    {
        Move,         // the modal motion or cycle
        Nothing,      // the axis words are not positions (dwell, macro arguments, cycle parameters)
        HomeReturn,   // G28, G30
        SetPosition,  // G50 or (on a mill) G92: the position is renamed, the tool does not move
        MarkHere,     // a cycle whose words are parameters: a marker where the tool stands
        MarkEndPoint, // a one-shot cycle with an end point: a marker there, the tool stays
    };

    LineAction ReadGCodes(const LineWords &words);
    // `increments`: U and W move from the last position (on a lathe); the OSP cycles use them otherwise.
    Programmed Target(const LineWords &words, bool increments = true) const;
    Point3 PointOf(const Programmed &p) const;
    bool MovedAxesKnown(const Programmed &target) const;
    double Length(double value) const { return value * m_unit; }

    void Move(const Programmed &target, const LineWords &words);
    void Straight(const Programmed &target, SegmentKind kind);
    void Arc(const Programmed &target, const LineWords &words);
    void TurningCycle(const Programmed &given, const LineWords &words);
    void DrillingCycle(const Programmed &target);
    void HomeReturn(const Programmed &target, const LineWords &words);
    void Mark(const Point3 &start, const Point3 &end);
    void Add(const Point3 &start, const Point3 &end, SegmentKind kind, const Point3 &centre = {});

    ReadingRules m_rules;
    ToolPath &m_path;
    std::int32_t m_line = 0;
    Programmed m_at;
    double m_unit = 1; // millimetres per program unit
    bool m_incremental = false;
    int m_motion = 0;            // 0 rapid, 1 feed, 2 and 3 arcs
    int m_cycle = 0;             // the modal cycle in force (90, 92, 94, drilling codes), 0 for none
    bool m_cycleStarted = false; // the cycle's G code stands on this line
    double m_cycleTaper = 0;
    Programmed m_cycleEnd; // the end point of the turning cycle's last block
    ArcPlane m_plane;
};

} // namespace toolpath
