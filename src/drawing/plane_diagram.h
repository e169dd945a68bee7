// The plane network diagram: sides, the kind's content (error ellipses,
// observation values, annotations), point symbols and names, emitted as
// entities in ground coordinates. Also the diagram data kept with the network
// (ellipse scale, label positions) and what the text-move tool stores back.
#pragma once

#include <optional>
#include <vector>

#include <string>

#include "drawing/draw_context.h"
#include "drawing/entities.h"
#include "drawing/movable_items.h"
#include "plane/plane_model.h"

namespace qp {

// The diagram of the network's current kind. With `items`,
// the movable texts (point names; the closure texts of kind 5) are listed as
// they are drawn. Damaged display settings are clamped: a kind outside 0..7
// draws the network only, unusable fonts take their starting sizes, a scale
// k that is not positive counts as 1, non-finite points and values are
// skipped, counts are kept within the tables. Kind 5 draws the observations
// in `context.flagged` red: the value, with the half of a direction's line of
// sight at its station, or the whole side of a distance or azimuth.
void DrawPlaneDiagram(EntityEmitter& out, const PlaneModel& model, const DrawContext& context,
                      MovableItemList* items = nullptr);

// The diagram title of the current kind (GBK), written into the sheet's
// title slot before the frame is drawn.
std::string BuildPlaneDiagramTitle(const PlaneModel& model);

// The ellipse scale k: drawn semi-axis (paper mm) = semi-axis (cm) x 10 / k.
// Stores maxSemiAxis (mm, the largest E or F of the points and the sides
// x 10) and k in the diagram style and returns k. A maximum radius above 25 mm gives
// k = 1; otherwise k = (maxSemiAxis / radius) rounded to hundredths, and
// above 1 to a whole number. Never 0: all-zero ellipses give 1, ellipses too
// small for a hundredth give 0.01.
double ComputeEllipseScale(PlaneModel& model);

// The diagram data rebuilt after a computation that changed the network
// (change level 128 or more): the ellipse scale, every point name back on its
// point (label offset 0, 0) and every traverse closure text at its default
// place (chosen at `m` ground metres per paper millimetre).
void RebuildPlaneDiagramData(PlaneModel& model, double m = 0.0);

// The default places of the traverse closure texts, one per entry: on the
// side from the start point to the end point (for a traverse that closes on
// its start point, to its orientation point); the texts of k traverses on the
// same side at 1/(k+1), 2/(k+1) ... along it, so that none lies on another.
// With the sheet's `m` (ground metres per paper millimetre) and an adjusted
// network, the place of a drawn text is chosen clear of the other texts of
// the observation-value diagram by the rules of text_placement.h, the
// classic place first; without (m 0) the classic place. Nothing for an entry
// whose points are missing.
std::vector<std::optional<GroundPoint>> DefaultTraverseLabels(const PlaneModel& model, double m = 0.0);

// After a confirmation that left the network as it was (change level 0) the
// traverse search has filled its table afresh: entries found before keep the
// places the user gave their texts (same four points in `before`), new ones
// get the default place (chosen at `m` as DefaultTraverseLabels does). A
// traverse is known by the names of its four points; a point the table does
// not hold counts as an empty name.
void KeepTraverseLabels(PlaneModel& model, const PlaneModel& before, double m = 0.0);

// After a computation that found a new point list (change level 256) the
// names the user moved stay beside their points: every point of `model` also
// in `before`, the network before the edit, takes its label offset from
// there (unless `before` was never drawn).
void KeepNameOffsets(PlaneModel& model, const PlaneModel& before);

// Stores where the text-move tool put a plane item: a point name's
// label offset in paper mm (dx along X, dy along Y, from the move of its
// reference point), a traverse closure text's label position in metres.
// `m` is the ground length of one paper millimetre. Other kinds, indices
// outside the tables and non-finite positions change nothing.
void StoreMovedPlaneItem(PlaneModel& model, const MovableItem& item, GroundPoint newReference, double m);

}  // namespace qp
