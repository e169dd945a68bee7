// The exported points as the exchange files hold them: CSV (UTF-8, a header
// row, one point a row) and GeoJSON (RFC 7946: a FeatureCollection of
// points at longitude, latitude; the network's values in the properties).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "exchange/exported_points.h"
#include "exchange/geographic_conversion.h"

namespace qp {

// `geographic`, when given, adds longitude and latitude columns (one entry
// per point, empty where a point has none).
std::string CsvText(const ExportedNetwork& network, const std::vector<std::optional<LonLat>>* geographic = nullptr);

// A point without a geographic position gets a null geometry.
std::string GeoJsonText(const ExportedNetwork& network, const std::vector<std::optional<LonLat>>& geographic);

}  // namespace qp
