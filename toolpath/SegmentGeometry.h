#pragma once

#include "toolpath/ToolPath.h"

namespace toolpath {

// A point in the two axes of an arc plane, in the order that makes G02 clockwise: G17 (x, y), G18 (z, x),
// G19 (y, z). The plot views use the same order: Z across and X up, or X across and Y up.
struct PlanePoint
{
    double a = 0;
    double b = 0;
};

PlanePoint InPlane(const Point3 &p, ArcPlane plane);
// `p` with its two plane coordinates replaced.
Point3 WithPlane(Point3 p, PlanePoint q, ArcPlane plane);

// An arc in its plane: angles in radians from the plane's first axis, the sweep positive
// counter-clockwise; a whole turn when the arc ends where it starts.
struct ArcShape
{
    PlanePoint centre;
    double radius = 0;
    double startAngle = 0;
    double sweep = 0;
};

ArcShape ShapeOf(const Segment &arc);
// The point a fraction `t` (0 to 1) along the segment; a marker is its end point.
Point3 PointAlong(const Segment &segment, double t);
double LengthOf(const Segment &segment);
// The distance from `p` to the nearest point of the segment.
double DistanceTo(const Segment &segment, const Point3 &p);

} // namespace toolpath
