// The height diagram's layout after a recomputation: where the points sit,
// how the lines between them curve and where the closure texts stand. A
// network that was arranged by hand keeps its arrangement for everything that
// is still there; the default layout serves a new or untouched diagram.
#pragma once

#include "height/height_network.h"

namespace qp {

// Point i of n in the default rows: rows of c = ⌊√n⌋ points, 200 m apart,
// starting at X 8000, Y 16000 (m).
struct RowPosition {
  double x, y;
};
RowPosition DefaultRowPosition(int i, int n);

// Whether curve i still has its straight default shape: the interior control
// points on the quarter points between its two ends.
bool CurveIsStraight(const HeightNetwork& net, int i);

// Lays curve i out straight from (ax, ay) to (bx, by).
void SetStraightCurve(HeightNetwork& net, int i, double ax, double ay, double bx, double by);

// Whether the diagram of `previous`, the record before an edit, carries work
// of the user: it was computed with its present point list, and a point
// stands off its default row (when the positions are not plane coordinates),
// a curve was reshaped, a name was moved off its point or a closure text off
// the middle of its points.
bool HeightLayoutArrangedByHand(const HeightNetwork& previous);

// The diagram layout of the recomputed network `net` for its change level.
// When `previous` was arranged by hand, what is still there keeps its place,
// matched by name: points their diagram positions and name offsets (level
// 256, without plane coordinates), reshaped lines (same ends, same direction,
// same occurrence among repeated lines) their curves (level 128 and more),
// moved closure texts of the same loops their positions (level 64 and more);
// new points continue the default rows beyond the points kept, new lines are
// straight and new closure texts stand at the middle of their points.
// Otherwise the default layout of ApplyDefaultHeightLayout.
void LayOutHeightDiagram(HeightNetwork& net, const HeightNetwork& previous, int changeLevel);

}  // namespace qp
