// Observation equations of the plane network: directions with the Schreiber
// sum equation of each set, distances, fixed azimuths and sides (constraint
// rows) and weighted azimuths and sides.
#include <cmath>
#include <string>
#include <vector>

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "geodesy/angles.h"
#include "plane/network_geometry.h"
#include "plane/plane_adjustment.h"
#include "plane/plane_results_internal.h"

namespace qp {
namespace {

// The equation of a direction or azimuth from a to b at the current
// coordinates: coefficients at (a.dX, a.dY, b.dX, b.dY) in seconds per cm.
struct PairEquation {
  double c[4];
  int k[4];
};

PairEquation AngleEquation(const PlaneNetwork& net, int a, int b) {
  const double dx = net.x[b] - net.x[a];
  const double dy = net.y[b] - net.y[a];
  const double s2 = dx * dx + dy * dy;
  const double ca = kRhoPerCm * dy / s2;
  const double cb = -kRhoPerCm * dx / s2;
  return {{ca, cb, -ca, -cb}, {UnknownIndexOf(net, a), UnknownIndexOf(net, a) + 1, UnknownIndexOf(net, b),
                               UnknownIndexOf(net, b) + 1}};
}

PairEquation LengthEquation(const PlaneNetwork& net, int a, int b) {
  const double s = DistanceOf(net.x[a], net.y[a], net.x[b], net.y[b]);
  const double c1 = -(net.x[b] - net.x[a]) / s;
  const double c2 = -(net.y[b] - net.y[a]) / s;
  return {{c1, c2, -c1, -c2}, {UnknownIndexOf(net, a), UnknownIndexOf(net, a) + 1, UnknownIndexOf(net, b),
                               UnknownIndexOf(net, b) + 1}};
}

// Negative indices stay negative for both unknowns of a known point.
void MaskKnown(PairEquation& eq) {
  for (int i = 0; i < 4; i += 2) {
    if (eq.k[i] < 0) eq.k[i + 1] = -1;
  }
}

}  // namespace

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
  PlaneNetwork& net = c.net;
  const PointNameIndex names(net);
  const int points = ClampedCount(net.pointCount, kMaxPlanePoints);
  std::vector<double> sumCoefficients;
  std::vector<int> sumIndices;
  for (int station = 0; station < points; ++station) {
    const auto set = OrientedDirectionSetOf(net, names, station);
    if (!set) continue;
    const int ks = UnknownIndexOf(net, station);
    double sumA = 0.0;
    double sumB = 0.0;
    double sumL = 0.0;
    int count = 0;
    sumCoefficients.assign(2, 0.0);
    sumIndices.assign({ks, ks < 0 ? -1 : ks + 1});
    for (int e = set->begin; e < set->end; ++e) {
      const int target = names.Find(SlotText(net.directionTarget[e]));
      if (target < 0) continue;
      const double l = DirectionConstant(net, station, target, set->orientation, net.direction[e]);
      if (!CorrectionPrompt(c.dialogue, CorrectionKind::Angle, mode, PointNameOf(net, station).c_str(), PointNameOf(net, target).c_str(),
                            l)) {
        return false;
      }
      PairEquation eq = AngleEquation(net, station, target);
      MaskKnown(eq);
      c.normals.AccumulateEquation(eq.c, eq.k, 4, l, 1.0);
      sumA += eq.c[0];
      sumB += eq.c[1];
      sumL += l;
      sumCoefficients.push_back(eq.c[2]);
      sumCoefficients.push_back(eq.c[3]);
      sumIndices.push_back(eq.k[2]);
      sumIndices.push_back(eq.k[3]);
      ++count;
    }
    if (count == 0) continue;
    // The orientation unknown of the set, eliminated.
    sumCoefficients[0] = sumA;
    sumCoefficients[1] = sumB;
    c.normals.AccumulateEquation(sumCoefficients.data(), sumIndices.data(), static_cast<int>(sumIndices.size()),
                                 sumL, -1.0 / count);
  }
  return true;
}

bool FormDistanceEquations(PlaneComputation& c, AdjustmentMode mode) {
  PlaneNetwork& net = c.net;
  const PointNameIndex names(net);
  const int count = ClampedCount(net.reducedCount, kMaxReducedDistances);
  for (int d = 0; d < count; ++d) {
    const int e = names.Find(SlotText(net.reducedFrom[d]));
    const int f = names.Find(SlotText(net.reducedTo[d]));
    if (e < 0 || f < 0) continue;
    const double observed = net.reducedLength[d];
    const double p = DistanceWeight(net, observed);
    const double l = DistanceConstant(net, e, f, observed);
    if (!CorrectionPrompt(c.dialogue, CorrectionKind::Length, mode, PointNameOf(net, e).c_str(), PointNameOf(net, f).c_str(), l)) {
      return false;
    }
    PairEquation eq = LengthEquation(net, e, f);
    MaskKnown(eq);
    c.normals.AccumulateEquation(eq.c, eq.k, 4, l, p);
  }
  return true;
}

