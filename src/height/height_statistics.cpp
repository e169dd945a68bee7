#include "height/height_statistics.h"

#include <cmath>

#include "common/gbk_text.h"
#include "height/height_adjustment.h"
#include "statistics/statistics_report.h"

namespace qp {

std::vector<ObservationEntry> CollectHeightObservations(const HeightModel& m) {
  std::vector<ObservationEntry> out;
  for (size_t i = 0; i < m.differences.size(); ++i) {
    const HeightDifference& d = m.differences[i];
    ObservationEntry o;
    o.kind = Gbk(kHeightDifferenceKind);
    o.from = d.fromName;
    o.to = d.toName;
    o.weight = HeightWeight(m, static_cast<int>(i));
    if (!d.Joined()) {
      o.untestable = Gbk("点名不在点表中");
      o.countedButUnused = true;
    } else {
      const double v = (m.points[d.to].height - m.points[d.from].height - d.observed) * 1000.0;
      o.v = std::isfinite(v) ? v : 0.0;
      o.coefficients = {-1.0, 1.0};
      o.unknowns = {m.UnknownOf(d.from), m.UnknownOf(d.to)};
    }
    if (!std::isfinite(o.weight) || !(o.weight > 0.0)) o.untestable = Gbk("权不能确定");
    out.push_back(std::move(o));
  }
  return out;
}

CofactorView HeightCofactors(const HeightModel& m, const NormalEquationStore& normals) {
  CofactorView q;
  q.packed = normals.Packed();
  const int u = m.UnknownPointCount();
  q.unknowns = std::min(u, normals.Size());
  q.datumShift = m.KnownCount() == 0 && u > 0 ? 1.0 / u : 0.0;
  q.groupSize = 1;
  for (int p = m.KnownCount(); p < m.PointCount(); ++p) q.groupNames.push_back(m.points[p].name);
  return q;
}

int HeightTestRedundancy(const HeightModel& m) {
  return m.KnownCount() > 0 ? m.Redundancy() : m.Redundancy() + 1;
}

bool WriteHeightStatisticsReport(const HeightModel& m, const NormalEquationStore& normals, bool adjusted,
                                 const std::string& path, std::time_t now, const StatisticsOptions& options,
                                 GlobalTestOutcome* outcome) {
  StatisticsReportText text;
  text.title = m.name;
  text.units = "高差 毫米";
  text.effectUnit = "毫米";
  return TestAndWriteStatisticsReport(
      path, text, now, adjusted, HeightTestRedundancy(m), m.priorError,
      [&] { return TestedObservations{CollectHeightObservations(m), HeightCofactors(m, normals)}; }, options, outcome);
}

}  // namespace qp
