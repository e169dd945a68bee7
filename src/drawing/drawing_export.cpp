#include "drawing/drawing_export.h"

#include "common/format.h"
#include "common/gbk_text.h"
#include "drawing/declutter_setting.h"
#include "drawing/flagged_observations.h"
#include "drawing/network_drawing.h"
#include "drawing/sheet_geometry.h"
#include "drawing/vec_file.h"
#include "statistics/statistics_report.h"

namespace qp {
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

bool ExportNetworkDrawing(const std::string& dataPath, const SettingsBlock& settings, DrawnNetwork network,
                          PlatformServices& platform, std::string* vecPath) {
  const std::string path = VecPathFor(dataPath);
  if (vecPath) *vecPath = path;
  if (!SheetGeometryOf(settings)) return false;
  bool drawn = true;
  // The canvas itself: zoom 1:1, nothing masked; the flagged observations in red.
  const FlaggedObservationSet flagged = FlaggedObservationsFor(dataPath);
  DrawContext context;
  context.flagged = &flagged;
  context.declutter = DeclutterFor(dataPath);
  const bool written = WriteVecFile(path, settings, [&](EntitySink& sink) {
    drawn = DrawNetworkSheet(sink, settings, network, context);
  });
  if (!written || !drawn) return false;
  const char* done = network.plane ? "平面图形导出完成...\r\n%s" : "高程图形导出完成...\r\n%s";
  platform.ShowMessage(FormatText(done, DecodeUserTextToGbk(path).c_str()), Icon::Information);
  return true;
}

}  // namespace qp
