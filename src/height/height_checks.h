// The steps of a parsed height network before it is confirmed: duplicate
// names, the point list with its approximate heights, the precision pairs and
// plane coordinates. Each check refuses with the message for its caller to
// show; the precision pairs and coordinates name the table line they refuse.
#pragma once

#include "common/rejected_entry.h"
#include "height/height_model.h"

namespace qp {

// The given points, the coordinate table and the height differences name no
// point twice.
InputCheck CheckDuplicateNames(const HeightModel& model);

// Completes the point list of the given points from the height differences
// and the coordinate table, and resolves the differences' ends. After a
// refusal the points found so far stay in the list.
InputCheck CompleteHeightPointList(HeightModel& model);

// Carries approximate heights along the height differences to every point
// without one; refused with a note naming each point left without.
InputCheck CarryApproximateHeights(HeightModel& model);

InputCheck CheckHeightPrecisionPairs(const HeightModel& model);

// Coordinates are all or nothing; they become the diagram positions.
InputCheck CheckHeightCoordinates(HeightModel& model);

}  // namespace qp
