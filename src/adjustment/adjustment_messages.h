// The messages that end a plane or height computation on the normal
// equations (GBK).
#pragma once

#include <string>

#include "common/gbk_text.h"

namespace qp {

// A normal system that cannot be solved: rank-deficient, too large for the
// store, or holding values that are not numbers.
inline std::string SingularNormalMessage() { return Gbk("法方程系数不满秩或超过解题容量 !!!"); }

// The iterations did not bring every correction within its limit in time.
inline std::string NotConvergingMessage() { return Gbk("法方程解算不收敛 !!!"); }

}  // namespace qp
