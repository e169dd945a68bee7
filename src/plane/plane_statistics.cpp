#include "plane/plane_statistics.h"

#include <algorithm>
#include <cmath>

#include "common/gbk_text.h"
#include "plane/plane_results_internal.h"
#include "statistics/statistics_report.h"

namespace qp {
namespace {

ObservationEntry Entry(const char* kindUtf8, const PlaneModel& m, int a, int b, double v, double weight,
                       const PairEquation& eq) {
  ObservationEntry e;
  e.kind = Gbk(kindUtf8);
  e.from = m.points[a].name;
  e.to = m.points[b].name;
  e.v = std::isfinite(v) ? v : 0.0;
  e.weight = weight;
  e.coefficients.assign(eq.c, eq.c + 4);
  e.unknowns.assign(eq.k, eq.k + 4);
  return e;
}

void AddDirections(const PlaneModel& m, std::vector<ObservationEntry>& out) {
  if (m.directionCount < 2) return;
  std::vector<ObservationEntry> set;
  for (const PlaneDirectionSet& station : m.directionSets) {
    set.clear();
    double mean = 0.0;
    for (const SetDirection& d : OrientedSetDirections(m, station)) {
      const double l = d.constant;
      set.push_back(Entry(kDirectionKind, m, station.station, d.target, l, 1.0,
                          AngleEquation(m, station.station, d.target)));
      mean += l;
    }
    if (set.empty()) continue;
    const double n = static_cast<double>(set.size());
    mean /= n;
    // The orientation unknown reduced out: each row less the mean row of its set.
    std::vector<double> meanCoefficients;
    std::vector<int> meanUnknowns;
    for (const ObservationEntry& e : set) {
      for (size_t k = 0; k < 4; ++k) {
        meanCoefficients.push_back(-e.coefficients[k] / n);
        meanUnknowns.push_back(e.unknowns[k]);
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

std::vector<ObservationEntry> CollectPlaneObservations(const PlaneModel& m) {
  std::vector<ObservationEntry> out;
  AddDirections(m, out);

  for (const PlaneDistance& d : m.distances) {
    const int a = d.ends.from;
    const int b = d.ends.to;
    if (!d.ends.Resolved()) continue;
    ObservationEntry e =
        Entry(kDistanceKind, m, a, b, DistanceConstant(m, a, b, d.length), d.weight, LengthEquation(m, a, b));
    if (m.distances.size() < 2) {
      e.untestable = Gbk("单个边长不参加平差");
      e.countedButUnused = true;
    }
    out.push_back(std::move(e));
  }

  struct Table {
    const char* kind;
    const std::vector<PlaneMeasure>& list;
    bool fixed;
    bool angle;
  };
  const Table tables[] = {
      {kFixedAzimuthKind, m.fixedAzimuths, true, true},
      {kFixedDistanceKind, m.fixedSides, true, false},
      {kWeightedAzimuthKind, m.weightedAzimuths, false, true},
      {kWeightedDistanceKind, m.weightedSides, false, false},
  };
  for (const Table& t : tables) {
    for (const PlaneMeasure& o : t.list) {
      const int a = o.ends.from;
      const int b = o.ends.to;
      if (!o.ends.Resolved()) continue;
      const double v = t.angle ? AzimuthConstant(m, a, b, o.value) : DistanceConstant(m, a, b, o.value);
      ObservationEntry e = Entry(t.kind, m, a, b, v, t.fixed ? 0.0 : o.weight,
                                 t.angle ? AngleEquation(m, a, b) : LengthEquation(m, a, b));
      if (t.fixed) {
        e.untestable = Gbk("固定值作为条件, 没有多余观测分量");
      } else if (!(o.weight > 0.0)) {
        e.untestable = Gbk("权为零, 不参加平差");
        e.countedButUnused = true;
      }
      out.push_back(std::move(e));
    }
  }
  return out;
}

CofactorView PlaneCofactors(const PlaneModel& m, const NormalEquationStore& normals) {
  CofactorView q;
  q.packed = normals.Packed();
  q.unknowns = std::min(2 * m.UnknownPointCount(), normals.Size());
  q.groupSize = 2;
  for (int p = m.knownCount; p < m.pointCount(); ++p) q.groupNames.push_back(m.points[p].name);
  return q;
}

bool WritePlaneStatisticsReport(const PlaneModel& m, const NormalEquationStore& normals, bool adjusted,
                                const std::string& path, std::time_t now, const StatisticsOptions& options,
                                GlobalTestOutcome* outcome) {
  StatisticsReportText text;
  text.title = m.networkName;
  text.units = "方向和方位角 秒, 边长 厘米";
  text.effectUnit = "厘米";
  return TestAndWriteStatisticsReport(
      path, text, now, adjusted, m.redundancy, m.directionError,
      [&] { return TestedObservations{CollectPlaneObservations(m), PlaneCofactors(m, normals)}; }, options, outcome);
}

}  // namespace qp
