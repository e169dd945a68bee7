// The steps of a parsed height network before it is confirmed: duplicate
// names, the point list with its approximate heights, the precision pairs and
// plane coordinates. Each check shows its message and refuses; the precision
// pairs and coordinates name the table line they refuse.
#pragma once

#include "common/platform_services.h"
#include "common/rejected_entry.h"
#include "height/height_model.h"

namespace qp {

// The given points, the coordinate table and the height differences name no
// point twice.
bool CheckDuplicateNames(const HeightModel& model, PlatformServices& platform);

// Completes the point list of the given points from the height differences
// and the coordinate table, and resolves the differences' ends. After a
// refusal the points found so far stay in the list.
bool CompleteHeightPointList(HeightModel& model, PlatformServices& platform);

// Carries approximate heights along the height differences to every point without one.
bool CarryApproximateHeights(HeightModel& model, PlatformServices& platform);

InputCheck CheckHeightPrecisionPairs(const HeightModel& model, PlatformServices& platform);

// Coordinates are all or nothing; they become the diagram positions.
InputCheck CheckHeightCoordinates(HeightModel& model, PlatformServices& platform);

}  // namespace qp
