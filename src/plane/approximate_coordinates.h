// The approximate coordinates of the points a plane network adds to its given
// ones, found along its observations.
#pragma once

#include "common/platform_services.h"
#include "plane/plane_model.h"

namespace qp {

// Computes X, Y of every point beyond the given ones by polar points,
// intersections and resections; names every point it could not reach.
bool ComputeApproxCoordinates(PlaneModel& model, PlatformServices& platform);

}  // namespace qp
