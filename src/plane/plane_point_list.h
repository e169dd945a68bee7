// From the input tables to a computable plane network: the point list (given
// points first, then every other point named by an observation, ordered so
// that each can be reached from earlier ones), the direction sets, the
// approximate coordinates of the new points (approximate_coordinates.h), and
// the count of unknowns and redundant observations that decides whether the
// network can be adjusted.
//
// Every routine shows its own failure message through the platform and
// returns false; the record may then be partly rebuilt.
#pragma once

#include "common/platform_services.h"
#include "plane/plane_network.h"

namespace qp {

// Builds the PointTable, the NameList, the direction sets and the
// approximate coordinates from the tables read from the input dialog.
bool CollectNetworkPoints(PlaneNetwork& net, PlatformServices& platform);

// Rearranges the PointTable names beyond the given points so that each new
// point follows the points it is determined from. Point count and the given
// points must be in place.
void OrderUnknownPoints(PlaneNetwork& net);

// Sorts the working direction table into one set per point (placeholders for
// points that observed nothing), each ascending from its zero direction;
// fills SetStart, the non-station count and the rewritten DirectionInput.
bool BuildDirectionSets(PlaneNetwork& net, PlatformServices& platform);

// Stores the unknown-point count u, the unknown count 2u + fixed azimuths +
// fixed distances, and the redundancy.
void ComputeUnknownsAndRedundancy(PlaneNetwork& net);

// The confirmation steps after the input is read: CollectNetworkPoints, the
// unknowns and the redundancy, and the check that the network can be
// adjusted or estimated. Shows the failure's message and returns false.
// Fits PlaneConfirmationSteps.
bool PrepareComputableNetwork(PlaneNetwork& net, PlatformServices& platform);

}  // namespace qp
