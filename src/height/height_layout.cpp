#include "height/height_layout.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <limits>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/name_slot.h"
#include "height/height_checks.h"
#include "height/height_workflow.h"

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

int PointsOf(const HeightNetwork& net) { return BoundedCount(net.pointCount, kMaxHeightPoints); }
int LoopsOf(const HeightNetwork& net) { return BoundedCount(net.loopCount, kMaxLoopEntries); }
int RowLength(int n) { return std::max(1, static_cast<int>(std::sqrt(static_cast<double>(n)))); }

bool CurveFinite(const HeightNetwork& net, int i) {
  for (const auto& point : net.curve[i]) {
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

std::string LineKey(const HeightNetwork& net, int i) {
  std::string key(SlotText(net.from[i]));
  key += '\n';
  key += SlotText(net.to[i]);
  return key;
}

std::string LoopKey(const LoopEntry& e) {
  std::string key = std::to_string(e.kind);
  for (const HeightNameSlot& name : e.names) {
    key += '\n';
    key += SlotText(name);
  }
  return key;
}

bool LabelMoved(const HeightNetwork& net, const LoopEntry& e, const HeightPointIndex& index) {
  if (!std::isfinite(e.labelX) || !std::isfinite(e.labelY)) return false;
  LoopEntry centred = e;
  PlaceLoopLabel(net, centred, index);
  return !(std::fabs(centred.labelX - e.labelX) <= kLabelPlacedMetres) ||
         !(std::fabs(centred.labelY - e.labelY) <= kLabelPlacedMetres);
}

bool AnyPointKept(const HeightNetwork& net, const HeightPointIndex& before) {
  for (int p = 0; p < PointsOf(net); ++p) {
    if (before.Find(SlotText(net.pointName[p])) >= 0) return true;
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
void KeepPoints(HeightNetwork& net, const HeightNetwork& previous, const HeightPointIndex& before) {
  const int points = PointsOf(net);
  const bool ownPositions = net.coordinateCount == 0;
  std::vector<int> fresh;
  double east = -std::numeric_limits<double>::infinity();
  double west = std::numeric_limits<double>::infinity();
  for (int p = 0; p < points; ++p) {
    const int q = before.Find(SlotText(net.pointName[p]));
    net.labelOffsetX[p] = q < 0 ? 0.0f : previous.labelOffsetX[q];
    net.labelOffsetY[p] = q < 0 ? 0.0f : previous.labelOffsetY[q];
    if (!ownPositions) continue;  // they stand on their plane coordinates
    if (q < 0 || !std::isfinite(previous.diagramX[q]) || !std::isfinite(previous.diagramY[q])) {
      fresh.push_back(p);
      continue;
    }
    net.diagramX[p] = previous.diagramX[q];
    net.diagramY[p] = previous.diagramY[q];
    east = std::max(east, net.diagramY[p]);
    west = std::min(west, net.diagramY[p]);
  }
  if (fresh.empty()) return;
  const int c = RowLength(points);
  const int rows = (static_cast<int>(fresh.size()) + c - 1) / c;
  double firstY = FirstRowBeyond(east);
  // Points kept at the eastern end of the number range: the rows go west.
  if (!std::isfinite(firstY + kRowSpacing * rows)) firstY = west - kRowSpacing * rows;
  for (size_t j = 0; j < fresh.size(); ++j) {
    const int k = static_cast<int>(j);
    net.diagramX[fresh[j]] = kFirstRowX + kRowSpacing * (k % c);
    net.diagramY[fresh[j]] = firstY + kRowSpacing * (k / c);
  }
}

// Lines the user reshaped keep their interior control points, their ends on
// their points; every other line is straight.
void KeepCurves(HeightNetwork& net, const HeightNetwork& previous) {
  std::unordered_map<std::string, int> reshaped;
  const DifferenceEnds was = FindDifferenceEnds(previous);
  OccurrenceKeys oldKeys;
  for (size_t i = 0; i < was.from.size(); ++i) {
    const int line = static_cast<int>(i);
    const std::string key = oldKeys.Next(LineKey(previous, line));
    if (was.from[i] >= 0 && was.to[i] >= 0 && CurveFinite(previous, line) && !DefaultCurveBow(previous, line))
      reshaped.emplace(key, line);
  }
  const DifferenceEnds ends = FindDifferenceEnds(net);
  OccurrenceKeys newKeys;
  for (size_t i = 0; i < ends.from.size(); ++i) {
    const int line = static_cast<int>(i);
    const auto it = reshaped.find(newKeys.Next(LineKey(net, line)));
    if (ends.from[i] < 0 || ends.to[i] < 0) continue;
    const double ax = net.diagramX[ends.from[i]], ay = net.diagramY[ends.from[i]];
    const double bx = net.diagramX[ends.to[i]], by = net.diagramY[ends.to[i]];
    if (it == reshaped.end()) {
      SetStraightCurve(net, line, ax, ay, bx, by);
      continue;
    }
    std::copy(&previous.curve[it->second][0][0], &previous.curve[it->second][0][0] + 2 * kCurvePointCount,
              &net.curve[line][0][0]);
    net.curve[line][0][0] = ax, net.curve[line][0][1] = ay;
    net.curve[line][kCurvePointCount - 1][0] = bx, net.curve[line][kCurvePointCount - 1][1] = by;
  }
}

// Closure texts the user moved stay where they were put when their loop is
// found again; the others stand at the middle of their points.
void KeepLoopLabels(HeightNetwork& net, const HeightNetwork& previous, const HeightPointIndex& before) {
  std::unordered_map<std::string, const LoopEntry*> moved;
  OccurrenceKeys oldKeys;
  for (int k = 0; k < LoopsOf(previous); ++k) {
    const LoopEntry& e = previous.loops[k];
    const std::string key = oldKeys.Next(LoopKey(e));
    if (LabelMoved(previous, e, before)) moved.emplace(key, &e);
  }
  const HeightPointIndex index(net, PointsOf(net));
  OccurrenceKeys newKeys;
  for (int k = 0; k < LoopsOf(net); ++k) {
    LoopEntry& e = net.loops[k];
    const auto it = moved.find(newKeys.Next(LoopKey(e)));
    if (it == moved.end()) {
      PlaceLoopLabel(net, e, index);
      continue;
    }
    e.labelX = it->second->labelX;
    e.labelY = it->second->labelY;
  }
}

}  // namespace

RowPosition DefaultRowPosition(int i, int n) {
  const int c = RowLength(n);
  return RowPosition{kFirstRowX + kRowSpacing * (i % c), kFirstRowY + kRowSpacing * (i / c)};
}

bool CurveIsStraight(const HeightNetwork& net, int i) {
  const double(&c)[kCurvePointCount][2] = net.curve[i];
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

void SetStraightCurve(HeightNetwork& net, int i, double ax, double ay, double bx, double by) {
  SetBowedCurve(net, i, ax, ay, bx, by, 0.0);
}

void SetBowedCurve(HeightNetwork& net, int i, double ax, double ay, double bx, double by, double bow) {
  const double length = std::hypot(bx - ax, by - ay);
  // The unit vector to the right of a->b (azimuth + 90°): (-dy, dx) in (X, Y).
  const double rx = length > 0.0 ? -(by - ay) / length : 0.0;
  const double ry = length > 0.0 ? (bx - ax) / length : 0.0;
  for (int k = 0; k < kCurvePointCount; ++k) {
    const double t = k / 4.0;
    const double across = bow * kBowShape[k];
    net.curve[i][k][0] = ax + t * (bx - ax) + across * rx;
    net.curve[i][k][1] = ay + t * (by - ay) + across * ry;
  }
}

std::optional<double> DefaultCurveBow(const HeightNetwork& net, int i) {
  if (!CurveFinite(net, i)) return std::nullopt;
  if (CurveIsStraight(net, i)) return 0.0;
  const double(&c)[kCurvePointCount][2] = net.curve[i];
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

double BowStepMillimetres(const HeightNetwork& net) {
  const float h = net.numberFontHeight;
  const double height = std::isfinite(h) && h > 0.0f ? std::clamp(static_cast<double>(h), 0.1, 100.0) : 2.0;
  return std::max(kLeastBowMm, 2.0 * height);
}

void BowRepeatedLines(HeightNetwork& net, double m) {
  if (!std::isfinite(m) || !(m > 0.0)) return;
  const double step = BowStepMillimetres(net) * m;
  const DifferenceEnds ends = FindDifferenceEnds(net);
  std::unordered_map<int64_t, int> seen;  // lines so far between two points
  for (size_t i = 0; i < ends.from.size(); ++i) {
    const int a = ends.from[i], b = ends.to[i];
    if (a < 0 || b < 0 || a == b) continue;
    const int rank = seen[static_cast<int64_t>(std::min(a, b)) * kMaxHeightPoints + std::max(a, b)]++;
    const int line = static_cast<int>(i);
    if (rank == 0 || !CurveFinite(net, line) || !CurveIsStraight(net, line)) continue;
    // Odd ranks to the right of the first point -> second point, even ones to the left.
    const double bow = step * ((rank + 1) / 2) * (rank % 2 == 1 ? 1.0 : -1.0) * (a < b ? 1.0 : -1.0);
    SetBowedCurve(net, line, net.diagramX[a], net.diagramY[a], net.diagramX[b], net.diagramY[b], bow);
  }
}

bool HeightLayoutArrangedByHand(const HeightNetwork& previous) {
  // Only a layout made for the point list as it stands: a network whose
  // computation failed holds a new list beside the old positions.
  if (previous.lastComputedPointCount < 0 || previous.lastComputedPointCount != previous.pointCount) return false;
  const int points = PointsOf(previous);
  for (int p = 0; p < points; ++p) {
    if (previous.labelOffsetX[p] != 0.0f || previous.labelOffsetY[p] != 0.0f) return true;
    if (previous.coordinateCount != 0) continue;
    const RowPosition row = DefaultRowPosition(p, points);
    if (previous.diagramX[p] != row.x || previous.diagramY[p] != row.y) return true;
  }
  const DifferenceEnds ends = FindDifferenceEnds(previous);
  for (size_t i = 0; i < ends.from.size(); ++i) {
    if (ends.from[i] >= 0 && ends.to[i] >= 0 && !DefaultCurveBow(previous, static_cast<int>(i))) return true;
  }
  const HeightPointIndex index(previous, points);
  for (int k = 0; k < LoopsOf(previous); ++k) {
    if (LabelMoved(previous, previous.loops[k], index)) return true;
  }
  return false;
}

void LayOutHeightDiagram(HeightNetwork& net, const HeightNetwork& previous, int changeLevel) {
  const HeightPointIndex before(previous, PointsOf(previous));
  if (changeLevel < 64 || !HeightLayoutArrangedByHand(previous) || !AnyPointKept(net, before)) {
    ApplyDefaultHeightLayout(net, changeLevel);
    return;
  }
  if (changeLevel >= 256) KeepPoints(net, previous, before);
  if (changeLevel >= 128) KeepCurves(net, previous);
  KeepLoopLabels(net, previous, before);
}

}  // namespace qp
