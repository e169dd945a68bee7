#include "geodesy/gauss_projection.h"

#include <cmath>

#include "geodesy/angles.h"
#include "geodesy/kruger_projection.h"

namespace qp {
namespace {

constexpr double kFalseEasting = 500000.0;
// Footpoint latitude iteration limits.
constexpr double kFootpointTolerance = 1e-12;
constexpr int kFootpointMaxIterations = 999;

// Quantities derived from the raised semi-axes a + H, b + H.
struct ProjectionEllipsoid {
  double ep2;  // second eccentricity squared
  double c;    // polar radius of curvature a^2/b
  double A0;   // b^2/a
  // Meridian arc series: X(B) = K0*B - cos B*(K1 sin B + K2 sin^3 B + K3 sin^5 B + K4 sin^7 B).
  double K0;
  double K1;
  double K2;
  double K3;
  double K4;
};

// cos B * (K1 sin B + K2 sin^3 B + K3 sin^5 B + K4 sin^7 B), the periodic part
// of the meridian arc.
double ArcPeriodicPart(const ProjectionEllipsoid& e, double B) {
  const double s = std::sin(B);
  const double s2 = s * s;
  const double s3 = s2 * s;
  const double s5 = s3 * s2;
  const double s7 = s5 * s2;
  return std::cos(B) * (e.K1 * s + e.K2 * s3 + e.K3 * s5 + e.K4 * s7);
}

bool ProjectsByKrugerSeries(GeodeticSystem system) {
  return system == GeodeticSystem::System2000 || system == GeodeticSystem::WGS84;
}

KrugerSeries RaisedKrugerSeries(GeodeticSystem system, double H) {
  const EllipsoidAxes axes = AxesOf(system);
  return KrugerSeriesOf(axes.a + H, axes.b + H);
}

ProjectionEllipsoid ProjectionEllipsoidOf(GeodeticSystem system, double H) {
  const EllipsoidAxes axes = AxesOf(system);
  const double a = axes.a + H;
  const double b = axes.b + H;
  ProjectionEllipsoid e{};
  e.ep2 = (a * a / b - b) / b;
  e.c = a * a / b;
  e.A0 = b * b / a;

  const double e2 = (a - b * b / a) / a;  // first eccentricity squared
  const double e4 = e2 * e2;
  const double e6 = e4 * e2;
  const double e8 = e6 * e2;
  e.K1 = e.A0 * (0.75 * e2 + 0.703125 * e4 + 0.68359375 * e6 + 0.67291259765625 * e8);
  e.K2 = e.A0 * (0.46875 * e4 + 0.45572916666666663 * e6 + 0.4486083984375 * e8);
  e.K3 = e.A0 * (0.3645833333333333 * e6 + 0.35888671875 * e8);
  e.K4 = e.A0 * 0.3076171875 * e8;
  e.K0 = e.A0 + e.K1;
  return e;
}

double MeridianArc(const ProjectionEllipsoid& ellipsoid, double B) {
  return ellipsoid.K0 * B - ArcPeriodicPart(ellipsoid, B);
}

}  // namespace

GeodeticSystem GeodeticSystemFromSelector(int selector) {
  switch (selector) {
    case 0: return GeodeticSystem::System54;
    case 2: return GeodeticSystem::System2000;
    case 3: return GeodeticSystem::WGS84;
    default: return GeodeticSystem::System80;
  }
}

EllipsoidAxes AxesOf(GeodeticSystem system) {
  // The 2000 and WGS 84 ellipsoids are defined by a and the flattening.
  constexpr double kGrs80A = 6378137.0;
  switch (system) {
    case GeodeticSystem::System54: return {6378245.0, 6356863.01877305};
    case GeodeticSystem::System80: return {6378140.0, 6356755.28815753};
    case GeodeticSystem::System2000: return {kGrs80A, kGrs80A * (1.0 - 1.0 / 298.257222101)};
    case GeodeticSystem::WGS84: return {kGrs80A, kGrs80A * (1.0 - 1.0 / 298.257223563)};
  }
  return {6378140.0, 6356755.28815753};
}

double MeridianArc(double B, GeodeticSystem system, double H) {
  return MeridianArc(ProjectionEllipsoidOf(system, H), B);
}

void GaussForward(double B, double L, double L0, GeodeticSystem system, double H, double& x, double& y) {
  if (ProjectsByKrugerSeries(system)) {
    KrugerForward(RaisedKrugerSeries(system, H), DmsToRadians(B), DmsToRadians(L) - DmsToRadians(L0), x, y);
    y += kFalseEasting;
    return;
  }
  const ProjectionEllipsoid e = ProjectionEllipsoidOf(system, H);
  const double b = DmsToRadians(B);
  const double l = DmsToRadians(L) - DmsToRadians(L0);

  const double X = MeridianArc(e, b);
  const double sinB = std::sin(b);
  const double cosB = std::cos(b);
  const double cos2 = cosB * cosB;
  const double cos3 = cos2 * cosB;
  const double cos5 = cos3 * cos2;
  const double N = e.c / std::sqrt(1.0 + e.ep2 * cos2);
  const double t = std::tan(b);
  const double t2 = t * t;
  const double t4 = t2 * t2;
  const double n2 = e.ep2 * cos2;  // eta squared
  const double n4 = n2 * n2;
  const double l2 = l * l;
  const double l3 = l2 * l;
  const double l4 = l2 * l2;
  const double l5 = l4 * l;

  x = X + N * l2 *
              (sinB * cosB / 2.0 + sinB * cos3 * l2 * (5.0 - t2 + 9.0 * n2 + 4.0 * n4) / 24.0 +
               sinB * cos5 * l4 * (61.0 - 58.0 * t2 + t4 + 270.0 * n2 - 330.0 * t2 * n2) / 720.0);
  y = N * (l * cosB + l3 * cos3 * (1.0 - t2 + n2) / 6.0 +
           l5 * cos5 * (5.0 - 18.0 * t2 + t4 + 14.0 * n2 - 58.0 * t2 * n2) / 120.0) +
      kFalseEasting;
}

void GaussInverse(double x, double y, double L0, GeodeticSystem system, double H, double& B, double& L) {
  if (ProjectsByKrugerSeries(system)) {
    double latitude = 0.0;
    double dl = 0.0;
    KrugerInverse(RaisedKrugerSeries(system, H), x, y - kFalseEasting, latitude, dl);
    B = RadiansToDms(latitude);
    L = RadiansToDms(DmsToRadians(L0) + dl);
    return;
  }
  const ProjectionEllipsoid e = ProjectionEllipsoidOf(system, H);
  y -= kFalseEasting;

  // Footpoint latitude: the latitude whose meridian arc equals x.
  double bf = x / e.K0;
  for (int i = 0; i < kFootpointMaxIterations; ++i) {
    const double next = (x + ArcPeriodicPart(e, bf)) / e.K0;
    const double change = std::fabs(next - bf);
    bf = next;
    if (change <= kFootpointTolerance) break;
  }

  const double cosBf = std::cos(bf);
  const double cos2 = cosBf * cosBf;
  const double t = std::tan(bf);
  const double t2 = t * t;
  const double t4 = t2 * t2;
  const double n2 = e.ep2 * cos2;  // eta squared
  const double n4 = n2 * n2;
  const double N = e.c / std::sqrt(1.0 + e.ep2 * cos2);
  const double q = y / N;
  const double q2 = q * q;
  const double q3 = q2 * q;
  const double q4 = q2 * q2;
  const double q5 = q4 * q;

  const double l = (1.0 / cosBf) * (q - q3 * (1.0 + 2.0 * t2 + n2) / 6.0 +
                                    q5 * (5.0 + 28.0 * t2 + 24.0 * t4 + 6.0 * n2 + 8.0 * n2 * t2) / 120.0);
  const double latitude =
      bf + t * q2 *
               (-(1.0 + n2) / 2.0 +
                q2 * (5.0 + 3.0 * t2 + 6.0 * n2 - 6.0 * t2 * n2 - 3.0 * n4 + 9.0 * t4 * n4) / 24.0 -
                q4 * (61.0 + 90.0 * t2 + 45.0 * t4 + 107.0 * n2 + 162.0 * t2 * n2 + 45.0 * t4 * n2) / 720.0);

  B = RadiansToDms(latitude);
  L = RadiansToDms(DmsToRadians(L0) + l);
}

}  // namespace qp
