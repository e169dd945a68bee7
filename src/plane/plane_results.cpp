// Result sections of a plane computation: adjusted observations with their
// corrections, the precision assessment with point and relative error
// ellipses, the adjusted sides and azimuths, and the coordinate export.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "plane/network_geometry.h"
#include "plane/plane_adjustment.h"
#include "plane/plane_results_internal.h"

namespace qp {
namespace {

// Reports and records never receive a value that is not a number.
double Finite(double v) { return std::isfinite(v) ? v : 0.0; }

long AsLong(int v) { return static_cast<long>(v); }

std::string SlotString(const NameSlot& slot) { return std::string(SlotText(slot)); }

}  // namespace

double ReportAdjustedDirections(PlaneComputation& c) {
  const PlaneNetwork& net = c.net;
  if (net.directionCount < 2) return 0.0;
  const PointNameIndex names(net);
  c.report.TableHead(
      FormatText("\r\n\r\n%18d.方向平差值和改正数<个数:%ld>\r\n", c.section.Take(), AsLong(net.directionCount)),
      "  序号 点    名   点    名               改正数(秒)    方向平差值\r\n");
  double sum = 0.0;
  long row = 0;
  const int points = ClampedCount(net.pointCount, kMaxPlanePoints);
  struct Direction {
    int entry;
    int target;
    double v;
  };
  std::vector<Direction> set;
  for (int station = 0; station < points; ++station) {
    const auto range = OrientedDirectionSetOf(net, names, station);
    if (!range) continue;
    set.clear();
    double mean = 0.0;
    for (int e = range->begin; e < range->end; ++e) {
      const int target = names.Find(SlotText(net.directionTarget[e]));
      if (target < 0) continue;
      set.push_back({e, target, DirectionConstant(net, station, target, range->orientation, net.direction[e])});
      mean += set.back().v;
    }
    mean /= static_cast<double>(set.size());
    for (const Direction& d : set) {
      const double correction = d.v - mean;
      sum += correction * correction;
      const double adjusted = RadiansToDms(DmsToRadians(net.direction[d.entry]) + d.v * kSecondInRadians);
      c.report.Write(Format("%5ld  %-11.10s%-20.10s%10.3f     %12.6f\r\n", ++row, PointNameOf(net, station).c_str(),
                            PointNameOf(net, d.target).c_str(), correction, adjusted));
    }
  }
  c.report.Rule();
  return sum;
}

double ReportAdjustedDistances(PlaneComputation& c) {
  const PlaneNetwork& net = c.net;
  const int count = ClampedCount(net.reducedCount, kMaxReducedDistances);
  if (count < 1) return 0.0;
  const PointNameIndex names(net);
  c.report.TableHead(FormatText("\r\n\r\n%18d.边长平差值和改正数<个数:%ld>\r\n", c.section.Take(), AsLong(count)),
                     "  序号 点    名   点    名               改正数(厘米)  边长平差值\r\n");
  double sum = 0.0;
  long row = 0;
  for (int d = 0; d < count; ++d) {
    const int e = names.Find(SlotText(net.reducedFrom[d]));
    const int f = names.Find(SlotText(net.reducedTo[d]));
    if (e < 0 || f < 0) continue;
    const double observed = net.reducedLength[d];
    const double p = DistanceWeight(net, observed);
    const double v = DistanceConstant(net, e, f, observed);
    sum += p * v * v;
    c.report.Write(Format("%5ld  %-11.10s%-20.10s%10.3f     %12.4f\r\n", ++row, SlotString(net.reducedFrom[d]).c_str(),
                          SlotString(net.reducedTo[d]).c_str(), v, observed + 0.01 * v));
  }
  c.report.Rule();
  return sum;
}

double ReportWeightedObservations(PlaneComputation& c) {
  const PlaneNetwork& net = c.net;
  const PointNameIndex names(net);
  double sum = 0.0;
  const int azimuths = ClampedCount(net.weightedAzimuthCount, kMaxSmallTable);
  if (azimuths > 0) {
    c.report.TableHead(
        FormatText("\r\n\r\n%18d.加权方位角平差值和改正数<个数:%ld>\r\n", c.section.Take(), AsLong(azimuths)),
        "  序号 点    名   点    名              改正数(秒) 加权方位平差值\r\n");
    long row = 0;
    for (int m = 0; m < azimuths; ++m) {
      const int u = names.Find(SlotText(net.weightedAzimuthFrom[m]));
      const int v = names.Find(SlotText(net.weightedAzimuthTo[m]));
      if (u < 0 || v < 0) continue;
      const double correction = AzimuthConstant(net, u, v, net.weightedAzimuth[m]);
      sum += net.weightedAzimuthWeight[m] * correction * correction;
      const double adjusted = RadiansToDms(AzimuthOf(net.x[u], net.y[u], net.x[v], net.y[v]));
      c.report.Write(Format("%5ld  %-11.10s%-20.10s%10.3f     %12.7f\r\n", ++row,
                            SlotString(net.weightedAzimuthFrom[m]).c_str(), SlotString(net.weightedAzimuthTo[m]).c_str(),
                            correction, adjusted));
    }
    c.report.Rule();
  }
  const int sides = ClampedCount(net.weightedDistanceCount, kMaxSmallTable);
  if (sides > 0) {
    c.report.TableHead(FormatText("\r\n\r\n%18d.加权边长平差值和改正数<个数:%ld>\r\n", c.section.Take(), AsLong(sides)),
                       "  序号 点    名   点    名            改正数(厘米) 加权边长平差值\r\n");
    long row = 0;
    for (int m = 0; m < sides; ++m) {
      const int a = names.Find(SlotText(net.weightedDistanceFrom[m]));
      const int b = names.Find(SlotText(net.weightedDistanceTo[m]));
      if (a < 0 || b < 0) continue;
      const double adjusted = DistanceOf(net.x[a], net.y[a], net.x[b], net.y[b]);
      const double v = (adjusted - net.weightedDistance[m]) * 100.0;
      sum += net.weightedDistanceWeight[m] * v * v;
      c.report.Write(Format("%5ld  %-11.10s%-20.10s%10.3f     %12.4f\r\n", ++row,
                            SlotString(net.weightedDistanceFrom[m]).c_str(),
                            SlotString(net.weightedDistanceTo[m]).c_str(), v, adjusted));
    }
    c.report.Rule();
  }
  return sum;
}

PairCofactorValues PairCofactors(const PlaneNetwork& net, const NormalEquationStore& normals, int i, int k) {
  auto single = [&](int p) {
    PairCofactorValues q;
    const int j = p >= 0 ? UnknownIndexOf(net, p) : -1;
    if (j < 0) return q;
    q.qxx = normals.At(j, j);
    q.qyy = normals.At(j + 1, j + 1);
    q.qxy = normals.At(j + 1, j);
    return q;
  };
  if (i < 0) return single(k);
  const PairCofactorValues a = single(i);
  const PairCofactorValues b = single(k);
  PairCofactorValues q{a.qxx + b.qxx, a.qyy + b.qyy, a.qxy + b.qxy};
  const int ji = UnknownIndexOf(net, i);
  const int jk = UnknownIndexOf(net, k);
  if (ji >= 0 && jk >= 0) {
    q.qxx -= 2.0 * normals.At(jk, ji);
    q.qyy -= 2.0 * normals.At(jk + 1, ji + 1);
    q.qxy -= normals.At(jk + 1, ji) + normals.At(jk, ji + 1);
  }
  return q;
}

PointErrorValues PointErrors(const PlaneNetwork& net, const NormalEquationStore& normals, double sigma0, int k) {
  const PairCofactorValues q = PairCofactors(net, normals, -1, k);
  PointErrorValues r;
  r.mx = Finite(sigma0 * std::sqrt(std::fabs(q.qxx)));
  r.my = Finite(sigma0 * std::sqrt(std::fabs(q.qyy)));
  r.mxy = Finite(std::sqrt(r.mx * r.mx + r.my * r.my));
  return r;
}

EllipseValues ErrorEllipse(const PlaneNetwork& net, const NormalEquationStore& normals, double sigma0, int i, int k) {
  const PairCofactorValues q = PairCofactors(net, normals, i, k);
  const double kk = std::sqrt((q.qxx - q.qyy) * (q.qxx - q.qyy) + 4.0 * q.qxy * q.qxy);
  EllipseValues r;
  r.e = Finite(sigma0 * std::sqrt(std::fabs(q.qxx + q.qyy + kk) / 2.0));
  r.f = Finite(sigma0 * std::sqrt(std::fabs(q.qxx + q.qyy - kk) / 2.0));
  double phi = std::atan2(2.0 * q.qxy, q.qxx - q.qyy);
  if (phi < 0.0) phi += 2.0 * kPi;
  r.q = Finite(RadiansToDms(phi / 2.0));
  return r;
}

SideErrorValues SideErrors(const PlaneNetwork& net, const NormalEquationStore& normals, double sigma0, int i, int k) {
  SideErrorValues r;
  if (i < 0 || k < 0) return r;
  const PairCofactorValues q = PairCofactors(net, normals, i, k);
  const double dx = net.x[k] - net.x[i];
  const double dy = net.y[k] - net.y[i];
  const double s = std::sqrt(dx * dx + dy * dy);
  if (!(s > 0.0)) {
    // Two points in one place have no side direction: only the error along X.
    r.ms = Finite(sigma0 * std::sqrt(std::fabs(q.qxx)));
    return r;
  }
  const double cs = dx / s;
  const double sn = dy / s;
  r.ms = Finite(sigma0 * std::sqrt(std::fabs(cs * cs * q.qxx + sn * sn * q.qyy + 2.0 * sn * cs * q.qxy)));
  r.mt = Finite(sigma0 * std::sqrt(std::fabs((sn * sn * q.qxx + cs * cs * q.qyy - 2.0 * sn * cs * q.qxy) / (s * s)) *
                                   kRhoPerCmSquared));
  r.relative = std::min(Finite(0.01 * s / (r.ms + 1e-10)), 1000.0);
  return r;
}

void ReportPlanePrecision(PlaneComputation& c, double sigma0) {
  PlaneNetwork& net = c.net;
  const NormalEquationStore& q = c.normals;
  sigma0 = Finite(sigma0);
  const int points = ClampedCount(net.pointCount, kMaxPlanePoints);
  const int known = std::clamp(net.knownCount, 0, points);
  c.report.Write(FormatText("\r\n\r\n%18d.精度评定<单位权中误差=%-7.3f>\r\n", c.section.Take(), sigma0));
  c.report.Rule();

  // The weakest point: the first of the largest point errors.
  int weakest = -1;
  double weakestError = 0.0;
  for (int p = known; p < points; ++p) {
    const double mxy = PointErrors(net, q, sigma0, p).mxy;
    if (weakest < 0 || mxy > weakestError) {
      weakest = p;
      weakestError = mxy;
    }
  }
  c.report.Write(Format("%35s%7.3f\r\n", Gbk("单位权中误差=").c_str(), sigma0));
  c.report.Write(Format("%25s(%16.16s)=%8.2f%s\r\n", Gbk("最弱点点位中误差").c_str(),
                        weakest >= 0 ? PointNameOf(net, weakest).c_str() : "", weakestError, Gbk("厘米").c_str()));
  c.report.Rule();
  c.report.Write(Gbk("  未知数X中误差:mx厘米; 未知数Y中误差:my厘米; 点位中误差:mxy厘米\r\n"));
  c.report.Write(Gbk("  误差椭圆长半轴:E厘米; 误差椭圆短半轴:F厘米; 长半轴方位角:Q度.分\r\n"));
  c.report.Write(Gbk("  方位角中误差:mt秒;    边长中误差:ms厘米; 边长相对中误差:m/s(万)\r\n"));
  c.report.Rule();

  long number = 0;
  for (int p = 0; p < known; ++p) net.pointE[p] = net.pointF[p] = net.pointQ[p] = 0.0f;
  for (int p = known; p < points; ++p) {
    const EllipseValues e = ErrorEllipse(net, q, sigma0, -1, p);
    const PointErrorValues m = PointErrors(net, q, sigma0, p);
    c.report.Write(Format("%6ld  %-16.16s\r\n", ++number, PointNameOf(net, p).c_str()));
    c.report.Write(Format("        E=%-6.2fF=%-6.2fQ=%-8.2fmx=%-6.2fmy=%-6.2fmxy=%-6.2f\r\n", e.e, e.f, e.q, m.mx,
                          m.my, m.mxy));
    net.pointE[p] = static_cast<float>(e.e);
    net.pointF[p] = static_cast<float>(e.f);
    net.pointQ[p] = static_cast<float>(e.q);
  }

  const PointNameIndex names(net);
  // One relative-precision entry; false when it is skipped.
  auto relative = [&](const NameSlot& first, const NameSlot& second, bool bothUnknown, float& ms, float& mt, float& ef,
                      float& ff, float& qf) {
    ms = mt = ef = ff = qf = 0.0f;
    const int a = names.Find(SlotText(first));
    const int b = names.Find(SlotText(second));
    if (a < 0 || b < 0 || a == b) return;
    const bool aUnknown = a >= known;
    const bool bUnknown = b >= known;
    if (bothUnknown ? !(aUnknown && bUnknown) : !(aUnknown || bUnknown)) return;
    const int i = std::min(a, b);
    const int k = std::max(a, b);
    const SideErrorValues s = SideErrors(net, q, sigma0, i, k);
    const EllipseValues e = ErrorEllipse(net, q, sigma0, i, k);
    c.report.Write(Format("%6ld  %-16.16s%-16.16s\r\n", ++number, PointNameOf(net, i).c_str(), PointNameOf(net, k).c_str()));
    c.report.Write(Format("        E=%-6.2fF=%-6.2fQ=%-8.2fmt=%-6.2fms=%-6.2fm/s=1/%-5.1f\r\n", e.e, e.f, e.q, s.mt,
                          s.ms, s.relative));
    ms = static_cast<float>(s.ms);
    mt = static_cast<float>(s.mt);
    ef = static_cast<float>(e.e);
    ff = static_cast<float>(e.f);
    qf = static_cast<float>(e.q);
  };
  const int sides = ClampedCount(net.sideCount, kMaxSides);
  for (int s = 0; s < sides; ++s) {
    relative(net.sideFrom[s], net.sideTo[s], false, net.sideMs[s], net.sideMt[s], net.sideE[s], net.sideF[s],
             net.sideQ[s]);
  }
  const int pairs = ClampedCount(net.precisionPairCount, kMaxSmallTable);
  for (int s = 0; s < pairs; ++s) {
    relative(net.pairFirst[s], net.pairSecond[s], true, net.pairMs[s], net.pairMt[s], net.pairE[s], net.pairF[s],
             net.pairQ[s]);
  }
  c.report.Rule();
}

void ReportSidesAndAzimuths(PlaneComputation& c) {
  const PlaneNetwork& net = c.net;
  const int sides = ClampedCount(net.sideCount, kMaxSides);
  if (sides < 1) return;
  const PointNameIndex names(net);
  c.report.TableHead(net.redundancy > 0 ? FormatText("\r\n\r\n%18d.平差后边长和方位角\r\n", c.section.Take())
                                        : FormatText("\r\n\r\n%18d.边长和方位角\r\n", c.section.Take()),
                     "  序号 点    名---点    名               边长(米)      方位角D.MS\r\n");
  long row = 0;
  for (int s = 0; s < sides; ++s) {
    const int a = names.Find(SlotText(net.sideFrom[s]));
    const int b = names.Find(SlotText(net.sideTo[s]));
    if (a < 0 || b < 0) continue;
    c.report.Write(Format("%5ld  %-11.10s%-20.10s%10.4f     %12.6f\r\n", ++row, SlotString(net.sideFrom[s]).c_str(),
                          SlotString(net.sideTo[s]).c_str(), DistanceOf(net.x[a], net.y[a], net.x[b], net.y[b]),
                          RadiansToDms(AzimuthOf(net.x[a], net.y[a], net.x[b], net.y[b]))));
  }
  c.report.Rule();
}

std::string CoordinateExportPathFor(const std::string& dataPath) {
  const std::string stem = dataPath.size() >= 4 ? dataPath.substr(0, dataPath.size() - 4) : std::string();
  return stem + "坐标数据.txt";
}

void ExportPointCoordinates(const PlaneNetwork& net, const std::string& exportPath) {
  const int points = ClampedCount(net.pointCount, kMaxPlanePoints);
  if (points <= 1 || exportPath.empty()) return;
  std::FILE* file = std::fopen(exportPath.c_str(), "wb");
  if (!file) return;
  for (int p = 0; p < points; ++p) {
    const std::string line = Format("%s,%15.6f,%15.6f\r\n", PointNameOf(net, p).c_str(), net.x[p], net.y[p]);
    std::fwrite(line.data(), 1, line.size(), file);
  }
  std::fclose(file);
}

}  // namespace qp
