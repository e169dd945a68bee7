// The diagram layout steps of the height model applied to a record, as the
// edit cycle and the sheet preparation apply them, for tests that set up or
// inspect records.
#pragma once

#include "height/height_layout.h"
#include "height/height_model_record.h"
#include "workflow/height_workflow.h"

namespace qp::testing {

inline void ApplyDefaultLayout(HeightNetwork& net, int changeLevel) {
  HeightModel model = HeightModelFromRecord(net);
  ApplyDefaultHeightLayout(model, changeLevel);
  PutHeightLayout(model, net);
}

inline void BowRepeatedLinesOf(HeightNetwork& net, double m) {
  HeightModel model = HeightModelFromRecord(net);
  BowRepeatedLines(model, m);
  PutHeightLayout(model, net);
}

inline bool ArrangedByHand(const HeightNetwork& net) { return HeightLayoutArrangedByHand(HeightModelFromRecord(net)); }

}  // namespace qp::testing
