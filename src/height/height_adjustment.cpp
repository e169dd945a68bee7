// The iterated adjustment and the precision estimate of a height network.
#include "height/height_adjustment.h"

#include <algorithm>
#include <cmath>

#include "common/binary_file.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "height/height_checks.h"

namespace qp {
namespace {

// Convergence: every height correction within 5 mm.
constexpr double kConvergenceMm = 5.0;
// Iterations run at most, and the last one that may still count as converged.
constexpr int kMaxIterations = 10;
constexpr int kConvergedWithin = 8;
// Keeps a weight element of 0 from dividing by zero.
constexpr double kWeightElementFloor = 0.00001;

std::string Name(const HeightNameSlot& slot) { return std::string(SlotText(slot)); }

// The number of unknowns, 0 when the network has none or they do not fit.
int UnknownCount(const HeightNetwork& net) {
  const int points = BoundedCount(net.pointCount, kMaxHeightPoints);
  const int u = points - BoundedCount(net.knownCount, points);
  return u >= 1 && u <= kMaxNormalUnknowns ? u : 0;
}

// The unknown of point p, -1 for a known point.
int UnknownOf(const HeightNetwork& net, int p) { return p >= net.knownCount ? p - net.knownCount : -1; }

// The cofactor of unknowns a and b as the precision uses it: for a free
// network the datum term added while forming is taken off again, which leaves
// the cofactors of the minimum-norm solution.
double Cofactor(const HeightComputation& c, int a, int b) {
  const double datum = c.net.knownCount == 0 ? 1.0 / UnknownCount(c.net) : 0.0;
  return c.normals.At(a, b) - datum;
}

// The cofactor of the height difference between points e and f (either may be known).
double DifferenceCofactor(const HeightComputation& c, int e, int f) {
  const int a = UnknownOf(c.net, e);
  const int b = UnknownOf(c.net, f);
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
bool HeightsDetermined(const HeightNetwork& net) {
  const int points = BoundedCount(net.pointCount, kMaxHeightPoints);
  const int known = BoundedCount(net.knownCount, points);
  std::vector<int> parent(static_cast<size_t>(points) + 1);
  for (size_t k = 0; k < parent.size(); ++k) parent[k] = static_cast<int>(k);
  // Known points all hang on the extra node `points`.
  for (int p = 0; p < known; ++p) parent[Root(parent, p)] = Root(parent, points);
  const DifferenceEnds ends = FindDifferenceEnds(net);
  for (size_t i = 0; i < ends.from.size(); ++i) {
    if (ends.from[i] < 0 || ends.to[i] < 0) return false;
    parent[Root(parent, ends.from[i])] = Root(parent, ends.to[i]);
  }
  const int anchor = known > 0 ? Root(parent, points) : Root(parent, 0);
  for (int p = 0; p < points; ++p) {
    if (Root(parent, p) != anchor) return false;
  }
  return true;
}

double Error(double sigma0, double cofactor) {
  const double m = sigma0 * std::sqrt(std::fabs(cofactor));
  return std::isfinite(m) ? m : 0.0;
}

}  // namespace

double HeightWeight(const HeightNetwork& net, int i) {
  const double s = net.weightElement[i] + kWeightElementFloor;
  return net.kind == kTrigonometricNetwork ? 1.0 / (s * s) : 1.0 / s;
}

bool HeightCorrectionPrompt(const ComputationDialogue& dialogue, AdjustmentMode mode, const char* from, const char* to,
                            double constant) {
  const double limit = mode == AdjustmentMode::Adjusting ? 5000.0 : 50000.0;
  if (!(std::fabs(constant) > limit)) return true;
  const std::string text =
      FormatText("高差改正数(%s - %s)为:%f毫米\n\n继续按<是>;  返回按<否>", from, to, constant);
  return dialogue.GoOn(text);
}

namespace {

// Accumulates every height difference; with `constantsOnly` the normal
// matrix is left as it is and only the right-hand side is formed again.
bool AccumulateHeightEquations(HeightComputation& c, AdjustmentMode mode, bool constantsOnly) {
  HeightNetwork& net = c.net;
  const int u = UnknownCount(net);
  if (constantsOnly) {
    std::fill_n(c.normals.Rhs(), u, 0.0);
  } else {
    c.normals.Clear(u);
  }
  const DifferenceEnds ends = FindDifferenceEnds(net);
  for (size_t i = 0; i < ends.from.size(); ++i) {
    const int e = ends.from[i];
    const int f = ends.to[i];
    if (e < 0 || f < 0) continue;  // not a confirmed network
    const double l = (net.height[f] - net.height[e] - net.observed[i]) * 1000.0;
    if (!HeightCorrectionPrompt(c.dialogue, mode, Name(net.from[i]).c_str(), Name(net.to[i]).c_str(), l)) {
      return false;
    }
    const double p = HeightWeight(net, static_cast<int>(i));
    const int a = UnknownOf(net, e);
    const int b = UnknownOf(net, f);
    if (constantsOnly) {
      if (a >= 0) c.normals.Rhs()[a] -= p * l;
      if (b >= 0) c.normals.Rhs()[b] += p * l;
      continue;
    }
    const double coefficients[2] = {-1.0, 1.0};
    const int unknowns[2] = {a, b};
    c.normals.AccumulateEquation(coefficients, unknowns, 2, l, p);
  }
  if (!constantsOnly && net.knownCount == 0 && u > 0) {
    // The datum of a free network: N + (1/u) 1 1^T.
    const double datum = 1.0 / u;
    double* packed = c.normals.Packed();
    for (size_t k = 0; k < PackedIndex(u, 0); ++k) packed[k] += datum;
  }
  return true;
}

}  // namespace

bool FormHeightEquations(HeightComputation& c, AdjustmentMode mode) {
  return AccumulateHeightEquations(c, mode, false);
}

double ApplyHeightCorrections(HeightNetwork& net, const std::vector<double>& x) {
  const int u = std::min(UnknownCount(net), static_cast<int>(x.size()));
  double largest = 0.0;
  for (int j = 0; j < u; ++j) {
    if (!std::isfinite(x[j])) return HUGE_VAL;
    largest = std::max(largest, std::fabs(x[j]));
  }
  for (int j = 0; j < u; ++j) net.height[net.knownCount + j] -= 0.001 * x[j];
  return largest;
}

bool AdjustHeightNetwork(HeightComputation& c) {
  HeightNetwork& net = c.net;
  const int u = UnknownCount(net);
  if (u == 0 || !HeightsDetermined(net)) {
    c.dialogue.Fail(SingularNormalMessage());
    return false;
  }
  // The equations are linear: the normal matrix, and with it its inverse Q,
  // stays the same from one iteration to the next; each iteration forms the
  // constants again and moves the heights by x = Q U.
  std::vector<double> x;
  double largest = 1024.0;
  c.iterations = 0;
  while (largest > kConvergenceMm) {
    if (c.iterations == 0) {
      if (!FormHeightEquations(c, AdjustmentMode::Adjusting)) return false;
      if (c.normals.InvertPackedNormal(u) != SolveStatus::Solved) {
        c.dialogue.Fail(SingularNormalMessage());
        return false;
      }
    } else if (!AccumulateHeightEquations(c, AdjustmentMode::Adjusting, true)) {
      return false;
    }
    c.normals.MultiplyInverse(u, x);
    largest = ApplyHeightCorrections(net, x);
    // A solution that is not a number can never converge.
    if (++c.iterations >= kMaxIterations || !std::isfinite(largest)) break;
  }
  if (c.iterations > kConvergedWithin || !(largest <= kConvergenceMm)) {
    c.dialogue.Fail(NotConvergingMessage());
    return false;
  }

  ReportAdjustedHeights(c);
  const double pvv = ReportHeightCorrections(c);
  const int observations = BoundedCount(net.observationCount, kMaxHeightDifferences);
  // A free network has one condition fewer: its datum is chosen, not observed.
  const int freedom = net.knownCount > 0 ? observations - u : observations - u + 1;
  double sigma0 = freedom > 0 ? std::sqrt(pvv / freedom) : 0.0;
  if (!std::isfinite(sigma0)) sigma0 = 0.0;
  net.sigma0 = sigma0;
  ReportHeightPrecision(c, sigma0);
  ExportHeights(net, c.exportPath);
  return true;
}

bool EstimateHeightPrecision(HeightComputation& c) {
  HeightNetwork& net = c.net;
  const int u = UnknownCount(net);
  if (u == 0 || !HeightsDetermined(net)) {
    c.dialogue.Fail(SingularNormalMessage());
    return false;
  }
  if (!FormHeightEquations(c, AdjustmentMode::Estimating)) return false;
  if (c.normals.InvertPackedNormal(u) != SolveStatus::Solved) {
    c.dialogue.Fail(SingularNormalMessage());
    return false;
  }
  net.sigma0 = net.priorError;
  ReportHeightPrecision(c, net.sigma0);
  return true;
}

void ReportAdjustedHeights(HeightComputation& c) {
  const HeightNetwork& net = c.net;
  const int points = BoundedCount(net.pointCount, kMaxHeightPoints);
  c.report.TableHead(
      FormatText("\r\n\r\n%18d.高程平差值<个数:%ld   单位:米>\r\n", c.section.Take(), static_cast<long>(points)),
      "  序号 点    名                                         H高程(米)\r\n");
  for (int p = 0; p < points; ++p) {
    c.report.Printf("%5ld  %-48.10s%10.4f\r\n", static_cast<long>(p + 1), Name(net.pointName[p]).c_str(),
                    net.height[p]);
  }
  c.report.Rule();
}

double ReportHeightCorrections(HeightComputation& c) {
  HeightNetwork& net = c.net;
  const DifferenceEnds ends = FindDifferenceEnds(net);
  const long count = static_cast<long>(ends.from.size());
  c.report.TableHead(FormatText("\r\n\r\n%18d.高差改正数和平差值<个数:%ld>\r\n", c.section.Take(), count),
                     "  序号 点    名   点    名            改正数(毫米) 高差平差值(米)\r\n");
  double pvv = 0.0;
  for (long i = 0; i < count; ++i) {
    const int e = ends.from[i];
    const int f = ends.to[i];
    const double v = e >= 0 && f >= 0 ? (net.height[f] - net.height[e] - net.observed[i]) * 1000.0 : 0.0;
    net.largestCorrection = std::max(net.largestCorrection, std::fabs(v));
    pvv += HeightWeight(net, static_cast<int>(i)) * v * v;
    c.report.Printf("%5ld  %-11.10s%-20.10s%12.2f   %12.4f\r\n", i + 1, Name(net.from[i]).c_str(),
                    Name(net.to[i]).c_str(), v, net.observed[i] + 0.001 * v);
  }
  c.report.Rule();
  return pvv;
}

void ReportHeightPrecision(HeightComputation& c, double sigma0) {
  HeightNetwork& net = c.net;
  ReportFile& report = c.report;
  const int points = BoundedCount(net.pointCount, kMaxHeightPoints);
  const int known = BoundedCount(net.knownCount, points);
  const int u = UnknownCount(net);
  report.Write(FormatText("\r\n\r\n%18d.精度评定<单位权中误差=%-7.3f毫米>\r\n", c.section.Take(), sigma0));
  report.Rule();

  int weakest = -1;
  double weakestError = 0.0;
  for (int j = 0; j < u; ++j) {
    const double m = Error(sigma0, Cofactor(c, j, j));
    if (weakest < 0 || m > weakestError) {
      weakest = j;
      weakestError = m;
    }
  }
  report.Write(FormatText("%35s%7.3f毫米\r\n", Gbk("单位权中误差=").c_str(), sigma0));
  const std::string weakestName = weakest >= 0 ? Name(net.pointName[known + weakest]) : std::string();
  report.Write(FormatText("%25s(%16.16s)=%8.2f毫米\r\n", Gbk("最弱点高程中误差").c_str(), weakestName.c_str(),
                          weakestError));
  report.Rule();
  report.Write(Gbk("  序号 点    名   点    名                 高程或高差中误差(毫米)\r\n"));
  report.Rule();

  long number = 1;
  for (int p = 0; p < points; ++p) {
    if (p < known) {
      net.heightError[p] = 0.0f;
      continue;
    }
    const double m = Error(sigma0, Cofactor(c, p - known, p - known));
    net.heightError[p] = static_cast<float>(m);
    report.Printf("%5ld  %-30.10s%15.2f\r\n", number++, Name(net.pointName[p]).c_str(), m);
  }

  const DifferenceEnds ends = FindDifferenceEnds(net);
  for (size_t i = 0; i < ends.from.size(); ++i) {
    const int e = ends.from[i];
    const int f = ends.to[i];
    const int k = static_cast<int>(i);
    if (e < known && f < known) {  // between two known points (or not confirmed): no row
      SetDifferenceError(net, k, 0.0f);
      continue;
    }
    const double m = Error(sigma0, DifferenceCofactor(c, e, f));
    SetDifferenceError(net, k, static_cast<float>(m));
    report.Printf("%5ld  %-11.10s%-28.10s    %15.2f\r\n", number++, Name(net.from[k]).c_str(), Name(net.to[k]).c_str(),
                  m);
  }

  const HeightPointIndex index(net, points);
  for (int k = 0; k < BoundedCount(net.pairCount, kMaxHeightPairs); ++k) {
    const int e = index.Find(SlotText(net.pairFrom[k]));
    const int f = index.Find(SlotText(net.pairTo[k]));
    net.pairDifference[k] = e >= 0 && f >= 0 ? net.height[f] - net.height[e] : 0.0;
    net.pairError[k] = 0.0f;
    if (e < known || f < known) continue;  // both ends must be unknown points
    const double m = Error(sigma0, DifferenceCofactor(c, e, f));
    net.pairError[k] = static_cast<float>(m);
    report.Printf("%5ld  %-11.10s%-28.16s    %15.2f\r\n", number++, Name(net.pairFrom[k]).c_str(),
                  Name(net.pairTo[k]).c_str(), m);
  }
  report.Rule();
}

std::string HeightExportPathFor(const std::string& dataPath) {
  return dataPath.substr(0, dataPath.size() < 4 ? 0 : dataPath.size() - 4) + "高程数据.txt";
}

void ExportHeights(const HeightNetwork& net, const std::string& exportPath) {
  const int points = BoundedCount(net.pointCount, kMaxHeightPoints);
  if (points <= 1) return;
  std::string text;
  for (int p = 0; p < points; ++p) text += Format("%s,%15.6f\r\n", Name(net.pointName[p]).c_str(), net.height[p]);
  WriteFileAtomically(exportPath, {std::span<const unsigned char>(reinterpret_cast<const unsigned char*>(text.data()),
                                                                  text.size())});
}

}  // namespace qp
