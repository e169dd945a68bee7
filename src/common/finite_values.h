// Floating-point values that must be finite: checked before a computed result
// is kept, repaired where a file written elsewhere may hold anything.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <span>
#include <type_traits>

namespace qp {

inline bool AllFinite(std::span<const double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}
inline bool AllFinite(const double* values, size_t count) { return AllFinite(std::span(values, count)); }
inline bool AllFinite(std::initializer_list<double> values) {
  return AllFinite(std::span(values.begin(), values.size()));
}

// Replaces values that are not finite by 0 (slots no list uses may hold
// anything in a file written elsewhere; they must not be written back so).
inline void ZeroNonFinite(double* values, size_t count) {
  std::replace_if(values, values + count, [](double v) { return !std::isfinite(v); }, 0.0);
}

template <size_t N>
void ZeroNonFinite(double (&values)[N]) {
  ZeroNonFinite(values, N);
}

template <size_t R, size_t C>
void ZeroNonFinite(double (&values)[R][C]) {
  for (auto& row : values) ZeroNonFinite(row);
}

// Several arrays at once.
template <typename... Arrays>
  requires(sizeof...(Arrays) > 1)
void ZeroNonFinite(Arrays&... arrays) {
  (ZeroNonFinite(arrays), ...);
}

// True when every one of `fields` (a float or double, or an array of them of
// any rank) is finite: the test a stored record passes before it is used.
template <typename T>
bool FiniteField(const T& field) {
  if constexpr (std::is_floating_point_v<T>) {
    return std::isfinite(field);
  } else {
    return std::all_of(std::begin(field), std::end(field), [](const auto& element) { return FiniteField(element); });
  }
}
template <typename... T>
bool AllFields(const T&... fields) {
  return (FiniteField(fields) && ...);
}

}  // namespace qp
