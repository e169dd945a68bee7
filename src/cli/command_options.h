// Options shared by every subcommand of the command-line driver:
//   quorvex <command> DATAFILE [--input FILE] [--dump] [--yes | --no] [--show N]
//   quorvex plane|height DATAFILE ... [--alpha P]
//   quorvex draw NET.NAP|NET.NAH [--kind K] [--svg FILE] [--dxf FILE] [--pdf FILE] [--png FILE [--dpi N]]
//   quorvex export NET.NAP|NET.NAH [--csv FILE] [--geojson FILE] [--crs CRS]
#pragma once

#include <optional>
#include <string>

namespace qp {

struct CommandOptions {
  std::string dataPath;
  std::optional<std::string> inputPath;
  bool dump = false;
  std::optional<int> show;  // exercise solver: the display entry
  std::optional<int> kind;  // draw: the diagram kind (range checked by the command)
  std::optional<std::string> svgPath;  // draw: also an SVG picture
  std::optional<std::string> dxfPath;  // draw: also a DXF drawing
  std::optional<std::string> pdfPath;  // draw: also a PDF document
  std::optional<std::string> pngPath;  // draw: also a PNG picture
  std::optional<int> dpi;              // draw: the PNG's resolution (range checked when parsed)
  std::optional<double> significance;  // plane, height: level of the statistics report's global test
  std::optional<std::string> csvPath;      // export: the CSV file (else CSV on stdout)
  std::optional<std::string> geojsonPath;  // export: the GeoJSON file (needs crs)
  std::optional<std::string> crs;          // export: EPSG code or PROJ string of the network's coordinates
};

}  // namespace qp
