#include "adjustment/normal_equation_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cmath>
#include <memory>
#include <random>
#include <vector>


namespace qp {
namespace {

// A normal system of `points` unknowns from random observation equations,
// followed by `constraints` constraint rows with zero diagonal.
void FillRandomSystem(NormalEquationStore& store, int points, int constraints, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> coefficient(-3.0, 3.0);
  std::uniform_int_distribution<int> unknown(0, points - 1);
  store.Clear(points + constraints);
  // Each unknown gets its own equation, then random couplings.
  for (int i = 0; i < points; ++i) {
    const double c[2] = {coefficient(rng) + 4.0, coefficient(rng)};
    const int k[2] = {i, (i + 1) % points};
    store.AccumulateEquation(c, k, 2, coefficient(rng), 1.0 + (i % 3));
  }
  for (int e = 0; e < 3 * points; ++e) {
    const double c[4] = {coefficient(rng), coefficient(rng), coefficient(rng), coefficient(rng)};
    const int k[4] = {unknown(rng), unknown(rng), unknown(rng), -1};
    store.AccumulateEquation(c, k, 4, coefficient(rng), 0.5);
  }
  for (int t = 0; t < constraints; ++t) {
    const double c[4] = {coefficient(rng), coefficient(rng), coefficient(rng), coefficient(rng)};
    const int k[4] = {2 * t, 2 * t + 1, points - 2 - 2 * t, points - 1 - 2 * t};
    store.SetConstraintRow(points + t, c, k, 4, coefficient(rng));
  }
}

std::vector<double> PackedCopy(const NormalEquationStore& store, int n) {
  return std::vector<double>(store.Packed(), store.Packed() + PackedIndex(n, 0));
}

double MaxAbs(const std::vector<double>& v) {
  double m = 0.0;
  for (double x : v) m = std::max(m, std::fabs(x));
  return m;
}

// x = Q U over a packed inverse.
std::vector<double> Multiply(const std::vector<double>& packed, const double* u, int n) {
  std::vector<double> x(n, 0.0);
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) x[i] += packed[i >= j ? PackedIndex(i, j) : PackedIndex(j, i)] * u[j];
  }
  return x;
}

TEST(NormalEquationStore, InvertsTheTwoByTwoExampleBothWays) {
  auto store = std::make_unique<NormalEquationStore>();
  store->Clear(2);
  store->At(0, 0) = 4.0;
  store->At(1, 0) = 2.0;
  store->At(1, 1) = 3.0;
  std::vector<double> sweep = PackedCopy(*store, 2);
  ASSERT_TRUE(InvertPackedBySweep(sweep.data(), 2));
  ASSERT_EQ(store->InvertPackedNormal(2), SolveStatus::Solved);
  const std::vector<double> expected = {0.375, -0.25, 0.5};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(sweep[i], expected[i], 1e-15);
    EXPECT_NEAR(store->Packed()[i], expected[i], 1e-15);
  }
}

