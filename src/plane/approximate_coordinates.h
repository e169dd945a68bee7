// The approximate coordinates of the points a plane network adds to its given
// ones, found along its observations.
#pragma once

#include "common/rejected_entry.h"
#include "plane/network_geometry.h"
#include "plane/plane_model.h"

namespace qp {

// Computes X, Y of every point beyond the given ones by polar points,
// intersections and resections, `turn` telling the side of each intersection
// of two distances; refused with a note naming every point it could not reach.
InputCheck ComputeApproxCoordinates(PlaneModel& model, const TurnAnswerer& turn);

}  // namespace qp