bool FormFixedAzimuthSideEquations(PlaneComputation& c, AdjustmentMode mode) {
  PlaneNetwork& net = c.net;
  const PointNameIndex names(net);
  const int base = 2 * (net.pointCount - net.knownCount);
  const bool oneKnownPoint = net.knownCount == 1;
  const int azimuths = ClampedCount(net.fixedAzimuthCount, kMaxSmallTable);
  for (int m = 0; m < azimuths; ++m) {
    const int u = names.Find(SlotText(net.fixedAzimuthFrom[m]));
    const int v = names.Find(SlotText(net.fixedAzimuthTo[m]));
    if (u < 0 || v < 0) continue;
    const double l = AzimuthConstant(net, u, v, net.fixedAzimuth[m]);
    if (!CorrectionPrompt(c.dialogue, CorrectionKind::Angle, mode, PointNameOf(net, u).c_str(), PointNameOf(net, v).c_str(), l)) {
      return false;
    }
    PairEquation eq = AngleEquation(net, u, v);
    MaskKnown(eq);
    c.normals.SetConstraintRow(base + m, eq.c, eq.k, 4, l);
    if (oneKnownPoint) c.normals.AccumulateEquation(eq.c, eq.k, 4, l, 1.0);
  }
  const int sides = ClampedCount(net.fixedDistanceCount, kMaxSmallTable);
  for (int m = 0; m < sides; ++m) {
    const int a = names.Find(SlotText(net.fixedDistanceFrom[m]));
    const int b = names.Find(SlotText(net.fixedDistanceTo[m]));
    if (a < 0 || b < 0) continue;
    const double l = DistanceConstant(net, a, b, net.fixedDistance[m]);
    if (!CorrectionPrompt(c.dialogue, CorrectionKind::Length, mode, PointNameOf(net, a).c_str(), PointNameOf(net, b).c_str(), l)) {
      return false;
    }
    PairEquation eq = LengthEquation(net, a, b);
    MaskKnown(eq);
    c.normals.SetConstraintRow(base + net.fixedAzimuthCount + m, eq.c, eq.k, 4, l);
    if (oneKnownPoint) c.normals.AccumulateEquation(eq.c, eq.k, 4, l, 1.0);
  }
  return true;
}

bool FormWeightedAzimuthSideEquations(PlaneComputation& c, AdjustmentMode mode) {
  PlaneNetwork& net = c.net;
  const PointNameIndex names(net);
  const int azimuths = ClampedCount(net.weightedAzimuthCount, kMaxSmallTable);
  for (int m = 0; m < azimuths; ++m) {
    const int u = names.Find(SlotText(net.weightedAzimuthFrom[m]));
    const int v = names.Find(SlotText(net.weightedAzimuthTo[m]));
    if (u < 0 || v < 0) continue;
    const double l = AzimuthConstant(net, u, v, net.weightedAzimuth[m]);
    if (!CorrectionPrompt(c.dialogue, CorrectionKind::Angle, mode, PointNameOf(net, u).c_str(), PointNameOf(net, v).c_str(), l)) {
      return false;
    }
    PairEquation eq = AngleEquation(net, u, v);
    MaskKnown(eq);
    c.normals.AccumulateEquation(eq.c, eq.k, 4, l, net.weightedAzimuthWeight[m]);
  }
  const int sides = ClampedCount(net.weightedDistanceCount, kMaxSmallTable);
  for (int m = 0; m < sides; ++m) {
    const int a = names.Find(SlotText(net.weightedDistanceFrom[m]));
    const int b = names.Find(SlotText(net.weightedDistanceTo[m]));
    if (a < 0 || b < 0) continue;
    const double l = DistanceConstant(net, a, b, net.weightedDistance[m]);
    if (!CorrectionPrompt(c.dialogue, CorrectionKind::Length, mode, PointNameOf(net, a).c_str(), PointNameOf(net, b).c_str(), l)) {
      return false;
    }
    PairEquation eq = LengthEquation(net, a, b);
    MaskKnown(eq);
    c.normals.AccumulateEquation(eq.c, eq.k, 4, l, net.weightedDistanceWeight[m]);
  }
  return true;
}

bool CheckObservationWeights(const PlaneNetwork& net, ComputationDialogue& dialogue, AdjustmentMode mode) {
  const bool adjusting = mode == AdjustmentMode::Adjusting;
  // Estimating, a single distance takes no part; adjusting, it is still reported.
  const int distances =
      adjusting || net.reducedCount >= 2 ? ClampedCount(net.reducedCount, kMaxReducedDistances) : 0;
  for (int d = 0; d < distances; ++d) {
    const double p = DistanceWeight(net, net.reducedLength[d]);
    if (!std::isfinite(p) || !(DistanceStandardError(net, net.reducedLength[d]) > 0.0)) {
      dialogue.Fail(FormatText("边长(%s - %s)的测距中误差不大于零, 不能定权 !",
                                      std::string(SlotText(net.reducedFrom[d])).c_str(),
                                      std::string(SlotText(net.reducedTo[d])).c_str()));
      return false;
    }
  }
  auto checkWeights = [&](int count, const double* weight, const NameSlot* from, const NameSlot* to) {
    for (int m = 0; m < ClampedCount(count, kMaxSmallTable); ++m) {
      if (!(weight[m] >= 0.0) || !std::isfinite(weight[m])) {
        dialogue.Fail(FormatText("加权观测值(%s - %s)的权值不能为负 !", std::string(SlotText(from[m])).c_str(),
                                        std::string(SlotText(to[m])).c_str()));
        return false;
      }
    }
    return true;
  };
  if (!adjusting) return true;
  return checkWeights(net.weightedAzimuthCount, net.weightedAzimuthWeight, net.weightedAzimuthFrom,
                      net.weightedAzimuthTo) &&
         checkWeights(net.weightedDistanceCount, net.weightedDistanceWeight, net.weightedDistanceFrom,
                      net.weightedDistanceTo);
}

}  // namespace qp
