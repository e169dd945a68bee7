// Result sections of a plane computation: adjusted observations with their
// corrections, the precision assessment with point and relative error
// ellipses, the adjusted sides and azimuths, and the coordinate export.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "common/binary_file.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "plane/plane_adjustment.h"
#include "plane/plane_results_internal.h"

namespace qp {
namespace {

// Reports and records never receive a value that is not a number.
double Finite(double v) { return std::isfinite(v) ? v : 0.0; }

long AsLong(int v) { return static_cast<long>(v); }

// Precision helpers over the cofactors Q left in the store. Points are
// indices in the point table; i = -1 means point k alone.
struct PairCofactorValues {
  double qxx = 0.0;
  double qyy = 0.0;
  double qxy = 0.0;
};

PairCofactorValues PairCofactors(const PlaneModel& m, const NormalEquationStore& normals, int i, int k) {
  auto single = [&](int p) {
    PairCofactorValues q;
    const int j = p >= 0 ? m.UnknownIndexOf(p) : -1;
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
  const int ji = m.UnknownIndexOf(i);
  const int jk = m.UnknownIndexOf(k);
  if (ji >= 0 && jk >= 0) {
    q.qxx -= 2.0 * normals.At(jk, ji);
    q.qyy -= 2.0 * normals.At(jk + 1, ji + 1);
    q.qxy -= normals.At(jk + 1, ji) + normals.At(jk, ji + 1);
  }
  return q;
}

struct PointErrorValues {
  double mx = 0.0;
  double my = 0.0;
  double mxy = 0.0;
};

PointErrorValues PointErrors(const PlaneModel& m, const NormalEquationStore& normals, double sigma0, int k) {
  const PairCofactorValues q = PairCofactors(m, normals, -1, k);
  PointErrorValues r;
  r.mx = Finite(sigma0 * std::sqrt(std::fabs(q.qxx)));
  r.my = Finite(sigma0 * std::sqrt(std::fabs(q.qyy)));
  r.mxy = Finite(std::sqrt(r.mx * r.mx + r.my * r.my));
  return r;
}

struct EllipseValues {
  double e = 0.0;  // semi-major axis (cm)
  double f = 0.0;  // semi-minor axis (cm)
  double q = 0.0;  // azimuth of the major axis, D.MS in [0, 180)
};

EllipseValues ErrorEllipse(const PlaneModel& m, const NormalEquationStore& normals, double sigma0, int i, int k) {
  const PairCofactorValues q = PairCofactors(m, normals, i, k);
  const double kk = std::sqrt((q.qxx - q.qyy) * (q.qxx - q.qyy) + 4.0 * q.qxy * q.qxy);
  EllipseValues r;
  r.e = Finite(sigma0 * std::sqrt(std::fabs(q.qxx + q.qyy + kk) / 2.0));
  r.f = Finite(sigma0 * std::sqrt(std::fabs(q.qxx + q.qyy - kk) / 2.0));
  double phi = std::atan2(2.0 * q.qxy, q.qxx - q.qyy);
  if (phi < 0.0) phi += 2.0 * kPi;
  r.q = Finite(RadiansToDms(phi / 2.0));
  return r;
}

struct SideErrorValues {
  double ms = 0.0;        // side length error (cm)
  double mt = 0.0;        // azimuth error (seconds)
  double relative = 0.0;  // S / ms in units of ten thousand, capped at 1000
};

SideErrorValues SideErrors(const PlaneModel& m, const NormalEquationStore& normals, double sigma0, int i, int k) {
  SideErrorValues r;
  if (i < 0 || k < 0) return r;
  const PairCofactorValues q = PairCofactors(m, normals, i, k);
  const double dx = m.points[k].x - m.points[i].x;
  const double dy = m.points[k].y - m.points[i].y;
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

}  // namespace

double ReportAdjustedDirections(PlaneComputation& c) {
  const PlaneModel& m = c.model;
  if (m.directionCount < 2) return 0.0;
  c.report.TableHead(
      FormatText("\r\n\r\n%18d.方向平差值和改正数<个数:%ld>\r\n", c.section.Take(), AsLong(m.directionCount)),
      "  序号 点    名   点    名               改正数(秒)    方向平差值\r\n");
  double sum = 0.0;
  long row = 0;
  for (const PlaneDirectionSet& station : m.directionSets) {
    const std::vector<SetDirection> set = OrientedSetDirections(m, station);
    double mean = 0.0;
    for (const SetDirection& d : set) mean += d.constant;
    mean /= static_cast<double>(set.size());
    for (const SetDirection& d : set) {
      const double correction = d.constant - mean;
      sum += correction * correction;
      const double adjusted = RadiansToDms(DmsToRadians(m.directions[d.entry].dms) + d.constant * kSecondInRadians);
      c.report.Write(Format("%5ld  %-11.10s%-20.10s%10.3f     %12.6f\r\n", ++row, NameOf(m, station.station),
                            NameOf(m, d.target), correction, adjusted));
    }
  }
  c.report.Rule();
  return sum;
}

double ReportAdjustedDistances(PlaneComputation& c) {
  const PlaneModel& m = c.model;
  const long count = static_cast<long>(m.distances.size());
  if (count < 1) return 0.0;
  c.report.TableHead(FormatText("\r\n\r\n%18d.边长平差值和改正数<个数:%ld>\r\n", c.section.Take(), count),
                     "  序号 点    名   点    名               改正数(厘米)  边长平差值\r\n");
  double sum = 0.0;
  long row = 0;
  for (const PlaneDistance& d : m.distances) {
    if (!d.ends.Resolved()) continue;
    const double v = DistanceConstant(m, d.ends.from, d.ends.to, d.length);
    sum += d.weight * v * v;
    c.report.Write(Format("%5ld  %-11.10s%-20.10s%10.3f     %12.4f\r\n", ++row, d.ends.fromName.c_str(),
                          d.ends.toName.c_str(), v, d.length + 0.01 * v));
  }
  c.report.Rule();
  return sum;
}

double ReportWeightedObservations(PlaneComputation& c) {
  const PlaneModel& m = c.model;
  double sum = 0.0;
  // One table: `adjust` gives an observation's correction and its adjusted
  // value, printed with `digits` decimals.
  auto table = [&](const std::vector<PlaneMeasure>& list, const char* title, const char* head, int digits,
                   auto adjust) {
    if (list.empty()) return;
    c.report.TableHead(FormatText("\r\n\r\n%18d.%s<个数:%ld>\r\n", c.section.Take(), Gbk(title).c_str(),
                                  static_cast<long>(list.size())),
                       head);
    long row = 0;
    for (const PlaneMeasure& w : list) {
      if (!w.ends.Resolved()) continue;
      const auto [correction, adjusted] = adjust(w);
      sum += w.weight * correction * correction;
      c.report.Write(Format("%5ld  %-11.10s%-20.10s%10.3f     %12.*f\r\n", ++row, w.ends.fromName.c_str(),
                            w.ends.toName.c_str(), correction, digits, adjusted));
    }
    c.report.Rule();
  };
  table(m.weightedAzimuths, "加权方位角平差值和改正数", "  序号 点    名   点    名              改正数(秒) 加权方位平差值\r\n",
        7, [&](const PlaneMeasure& w) {
          return std::pair{AzimuthConstant(m, w.ends.from, w.ends.to, w.value),
                           RadiansToDms(AzimuthBetween(m, w.ends.from, w.ends.to))};
        });
  table(m.weightedSides, "加权边长平差值和改正数", "  序号 点    名   点    名            改正数(厘米) 加权边长平差值\r\n", 4,
        [&](const PlaneMeasure& w) {
          const double adjusted = DistanceBetween(m, w.ends.from, w.ends.to);
          return std::pair{(adjusted - w.value) * 100.0, adjusted};
        });
  return sum;
}

void ReportPlanePrecision(PlaneComputation& c, double sigma0) {
  PlaneModel& m = c.model;
  const NormalEquationStore& q = c.normals;
  sigma0 = Finite(sigma0);
  const int points = m.pointCount();
  const int known = m.knownCount;
  c.report.Write(FormatText("\r\n\r\n%18d.精度评定<单位权中误差=%-7.3f>\r\n", c.section.Take(), sigma0));
  c.report.Rule();

  // The weakest point: the first of the largest point errors.
  int weakest = -1;
  double weakestError = 0.0;
  for (int p = known; p < points; ++p) {
    const double mxy = PointErrors(m, q, sigma0, p).mxy;
    if (weakest < 0 || mxy > weakestError) {
      weakest = p;
      weakestError = mxy;
    }
  }
  c.report.Write(Format("%35s%7.3f\r\n", Gbk("单位权中误差=").c_str(), sigma0));
  c.report.Write(Format("%25s(%16.16s)=%8.2f%s\r\n", Gbk("最弱点点位中误差").c_str(),
                        weakest >= 0 ? NameOf(m, weakest) : "", weakestError, Gbk("厘米").c_str()));
  c.report.Rule();
  c.report.Write(Gbk("  未知数X中误差:mx厘米; 未知数Y中误差:my厘米; 点位中误差:mxy厘米\r\n"));
  c.report.Write(Gbk("  误差椭圆长半轴:E厘米; 误差椭圆短半轴:F厘米; 长半轴方位角:Q度.分\r\n"));
  c.report.Write(Gbk("  方位角中误差:mt秒;    边长中误差:ms厘米; 边长相对中误差:m/s(万)\r\n"));
  c.report.Rule();

  long number = 0;
  for (int p = 0; p < known; ++p) m.points[p].ellipse = {};
  for (int p = known; p < points; ++p) {
    const EllipseValues e = ErrorEllipse(m, q, sigma0, -1, p);
    const PointErrorValues pe = PointErrors(m, q, sigma0, p);
    c.report.Write(Format("%6ld  %-16.16s\r\n", ++number, NameOf(m, p)));
    c.report.Write(Format("        E=%-6.2fF=%-6.2fQ=%-8.2fmx=%-6.2fmy=%-6.2fmxy=%-6.2f\r\n", e.e, e.f, e.q, pe.mx,
                          pe.my, pe.mxy));
    m.points[p].ellipse = {static_cast<float>(e.e), static_cast<float>(e.f), static_cast<float>(e.q)};
  }

  // One relative-precision entry: a side with an unknown point, or a pair of
  // two unknown points; any other is left at zero.
  auto relative = [&](PlaneSide& side, bool bothUnknown) {
    side.precision = {};
    const int a = side.ends.from;
    const int b = side.ends.to;
    if (a < 0 || b < 0 || a == b) return;
    const bool aUnknown = a >= known;
    const bool bUnknown = b >= known;
    if (bothUnknown ? !(aUnknown && bUnknown) : !(aUnknown || bUnknown)) return;
    const int i = std::min(a, b);
    const int k = std::max(a, b);
    const SideErrorValues s = SideErrors(m, q, sigma0, i, k);
    const EllipseValues e = ErrorEllipse(m, q, sigma0, i, k);
    c.report.Write(Format("%6ld  %-16.16s%-16.16s\r\n", ++number, NameOf(m, i), NameOf(m, k)));
    c.report.Write(Format("        E=%-6.2fF=%-6.2fQ=%-8.2fmt=%-6.2fms=%-6.2fm/s=1/%-5.1f\r\n", e.e, e.f, e.q, s.mt,
                          s.ms, s.relative));
    side.precision = {static_cast<float>(s.ms), static_cast<float>(s.mt),
                      {static_cast<float>(e.e), static_cast<float>(e.f), static_cast<float>(e.q)}};
  };
  for (PlaneSide& side : m.sides) relative(side, false);
  for (PlaneSide& pair : m.pairs) relative(pair, true);
  c.report.Rule();
}

void ReportSidesAndAzimuths(PlaneComputation& c) {
  const PlaneModel& m = c.model;
  if (m.sides.empty()) return;
  c.report.TableHead(m.redundancy > 0 ? FormatText("\r\n\r\n%18d.平差后边长和方位角\r\n", c.section.Take())
                                      : FormatText("\r\n\r\n%18d.边长和方位角\r\n", c.section.Take()),
                     "  序号 点    名---点    名               边长(米)      方位角D.MS\r\n");
  long row = 0;
  for (const PlaneSide& side : m.sides) {
    const int a = side.ends.from;
    const int b = side.ends.to;
    if (a < 0 || b < 0) continue;
    c.report.Write(Format("%5ld  %-11.10s%-20.10s%10.4f     %12.6f\r\n", ++row, side.ends.fromName.c_str(),
                          side.ends.toName.c_str(), DistanceBetween(m, a, b), RadiansToDms(AzimuthBetween(m, a, b))));
  }
  c.report.Rule();
}

std::string CoordinateExportPathFor(const std::string& dataPath) {
  const std::string stem = dataPath.size() >= 4 ? dataPath.substr(0, dataPath.size() - 4) : std::string();
  return stem + "坐标数据.txt";
}

void ExportPointCoordinates(const PlaneModel& m, const std::string& exportPath) {
  const int points = m.pointCount();
  if (points <= 1 || exportPath.empty()) return;
  std::string text;
  for (int p = 0; p < points; ++p) text += Format("%s,%15.6f,%15.6f\r\n", NameOf(m, p), m.points[p].x, m.points[p].y);
  WriteFileAtomically(exportPath, text);
}

}  // namespace qp
