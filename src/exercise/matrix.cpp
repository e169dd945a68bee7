#include "exercise/matrix.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "common/gbk_text.h"

namespace qp {
namespace {

constexpr double kSmallestPivot = 1e-16;

void ExchangeRows(double* m, int n, int a, int b) {
  for (int c = 0; c < n; ++c) std::swap(m[a * n + c], m[b * n + c]);
}

}  // namespace

std::string MatrixStatusMessage(MatrixStatus status) {
  switch (status) {
    case MatrixStatus::kEmptyDimension: return Gbk("矩阵相乘条件不满足 !");
    case MatrixStatus::kSingular: return Gbk("矩阵求逆条件不满足 !");
    case MatrixStatus::kDone:
    case MatrixStatus::kTooSmall: break;
  }
  return {};
}

MatrixStatus MatrixMultiply(int m, int n, int k, const double* a, const double* b, double* c) {
  if (m <= 0 || n <= 0 || k <= 0) return MatrixStatus::kEmptyDimension;
  for (int i = 0; i < m; ++i) {
    for (int j = 0; j < k; ++j) {
      double sum = 0.0;
      for (int l = 0; l < n; ++l) sum += a[i * n + l] * b[l * k + j];
      c[i * k + j] = sum;
    }
  }
  return MatrixStatus::kDone;
}

MatrixStatus MatrixInvert(double* a, int n) {
  if (n < 2) return MatrixStatus::kTooSmall;
  std::vector<double> w(a, a + static_cast<size_t>(n) * n);
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) a[i * n + j] = i == j ? 1.0 : 0.0;
  }

  // Forward elimination below the diagonal, carrying A along.
  for (int i = 0; i < n - 1; ++i) {
    int pivot = i;
    for (int row = i + 1; row < n; ++row) {
      if (std::fabs(w[row * n + i]) > std::fabs(w[pivot * n + i])) pivot = row;
    }
    if (pivot != i) {
      ExchangeRows(w.data(), n, i, pivot);
      ExchangeRows(a, n, i, pivot);
    }
    if (std::fabs(w[i * n + i]) < kSmallestPivot) return MatrixStatus::kSingular;
    for (int k = i + 1; k < n; ++k) {
      const double g = w[k * n + i] / w[i * n + i];
      for (int j = i; j < n; ++j) w[k * n + j] -= g * w[i * n + j];
      for (int j = 0; j < n; ++j) a[k * n + j] -= g * a[i * n + j];
    }
  }
  if (std::fabs(w[(n - 1) * n + (n - 1)]) < kSmallestPivot) return MatrixStatus::kSingular;

  // Backward elimination above the diagonal.
  for (int j = n - 1; j >= 1; --j) {
    for (int k = 0; k < j; ++k) {
      const double f = w[k * n + j] / w[j * n + j];
      for (int c = 0; c < n; ++c) {
        w[k * n + c] -= f * w[j * n + c];
        a[k * n + c] -= f * a[j * n + c];
      }
    }
  }

  for (int i = 0; i < n; ++i) {
    const double reciprocal = 1.0 / w[i * n + i];
    for (int c = 0; c < n; ++c) {
      a[i * n + c] *= reciprocal;
      w[i * n + c] *= reciprocal;
    }
  }
  return MatrixStatus::kDone;
}

void MatrixTranspose(int m, int k, const double* a, double* t) {
  if (m <= 0 || k <= 0) return;
  std::vector<double> copy(static_cast<size_t>(m) * k);
  for (int i = 0; i < m; ++i) {
    for (int j = 0; j < k; ++j) copy[j * m + i] = a[i * k + j];
  }
  std::memcpy(t, copy.data(), copy.size() * sizeof(double));
}

MatrixStatus AdjustedObservationCofactor(int r, int n, const double* a, const double* ninv, const double* p,
                                         double* q) {
  if (r <= 0 || n <= 0) return MatrixStatus::kEmptyDimension;
  const size_t nn = static_cast<size_t>(n) * n;
  const size_t nr = static_cast<size_t>(n) * r;
  std::vector<double> qll(nn, 0.0);
  for (int i = 0; i < n; ++i) qll[i * n + i] = 1.0 / p[i];
  std::vector<double> at(nr), x1(nr), x2(nr), x3(nn), x4(nn);
  MatrixTranspose(r, n, a, at.data());
  // Every dimension is positive here, so none of the products can fail.
  MatrixMultiply(n, n, r, qll.data(), at.data(), x1.data());
  MatrixMultiply(n, r, r, x1.data(), ninv, x2.data());
  MatrixMultiply(n, r, n, x2.data(), a, x3.data());
  MatrixMultiply(n, n, n, x3.data(), qll.data(), x4.data());
  for (size_t i = 0; i < nn; ++i) q[i] = qll[i] - x4[i];
  return MatrixStatus::kDone;
}

}  // namespace qp
