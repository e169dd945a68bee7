#include "plane/network_geometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/format.h"
#include "geodesy/angles.h"

namespace qp {
namespace {

constexpr double kTwoPi = 2.0 * kPi;

bool Finite(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

// Sorted, without repeats.
void SortUnique(std::vector<int>& v) {
  std::sort(v.begin(), v.end());
  v.erase(std::unique(v.begin(), v.end()), v.end());
}

}  // namespace

// The key of the pair i, k in either orientation.
uint64_t NetworkGeometry::JoinKey(int i, int k) {
  const auto [low, high] = std::minmax(i, k);
  return (static_cast<uint64_t>(static_cast<uint32_t>(low)) << 32) | static_cast<uint32_t>(high);
}

NetworkGeometry::NetworkGeometry(PlaneModel& model, DirectionSource source)
    : model_(model), pointCount_(model.pointCount()) {
  const int n = pointCount_;
  hasDirections_ = model.directionCount > 0;
  targets_.resize(n);
  stations_.resize(n);
  distanceNeighbours_.resize(n);
  neighbours_.resize(n);
  setBegin_.assign(n, 0);
  setEnd_.assign(n, 0);

  // Direction lines as (station, target) pairs.
  std::vector<std::pair<int, int>> lines;
  if (hasDirections_ && source == DirectionSource::kLines) {
    lines.reserve(model.enteredDirections.size());
    for (const PlaneMeasure& d : model.enteredDirections) {
      if (d.ends.Resolved()) lines.emplace_back(d.ends.from, d.ends.to);
    }
  } else if (hasDirections_) {
    for (const PlaneDirectionSet& set : model.directionSets) {
      const int p = set.station;
      setBegin_[p] = static_cast<int>(setEntries_.size());
      for (int e = set.begin; e < set.end; ++e) {
        const PlaneDirection& d = model.directions[e];
        setEntries_.push_back({d.target, DmsToRadians(d.dms)});
        if (d.target >= 0) lines.emplace_back(p, d.target);
      }
      setEnd_[p] = static_cast<int>(setEntries_.size());
    }
  }
  std::sort(lines.begin(), lines.end());
  for (size_t i = 0; i < lines.size();) {
    size_t j = i;
    while (j < lines.size() && lines[j] == lines[i]) ++j;
    const auto [s, t] = lines[i];
    const int count = static_cast<int>(j - i);
    targets_[s].push_back({t, count});
    stations_[t].push_back({s, count});  // stations arrive in ascending order
    i = j;
  }

  // Distances: reduced first, then fixed, then weighted, so that the first
  // entry of the first kind is the one remembered for each pair.
  auto indexDistance = [&](const PlaneEnds& ends, double length, bool observed) {
    if (!ends.Resolved()) return;
    const int i = ends.from;
    const int k = ends.to;
    anyDistance_.emplace(JoinKey(i, k), length);
    if (observed) observedDistance_.emplace(JoinKey(i, k), length);
    distanceNeighbours_[i].push_back(k);
    distanceNeighbours_[k].push_back(i);
  };
  for (const PlaneDistance& d : model.distances) indexDistance(d.ends, d.length, true);
  for (const PlaneMeasure& m : model.fixedSides) indexDistance(m.ends, m.value, false);
  for (const PlaneMeasure& m : model.weightedSides) indexDistance(m.ends, m.value, false);

  for (int p = 0; p < n; ++p) {
    SortUnique(distanceNeighbours_[p]);
    std::vector<int>& all = neighbours_[p];
    all = distanceNeighbours_[p];
    for (const Link& l : targets_[p]) all.push_back(l.point);
    for (const Link& l : stations_[p]) all.push_back(l.point);
    SortUnique(all);
    all.erase(std::remove(all.begin(), all.end(), p), all.end());
  }
}

int NetworkGeometry::DirectionLines(int station, int target) const {
  if (!ValidPoint(station)) return 0;
  const auto& list = targets_[station];
  const auto it = std::lower_bound(list.begin(), list.end(), target,
                                   [](const Link& l, int point) { return l.point < point; });
  return it != list.end() && it->point == target ? it->count : 0;
}

double NetworkGeometry::AnyDistance(int i, int k) const {
  const auto it = anyDistance_.find(JoinKey(i, k));
  return it == anyDistance_.end() ? 0.0 : it->second;
}

double NetworkGeometry::ObservedDistance(int i, int k) const {
  const auto it = observedDistance_.find(JoinKey(i, k));
  return it == observedDistance_.end() ? 0.0 : it->second;
}

std::span<const NetworkGeometry::SetEntry> NetworkGeometry::SetOf(int s) const {
  if (!hasDirections_ || !ValidPoint(s)) return {};
  return std::span<const SetEntry>(setEntries_.data() + setBegin_[s], setEnd_[s] - setBegin_[s]);
}

double NetworkGeometry::ObservedAngle(int a, int s, int b, int& votes, bool fold) const {
  const SetEntry* toA = nullptr;
  const SetEntry* toB = nullptr;
  for (const SetEntry& e : SetOf(s)) {
    if (!toA && e.target == a) toA = &e;
    if (!toB && e.target == b) toB = &e;
    if (toA && toB) break;
  }
  if (!toA || !toB) return 0.0;
  const double la = toA->radians;
  const double lb = toB->radians;
  double r = lb - la;
  if (r < 0.0) r += kTwoPi;
  const double d = la - lb;
  if (d > kPi || (d > -kPi && d < 0.0)) ++votes;
  if (fold && r > kPi) r = kTwoPi - r;
  return r;
}

double NetworkGeometry::ObservedAngle(int a, int s, int b) const {
  int unused = 0;
  return ObservedAngle(a, s, b, unused, false);
}

bool NetworkGeometry::TraverseLeg(int a, int s, int b, double xs, double ys, double azimuthAS, double correction,
                                  double& xb, double& yb, double& azimuthSB) const {
  const double d = ObservedDistance(s, b);
  const double beta = ObservedAngle(a, s, b);
  if (!(d > 0.0) || !(beta > 0.0)) return false;
  double azimuth = beta + kPi + azimuthAS + correction;
  if (azimuth >= kTwoPi) azimuth -= kTwoPi;
  azimuthSB = azimuth;
  xb = xs + d * std::cos(azimuth);
  yb = ys + d * std::sin(azimuth);
  return true;
}

bool NetworkGeometry::Accept(int p, double x, double y, ComputedFlags& computed) {
  if (!Finite(x, y)) return false;
  model_.points[p].x = x;
  model_.points[p].y = y;
  computed[p] = 1;
  return true;
}

int NetworkGeometry::PolarPoint(int a, int b, int p, ComputedFlags& computed) {
  if (!ValidTriple(a, b, p, computed)) return 0;
  int station = a;
  int reference = b;
  int result = 2;
  double s = AnyDistance(a, p);
  if (!(s > 0.5)) {
    s = AnyDistance(b, p);
    if (s < 0.5) return 0;
    station = b;
    reference = a;
    result = 1;
  }
  const double beta = ObservedAngle(reference, station, p);
  if (beta <= 0.0) return result;
  const double alpha = AzimuthOf(model_.points[station].x, model_.points[station].y, model_.points[reference].x, model_.points[reference].y);
  Accept(p, model_.points[station].x + s * std::cos(alpha + beta), model_.points[station].y + s * std::sin(alpha + beta), computed);
  return result;
}

bool NetworkGeometry::AngleIntersection(int a, int b, int p, ComputedFlags& computed) {
  if (!ValidTriple(a, b, p, computed)) return false;
  int votes = 0;
  double angleA = ObservedAngle(b, a, p, votes, true);
  double angleB = ObservedAngle(p, b, a, votes, true);
  if (angleA < 0.01 && angleB < 0.01) return false;
  if (angleA < 0.01 || angleB < 0.01) {
    // One angle was not observed: take it from the triangle's angle at p.
    const double angleP = ObservedAngle(a, p, b, votes, true);
    if (angleP > 0.01) {
      if (angleA < 0.01) {
        angleA = kPi - angleB - angleP;
      } else {
        angleB = kPi - angleA - angleP;
      }
    }
  }
  if (!(angleA > 0.01 && angleB > 0.01)) return false;
  int p1 = b;
  int p2 = a;
  double c1 = 1.0 / std::tan(angleA);
  double c2 = 1.0 / std::tan(angleB);
  if (votes > 0) {
    p1 = a;
    p2 = b;
    std::swap(c1, c2);
  }
  const double sum = c1 + c2;
  // Parallel rays: no intersection.
  if (!(std::fabs(sum) > 1e-10)) return false;
  const double x = (c1 * model_.points[p1].x + c2 * model_.points[p2].x - model_.points[p2].y + model_.points[p1].y) / sum;
  const double y = (c1 * model_.points[p1].y + c2 * model_.points[p2].y + model_.points[p2].x - model_.points[p1].x) / sum;
  return Accept(p, x, y, computed);
}

bool NetworkGeometry::Resection(int a, int b, int p, ComputedFlags& computed) {
  if (!ValidTriple(a, b, p, computed)) return false;
  int unused = 0;
  if (ObservedAngle(a, p, b, unused, true) == 0.0) return false;
  const std::span<const SetEntry> set = SetOf(p);
  int c = -1;
  for (const SetEntry& e : set) {
    if (e.target >= 0 && e.target != a && e.target != b && computed[e.target]) {
      c = e.target;
      break;
    }
  }
  if (c < 0) return false;

  // The three targets in the order of the set (a target repeated in the set
  // counts at its first direction).
  int point[3];
  double value[3];
  int found = 0;
  for (const SetEntry& e : set) {
    if (e.target != a && e.target != b && e.target != c) continue;
    if (std::find(point, point + found, e.target) != point + found) continue;
    point[found] = e.target;
    value[found] = e.radians;
    if (++found == 3) break;
  }
  if (found < 3) return false;
  double alpha = value[1] - value[0];
  double beta = value[2] - value[1];
  if (beta > kPi) return false;
  int pa = point[0], pb = point[1], pc = point[2];
  if (alpha > kPi) {
    pa = point[1];
    pb = point[2];
    pc = point[0];
    alpha = value[2] - value[1];
    beta = value[0] + kTwoPi - value[2];
  }
  if (!(alpha > 0.15 && alpha < 3.0 && beta > 0.15 && beta < 3.0)) return false;

  const double cotAlpha = 1.0 / std::tan(alpha);
  const double cotBeta = 1.0 / std::tan(beta);
  const double xa = model_.points[pa].x, ya = model_.points[pa].y;
  const double xb = model_.points[pb].x, yb = model_.points[pb].y;
  const double xc = model_.points[pc].x, yc = model_.points[pc].y;
  const double m = (xa - xb) + (ya - yb) * cotAlpha;
  const double nn = (xa - xb) * cotAlpha - (ya - yb);
  const double numerator = m + (yc - yb) * cotBeta - (xc - xb);
  const double denominator = (yc - yb) + (xc - xb) * cotBeta + nn;
  // k is the tangent of the azimuth B->p.
  double x = 0.0;
  double y = 0.0;
  const double k = denominator != 0.0 ? numerator / denominator : 0.0;
  if (denominator != 0.0 && std::isfinite(k * k)) {
    x = xb + (m - k * nn) / (1.0 + k * k);
    y = yb + k * (m - k * nn) / (1.0 + k * k);
  } else if (numerator != 0.0) {
    // p lies due east or west of B: the limit of the expressions above.
    x = xb;
    y = yb - nn;
  } else {
    return false;  // p on the circle through the three points: undetermined
  }
  return Accept(p, x, y, computed);
}

bool NetworkGeometry::IntersectByDistances(int a, int b, int p, ComputedFlags& computed, const TurnAnswerer& turn) {
  if (!ValidTriple(a, b, p, computed)) return false;
  double sa = AnyDistance(a, p);
  double sb = AnyDistance(b, p);
  if (!(sa >= 0.5) || !(sb >= 0.5)) return false;

  // The circles must meet; a miss of up to 1% of the base (measuring noise on
  // a point lying almost on the line a-b) puts p on that line.
  const double base = DistanceOf(model_.points[a].x, model_.points[a].y, model_.points[b].x, model_.points[b].y);
  if (!(base > 1e-6) || !std::isfinite(base)) return false;
  const double miss = std::max(base - (sa + sb), std::fabs(sa - sb) - base);
  if (miss > 0.01 * base) return false;

  const std::string question =
      FormatText("%s --- %s --- %s\n\n三点排列顺序逆时针:<是>;  顺时针:<否>;  不能判断:<取消>",
                 model_.points[a].name.c_str(), model_.points[b].name.c_str(), model_.points[p].name.c_str());
  const Turn answer = turn ? turn(question) : Turn::kUnknown;
  if (answer == Turn::kUnknown) return false;
  if (answer == Turn::kClockwise) {
    std::swap(a, b);
    std::swap(sa, sb);
  }
  const double d = base;
  const double v = (sa * sa + d * d - sb * sb) / (2.0 * d);
  const double ww = sa * sa - v * v;
  const double w = ww > 0.0 ? std::sqrt(ww) : 0.0;
  const double u = (sb * sb + d * d - sa * sa) / (2.0 * d);
  const double x = (w * (model_.points[b].y - model_.points[a].y) + u * model_.points[a].x + v * model_.points[b].x) / d;
  const double y = (w * (model_.points[a].x - model_.points[b].x) + u * model_.points[a].y + v * model_.points[b].y) / d;
  return Accept(p, x, y, computed);
}

}  // namespace qp
