// Small dense linear algebra for the tests' independent least-squares
// solutions: Gauss-Jordan elimination with partial pivoting, nothing shared
// with the solver under test.
#pragma once

#include <cmath>
#include <utility>
#include <vector>

namespace qp::testing {

using Matrix = std::vector<std::vector<double>>;

// Solves M X = B in place (B becomes X); false when singular.
inline bool SolveDense(Matrix m, Matrix& b) {
  const size_t n = m.size();
  for (size_t col = 0; col < n; ++col) {
    size_t pivot = col;
    for (size_t r = col + 1; r < n; ++r) {
      if (std::fabs(m[r][col]) > std::fabs(m[pivot][col])) pivot = r;
    }
    if (std::fabs(m[pivot][col]) < 1e-300) return false;
    std::swap(m[pivot], m[col]);
    std::swap(b[pivot], b[col]);
    for (size_t r = 0; r < n; ++r) {
      if (r == col) continue;
      const double f = m[r][col] / m[col][col];
      if (f == 0.0) continue;
      for (size_t c = col; c < n; ++c) m[r][c] -= f * m[col][c];
      for (size_t c = 0; c < b[r].size(); ++c) b[r][c] -= f * b[col][c];
    }
  }
  for (size_t r = 0; r < n; ++r) {
    for (double& v : b[r]) v /= m[r][r];
  }
  return true;
}

// The inverse of a regular matrix (the matrix itself left as it was).
inline Matrix Inverse(const Matrix& m) {
  Matrix inv(m.size(), std::vector<double>(m.size(), 0.0));
  for (size_t i = 0; i < m.size(); ++i) inv[i][i] = 1.0;
  SolveDense(m, inv);
  return inv;
}

}  // namespace qp::testing
