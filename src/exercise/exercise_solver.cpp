#include "exercise/exercise_solver.h"

#include <algorithm>
#include <cmath>

#include "common/finite_values.h"
#include "exercise/matrix.h"

namespace qp {
namespace {

constexpr int kGrid = kExerciseGridSize;

// MatrixInvert leaves 1 × 1 systems alone; a single condition or a single
// unknown is an everyday exercise, so it is inverted here under the same
// pivot test.
MatrixStatus InvertNormalMatrix(std::vector<double>& m, int order) {
  if (order == 1) {
    if (std::fabs(m[0]) < 1e-16) return MatrixStatus::kSingular;
    m[0] = 1.0 / m[0];
    return MatrixStatus::kDone;
  }
  return MatrixInvert(m.data(), order);
}

// Σ_i Σ_j f(i)·Q(i, j)·f(j) over the leading `size` rows and columns of the
// `stride`-wide matrix Q.
double QuadraticForm(const double* f, const std::vector<double>& q, int size, int stride) {
  double sum = 0.0;
  for (int i = 0; i < size; ++i) {
    for (int j = 0; j < size; ++j) sum += f[i] * q[i * stride + j] * f[j];
  }
  return sum;
}

void MakeSymmetricFromLower(std::vector<double>& m, int order) {
  for (int i = 0; i < order; ++i) {
    for (int j = i + 1; j < order; ++j) m[i * order + j] = m[j * order + i];
  }
}

void Precision(ExerciseSolution& s) {
  double pvv = 0.0;
  for (size_t l = 0; l < s.corrections.size(); ++l) pvv += s.weights[l] * s.corrections[l] * s.corrections[l];
  if (s.redundancy > 0) {
    s.pvv = pvv;
    // [PVV] is negative only with negative weights; the root of it is not taken.
    s.m0 = pvv > 0.0 ? std::sqrt(pvv / s.redundancy) : 0.0;
  } else {
    s.pvv = 0.0;
    s.m0 = 0.0;
  }
}

MatrixStatus Solve(ExerciseSolution& s) {
  s.inverse = s.normal;
  if (const MatrixStatus inverted = InvertNormalMatrix(s.inverse, s.order); inverted != MatrixStatus::kDone) {
    return inverted;
  }
  s.solution.assign(s.order, 0.0);
  return MatrixMultiply(s.order, s.order, 1, s.inverse.data(), s.rightSide.data(), s.solution.data());
}

MatrixStatus SolveNormalEquations(const ExerciseFile& rec, ExerciseSolution& s) {
  const int t = std::clamp(rec.tIndex, 0, kGrid - 1) + 1;
  s.order = t;
  s.normal.assign(t * t, 0.0);
  s.rightSide.assign(rec.constants, rec.constants + t);
  for (int i = 0; i < t; ++i) {
    for (int j = 0; j < t; ++j) s.normal[i * t + j] = rec.coefficients[i][j];
  }
  return Solve(s);
}

MatrixStatus SolveConditionAdjustment(const ExerciseFile& rec, ExerciseSolution& s) {
  const int n = std::clamp(rec.nIndex, 0, kGrid - 1) + 1;
  const int r = std::clamp(rec.rIndex, 0, kGrid - 1) + 1;
  const int u = std::clamp(rec.parameterCount, 0, std::min(kMaxParameters, n - 1));
  const int m = n - u;  // observations; the last u columns are the parameters
  const int g = r + u;
  s.order = g;
  s.normal.assign(g * g, 0.0);
  s.rightSide.assign(g, 0.0);
  for (int i = 0; i < r; ++i) {
    for (int j = 0; j <= i; ++j) {
      double sum = 0.0;
      for (int l = 0; l < m; ++l) sum += rec.coefficients[i][l] / rec.weights[l] * rec.coefficients[j][l];
      s.normal[i * g + j] = sum;
    }
    for (int c = 0; c < u; ++c) s.normal[(r + c) * g + i] = rec.coefficients[i][m + c];
    s.rightSide[i] = rec.constants[i];
  }
  MakeSymmetricFromLower(s.normal, g);
  if (const MatrixStatus solved = Solve(s); solved != MatrixStatus::kDone) return solved;

  s.weights.assign(rec.weights, rec.weights + m);
  s.corrections.assign(m, 0.0);
  for (int l = 0; l < m; ++l) {
    double sum = 0.0;
    for (int i = 0; i < r; ++i) sum += rec.coefficients[i][l] * s.solution[i];
    s.corrections[l] = (1.0 / rec.weights[l]) * sum;
  }
  s.redundancy = r - u;
  Precision(s);

  if (u == 0) {
    std::vector<double> a(r * n);
    for (int i = 0; i < r; ++i) std::copy(rec.coefficients[i], rec.coefficients[i] + n, a.begin() + i * n);
    std::vector<double> q(n * n, 0.0);
    AdjustedObservationCofactor(r, n, a.data(), s.inverse.data(), rec.weights, q.data());
    const int k = std::clamp(rec.functionCount, 0, kMaxWeightFunctions);
    for (int f = 0; f < k; ++f) s.reciprocalWeights.push_back(QuadraticForm(rec.weightFunctions[f], q, n, n));
  }
  return MatrixStatus::kDone;
}

MatrixStatus SolveIndirectAdjustment(const ExerciseFile& rec, ExerciseSolution& s) {
  const int n = std::clamp(rec.nIndex, 0, kGrid - 1) + 1;
  const int t = std::clamp(rec.tIndex, 0, n - 1) + 1;
  const int restrictions = std::clamp(rec.restrictionCount, 0, kMaxRestrictions);
  const int g = t + restrictions;
  s.order = g;
  s.normal.assign(g * g, 0.0);
  s.rightSide.assign(g, 0.0);
  for (int i = 0; i < t; ++i) {
    for (int j = 0; j <= i; ++j) {
      double sum = 0.0;
      for (int l = 0; l < n; ++l) sum += rec.weights[l] * rec.coefficients[l][i] * rec.coefficients[l][j];
      s.normal[i * g + j] = sum;
    }
    double sum = 0.0;
    for (int l = 0; l < n; ++l) sum += rec.weights[l] * rec.coefficients[l][i] * rec.constants[l];
    s.rightSide[i] = sum;
  }
  for (int c = 0; c < restrictions; ++c) {
    for (int j = 0; j < t; ++j) s.normal[(t + c) * g + j] = rec.restrictions[c][j];
    s.rightSide[t + c] = rec.restrictionConstants[c];
  }
  MakeSymmetricFromLower(s.normal, g);
  if (const MatrixStatus solved = Solve(s); solved != MatrixStatus::kDone) return solved;

  s.weights.assign(rec.weights, rec.weights + n);
  s.corrections.assign(n, 0.0);
  for (int l = 0; l < n; ++l) {
    double sum = 0.0;
    for (int j = 0; j < t; ++j) sum += rec.coefficients[l][j] * s.solution[j];
    s.corrections[l] = sum - rec.constants[l];
  }
  s.redundancy = n - t + restrictions;
  Precision(s);

  const int k = std::clamp(rec.functionCount, 0, kMaxWeightFunctions);
  for (int f = 0; f < k; ++f) s.reciprocalWeights.push_back(QuadraticForm(rec.weightFunctions[f], s.inverse, t, g));
  return MatrixStatus::kDone;
}

bool SolutionIsFinite(const ExerciseSolution& s) {
  return AllFinite(s.normal) && AllFinite(s.rightSide) && AllFinite(s.inverse) && AllFinite(s.solution) &&
         AllFinite(s.corrections) && AllFinite(s.reciprocalWeights) && std::isfinite(s.pvv) && std::isfinite(s.m0);
}

}  // namespace

ExerciseOutcome SolveExercise(const ExerciseFile& record) {
  ExerciseSolution s;
  MatrixStatus status = MatrixStatus::kDone;
  switch (record.method) {
    case kConditionAdjustment: status = SolveConditionAdjustment(record, s); break;
    case kIndirectAdjustment: status = SolveIndirectAdjustment(record, s); break;
    default: status = SolveNormalEquations(record, s); break;
  }
  // Numbers this large come from a system that is singular in all but name.
  if (status == MatrixStatus::kDone && !SolutionIsFinite(s)) status = MatrixStatus::kSingular;
  if (status != MatrixStatus::kDone) return {std::nullopt, MatrixStatusMessage(status)};
  return {std::move(s), {}};
}

}  // namespace qp
