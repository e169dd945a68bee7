#include "workflow/drawing_files.h"

#include <memory>

#include "common/format.h"
#include "common/gbk_text.h"
#include "drawing/sheet_geometry.h"
#include "height/height_file.h"
#include "plane/plane_file.h"
#include "workflow/plane_workflow.h"

namespace qp {

bool WriteGraphicData(const std::string& dataPath, SettingsBlock& settings, PlaneNetwork* plane,
                      HeightNetwork* height) {
  if (plane) return ReadWritePlaneFile(dataPath, FileDirection::Write, settings, *plane);
  if (height) return WriteHeightFile(dataPath, settings, *height);
  return false;
}

bool FinishSettingsDialog(bool confirmed, const std::string& dataPath, SettingsBlock& settings, PlaneNetwork* plane,
                          HeightNetwork* height, PlatformServices& platform) {
  if (!confirmed) {
    if (plane) return ReadWritePlaneFile(dataPath, FileDirection::Read, settings, *plane);
    if (height) return ReadHeightFile(dataPath, settings, *height);
    return false;
  }
  if (WriteGraphicData(dataPath, settings, plane, height)) return true;
  platform.ShowMessage(Gbk(plane ? "平面网数据文件写入错误 !" : "高程网数据文件写入错误 !"), Icon::Error);
  return false;
}

SaveResult SaveGraphicData(const std::string& dataPath, SettingsBlock& settings, PlaneNetwork* plane,
                           HeightNetwork* height, bool& drawingModified, PlatformServices& platform,
                           bool confirmed) {
  if (!plane && !height) return SaveResult::Declined;
  if (!confirmed && platform.Ask(Gbk("请确认保存当前图形数据..."), Buttons::YesNo, Answer::Yes) != Answer::Yes) {
    return SaveResult::Declined;
  }
  if (!WriteGraphicData(dataPath, settings, plane, height)) {
    const char* failed = plane ? "平面网数据文件写入错误 !\r\n%s" : "高程网数据文件写入错误 !\r\n%s";
    platform.ShowMessage(FormatText(failed, DecodeUserTextToGbk(dataPath).c_str()), Icon::Error);
    return SaveResult::Failed;
  }
  drawingModified = false;
  platform.ShowMessage(DecodeUserTextToGbk(dataPath), Icon::Information);
  return SaveResult::Saved;
}

std::optional<CanvasSize> OpenPlaneDrawing(const std::string& dataPath, SettingsBlock& settings, PlaneNetwork& net,
                                           PlatformServices& platform) {
  auto scratchSettings = std::make_unique<SettingsBlock>();
  auto scratchNet = std::make_unique<PlaneNetwork>();
  if (!ReadWritePlaneFile(dataPath, FileDirection::Read, *scratchSettings, *scratchNet, &platform) ||
      !SheetGeometryOf(*scratchSettings)) {
    platform.ShowMessage(Gbk("平面网数据文件错误 !"), Icon::Error);
    return std::nullopt;
  }
  settings = *scratchSettings;
  net = *scratchNet;
  CheckNearPairs(net, platform);
  return CanvasSize{settings.canvasHeightPx, settings.canvasWidthPx};
}

std::optional<CanvasSize> OpenHeightDrawing(const std::string& dataPath, SettingsBlock& settings, HeightNetwork& net,
                                            PlatformServices& platform) {
  auto scratchSettings = std::make_unique<SettingsBlock>();
  auto scratchNet = std::make_unique<HeightNetwork>();
  if (!ReadHeightFile(dataPath, *scratchSettings, *scratchNet, &platform) || !SheetGeometryOf(*scratchSettings)) {
    platform.ShowMessage(Gbk("高程网数据文件错误 !"), Icon::Error);
    return std::nullopt;
  }
  settings = *scratchSettings;
  net = *scratchNet;
  return CanvasSize{settings.canvasHeightPx, settings.canvasWidthPx};
}

}  // namespace qp
