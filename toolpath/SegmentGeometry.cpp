#include "toolpath/SegmentGeometry.h"

#include <algorithm>
#include <cmath>

namespace toolpath {
namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double SamePoint = 1e-7;

// The third axis of the arc's plane, which a helix moves along.
double Across(const Point3 &p, ArcPlane plane)
{
    return plane == ArcPlane::XY ? p.z : plane == ArcPlane::ZX ? p.y : p.x;
}

Point3 WithAcross(Point3 p, double value, ArcPlane plane)
{
    (plane == ArcPlane::XY ? p.z : plane == ArcPlane::ZX ? p.y : p.x) = value;
    return p;
}

double Distance(const Point3 &a, const Point3 &b)
{
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

} // namespace

PlanePoint InPlane(const Point3 &p, ArcPlane plane)
{
    switch (plane) {
    case ArcPlane::XY:
        return {p.x, p.y};
    case ArcPlane::YZ:
        return {p.y, p.z};
    case ArcPlane::ZX:
        break;
    }
    return {p.z, p.x};
}

Point3 WithPlane(Point3 p, PlanePoint q, ArcPlane plane)
{
    switch (plane) {
    case ArcPlane::XY:
        p.x = q.a;
        p.y = q.b;
        break;
    case ArcPlane::YZ:
        p.y = q.a;
        p.z = q.b;
        break;
    case ArcPlane::ZX:
        p.z = q.a;
        p.x = q.b;
        break;
    }
    return p;
}

ArcShape ShapeOf(const Segment &arc)
{
    ArcShape shape;
    shape.centre = InPlane(arc.centre, arc.plane);
    const PlanePoint s = InPlane(arc.start, arc.plane);
    const PlanePoint e = InPlane(arc.end, arc.plane);
    shape.radius = std::hypot(s.a - shape.centre.a, s.b - shape.centre.b);
    shape.startAngle = std::atan2(s.b - shape.centre.b, s.a - shape.centre.a);
    const double endAngle = std::atan2(e.b - shape.centre.b, e.a - shape.centre.a);
    const bool whole = std::hypot(e.a - s.a, e.b - s.b) <= SamePoint;
    double ccw = endAngle - shape.startAngle;
    while (ccw <= 0)
        ccw += 2 * Pi;
    while (ccw > 2 * Pi)
        ccw -= 2 * Pi;
    if (whole)
        ccw = 2 * Pi;
    if (arc.kind == SegmentKind::ArcCcw)
        shape.sweep = ccw;
    else
        shape.sweep = whole ? -2 * Pi : -(2 * Pi - ccw);
    return shape;
}

Point3 PointAlong(const Segment &segment, double t)
{
    if (segment.kind == SegmentKind::Cycle)
        return segment.end;
    if (!segment.IsArc())
        return {segment.start.x + (segment.end.x - segment.start.x) * t,
                segment.start.y + (segment.end.y - segment.start.y) * t,
                segment.start.z + (segment.end.z - segment.start.z) * t};
    const ArcShape shape = ShapeOf(segment);
    const double angle = shape.startAngle + shape.sweep * t;
    const PlanePoint q{shape.centre.a + shape.radius * std::cos(angle),
                       shape.centre.b + shape.radius * std::sin(angle)};
    const double s = Across(segment.start, segment.plane);
    const double e = Across(segment.end, segment.plane);
    return WithAcross(WithPlane(segment.start, q, segment.plane), s + (e - s) * t, segment.plane);
}

double LengthOf(const Segment &segment)
{
    if (segment.kind == SegmentKind::Cycle)
        return 0;
    if (!segment.IsArc())
        return Distance(segment.start, segment.end);
    const ArcShape shape = ShapeOf(segment);
    const double rise = Across(segment.end, segment.plane) - Across(segment.start, segment.plane);
    return std::hypot(std::fabs(shape.sweep) * shape.radius, rise);
}

double DistanceTo(const Segment &segment, const Point3 &p)
{
    if (segment.kind == SegmentKind::Cycle)
        return Distance(segment.end, p);
    if (!segment.IsArc()) {
        const Point3 &a = segment.start;
        const Point3 &b = segment.end;
        const double dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
        const double squared = dx * dx + dy * dy + dz * dz;
        const double t =
            squared > 0
                ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy + (p.z - a.z) * dz) / squared, 0.0, 1.0)
                : 0.0;
        return Distance(PointAlong(segment, t), p);
    }
    const ArcShape shape = ShapeOf(segment);
    const PlanePoint q = InPlane(p, segment.plane);
    double angle = std::atan2(q.b - shape.centre.b, q.a - shape.centre.a) - shape.startAngle;
    // the point's angle measured from the start in the arc's direction
    if (shape.sweep < 0)
        angle = -angle;
    while (angle < 0)
        angle += 2 * Pi;
    while (angle >= 2 * Pi)
        angle -= 2 * Pi;
    const double sweep = std::fabs(shape.sweep);
    // beyond the sweep the nearer end by angle: the arc's own end point lies a rounding past it
    const double t = angle <= sweep ? angle / sweep : angle - sweep < 2 * Pi - angle ? 1 : 0;
    double nearest = std::min(Distance(segment.start, p), Distance(segment.end, p));
    nearest = std::min(nearest, Distance(PointAlong(segment, sweep > 0 ? t : 0), p));
    // on a helix the height tells how far along a point is where its angle cannot: a whole turn starts
    // and ends at one angle, and an arc of no sweep rises straight up
    const double from = Across(segment.start, segment.plane);
    const double rise = Across(segment.end, segment.plane) - from;
    if (rise != 0) {
        const double along = std::clamp((Across(p, segment.plane) - from) / rise, 0.0, 1.0);
        nearest = std::min(nearest, Distance(PointAlong(segment, along), p));
    }
    return nearest;
}

} // namespace toolpath
