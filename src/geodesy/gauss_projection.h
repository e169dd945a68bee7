// Gauss-Krüger projection on the national reference ellipsoids.
//
// Latitudes and longitudes are D.MS values; plane coordinates are x (northing)
// and y (easting) in metres, y carrying the 500000 m false easting and no zone
// number. The projection height H raises both semi-axes by H metres (the
// projection surface of an independent local system); H = 0 projects onto the
// reference ellipsoid itself.
//
// Accuracy and domain: the forward formulae are the classical series in the
// longitude difference l up to l^5 (y) and l^6 (x), the inverse ones up to the
// same orders in y / N, with the meridian arc to sin^7 B. They are meant for
// a 6-degree zone, l within 3 degrees of the central meridian, at the
// latitudes of the national territory: there (checked from 18 to 53 degrees
// of latitude) they agree with a closed-form transverse Mercator to 0.2 mm.
// The neglected terms grow with l^7 (x: l^8), so the error rises quickly
// outside the zone; nothing refuses such input, the choice of meridians is
// the surveyor's.
//
// On the CGCS2000 and WGS 84 ellipsoids the projection is Krüger's series to
// n^6 (geodesy/kruger_projection.h): exact to far better than 0.1 mm over the
// whole 6-degree zone and beyond, at every latitude.
#pragma once

namespace qp {

enum class GeodeticSystem {
  System54 = 0,  // Krassovsky ellipsoid
  System80 = 1,  // IAG-75 ellipsoid
  System2000 = 2,  // CGCS2000 ellipsoid
  WGS84 = 3,       // WGS 84 ellipsoid
};

// The integer selector stored in the data files and combo boxes: 0 is
// System54, 2 System2000, 3 WGS84, any other value System80 (as files
// written before the last two existed read).
GeodeticSystem GeodeticSystemFromSelector(int selector);

// Semi-axes of the reference ellipsoid, in metres.
struct EllipsoidAxes {
  double a;
  double b;
};
EllipsoidAxes AxesOf(GeodeticSystem system);

// Length of the meridian from the equator to latitude B (radians), in metres.
double MeridianArc(double B, GeodeticSystem system, double H = 0.0);

// Latitude B, longitude L and central meridian L0 (D.MS) to plane x, y.
void GaussForward(double B, double L, double L0, GeodeticSystem system, double H, double& x, double& y);

// Plane x, y around central meridian L0 (D.MS) to latitude B and longitude L
// (D.MS). As the D.MS conversion does not carry, a longitude of 108.0 may come
// back as 107.5959999996.
void GaussInverse(double x, double y, double L0, GeodeticSystem system, double H, double& B, double& L);

}  // namespace qp
