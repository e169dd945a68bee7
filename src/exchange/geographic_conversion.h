// Plane coordinates of a network to longitude and latitude through PROJ, for
// the GIS formats. The coordinate reference system is an EPSG code of a
// projected system (the CGCS2000, 1954 and 1980 Gauss-Krüger zones) or a PROJ
// string of a transverse Mercator (an independent system).
//
// GeoJSON wants WGS 84. CGCS2000 agrees with WGS 84 to a few centimetres, so
// a CGCS2000 system is converted to CGCS2000 longitude and latitude (PROJ
// itself knows only a zero "ballpark" offset between the two). Any other
// datum needs a real transformation to WGS 84; where PROJ has only a
// ballpark one (the 1954 and 1980 systems in the database Debian ships) the
// conversion is refused: the coordinates would be off by tens of metres.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace qp {

struct LonLat {
  double lon = 0.0;  // degrees
  double lat = 0.0;
};

class GeographicConversion {
 public:
  // The conversion from `crs`, or the reason (UTF-8) there is none.
  static std::variant<GeographicConversion, std::string> Create(const std::string& crs);

  GeographicConversion(GeographicConversion&&) noexcept;
  GeographicConversion& operator=(GeographicConversion&&) noexcept;
  ~GeographicConversion();

  // North and east as the network holds them (a Y without the zone number
  // gets the one the system's false easting carries); nullopt when PROJ
  // cannot convert the point or it lies more than half a degree outside the
  // system's area of use.
  std::optional<LonLat> Convert(double north, double east) const;

 private:
  struct State;
  explicit GeographicConversion(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace qp
