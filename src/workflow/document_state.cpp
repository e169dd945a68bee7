#include "workflow/document_state.h"

#include <algorithm>
#include <set>

#include "common/gbk_text.h"
#include "drawing/diagram_kinds.h"

namespace qp {
namespace {

bool IsNetworkMode(int mode) { return mode >= kPlaneData && mode <= kHeightDrawing; }

size_t GbkLength(std::string_view utf8) { return Utf8ToGbk(utf8).size(); }

}  // namespace

bool DocumentState::ShowsPlaneDrawing() const { return IsPlaneMode(workMode) && drawingReady; }
bool DocumentState::ShowsHeightDrawing() const { return IsHeightMode(workMode) && drawingReady; }

const std::vector<MenuInfo>& MainMenus() {
  static const std::vector<MenuInfo> menus = {
      {"文件(&F)",
       {{kCmdCloseDocument, "关闭文档"},
        {0, ""},
        {kCmdPrint, "打印"},
        {kCmdPrintPreview, "打印预览"},
        {kCmdPrintSetup, "打印设置"},
        {0, ""},
        {kCmdExit, "退出(&X)"}}},
      {"平面网(&P)",
       {{kCmdPlaneDataFile, "P数据文件"},
        {kCmdPlaneDataEdit, "P数据编辑"},
        {kCmdOpenReport, "P打开文本"},
        {kCmdStatisticsReport, "统计检验"},
        {0, ""},
        {kCmdPlaneDrawingFile, "P图形文件"},
        {kCmdPlaneSheetSettings, "P图幅设置"},
        {kCmdPlaneDisplaySettings, "P显示设置"},
        {kCmdPlaneExport, "P导出图形"},
        {kCmdExportCoordinates, "导出坐标..."}}},
      {"高程网(&L)",
       {{kCmdHeightDataFile, "H数据文件"},
        {kCmdHeightDataEdit, "H数据编辑"},
        {kCmdOpenReport, "H打开文本"},
        {kCmdStatisticsReport, "统计检验"},
        {0, ""},
        {kCmdHeightDrawingFile, "H图形文件"},
        {kCmdHeightSheetSettings, "H图幅设置"},
        {kCmdHeightDisplaySettings, "H显示设置"},
        {kCmdHeightExport, "H导出图形"},
        {kCmdExportCoordinates, "导出坐标..."}}},
      {"图形(&D)", {{kCmdSaveDrawing, "保存数据"}, {kCmdFitSheet, "边框匹配"}, {kCmdArrangeLabels, "注记整理"}, {0, ""}, {kCmdSavePicture, "另存为图片..."}}},
      {"绘图(&M)",
       {{kCmdShowAll, "全图显示"},
        {kCmdShowPosition, "显示位置"},
        {0, ""},
        {kCmdMoveText, "文本移动"},
        {kCmdMovePoint, "点位移动"},
        {kCmdMeasure, "距离丈量"},
        {0, ""},
        {kCmdRefresh, "刷新屏幕"}}},
      {"工具(&T)",
       {{kCmdSystemTransform, "系统转换"},
        {kCmdZoneTransform, "换带计算"},
        {kCmdIndependentSystem, "独立坐标"},
        {0, ""},
        {kCmdExercise, "平差习题"}}},
      {"帮助(&H)", {{kCmdHelp, "使用说明"}, {kCmdAbout, "关于..."}}},
  };
  return menus;
}

const std::vector<CommandInfo>& ToolbarCommands() {
  static const std::vector<CommandInfo> buttons = {
      {kCmdAbout, "关于"},          {kCmdShowAll, "全图显示"}, {kCmdShowPosition, "显示位置"},
      {kCmdMoveText, "文本移动"},   {kCmdMovePoint, "点位移动"}, {kCmdMeasure, "距离丈量"},
      {kCmdSaveDrawing, "保存数据"}, {kCmdArrangeLabels, "注记整理"}, {kCmdRefresh, "刷新屏幕"},
  };
  return buttons;
}

std::vector<int> AllCommandIds() {
  std::set<int> ids;
  for (const MenuInfo& menu : MainMenus()) {
    for (const CommandInfo& item : menu.items) {
      if (item.id != 0) ids.insert(item.id);
    }
  }
  for (const CommandInfo& button : ToolbarCommands()) ids.insert(button.id);
  return {ids.begin(), ids.end()};
}

bool CommandRuleAllows(const DocumentState& s, int commandId) {
  const int mode = s.workMode;
  const bool idleWithDrawing = s.Idle() && s.drawingReady;
  switch (commandId) {
    case kCmdPlaneDataFile:
    case kCmdPlaneDrawingFile:
    case kCmdHeightDataFile:
    case kCmdHeightDrawingFile:
      return mode == kNothingOpen;
    case kCmdPlaneDataEdit:
      return mode == kPlaneData;
    case kCmdHeightDataEdit:
      return mode == kHeightData;
    case kCmdPlaneSheetSettings:
    case kCmdPlaneDisplaySettings:
      return IsPlaneMode(mode);
    case kCmdHeightSheetSettings:
    case kCmdHeightDisplaySettings:
      return IsHeightMode(mode);
    case kCmdPlaneExport:
      return IsPlaneMode(mode) && idleWithDrawing;
    case kCmdHeightExport:
      return IsHeightMode(mode) && idleWithDrawing;
    case kCmdOpenReport:
    case kCmdStatisticsReport:
      return (mode == kPlaneData || mode == kHeightData) && idleWithDrawing;
    case kCmdSaveDrawing:
    case kCmdArrangeLabels:
    case kCmdFitSheet:
    case kCmdSavePicture:
    case kCmdExportCoordinates:
    case kCmdPrint:
    case kCmdPrintPreview:
    case kCmdPrintSetup:
      return IsNetworkMode(mode) && idleWithDrawing;
    case kCmdCloseDocument:
      return mode >= kPlaneData && s.Idle();
    case kCmdSystemTransform:
    case kCmdZoneTransform:
    case kCmdIndependentSystem:
    case kCmdExercise:
      return mode == kNothingOpen && s.Idle() && !s.drawingReady;
    case kCmdHelp:
    case kCmdAbout:
    case kCmdExit:
      return true;
    // The view commands, as far as the document decides them.
    case kCmdShowAll:
    case kCmdShowPosition:
      return s.ShowsDrawing();
    case kCmdMoveText:
    case kCmdRefresh:
      return s.Idle() && s.ShowsDrawing();
    case kCmdMovePoint:
      return s.Idle() && s.ShowsHeightDrawing();
    case kCmdMeasure:
      // A plane diagram shown means the sheet is in plane mode.
      return s.ShowsPlaneDrawing();
    default:
      return false;
  }
}

bool IsCommandBuilt(int commandId) {
  static const std::vector<int> built = AllCommandIds();  // sorted
  return std::binary_search(built.begin(), built.end(), commandId);
}

std::string ProgramDirectoryOf(std::string_view executablePath) {
  const size_t cut = executablePath.find_last_of("/\\");
  if (cut == std::string_view::npos) return std::string();
  return std::string(executablePath.substr(0, cut + 1));
}

std::string DocumentTitleFor(std::string_view utf8Title) {
  std::string title(utf8Title);
  // Separators are ASCII and never part of a multi-byte UTF-8 character, so
  // the cut cannot split a character.
  if (GbkLength(title) > 128) {
    const size_t cut = title.find_last_of("/\\");
    if (cut != std::string::npos) title.erase(0, cut + 1);
  }
  if (title.starts_with("无标题") || GbkLength(title) < 3) return kUntitledTitle;
  return title;
}

std::vector<std::string> DiagramSelectorItems(int workMode, bool planeSidesComputed) {
  if (!IsNetworkMode(workMode)) return {};
  const DiagramNetwork network = IsPlaneMode(workMode) ? DiagramNetwork::Plane : DiagramNetwork::Height;
  std::vector<std::string> items;
  for (const DiagramKindEntry& e : DiagramKinds()) {
    if (e.network != network || (e.adjustedOnly && !planeSidesComputed)) continue;
    items.emplace_back(e.selectorText);
  }
  return items;
}

bool PlaneSidesComputed(const PlaneModel& model, bool drawingReady) {
  // Side lengths and azimuths are reported only by an adjustment; an estimate
  // leaves nothing to annotate.
  return drawingReady && model.Adjusted() && model.redundancy != 0 && !model.sides.empty();
}

namespace {

template <typename Points>
std::vector<std::string> NamesOf(const Points& points) {
  std::vector<std::string> names;
  names.reserve(points.size());
  for (const auto& p : points) names.push_back(GbkToUtf8(p.name));
  return names;
}

}  // namespace

std::vector<std::string> PlanePointNames(const PlaneModel& model) { return NamesOf(model.points); }
std::vector<std::string> HeightPointNames(const HeightModel& model) { return NamesOf(model.points); }

}  // namespace qp
