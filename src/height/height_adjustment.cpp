// The iterated adjustment and the precision estimate of a height network.
#include "height/height_adjustment.h"

#include <algorithm>
#include <cmath>

#include "common/binary_file.h"
#include "common/format.h"
#include "common/gbk_text.h"

namespace qp {
namespace {

// Convergence: every height correction within 5 mm.
constexpr double kConvergenceMm = 5.0;
// Iterations run at most, and the last one that may still count as converged.
constexpr int kMaxIterations = 10;
constexpr int kConvergedWithin = 8;
// Keeps a weight element of 0 from dividing by zero.
constexpr double kWeightElementFloor = 0.00001;

// The number of unknowns, 0 when the network has none or they do not fit.
int UnknownCount(const HeightModel& m) {
  const int u = m.UnknownPointCount();
  return u >= 1 && u <= kMaxNormalUnknowns ? u : 0;
}

// The cofactor of unknowns a and b as the precision uses it: for a free
// network the datum term added while forming is taken off again, which leaves
// the cofactors of the minimum-norm solution.
double Cofactor(const HeightComputation& c, int a, int b) {
  const double datum = c.model.KnownCount() == 0 ? 1.0 / UnknownCount(c.model) : 0.0;
  return c.normals.At(a, b) - datum;
}

// The cofactor of the height difference between points e and f (either may be known).
double DifferenceCofactor(const HeightComputation& c, int e, int f) {
  const int a = c.model.UnknownOf(e);
  const int b = c.model.UnknownOf(f);
  if (a < 0 && b < 0) return 0.0;
  if (a < 0) return Cofactor(c, b, b);
  if (b < 0) return Cofactor(c, a, a);
  return Cofactor(c, a, a) + Cofactor(c, b, b) - 2.0 * Cofactor(c, a, b);
}

int Root(std::vector<int>& parent, int x) {
  while (parent[x] != x) x = parent[x] = parent[parent[x]];
  return x;
}

// Whether the heights are determined: every point tied through the height
// differences to a known point, or, in a free network, all points tied to
// one another (the datum term fixes a single level). A part left floating
// makes the normal matrix singular, which rounding can hide from the
// elimination's pivot test and turn into errors of millions of millimetres.
bool HeightsDetermined(const HeightModel& m) {
  const int points = m.PointCount();
  const int known = m.KnownCount();
  std::vector<int> parent(static_cast<size_t>(points) + 1);
  for (size_t k = 0; k < parent.size(); ++k) parent[k] = static_cast<int>(k);
  // Known points all hang on the extra node `points`.
  for (int p = 0; p < known; ++p) parent[Root(parent, p)] = Root(parent, points);
  for (const HeightDifference& d : m.differences) {
    if (!d.Joined()) return false;
    parent[Root(parent, d.from)] = Root(parent, d.to);
  }
  const int anchor = known > 0 ? Root(parent, points) : Root(parent, 0);
  for (int p = 0; p < points; ++p) {
    if (Root(parent, p) != anchor) return false;
  }
  return true;
}

// The normal system cannot be solved: the computation ends with that message.
bool Singular(HeightComputation& c) {
  c.dialogue.Fail(SingularNormalMessage());
  return false;
}

double Error(double sigma0, double cofactor) {
  const double m = sigma0 * std::sqrt(std::fabs(cofactor));
  return std::isfinite(m) ? m : 0.0;
}

// The plausibility question on a constant term l (mm): asked when |l| is above
// 5000 mm adjusting or 50000 mm estimating; true to go on.
bool HeightCorrectionPrompt(const ComputationDialogue& dialogue, AdjustmentMode mode, const char* from, const char* to,
                            double constant) {
  const double limit = mode == AdjustmentMode::Adjusting ? 5000.0 : 50000.0;
  if (!(std::fabs(constant) > limit)) return true;
  const std::string text =
      FormatText("高差改正数(%s - %s)为:%f毫米\n\n继续按<是>;  返回按<否>", from, to, constant);
  return dialogue.GoOn(text);
}

// Accumulates every height difference; with `constantsOnly` the normal
// matrix is left as it is and only the right-hand side is formed again.
bool AccumulateHeightEquations(HeightComputation& c, AdjustmentMode mode, bool constantsOnly) {
  const HeightModel& m = c.model;
  const int u = UnknownCount(m);
  if (constantsOnly) {
    std::fill_n(c.normals.Rhs(), u, 0.0);
  } else {
    c.normals.Clear(u);
  }
  for (size_t i = 0; i < m.differences.size(); ++i) {
    const HeightDifference& d = m.differences[i];
    if (!d.Joined()) continue;  // not a confirmed network
    const double l = (m.points[d.to].height - m.points[d.from].height - d.observed) * 1000.0;
    if (!HeightCorrectionPrompt(c.dialogue, mode, d.fromName.c_str(), d.toName.c_str(), l)) return false;
    const double p = HeightWeight(m, static_cast<int>(i));
    const int a = m.UnknownOf(d.from);
    const int b = m.UnknownOf(d.to);
    if (constantsOnly) {
      if (a >= 0) c.normals.Rhs()[a] -= p * l;
      if (b >= 0) c.normals.Rhs()[b] += p * l;
      continue;
    }
    const double coefficients[2] = {-1.0, 1.0};
    const int unknowns[2] = {a, b};
    c.normals.AccumulateEquation(coefficients, unknowns, 2, l, p);
  }
  if (!constantsOnly && m.KnownCount() == 0 && u > 0) {
    // The datum of a free network: N + (1/u) 1 1^T.
    const double datum = 1.0 / u;
    double* packed = c.normals.Packed();
    for (size_t k = 0; k < PackedIndex(u, 0); ++k) packed[k] += datum;
  }
  return true;
}

// Moves every unknown point by the solution x = Q U (its height decreases by
// 0.001 x_j m); returns the largest |x_j| in mm (infinite, moving nothing,
// when x is not a number).
double ApplyHeightCorrections(HeightModel& m, const std::vector<double>& x) {
  const int u = std::min(UnknownCount(m), static_cast<int>(x.size()));
  double largest = 0.0;
  for (int j = 0; j < u; ++j) {
    if (!std::isfinite(x[j])) return HUGE_VAL;
    largest = std::max(largest, std::fabs(x[j]));
  }
  for (int j = 0; j < u; ++j) m.points[m.KnownCount() + j].height -= 0.001 * x[j];
  return largest;
}

void ReportAdjustedHeights(HeightComputation& c) {
  const HeightModel& m = c.model;
  const int points = m.PointCount();
  c.report.TableHead(
      FormatText("\r\n\r\n%18d.高程平差值<个数:%ld   单位:米>\r\n", c.section.Take(), static_cast<long>(points)),
      "  序号 点    名                                         H高程(米)\r\n");
  for (int p = 0; p < points; ++p) {
    c.report.Printf("%5ld  %-48.10s%10.4f\r\n", static_cast<long>(p + 1), m.points[p].name.c_str(),
                    m.points[p].height);
  }
  c.report.Rule();
}

// Returns the sum of p v^2; stores the largest |v|.
double ReportHeightCorrections(HeightComputation& c) {
  HeightModel& m = c.model;
  const long count = static_cast<long>(m.differences.size());
  c.report.TableHead(FormatText("\r\n\r\n%18d.高差改正数和平差值<个数:%ld>\r\n", c.section.Take(), count),
                     "  序号 点    名   点    名            改正数(毫米) 高差平差值(米)\r\n");
  double pvv = 0.0;
  for (long i = 0; i < count; ++i) {
    const HeightDifference& d = m.differences[i];
    const double v = d.Joined() ? (m.points[d.to].height - m.points[d.from].height - d.observed) * 1000.0 : 0.0;
    m.largestCorrection = std::max(m.largestCorrection, std::fabs(v));
    pvv += HeightWeight(m, static_cast<int>(i)) * v * v;
    c.report.Printf("%5ld  %-11.10s%-20.10s%12.2f   %12.4f\r\n", i + 1, d.fromName.c_str(), d.toName.c_str(), v,
                    d.observed + 0.001 * v);
  }
  c.report.Rule();
  return pvv;
}

// Reads the cofactors left in the store; stores the errors in the model.
void ReportHeightPrecision(HeightComputation& c, double sigma0) {
  HeightModel& m = c.model;
  ReportFile& report = c.report;
  const int points = m.PointCount();
  const int known = m.KnownCount();
  const int u = UnknownCount(m);
  report.Write(FormatText("\r\n\r\n%18d.精度评定<单位权中误差=%-7.3f毫米>\r\n", c.section.Take(), sigma0));
  report.Rule();

  int weakest = -1;
  double weakestError = 0.0;
  for (int j = 0; j < u; ++j) {
    const double error = Error(sigma0, Cofactor(c, j, j));
    if (weakest < 0 || error > weakestError) {
      weakest = j;
      weakestError = error;
    }
  }
  report.Write(FormatText("%35s%7.3f毫米\r\n", Gbk("单位权中误差=").c_str(), sigma0));
  const std::string weakestName = weakest >= 0 ? m.points[known + weakest].name : std::string();
  report.Write(FormatText("%25s(%16.16s)=%8.2f毫米\r\n", Gbk("最弱点高程中误差").c_str(), weakestName.c_str(),
                          weakestError));
  report.Rule();
  report.Write(Gbk("  序号 点    名   点    名                 高程或高差中误差(毫米)\r\n"));
  report.Rule();

  long number = 1;
  for (int p = 0; p < points; ++p) {
    HeightPoint& point = m.points[p];
    if (p < known) {
      point.error = 0.0f;
      continue;
    }
    const double error = Error(sigma0, Cofactor(c, p - known, p - known));
    point.error = static_cast<float>(error);
    report.Printf("%5ld  %-30.10s%15.2f\r\n", number++, point.name.c_str(), error);
  }

  for (HeightDifference& d : m.differences) {
    if (d.from < known && d.to < known) {  // between two known points (or not confirmed): no row
      d.error = 0.0f;
      continue;
    }
    const double error = Error(sigma0, DifferenceCofactor(c, d.from, d.to));
    d.error = static_cast<float>(error);
    report.Printf("%5ld  %-11.10s%-28.10s    %15.2f\r\n", number++, d.fromName.c_str(), d.toName.c_str(), error);
  }

  for (HeightPair& pair : m.pairs) {
    const int e = pair.from;
    const int f = pair.to;
    pair.difference = e >= 0 && f >= 0 ? m.points[f].height - m.points[e].height : 0.0;
    pair.error = 0.0f;
    if (e < known || f < known) continue;  // both ends must be unknown points
    const double error = Error(sigma0, DifferenceCofactor(c, e, f));
    pair.error = static_cast<float>(error);
    report.Printf("%5ld  %-11.10s%-28.16s    %15.2f\r\n", number++, pair.fromName.c_str(), pair.toName.c_str(),
                  error);
  }
  report.Rule();
}

// Writes "<data path without extension>高程数据.txt" with every point's
// height; skipped for a single point or when the file cannot be written.
void ExportHeights(const HeightModel& m, const std::string& exportPath) {
  if (m.PointCount() <= 1) return;
  std::string text;
  for (const HeightPoint& p : m.points) text += Format("%s,%15.6f\r\n", p.name.c_str(), p.height);
  WriteFileAtomically(exportPath, text);
}

}  // namespace

double HeightWeight(const HeightModel& m, int i) {
  const double s = m.differences[i].weightElement + kWeightElementFloor;
  return m.kind == kTrigonometricNetwork ? 1.0 / (s * s) : 1.0 / s;
}

bool FormHeightEquations(HeightComputation& c, AdjustmentMode mode) {
  return AccumulateHeightEquations(c, mode, false);
}

bool AdjustHeightNetwork(HeightComputation& c) {
  HeightModel& m = c.model;
  const int u = UnknownCount(m);
  if (u == 0 || !HeightsDetermined(m)) return Singular(c);
  // The equations are linear: the normal matrix, and with it its inverse Q,
  // stays the same from one iteration to the next; each iteration forms the
  // constants again and moves the heights by x = Q U.
  std::vector<double> x;
  double largest = 1024.0;
  c.iterations = 0;
  while (largest > kConvergenceMm) {
    if (c.iterations == 0) {
      if (!FormHeightEquations(c, AdjustmentMode::Adjusting)) return false;
      if (c.normals.InvertPackedNormal(u) != SolveStatus::Solved) return Singular(c);
    } else if (!AccumulateHeightEquations(c, AdjustmentMode::Adjusting, true)) {
      return false;
    }
    c.normals.MultiplyInverse(u, x);
    largest = ApplyHeightCorrections(m, x);
    // A solution that is not a number can never converge.
    if (++c.iterations >= kMaxIterations || !std::isfinite(largest)) break;
  }
  if (c.iterations > kConvergedWithin || !(largest <= kConvergenceMm)) {
    c.dialogue.Fail(NotConvergingMessage());
    return false;
  }

  ReportAdjustedHeights(c);
  const double pvv = ReportHeightCorrections(c);
  const int observations = static_cast<int>(m.differences.size());
  // A free network has one condition fewer: its datum is chosen, not observed.
  const int freedom = m.KnownCount() > 0 ? observations - u : observations - u + 1;
  double sigma0 = freedom > 0 ? std::sqrt(pvv / freedom) : 0.0;
  if (!std::isfinite(sigma0)) sigma0 = 0.0;
  m.sigma0 = sigma0;
  ReportHeightPrecision(c, sigma0);
  ExportHeights(m, c.exportPath);
  return true;
}

bool EstimateHeightPrecision(HeightComputation& c) {
  HeightModel& m = c.model;
  const int u = UnknownCount(m);
  if (u == 0 || !HeightsDetermined(m)) return Singular(c);
  if (!FormHeightEquations(c, AdjustmentMode::Estimating)) return false;
  if (c.normals.InvertPackedNormal(u) != SolveStatus::Solved) return Singular(c);
  m.sigma0 = m.priorError;
  ReportHeightPrecision(c, m.sigma0);
  return true;
}

std::string HeightExportPathFor(const std::string& dataPath) {
  return dataPath.substr(0, dataPath.size() < 4 ? 0 : dataPath.size() - 4) + "高程数据.txt";
}

}  // namespace qp
