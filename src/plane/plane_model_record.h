// The plane model and the stored record: the model is built from the record
// once the network is confirmed or read, and the computation's results are
// put back into the record before it is stored.
#pragma once

#include "plane/plane_model.h"
#include "plane/plane_network.h"

namespace qp {

// Every table is taken within its capacity and every count within its table,
// so a damaged record gives a bounded model; names the point table does not
// hold leave their observation's indices at -1.
PlaneModel PlaneModelFromRecord(const PlaneNetwork& net);

// Writes what a computation changes: the coordinates, the unit-weight error,
// the point error ellipses and the precision of the sides and the pairs.
// Everything else in the record keeps its bytes.
void PutPlaneResults(const PlaneModel& model, PlaneNetwork& net);

}  // namespace qp
