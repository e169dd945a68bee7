#include "cli/export_command.h"

#include <iostream>
#include <memory>

#include "cli/network_file_kind.h"
#include "common/file_clash.h"
#include "common/gbk_text.h"
#include "common/settings_block.h"
#include "height/height_file.h"
#include "height/height_model_record.h"
#include "plane/plane_file.h"
#include "plane/plane_model_record.h"
#include "workflow/coordinate_export.h"

namespace qp {

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

  const CoordinateExportRequest request{options.csvPath, options.geojsonPath, options.crs};
  auto settings = std::make_unique<SettingsBlock>();
  std::string csv;
  bool exported = false;
  if (kind == NetworkFileKind::Plane) {
    auto net = std::make_unique<PlaneNetwork>();
    if (!ReadWritePlaneFile(options.dataPath, FileDirection::Read, *settings, *net)) {
      platform.ShowMessage(Gbk("平面网数据文件错误 !"), Icon::Error);
      return 1;
    }
    exported = ExportCoordinates(PlaneModelFromRecord(*net), request, platform, &csv);
  } else {
    auto net = std::make_unique<HeightNetwork>();
    if (!ReadHeightFile(options.dataPath, *settings, *net)) {
      platform.ShowMessage(Gbk("高程网数据文件错误 !"), Icon::Error);
      return 1;
    }
    exported = ExportCoordinates(HeightModelFromRecord(*net), request, platform, &csv);
  }
  if (!exported) return 1;
  std::cout << csv;
  return 0;
}

}  // namespace qp
