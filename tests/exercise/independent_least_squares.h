// A plain least-squares solver for checking the exercise solver: Cholesky
// factorisation and the textbook formulas, nothing shared with the code under
// test.
#pragma once

#include <cmath>
#include <stdexcept>
#include <vector>

namespace qp::testing {

using Vector = std::vector<double>;
using Matrix = std::vector<Vector>;

inline Matrix Transposed(const Matrix& a) {
  Matrix t(a.empty() ? 0 : a[0].size(), Vector(a.size()));
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = 0; j < a[i].size(); ++j) t[j][i] = a[i][j];
  return t;
}

inline Matrix Product(const Matrix& a, const Matrix& b) {
  Matrix c(a.size(), Vector(b.empty() ? 0 : b[0].size(), 0.0));
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = 0; j < c[i].size(); ++j)
      for (size_t l = 0; l < b.size(); ++l) c[i][j] += a[i][l] * b[l][j];
  return c;
}

inline Vector Product(const Matrix& a, const Vector& x) {
  Vector y(a.size(), 0.0);
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = 0; j < x.size(); ++j) y[i] += a[i][j] * x[j];
  return y;
}

inline double Dot(const Vector& a, const Vector& b) {
  double s = 0.0;
  for (size_t i = 0; i < a.size(); ++i) s += a[i] * b[i];
  return s;
}

// Inverse of a symmetric positive definite matrix through N = L·Lᵀ.
inline Matrix CholeskyInverse(const Matrix& n) {
  const size_t size = n.size();
  Matrix l(size, Vector(size, 0.0));
  for (size_t j = 0; j < size; ++j) {
    double d = n[j][j];
    for (size_t k = 0; k < j; ++k) d -= l[j][k] * l[j][k];
    if (d <= 0.0) throw std::runtime_error("not positive definite");
    l[j][j] = std::sqrt(d);
    for (size_t i = j + 1; i < size; ++i) {
      double s = n[i][j];
      for (size_t k = 0; k < j; ++k) s -= l[i][k] * l[j][k];
      l[i][j] = s / l[j][j];
    }
  }
  Matrix inverse(size, Vector(size));
  for (size_t c = 0; c < size; ++c) {
    Vector y(size);
    for (size_t i = 0; i < size; ++i) {
      double s = i == c ? 1.0 : 0.0;
      for (size_t k = 0; k < i; ++k) s -= l[i][k] * y[k];
      y[i] = s / l[i][i];
    }
    for (size_t i = size; i-- > 0;) {
      double s = y[i];
      for (size_t k = i + 1; k < size; ++k) s -= l[k][i] * inverse[k][c];
      inverse[i][c] = s / l[i][i];
    }
  }
  return inverse;
}

struct LeastSquares {
  Matrix inverse;      // of the (unbordered) normal matrix
  Vector solution;     // as the solver's constants column: unknowns then correlates, or correlates then parameters
  Vector corrections;
  double pvv = 0.0;
  double m0 = 0.0;
  Vector reciprocalWeights;
};

inline void Precision(LeastSquares& ls, const Vector& p, int redundancy) {
  ls.pvv = 0.0;
  for (size_t i = 0; i < p.size(); ++i) ls.pvv += p[i] * ls.corrections[i] * ls.corrections[i];
  ls.m0 = redundancy > 0 ? std::sqrt(ls.pvv / redundancy) : 0.0;
}

// V = B·x − l with weights p, restrictions C·x = wc, weight functions f·x.
inline LeastSquares Indirect(const Matrix& b, const Vector& l, const Vector& p, const Matrix& c, const Vector& wc,
                             const Matrix& f) {
  Matrix pb = b;
  for (size_t i = 0; i < b.size(); ++i)
    for (auto& v : pb[i]) v *= p[i];
  const Matrix bt = Transposed(b);
  const Matrix ninv = CholeskyInverse(Product(bt, pb));
  Vector u(bt.size(), 0.0);
  for (size_t j = 0; j < bt.size(); ++j)
    for (size_t i = 0; i < b.size(); ++i) u[j] += b[i][j] * p[i] * l[i];
  LeastSquares ls;
  ls.inverse = ninv;
  Vector x = Product(ninv, u);
  Matrix qxx = ninv;
  Vector k;
  if (!c.empty()) {
    const Matrix nct = Product(ninv, Transposed(c));
    const Matrix minv = CholeskyInverse(Product(c, nct));
    Vector gap = Product(c, x);
    for (size_t i = 0; i < gap.size(); ++i) gap[i] -= wc[i];
    k = Product(minv, gap);
    const Vector shift = Product(nct, k);
    for (size_t i = 0; i < x.size(); ++i) x[i] -= shift[i];
    const Matrix correction = Product(Product(nct, minv), Transposed(nct));
    for (size_t i = 0; i < qxx.size(); ++i)
      for (size_t j = 0; j < qxx.size(); ++j) qxx[i][j] -= correction[i][j];
  }
  ls.solution = x;
  ls.solution.insert(ls.solution.end(), k.begin(), k.end());
  ls.corrections = Product(b, x);
  for (size_t i = 0; i < l.size(); ++i) ls.corrections[i] -= l[i];
  Precision(ls, p, static_cast<int>(b.size() - x.size() + c.size()));
  for (const auto& row : f) ls.reciprocalWeights.push_back(Dot(row, Product(qxx, row)));
  return ls;
}

// A·V + Bp·x = w with weights p; weight functions f over the adjusted
// observations (only without parameters).
inline LeastSquares Condition(const Matrix& a, const Matrix& bp, const Vector& w, const Vector& p, const Matrix& f) {
  Matrix aq = a;  // A·P⁻¹
  for (auto& row : aq)
    for (size_t j = 0; j < row.size(); ++j) row[j] /= p[j];
  const Matrix ninv = CholeskyInverse(Product(aq, Transposed(a)));
  LeastSquares ls;
  ls.inverse = ninv;
  Vector rhs = w;
  Vector x;
  if (!bp.empty() && !bp[0].empty()) {
    const Matrix nb = Product(ninv, bp);
    x = Product(CholeskyInverse(Product(Transposed(bp), nb)), Product(Transposed(nb), w));
    const Vector bx = Product(bp, x);
    for (size_t i = 0; i < rhs.size(); ++i) rhs[i] -= bx[i];
  }
  const Vector k = Product(ninv, rhs);
  ls.solution = k;
  ls.solution.insert(ls.solution.end(), x.begin(), x.end());
  ls.corrections = Product(Transposed(aq), k);
  Precision(ls, p, static_cast<int>(a.size() - x.size()));
  if (x.empty()) {
    const Matrix q = Product(Product(Transposed(aq), ninv), aq);  // P⁻¹AᵀN⁻¹AP⁻¹
    for (const auto& row : f) {
      double s = 0.0;
      for (size_t i = 0; i < row.size(); ++i) s += row[i] * row[i] / p[i];
      ls.reciprocalWeights.push_back(s - Dot(row, Product(q, row)));
    }
  }
  return ls;
}

}  // namespace qp::testing
