#include "app/quorvex_doc.h"

#include <algorithm>
#include <functional>

#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "drawing/diagram_preparation.h"
#include "height/derived_height_network.h"
#include "height/height_file.h"
#include "plane/plane_file.h"

namespace qp {
namespace {

// A network's data file as the document opens it: the messages of its kind,
// and how the network is read, reset to a new one and written.
struct NetworkDataFile {
  const char* unreadable;
  const char* confirmNew;
  const char* unwritable;
  std::function<bool()> read;
  std::function<void()> reset;
  std::function<bool()> write;
};

// Reads the data file at `path`, or creates a new network there (with the
// settings block reset) after the new-file question. A file that is there but
// cannot be read is somebody's data: it is reported, never replaced by an
// empty network.
bool ReadOrCreate(const std::string& path, const NetworkDataFile& file, SettingsBlock& settings,
                  PlatformServices& platform) {
  if (file.read()) return true;
  if (FileExists(path)) {
    platform.ShowMessage(Gbk(file.unreadable));
    return false;
  }
  ResetSettingsBlock(settings);
  file.reset();
  if (!ConfirmYesNoDefaultNo(platform, Gbk(file.confirmNew))) return false;
  if (!file.write()) {
    platform.ShowMessage(Gbk(file.unwritable));
    return false;
  }
  return true;
}

}  // namespace

CQuorvexPDoc::CQuorvexPDoc(std::string programDirectory)
    : plane_(std::make_unique<PlaneNetwork>()),
      planeBackup_(std::make_unique<PlaneNetwork>()),
      height_(std::make_unique<HeightNetwork>()),
      heightBackup_(std::make_unique<HeightNetwork>()),
      settings_(std::make_unique<SettingsBlock>()),
      normals_(std::make_unique<NormalEquationStore>()) {
  state_.programDirectory = std::move(programDirectory);
  SetTitle("");
}

void CQuorvexPDoc::SetTitle(std::string_view utf8Title) { title_ = DocumentTitleFor(utf8Title); }

bool CQuorvexPDoc::OpenPlaneDataFile(const std::string& path, PlatformServices& platform) {
  if (path.empty() || state_.workMode != kNothingOpen) return false;
  state_.planeDataPath = path;
  state_.planeReportPath = ReportPathFor(path);
  const std::string pathGbk = Utf8ToGbk(path);
  const NetworkDataFile file{
      "平面网数据文件错误 !",
      "请确认新建平面网数据文件 ...",
      "平面网数据文件写入错误 !",
      [&] { return ReadWritePlaneFile(path, FileDirection::Read, *settings_, *plane_); },
      [&] { ResetPlaneNetwork(*plane_, pathGbk); },
      [&] { return ReadWritePlaneFile(path, FileDirection::Write, *settings_, *plane_); },
  };
  if (!ReadOrCreate(path, file, *settings_, platform)) return false;
  SetTitle(path);
  state_.workMode = kPlaneData;
  SetSlotText(plane_->dataFilePath, pathGbk);
  return true;
}

PlaneEditResult CQuorvexPDoc::EditPlane(PlatformServices& platform, const PlaneDialogRunner& runDialog) {
  PlaneWorkspace ws{*settings_, section_, *plane_, *planeBackup_, state_.planeDataPath};
  ws.normals = normals_.get();
  ws.drawing.prepareDiagram = PreparePlaneDiagram;
  // Once the results are stored the network is a drawing that may be shown.
  ws.drawing.refreshDisplay = [this](PlaneWorkspace&) { state_.drawingReady = true; };
  ws.handOverHeightNetwork = [this, &platform](PlaneWorkspace& done) {
    if (!WriteDerivedHeightNetwork(done.net, done.settings, done.dataPath, *height_)) {
      platform.ShowMessage(Gbk("高程网数据文件写入错误 !"));
    }
  };
  return EditPlaneNetwork(ws, platform, runDialog);
}

bool CQuorvexPDoc::OpenHeightDataFile(const std::string& path, PlatformServices& platform) {
  if (path.empty() || state_.workMode != kNothingOpen) return false;
  state_.heightDataPath = path;
  state_.heightReportPath = ReportPathFor(path);
  const std::string pathGbk = Utf8ToGbk(path);
  const NetworkDataFile file{
      "高程网数据文件错误 !",
      "请确认新建高程网数据文件 ...",
      "高程网数据文件写入错误 !",
      [&] { return ReadHeightFile(path, *settings_, *height_); },
      [&] { ResetHeightNetwork(*height_, pathGbk); },
      [&] { return WriteHeightFile(path, *settings_, *height_); },
  };
  if (!ReadOrCreate(path, file, *settings_, platform)) return false;
  SetTitle(path);
  state_.workMode = kHeightData;
  SetSlotText(height_->dataFilePath, pathGbk);
  return true;
}

HeightEditResult CQuorvexPDoc::EditHeight(PlatformServices& platform, const HeightDialogRunner& runDialog) {
  HeightWorkspace ws{*settings_, section_, *height_, *heightBackup_, state_.heightDataPath};
  ws.normals = normals_.get();
  ws.drawing.prepareDiagram = PrepareHeightDiagram;
  ws.drawing.refreshDisplay = [this](HeightWorkspace&) { state_.drawingReady = true; };
  return EditHeightNetwork(ws, platform, runDialog);
}

void CQuorvexPDoc::CloseNetwork() {
  // Moved texts and points are saved with the drawing data once the drawing
  // tools exist; until then nothing can be moved.
  state_.drawingModified = false;
  state_.toolState = kNoTool;
  state_.drawingReady = false;
  state_.workMode = kNothingOpen;
  SetTitle("");
}

std::string CQuorvexPDoc::CurrentReportPath() const {
  if (state_.workMode == kPlaneData) return state_.planeReportPath;
  if (state_.workMode == kHeightData) return state_.heightReportPath;
  return std::string();
}

std::vector<std::string> CQuorvexPDoc::DiagramItems() const {
  return DiagramSelectorItems(state_.workMode, PlaneSidesComputed(*plane_, state_.drawingReady));
}

std::vector<std::string> CQuorvexPDoc::PointNames() const {
  const int mode = state_.workMode;
  if (mode == kPlaneData || mode == kPlaneDrawing) return PlanePointNames(*plane_);
  if (mode == kHeightData || mode == kHeightDrawing) return HeightPointNames(*height_);
  return {};
}

int CQuorvexPDoc::CurrentDiagramKind() const {
  const int mode = state_.workMode;
  if (mode == kPlaneData || mode == kPlaneDrawing) return state_.planeDiagramKind;
  if (mode == kHeightData || mode == kHeightDrawing) return state_.heightDiagramKind;
  return -1;
}

void CQuorvexPDoc::SelectDiagramKind(int kind) {
  const int count = static_cast<int>(DiagramItems().size());
  if (kind < 0 || kind >= count) return;
  const int mode = state_.workMode;
  if (mode == kPlaneData || mode == kPlaneDrawing) state_.planeDiagramKind = kind;
  if (mode == kHeightData || mode == kHeightDrawing) state_.heightDiagramKind = kind;
}

}  // namespace qp
