// "导出坐标": the computed points of the open network written for GIS and CAD
// as CSV and GeoJSON (exchange/), the same on the desktop and the command line.
#pragma once

#include <optional>
#include <string>

#include "common/platform_services.h"
#include "exchange/exported_points.h"

namespace qp {

struct CoordinateExportRequest {
  std::optional<std::string> csvPath;      // UTF-8 file-system paths
  std::optional<std::string> geojsonPath;  // needs crs
  std::optional<std::string> crs;          // EPSG code or PROJ string of the network's coordinates
};

// Writes the files of `request` for the points of `network` (nullopt: a
// network without results); when it names none, the CSV text goes to
// `csvText`. False after the message (a network without results, an
// unusable system, a point outside it, a file that cannot be written). Each
// file is written whole or not at all; a CSV written before the GeoJSON
// failed stays.
bool ExportCoordinates(const std::optional<ExportedNetwork>& network, const CoordinateExportRequest& request,
                       PlatformServices& platform, std::string* csvText = nullptr);

// The same for the computed points of a plane or height network model.
template <class Model>
bool ExportCoordinates(const Model& model, const CoordinateExportRequest& request, PlatformServices& platform,
                       std::string* csvText = nullptr) {
  return ExportCoordinates(ExportedNetworkOf(model), request, platform, csvText);
}

}  // namespace qp