// The factorised path against the sweep on systems larger than one block,
// with and without constraint rows: the inverse, the solution of a solve
// alone and the inverse completed after it.
TEST(NormalEquationStore, AgreesWithTheSweepOnRandomSystems) {
  auto store = std::make_unique<NormalEquationStore>();
  struct Case {
    int points;
    int constraints;
  };
  for (const Case cs : {Case{7, 0}, Case{230, 0}, Case{40, 3}, Case{226, 9}, Case{97, 1}}) {
    SCOPED_TRACE(cs.points);
    const int n = cs.points + cs.constraints;
    FillRandomSystem(*store, cs.points, cs.constraints, 17u + n);
    std::vector<double> sweep = PackedCopy(*store, n);
    const std::vector<double> rhs(store->Rhs(), store->Rhs() + n);
    ASSERT_TRUE(InvertPackedBySweep(sweep.data(), n));
    const std::vector<double> sweepSolution = Multiply(sweep, rhs.data(), n);

    std::vector<double> x;
    ASSERT_EQ(store->SolveNormal(n, x), SolveStatus::Solved);
    const double xScale = MaxAbs(sweepSolution);
    for (int i = 0; i < n; ++i) EXPECT_NEAR(x[i], sweepSolution[i], 1e-9 * xScale) << i;

    store->CompleteInverse();
    const double qScale = MaxAbs(sweep);
    for (size_t i = 0; i < sweep.size(); ++i) ASSERT_NEAR(store->Packed()[i], sweep[i], 1e-9 * qScale) << i;
    std::vector<double> again;
    store->MultiplyInverse(n, again);
    for (int i = 0; i < n; ++i) EXPECT_NEAR(again[i], sweepSolution[i], 1e-9 * xScale) << i;

    FillRandomSystem(*store, cs.points, cs.constraints, 17u + n);
    ASSERT_EQ(store->InvertPackedNormal(n), SolveStatus::Solved);
    for (size_t i = 0; i < sweep.size(); ++i) ASSERT_NEAR(store->Packed()[i], sweep[i], 1e-9 * qScale) << i;
  }
}

// Systems the sweep refuses: an unknown without any equation, a constraint
// row whose points are all known (a row of zeros), a value that is not a
// number, and a size beyond the store. The factorised path refuses them
// too; a system refused for its values is left as it was, one refused at a
// pivot (factorised in place) is left cleared.
TEST(NormalEquationStore, RefusesWhatTheSweepRefuses) {
  auto store = std::make_unique<NormalEquationStore>();
  struct Case {
    const char* what;
    int points;
    int constraints;
    void (*spoil)(NormalEquationStore&, int points);
    bool keptAsItWas;
  };
  const Case cases[] = {
      {"unknown without equations", 150, 0,
       [](NormalEquationStore& s, int) {
         for (int j = 0; j < 150; ++j) s.At(120, j) = 0.0;
         for (int i = 120; i < 150; ++i) s.At(i, 120) = 0.0;
       },
       false},
      {"constraint between known points", 60, 2,
       [](NormalEquationStore& s, int points) {
         for (int j = 0; j < points; ++j) s.At(points + 1, j) = 0.0;
       },
       false},
      {"not a number", 20, 0, [](NormalEquationStore& s, int) { s.At(7, 3) = std::nan(""); }, true},
  };
  for (const Case& cs : cases) {
    SCOPED_TRACE(cs.what);
    const int n = cs.points + cs.constraints;
    FillRandomSystem(*store, cs.points, cs.constraints, 5u);
    cs.spoil(*store, cs.points);
    const std::vector<double> before = PackedCopy(*store, n);
    std::vector<double> sweep = before;
    EXPECT_FALSE(InvertPackedBySweep(sweep.data(), n));

    std::vector<double> x;
    EXPECT_EQ(store->SolveNormal(n, x), SolveStatus::Singular);
    const std::vector<double> expected = cs.keptAsItWas ? before : std::vector<double>(before.size(), 0.0);
    EXPECT_EQ(std::memcmp(store->Packed(), expected.data(), expected.size() * sizeof(double)), 0);
    EXPECT_EQ(store->InvertPackedNormal(n), SolveStatus::Singular);
    EXPECT_EQ(std::memcmp(store->Packed(), expected.data(), expected.size() * sizeof(double)), 0);
  }
  store->Clear(kMaxNormalUnknowns);
  EXPECT_EQ(store->InvertPackedNormal(kMaxNormalUnknowns + 1), SolveStatus::Singular);
}

