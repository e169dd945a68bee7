// The yardstick of the adjustment benchmarks: one dense Cholesky
// factorisation and inversion (dpotrf + dpotri, upper triangle, column-major
// full storage, as the solver of the normal equations keeps its work matrix)
// of a symmetric positive definite matrix of a given order, and the peak
// resident memory of the process.
#pragma once

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <vector>

#include "adjustment/normal_equation_store.h"
#include "bench_support.h"

extern "C" {
void dpotrf_(const char* uplo, const int* n, double* a, const int* lda, int* info, size_t);
void dpotri_(const char* uplo, const int* n, double* a, const int* lda, int* info, size_t);
}

namespace qp::bench {

// A well-conditioned banded matrix of order n in column-major full storage
// (upper triangle filled; the dense routines do n^3 work whatever the band).
inline void FillReferenceMatrix(std::vector<double>& a, int n) {
  const size_t nn = static_cast<size_t>(n);
  a.assign(nn * nn, 0.0);
  for (int j = 0; j < n; ++j) {
    for (int i = std::max(0, j - 40); i < j; ++i) a[j * nn + i] = 0.01 * Wobble(i * n + j, 1.0);
    a[j * nn + j] = 2.0;
  }
}

// Milliseconds of one factorisation and inversion of order n (the fastest of
// `repeats` runs); negative when LAPACK refuses the matrix.
inline double ReferenceFactorInvertMs(int n, int repeats = 3) {
  std::vector<double> a;
  double best = -1.0;
  for (int r = 0; r < repeats; ++r) {
    FillReferenceMatrix(a, n);
    int info = 0;
    const auto start = std::chrono::steady_clock::now();
    dpotrf_("U", &n, a.data(), &n, &info, 1);
    if (info == 0) dpotri_("U", &n, a.data(), &n, &info, 1);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (info != 0) return -1.0;
    if (best < 0.0 || ms < best) best = ms;
  }
  return best;
}

// The yardstick alone as a benchmark of its own, of order state.range(0).
inline void ReferenceFactorInvertBenchmark(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<double> a;
  for (auto _ : state) {
    state.PauseTiming();
    FillReferenceMatrix(a, n);
    state.ResumeTiming();
    int info = 0;
    dpotrf_("U", &n, a.data(), &n, &info, 1);
    if (info == 0) dpotri_("U", &n, a.data(), &n, &info, 1);
    if (info != 0) state.SkipWithError("LAPACK refused the matrix");
  }
}

inline double PeakResidentMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// The store as the adjustment needs it at full capacity: the packed lower
// triangle and the right-hand side of 2304 unknowns.
inline double SpecifiedStoreMiB() {
  return static_cast<double>((PackedIndex(kMaxNormalUnknowns, 0) + kMaxNormalUnknowns) * sizeof(double)) /
         (1024.0 * 1024.0);
}

}  // namespace qp::bench
