// "导出坐标": the computed points of the open network written for GIS and CAD
// as CSV and GeoJSON (exchange/), the same on the desktop and the command line.
#pragma once

#include <optional>
#include <string>

#include "common/platform_services.h"
#include "height/height_model.h"
#include "plane/plane_model.h"

namespace qp {

struct CoordinateExportRequest {
  std::optional<std::string> csvPath;      // UTF-8 file-system paths
  std::optional<std::string> geojsonPath;  // needs crs
  std::optional<std::string> crs;          // EPSG code or PROJ string of the network's coordinates
};

// Writes the files of `request`; when it names none, the CSV text goes to
// `csvText`. False after the message (a network without results, an
// unusable system, a point outside it, a file that cannot be written);
// nothing is written then.
bool ExportCoordinates(const PlaneModel& model, const CoordinateExportRequest& request, PlatformServices& platform,
                       std::string* csvText = nullptr);
bool ExportCoordinates(const HeightModel& model, const CoordinateExportRequest& request, PlatformServices& platform,
                       std::string* csvText = nullptr);

}  // namespace qp
