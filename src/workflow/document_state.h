// The document's state and the rules the main window follows: which network
// is open, whether a view tool is busy, the paths of the open network, the
// window title, which commands are enabled and what the dialog bar's two
// selectors list. Nothing here knows the window toolkit, so the rules are
// tested on their own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "height/height_model.h"
#include "plane/plane_model.h"

namespace qp {

enum WorkMode : int {
  kNothingOpen = 0,
  kPlaneData = 1,      // plane network opened from a data file and computed
  kPlaneDrawing = 2,   // plane network drawing opened
  kHeightData = 3,     // height network opened from a data file and computed
  kHeightDrawing = 4,  // height network drawing opened
};

// Modes 1/2 hold the plane network, modes 3/4 the height network.
inline bool IsPlaneMode(int mode) { return mode == kPlaneData || mode == kPlaneDrawing; }
inline bool IsHeightMode(int mode) { return mode == kHeightData || mode == kHeightDrawing; }

enum ToolState : int {
  kNoTool = 0,
  kMeasureTool = 20,
  kMoveTool = 75,     // moving texts or points, see MoveKind
  kLocateTool = 220,
};

enum CommandId : int {
  kCmdSystemTransform = 134,
  kCmdHelp = 135,
  kCmdCloseDocument = 136,
  kCmdPlaneDrawingFile = 137,
  kCmdHeightDrawingFile = 138,
  kCmdShowAll = 140,
  kCmdPlaneDataFile = 141,
  kCmdPlaneDataEdit = 142,
  kCmdPlaneSheetSettings = 143,
  kCmdHeightDataFile = 144,
  kCmdHeightDataEdit = 145,
  kCmdHeightSheetSettings = 146,
  kCmdShowPosition = 147,
  kCmdMoveText = 148,
  kCmdPlaneDisplaySettings = 158,
  kCmdHeightDisplaySettings = 159,
  kCmdMovePoint = 160,
  kCmdMeasure = 161,
  kCmdSaveDrawing = 162,
  kCmdZoneTransform = 168,
  kCmdOpenReport = 172,
  kCmdIndependentSystem = 175,
  kCmdPlaneExport = 177,
  kCmdHeightExport = 178,
  kCmdRefresh = 181,
  kCmdFitSheet = 182,
  kCmdExercise = 185,
  // Beyond the command table: the drawing saved as a PDF, PNG, SVG or DXF picture.
  kCmdSavePicture = 30100,
  // The statistics report of the network shown in the report viewer.
  kCmdStatisticsReport = 30101,
  // "注记整理": the movable texts moved clear of one another.
  kCmdArrangeLabels = 30102,
  // "导出坐标...": the computed points written as CSV and GeoJSON.
  kCmdExportCoordinates = 30103,
  kCmdPrintSetup = 57606,
  kCmdPrint = 57607,
  kCmdPrintPreview = 57609,
  kCmdAbout = 57664,
  kCmdExit = 57665,
};

struct CommandInfo {
  int id;               // 0: a separator
  const char* caption;  // UTF-8
};

struct MenuInfo {
  const char* caption;  // UTF-8
  std::vector<CommandInfo> items;
};

// The menu bar: every command of the command table under its caption.
// Commands 172, 30101 and 30103 appear twice, once for each kind of network;
// the drawing view's commands are both in the 绘图 menu and on the toolbar.
const std::vector<MenuInfo>& MainMenus();

// The eight toolbar buttons in their order.
const std::vector<CommandInfo>& ToolbarCommands();

// Every distinct command id of the menus and the toolbar.
std::vector<int> AllCommandIds();

struct DocumentState {
  int workMode = kNothingOpen;
  int toolState = kNoTool;
  int moveKind = 0;  // 1 texts, 2 points; meaningful while toolState is kMoveTool
  bool drawingReady = false;
  bool drawingModified = false;
  // The data file of the network opened last (a UTF-8 file-system path); its
  // report is the data path with the last three characters replaced by "txt".
  std::string dataPath;
  // The running program's directory with its trailing separator.
  std::string programDirectory;
  // The diagram kinds are not kept here: they live with the networks (the
  // diagram style of each), so the kind the selector shows is the kind drawn,
  // exported and saved.

  bool Idle() const { return toolState == kNoTool; }
  // A diagram is on the sheet: modes 1/2 for the plane network, 3/4 for the
  // height network, once the drawing is ready.
  bool ShowsPlaneDrawing() const;
  bool ShowsHeightDrawing() const;
  bool ShowsDrawing() const { return ShowsPlaneDrawing() || ShowsHeightDrawing(); }
};

// What the command table allows in this state. For the view commands (140,
// 147, 148, 160, 161, 181) this is only the document's part — which diagram
// is shown and whether a tool is busy; the view adds its own conditions
// (client size against the canvas, zoom, the whole-drawing view) and the
// document adds that the sheet settings of "距离丈量" are confirmed.
bool CommandRuleAllows(const DocumentState& state, int commandId);

// Whether this build does the command's work: every command of the menus and
// the toolbar. An unknown id is never enabled.
bool IsCommandBuilt(int commandId);

inline bool IsCommandEnabled(const DocumentState& state, int commandId) {
  return IsCommandBuilt(commandId) && CommandRuleAllows(state, commandId);
}

// The directory part of the program's own path, up to and including the last
// separator.
std::string ProgramDirectoryOf(std::string_view executablePath);

// The title shown when a document has none of its own.
inline constexpr const char* kUntitledTitle = "《Quorvex》可视化平差软件";
// The application's name in the window title and message boxes.
inline constexpr const char* kApplicationName = "测量数据处理系统(QuorvexPlus)";

// The title rule, on UTF-8 text measured in GBK bytes: a title longer than
// 128 bytes keeps only what follows its last path separator ("\" or "/"); a
// result that begins with "无标题" or is shorter than 3 bytes becomes the
// untitled title.
std::string DocumentTitleFor(std::string_view utf8Title);

// The diagram selector's entries for the work mode (UTF-8), from the table of
// diagram kinds; entry i selects kind i. Empty in mode 0. The plane list has
// its eighth entry ("边长方位角") only when `planeSidesComputed`.
std::vector<std::string> DiagramSelectorItems(int workMode, bool planeSidesComputed);

// Whether an adjusted plane network has side lengths and azimuths to draw:
// the drawing is ready, the network was adjusted (not estimated) and its side
// list has entries.
bool PlaneSidesComputed(const PlaneModel& model, bool drawingReady);

// The point-name selector's entries: every point of the plane network in
// point-table order (UTF-8).
std::vector<std::string> PlanePointNames(const PlaneModel& model);
// The same for the height network: known points first, then the points with
// approximate heights, then the rest.
std::vector<std::string> HeightPointNames(const HeightModel& model);

}  // namespace qp
