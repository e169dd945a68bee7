#include "exchange/point_texts.h"

#include <cstdio>

namespace qp {
namespace {

constexpr int kMetreDecimals = 4;
constexpr int kDegreeDecimals = 9;  // 0.1 mm on the ground

std::string Number(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Number(const std::optional<double>& value, int decimals, const char* none) {
  return value ? Number(*value, decimals) : none;
}

// A CSV field: quoted when it holds a separator, a quote or a line break.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

const char* KindOf(const ExportedPoint& p) { return p.known ? "已知点" : "待定点"; }

}  // namespace

std::string CsvText(const ExportedNetwork& network, const std::vector<std::optional<LonLat>>* geographic) {
  std::string out = "name,kind,x_north_m,y_east_m,h_m";
  for (const ExportColumn& c : network.precision) out += std::string(",") + c.name;
  if (geographic) out += ",lon_deg,lat_deg";
  out += "\r\n";
  for (size_t i = 0; i < network.points.size(); ++i) {
    const ExportedPoint& p = network.points[i];
    out += CsvField(p.name) + "," + KindOf(p) + "," + Number(p.north, kMetreDecimals, "") + "," +
           Number(p.east, kMetreDecimals, "") + "," + Number(p.height, kMetreDecimals, "");
    for (size_t c = 0; c < network.precision.size(); ++c) {
      out += ",";
      if (c < p.precision.size()) out += Number(p.precision[c], network.precision[c].decimals);
    }
    if (geographic) {
      const std::optional<LonLat>& g = (*geographic)[i];
      out += g ? "," + Number(g->lon, kDegreeDecimals) + "," + Number(g->lat, kDegreeDecimals) : std::string(",,");
    }
    out += "\r\n";
  }
  return out;
}

std::string GeoJsonText(const ExportedNetwork& network, const std::vector<std::optional<LonLat>>& geographic) {
  std::string out = "{\"type\":\"FeatureCollection\",\"features\":[";
  for (size_t i = 0; i < network.points.size(); ++i) {
    const ExportedPoint& p = network.points[i];
    const std::optional<LonLat>& g = geographic[i];
    out += i ? ",\n" : "\n";
    out += "{\"type\":\"Feature\",\"geometry\":";
    out += g ? "{\"type\":\"Point\",\"coordinates\":[" + Number(g->lon, kDegreeDecimals) + "," +
                   Number(g->lat, kDegreeDecimals) + "]}"
             : std::string("null");
    out += ",\"properties\":{\"name\":" + JsonString(p.name) + ",\"kind\":" + JsonString(KindOf(p)) +
           ",\"x_north_m\":" + Number(p.north, kMetreDecimals, "null") +
           ",\"y_east_m\":" + Number(p.east, kMetreDecimals, "null") +
           ",\"h_m\":" + Number(p.height, kMetreDecimals, "null");
    for (size_t c = 0; c < network.precision.size(); ++c) {
      out += std::string(",\"") + network.precision[c].name + "\":";
      out += c < p.precision.size() ? Number(p.precision[c], network.precision[c].decimals) : std::string("null");
    }
    out += "}}";
  }
  return out + "\n]}\n";
}

}  // namespace qp
