#pragma once

#include "toolpath/ToolPath.h"

#include <vector>

namespace toolpath {

// The passes a lathe's roughing and finishing cycles make over a profile, worked out from the profile's
// segments (lengths in millimetres, X as a radius, as the walk gives them). The profile's first segment is
// the move from the cycle's start point to the profile's first point (A to A'); the rest is the shape.

// One move of a cycle: from where the move before it ended.
struct CycleMove
{
    Point3 end;
    SegmentKind kind = SegmentKind::Feed;
    Point3 centre;    // arcs
    int profile = -1; // the profile segment it follows, or -1 for a move of the cycle's own
};

// No cycle makes more passes than this: a depth of cut typed a thousand times too small is refused, not
// walked for minutes.
constexpr int MaxCyclePasses = 1000;

// How the control ends a cycle: FANUC goes back to the start point at rapid rate in one move; OSP's LAP
// moves Z to the start point's Z, then X.
enum class CycleReturn : unsigned char
{
    Straight,
    ZThenX,
};

// G71/G72 (FANUC), G85 (OSP): cuts parallel to one axis at levels a depth apart, each up to the profile
// offset by the allowances, a retract at 45°, back at rapid rate; then one pass along the offset profile.
struct RoughingCycle
{
    bool alongZ = true;    // G71/G81: levels in X, cuts along Z; G72/G82: levels in Z, cuts along X
    double depth = 0;      // between levels, along the level axis (a radius for X)
    double retract = 0;    // e (FANUC R), the relief (OSP), at 45° away from the cut
    double allowanceX = 0; // a radius
    double allowanceZ = 0;
    bool pockets = false; // type II: the profile may turn back in the level axis
    CycleReturn back = CycleReturn::Straight;
};

// G73 (FANUC): the profile R times, shifted by the relief shrinking to nothing over the divisions, each
// pass from the start point and back; G86 (OSP): the same at levels D apart, each shift worked out by the
// manual's formula for the Nth pass.
struct PatternCycle
{
    bool byDivisions = true; // G73: `divisions` passes; G86: passes `depth` apart
    int divisions = 0;
    double reliefX = 0, reliefZ = 0; // G73 (X a radius)
    double depth = 0;                // G86, along the level axis (a radius for X)
    bool alongZ = true;              // G86 with G81 (levels in X) or G82 (levels in Z)
    double allowanceX = 0, allowanceZ = 0;
    CycleReturn back = CycleReturn::Straight;
};

CycleRefusal PlanRoughing(const Point3 &start, const std::vector<Segment> &profile,
                          const RoughingCycle &cycle, std::vector<CycleMove> &moves);
CycleRefusal PlanPattern(const Point3 &start, const std::vector<Segment> &profile, const PatternCycle &cycle,
                         std::vector<CycleMove> &moves);
// G70/G87: along the profile as it stands, then back to the start point.
void PlanFinishing(const Point3 &start, const std::vector<Segment> &profile, CycleReturn back,
                   std::vector<CycleMove> &moves);

} // namespace toolpath
