#include "geodesy/kruger_projection.h"

#include <cmath>

namespace qp {
namespace {

// tan of the conformal latitude from tan of the geodetic latitude.
double ConformalTan(double tau, double e) {
  const double sigma = std::sinh(e * std::atanh(e * tau / std::hypot(1.0, tau)));
  return tau * std::hypot(1.0, sigma) - sigma * std::hypot(1.0, tau);
}

// tan of the geodetic latitude from tan of the conformal latitude, by
// Newton's method on ConformalTan.
double GeodeticTan(double tauPrime, double e) {
  const double e2m = 1.0 - e * e;
  double tau = tauPrime / e2m;  // a start within a few units of the last place near the poles
  for (int i = 0; i < 8; ++i) {
    const double tp = ConformalTan(tau, e);
    const double step = (tauPrime - tp) * (1.0 + e2m * tau * tau) /
                        (e2m * std::hypot(1.0, tp) * std::hypot(1.0, tau));
    tau += step;
    if (!(std::fabs(step) > 1e-15 * std::fmax(1.0, std::fabs(tau)))) break;
  }
  return tau;
}

}  // namespace

KrugerSeries KrugerSeriesOf(double a, double b) {
  KrugerSeries s;
  const double f = (a - b) / a;
  s.e = std::sqrt(f * (2.0 - f));
  const double n = (a - b) / (a + b);
  const double n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n, n6 = n5 * n;
  s.A = a / (1.0 + n) * (1.0 + n2 / 4.0 + n4 / 64.0 + n6 / 256.0);

  s.alpha[0] = n / 2 - 2 * n2 / 3 + 5 * n3 / 16 + 41 * n4 / 180 - 127 * n5 / 288 + 7891 * n6 / 37800;
  s.alpha[1] = 13 * n2 / 48 - 3 * n3 / 5 + 557 * n4 / 1440 + 281 * n5 / 630 - 1983433 * n6 / 1935360;
  s.alpha[2] = 61 * n3 / 240 - 103 * n4 / 140 + 15061 * n5 / 26880 + 167603 * n6 / 181440;
  s.alpha[3] = 49561 * n4 / 161280 - 179 * n5 / 168 + 6601661 * n6 / 7257600;
  s.alpha[4] = 34729 * n5 / 80640 - 3418889 * n6 / 1995840;
  s.alpha[5] = 212378941 * n6 / 319334400;

  s.beta[0] = n / 2 - 2 * n2 / 3 + 37 * n3 / 96 - n4 / 360 - 81 * n5 / 512 + 96199 * n6 / 604800;
  s.beta[1] = n2 / 48 + n3 / 15 - 437 * n4 / 1440 + 46 * n5 / 105 - 1118711 * n6 / 3870720;
  s.beta[2] = 17 * n3 / 480 - 37 * n4 / 840 - 209 * n5 / 4480 + 5569 * n6 / 90720;
  s.beta[3] = 4397 * n4 / 161280 - 11 * n5 / 504 - 830251 * n6 / 7257600;
  s.beta[4] = 4583 * n5 / 161280 - 108847 * n6 / 3991680;
  s.beta[5] = 20648693 * n6 / 638668800;
  return s;
}

void KrugerForward(const KrugerSeries& s, double latitude, double dl, double& north, double& east) {
  const double tauPrime = ConformalTan(std::tan(latitude), s.e);
  const double xi0 = std::atan2(tauPrime, std::cos(dl));
  const double eta0 = std::asinh(std::sin(dl) / std::hypot(tauPrime, std::cos(dl)));
  double xi = xi0;
  double eta = eta0;
  for (int j = 1; j <= 6; ++j) {
    xi += s.alpha[j - 1] * std::sin(2 * j * xi0) * std::cosh(2 * j * eta0);
    eta += s.alpha[j - 1] * std::cos(2 * j * xi0) * std::sinh(2 * j * eta0);
  }
  north = s.A * xi;
  east = s.A * eta;
}

void KrugerInverse(const KrugerSeries& s, double north, double east, double& latitude, double& dl) {
  const double xi = north / s.A;
  const double eta = east / s.A;
  double xi0 = xi;
  double eta0 = eta;
  for (int j = 1; j <= 6; ++j) {
    xi0 -= s.beta[j - 1] * std::sin(2 * j * xi) * std::cosh(2 * j * eta);
    eta0 -= s.beta[j - 1] * std::cos(2 * j * xi) * std::sinh(2 * j * eta);
  }
  const double tauPrime = std::sin(xi0) / std::hypot(std::sinh(eta0), std::cos(xi0));
  latitude = std::atan(GeodeticTan(tauPrime, s.e));
  dl = std::atan2(std::sinh(eta0), std::cos(xi0));
}

}  // namespace qp
