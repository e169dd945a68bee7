// The messages the plane and height computations show for the outcomes of
// the normal equations.
#pragma once

#include "common/gbk_text.h"
#include "common/platform_services.h"

namespace qp {

// A normal system that cannot be solved: rank-deficient, too large for the
// store, or holding values that are not numbers.
inline void ShowSingularNormalMessage(PlatformServices& platform) {
  platform.ShowMessage(Gbk("法方程系数不满秩或超过解题容量 !!!"));
}

}  // namespace qp