// A rank defect that round-off hides from the absolute pivot test: a point
// system whose equations never see one direction z of its unknowns (a plane
// network free to rotate), with coefficients large enough that the last pivot
// comes out far above 1e-25; a levelling loop tied to no known height; and a
// constraint row repeating the one before it. All are refused. A well-posed system with weights 1e10 apart (a height
// difference with a weight element of 0) is not.
TEST(NormalEquationStore, RefusesADefectThatRoundOffHides) {
  auto store = std::make_unique<NormalEquationStore>();
  std::mt19937 rng(3u);
  std::uniform_real_distribution<double> value(0.5, 2.0);
  struct Case {
    const char* what;
    int n;
    void (*fill)(NormalEquationStore&, std::mt19937&, std::uniform_real_distribution<double>&);
    SolveStatus expected;
    bool absoluteTestPasses;
  };
  const Case cases[] = {
      {"free to rotate", 180,
       [](NormalEquationStore& s, std::mt19937& r, std::uniform_real_distribution<double>& v) {
         std::vector<double> z(180);
         for (double& zi : z) zi = v(r);
         // c = (z_b, -z_a) at (a, b) is orthogonal to z; a chain and random
         // pairs couple every unknown.
         auto pair = [&](int a, int b) {
           const double c[2] = {1e3 * z[b], -1e3 * z[a]};
           const int k[2] = {a, b};
           s.AccumulateEquation(c, k, 2, v(r), v(r));
         };
         for (int i = 0; i + 1 < 180; ++i) pair(i, i + 1);
         std::uniform_int_distribution<int> any(0, 179);
         for (int e = 0; e < 400; ++e) pair(any(r), any(r));
       },
       SolveStatus::Singular, true},
      {"constraint repeated", 41,
       [](NormalEquationStore& s, std::mt19937& r, std::uniform_real_distribution<double>& v) {
         for (int i = 0; i < 39; ++i) {
           const double c[2] = {v(r) + 1.0, v(r)};
           const int k[2] = {i, (i + 1) % 39};
           s.AccumulateEquation(c, k, 2, v(r), 1.0);
         }
         const double c[4] = {v(r), v(r), v(r), v(r)};
         const int k[4] = {3, 4, 20, 21};
         s.SetConstraintRow(39, c, k, 4, 0.5);
         s.SetConstraintRow(40, c, k, 4, 0.5);
       },
       SolveStatus::Singular, false},
      {"levelling loop tied to no known height", 4,
       [](NormalEquationStore& s, std::mt19937&, std::uniform_real_distribution<double>&) {
         const double one[1] = {1.0};
         const int a[1] = {0};
         s.AccumulateEquation(one, a, 1, 0.1, 0.8);
         const double c[2] = {-1.0, 1.0};
         const int lines[3][2] = {{1, 2}, {2, 3}, {3, 1}};
         const double weights[3] = {1.0 / 1.37, 1.0 / 2.11, 1.0 / 0.93};
         for (int i = 0; i < 3; ++i) s.AccumulateEquation(c, lines[i], 2, 0.01 * i, weights[i]);
       },
       SolveStatus::Singular, false},
      {"weights 1e10 apart", 3,
       [](NormalEquationStore& s, std::mt19937&, std::uniform_real_distribution<double>&) {
         // Known - A (weight 0.2), A - B (1e10), B - C (1e10), C a dead end.
         const double one[1] = {1.0};
         const int a[1] = {0};
         s.AccumulateEquation(one, a, 1, 0.1, 0.2);
         const double c[2] = {-1.0, 1.0};
         const int ab[2] = {0, 1};
         const int bc[2] = {1, 2};
         s.AccumulateEquation(c, ab, 2, 0.1, 1e10);
         s.AccumulateEquation(c, bc, 2, 0.1, 1e10);
       },
       SolveStatus::Solved, true},
  };
  for (const Case& cs : cases) {
    SCOPED_TRACE(cs.what);
    store->Clear(cs.n);
    cs.fill(*store, rng, value);
    std::vector<double> sweep = PackedCopy(*store, cs.n);
    // The absolute test alone lets the hidden defect through.
    if (cs.absoluteTestPasses) {
      EXPECT_TRUE(InvertPackedBySweep(sweep.data(), cs.n));
    }
    EXPECT_EQ(store->InvertPackedNormal(cs.n), cs.expected);
  }
}

