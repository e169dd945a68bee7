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

// The same while the network is being confirmed: the point table holds at
// least the given points, and the directions are those of the working table
// as entered (PlaneModel::enteredDirections), in no set.
PlaneModel PlaneModelOfEnteredDirections(const PlaneNetwork& net);

// Writes the coordinates of the points.
void PutPlaneCoordinates(const PlaneModel& model, PlaneNetwork& net);

// Writes what the confirmation builds from the input tables: the point names
// and coordinates, the name list (the point names again), the counts of
// points, unknown points, unknowns, points without a set and the redundancy,
// and, when there are directions, the working direction table set by set
// with the start of each point's set, and the directions as entered into the
// input table. A point without a set holds a zero direction to the first
// point, while those fit beside the directions; else its set is empty.
void PutPlanePointList(const PlaneModel& model, PlaneNetwork& net);

// Writes the values of the direction sets into the working direction table.
void PutPlaneDirections(const PlaneModel& model, PlaneNetwork& net);

// Writes the heights (zero beyond the point table) and the reduced lengths.
void PutPlaneHeights(const PlaneModel& model, PlaneNetwork& net);

// Writes the side list: the sides' names (as the point table holds them),
// symbols and count.
void PutPlaneSides(const PlaneModel& model, PlaneNetwork& net);

// Replaces the traverse table with the model's traverses (their names as the
// point table holds them).
void PutPlaneTraverses(const PlaneModel& model, PlaneNetwork& net);

// Writes the diagram layout and style: the kind, fonts and colour, the
// ellipse scale and near-pair warning, the name offsets, the traverse text
// places and drawing flags, and the point count the layout was made for.
void PutPlaneLayout(const PlaneModel& model, PlaneNetwork& net);

// Writes what a computation changes: the coordinates, the unit-weight error,
// the point error ellipses and the precision of the sides and the pairs.
// Everything else in the record keeps its bytes.
void PutPlaneResults(const PlaneModel& model, PlaneNetwork& net);

}  // namespace qp
