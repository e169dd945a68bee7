// Whether a computation adjusts observed values or only estimates the
// precision a designed network would reach.
#pragma once

namespace qp {

enum class AdjustmentMode { Adjusting, Estimating };

}  // namespace qp
