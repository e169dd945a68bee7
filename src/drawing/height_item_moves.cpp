#include "drawing/height_item_moves.h"

#include <cmath>
#include <optional>

#include "height/height_layout.h"

namespace qp {
namespace {

void MovePoint(HeightModel& model, int p, GroundPoint to) {
  model.points[p].x = to.x;
  model.points[p].y = to.y;
  for (HeightDifference& d : model.differences) {
    if (d.from != p && d.to != p) continue;
    // A curve still in its default shape (straight, or bowed as a repeated
    // line) is laid out again with its bow; a reshaped one keeps its
    // interior control points.
    HeightCurve& c = d.curve;
    const std::optional<double> bow = DefaultCurveBow(c);
    if (d.from == p) c[0][0] = to.x, c[0][1] = to.y;
    if (d.to == p) c[4][0] = to.x, c[4][1] = to.y;
    if (bow) SetBowedCurve(c, c[0][0], c[0][1], c[4][0], c[4][1], *bow);
  }
  // The closure texts of the loops through the point follow it.
  const std::string& name = model.points[p].name;
  for (HeightLoop& loop : model.loops) {
    bool through = false;
    for (const std::string& corner : loop.names) through = through || corner == name;
    if (!through) continue;
    PlaceLoopLabel(model, loop);
  }
}

}  // namespace

void StoreMovedHeightItem(HeightModel& model, const MovableItem& item, GroundPoint newReference, double m) {
  if (!Finite(newReference) || !Finite(item.reference)) return;
  const double dx = newReference.x - item.reference.x, dy = newReference.y - item.reference.y;
  const int i = item.index;
  switch (item.kind) {
    case MovableKind::HeightName: {
      if (i < 0 || i >= model.PointCount() || !std::isfinite(m) || m <= 0.0) return;
      HeightPoint& p = model.points[i];
      p.labelDx = DrawnLabelOffset(static_cast<float>(DrawnLabelOffset(p.labelDx) + dx / m));
      p.labelDy = DrawnLabelOffset(static_cast<float>(DrawnLabelOffset(p.labelDy) + dy / m));
      return;
    }
    case MovableKind::HeightPoint:
      if (i >= 0 && i < model.PointCount()) MovePoint(model, i, newReference);
      return;
    case MovableKind::LoopLabel:
      if (i < 0 || i >= static_cast<int>(model.loops.size())) return;
      model.loops[i].labelX = newReference.x;
      model.loops[i].labelY = newReference.y;
      return;
    case MovableKind::DifferenceText:
      if (i < 0 || i >= static_cast<int>(model.differences.size())) return;
      for (int k = 1; k < kCurvePointCount - 1; ++k) {
        model.differences[i].curve[k][0] += dx;
        model.differences[i].curve[k][1] += dy;
      }
      return;
    default:
      return;
  }
}

void StoreCurveControlPoints(HeightModel& model, int observation, const GroundPoint interior[3]) {
  if (observation < 0 || observation >= static_cast<int>(model.differences.size())) return;
  for (int k = 0; k < 3; ++k) {
    if (!Finite(interior[k])) return;
  }
  for (int k = 0; k < 3; ++k) {
    model.differences[observation].curve[k + 1][0] = interior[k].x;
    model.differences[observation].curve[k + 1][1] = interior[k].y;
  }
}

}  // namespace qp
