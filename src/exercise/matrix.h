// Small dense matrices for the exercise solver: row-major doubles (element
// (i, j) of an m × k matrix at i·k + j), dimensions passed separately, storage
// owned by the caller. Failures are shown through the platform and reported
// by a false result.
#pragma once

#include "common/platform_services.h"

namespace qp {

// C (m × k) = A (m × n) · B (n × k), summed in increasing n from 0. Shows
// "矩阵相乘条件不满足 !" and leaves C untouched when a dimension is not positive.
bool MatrixMultiply(int m, int n, int k, const double* a, const double* b, double* c,
                    PlatformServices& platform);

// Replaces A (n × n) by its inverse: Gauss–Jordan with partial pivoting (the
// first row of largest magnitude wins a tie). False without a message when
// n < 2; false with "矩阵求逆条件不满足 !" when a pivot is below 1e-16 in
// magnitude, and then A is left partly transformed.
bool MatrixInvert(double* a, int n, PlatformServices& platform);

// T (k × m) = transpose of A (m × k); T may be the same storage as A.
void MatrixTranspose(int m, int k, const double* a, double* t);

// Cofactor matrix Q (n × n) of the adjusted observations of a condition
// adjustment: Qll − Qll·Aᵀ·Ninv·A·Qll with Qll = diag(1/p). A is r × n, Ninv
// the r × r inverse of the normal matrix, p the n weights.
void AdjustedObservationCofactor(int r, int n, const double* a, const double* ninv, const double* p,
                                 double* q, PlatformServices& platform);

}  // namespace qp
