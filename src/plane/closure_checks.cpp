#include "plane/closure_checks.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "common/finite_values.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "geodesy/angles.h"

namespace qp {
namespace {

constexpr double kTwoPi = 2.0 * kPi;
constexpr int kMaxTraverseStack = 1020;  // unknown points on one path
constexpr int kMaxVisitedLegs = 4096;    // legs walked from one start orientation
constexpr double kMaxRelativeClosure = 5000000.0;
// Far below the range of a float; a traverse that misses by more is no traverse.
constexpr double kMaxStoredMisclosure = 1e12;

// The distinct targets of each real direction set, in the order of the set
// (ascending direction value); points without a set have none.
std::vector<std::vector<int>> SetTargets(const PlaneModel& model) {
  std::vector<std::vector<int>> targets(model.pointCount());
  if (model.directionCount == 0) return targets;
  for (const PlaneDirectionSet& set : model.directionSets) {
    std::vector<int>& list = targets[set.station];
    for (int e = set.begin; e < set.end; ++e) {
      const int t = model.directions[e].target;
      if (t < 0 || t == set.station) continue;
      if (std::find(list.begin(), list.end(), t) == list.end()) list.push_back(t);
    }
  }
  return targets;
}

// Relative closure of a traverse of `length` metres with misclosures fx, fy
// in centimetres: length / linear misclosure, at most 5,000,000. A linear
// misclosure of 0.001 cm or less counts as closing perfectly (5,000,000).
double RelativeClosure(double length, double fx, double fy) {
  const double misclosure = std::sqrt(fx * fx + fy * fy);
  if (!(misclosure > 0.001)) return kMaxRelativeClosure;
  return std::min(length * 100.0 / misclosure, kMaxRelativeClosure);
}

// One traverse `path` = O, P, w1 .. wm, E, K (point indices): forward and
// backward runs, suspected angle and side, azimuth and coordinate closure,
// the traverse entry and, in closure mode 2, the gross-error lines, each
// counted in `grossErrors`. False when a leg cannot be computed or the
// traverses are full (nothing added).
bool TraverseGrossErrors(PlaneModel& model, const NetworkGeometry& geo, std::span<const int> path,
                         ReportFile& report, int& grossErrors) {
  // path: O, P, w1 .. wm, E, K; the traverse points P .. E are path[1 .. n+1].
  if (path.size() < 4) return false;
  if (model.traverses.size() >= static_cast<size_t>(kMaxTraverses)) return false;
  const std::vector<PlanePoint>& point = model.points;
  const int n = static_cast<int>(path.size()) - 3;  // legs P .. E
  const int o = path[0];
  const int k = path[path.size() - 1];
  const std::span<const int> pts = path.subspan(1, n + 1);
  const int p = pts[0];
  const int e = pts[n];
  for (int q : path) {
    if (q < 0 || q >= geo.pointCount()) return false;
  }
  // A path through one point twice is no traverse.
  {
    std::vector<int> sorted(pts.begin(), pts.end());
    std::sort(sorted.begin(), sorted.end());
    if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) return false;
  }

  // Forward run from P oriented on O, backward run from E oriented on K.
  std::vector<double> fx(n + 1), fy(n + 1), bx(n + 1), by(n + 1);
  fx[0] = point[p].x;
  fy[0] = point[p].y;
  double azimuth = AzimuthOf(point[o].x, point[o].y, point[p].x, point[p].y);
  for (int i = 0; i < n; ++i) {
    const int previous = i == 0 ? o : pts[i - 1];
    if (!geo.TraverseLeg(previous, pts[i], pts[i + 1], fx[i], fy[i], azimuth, 0.0, fx[i + 1], fy[i + 1], azimuth)) {
      return false;
    }
  }
  const double lastForwardAzimuth = azimuth;
  bx[n] = point[e].x;
  by[n] = point[e].y;
  azimuth = AzimuthOf(point[k].x, point[k].y, point[e].x, point[e].y);
  for (int i = n; i > 0; --i) {
    const int next = i == n ? k : pts[i + 1];
    if (!geo.TraverseLeg(next, pts[i], pts[i - 1], bx[i], by[i], azimuth, 0.0, bx[i - 1], by[i - 1], azimuth)) {
      return false;
    }
  }

