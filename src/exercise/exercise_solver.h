// The three computations of the exercise solver on a record read from the
// grid: given normal equations, condition adjustment with u parameters and
// indirect adjustment with s restrictions.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "exercise/exercise_file.h"

namespace qp {

struct ExerciseSolution {
  // The normal system actually solved, of order g: t (normal equations),
  // r + u (condition adjustment, bordered by the parameter coefficients) or
  // t + s (indirect adjustment, bordered by the restrictions). g may reach 11.
  int order = 0;
  std::vector<double> normal;     // g × g, row-major
  std::vector<double> rightSide;  // g
  std::vector<double> inverse;    // g × g
  // Normal equations: the unknowns. Condition adjustment: the r correlates,
  // then the u parameters. Indirect adjustment: the t unknowns, then the s
  // correlates of the restrictions.
  std::vector<double> solution;
  // Observation weights and corrections: m = n − u values in a condition
  // adjustment, n in an indirect adjustment, none for normal equations.
  std::vector<double> weights;
  std::vector<double> corrections;
  int redundancy = 0;
  double pvv = 0.0;  // [PVV], 0 without redundancy
  double m0 = 0.0;   // standard error of unit weight, 0 without redundancy
  // Weight reciprocal of each weight function; empty when they are not
  // computed (normal equations, condition adjustment with parameters).
  std::vector<double> reciprocalWeights;
};

struct ExerciseOutcome {
  std::optional<ExerciseSolution> solution;
  std::string message;  // GBK: what the caller shows when there is no solution
};

// Solves the record's method. A singular system gives no solution and the
// message "矩阵求逆条件不满足 !"; so does a system whose numbers overflow, so
// that no result is ever infinite or NaN. A system of order 1 is solved by
// its reciprocal under the same pivot test as the larger ones.
ExerciseOutcome SolveExercise(const ExerciseFile& record);

}  // namespace qp
