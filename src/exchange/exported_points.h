// The points of a computed network as they are handed on to GIS and CAD:
// name, known or not, plane coordinates, height where the network carries
// one, and the precision columns in the units of the network's report.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "height/height_model.h"
#include "plane/plane_model.h"

namespace qp {

struct ExportColumn {
  const char* name;  // the CSV header and GeoJSON property
  int decimals;
};

struct ExportedPoint {
  std::string name;  // UTF-8
  bool known = false;
  std::optional<double> north, east, height;  // m
  std::vector<double> precision;  // one per precision column; empty for a known point
};

struct ExportedNetwork {
  std::vector<ExportColumn> precision;
  std::vector<ExportedPoint> points;
};

// The adjusted (estimated: approximate) points with their precision; nullopt
// when the network holds no results of a computation. A height network's
// points carry the plane coordinates its input gives them (none where the
// input gives none), never their positions on the diagram.
std::optional<ExportedNetwork> ExportedNetworkOf(const PlaneModel& model);
std::optional<ExportedNetwork> ExportedNetworkOf(const HeightModel& model);

}  // namespace qp
