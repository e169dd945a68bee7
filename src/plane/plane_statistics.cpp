#include "plane/plane_statistics.h"

#include <cmath>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "plane/network_geometry.h"
#include "plane/plane_adjustment.h"
#include "plane/plane_results_internal.h"
#include "statistics/statistics_report.h"

namespace qp {
namespace {

// Coefficients of an azimuth (seconds per cm) or a length (cm per cm) from a
// to b at (a.dX, a.dY, b.dX, b.dY), as the equation builders form them.
void PairRow(const PlaneNetwork& net, int a, int b, bool angle, ObservationEntry& e) {
  const double dx = net.x[b] - net.x[a];
  const double dy = net.y[b] - net.y[a];
  double c1, c2;
  if (angle) {
    const double s2 = dx * dx + dy * dy;
    c1 = kRhoPerCm * dy / s2;
    c2 = -kRhoPerCm * dx / s2;
  } else {
    const double s = std::sqrt(dx * dx + dy * dy);
    c1 = -dx / s;
    c2 = -dy / s;
  }
  const int ka = UnknownIndexOf(net, a);
  const int kb = UnknownIndexOf(net, b);
  e.coefficients = {c1, c2, -c1, -c2};
  e.unknowns = {ka, ka < 0 ? -1 : ka + 1, kb, kb < 0 ? -1 : kb + 1};
}

ObservationEntry Entry(const char* kindUtf8, const std::string& from, const std::string& to, double v, double weight) {
  ObservationEntry e;
  e.kind = Gbk(kindUtf8);
  e.from = from;
  e.to = to;
  e.v = std::isfinite(v) ? v : 0.0;
  e.weight = weight;
  return e;
}

void AddDirections(const PlaneNetwork& net, const PointNameIndex& names, std::vector<ObservationEntry>& out) {
  if (net.directionCount < 2) return;
  const int points = ClampedCount(net.pointCount, kMaxPlanePoints);
  std::vector<ObservationEntry> set;
  for (int station = 0; station < points; ++station) {
    const auto range = OrientedDirectionSetOf(net, names, station);
    if (!range) continue;
    set.clear();
    double mean = 0.0;
    for (int d = range->begin; d < range->end; ++d) {
      const int target = names.Find(SlotText(net.directionTarget[d]));
      if (target < 0) continue;
      const double l = DirectionConstant(net, station, target, range->orientation, net.direction[d]);
      set.push_back(Entry(kDirectionKind, PointNameOf(net, station), PointNameOf(net, target), l, 1.0));
      PairRow(net, station, target, true, set.back());
      mean += l;
    }
    if (set.empty()) continue;
    const double n = static_cast<double>(set.size());
    mean /= n;
    // The orientation unknown reduced out: each row less the mean row of its set.
    std::vector<double> meanCoefficients;
    std::vector<int> meanUnknowns;
    for (const ObservationEntry& e : set) {
      for (size_t m = 0; m < 4; ++m) {
        meanCoefficients.push_back(-e.coefficients[m] / n);
        meanUnknowns.push_back(e.unknowns[m]);
      }
    }
    for (ObservationEntry& e : set) {
      e.v -= mean;
      e.coefficients.insert(e.coefficients.end(), meanCoefficients.begin(), meanCoefficients.end());
      e.unknowns.insert(e.unknowns.end(), meanUnknowns.begin(), meanUnknowns.end());
      e.eliminatedShare = 1.0 / n;
      out.push_back(std::move(e));
    }
  }
}

}  // namespace

std::vector<ObservationEntry> CollectPlaneObservations(const PlaneNetwork& net) {
  const PointNameIndex names(net);
  std::vector<ObservationEntry> out;
  AddDirections(net, names, out);

  const int distances = ClampedCount(net.reducedCount, kMaxReducedDistances);
  for (int d = 0; d < distances; ++d) {
    const int a = names.Find(SlotText(net.reducedFrom[d]));
    const int b = names.Find(SlotText(net.reducedTo[d]));
    if (a < 0 || b < 0) continue;
    const double observed = net.reducedLength[d];
    ObservationEntry e = Entry(kDistanceKind, PointNameOf(net, a), PointNameOf(net, b), DistanceConstant(net, a, b, observed),
                               DistanceWeight(net, observed));
    PairRow(net, a, b, false, e);
    if (distances < 2) {
      e.untestable = Gbk("单个边长不参加平差");
      e.countedButUnused = true;
    }
    out.push_back(std::move(e));
  }

  struct Table {
    const char* kind;
    int count;
    const NameSlot* from;
    const NameSlot* to;
    const double* value;
    const double* weight;  // null for the fixed ones
    bool angle;
  };
  const Table tables[] = {
      {kFixedAzimuthKind, net.fixedAzimuthCount, net.fixedAzimuthFrom, net.fixedAzimuthTo, net.fixedAzimuth, nullptr, true},
      {kFixedDistanceKind, net.fixedDistanceCount, net.fixedDistanceFrom, net.fixedDistanceTo, net.fixedDistance, nullptr,
       false},
      {kWeightedAzimuthKind, net.weightedAzimuthCount, net.weightedAzimuthFrom, net.weightedAzimuthTo, net.weightedAzimuth,
       net.weightedAzimuthWeight, true},
      {kWeightedDistanceKind, net.weightedDistanceCount, net.weightedDistanceFrom, net.weightedDistanceTo, net.weightedDistance,
       net.weightedDistanceWeight, false},
  };
  for (const Table& t : tables) {
    for (int m = 0; m < ClampedCount(t.count, kMaxSmallTable); ++m) {
      const int a = names.Find(SlotText(t.from[m]));
      const int b = names.Find(SlotText(t.to[m]));
      if (a < 0 || b < 0) continue;
      const double v = t.angle ? AzimuthConstant(net, a, b, t.value[m]) : DistanceConstant(net, a, b, t.value[m]);
      ObservationEntry e = Entry(t.kind, PointNameOf(net, a), PointNameOf(net, b), v, t.weight ? t.weight[m] : 0.0);
      PairRow(net, a, b, t.angle, e);
      if (!t.weight) {
        e.untestable = Gbk("固定值作为条件, 没有多余观测分量");
      } else if (!(t.weight[m] > 0.0)) {
        e.untestable = Gbk("权为零, 不参加平差");
        e.countedButUnused = true;
      }
      out.push_back(std::move(e));
    }
  }
  return out;
}

CofactorView PlaneCofactors(const PlaneNetwork& net, const NormalEquationStore& normals) {
  CofactorView q;
  q.packed = normals.Packed();
  const int points = ClampedCount(net.pointCount, kMaxPlanePoints);
  const int known = std::clamp(net.knownCount, 0, points);
  q.unknowns = std::min(2 * (points - known), normals.Size());
  q.groupSize = 2;
  for (int p = known; p < points; ++p) q.groupNames.push_back(PointNameOf(net, p));
  return q;
}

bool WritePlaneStatisticsReport(const PlaneNetwork& net, const NormalEquationStore& normals, bool adjusted,
                                const std::string& path, std::time_t now, const StatisticsOptions& options) {
  StatisticsReportText text;
  text.title = std::string(SlotText(net.networkName));
  text.units = "方向和方位角 秒, 边长 厘米";
  text.effectUnit = "厘米";
  if (!adjusted || net.redundancy <= 0) {
    return WriteUntestedStatisticsReport(
        path, text, now,
        net.redundancy <= 0 ? "没有多余观测, 观测值不能检验." : "精度估算只评定设计的精度, 没有观测值可检验.");
  }
  const std::vector<ObservationEntry> entries = CollectPlaneObservations(net);
  const CofactorView q = PlaneCofactors(net, normals);
  const AdjustmentStatistics s = AnalyzeAdjustment(entries, q, net.directionError, net.redundancy, options);
  return WriteStatisticsReport(path, text, now, entries, s, q);
}

}  // namespace qp
