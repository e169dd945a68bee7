// The height diagram's layout after a recomputation: where the points sit,
// how the lines between them curve and where the closure texts stand. A
// network that was arranged by hand keeps its arrangement for everything that
// is still there; the default layout serves a new or untouched diagram.
#pragma once

#include <optional>

#include "height/height_model.h"

namespace qp {

// The control points (X, Y) of the curve that draws one height difference (m).
using HeightCurve = double[kCurvePointCount][2];

// Whether a curve still has its straight default shape: the interior control
// points on the quarter points between its two ends.
bool CurveIsStraight(const HeightCurve& c);

// The default curve of a repeated line (the second and further height
// differences between the same two points, in either direction) is bowed so
// that the lines and their texts stand apart: the interior control points lie
// 3/4, 1 and 3/4 of the bow across the quarter points, to the right of the
// curve's direction for a positive bow (m).
void SetBowedCurve(HeightCurve& c, double ax, double ay, double bx, double by, double bow);

// The bow (m) of a curve that still has a default shape (straight: 0, or
// evenly bowed as SetBowedCurve lays it out at any bow); nothing for a curve
// the user reshaped or a damaged one.
std::optional<double> DefaultCurveBow(const HeightCurve& c);

// Bows the straight default curves of repeated lines, `m` ground metres per
// paper millimetre: between two points the first line stays straight, the
// second bows one step to one side, the third one step to the other, the
// fourth two steps to the first side and so on (the sides counted from the
// point that comes first in the point list, so a line and its reciprocal
// bow apart). Reshaped curves and first lines are left as they are.
void BowRepeatedLines(HeightModel& net, double m);

// Whether the diagram of `previous`, the network before an edit, carries work
// of the user: it was computed with its present point list, and a point
// stands off its default row (when the positions are not plane coordinates),
// a curve was reshaped (a bowed default curve is not), a name was moved off its point or a closure text off
// the middle of its points.
bool HeightLayoutArrangedByHand(const HeightModel& previous);

// The diagram layout of the recomputed network `net` for its change level.
// When `previous` was arranged by hand, what is still there keeps its place,
// matched by name: points their diagram positions and name offsets (level
// 256, without plane coordinates), reshaped lines (same ends, same direction,
// same occurrence among repeated lines) their curves (level 128 and more),
// moved closure texts of the same loops their positions (level 64 and more);
// new points continue the default rows beyond the points kept, new lines are
// straight and new closure texts stand at the middle of their points.
// Otherwise the default layout of ApplyDefaultHeightLayout.
void LayOutHeightDiagram(HeightModel& net, const HeightModel& previous, int changeLevel);

// How much the computed network `net` differs from `backup`, the network
// before the edit: 256 when the points changed (count against the last
// computed one, names, a diagram position by more than 10 m), 128 when the
// height differences changed, 64 when the closure table changed, else 0. Sets
// the last computed point count when it differs.
int HeightChangeLevel(HeightModel& net, const HeightModel& backup);

// The default diagram layout for a change level: point positions in rows
// (256, only without plane coordinates), straight curves (128 and more),
// closure labels at the middle of their points (64 and more).
void ApplyDefaultHeightLayout(HeightModel& net, int changeLevel);

// Places the closure text of `entry` at the middle of its points: the
// midpoint of the two points of a line or a two-line loop, the centroid of a
// triangle's or a quadrilateral's corners. Names that are no point are left
// out; an entry with none found keeps its place.
void PlaceLoopLabel(const HeightModel& net, HeightLoop& entry);

}  // namespace qp
