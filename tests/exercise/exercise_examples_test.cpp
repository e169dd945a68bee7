// The bundled examples, run end to end through `quorvex exercise`, against a
// plain Cholesky solution of the same numbers. The four adjustment examples
// model one levelling network, so they all must give its corrections,
// [PVV], m0 and weight reciprocals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "cli/exercise_command.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using Vector = std::vector<double>;
using Matrix = std::vector<Vector>;

// Inverse of a symmetric positive definite matrix through N = L·Lᵀ.
Matrix CholeskyInverse(const Matrix& n) {
  const size_t size = n.size();
  Matrix l(size, Vector(size, 0.0)), inverse(size, Vector(size, 0.0));
  for (size_t j = 0; j < size; ++j) {
    double d = n[j][j];
    for (size_t k = 0; k < j; ++k) d -= l[j][k] * l[j][k];
    l[j][j] = std::sqrt(d);
    for (size_t i = j + 1; i < size; ++i) {
      double s = n[i][j];
      for (size_t k = 0; k < j; ++k) s -= l[i][k] * l[j][k];
      l[i][j] = s / l[j][j];
    }
  }
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

Vector Times(const Matrix& a, const Vector& x) {
  Vector y(a.size(), 0.0);
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = 0; j < x.size(); ++j) y[i] += a[i][j] * x[j];
  return y;
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string s = text;
  if (s[0] == '-' && s.find_first_of("123456789") == std::string::npos) s.erase(0, 1);
  return s;
}

std::string Rows(const Matrix& m) {
  std::string out;
  for (const auto& row : m) {
    for (size_t j = 0; j < row.size(); ++j) out += (j ? "," : "") + Fixed(row[j], 4);
    out += "\n";
  }
  return out;
}

std::string Column(const Vector& v) {
  std::string out;
  for (double x : v) out += Fixed(x, 4) + "\n";
  return out;
}

double Dot(const Vector& a, const Vector& b) {
  double s = 0.0;
  for (size_t i = 0; i < a.size(); ++i) s += a[i] * b[i];
  return s;
}

struct ExamplesTest : ::testing::Test {
  testing::TempDir dir;
  testing::ScriptedPlatform platform;

  std::string Run(const std::string& example) {
    CommandOptions options;
    options.dataPath = dir.File(example + ".STY");
    options.inputPath = testing::SourcePath("examples/exercise/" + example);
    std::ostringstream captured;
    auto* old = std::cout.rdbuf(captured.rdbuf());
    EXPECT_EQ(RunExerciseCommand(options, platform), 0) << platform.LastMessageUtf8();
    std::cout.rdbuf(old);
    return captured.str();
  }
};

TEST_F(ExamplesTest, NormalEquations) {
  const Matrix n = {{4, 1, 0.5}, {1, 3, -0.5}, {0.5, -0.5, 2}};
  const Matrix inverse = CholeskyInverse(n);
  const std::string out = Run("normal_equations.txt");
  EXPECT_NE(out.find("[系数]\n" + Rows(inverse) + "\n[常数项]\n" + Column(Times(inverse, {1, 2, -1}))),
            std::string::npos) << out;
}

TEST_F(ExamplesTest, LevellingNetworkInEveryModel) {
  // Indirect model of indirect.txt: V = B·x − l, weights p, weight functions f·x.
  const Matrix b = {{1, 0}, {-1, 1}, {0, -1}, {0, 1}, {-1, 0}};
  const Vector l = {0, 4, 1, 0, 4}, p = {2, 1, 1, 0.5, 1};
  const Matrix f = {{1, 0}, {-1, 1}};
  Matrix n(2, Vector(2, 0.0));
  Vector u(2, 0.0);
  for (size_t i = 0; i < b.size(); ++i)
    for (size_t j = 0; j < 2; ++j) {
      u[j] += b[i][j] * p[i] * l[i];
      for (size_t k = 0; k < 2; ++k) n[j][k] += b[i][j] * p[i] * b[i][k];
    }
  const Matrix qxx = CholeskyInverse(n);
  const Vector x = Times(qxx, u);
  Vector v = Times(b, x);
  double pvv = 0.0;
  for (size_t i = 0; i < v.size(); ++i) {
    v[i] -= l[i];
    pvv += p[i] * v[i] * v[i];
  }
  const double m0 = std::sqrt(pvv / 3);
  const double q1 = Dot(f[0], Times(qxx, f[0])), q2 = Dot(f[1], Times(qxx, f[1]));

  const std::string corrections = "[权]\n" + Column(v) + "\n";
  const std::string precision = "MO = " + Fixed(m0, 2) + "\n[PVV] = " + Fixed(pvv, 2) + "\n";
  const std::string indirect = Run("indirect.txt");
  EXPECT_NE(indirect.find("[系数]\n" + Rows(qxx) + "\n[常数项]\n" + Column(x) + "\n" + corrections),
            std::string::npos) << indirect;
  for (const char* example : {"indirect.txt", "indirect_restrictions.txt", "condition.txt", "condition_parameters.txt"}) {
    const std::string out = example == std::string("indirect.txt") ? indirect : Run(example);
    EXPECT_NE(out.find(corrections), std::string::npos) << example << "\n" << out;
    EXPECT_NE(out.find(precision), std::string::npos) << example << "\n" << out;
    if (example != std::string("condition_parameters.txt")) {
      // The first two weight functions are the height of C and the difference D − C.
      EXPECT_NE(out.find("权倒数1 = " + Fixed(q1, 4) + "\n权倒数2 = " + Fixed(q2, 4) + "\n"), std::string::npos)
          << example << "\n" << out;
      EXPECT_NE(out.find("中误差1 = " + Fixed(m0 * std::sqrt(q1), 4) + "\n中误差2 = " + Fixed(m0 * std::sqrt(q2), 4)),
                std::string::npos) << example;
    }
  }
  // B's height, fixed by the restriction: the unknown is −2 and its weight reciprocal 0.
  const std::string restricted = Run("indirect_restrictions.txt");
  EXPECT_NE(restricted.find("[常数项]\n" + Column(x) + "-2.0000\n"), std::string::npos) << restricted;
  EXPECT_NE(restricted.find("权倒数3 = 0.0000\n"), std::string::npos) << restricted;
  EXPECT_NE(restricted.find("中误差3 = 0.0000\n"), std::string::npos) << restricted;
}

}  // namespace
}  // namespace qp
