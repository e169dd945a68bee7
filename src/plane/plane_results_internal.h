// Small helpers shared by the equation builders and the result sections of
// the plane computation.
#pragma once

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "common/name_slot.h"
#include "geodesy/angles.h"
#include "plane/network_geometry.h"
#include "plane/plane_network.h"

namespace qp {

// First unknown (dX) of point p; -1 for a known point.
inline int UnknownIndexOf(const PlaneNetwork& net, int p) { return p < net.knownCount ? -1 : 2 * (p - net.knownCount); }

inline std::string PointNameOf(const PlaneNetwork& net, int p) { return std::string(SlotText(net.pointName[p])); }

// The range of the DirectionTable holding the direction set of point p.
struct DirectionSetRange {
  int begin = 0;
  int end = 0;
};
inline DirectionSetRange DirectionSetOf(const PlaneNetwork& net, int p) {
  const int begin = std::clamp(net.setStart[p], 0, kMaxDirections);
  const int end = std::clamp(net.setStart[p + 1], begin, kMaxDirections);
  return {begin, end};
}

// The direction set of a station as the equations and the result section
// take it: two directions or more, the first aimed at a point of the list,
// whose azimuth orients the set. nullopt for any other set.
struct OrientedDirectionSet {
  int begin = 0;
  int end = 0;
  double orientation = 0.0;  // radians
};
inline std::optional<OrientedDirectionSet> OrientedDirectionSetOf(const PlaneNetwork& net,
                                                                  const PointNameIndex& names, int station) {
  const DirectionSetRange range = DirectionSetOf(net, station);
  if (range.end - range.begin < 2) return std::nullopt;
  const int first = names.Find(SlotText(net.directionTarget[range.begin]));
  if (first < 0) return std::nullopt;
  return OrientedDirectionSet{range.begin, range.end,
                              AzimuthOf(net.x[station], net.y[station], net.x[first], net.y[first])};
}

// An angle difference in radians brought into [-pi, pi].
inline double FoldAngle(double a) {
  if (a > kPi) a -= 2.0 * kPi;
  if (a < -kPi) a += 2.0 * kPi;
  return a;
}

// Constant of a direction (seconds): the computed direction reduced to the
// set's first direction minus the observed one.
inline double DirectionConstant(const PlaneNetwork& net, int station, int target, double orientation,
                                double observedDms) {
  const double a = AzimuthOf(net.x[station], net.y[station], net.x[target], net.y[target]);
  return FoldAngle((a - orientation) - DmsToRadians(observedDms)) * kRhoSeconds;
}

// Constant of an azimuth from u to v (seconds).
inline double AzimuthConstant(const PlaneNetwork& net, int u, int v, double observedDms) {
  return FoldAngle(AzimuthOf(net.x[u], net.y[u], net.x[v], net.y[v]) - DmsToRadians(observedDms)) * kRhoSeconds;
}

// Constant of a distance from u to v (cm): the computed distance minus the
// observed one.
inline double DistanceConstant(const PlaneNetwork& net, int u, int v, double observed) {
  return (DistanceOf(net.x[u], net.y[u], net.x[v], net.y[v]) - observed) * 100.0;
}

// Standard error of a measured distance (cm) and its weight relative to a
// direction.
inline double DistanceStandardError(const PlaneNetwork& net, double length) {
  return 0.1 * net.distanceFixedError + 0.0001 * net.distanceScaleError * length;
}
inline double DistanceWeight(const PlaneNetwork& net, double length) {
  const double m = DistanceStandardError(net, length);
  return net.directionError * (net.directionError / m) / m;
}

}  // namespace qp
