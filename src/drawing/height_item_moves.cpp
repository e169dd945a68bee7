#include "drawing/height_item_moves.h"

#include <cmath>
#include <optional>

#include "common/name_slot.h"
#include "height/height_layout.h"
#include "height/height_model.h"
#include "height/height_model_record.h"

namespace qp {
namespace {

bool Finite(GroundPoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

namespace {

void MovePoint(HeightNetwork& net, int p, GroundPoint to) {
  net.diagramX[p] = to.x;
  net.diagramY[p] = to.y;
  const DifferenceEnds ends = FindDifferenceEnds(net);
  for (size_t i = 0; i < ends.from.size(); ++i) {
    if (ends.from[i] != p && ends.to[i] != p) continue;
    // A curve still in its default shape (straight, or bowed as a repeated
    // line) is laid out again with its bow; a reshaped one keeps its
    // interior control points.
    HeightCurve& c = net.curve[i];
    const std::optional<double> bow = DefaultCurveBow(c);
    if (ends.from[i] == p) c[0][0] = to.x, c[0][1] = to.y;
    if (ends.to[i] == p) c[4][0] = to.x, c[4][1] = to.y;
    if (bow) SetBowedCurve(c, c[0][0], c[0][1], c[4][0], c[4][1], *bow);
  }
  // The closure texts of the loops through the point follow it.
  const std::string_view name = SlotText(net.pointName[p]);
  const int points = BoundedCount(net.pointCount, kMaxHeightPoints);
  const HeightPointIndex index(net, points);
  for (int k = 0; k < BoundedCount(net.loopCount, HeightCapacityOf(net, kCapacityLoops)); ++k) {
    LoopEntry& e = net.loops[k];
    bool through = false;
    for (const HeightNameSlot& corner : e.names) through = through || SlotText(corner) == name;
    if (!through) continue;
    LoopMiddle(
        e.kind,
        [&](int s, double& x, double& y) {
          const int q = index.Find(SlotText(e.names[s]));
          if (q >= 0) x = net.diagramX[q], y = net.diagramY[q];
          return q >= 0;
        },
        e.labelX, e.labelY);
  }
}

}  // namespace

void StoreMovedHeightItem(HeightNetwork& net, const MovableItem& item, GroundPoint newReference, double m) {
  if (!Finite(newReference) || !Finite(item.reference)) return;
  const double dx = newReference.x - item.reference.x, dy = newReference.y - item.reference.y;
  const int points = BoundedCount(net.pointCount, HeightCapacityOf(net, kCapacityPoints));
  const int observations = BoundedCount(net.observationCount, HeightCapacityOf(net, kCapacityDifferences));
  const int loops = BoundedCount(net.loopCount, HeightCapacityOf(net, kCapacityLoops));
  const int i = item.index;
  switch (item.kind) {
    case MovableKind::HeightName:
      if (i < 0 || i >= points || !std::isfinite(m) || m <= 0.0) return;
      net.labelOffsetX[i] = DrawnLabelOffset(static_cast<float>(DrawnLabelOffset(net.labelOffsetX[i]) + dx / m));
      net.labelOffsetY[i] = DrawnLabelOffset(static_cast<float>(DrawnLabelOffset(net.labelOffsetY[i]) + dy / m));
      return;
    case MovableKind::HeightPoint:
      if (i >= 0 && i < points) MovePoint(net, i, newReference);
      return;
    case MovableKind::LoopLabel:
      if (i < 0 || i >= loops) return;
      net.loops[i].labelX = newReference.x;
      net.loops[i].labelY = newReference.y;
      return;
    case MovableKind::DifferenceText:
      if (i < 0 || i >= observations) return;
      for (int k = 1; k < kCurvePointCount - 1; ++k) {
        net.curve[i][k][0] += dx;
        net.curve[i][k][1] += dy;
      }
      return;
    default:
      return;
  }
}

void StoreCurveControlPoints(HeightNetwork& net, int observation, const GroundPoint interior[3]) {
  if (observation < 0 || observation >= BoundedCount(net.observationCount, HeightCapacityOf(net, kCapacityDifferences)))
    return;
  for (int k = 0; k < 3; ++k) {
    if (!Finite(interior[k])) return;
  }
  for (int k = 0; k < 3; ++k) {
    net.curve[observation][k + 1][0] = interior[k].x;
    net.curve[observation][k + 1][1] = interior[k].y;
  }
}

}  // namespace qp
