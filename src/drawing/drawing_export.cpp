#include "drawing/drawing_export.h"

#include <memory>

#include "common/format.h"
#include "common/gbk_text.h"
#include "drawing/declutter_setting.h"
#include "drawing/flagged_observations.h"
#include "drawing/network_drawing.h"
#include "drawing/sheet_geometry.h"
#include "drawing/vec_file.h"
#include "height/height_file.h"
#include "plane/plane_file.h"
#include "plane/plane_workflow.h"
#include "statistics/statistics_report.h"

namespace qp {
namespace {

std::string PathForMessage(const std::string& path) { return DecodeUserTextToGbk(path); }

bool ExportDrawing(const std::string& dataPath, SettingsBlock& settings, const PlaneModel* plane,
                   const HeightModel* height, const char* doneFormat, PlatformServices& platform,
                   std::string* vecPath) {
  const std::string path = VecPathFor(dataPath);
  if (vecPath) *vecPath = path;
  if (!SheetGeometryOf(settings)) return false;
  // The block in the file carries the title of the kind drawn.
  UpdateDiagramTitle(settings, plane, height);
  bool drawn = true;
  // The canvas itself: zoom 1:1, nothing masked; the flagged observations in red.
  const FlaggedObservationSet flagged = FlaggedObservationsFor(dataPath);
  DrawContext context;
  context.flagged = &flagged;
  context.declutter = DeclutterFor(dataPath);
  const bool written = WriteVecFile(path, settings, [&](EntitySink& sink) {
    drawn = DrawNetworkSheet(sink, settings, plane, height, context);
  });
  if (!written || !drawn) return false;
  platform.ShowMessage(FormatText(doneFormat, PathForMessage(path).c_str()), Icon::Information);
  return true;
}

}  // namespace

std::string VecPathFor(const std::string& dataPath) {
  if (dataPath.size() < 3) return dataPath + ".vec";
  return dataPath.substr(0, dataPath.size() - 3) + "vec";
}

RunFiles DrawingExportFiles(const std::string& dataPath, std::vector<FileUse> pictures) {
  RunFiles files;
  files.dataFile = {dataPath, "数据文件"};
  files.dataFileWritten = false;
  files.inputs.push_back({StatisticsReportPathFor(dataPath), "统计检验报告"});
  files.inputs.push_back({StatisticsFlagsPathFor(dataPath), kStatisticsFlagsRole});
  files.outputs.push_back({VecPathFor(dataPath), "矢量图形文件"});
  files.outputs.insert(files.outputs.end(), pictures.begin(), pictures.end());
  return files;
}

bool ExportPlaneDrawing(const std::string& dataPath, SettingsBlock& settings, const PlaneModel& model,
                        PlatformServices& platform, std::string* vecPath) {
  return ExportDrawing(dataPath, settings, &model, nullptr, "平面图形导出完成...\r\n%s", platform, vecPath);
}

bool ExportHeightDrawing(const std::string& dataPath, SettingsBlock& settings, const HeightModel& model,
                         PlatformServices& platform, std::string* vecPath) {
  return ExportDrawing(dataPath, settings, nullptr, &model, "高程图形导出完成...\r\n%s", platform, vecPath);
}

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
                           HeightNetwork* height, bool& drawingModified, PlatformServices& platform) {
  if (!plane && !height) return SaveResult::Declined;
  if (platform.Ask(Gbk("请确认保存当前图形数据..."), Buttons::YesNo, Answer::Yes) != Answer::Yes) {
    return SaveResult::Declined;
  }
  if (!WriteGraphicData(dataPath, settings, plane, height)) {
    const char* failed = plane ? "平面网数据文件写入错误 !\r\n%s" : "高程网数据文件写入错误 !\r\n%s";
    platform.ShowMessage(FormatText(failed, PathForMessage(dataPath).c_str()), Icon::Error);
    return SaveResult::Failed;
  }
  drawingModified = false;
  platform.ShowMessage(PathForMessage(dataPath), Icon::Information);
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
