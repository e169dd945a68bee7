#include "adjustment/normal_equation_store.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include <sys/mman.h>
#include <unistd.h>

#include "adjustment/numeric_threads.h"
#include "common/finite_values.h"

// BLAS and LAPACK (OpenBLAS), Fortran calling convention: every argument by
// reference, the lengths of the character arguments trailing.
extern "C" {
void dtrsm_(const char* side, const char* uplo, const char* transa, const char* diag, const int* m, const int* n,
            const double* alpha, const double* a, const int* lda, double* b, const int* ldb, size_t, size_t, size_t,
            size_t);
void dsyrk_(const char* uplo, const char* trans, const int* n, const int* k, const double* alpha, const double* a,
            const int* lda, const double* beta, double* c, const int* ldc, size_t, size_t);
void dtrsv_(const char* uplo, const char* trans, const char* diag, const int* n, const double* a, const int* lda,
            double* x, const int* incx, size_t, size_t, size_t);
void dspmv_(const char* uplo, const int* n, const double* alpha, const double* ap, const double* x, const int* incx,
            const double* beta, double* y, const int* incy, size_t);
void dtrtri_(const char* uplo, const char* diag, const int* n, double* a, const int* lda, int* info, size_t, size_t);
void dlauum_(const char* uplo, const int* n, double* a, const int* lda, int* info, size_t);
}

