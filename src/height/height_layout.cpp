#include "height/height_layout.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <limits>
#include <string>
#include <unordered_map>
#include <vector>


namespace qp {
namespace {

constexpr double kRowSpacing = 200.0;  // m
constexpr double kFirstRowX = 8000.0;
constexpr double kFirstRowY = 16000.0;
// A closure text further than this (m) from the middle of its points was put
// there by the user.
constexpr double kLabelPlacedMetres = 1e-6;
// How far across the line each control point of a bowed curve lies, as a
// share of the bow: a parabola through the quarter points.
constexpr double kBowShape[kCurvePointCount] = {0.0, 0.75, 1.0, 0.75, 0.0};
constexpr double kLeastBowMm = 4.0;
// A point moved further than this (m) counts as a new network geometry.
constexpr double kMovedPointMetres = 10.0;

int RowLength(int n) { return std::max(1, static_cast<int>(std::sqrt(static_cast<double>(n)))); }

// Point i of n in the default rows: rows of c = ⌊√n⌋ points, 200 m apart,
// starting at X 8000, Y 16000 (m).
struct RowPosition {
  double x, y;
};
RowPosition DefaultRowPosition(int i, int n) {
  const int c = RowLength(n);
  return RowPosition{kFirstRowX + kRowSpacing * (i % c), kFirstRowY + kRowSpacing * (i / c)};
}

// The bow step on paper: max(4 mm, twice the number font height).
double BowStepMillimetres(const HeightModel& net) {
  const float h = net.diagram.numberHeight;
  const double height = std::isfinite(h) && h > 0.0f ? std::clamp(static_cast<double>(h), 0.1, 100.0) : 2.0;
  return std::max(kLeastBowMm, 2.0 * height);
}

bool CurveFinite(const HeightCurve& c) {
  for (const auto& point : c) {
    if (!std::isfinite(point[0]) || !std::isfinite(point[1])) return false;
  }
  return true;
}

// Tells repeated entries apart by their order: the second line from A to B
// of one table is the second line from A to B of the other.
class OccurrenceKeys {
 public:
  std::string Next(std::string key) {
    const int n = seen_[key]++;
    key += '\n';
    key += std::to_string(n);
    return key;
  }

