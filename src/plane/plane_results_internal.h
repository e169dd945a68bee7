// Small helpers shared by the equation builders, the result sections and the
// statistics of the plane computation: the constants and equation rows of the
// observations at the model's current coordinates.
#pragma once

#include <vector>

#include "geodesy/angles.h"
#include "plane/plane_adjustment.h"
#include "plane/plane_model.h"

namespace qp {

// An angle difference in radians brought into [-pi, pi].
inline double FoldAngle(double a) {
  if (a > kPi) a -= 2.0 * kPi;
  if (a < -kPi) a += 2.0 * kPi;
  return a;
}

inline const char* NameOf(const PlaneModel& m, int p) { return m.points[p].name.c_str(); }

inline double AzimuthBetween(const PlaneModel& m, int a, int b) {
  const PlanePoint& p = m.points[a];
  const PlanePoint& q = m.points[b];
  return AzimuthOf(p.x, p.y, q.x, q.y);
}
inline double DistanceBetween(const PlaneModel& m, int a, int b) {
  const PlanePoint& p = m.points[a];
  const PlanePoint& q = m.points[b];
  return DistanceOf(p.x, p.y, q.x, q.y);
}

// Constant of an azimuth from u to v (seconds).
inline double AzimuthConstant(const PlaneModel& m, int u, int v, double observedDms) {
  return FoldAngle(AzimuthBetween(m, u, v) - DmsToRadians(observedDms)) * kRhoSeconds;
}

// Constant of a distance from u to v (cm): the computed distance minus the
// observed one.
inline double DistanceConstant(const PlaneModel& m, int u, int v, double observed) {
  return (DistanceBetween(m, u, v) - observed) * 100.0;
}

// One direction of an oriented set: its entry in PlaneModel::directions, its
// target and its constant (seconds), the computed direction reduced to the
// set's first direction minus the observed one.
struct SetDirection {
  int entry = 0;
  int target = 0;
  double constant = 0.0;
};

// The directions of a station's set as the equations, the results and the
// statistics take them: those aimed at points of the table, in a set whose
// first direction is aimed at one (the azimuth that orients the set). Empty
// for any other set.
std::vector<SetDirection> OrientedSetDirections(const PlaneModel& m, const PlaneDirectionSet& set);

// The equation of an azimuth or a length from a to b at the current
// coordinates: coefficients at (a.dX, a.dY, b.dX, b.dY), in seconds or
// centimetres per cm, and their unknowns (-1 for those of a known point).
struct PairEquation {
  double c[4];
  int k[4];
};
PairEquation AngleEquation(const PlaneModel& m, int a, int b);
PairEquation LengthEquation(const PlaneModel& m, int a, int b);

}  // namespace qp