namespace qp {
namespace {

// Width of the diagonal blocks of the factorisation.
constexpr int kBlock = 96;

// The pivot test of the elimination: NaN fails too.
bool PivotAcceptable(double p) { return std::fabs(p) >= kPivotThreshold; }

// The rank test of one pivot p that came out of `reference` by elimination:
// the row's diagonal before elimination for a row of point unknowns, the
// squared length of the row's part of the factor (what was taken off the
// zero diagonal) for a constraint row. Both are magnitudes of the values
// whose difference is p, so p below kRelativePivotThreshold of them is
// round-off, not information.
bool PivotCarriesRank(double p, double reference) {
  return PivotAcceptable(p) && std::fabs(p) >= kRelativePivotThreshold * reference;
}

// Trailing update K22 -= X^T D X for the rows [r0, r1) of the panel X that
// occupies columns [c0, n) of the column-major matrix w (leading dimension n).
// Rows of equal sign go through one rank-k update each.
void UpdateTrailing(double* w, int n, int r0, int r1, int c0, const std::vector<double>& sign,
                    std::vector<double>& scratch) {
  const int cols = n - c0;
  if (cols <= 0 || r1 <= r0) return;
  bool uniform = true;
  for (int r = r0 + 1; r < r1; ++r) uniform = uniform && sign[r] == sign[r0];
  const double one = 1.0;
  if (uniform) {
    const double alpha = -sign[r0];
    const int k = r1 - r0;
    dsyrk_("U", "T", &cols, &k, &alpha, w + static_cast<size_t>(c0) * n + r0, &n, &one,
           w + static_cast<size_t>(c0) * n + c0, &n, 1, 1);
    return;
  }
  for (double s : {1.0, -1.0}) {
    int k = 0;
    for (int r = r0; r < r1; ++r) k += sign[r] == s;
    if (k == 0) continue;
    scratch.assign(static_cast<size_t>(k) * cols, 0.0);
    for (int c = 0; c < cols; ++c) {
      int q = 0;
      for (int r = r0; r < r1; ++r) {
        if (sign[r] == s) scratch[static_cast<size_t>(c) * k + q++] = w[static_cast<size_t>(c0 + c) * n + r];
      }
    }
    const double alpha = -s;
    dsyrk_("U", "T", &cols, &k, &alpha, scratch.data(), &k, &one, w + static_cast<size_t>(c0) * n + c0, &n, 1, 1);
  }
}

}  // namespace

// The storage is taken from the system untouched (no value initialisation):
// its pages are mapped only when a system writes them.
NormalEquationStore::NormalEquationStore()
    : rhs_(kMaxNormalUnknowns, 0.0),
      storage_(std::make_unique_for_overwrite<double[]>(static_cast<size_t>(kMaxNormalUnknowns) *
                                                         static_cast<size_t>(kMaxNormalUnknowns))),
      packed_(storage_.get()) {
  ApplyNumericThreadPolicy();
}

void NormalEquationStore::Clear(int n) {
  n_ = std::clamp(n, 0, kMaxNormalUnknowns);
  const size_t nn = static_cast<size_t>(n_);
  packed_ = storage_.get() + (nn * nn - PackedIndex(n_, 0));
  AdvisePages();
  std::fill_n(rhs_.begin(), n_, 0.0);
  std::fill_n(packed_, PackedIndex(n_, 0), 0.0);
  firstConstraint_ = n_;
  state_ = State::Equations;
}

void NormalEquationStore::AccumulateEquation(const double* c, const int* k, int m, double l, double p) {
  // Sorted by index with repeated indices merged, so that every element of N
  // receives the product of the summed coefficients.
  static thread_local std::vector<std::pair<int, double>> terms;
  terms.clear();
  for (int i = 0; i < m; ++i) {
    if (k[i] >= 0 && k[i] < kMaxNormalUnknowns) terms.emplace_back(k[i], c[i]);
  }
  std::sort(terms.begin(), terms.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  size_t used = 0;
  for (size_t i = 0; i < terms.size(); ++i) {
    if (used > 0 && terms[used - 1].first == terms[i].first) {
      terms[used - 1].second += terms[i].second;
    } else {
      terms[used++] = terms[i];
    }
  }
  terms.resize(used);
  for (size_t a = 0; a < terms.size(); ++a) {
    const auto [ka, ca] = terms[a];
    const double pc = p * ca;
    rhs_[ka] += pc * l;
    double* row = packed_ + PackedIndex(ka, 0);
    for (size_t b = 0; b <= a; ++b) row[terms[b].first] += pc * terms[b].second;
  }
  state_ = State::Equations;
}

void NormalEquationStore::SetConstraintRow(int row, const double* c, const int* k, int m, double l) {
  if (row < 0 || row >= kMaxNormalUnknowns) return;
  rhs_[row] = l;
  for (int i = 0; i < m; ++i) {
    if (k[i] >= 0 && k[i] < kMaxNormalUnknowns && k[i] != row) At(row, k[i]) = c[i];
  }
  firstConstraint_ = std::min(firstConstraint_, row);
  state_ = State::Equations;
}

// N = R^T D R by blocked symmetric elimination without pivoting, in row order:
// the pivots are those of the cyclic sweep. D_k is the sign of pivot k, R_kk
// the root of its magnitude. Point rows give positive pivots, constraint rows
// (behind them) negative ones; blocks are cut at the first constraint row so
// that each trailing update is a single rank-k update. The work matrix is
// the packed triangle spread in place; a pivot that fails leaves the store
// cleared.
SolveStatus NormalEquationStore::Factorize(int n) {
  factorSize_ = 0;
  if (n < 1 || n > kMaxNormalUnknowns || n > n_ || !AllFinite(packed_, PackedIndex(n, 0)) ||
      !AllFinite(rhs_.data(), n)) {
    return SolveStatus::Singular;
  }
  const size_t nn = static_cast<size_t>(n);
  sign_.assign(nn, 1.0);
  double* w = storage_.get();
  // Column i of the upper triangle is row i of the packed lower triangle.
  // The packed rows start at b = n_*(n_-1)/2 >= n*(n-1)/2, and i*n -
  // i*(i+1)/2 never exceeds n*(n-1)/2: row i moves towards the start, and
  // first row first, none is overwritten before it has moved.
  for (int i = 0; i < n; ++i) std::memmove(w + i * nn, packed_ + PackedIndex(i, 0), (i + 1) * sizeof(double));

  const int split = std::min(firstConstraint_, n);
  // The diagonal of the point rows before elimination, for the rank test.
  std::vector<double> diagonal(static_cast<size_t>(split));
  for (int k = 0; k < split; ++k) diagonal[k] = std::fabs(w[k * nn + k]);
  std::vector<double> scratch;
  const double one = 1.0;
  for (int kb = 0; kb < n;) {
    const int boundary = kb < split ? split : n;
    const int ke = std::min(kb + kBlock, boundary);
    // The diagonal block, column by column.
    for (int k = kb; k < ke; ++k) {
      double* colK = w + k * nn;
      double p = colK[k];
      for (int j = kb; j < k; ++j) p -= sign_[j] * colK[j] * colK[j];
      double reference = 0.0;
      if (k < split) {
        reference = diagonal[k];
      } else {
        for (int j = 0; j < k; ++j) reference += colK[j] * colK[j];
      }
      if (!PivotCarriesRank(p, reference)) {
        Clear(n_);
        return SolveStatus::Singular;
      }
      sign_[k] = p > 0.0 ? 1.0 : -1.0;
      const double r = std::sqrt(std::fabs(p));
      colK[k] = r;
      for (int l = k + 1; l < ke; ++l) {
        double* colL = w + l * nn;
        double v = colL[k];
        for (int j = kb; j < k; ++j) v -= sign_[j] * colK[j] * colL[j];
        colL[k] = v / (sign_[k] * r);
      }
    }
    // The panel to the right: R_bb^T X = K12, then R12 = D X.
    const int cols = n - ke;
    if (cols > 0) {
      const int width = ke - kb;
      double* panel = w + ke * nn + kb;
      dtrsm_("L", "U", "T", "N", &width, &cols, &one, w + kb * nn + kb, &n, panel, &n, 1, 1, 1, 1);
      UpdateTrailing(w, n, kb, ke, ke, sign_, scratch);
      for (int r = kb; r < ke; ++r) {
        if (sign_[r] < 0.0) {
          for (int c = ke; c < n; ++c) w[c * nn + r] = -w[c * nn + r];
        }
      }
    }
    kb = ke;
  }
  factorSize_ = n;
  state_ = State::Factored;
  return SolveStatus::Solved;
}

SolveStatus NormalEquationStore::SolveNormal(int n, std::vector<double>& x) {
  if (Factorize(n) != SolveStatus::Solved) return SolveStatus::Singular;
  x.assign(rhs_.begin(), rhs_.begin() + n);
  const int inc = 1;
  dtrsv_("U", "T", "N", &n, storage_.get(), &n, x.data(), &inc, 1, 1, 1);
  for (int i = 0; i < n; ++i) x[i] *= sign_[i];
  dtrsv_("U", "N", "N", &n, storage_.get(), &n, x.data(), &inc, 1, 1, 1);
  return SolveStatus::Solved;
}

void NormalEquationStore::CompleteInverse() {
  if (state_ != State::Factored) return;
  const int n = factorSize_;
  const size_t nn = static_cast<size_t>(n);
  double* w = storage_.get();
  int info = 0;
  // N^-1 = T D T^T with T = R^-1: T T^T from the triangular routines, then the
  // columns of negative sign taken off twice.
  dtrtri_("U", "N", &n, w, &n, &info, 1, 1);
  std::vector<double> negative;
  int negativeCount = 0;
  for (int k = 0; k < n; ++k) negativeCount += sign_[k] < 0.0;
  if (negativeCount > 0) {
    negative.assign(nn * negativeCount, 0.0);
    int q = 0;
    for (int k = 0; k < n; ++k) {
      if (sign_[k] < 0.0) std::memcpy(negative.data() + q++ * nn, w + k * nn, (k + 1) * sizeof(double));
    }
  }
  dlauum_("U", &n, w, &n, &info, 1);
  if (negativeCount > 0) {
    const double minusTwo = -2.0;
    const double one = 1.0;
    dsyrk_("U", "N", &n, &negativeCount, &minusTwo, negative.data(), &n, &one, w, &n, 1, 1);
  }
  // Packed back in place, last row first: row i moves from i*n back to its
  // packed place, which lies beyond the end of every earlier column.
  for (int i = n - 1; i >= 0; --i) std::memmove(packed_ + PackedIndex(i, 0), w + i * nn, (i + 1) * sizeof(double));
  state_ = State::Inverted;
  ReleaseWorkPages();
}

namespace {

// The whole pages of [begin, end) for the given page size; empty when none.
std::pair<uintptr_t, size_t> InnerPages(const double* begin, const double* end, uintptr_t page) {
  const uintptr_t first = (reinterpret_cast<uintptr_t>(begin) + page - 1) / page * page;
  const uintptr_t last = reinterpret_cast<uintptr_t>(end) / page * page;
  return {first, last > first ? last - first : 0};
}

}  // namespace

// The packed triangle is written whole and read across its rows (a column of
// Q by the precision sections touches one value in each row): large pages
// there spare the address translation a miss per row. The work matrix in
// front of it is touched only in its upper triangle and keeps small pages,
// so that the untouched part takes no memory.
void NormalEquationStore::AdvisePages() {
  constexpr uintptr_t kLargePage = uintptr_t{2} << 20;
  const double* end = storage_.get() + static_cast<size_t>(kMaxNormalUnknowns) * kMaxNormalUnknowns;
  const auto all = InnerPages(storage_.get(), end, kLargePage);
  if (all.second > 0) madvise(reinterpret_cast<void*>(all.first), all.second, MADV_NOHUGEPAGE);
  const auto triangle = InnerPages(packed_, packed_ + PackedIndex(n_, 0), kLargePage);
  if (triangle.second > 0) madvise(reinterpret_cast<void*>(triangle.first), triangle.second, MADV_HUGEPAGE);
}

// The pages of the first quarter of the work matrix's columns go back to the
// system: each of those columns holds at most about a page of values but
// spans one or two pages, the result sections that follow need only the packed
// triangle, and a new system is cleared before it is formed, so nothing is
// lost. (The denser columns after them stay: giving them back as well saves
// no more at the peak and costs a page fault per page at the next system.)
void NormalEquationStore::ReleaseWorkPages() {
  const long page = sysconf(_SC_PAGESIZE);
  if (page <= 0) return;
  const size_t n = static_cast<size_t>(factorSize_);
  const double* sparseEnd = std::min<const double*>(packed_, storage_.get() + n * (n / 4));
  const auto work = InnerPages(storage_.get(), sparseEnd, static_cast<uintptr_t>(page));
  if (work.second > 0) madvise(reinterpret_cast<void*>(work.first), work.second, MADV_DONTNEED);
}

SolveStatus NormalEquationStore::InvertPackedNormal(int n) {
  if (Factorize(n) != SolveStatus::Solved) return SolveStatus::Singular;
  CompleteInverse();
  return SolveStatus::Solved;
}

void NormalEquationStore::MultiplyInverse(int n, std::vector<double>& x) const {
  x.assign(n, 0.0);
  if (n < 1) return;
  // The packed lower triangle by rows is the upper triangle packed by columns.
  const double one = 1.0;
  const double zero = 0.0;
  const int inc = 1;
  dspmv_("U", &n, &one, packed_, rhs_.data(), &inc, &zero, x.data(), &inc, 1);
}

bool InvertPackedBySweep(double* a, int n) {
  if (n < 1) return false;
  std::vector<double> t(n, 0.0);
  for (int m = n - 1; m >= 0; --m) {
    const double p = a[0];
    if (!PivotAcceptable(p)) return false;
    for (int i = 1; i < n; ++i) {
      const double h = a[PackedIndex(i, 0)];
      t[i] = i > m ? h / p : -h / p;
      for (int j = 1; j <= i; ++j) a[PackedIndex(i - 1, j - 1)] = a[PackedIndex(i, j)] + h * t[j];
    }
    for (int j = 1; j < n; ++j) a[PackedIndex(n - 1, j - 1)] = t[j];
    a[PackedIndex(n - 1, n - 1)] = 1.0 / p;
  }
  return true;
}

}  // namespace qp