 private:
  std::unordered_map<std::string, int> seen_;
};

std::string LineKey(const HeightDifference& d) { return d.fromName + '\n' + d.toName; }

std::string LoopKey(const HeightLoop& e) {
  std::string key = std::to_string(e.kind);
  for (const std::string& name : e.names) {
    key += '\n';
    key += name;
  }
  return key;
}

bool LabelMoved(const HeightModel& net, const HeightLoop& e) {
  if (!std::isfinite(e.labelX) || !std::isfinite(e.labelY)) return false;
  HeightLoop centred = e;
  PlaceLoopLabel(net, centred);
  return !(std::fabs(centred.labelX - e.labelX) <= kLabelPlacedMetres) ||
         !(std::fabs(centred.labelY - e.labelY) <= kLabelPlacedMetres);
}

bool AnyPointKept(const HeightModel& net, const HeightModel& before) {
  for (const HeightPoint& p : net.points) {
    if (before.Find(p.name) >= 0) return true;
  }
  return false;
}

// Y of the first default row a whole row spacing east of `east` (and never
// west of the first default row), so a point put there lies on no point kept.
double FirstRowBeyond(double east) {
  const double wanted = east + kRowSpacing;
  if (!(wanted > kFirstRowY)) return kFirstRowY;
  return kFirstRowY + kRowSpacing * std::ceil((wanted - kFirstRowY) / kRowSpacing);
}

// Points still in the network keep their positions and name offsets; new
// ones continue the default rows beyond the points kept.
void KeepPoints(HeightModel& net, const HeightModel& previous) {
  const int points = net.PointCount();
  const bool ownPositions = net.coordinates.empty();
  std::vector<int> fresh;
  double east = -std::numeric_limits<double>::infinity();
  double west = std::numeric_limits<double>::infinity();
  for (int p = 0; p < points; ++p) {
    HeightPoint& point = net.points[p];
    const int q = previous.Find(point.name);
    point.labelDx = q < 0 ? 0.0f : previous.points[q].labelDx;
    point.labelDy = q < 0 ? 0.0f : previous.points[q].labelDy;
    if (!ownPositions) continue;  // they stand on their plane coordinates
    if (q < 0 || !std::isfinite(previous.points[q].x) || !std::isfinite(previous.points[q].y)) {
      fresh.push_back(p);
      continue;
    }
    point.x = previous.points[q].x;
    point.y = previous.points[q].y;
    east = std::max(east, point.y);
    west = std::min(west, point.y);
  }
  if (fresh.empty()) return;
  const int c = RowLength(points);
  const int rows = (static_cast<int>(fresh.size()) + c - 1) / c;
  double firstY = FirstRowBeyond(east);
  // Points kept at the eastern end of the number range: the rows go west.
  if (!std::isfinite(firstY + kRowSpacing * rows)) firstY = west - kRowSpacing * rows;
  for (size_t j = 0; j < fresh.size(); ++j) {
    const int k = static_cast<int>(j);
    net.points[fresh[j]].x = kFirstRowX + kRowSpacing * (k % c);
    net.points[fresh[j]].y = firstY + kRowSpacing * (k / c);
  }
}

// Lines the user reshaped keep their interior control points, their ends on
// their points; every other line is straight.
void KeepCurves(HeightModel& net, const HeightModel& previous) {
  std::unordered_map<std::string, int> reshaped;
  OccurrenceKeys oldKeys;
  for (size_t i = 0; i < previous.differences.size(); ++i) {
    const int line = static_cast<int>(i);
    const std::string key = oldKeys.Next(LineKey(previous.differences[i]));
    const HeightCurve& c = previous.differences[i].curve;
    if (previous.differences[i].Joined() && CurveFinite(c) && !DefaultCurveBow(c))
      reshaped.emplace(key, line);
  }
  OccurrenceKeys newKeys;
  for (HeightDifference& d : net.differences) {
    const auto it = reshaped.find(newKeys.Next(LineKey(d)));
    if (!d.Joined()) continue;
    const double ax = net.points[d.from].x, ay = net.points[d.from].y;
    const double bx = net.points[d.to].x, by = net.points[d.to].y;
    if (it == reshaped.end()) {
      SetBowedCurve(d.curve, ax, ay, bx, by, 0.0);
      continue;
    }
    const auto& kept = previous.differences[it->second].curve;
    std::copy(&kept[0][0], &kept[0][0] + 2 * kCurvePointCount, &d.curve[0][0]);
    d.curve[0][0] = ax, d.curve[0][1] = ay;
    d.curve[kCurvePointCount - 1][0] = bx, d.curve[kCurvePointCount - 1][1] = by;
  }
}

// Closure texts the user moved stay where they were put when their loop is
// found again; the others stand at the middle of their points.
void KeepLoopLabels(HeightModel& net, const HeightModel& previous) {
  std::unordered_map<std::string, const HeightLoop*> moved;
  OccurrenceKeys oldKeys;
  for (const HeightLoop& e : previous.loops) {
    const std::string key = oldKeys.Next(LoopKey(e));
    if (LabelMoved(previous, e)) moved.emplace(key, &e);
  }
  OccurrenceKeys newKeys;
  for (HeightLoop& e : net.loops) {
    const auto it = moved.find(newKeys.Next(LoopKey(e)));
    if (it == moved.end()) {
      PlaceLoopLabel(net, e);
      continue;
    }
    e.labelX = it->second->labelX;
    e.labelY = it->second->labelY;
  }
}

bool SameLoops(const HeightModel& a, const HeightModel& b) {
  if (a.loops.size() != b.loops.size()) return false;
  for (size_t k = 0; k < a.loops.size(); ++k) {
    const HeightLoop& x = a.loops[k];
    const HeightLoop& y = b.loops[k];
    if (x.kind != y.kind) return false;
    for (int s = 0; s < 4; ++s) {
      if (x.names[s] != y.names[s]) return false;
    }
  }
  return true;
}

}  // namespace

bool CurveIsStraight(const HeightCurve& c) {
  const double span = std::fabs(c[4][0] - c[0][0]) + std::fabs(c[4][1] - c[0][1]);
  const double tolerance = 1e-9 * std::max(1.0, span);
  for (int k = 1; k < kCurvePointCount - 1; ++k) {
    for (int axis = 0; axis < 2; ++axis) {
      const double expected = c[0][axis] + k / 4.0 * (c[4][axis] - c[0][axis]);
      if (!(std::fabs(c[k][axis] - expected) <= tolerance)) return false;
    }
  }
  return true;
}

void SetBowedCurve(HeightCurve& c, double ax, double ay, double bx, double by, double bow) {
  const double length = std::hypot(bx - ax, by - ay);
  // The unit vector to the right of a->b (azimuth + 90°): (-dy, dx) in (X, Y).
  const double rx = length > 0.0 ? -(by - ay) / length : 0.0;
  const double ry = length > 0.0 ? (bx - ax) / length : 0.0;
  for (int k = 0; k < kCurvePointCount; ++k) {
    const double t = k / 4.0;
    const double across = bow * kBowShape[k];
    c[k][0] = ax + t * (bx - ax) + across * rx;
    c[k][1] = ay + t * (by - ay) + across * ry;
  }
}

std::optional<double> DefaultCurveBow(const HeightCurve& c) {
  if (!CurveFinite(c)) return std::nullopt;
  if (CurveIsStraight(c)) return 0.0;
  const double dx = c[4][0] - c[0][0], dy = c[4][1] - c[0][1];
  const double length = std::hypot(dx, dy);
  if (!(length > 0.0)) return std::nullopt;
  const double bow = (c[2][0] - (c[0][0] + dx / 2)) * (-dy / length) + (c[2][1] - (c[0][1] + dy / 2)) * (dx / length);
  double expected[kCurvePointCount][2];
  for (int k = 0; k < kCurvePointCount; ++k) {
    const double t = k / 4.0, across = bow * kBowShape[k];
    expected[k][0] = c[0][0] + t * dx + across * (-dy / length);
    expected[k][1] = c[0][1] + t * dy + across * (dx / length);
  }
  const double tolerance = 1e-9 * std::max(1.0, std::fabs(dx) + std::fabs(dy) + std::fabs(bow));
  for (int k = 1; k < kCurvePointCount - 1; ++k) {
    for (int axis = 0; axis < 2; ++axis) {
      if (!(std::fabs(c[k][axis] - expected[k][axis]) <= tolerance)) return std::nullopt;
    }
  }
  return bow;
}

void BowRepeatedLines(HeightModel& net, double m) {
  if (!std::isfinite(m) || !(m > 0.0)) return;
  const double step = BowStepMillimetres(net) * m;
  std::unordered_map<int64_t, int> seen;  // lines so far between two points
  for (size_t i = 0; i < net.differences.size(); ++i) {
    const int a = net.differences[i].from, b = net.differences[i].to;
    if (a < 0 || b < 0 || a == b) continue;
    const int rank = seen[static_cast<int64_t>(std::min(a, b)) * net.PointCount() + std::max(a, b)]++;
    HeightCurve& c = net.differences[i].curve;
    if (rank == 0 || !CurveFinite(c) || !CurveIsStraight(c)) continue;
    // Odd ranks to the right of the first point -> second point, even ones to the left.
    const double bow = step * ((rank + 1) / 2) * (rank % 2 == 1 ? 1.0 : -1.0) * (a < b ? 1.0 : -1.0);
    SetBowedCurve(c, net.points[a].x, net.points[a].y, net.points[b].x, net.points[b].y, bow);
  }
}

bool HeightLayoutArrangedByHand(const HeightModel& previous) {
  // Only a layout made for the point list as it stands: a network whose
  // computation failed holds a new list beside the old positions.
  const int points = previous.PointCount();
  if (previous.lastComputedPointCount < 0 || previous.lastComputedPointCount != points) return false;
  for (int p = 0; p < points; ++p) {
    const HeightPoint& point = previous.points[p];
    if (point.labelDx != 0.0f || point.labelDy != 0.0f) return true;
    if (!previous.coordinates.empty()) continue;
    const RowPosition row = DefaultRowPosition(p, points);
    if (point.x != row.x || point.y != row.y) return true;
  }
  for (size_t i = 0; i < previous.differences.size(); ++i) {
    if (previous.differences[i].Joined() && !DefaultCurveBow(previous.differences[i].curve)) return true;
  }
  for (const HeightLoop& e : previous.loops) {
    if (LabelMoved(previous, e)) return true;
  }
  return false;
}

void LayOutHeightDiagram(HeightModel& net, const HeightModel& previous, int changeLevel) {
  if (changeLevel < 64 || !HeightLayoutArrangedByHand(previous) || !AnyPointKept(net, previous)) {
    ApplyDefaultHeightLayout(net, changeLevel);
    return;
  }
  if (changeLevel >= 256) KeepPoints(net, previous);
  if (changeLevel >= 128) KeepCurves(net, previous);
  KeepLoopLabels(net, previous);
}

int HeightChangeLevel(HeightModel& net, const HeightModel& backup) {
  const int points = net.PointCount();
  bool newPoints = false;
  if (points != net.lastComputedPointCount) {
    net.lastComputedPointCount = points;
    newPoints = true;
  }
  newPoints = newPoints || backup.PointCount() <= 1 || backup.PointCount() != points;
  for (int p = 0; p < points && !newPoints; ++p) {
    const HeightPoint& now = net.points[p];
    const HeightPoint& before = backup.points[p];
    newPoints = now.name != before.name || !(std::fabs(now.x - before.x) <= kMovedPointMetres) ||
                !(std::fabs(now.y - before.y) <= kMovedPointMetres);
  }
  if (newPoints) return 256;

  bool newObservations = net.differences.size() != backup.differences.size();
  for (size_t i = 0; i < net.differences.size() && !newObservations; ++i) {
    newObservations = net.differences[i].fromName != backup.differences[i].fromName ||
                      net.differences[i].toName != backup.differences[i].toName;
  }
  if (newObservations) return 128;
  return SameLoops(net, backup) ? 0 : 64;
}

void ApplyDefaultHeightLayout(HeightModel& net, int changeLevel) {
  const int points = net.PointCount();
  if (changeLevel >= 256 && net.coordinates.empty() && points > 0) {
    for (int i = 0; i < points; ++i) {
      const RowPosition row = DefaultRowPosition(i, points);
      net.points[i].x = row.x;
      net.points[i].y = row.y;
    }
  }
  if (changeLevel >= 128) {
    for (size_t i = 0; i < net.differences.size(); ++i) {
      HeightDifference& d = net.differences[i];
      if (!d.Joined()) continue;
      const HeightPoint& a = net.points[d.from];
      const HeightPoint& b = net.points[d.to];
      SetBowedCurve(d.curve, a.x, a.y, b.x, b.y, 0.0);
    }
  }
  if (changeLevel >= 64) {
    for (HeightLoop& e : net.loops) PlaceLoopLabel(net, e);
  }
}

void PlaceLoopLabel(const HeightModel& net, HeightLoop& e) {
  const int corners = e.kind == kLoopTriangle ? 3 : e.kind == kLoopQuadrilateral ? 4 : 2;
  double sx = 0.0, sy = 0.0;
  int found = 0;
  for (int s = 0; s < corners; ++s) {
    const int p = net.Find(e.names[s]);
    if (p < 0) continue;
    sx += net.points[p].x;
    sy += net.points[p].y;
    ++found;
  }
  if (found == 0) return;
  e.labelX = sx / found;
  e.labelY = sy / found;
}

}  // namespace qp
