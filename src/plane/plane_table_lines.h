// Helpers shared by the readers of the plane input tables.
#pragma once

#include <string>
#include <string_view>

#include "common/numeric_field.h"
#include "common/table_line_reader.h"

namespace qp {

// A value field: present and numeric.
inline bool IsValueField(std::string_view field) { return !field.empty() && IsNumericField(field); }

// FailAtLine with the message the table's title and `what` ("第[%d]行...") make.
inline InputCheck FailAtLine(PlatformServices& platform, std::string_view title, const char* what, int lineNumber) {
  return FailAtLine(platform, (std::string(title) + what).c_str(), lineNumber);
}

}  // namespace qp
