// The number rule shared by every input table and coordinate tool: after
// trimming, a field is numeric when it holds only digits plus at most one "."
// and at most one "-" (in any position). Its value is its longest leading
// decimal number.
#pragma once

#include <string_view>

namespace qp {

// Trims blanks (space, tab, CR, LF, VT, FF) at both ends.
std::string_view Trim(std::string_view text);

// True for an empty field too; callers that need a value check emptiness first.
bool IsNumericField(std::string_view field);

// The text-to-double conversion of the dialogs: leading blanks, an optional
// sign, digits with an optional decimal point and an optional exponent; the
// rest of the text is ignored. 0 when there is no number. A value too large for
// a double gives the largest double of its sign, never infinity: no infinite
// value enters a record, and every bound a caller checks refuses (or clamps)
// it as it does any other huge value. A value too small for a double gives 0.
double LeadingNumber(std::string_view text);

// No surveying coordinate comes near 1e8 m (the earth's circumference is
// 4e7 m): a coordinate beyond it is a typing error, and refusing it at input
// keeps every reduction, diagram and export of the network within range.
inline constexpr double kLargestSurveyCoordinate = 1e8;
inline bool IsCoordinateInRange(double metres) {
  return metres >= -kLargestSurveyCoordinate && metres <= kLargestSurveyCoordinate;
}

}  // namespace qp
