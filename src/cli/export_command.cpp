#include "cli/export_command.h"

#include <iostream>
#include <memory>
#include <span>
#include <variant>

#include "cli/network_file_kind.h"
#include "common/binary_file.h"
#include "common/file_clash.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/settings_block.h"
#include "exchange/point_texts.h"
#include "height/height_file.h"
#include "height/height_model_record.h"
#include "plane/plane_file.h"
#include "plane/plane_model_record.h"

namespace qp {
namespace {

void Tell(PlatformServices& platform, const std::string& utf8) { platform.ShowMessage(Utf8ToGbk(utf8), Icon::Error); }

// The stored network's points; nullopt after the message when the file
// cannot be read or holds no results.
std::optional<ExportedNetwork> StoredPoints(const std::string& path, NetworkFileKind kind, PlatformServices& platform) {
  auto settings = std::make_unique<SettingsBlock>();
  std::optional<ExportedNetwork> points;
  if (kind == NetworkFileKind::Plane) {
    auto net = std::make_unique<PlaneNetwork>();
    if (!ReadWritePlaneFile(path, FileDirection::Read, *settings, *net)) {
      platform.ShowMessage(Gbk("平面网数据文件错误 !"), Icon::Error);
      return std::nullopt;
    }
    points = ExportedNetworkOf(PlaneModelFromRecord(*net));
  } else {
    auto net = std::make_unique<HeightNetwork>();
    if (!ReadHeightFile(path, *settings, *net)) {
      platform.ShowMessage(Gbk("高程网数据文件错误 !"), Icon::Error);
      return std::nullopt;
    }
    points = ExportedNetworkOf(HeightModelFromRecord(*net));
  }
  if (!points) Tell(platform, "数据文件中没有平差或估算结果, 请先计算: " + path);
  return points;
}

// Longitude and latitude of every point that has plane coordinates; nullopt
// after the message when the system is unusable or a point lies outside it.
std::optional<std::vector<std::optional<LonLat>>> Geographic(const ExportedNetwork& network, const std::string& crs,
                                                             PlatformServices& platform) {
  auto created = GeographicConversion::Create(crs);
  if (const std::string* why = std::get_if<std::string>(&created)) {
    Tell(platform, *why);
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
      Tell(platform, "点[" + p.name + "]不在坐标参考系 " + crs + " 的适用范围内, 未导出 (坐标系统或带号是否正确?)");
      return std::nullopt;
    }
  }
  return out;
}

bool Write(const std::string& path, const std::string& text, const char* what, PlatformServices& platform) {
  const auto bytes = std::span(reinterpret_cast<const unsigned char*>(text.data()), text.size());
  if (WriteFileAtomically(path, {bytes})) return true;
  Tell(platform, std::string(what) + "写入错误 !\r\n" + path);
  return false;
}

}  // namespace

bool IsExportOption(const std::string& option) {
  return option == "--csv" || option == "--geojson" || option == "--crs";
}

std::string ParseExportOption(const std::string& option, const std::string& value, CommandOptions& options) {
  std::optional<std::string>& slot = option == "--csv" ? options.csvPath
                                     : option == "--geojson" ? options.geojsonPath
                                                             : options.crs;
  if (slot) return option + " 只能给出一次";
  if (value.empty()) return option + " 后缺少参数";
  slot = value;
  return {};
}

int RunExportCommand(const CommandOptions& options, PlatformServices& platform) {
  const NetworkFileKind kind = NetworkFileKindOf(options.dataPath);
  if (kind == NetworkFileKind::Unknown) return 2;  // checked with the usage text by the driver
  RunFiles files;
  files.dataFile = {options.dataPath, "数据文件"};
  files.dataFileWritten = false;
  if (options.csvPath) files.outputs.push_back({*options.csvPath, "CSV坐标文件"});
  if (options.geojsonPath) files.outputs.push_back({*options.geojsonPath, "GeoJSON坐标文件"});
  if (!CheckNoInputOverwritten(files, platform)) return 1;

  const std::optional<ExportedNetwork> network = StoredPoints(options.dataPath, kind, platform);
  if (!network) return 1;
  std::optional<std::vector<std::optional<LonLat>>> geographic;
  if (options.crs && !(geographic = Geographic(*network, *options.crs, platform))) return 1;

  const std::string csv = CsvText(*network, geographic ? &*geographic : nullptr);
  if (!options.csvPath && !options.geojsonPath) {
    std::cout << csv;
    return 0;
  }
  if (options.csvPath && !Write(*options.csvPath, csv, "CSV坐标文件", platform)) return 1;
  if (options.geojsonPath && !Write(*options.geojsonPath, GeoJsonText(*network, *geographic), "GeoJSON坐标文件", platform))
    return 1;
  return 0;
}

}  // namespace qp
