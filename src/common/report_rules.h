// The rule lines that frame every table section of the reports: two blanks and
// 63 "-" (or "=" for the double rule under a title), written with CR LF.
#pragma once

#include <string>

namespace qp {

inline const std::string& RuleLine() {
  static const std::string line = "  " + std::string(63, '-');
  return line;
}

inline const std::string& DoubleRuleLine() {
  static const std::string line = "  " + std::string(63, '=');
  return line;
}

// The line as it goes into a report ("%s\r\n").
inline std::string RuleRow() { return RuleLine() + "\r\n"; }
inline std::string DoubleRuleRow() { return DoubleRuleLine() + "\r\n"; }

}  // namespace qp
