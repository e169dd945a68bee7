// quorvex export NET.NAP|NET.NAH [--csv FILE] [--geojson FILE] [--crs CRS]:
// the computed points of a network as CSV and GeoJSON for GIS and CAD.
#pragma once

#include <string>

#include "cli/command_options.h"
#include "common/platform_services.h"

namespace qp {

bool IsExportOption(const std::string& option);
// Takes the value of an export option; the reason it is refused, empty when taken.
std::string ParseExportOption(const std::string& option, const std::string& value, CommandOptions& options);

int RunExportCommand(const CommandOptions& options, PlatformServices& platform);

}  // namespace qp
