// The height network model and the data file record: the model is read from
// a confirmed record, and its results are put back into it. The record's
// counts are bounded by its arrays here, once, so a damaged file gives a
// bounded model.
#pragma once

#include "height/height_model.h"
#include "height/height_network.h"

namespace qp {

HeightModel HeightModelFromRecord(const HeightNetwork& net);

// The network as the input was parsed, before its point list is completed:
// the points are the given ones (known, then approximate).
HeightModel HeightModelOfParsedInput(const HeightNetwork& net);

// Writes the names of the points the point list was completed with (beyond
// the given ones), with their heights; the counts are left as they are.
void PutHeightPointNames(const HeightModel& model, HeightNetwork& net);

// Stores what a computation gives: sigma0, the largest correction, the
// heights and their errors, the errors of the height differences and the
// differences and errors of the pairs.
void PutHeightResults(const HeightModel& model, HeightNetwork& net);

// Stores the diagram layout and style: point positions and name offsets, the
// curves, the closure text positions and drawing flags, the point count it
// was laid out for, the kind, fonts and colour.
void PutHeightLayout(const HeightModel& model, HeightNetwork& net);

// Stores the closure table the raw-data report filled, or emptied.
void PutHeightLoops(const HeightModel& model, HeightNetwork& net);

}  // namespace qp
