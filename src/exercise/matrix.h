// Small dense matrices for the exercise solver: row-major doubles (element
// (i, j) of an m × k matrix at i·k + j), dimensions passed separately, storage
// owned by the caller. Every routine returns its status; the caller shows
// the message that goes with a failure.
#pragma once

#include <string>

namespace qp {

enum class MatrixStatus {
  kDone,
  kEmptyDimension,  // a product with a dimension that is not positive
  kTooSmall,        // an inversion of order below 2
  kSingular,        // a pivot below the smallest one accepted
};

// The GBK message the user sees for a failed status: "矩阵相乘条件不满足 !",
// "矩阵求逆条件不满足 !"; empty for kDone and for kTooSmall, which the
// solver handles itself.
std::string MatrixStatusMessage(MatrixStatus status);

// C (m × k) = A (m × n) · B (n × k), summed in increasing n from 0. C is left
// untouched when a dimension is not positive.
MatrixStatus MatrixMultiply(int m, int n, int k, const double* a, const double* b, double* c);

// Replaces A (n × n) by its inverse: Gauss–Jordan with partial pivoting (the
// first row of largest magnitude wins a tie). kTooSmall when n < 2;
// kSingular when a pivot is below 1e-16 in magnitude, and then A is left
// partly transformed.
MatrixStatus MatrixInvert(double* a, int n);

// T (k × m) = transpose of A (m × k); T may be the same storage as A.
void MatrixTranspose(int m, int k, const double* a, double* t);

// Cofactor matrix Q (n × n) of the adjusted observations of a condition
// adjustment: Qll − Qll·Aᵀ·Ninv·A·Qll with Qll = diag(1/p). A is r × n, Ninv
// the r × r inverse of the normal matrix, p the n weights.
// Q is left untouched when a product fails.
MatrixStatus AdjustedObservationCofactor(int r, int n, const double* a, const double* ninv, const double* p,
                                         double* q);

}  // namespace qp
