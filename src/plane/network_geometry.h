// Plane geometry over a network's point table and its observations: finding
// points, distances and observed angles, one traverse leg, and the
// constructions that place a new point from points already computed (polar
// point, forward intersection, resection, intersection of two distances).
//
// Everything is looked up through indexes built once from the model, so the
// helpers cost a hash lookup or a walk over one station's direction set, never
// a scan of a whole observation table.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "plane/plane_model.h"

namespace qp {

// How three points a, b, p follow one another, as the person computing tells
// from the sketch: the answer to a GBK question naming them.
enum class Turn { kCounterClockwise, kClockwise, kUnknown };
using TurnAnswerer = std::function<Turn(const std::string& question)>;

// One flag per point: 1 once the point has coordinates. The
// constructions below do nothing when it holds fewer flags than points.
using ComputedFlags = std::vector<uint8_t>;

class NetworkGeometry {
 public:
  // Where the direction lines come from: the directions as entered, each at
  // the station it names (while the point list is being ordered), or the
  // model's direction sets (once they are built). Only the sets give
  // ObservedAngle something to measure.
  enum class DirectionSource { kLines, kSets };

  // Indexes the model's points, direction lines and its reduced, fixed and
  // weighted distances. The model must outlive the object; coordinates are
  // read from it live and the constructions write into it. Rebuild the
  // object when the points, the sets or the distances change.
  explicit NetworkGeometry(PlaneModel& model, DirectionSource source = DirectionSource::kSets);

  int pointCount() const { return pointCount_; }
  const PlaneModel& model() const { return model_; }

  // Length of the first reduced distance joining i and k (either
  // orientation), else of the first fixed one, else of the first weighted
  // one; 0 when they are not joined.
  double AnyDistance(int i, int k) const;
  // The same over the reduced distances only.
  double ObservedDistance(int i, int k) const;

  // Clockwise angle (radians) at station s from the direction to a to the
  // direction to b, taken from the first directions to a and to b in the set
  // of s; 0 when either is missing. `votes` grows by one when the clockwise
  // angle from a to b is below pi; with `fold` an angle above pi is replaced
  // by 2 pi minus it.
  double ObservedAngle(int a, int s, int b, int& votes, bool fold) const;
  // Without vote and never folded.
  double ObservedAngle(int a, int s, int b) const;

  // One traverse leg from station s (coordinates xs, ys) reached from a along
  // azimuthAS, to b: false unless the distance s-b and the angle a-s-b were
  // both observed (positive). The angle correction (radians) is added to the
  // azimuth.
  bool TraverseLeg(int a, int s, int b, double xs, double ys, double azimuthAS, double correction,
                   double& xb, double& yb, double& azimuthSB) const;

  // Polar point p from station a (reference b) when a-p has a distance above
  // 0.5 m, else from station b (reference a) when b-p has one of at least
  // 0.5 m. Returns 0 when neither distance serves, 2 for station a, 1 for
  // station b; p is computed only when the angle at the station is positive.
  int PolarPoint(int a, int b, int p, ComputedFlags& computed);

  // Forward intersection of p from the angles observed at a and at b (one of
  // them may be derived from the angle at p). True when p was computed.
  bool AngleIntersection(int a, int b, int p, ComputedFlags& computed);

  // Resection of p, which observed a direction set to a, b and a third
  // computed point. True when p was computed.
  bool Resection(int a, int b, int p, ComputedFlags& computed);

  // Intersection of the distances a-p and b-p; `turn` says on which side of
  // a->b the point lies (without it nobody can tell). True when p was computed.
  bool IntersectByDistances(int a, int b, int p, ComputedFlags& computed, const TurnAnswerer& turn);

  // Adjacency for loops over the network (indices into the point table).
  struct Link {
    int point;
    int count;  // number of direction lines
  };
  // Targets of the direction lines of a station, ascending, with counts.
  std::span<const Link> DirectionTargets(int station) const { return targets_[station]; }
  // Stations with direction lines to a target, ascending, with counts.
  std::span<const Link> DirectionStations(int target) const { return stations_[target]; }
  int DirectionLines(int station, int target) const;
  // Points joined to p by any distance, either orientation, ascending.
  std::span<const int> DistanceNeighbours(int p) const { return distanceNeighbours_[p]; }
  // Every point sharing a direction line or a distance with p, ascending,
  // without p itself.
  std::span<const int> Neighbours(int p) const { return neighbours_[p]; }

 private:
  struct SetEntry {
    int target;
    double radians;
  };
  bool ValidPoint(int p) const { return p >= 0 && p < pointCount_; }
  bool ValidTriple(int a, int b, int p, const ComputedFlags& computed) const {
    return ValidPoint(a) && ValidPoint(b) && ValidPoint(p) && computed.size() >= static_cast<size_t>(pointCount_);
  }
  std::span<const SetEntry> SetOf(int s) const;
  static uint64_t JoinKey(int i, int k);
  bool Accept(int p, double x, double y, ComputedFlags& computed);

  PlaneModel& model_;
  int pointCount_ = 0;
  bool hasDirections_ = false;
  std::vector<std::vector<Link>> targets_;
  std::vector<std::vector<Link>> stations_;
  std::vector<std::vector<int>> distanceNeighbours_;
  std::vector<std::vector<int>> neighbours_;
  std::unordered_map<uint64_t, double> anyDistance_;
  std::unordered_map<uint64_t, double> observedDistance_;
  std::vector<int> setBegin_;
  std::vector<int> setEnd_;
  std::vector<SetEntry> setEntries_;
};

// Visits each point neighbouring a or b once, ascending, while more() holds
// (checked before each point): the neighbours of a pair, merged in table order.
template <class More, class Visit>
void ForNeighboursOfPair(const NetworkGeometry& geo, int a, int b, More more, Visit visit) {
  const auto na = geo.Neighbours(a);
  const auto nb = geo.Neighbours(b);
  size_t ia = 0, ib = 0;
  while ((ia < na.size() || ib < nb.size()) && more()) {
    int q;
    if (ib == nb.size() || (ia < na.size() && na[ia] < nb[ib])) {
      q = na[ia++];
    } else if (ia == na.size() || nb[ib] < na[ia]) {
      q = nb[ib++];
    } else {
      q = na[ia++];
      ++ib;
    }
    visit(q);
  }
}

}  // namespace qp
