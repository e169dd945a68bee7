// Transverse Mercator on any ellipsoid by Krüger's series in the third
// flattening n = (a - b) / (a + b), carried to n^6: the projection the tools
// use on the CGCS2000 and WGS 84 ellipsoids.
//
// Accuracy and domain: the forward series maps the conformal sphere onto the
// plane with errors of a few nanometres as far as 4000 km from the central
// meridian, the inverse likewise; so over a whole 6-degree zone (and far
// beyond, up to about 35 degrees of longitude difference) the projection is
// exact to far better than 0.1 mm at every latitude. The conformal latitude
// is inverted by Newton's method to the last bit. Scale on the central
// meridian is 1 and there is no false easting: the caller adds the 500 km.
#pragma once

namespace qp {

struct KrugerSeries {
  double e = 0.0;  // first eccentricity
  double A = 0.0;  // the rectifying radius: meridian arc = A x rectifying latitude
  double alpha[6] = {};
  double beta[6] = {};
};

// The series of the ellipsoid with semi-axes a and b (metres).
KrugerSeries KrugerSeriesOf(double a, double b);

// Latitude and longitude difference from the central meridian (radians) to
// northing and easting (metres, no false easting).
void KrugerForward(const KrugerSeries& series, double latitude, double dl, double& north, double& east);

// Northing and easting (no false easting) to latitude and longitude
// difference (radians).
void KrugerInverse(const KrugerSeries& series, double north, double east, double& latitude, double& dl);

}  // namespace qp