  // The angle whose point keeps its place in both runs.
  int angleAt = 0;
  double closest = 0.0;
  for (int i = 0; i <= n; ++i) {
    const double d = DistanceOf(fx[i], fy[i], bx[i], by[i]);
    if (i == 0 || d < closest) {
      closest = d;
      angleAt = i;
    }
  }
  // The leg whose observed length differs most from the distance between the
  // forward position of its first point and the backward position of its second.
  int sideAt = 0;
  double sideDiscrepancy = 0.0;
  for (int i = 0; i < n; ++i) {
    const double d = geo.ObservedDistance(pts[i], pts[i + 1]) - DistanceOf(fx[i], fy[i], bx[i + 1], by[i + 1]);
    if (i == 0 || std::fabs(d) > std::fabs(sideDiscrepancy)) {
      sideDiscrepancy = d;
      sideAt = i;
    }
  }

  // Azimuth closure at E.
  double fBeta = 0.0;
  if (geo.DirectionLines(e, pts[n - 1]) > 0 && geo.DirectionLines(e, k) > 0) {
    const double betaE = geo.ObservedAngle(pts[n - 1], e, k);
    double f = betaE + lastForwardAzimuth + kPi - AzimuthOf(point[e].x, point[e].y, point[k].x, point[k].y);
    while (f > kPi) f -= kTwoPi;
    while (f <= -kPi) f += kTwoPi;
    fBeta = f * kRhoSeconds;
  }

  // Forward run again with the angles corrected evenly.
  const double correction = -fBeta / (kRhoSeconds * (n + 1));
  double x = point[p].x;
  double y = point[p].y;
  double length = 0.0;
  azimuth = AzimuthOf(point[o].x, point[o].y, point[p].x, point[p].y);
  for (int i = 0; i < n; ++i) {
    const int previous = i == 0 ? o : pts[i - 1];
    double nx = 0.0, ny = 0.0;
    if (!geo.TraverseLeg(previous, pts[i], pts[i + 1], x, y, azimuth, correction, nx, ny, azimuth)) return false;
    x = nx;
    y = ny;
    length += geo.ObservedDistance(pts[i], pts[i + 1]);
  }
  const double misX = (x - point[e].x) * 100.0;
  const double misY = (y - point[e].y) * 100.0;
  if (!AllFinite({fBeta, misX, misY, length, sideDiscrepancy, closest})) return false;
  // The misclosures are kept in single precision.
  if (std::fabs(misX) > kMaxStoredMisclosure || std::fabs(misY) > kMaxStoredMisclosure) return false;

  PlaneTraverse entry;
  entry.startOrientation = o;
  entry.start = p;
  entry.end = e;
  entry.endOrientation = k;
  entry.azimuthMisclosure = static_cast<float>(std::fabs(fBeta) > 9999.0 ? 9999.9 : fBeta);
  entry.fx = static_cast<float>(misX);
  entry.fy = static_cast<float>(misY);
  entry.legs = n;
  entry.length = length;
  entry.relative = RelativeClosure(length, misX, misY);
  model.traverses.push_back(entry);

  if (model.closureMode == 2) {
    const double a = model.distanceFixedError;
    const double b = model.distanceScaleError;
    if (std::fabs(sideDiscrepancy) > 0.002 * (n * a + length * b * 0.001)) {
      report.PrintText("\r\n可能存在粗差的边长:%s--%s 粗差值:%.2f米\r\n", point[pts[sideAt]].name.c_str(),
                       point[pts[sideAt + 1]].name.c_str(), sideDiscrepancy);
      ++grossErrors;
    }
    if (std::fabs(fBeta) > 2.828 * model.directionError * std::sqrt(static_cast<double>(n))) {
      const int before = angleAt == 0 ? o : pts[angleAt - 1];
      const int after = angleAt == n ? k : pts[angleAt + 1];
      report.PrintText("\r\n可能存在粗差的角度:%s-%s-%s 粗差值:%.2f秒\r\n", point[before].name.c_str(),
                       point[pts[angleAt]].name.c_str(), point[after].name.c_str(), fBeta);
      ++grossErrors;
    }
  }
  return true;
}

}  // namespace

