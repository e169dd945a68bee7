#include "drawing/curve_sampling.h"

#include <cmath>
#include <numbers>

#include "drawing/entities.h"
#include "drawing/view_transform.h"

namespace qp {
namespace {

struct Pair {
  double r = 0, c = 0;
};

bool Finite(const Pair& p) { return std::isfinite(p.r) && std::isfinite(p.c); }

// Solves sub(i) x(i-1) + diag(i) x(i) + sup(i) x(i+1) = x(i) in place for
// both coordinates at once (Thomas algorithm; sub(0) and sup(n-1) unused).
// False when a pivot vanishes. `diag` and `sup` are used as scratch.
bool SolveTridiagonal(std::vector<double>& diag, std::vector<double>& sup, const std::vector<double>& sub,
                      std::vector<Pair>& x) {
  const size_t n = x.size();
  // Forward elimination.
  for (size_t i = 1; i < n; ++i) {
    if (std::fabs(diag[i - 1]) < 1e-12) return false;
    const double f = sub[i] / diag[i - 1];
    diag[i] -= f * sup[i - 1];
    x[i].r -= f * x[i - 1].r;
    x[i].c -= f * x[i - 1].c;
  }
  if (std::fabs(diag[n - 1]) < 1e-12) return false;
  x[n - 1].r /= diag[n - 1];
  x[n - 1].c /= diag[n - 1];
  for (size_t i = n - 1; i-- > 0;) {
    x[i].r = (x[i].r - sup[i] * x[i + 1].r) / diag[i];
    x[i].c = (x[i].c - sup[i] * x[i + 1].c) / diag[i];
  }
  return true;
}

// De Boor points of the open curve: D1 = P1, Dn = Pn, D(i-1) + 4 Di + D(i+1) = 6 Pi.
bool SolveOpen(std::span<const Pair> p, std::vector<Pair>& d) {
  const size_t n = p.size();
  std::vector<double> diag(n, 4.0), sup(n, 1.0), sub(n, 1.0);
  d.resize(n);
  for (size_t i = 0; i < n; ++i) d[i] = Pair{6.0 * p[i].r, 6.0 * p[i].c};
  diag[0] = diag[n - 1] = 6.0;
  sup[0] = 0.0;
  sub[n - 1] = 0.0;
  return SolveTridiagonal(diag, sup, sub, d);
}

// De Boor points of the closed curve: the cyclic system, solved as a
// tridiagonal one corrected for the two corner elements (Sherman-Morrison).
bool SolveClosed(std::span<const Pair> p, std::vector<Pair>& d) {
  const size_t n = p.size();
  const double gamma = -4.0;  // corner coefficients are 1 and 1
  std::vector<double> diag(n, 4.0), sup(n, 1.0), sub(n, 1.0);
  diag[0] = 4.0 - gamma;
  diag[n - 1] = 4.0 - 1.0 * 1.0 / gamma;
  std::vector<double> diag2 = diag, sup2 = sup;
  d.resize(n);
  for (size_t i = 0; i < n; ++i) d[i] = Pair{6.0 * p[i].r, 6.0 * p[i].c};
  if (!SolveTridiagonal(diag, sup, sub, d)) return false;
  std::vector<Pair> z(n);
  z[0] = Pair{gamma, gamma};
  z[n - 1] = Pair{1.0, 1.0};
  if (!SolveTridiagonal(diag2, sup2, sub, z)) return false;
  const double denominator = 1.0 + z[0].r + z[n - 1].r / gamma;
  if (std::fabs(denominator) < 1e-12) return false;
  const double fr = (d[0].r + d[n - 1].r / gamma) / denominator;
  const double fc = (d[0].c + d[n - 1].c / gamma) / denominator;
  for (size_t i = 0; i < n; ++i) {
    d[i].r -= fr * z[i].r;
    d[i].c -= fc * z[i].c;
  }
  return true;
}

}  // namespace

namespace {

// The curve through the control pairs (row, column or X, Y): every sample
// handed to `emit` in order. False (nothing emitted) when the de Boor system
// cannot be solved or gives non-finite points.
template <typename Emit>
SplineStatus SampleCurve(std::span<const Pair> control, bool closed, Emit emit) {
  const size_t n = control.size();
  if (n < (closed ? 3u : 2u)) return SplineStatus::TooFewPoints;
  // The fitting holds at most a shape's worth of control points.
  if (n > static_cast<size_t>(kMaxShapePoints)) return SplineStatus::Unsolvable;

  std::vector<Pair> d;
  if (!(closed ? SolveClosed(control, d) : SolveOpen(control, d))) return SplineStatus::Unsolvable;
  for (const Pair& q : d)
    if (!Finite(q)) return SplineStatus::Unsolvable;

  // Extended list E[0..n+1] (closed: E[0..n+2]) with E[i] = Di.
  std::vector<Pair> e;
  e.reserve(n + 3);
  if (closed) {
    e.push_back(d[n - 1]);
    e.insert(e.end(), d.begin(), d.end());
    e.push_back(d[0]);
    e.push_back(d[1]);
  } else {
    e.push_back(Pair{2 * d[0].r - d[1].r, 2 * d[0].c - d[1].c});
    e.insert(e.end(), d.begin(), d.end());
    e.push_back(Pair{2 * d[n - 1].r - d[n - 2].r, 2 * d[n - 1].c - d[n - 2].c});
  }

  // The cubic B-spline weights at the 21 sample parameters.
  double w[kSplineSamplesPerSegment][4];
  for (int k = 0; k < kSplineSamplesPerSegment; ++k) {
    const double t = k * 15 / 300.0, t2 = t * t, t3 = t2 * t;
    w[k][0] = (1 - t) * (1 - t) * (1 - t);
    w[k][1] = 3 * t3 - 6 * t2 + 4;
    w[k][2] = -3 * t3 + 3 * t2 + 3 * t + 1;
    w[k][3] = t3;
  }
  const size_t segments = closed ? n : n - 1;
  for (size_t i = 1; i <= segments; ++i) {
    const Pair& a = e[i - 1];
    const Pair& b = e[i];
    const Pair& c = e[i + 1];
    const Pair& f = e[i + 2];
    for (const auto& wk : w) {
      emit((wk[0] * a.r + wk[1] * b.r + wk[2] * c.r + wk[3] * f.r) / 6,
           (wk[0] * a.c + wk[1] * b.c + wk[2] * c.c + wk[3] * f.c) / 6);
    }
  }
  return SplineStatus::Ok;
}

}  // namespace

SplineStatus SampleSpline(std::span<const CanvasPoint> control, bool closed, std::vector<CanvasPoint>& out) {
  std::vector<Pair> pairs;
  pairs.reserve(control.size());
  for (const CanvasPoint& p : control) pairs.push_back(Pair{static_cast<double>(p.row), static_cast<double>(p.column)});
  std::vector<CanvasPoint> sampled;
  const SplineStatus status = SampleCurve(pairs, closed, [&](double r, double c) {
    sampled.push_back(CanvasPoint{TruncateToInt(r + 0.5), TruncateToInt(c + 0.5)});
  });
  if (status == SplineStatus::Ok) out.insert(out.end(), sampled.begin(), sampled.end());
  return status;
}

SplineStatus SampleSpline(std::span<const GroundPoint> control, bool closed, std::vector<GroundPoint>& out) {
  for (const GroundPoint& p : control)
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return SplineStatus::Unsolvable;
  if (control.empty()) return SplineStatus::TooFewPoints;
  // Worked relative to the first point, so large coordinates keep their digits.
  const GroundPoint origin = control[0];
  std::vector<Pair> pairs;
  pairs.reserve(control.size());
  for (const GroundPoint& p : control) pairs.push_back(Pair{p.x - origin.x, p.y - origin.y});
  std::vector<GroundPoint> sampled;
  const SplineStatus status = SampleCurve(pairs, closed, [&](double x, double y) {
    sampled.push_back(GroundPoint{origin.x + x, origin.y + y});
  });
  if (status == SplineStatus::Ok) out.insert(out.end(), sampled.begin(), sampled.end());
  return status;
}

int EllipseStepDegrees(double aPlusB, double resolution) {
  // A vanishing ellipse gets the coarsest step (without dividing by zero).
  if (aPlusB == 0) return 30;
  const double j = resolution * 0.03937007874015748 / aPlusB / std::numbers::pi * 720;
  // A damaged ellipse gets the coarsest step too.
  if (!(j < 30.0)) return 30;
  if (j < 5.0) return 5;
  return static_cast<int>(j);
}

void SampleEllipse(std::span<const CanvasPoint, 4> p, double resolution, std::vector<CanvasPoint>& out) {
  const double pi = std::numbers::pi;
  const double r1 = p[0].row, c1 = p[0].column;
  const double cr = (r1 + p[2].row) / 2, cc = (c1 + p[2].column) / 2;
  const double dr4 = p[3].row - r1, dc4 = p[3].column - c1;
  const double dr2 = p[1].row - r1, dc2 = p[1].column - c1;
  const double a = std::hypot(dr4, dc4) / 2;
  const double b = std::hypot(dr2, dc2) / 2;
  const double theta = std::atan2(dc4, dr4);  // direction of P1 -> P4, from the row axis
  double azimuth13 = std::atan2(p[2].column - c1, p[2].row - r1);
  if (azimuth13 < 0) azimuth13 += 2 * pi;
  const double s = azimuth13 >= pi ? 1.0 : -1.0;
  const int step = EllipseStepDegrees(a + b, resolution);
  const double ct = std::cos(theta), st = std::sin(theta);
  const size_t first = out.size();
  for (int t = 0; t <= 359; t += step) {
    const double angle = s * pi * t / 180;
    const double ca = std::cos(angle), sa = std::sin(angle);
    out.push_back(CanvasPoint{TruncateToInt(cr + a * ct * ca - b * st * sa + 0.5),
                              TruncateToInt(cc + a * st * ca + b * ct * sa + 0.5)});
  }
  out.push_back(out[first]);
}

}  // namespace qp
