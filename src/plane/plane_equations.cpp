// Observation equations of the plane network: directions with the Schreiber
// sum equation of each set, distances, fixed azimuths and sides (constraint
// rows) and weighted azimuths and sides.
#include <cmath>
#include <string>
#include <vector>

#include "common/format.h"
#include "common/gbk_text.h"
#include "geodesy/angles.h"
#include "plane/plane_adjustment.h"
#include "plane/plane_results_internal.h"

namespace qp {
namespace {

// Both unknowns of a point: -1 for a known point.
void SetUnknowns(const PlaneModel& m, int a, int b, int (&k)[4]) {
  const int ka = m.UnknownIndexOf(a);
  const int kb = m.UnknownIndexOf(b);
  k[0] = ka;
  k[1] = ka < 0 ? -1 : ka + 1;
  k[2] = kb;
  k[3] = kb < 0 ? -1 : kb + 1;
}

}  // namespace

PairEquation AngleEquation(const PlaneModel& m, int a, int b) {
  const double dx = m.points[b].x - m.points[a].x;
  const double dy = m.points[b].y - m.points[a].y;
  const double s2 = dx * dx + dy * dy;
  const double ca = kRhoPerCm * dy / s2;
  const double cb = -kRhoPerCm * dx / s2;
  PairEquation eq{{ca, cb, -ca, -cb}, {}};
  SetUnknowns(m, a, b, eq.k);
  return eq;
}

PairEquation LengthEquation(const PlaneModel& m, int a, int b) {
  const double s = DistanceBetween(m, a, b);
  const double c1 = -(m.points[b].x - m.points[a].x) / s;
  const double c2 = -(m.points[b].y - m.points[a].y) / s;
  PairEquation eq{{c1, c2, -c1, -c2}, {}};
  SetUnknowns(m, a, b, eq.k);
  return eq;
}

std::vector<SetDirection> OrientedSetDirections(const PlaneModel& m, const PlaneDirectionSet& set) {
  std::vector<SetDirection> out;
  const int first = set.size() >= 2 ? m.directions[set.begin].target : -1;
  if (first < 0) return out;
  const double orientation = AzimuthBetween(m, set.station, first);
  for (int e = set.begin; e < set.end; ++e) {
    const PlaneDirection& d = m.directions[e];
    if (d.target < 0) continue;
    const double a = AzimuthBetween(m, set.station, d.target);
    out.push_back({e, d.target, FoldAngle((a - orientation) - DmsToRadians(d.dms)) * kRhoSeconds});
  }
  return out;
}

bool CorrectionPrompt(const ComputationDialogue& dialogue, CorrectionKind kind, AdjustmentMode mode, const char* from,
                      const char* to, double constant) {
  const bool adjusting = mode == AdjustmentMode::Adjusting;
  const double limit = kind == CorrectionKind::Angle ? (adjusting ? 10800.0 : 36000.0) : (adjusting ? 1000.0 : 10000.0);
  if (!(std::fabs(constant) > limit)) return true;
  const std::string text =
      kind == CorrectionKind::Angle
          ? FormatText("方向改正数(%s - %s)为:%f秒\n\n继续按<是>;  返回按<否>", from, to, constant)
          : FormatText("边长改正数(%s - %s)为:%f厘米\n\n继续按<是>;  返回按<否>", from, to, constant);
  return dialogue.GoOn(text);
}

bool FormDirectionEquations(PlaneComputation& c, AdjustmentMode mode) {
  const PlaneModel& m = c.model;
  std::vector<double> sumCoefficients;
  std::vector<int> sumIndices;
  for (const PlaneDirectionSet& set : m.directionSets) {
    const std::vector<SetDirection> directions = OrientedSetDirections(m, set);
    if (directions.empty()) continue;
    const int station = set.station;
    const int ks = m.UnknownIndexOf(station);
    double sumA = 0.0;
    double sumB = 0.0;
    double sumL = 0.0;
    sumCoefficients.assign(2, 0.0);
    sumIndices.assign({ks, ks < 0 ? -1 : ks + 1});
    for (const SetDirection& d : directions) {
      const double l = d.constant;
      if (!CorrectionPrompt(c.dialogue, CorrectionKind::Angle, mode, NameOf(m, station), NameOf(m, d.target), l)) {
        return false;
      }
      const PairEquation eq = AngleEquation(m, station, d.target);
      c.normals.AccumulateEquation(eq.c, eq.k, 4, l, 1.0);
      sumA += eq.c[0];
      sumB += eq.c[1];
      sumL += l;
      sumCoefficients.push_back(eq.c[2]);
      sumCoefficients.push_back(eq.c[3]);
      sumIndices.push_back(eq.k[2]);
      sumIndices.push_back(eq.k[3]);
    }
    // The orientation unknown of the set, eliminated.
    sumCoefficients[0] = sumA;
    sumCoefficients[1] = sumB;
    c.normals.AccumulateEquation(sumCoefficients.data(), sumIndices.data(), static_cast<int>(sumIndices.size()),
                                 sumL, -1.0 / static_cast<int>(directions.size()));
  }
  return true;
}

namespace {

// The equation of one azimuth or length observation; false when the user
// stopped at its constant.
bool FormPairEquation(PlaneComputation& c, AdjustmentMode mode, const PlaneEnds& ends, bool angle, double observed,
                      double weight, int constraintRow = -1, bool alsoWeighted = false) {
  const PlaneModel& m = c.model;
  const int a = ends.from;
  const int b = ends.to;
  const double l = angle ? AzimuthConstant(m, a, b, observed) : DistanceConstant(m, a, b, observed);
  if (!CorrectionPrompt(c.dialogue, angle ? CorrectionKind::Angle : CorrectionKind::Length, mode, NameOf(m, a),
                        NameOf(m, b), l)) {
    return false;
  }
  const PairEquation eq = angle ? AngleEquation(m, a, b) : LengthEquation(m, a, b);
  if (constraintRow >= 0) c.normals.SetConstraintRow(constraintRow, eq.c, eq.k, 4, l);
  if (constraintRow < 0 || alsoWeighted) c.normals.AccumulateEquation(eq.c, eq.k, 4, l, weight);
  return true;
}

}  // namespace

bool FormDistanceEquations(PlaneComputation& c, AdjustmentMode mode) {
  for (const PlaneDistance& d : c.model.distances) {
    if (d.ends.Resolved() && !FormPairEquation(c, mode, d.ends, false, d.length, d.weight)) return false;
  }
  return true;
}

bool FormFixedAzimuthSideEquations(PlaneComputation& c, AdjustmentMode mode) {
  const PlaneModel& m = c.model;
  const int base = 2 * m.UnknownPointCount();
  // With a single known point the fixed values also enter as observations.
  const bool oneKnownPoint = m.knownCount == 1;
  int row = base;
  for (const auto* list : {&m.fixedAzimuths, &m.fixedSides}) {
    const bool angle = list == &m.fixedAzimuths;
    for (const PlaneMeasure& fixed : *list) {
      const int r = row++;
      if (fixed.ends.Resolved() && !FormPairEquation(c, mode, fixed.ends, angle, fixed.value, 1.0, r, oneKnownPoint)) {
        return false;
      }
    }
  }
  return true;
}

bool FormWeightedAzimuthSideEquations(PlaneComputation& c, AdjustmentMode mode) {
  const PlaneModel& m = c.model;
  for (const auto* list : {&m.weightedAzimuths, &m.weightedSides}) {
    const bool angle = list == &m.weightedAzimuths;
    for (const PlaneMeasure& w : *list) {
      if (w.ends.Resolved() && !FormPairEquation(c, mode, w.ends, angle, w.value, w.weight)) return false;
    }
  }
  return true;
}

bool CheckObservationWeights(const PlaneModel& m, ComputationDialogue& dialogue, AdjustmentMode mode) {
  const bool adjusting = mode == AdjustmentMode::Adjusting;
  // Estimating, a single distance takes no part; adjusting, it is still reported.
  if (adjusting || m.distances.size() >= 2) {
    for (const PlaneDistance& d : m.distances) {
      if (!std::isfinite(d.weight) || !(d.standardError > 0.0)) {
        dialogue.Fail(FormatText("边长(%s - %s)的测距中误差不大于零, 不能定权 !", d.ends.fromName.c_str(),
                                 d.ends.toName.c_str()));
        return false;
      }
    }
  }
  if (!adjusting) return true;
  for (const auto* list : {&m.weightedAzimuths, &m.weightedSides}) {
    for (const PlaneMeasure& w : *list) {
      if (!(w.weight >= 0.0) || !std::isfinite(w.weight)) {
        dialogue.Fail(FormatText("加权观测值(%s - %s)的权值不能为负 !", w.ends.fromName.c_str(), w.ends.toName.c_str()));
        return false;
      }
    }
  }
  return true;
}

}  // namespace qp
