#include "workflow/coordinate_export.h"

#include <span>
#include <variant>
#include <vector>

#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "exchange/point_texts.h"

namespace qp {
namespace {

bool Refuse(PlatformServices& platform, const std::string& utf8) {
  platform.ShowMessage(Utf8ToGbk(utf8), Icon::Error);
  return false;
}

// Longitude and latitude of every point that has plane coordinates; nullopt
// after the message when the system is unusable or a point lies outside it.
std::optional<std::vector<std::optional<LonLat>>> Geographic(const ExportedNetwork& network, const std::string& crs,
                                                             PlatformServices& platform) {
  auto created = GeographicConversion::Create(crs);
  if (const std::string* why = std::get_if<std::string>(&created)) {
    Refuse(platform, *why);
    return std::nullopt;
  }
  const GeographicConversion& conversion = std::get<GeographicConversion>(created);
  std::vector<std::optional<LonLat>> out;
  for (const ExportedPoint& p : network.points) {
    if (!p.north || !p.east) {
      out.emplace_back();
      continue;
    }
    out.push_back(conversion.Convert(*p.north, *p.east));
    if (!out.back()) {
      Refuse(platform, "点[" + p.name + "]不在坐标参考系 " + crs + " 的适用范围内, 未导出 (坐标系统或带号是否正确?)");
      return std::nullopt;
    }
  }
  return out;
}

bool Write(const std::string& path, const std::string& text, const char* what, PlatformServices& platform) {
  return WriteFileAtomically(path, text) || Refuse(platform, std::string(what) + "写入错误 !\r\n" + path);
}

}  // namespace

bool ExportCoordinates(const std::optional<ExportedNetwork>& network, const CoordinateExportRequest& request,
                       PlatformServices& platform, std::string* csvText) {
  if (!network) return Refuse(platform, "网中没有平差或估算的结果, 请先计算后再导出坐标 !");
  if (request.geojsonPath && !request.crs) return Refuse(platform, "导出 GeoJSON 需要给出网的坐标参考系, 如 EPSG:4547 !");
  std::optional<std::vector<std::optional<LonLat>>> geographic;
  if (request.crs && !(geographic = Geographic(*network, *request.crs, platform))) return false;
  const std::string csv = CsvText(*network, geographic ? &*geographic : nullptr);
  if (!request.csvPath && !request.geojsonPath) {
    if (csvText) *csvText = csv;
    return true;
  }
  if (request.csvPath && !Write(*request.csvPath, csv, "CSV坐标文件", platform)) return false;
  return !request.geojsonPath ||
         Write(*request.geojsonPath, GeoJsonText(*network, *geographic), "GeoJSON坐标文件", platform);
}

}  // namespace qp
