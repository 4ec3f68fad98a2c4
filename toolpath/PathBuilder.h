#pragma once

#include "toolpath/CyclePasses.h"
#include "toolpath/LineWords.h"
#include "toolpath/ToolPath.h"

#include <vector>

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
    // The program has ended: a cycle still waiting for its profile is refused, and the lines it held are
    // walked as they stand.
    void Finish();

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
        Cycle,        // a roughing or finishing cycle over a profile (FANUC G70-G73, OSP G85-G87)
        Contour,      // an OSP contour definition starts (a labelled G81 or G82 line)
    };

    struct ProfileLine
    {
        LineWords words;
        std::int32_t line = 0;
    };

    // The blocks of a profile: FANUC's N P to N Q, or OSP's labelled G81/G82 line up to G80. The last few
    // are kept for the finishing cycles that name them later.
    struct Profile
    {
        double p = 0, q = 0;     // FANUC
        std::uint64_t label = 0; // OSP
        bool transverse = false; // OSP G82
        std::vector<ProfileLine> lines;
    };

    // A cycle whose profile follows it, or an OSP contour definition, while its lines are read.
    struct PendingCycle
    {
        int code = 0; // the cycle's G code; 81 for a contour definition without a call
        std::int32_t line = 0;
        LineWords words;
        Profile profile;
        bool reading = false; // the profile's first line has come
    };

    // What the time of a feed move depends on, kept from line to line.
    struct Cutting
    {
        double feed = 0;           // mm/min, or mm per revolution
        bool perRevolution = true; // a lathe starts in G99, a mill in G94
        double speed = 0;          // min⁻¹ (G97)
        bool constantSurface = false;
        double surfaceSpeed = 0; // m/min (G96)
        double speedLimit = 0;   // G50 S, 0 for none
        double tool = -1;        // the tool number last named
    };

    LineAction ReadGCodes(const LineWords &words);
    void ReadCuttingWords(const LineWords &words);
    void Dwell(const LineWords &words);
    double FeedSeconds(const Segment &s) const;
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
    void StartCycle(const LineWords &words);
    void ContinueCycle(const LineWords &words, std::int32_t line);
    void EndPending(bool profileComplete);
    const Profile *FindProfile(const PendingCycle &cycle) const;
    void KeepProfile(Profile profile);
    void Expand(const PendingCycle &cycle, const Profile &profile);
    bool ProfileSegments(const Profile &profile, std::vector<Segment> &segments, std::vector<double> &feeds);
    void Refuse(std::int32_t line, CycleRefusal reason);
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
    Cutting m_cutting;
    bool m_dwell = false; // G04 stands on this line
    int m_lineCycle = 0;  // the cycle's G code on this line

    PendingCycle m_pending;
    bool m_pendingActive = false;
    std::vector<Profile> m_profiles;
    // FANUC's first cycle blocks: G71 U (depth, a radius) R (retract), G72 W R, G73 U W R (divisions).
    double m_g71Depth = 0, m_g71Retract = 0;
    double m_g72Depth = 0, m_g72Retract = 0;
    double m_g73ReliefX = 0, m_g73ReliefZ = 0, m_g73Divisions = 0;
    bool m_profileMode = false;             // walking a profile for a cycle: no cycle starts inside it
    std::vector<double> *m_feeds = nullptr; // the feed each segment is added at, when wanted
};

} // namespace toolpath
