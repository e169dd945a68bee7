// Angles in D.MS notation, plane azimuths and distances.
//
// A D.MS value is one double whose integer part is degrees, the first two
// decimals minutes and the rest seconds with their decimals: 45.302512 is
// 45°30'25.12". The sign belongs to the whole number. Minutes or seconds of 60
// and more are not rejected; they are simply summed (10.5960 is 11°).
//
// The conversions carry small guard constants so that values typed with a
// finite number of decimals survive the round trip through radians; the
// reports are printed from these exact results, so the arithmetic below is
// kept in its fixed evaluation order.
#pragma once

namespace qp {

// The double nearest to pi.
inline constexpr double kPi = 3.141592653589793;
// Seconds of arc per radian, as used in the network reductions and reports.
inline constexpr double kRhoSeconds = 206264.8;
// Seconds of arc per radian, rounded, as used for triangle closures.
inline constexpr double kRhoSecondsRounded = 206265.0;
// Earth radius of the plane distance reductions, in metres.
inline constexpr double kEarthRadius = 6373000.0;

// D.MS to radians. Converting and converting back returns the value plus
// about 1.03e-10 (45.302512 -> 45.3025120001) because of the guard constants.
double DmsToRadians(double dms);

// Radians to D.MS. No carry is applied: seconds that come out as 59.9999999
// stay so, and 0 rad gives about 1.03e-10.
double RadiansToDms(double rad);

// Plane azimuth from point 1 to point 2, clockwise from +X (north) towards +Y
// (east), in radians in [0, 2*pi). Identical points give 0.
double AzimuthOf(double x1, double y1, double x2, double y2);

// Plane distance between point 1 and point 2, in metres.
double DistanceOf(double x1, double y1, double x2, double y2);

}  // namespace qp
