// The one line the status bar gives after a network was computed: what was
// done (adjusted or estimated) and its main figures, read from the results
// the computation left in the network, never from its report.
#pragma once

#include <string>

#include "height/height_model.h"
#include "plane/plane_model.h"
#include "statistics/adjustment_statistics.h"

namespace qp {

// "平差完成: m0=±0.604″, 最弱点 N3 0.65 cm; 整体检验通过" (UTF-8). An
// adjustment gives its unit-weight error (seconds for a plane network,
// millimetres for a height network, to the report's three decimals), every
// computation its weakest point (the largest point error, centimetres for a
// plane network, millimetres for a height network, to two decimals), and the
// global test's verdict when one was made. An estimate has no m0 of its own.
std::string PlaneComputationSummary(const PlaneModel& model, GlobalTestOutcome test);
std::string HeightComputationSummary(const HeightModel& model, GlobalTestOutcome test);

}  // namespace qp
