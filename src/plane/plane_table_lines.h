// Helpers shared by the readers of the plane input tables.
#pragma once

#include <string_view>

#include "common/numeric_field.h"
#include "common/table_line_reader.h"

namespace qp {

// A value field: present and numeric.
inline bool IsValueField(std::string_view field) { return !field.empty() && IsNumericField(field); }

}  // namespace qp
