#include "height/height_statistics.h"

#include <cmath>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "height/height_adjustment.h"
#include "height/height_checks.h"
#include "statistics/statistics_report.h"

namespace qp {
namespace {

int Points(const HeightNetwork& net) { return BoundedCount(net.pointCount, kMaxHeightPoints); }
int Known(const HeightNetwork& net) { return BoundedCount(net.knownCount, Points(net)); }
int Unknowns(const HeightNetwork& net) { return Points(net) - Known(net); }

}  // namespace

std::vector<ObservationEntry> CollectHeightObservations(const HeightNetwork& net) {
  std::vector<ObservationEntry> out;
  const DifferenceEnds ends = FindDifferenceEnds(net);
  const int known = Known(net);
  for (size_t i = 0; i < ends.from.size(); ++i) {
    const int e = ends.from[i];
    const int f = ends.to[i];
    ObservationEntry o;
    o.kind = Gbk(kHeightDifferenceKind);
    o.from = std::string(SlotText(net.from[i]));
    o.to = std::string(SlotText(net.to[i]));
    o.weight = HeightWeight(net, static_cast<int>(i));
    if (e < 0 || f < 0) {
      o.untestable = Gbk("点名不在点表中");
      o.countedButUnused = true;
    } else {
      const double v = (net.height[f] - net.height[e] - net.observed[i]) * 1000.0;
      o.v = std::isfinite(v) ? v : 0.0;
      o.coefficients = {-1.0, 1.0};
      o.unknowns = {e >= known ? e - known : -1, f >= known ? f - known : -1};
    }
    if (!std::isfinite(o.weight) || !(o.weight > 0.0)) o.untestable = Gbk("权不能确定");
    out.push_back(std::move(o));
  }
  return out;
}

CofactorView HeightCofactors(const HeightNetwork& net, const NormalEquationStore& normals) {
  CofactorView q;
  q.packed = normals.Packed();
  const int u = Unknowns(net);
  q.unknowns = std::min(u, normals.Size());
  q.datumShift = Known(net) == 0 && u > 0 ? 1.0 / u : 0.0;
  q.groupSize = 1;
  for (int p = Known(net); p < Points(net); ++p) q.groupNames.emplace_back(SlotText(net.pointName[p]));
  return q;
}

int HeightTestRedundancy(const HeightNetwork& net) {
  const int observations = BoundedCount(net.observationCount, kMaxHeightDifferences);
  return Known(net) > 0 ? observations - Unknowns(net) : observations - Unknowns(net) + 1;
}

bool WriteHeightStatisticsReport(const HeightNetwork& net, const NormalEquationStore& normals, bool adjusted,
                                 const std::string& path, std::time_t now, const StatisticsOptions& options) {
  StatisticsReportText text;
  text.title = std::string(SlotText(net.networkName));
  text.units = "高差 毫米";
  text.effectUnit = "毫米";
  const int redundancy = HeightTestRedundancy(net);
  if (!adjusted || redundancy <= 0) {
    return WriteUntestedStatisticsReport(
        path, text, now,
        redundancy <= 0 ? "没有多余观测, 观测值不能检验." : "精度估算只评定设计的精度, 没有观测值可检验.");
  }
  const std::vector<ObservationEntry> entries = CollectHeightObservations(net);
  const CofactorView q = HeightCofactors(net, normals);
  const AdjustmentStatistics s = AnalyzeAdjustment(entries, q, net.priorError, redundancy, options);
  return WriteStatisticsReport(path, text, now, entries, s, q);
}

}  // namespace qp
