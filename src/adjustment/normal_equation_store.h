// The normal equations of the plane and height adjustments: right-hand side U
// and the lower triangle of the symmetric matrix N packed by rows (element
// (i, j), i >= j, at i*(i+1)/2 + j), room for 2304 unknowns. After inversion
// the same storage holds the cofactor matrix Q = N^-1 that the precision
// sections read.
//
// Rows may be constraint rows (a fixed azimuth or a fixed distance held by a
// Lagrange multiplier): their diagonal stays zero, so they can only be
// eliminated after the rows of the points. Elimination runs in row order, as
// the cyclic Gauss-Jordan sweep does, and every pivot must reach 1e-25 in
// magnitude. That absolute test cannot see a rank defect that round-off hides
// (a plane network with one known point and no orientation: its last pivot
// comes out near 1e-10 instead of 0), so each pivot must also carry rank: at
// least kRelativePivotThreshold of its row's diagonal for a row of point
// unknowns, of its row's squared length in the factor for a constraint row.
// A system that fails either test is refused (SolveStatus::Singular) and the
// computation that asked shows the message. The store itself never talks to
// the user.
//
// The store is large (about 21 MB for the packed triangle at full capacity):
// allocate it once, on the heap, and share it. Its memory is reserved for a
// square work matrix of the largest order but only the part a system uses is
// ever written. The packed triangle of n unknowns lies at the end of the
// first n*n values; the factorisation spreads it in place into the upper
// triangle of an n x n column-major matrix at the start (each row moves
// towards the start, where the triangle's long columns share the pages the
// packed rows occupied) and packs the inverse back. A system thus touches
// about n*n/2 values plus one page per column, never the whole reservation.
// Between SolveNormal and CompleteInverse the storage holds the
// factorisation, not N; Packed() is valid from one Clear to the next.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace qp {

inline constexpr int kMaxNormalUnknowns = 2304;
inline constexpr double kPivotThreshold = 1e-25;
// The rank test of the factorisation. Eliminating row k computes its pivot
// as a difference d - sum r_jk^2 of values of magnitude d at most (d the
// row's diagonal), and each of the k products and sums rounds by at most
// eps = 2^-53 = 1.1e-16 of d: the pivot of a row that depends on the rows
// before it comes out as round-off of at most k * eps * d, about 2.6e-13 d
// at the store's capacity, and in practice a few eps * d. A pivot below
// 1e-10 d is thus hundreds of times above the worst round-off and still far
// below any information the observations carry: the largest weight ratio the
// inputs give (1e10, a trigonometric height difference with a weight element
// of 0, against weights of about 1) leaves pivots of 1e-10 d and more, which
// sit right at the mark, so the mark is taken a little lower, at 1e-11 d.
inline constexpr double kRelativePivotThreshold = 1e-11;

// The outcome of a factorisation: Singular also covers a system larger than
// the store or holding values that are not numbers.
enum class SolveStatus { Solved, Singular };

// Position of element (i, j), i >= j, in the packed lower triangle.
inline constexpr size_t PackedIndex(int i, int j) {
  return static_cast<size_t>(i) * static_cast<size_t>(i + 1) / 2 + static_cast<size_t>(j);
}

class NormalEquationStore {
 public:
  NormalEquationStore();
  NormalEquationStore(const NormalEquationStore&) = delete;
  NormalEquationStore& operator=(const NormalEquationStore&) = delete;

  // Sets U[0..n) and the n*(n+1)/2 values of N to zero and forgets the
  // constraint rows. n is clamped to the capacity.
  void Clear(int n);

  // Adds the equation sum c_i * x_{k_i} + l with weight p: U[k_i] += p c_i l,
  // N(k_i, k_j) += p c_i c_j. Coefficients at negative indices (known points)
  // are skipped; an index given twice counts with its summed coefficient.
  void AccumulateEquation(const double* c, const int* k, int m, double l, double p);

  // Makes `row` a constraint row: U[row] = l and N(row, k_i) = c_i for the
  // non-negative k_i among the m coefficients (assigned, not added). The
  // diagonal N(row, row) stays as it is (zero after Clear).
  void SetConstraintRow(int row, const double* c, const int* k, int m, double l);

  // Replaces N by its inverse (the full cofactor matrix). A system refused
  // for its size or for values that are not numbers is left as it was; one
  // refused at a pivot is left cleared (its equations are lost).
  [[nodiscard]] SolveStatus InvertPackedNormal(int n);

  // Solves N x = U without forming the inverse and keeps the factorisation,
  // so that CompleteInverse() can still produce Q for the same system.
  [[nodiscard]] SolveStatus SolveNormal(int n, std::vector<double>& x);
  // Turns the factorisation kept by the last SolveNormal into Q in the packed
  // storage. Does nothing when the store already holds the inverse.
  void CompleteInverse();

  // x = Q U over n unknowns, for a store that holds the inverse.
  void MultiplyInverse(int n, std::vector<double>& x) const;

  double* Packed() { return packed_; }
  const double* Packed() const { return packed_; }
  double* Rhs() { return rhs_.data(); }
  const double* Rhs() const { return rhs_.data(); }

  // N(i, j) (or Q(i, j) after inversion) for any order of i and j.
  double At(int i, int j) const { return i >= j ? packed_[PackedIndex(i, j)] : packed_[PackedIndex(j, i)]; }
  double& At(int i, int j) { return i >= j ? packed_[PackedIndex(i, j)] : packed_[PackedIndex(j, i)]; }

  // Size of the system of the last Clear.
  int Size() const { return n_; }

 private:
  enum class State { Equations, Factored, Inverted };
  SolveStatus Factorize(int n);
  // Advice to the system on the pages of the current system (see the .cpp).
  void AdvisePages();
  void ReleaseWorkPages();

  std::vector<double> rhs_;
  // Room for the work matrix of the largest order. Not initialised: Clear
  // zeroes what a system uses.
  std::unique_ptr<double[]> storage_;
  // The packed triangle of the current system, n*(n+1)/2 values ending at
  // storage_ + n*n.
  double* packed_ = nullptr;
  int n_ = 0;
  int firstConstraint_ = 0;
  State state_ = State::Equations;
  // The factorisation N = R^T D R (R upper triangular, column-major n x n in
  // the storage of the packed triangle, D = diag(sign)), kept between
  // SolveNormal and CompleteInverse.
  std::vector<double> sign_;
  int factorSize_ = 0;
};

// The cyclic Gauss-Jordan sweep over a packed lower triangle of n unknowns:
// n steps, each pivoting on element (0, 0) and rotating the eliminated row to
// the bottom. In place; false (without a message) when a pivot falls below
// 1e-25 in magnitude or is not a number. Slow (n^3 with poor locality): kept
// as the reference the factorised path is checked against.
bool InvertPackedBySweep(double* packed, int n);


}  // namespace qp
