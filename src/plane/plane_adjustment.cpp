// The iterated adjustment and the precision estimate of a plane network.
#include "plane/plane_adjustment.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"

namespace qp {
namespace {

// Convergence: every coordinate correction within 1 cm.
constexpr double kConvergenceCm = 1.0;
// Iterations run at most, and the last one that may still count as converged.
constexpr int kMaxIterations = 10;
constexpr int kConvergedWithin = 8;

// The unknowns; 0 when they do not fit the store.
int NormalSize(const PlaneModel& m) {
  const int n = m.UnknownCount();
  return m.UnknownPointCount() >= 1 && n <= kMaxNormalUnknowns ? n : 0;
}

// The normal system cannot be solved: the computation ends with that message.
bool Singular(PlaneComputation& c) {
  c.dialogue.Fail(SingularNormalMessage());
  return false;
}

bool FormEquations(PlaneComputation& c, AdjustmentMode mode) {
  const PlaneModel& m = c.model;
  if (m.directionCount >= 2 && !FormDirectionEquations(c, mode)) return false;
  // A single distance takes no part in the equations.
  if (m.distances.size() >= 2 && !FormDistanceEquations(c, mode)) return false;
  if ((!m.fixedAzimuths.empty() || !m.fixedSides.empty()) && !FormFixedAzimuthSideEquations(c, mode)) {
    return false;
  }
  if (mode == AdjustmentMode::Adjusting && (!m.weightedAzimuths.empty() || !m.weightedSides.empty()) &&
      !FormWeightedAzimuthSideEquations(c, mode)) {
    return false;
  }
  return true;
}

// Moves every unknown point by the solution x (the negative correction in
// cm); returns the largest |x_i| over the point unknowns.
double ApplySolution(PlaneModel& m, const std::vector<double>& x) {
  const int u = std::max(m.UnknownPointCount(), 0);
  const size_t unknowns = std::min(x.size(), static_cast<size_t>(2 * u));
  double largest = 0.0;
  for (size_t i = 0; i < unknowns; ++i) {
    if (!std::isfinite(x[i])) return HUGE_VAL;  // nothing is moved by a solution that is not a number
    largest = std::max(largest, std::fabs(x[i]));
  }
  for (size_t j = 0; 2 * j + 1 < unknowns; ++j) {
    PlanePoint& p = m.points[m.knownCount + j];
    p.x -= 0.01 * x[2 * j];
    p.y -= 0.01 * x[2 * j + 1];
  }
  return largest;
}

void ReportPlaneCoordinates(PlaneComputation& c) {
  const PlaneModel& m = c.model;
  const int points = m.pointCount();
  c.report.TableHead(
      FormatText("\r\n\r\n%18d.坐标平差值<个数:%ld   单位:米>\r\n", c.section.Take(), static_cast<long>(points)),
      "  序号 点    名               X坐标         Y坐标\r\n");
  for (int p = 0; p < points; ++p) {
    c.report.Write(Format("%5ld  %-16.10s%15.4f%15.4f\r\n", static_cast<long>(p + 1), m.points[p].name.c_str(),
                          m.points[p].x, m.points[p].y));
  }
  c.report.Rule();
}

}  // namespace

bool AdjustPlaneNetwork(PlaneComputation& c) {
  PlaneModel& m = c.model;
  const int n = NormalSize(m);
  if (n == 0) return Singular(c);
  if (!CheckObservationWeights(m, c.dialogue, AdjustmentMode::Adjusting)) return false;

  std::vector<double> x;
  double largest = 1024.0;
  c.iterations = 0;
  while (largest > kConvergenceCm) {
    c.normals.Clear(n);
    if (!FormEquations(c, AdjustmentMode::Adjusting)) return false;
    if (c.normals.SolveNormal(n, x) != SolveStatus::Solved) return Singular(c);
    largest = ApplySolution(m, x);
    // A solution that is not a number can never converge.
    if (++c.iterations >= kMaxIterations || !std::isfinite(largest)) break;
  }
  if (c.iterations > kConvergedWithin || !(largest <= kConvergenceCm)) {
    c.dialogue.Fail(NotConvergingMessage());
    return false;
  }
  // The precision sections read the cofactors of the last system.
  c.normals.CompleteInverse();

  ReportPlaneCoordinates(c);
  const double sum = ReportAdjustedDirections(c) + ReportAdjustedDistances(c) + ReportWeightedObservations(c);
  double sigma0 = m.redundancy > 0 ? std::sqrt(sum / m.redundancy) : 0.0;
  if (!std::isfinite(sigma0)) sigma0 = 0.0;
  m.sigma0 = sigma0;
  ReportPlanePrecision(c, sigma0);
  ReportSidesAndAzimuths(c);
  ExportPointCoordinates(m, c.exportPath);
  return true;
}

bool EstimatePlanePrecision(PlaneComputation& c) {
  PlaneModel& m = c.model;
  const int n = NormalSize(m);
  if (n == 0) return Singular(c);
  if (!CheckObservationWeights(m, c.dialogue, AdjustmentMode::Estimating)) return false;
  c.normals.Clear(n);
  if (!FormEquations(c, AdjustmentMode::Estimating)) return false;
  if (c.normals.InvertPackedNormal(n) != SolveStatus::Solved) return Singular(c);
  m.sigma0 = m.directionError;
  ReportPlanePrecision(c, m.sigma0);
  return true;
}

}  // namespace qp