int TriangleClosures(const NetworkGeometry& geo, ReportFile& report, SectionNumber& section) {
  const std::vector<PlanePoint>& points = geo.model().points;
  const int n = geo.pointCount();
  // Points that observed p and that p observed, ascending.
  std::vector<std::vector<int>> mutual(n);
  for (int p = 0; p < n; ++p) {
    for (const auto& l : geo.DirectionTargets(p)) {
      if (l.point != p && geo.DirectionLines(l.point, p) > 0) mutual[p].push_back(l.point);
    }
  }
  std::vector<uint8_t> nearJ(n, 0);
  int triangles = 0, positive = 0, negative = 0, zero = 0;
  double sumSquares = 0.0;
  for (int i = 0; i < n; ++i) {
    const auto& ni = mutual[i];
    for (size_t a = 0; a < ni.size(); ++a) {
      const int j = ni[a];
      if (j <= i) continue;
      for (int q : mutual[j]) nearJ[q] = 1;
      for (size_t b = a + 1; b < ni.size(); ++b) {
        const int l = ni[b];
        if (!nearJ[l]) continue;
        int votes = 0;
        const double atL = geo.ObservedAngle(i, l, j, votes, true);
        const double atI = geo.ObservedAngle(j, i, l, votes, true);
        const double atJ = geo.ObservedAngle(l, j, i, votes, true);
        double w = (atL + atI + atJ - kPi) * kRhoSecondsRounded;
        // A closure that prints as 0.00 is a zero closure (the D.MS
        // conversions leave a few 1e-10 seconds on exactly closing angles).
        if (std::fabs(w) < 0.005) w = 0.0;
        if (!std::isfinite(w)) continue;
        if (triangles == 0) {
          report.TableHead(FormatText("\r\n\r\n\r\n%18d.三角形闭合差<单位:秒>\r\n", section.Take()),
                           "  序号 点    名   点    名   点    名     闭合差值\r\n");
        }
        ++triangles;
        report.Printf("%5ld  %-11.10s%-11.10s%-11.10s=%8.2f\r\n", static_cast<long>(triangles),
                      points[i].name.c_str(), points[j].name.c_str(), points[l].name.c_str(), w);
        if (w > 0.0) {
          ++positive;
        } else if (w < 0.0) {
          ++negative;
        } else {
          ++zero;
        }
        sumSquares += w * w;
      }
      for (int q : mutual[j]) nearJ[q] = 0;
    }
  }
  if (triangles > 0) {
    report.Rule();
    report.PrintText("     正闭合差个数=%-5d;  负闭合差个数=%-5d;  零闭合差个数=%-5d", positive, negative, zero);
    const double ferrero = std::sqrt(sumSquares / (3.0 * triangles));
    report.PrintText("\r\n\r\n%40s%8.3f\r\n", Gbk("菲列罗测角中误差=").c_str(), std::isfinite(ferrero) ? ferrero : 0.0);
    report.Rule();
  }
  return triangles;
}

