// From the input tables to a computable plane network: the point list (given
// points first, then every other point named by an observation, ordered so
// that each can be reached from earlier ones), the direction sets, the
// approximate coordinates of the new points (approximate_coordinates.h), the
// count of unknowns and redundant observations that decides whether the
// network can be adjusted, then the approximate heights and the side list.
//
// Every routine that can fail returns its refusal with the message for the
// caller to show; the model may then be partly rebuilt.
#pragma once

#include <cstdint>

#include "common/rejected_entry.h"
#include "plane/network_geometry.h"
#include "plane/plane_model.h"

namespace qp {

// Lists every other point named by an observation after the given points,
// orders the list, builds the direction sets and computes the approximate
// coordinates (`turn` as there), on the model of the input tables (its given
// points first).
InputCheck CollectNetworkPoints(PlaneModel& model, const TurnAnswerer& turn);

// Rearranges the points beyond the given ones so that each new point follows
// the points it is determined from, along the directions as entered.
void OrderUnknownPoints(PlaneModel& model);

// Sorts the directions as entered into one set per station, in point order,
// each ascending from its zero direction; the directions as entered are then
// kept set by set.
InputCheck BuildDirectionSets(PlaneModel& model);

// Stores the redundancy: the observations less the 2u coordinates and one
// orientation per station.
void ComputeRedundancy(PlaneModel& model);

// The confirmation steps after the input is read: CollectNetworkPoints, the
// redundancy, and the check that the network can be adjusted or estimated.
InputCheck PrepareComputableNetwork(PlaneModel& model, const TurnAnswerer& turn);

// What a side of the network diagram stands for (the record's SideSymbol).
enum SideKind : uint8_t {
  kSideObserved = 0,          // weighted or measured side, or directions from both ends
  kSideFixed = 1,             // fixed side (or a direction side between two known points)
  kSideFixedAzimuth = 2,      // fixed azimuth
  kSideFixedWithAzimuth = 3,  // fixed side that also carries a fixed azimuth
  kSideFromStation = 4,       // directions observed at its from point only
  kSideKnownFromStation = 5,  // as 4, between two known points
  kSideToStation = 6,         // directions observed at its to point only
  kSideKnownToStation = 7,    // as 6, between two known points
};

// Modes 2-4: heights of all points from the known heights and the height
// differences of the reduced distances; in modes 3 and 4 the reduced lengths
// are then brought to the projection plane and the Gauss plane. Refused with
// a note naming every point whose height cannot be reached (lengths
// untouched). In modes 0 and 1 nothing is done.
InputCheck ComputeApproximateHeights(PlaneModel& model);

// The side list (every pair of points joined by an observation, once, with
// its SideKind), then the precision end-point pairs: neither end may be a
// known point and the two may not be joined.
InputCheck BuildSideList(PlaneModel& model);

}  // namespace qp
