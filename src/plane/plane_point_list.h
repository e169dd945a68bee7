// From the input tables to a computable plane network: the point list (given
// points first, then every other point named by an observation, ordered so
// that each can be reached from earlier ones), the direction sets, the
// approximate coordinates of the new points (approximate_coordinates.h), and
// the count of unknowns and redundant observations that decides whether the
// network can be adjusted.
//
// Every routine shows its own failure message through the platform and
// returns false; the model may then be partly rebuilt.
#pragma once

#include "common/platform_services.h"
#include "plane/plane_model.h"

namespace qp {

// Lists every other point named by an observation after the given points,
// orders the list, builds the direction sets and computes the approximate
// coordinates, on the model of the input tables (its given points first).
bool CollectNetworkPoints(PlaneModel& model, PlatformServices& platform);

// Rearranges the points beyond the given ones so that each new point follows
// the points it is determined from, along the directions as entered.
void OrderUnknownPoints(PlaneModel& model);

// Sorts the directions as entered into one set per station, in point order,
// each ascending from its zero direction; the directions as entered are then
// kept set by set.
bool BuildDirectionSets(PlaneModel& model, PlatformServices& platform);

// Stores the redundancy: the observations less the 2u coordinates and one
// orientation per station.
void ComputeRedundancy(PlaneModel& model);

// The confirmation steps after the input is read: CollectNetworkPoints, the
// redundancy, and the check that the network can be adjusted or estimated.
// Shows the failure's message and returns false.
bool PrepareComputableNetwork(PlaneModel& model, PlatformServices& platform);

}  // namespace qp