int TraverseClosures(PlaneModel& model, const NetworkGeometry& geo, ReportFile& report, SectionNumber& section) {
  model.traverses.clear();
  int grossErrors = 0;
  const int n = geo.pointCount();
  const int known = model.knownCount;
  const std::vector<std::vector<int>> targets = SetTargets(model);
  auto isKnown = [&](int q) { return q < known; };

  // Depth-first search over the unknown points, one start orientation O-P
  // at a time. The stack holds the path P .. w; `next` is where the scan of
  // a point's direction set goes on after a child returns.
  struct Frame {
    int point;
    int from;
    size_t next;
  };
  std::vector<Frame> stack;
  stack.reserve(kMaxTraverseStack);
  std::vector<uint8_t> onStack(n, 0);
  std::vector<int> path;
  bool full = false;

  // Every traverse from P through the stack's points to E, for each end
  // orientation K observed at E.
  auto close = [&](int o, int p, int e) {
    const int last = stack.back().point;
    for (int k : targets[e]) {
      if (!isKnown(k)) continue;
      // Without the angle K-E-last the backward run cannot start.
      if (!(geo.ObservedAngle(k, e, last) > 0.0)) continue;
      path.clear();
      path.push_back(o);
      path.push_back(p);
      for (const Frame& f : stack) path.push_back(f.point);
      path.push_back(e);
      path.push_back(k);
      TraverseGrossErrors(model, geo, path, report, grossErrors);
      if (model.traverses.size() >= static_cast<size_t>(kMaxTraverses)) {
        full = true;
        return;
      }
    }
  };

  for (int p = 0; p < known && !full; ++p) {
    for (int o : targets[p]) {
      if (full) break;
      if (!isKnown(o)) continue;
      int visitedLegs = 0;
      double scratchX = 0.0, scratchY = 0.0, scratchAzimuth = 0.0;
      auto legOk = [&](int a, int s, int b) {
        return geo.TraverseLeg(a, s, b, 0.0, 0.0, 0.0, 0.0, scratchX, scratchY, scratchAzimuth);
      };
      auto push = [&](int w, int from) {
        if (static_cast<int>(stack.size()) >= kMaxTraverseStack || visitedLegs >= kMaxVisitedLegs) return false;
        stack.push_back({w, from, 0});
        onStack[w] = 1;
        ++visitedLegs;
        return true;
      };
      for (int w : targets[p]) {
        if (full) break;
        if (isKnown(w) || !legOk(o, p, w) || !push(w, p)) continue;
        while (!stack.empty() && !full) {
          Frame& f = stack.back();
          const std::vector<int>& set = targets[f.point];
          if (f.next == set.size()) {
            onStack[f.point] = 0;
            stack.pop_back();
            continue;
          }
          const int t = set[f.next++];
          const int w0 = f.point;
          const int q = f.from;
          if (!isKnown(t)) {
            if (t != q && !onStack[t] && legOk(q, w0, t)) push(t, w0);
          } else if (t > p && legOk(q, w0, t)) {
            close(o, p, t);
          }
        }
        for (const Frame& f : stack) onStack[f.point] = 0;
        stack.clear();
      }
    }
  }

  for (PlaneTraverse& t : model.traverses) t.drawn = true;
  if (model.closureMode == 2 && grossErrors == 0) report.PrintText("\r\n\r\n没有发现粗差 !!!\r\n\r\n");
  if (model.traverses.empty()) return grossErrors;
  report.PrintText("\r\n\r\n\r\n%18d.导线闭合差<单位:厘米,秒>\r\n", section.Take());
  report.Rule();
  report.PrintText("  序号 点    名     点    名     点    名     点    名\r\n");
  report.PrintText("       方位闭合差   X方向误差    Y方向误差    导线长度m  边长相对\r\n");
  report.Rule();
  const std::vector<PlanePoint>& point = model.points;
  for (size_t i = 0; i < model.traverses.size(); ++i) {
    const PlaneTraverse& t = model.traverses[i];
    report.Printf("%5ld  %-13.10s%-13.10s%-13.10s%-13.10s\r\n", static_cast<long>(i + 1),
                  point[t.startOrientation].name.c_str(), point[t.start].name.c_str(), point[t.end].name.c_str(),
                  point[t.endOrientation].name.c_str());
    report.PrintText("        %8.2fs  %8.2fcm   %8.2fcm  %6.0fm  1/%.2f万(%d)\r\n",
                     static_cast<double>(t.azimuthMisclosure), static_cast<double>(t.fx), static_cast<double>(t.fy),
                     t.length, t.relative * 0.0001, t.legs);
  }
  report.Rule();
  return grossErrors;
}

}  // namespace qp
