// What the text-move and point-move tools and the label arrangement store in
// the height network's layout when they put an item of the diagram down.
#pragma once

#include "drawing/movable_items.h"
#include "height/height_model.h"

namespace qp {

// Stores an item the text-move or point-move tool has put down with its
// reference at `newReference` (m: ground metres per paper millimetre):
// - a name: its point's label offset (paper mm) grows by the displacement;
// - a point: its diagram position becomes `newReference`; every curve that
//   starts or ends there keeps its end on the point (a curve still in its
//   straight default shape is laid out straight again, a reshaped one keeps
//   its interior control points), and the closure texts of the loops through
//   the point are placed again at the middle of their points;
// - a closure text: its label position becomes `newReference`;
// - a height-difference text: the curve's three interior control points
//   move by the displacement, so the line bends towards the text, which is
//   always drawn at the middle of its line.
// Items of other kinds, indices outside the tables and non-finite positions
// change nothing.
void StoreMovedHeightItem(HeightModel& model, const MovableItem& item, GroundPoint newReference, double m);

// Stores the three interior control points of a curve after vertex editing.
// An index outside the table or a non-finite point changes nothing.
void StoreCurveControlPoints(HeightModel& model, int observation, const GroundPoint interior[3]);

}  // namespace qp
