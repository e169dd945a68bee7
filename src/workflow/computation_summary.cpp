#include "workflow/computation_summary.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/format.h"
#include "common/gbk_text.h"
#include "plane/plane_kinds.h"

namespace qp {
namespace {

bool PlaneAdjusted(const PlaneModel& m) { return m.calcMode != kPrecisionEstimate && m.redundancy != 0; }
bool HeightAdjusted(const HeightModel& m) { return m.mode == kHeightAdjust && m.Redundancy() > 0; }

struct Weakest {
  std::string name;  // GBK; empty when the network has no unknown point
  double error = 0.0;
};

// "平差完成: m0=±0.604″, 最弱点 N3 0.65 cm; 整体检验通过".
std::string Compose(bool adjusted, double sigma0, const char* sigmaUnit, const Weakest& weakest,
                    const char* errorUnit, GlobalTestOutcome test) {
  std::string text = adjusted ? "平差完成: " : "估算完成: ";
  std::string figures;
  if (adjusted) figures = Format("m0=±%.3f%s", std::isfinite(sigma0) ? sigma0 : 0.0, sigmaUnit);
  if (!weakest.name.empty()) {
    if (!figures.empty()) figures += ", ";
    figures += "最弱点 " + GbkToUtf8(weakest.name) + Format(" %.2f %s", weakest.error, errorUnit);
  }
  text += figures.empty() ? "没有待定点" : figures;
  if (test == GlobalTestOutcome::Passed) text += "; 整体检验通过";
  if (test == GlobalTestOutcome::Rejected) text += "; 整体检验拒绝";
  return text;
}

// The first of the largest errors, as the report names the weakest point.
template <typename Point, typename ErrorOf>
Weakest WeakestOf(const std::vector<Point>& points, size_t firstUnknown, ErrorOf errorOf) {
  Weakest w;
  bool found = false;
  for (size_t p = firstUnknown; p < points.size(); ++p) {
    const double error = errorOf(points[p]);
    if (!std::isfinite(error)) continue;
    if (!found || error > w.error) {
      w = {points[p].name, error};
      found = true;
    }
  }
  return w;
}

}  // namespace

std::string PlaneComputationSummary(const PlaneModel& m, GlobalTestOutcome test) {
  const size_t known = static_cast<size_t>(std::max(m.knownCount, 0));
  const Weakest weakest = WeakestOf(m.points, known, [](const PlanePoint& p) {
    const double e = p.ellipse.e, f = p.ellipse.f;
    return std::sqrt(e * e + f * f);
  });
  return Compose(PlaneAdjusted(m), m.sigma0, "″", weakest, "cm", test);
}

std::string HeightComputationSummary(const HeightModel& m, GlobalTestOutcome test) {
  const Weakest weakest = WeakestOf(m.points, static_cast<size_t>(m.KnownCount()),
                                    [](const HeightPoint& p) { return static_cast<double>(p.error); });
  return Compose(HeightAdjusted(m), m.sigma0, " mm", weakest, "mm", test);
}

}  // namespace qp