// The work matrix of a system is the store's own memory, and Clear zeroes
// only what the next system uses: whatever a larger or a refused system left
// beyond it must never reach a result. A store taken through systems of
// other sizes gives, bit for bit, what a fresh store gives.
TEST(NormalEquationStore, ReusedStoreGivesWhatAFreshStoreGives) {
  auto reused = std::make_unique<NormalEquationStore>();
  struct Case {
    int points;
    int constraints;
  };
  for (const Case cs : {Case{260, 4}, Case{97, 1}, Case{7, 0}, Case{150, 0}, Case{226, 9}, Case{300, 0}}) {
    SCOPED_TRACE(cs.points);
    const int n = cs.points + cs.constraints;
    auto fresh = std::make_unique<NormalEquationStore>();
    std::vector<double> x, freshX;
    FillRandomSystem(*fresh, cs.points, cs.constraints, 31u + n);
    ASSERT_EQ(fresh->SolveNormal(n, freshX), SolveStatus::Solved);
    fresh->CompleteInverse();
    FillRandomSystem(*reused, cs.points, cs.constraints, 31u + n);
    ASSERT_EQ(reused->SolveNormal(n, x), SolveStatus::Solved);
    reused->CompleteInverse();
    EXPECT_EQ(std::memcmp(x.data(), freshX.data(), n * sizeof(double)), 0);
    EXPECT_EQ(std::memcmp(reused->Packed(), fresh->Packed(), PackedIndex(n, 0) * sizeof(double)), 0);
    // A system refused at a pivot in between leaves nothing behind either.
    FillRandomSystem(*reused, cs.points, 0, 5u);
    for (int j = 0; j < cs.points; ++j) reused->At(cs.points / 2, j) = 0.0;
    ASSERT_EQ(reused->InvertPackedNormal(cs.points), SolveStatus::Singular);
  }
}

// A negative pivot among the point rows is no reason to refuse: the sweep
// goes on, and so does the factorisation, with the same result.
TEST(NormalEquationStore, FollowsTheSweepThroughAnIndefiniteSystem) {
  auto store = std::make_unique<NormalEquationStore>();
  const int n = 130;
  FillRandomSystem(*store, n, 0, 9u);
  for (int i = 0; i < n; i += 7) store->At(i, i) = -store->At(i, i);
  std::vector<double> sweep = PackedCopy(*store, n);
  ASSERT_TRUE(InvertPackedBySweep(sweep.data(), n));
  ASSERT_EQ(store->InvertPackedNormal(n), SolveStatus::Solved);
  const double scale = MaxAbs(sweep);
  for (size_t i = 0; i < sweep.size(); ++i) ASSERT_NEAR(store->Packed()[i], sweep[i], 1e-9 * scale) << i;
}

// An unknown named twice in one equation counts with its summed coefficient.
TEST(NormalEquationStore, MergesRepeatedUnknownsOfAnEquation) {
  auto twice = std::make_unique<NormalEquationStore>();
  auto once = std::make_unique<NormalEquationStore>();
  twice->Clear(3);
  once->Clear(3);
  const double c2[4] = {1.0, 2.0, 0.5, -3.0};
  const int k2[4] = {2, 0, 2, -1};
  twice->AccumulateEquation(c2, k2, 4, 0.25, 2.0);
  const double c1[2] = {1.5, 2.0};
  const int k1[2] = {2, 0};
  once->AccumulateEquation(c1, k1, 2, 0.25, 2.0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_DOUBLE_EQ(twice->Rhs()[i], once->Rhs()[i]);
    for (int j = 0; j <= i; ++j) EXPECT_DOUBLE_EQ(twice->At(i, j), once->At(i, j));
  }
  EXPECT_DOUBLE_EQ(once->At(2, 2), 2.0 * 1.5 * 1.5);
  EXPECT_DOUBLE_EQ(once->At(2, 0), 2.0 * 1.5 * 2.0);
  EXPECT_DOUBLE_EQ(once->Rhs()[2], 2.0 * 1.5 * 0.25);
}

}  // namespace
}  // namespace qp
