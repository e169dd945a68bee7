#include "workflow/quorvex_doc.h"

#include <functional>

#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/format.h"
#include "workflow/arrange_drawing.h"
#include "workflow/computation_summary.h"
#include "workflow/diagram_preparation.h"
#include "workflow/display_settings_file.h"
#include "drawing/height_item_moves.h"
#include "drawing/network_drawing.h"
#include "drawing/plane_diagram.h"
#include "drawing/sheet_geometry.h"
#include "height/height_file.h"
#include "height/height_model_record.h"
#include "height/height_output_files.h"
#include "plane/plane_file.h"
#include "plane/plane_model_record.h"
#include "plane/plane_output_files.h"

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
    : planeModel_(std::make_unique<PlaneModel>()), heightModel_(std::make_unique<HeightModel>()) {
  state_.programDirectory = std::move(programDirectory);
  SetTitle("");
}

void CQuorvexPDoc::BuildModels() {
  *planeModel_ = PlaneModelFromRecord(Plane());
  *heightModel_ = HeightModelFromRecord(Height());
}

void CQuorvexPDoc::SetTitle(std::string_view utf8Title) { title_ = DocumentTitleFor(utf8Title); }

bool CQuorvexPDoc::IsEnabled(int commandId) const {
  if (!IsCommandEnabled(state_, commandId)) return false;
  // Measuring needs a sheet whose settings were confirmed.
  if (commandId == kCmdMeasure) return Settings().settingsConfirmed != 0;
  // Coordinates are exported only from a network that holds a computation's results.
  if (commandId == kCmdExportCoordinates) {
    return ShowsPlaneDrawing() ? PlaneNetworkModel().HoldsResults() : HeightNetworkModel().HoldsResults();
  }
  return true;
}

std::string CQuorvexPDoc::ComputationSummary() const {
  if (CurrentPlane()) return PlaneComputationSummary(PlaneNetworkModel(), session_.globalTest);
  if (CurrentHeight()) return HeightComputationSummary(HeightNetworkModel(), session_.globalTest);
  return std::string();
}

PlaneNetwork* CQuorvexPDoc::CurrentPlane() const {
  return IsPlaneMode(state_.workMode) ? session_.plane.get() : nullptr;
}

HeightNetwork* CQuorvexPDoc::CurrentHeight() const {
  return IsHeightMode(state_.workMode) ? session_.height.get() : nullptr;
}

void CQuorvexPDoc::Opened(const std::string& path, int workMode) {
  state_.dataPath = path;
  marks_ = ReadLabelMarks(path);
  SetTitle(path);
  state_.workMode = workMode;
  // A drawing file is ready to be shown as it is read; a data file once computed.
  state_.drawingReady = workMode == kPlaneDrawing || workMode == kHeightDrawing;
  state_.drawingModified = false;
}

std::string CQuorvexPDoc::CurrentDataPath() const {
  return CurrentPlane() || CurrentHeight() ? state_.dataPath : std::string();
}

namespace {

// A data file named like a file its computation writes (its report, say)
// is refused before anything is written.
RunFiles ComputationFiles(const std::string& path, std::vector<FileUse> outputs) {
  return RunFiles{{path, "数据文件"}, true, {}, std::move(outputs)};
}

}  // namespace

bool CQuorvexPDoc::OpenDataFile(const std::string& path, bool plane, PlatformServices& platform) {
  if (path.empty() || state_.workMode != kNothingOpen) return false;
  const std::vector<FileUse> outputs = plane ? PlaneComputationOutputs(path) : HeightComputationOutputs(path);
  if (!CheckNoInputOverwritten(ComputationFiles(path, outputs), platform)) return false;
  const std::string pathGbk = Utf8ToGbk(path);
  const NetworkDataFile file =
      plane ? NetworkDataFile{
                  "平面网数据文件错误 !",
                  "请确认新建平面网数据文件 ...",
                  "平面网数据文件写入错误 !",
                  [&] { return ReadWritePlaneFile(path, FileDirection::Read, Settings(), Plane(), &platform); },
                  [&] { ResetPlaneNetwork(Plane(), pathGbk); },
                  [&] { return ReadWritePlaneFile(path, FileDirection::Write, Settings(), Plane()); },
              }
            : NetworkDataFile{
                  "高程网数据文件错误 !",
                  "请确认新建高程网数据文件 ...",
                  "高程网数据文件写入错误 !",
                  [&] { return ReadHeightFile(path, Settings(), Height(), &platform); },
                  [&] { ResetHeightNetwork(Height(), pathGbk); },
                  [&] { return WriteHeightFile(path, Settings(), Height()); },
              };
  if (!ReadOrCreate(path, file, Settings(), platform)) return false;
  Opened(path, plane ? kPlaneData : kHeightData);
  SetSlotText(plane ? Plane().dataFilePath : Height().dataFilePath, pathGbk);
  BuildModels();
  return true;
}

NetworkEditResult CQuorvexPDoc::EditPlane(PlatformServices& platform, const PlaneDialogRunner& runDialog) {
  const NetworkEditResult result = session_.EditPlane(state_.dataPath, platform, runDialog);
  // Once the results are stored the network is a drawing that may be shown.
  if (result == NetworkEditResult::Computed) state_.drawingReady = true;
  DrawingChanged();
  return result;
}

NetworkEditResult CQuorvexPDoc::EditHeight(PlatformServices& platform, const HeightDialogRunner& runDialog) {
  const NetworkEditResult result = session_.EditHeight(state_.dataPath, platform, runDialog);
  if (result == NetworkEditResult::Computed) state_.drawingReady = true;
  DrawingChanged();
  return result;
}

bool CQuorvexPDoc::OpenDrawingFile(const std::string& path, bool plane, PlatformServices& platform) {
  if (path.empty() || state_.workMode != kNothingOpen) return false;
  // Reads into the records only when the whole drawing is sound.
  if (plane ? !OpenPlaneDrawing(path, Settings(), Plane(), platform)
            : !OpenHeightDrawing(path, Settings(), Height(), platform))
    return false;
  Opened(path, plane ? kPlaneDrawing : kHeightDrawing);
  DrawingChanged();
  return true;
}

SaveResult CQuorvexPDoc::SaveDrawing(PlatformServices& platform, bool confirmed) {
  if (!state_.ShowsDrawing()) return SaveResult::Declined;
  const SaveResult saved = SaveGraphicData(CurrentDataPath(), Settings(), CurrentPlane(), CurrentHeight(),
                                           state_.drawingModified, platform, confirmed);
  // The marks go with the data they describe (a marks file that cannot be
  // written only forgets which texts were placed by hand).
  if (saved == SaveResult::Saved) WriteLabelMarks(CurrentDataPath(), marks_);
  return saved;
}

bool CQuorvexPDoc::ArrangeLabels(PlatformServices& platform, const std::function<void()>& redraw) {
  if (!state_.ShowsDrawing()) return false;
  DrawContext context;
  context.flagged = FlaggedObservations();
  ArrangeDrawing(CurrentDataPath(), Settings(), ShownNetwork(), CurrentPlane(), CurrentHeight(), marks_, context,
                 state_.drawingModified, platform, [&] {
                   DrawingChanged();
                   if (redraw) redraw();
                 });
  return true;
}

bool CQuorvexPDoc::ExportDrawing(PlatformServices& platform) {
  const std::string dataPath = CurrentDataPath();
  // A data file named like its .vec file is not overwritten by the export.
  if (!CheckNoInputOverwritten(DrawingExportFiles(dataPath), platform)) return false;
  if (!state_.ShowsDrawing()) return false;
  std::string vecPath;
  const bool written = ExportNetworkDrawing(dataPath, Settings(), ShownNetwork(), platform, &vecPath);
  // The view draws the sheet afresh after an export (and warns again of
  // curves it cannot fit).
  DrawingChanged();
  // The user is told when nothing was written, not left to look for the file.
  if (!written) {
    platform.ShowMessage(FormatText("矢量图形文件写入错误 !\r\n%s", DecodeUserTextToGbk(vecPath).c_str()),
                         Icon::Error);
  }
  return written;
}

bool CQuorvexPDoc::FitSheet(PlatformServices& platform) {
  SheetFitResult fit;
  if (CurrentPlane()) fit = FitSheetToNetwork(Settings(), *planeModel_, false);
  if (CurrentHeight()) fit = FitSheetToNetwork(Settings(), *heightModel_, false);
  if (!fit) return false;
  if (const std::string note = SheetFitMessage(fit); !note.empty()) platform.ShowMessage(note);
  // The fitted sheet belongs to the drawing data as much as a moved text:
  // closing asks to save it.
  state_.drawingModified = true;
  DrawingChanged();
  return true;
}

bool CQuorvexPDoc::AfterSettingsDialog(bool confirmed, bool fileDone) {
  if (confirmed && fileDone) WriteLabelMarks(CurrentDataPath(), marks_);
  if (confirmed) {
    // The records hold the confirmed values whether or not the file took
    // them; a written file holds everything, moved items included, and one
    // that could not be written leaves the drawing to be saved.
    state_.drawingModified = !fileDone;
    DrawingChanged();
    return true;
  }
  if (fileDone) DrawingChanged();
  return fileDone;
}

bool CQuorvexPDoc::EditSheetSettings(PlatformServices& platform, const SheetDialogRunner& runDialog) {
  PlaneNetwork* plane = CurrentPlane();
  HeightNetwork* height = CurrentHeight();
  if (!plane && !height) return false;
  // Reading the file back after a cancelled dialog would also drop texts and
  // points moved since the last save; with such changes the sheet as it was
  // before the dialog is put back instead.
  std::unique_ptr<SettingsBlock> before;
  if (state_.drawingModified) before = std::make_unique<SettingsBlock>(Settings());
  const bool confirmed = runDialog(Settings(), height != nullptr);
  if (!confirmed && before) {
    Settings() = *before;
    return false;
  }
  return AfterSettingsDialog(
      confirmed, FinishSettingsDialog(confirmed, CurrentDataPath(), Settings(), plane, height, platform));
}

// The dialogs change the model only when confirmed: a cancelled one with
// items moved since the last save leaves the record as it is (reading the
// file back would drop the moves).
bool CQuorvexPDoc::EditPlaneDisplay(PlatformServices& platform, const PlaneDisplayRunner& runDialog) {
  PlaneNetwork* plane = CurrentPlane();
  if (!plane) return false;
  PlaneModel model = *planeModel_;
  const bool confirmed = runDialog(model);
  if (!confirmed && state_.drawingModified) return false;
  return AfterSettingsDialog(
      confirmed, FinishPlaneDisplayDialog(confirmed, CurrentDataPath(), Settings(), model, *plane, platform));
}

bool CQuorvexPDoc::EditHeightDisplay(PlatformServices& platform, const HeightDisplayRunner& runDialog) {
  HeightNetwork* height = CurrentHeight();
  if (!height) return false;
  HeightModel model = *heightModel_;
  const bool confirmed = runDialog(model);
  if (!confirmed && state_.drawingModified) return false;
  return AfterSettingsDialog(
      confirmed, FinishHeightDisplayDialog(confirmed, CurrentDataPath(), Settings(), model, *height, platform));
}

void CQuorvexPDoc::CloseNetwork(PlatformServices& platform) {
  if (state_.drawingModified && state_.ShowsDrawing()) SaveDrawing(platform);
  state_.drawingModified = false;
  state_.toolState = kNoTool;
  state_.drawingReady = false;
  state_.workMode = kNothingOpen;
  SetTitle("");
  DrawingChanged();
}

bool CQuorvexPDoc::DrawSheet(EntitySink& sink, const SettingsBlock& settings, bool plane, const DrawContext& context,
                             MovableItemList* items) const {
  return plane ? DrawNetworkSheet(sink, settings, *planeModel_, context, items)
               : DrawNetworkSheet(sink, settings, *heightModel_, context, items);
}

DrawnNetwork CQuorvexPDoc::ShownNetwork() const {
  if (state_.ShowsPlaneDrawing()) return *planeModel_;
  if (state_.ShowsHeightDrawing()) return *heightModel_;
  return {};
}

void CQuorvexPDoc::DrawingChanged() {
  BuildModels();
  // The sheet shown carries the title of its diagram's kind and results, in
  // memory and in every file written from it until the next change.
  if (SheetGeometryOf(Settings())) UpdateDiagramTitle(Settings(), ShownNetwork());
  ++generation_;
  flagged_.Clear();
}

std::optional<GroundPoint> CQuorvexPDoc::StoreMovedItem(bool plane, const MovableItem& item, GroundPoint moved,
                                                        double m) {
  if (plane) {
    StoreMovedPlaneItem(*planeModel_, item, moved, m);
    PutPlaneLayout(*planeModel_, Plane());
    return StoredLabelValue(*planeModel_, item.kind, item.index);
  }
  StoreMovedHeightItem(*heightModel_, item, moved, m);
  PutHeightLayout(*heightModel_, Height());
  return StoredLabelValue(*heightModel_, item.kind, item.index);
}

void CQuorvexPDoc::StoreCurve(int observation, const GroundPoint interior[3]) {
  StoreCurveControlPoints(*heightModel_, observation, interior);
  PutHeightLayout(*heightModel_, Height());
}

void CQuorvexPDoc::MarkDrawingModified() {
  state_.drawingModified = true;
  DrawingChanged();
}

std::string CQuorvexPDoc::CurrentReportPath() const {
  const bool data = state_.workMode == kPlaneData || state_.workMode == kHeightData;
  return data ? ReportPathFor(state_.dataPath) : std::string();
}

std::vector<std::string> CQuorvexPDoc::DiagramItems() const {
  const bool plane = IsPlaneMode(state_.workMode);
  return DiagramSelectorItems(state_.workMode,
                              plane && PlaneSidesComputed(*planeModel_, state_.drawingReady));
}

std::vector<std::string> CQuorvexPDoc::PointNames() const {
  if (CurrentPlane()) return PlanePointNames(*planeModel_);
  if (CurrentHeight()) return HeightPointNames(*heightModel_);
  return {};
}

const FlaggedObservationSet* CQuorvexPDoc::FlaggedObservations() {
  // Plane kind 5 and height kind 1 show the observation values.
  const bool values = (CurrentPlane() && Plane().displayMode == 5) || (CurrentHeight() && Height().diagramKind == 1);
  const std::string dataPath = CurrentDataPath();
  if (!values || dataPath.empty()) return nullptr;
  return &flagged_.For(dataPath);
}

int CQuorvexPDoc::CurrentDiagramKind() const {
  if (const PlaneNetwork* plane = CurrentPlane()) return plane->displayMode;
  if (const HeightNetwork* height = CurrentHeight()) return height->diagramKind;
  return -1;
}

void CQuorvexPDoc::SelectDiagramKind(int kind) {
  const int count = static_cast<int>(DiagramItems().size());
  if (kind < 0 || kind >= count || kind == CurrentDiagramKind()) return;
  if (PlaneNetwork* plane = CurrentPlane()) plane->displayMode = kind;
  if (HeightNetwork* height = CurrentHeight()) height->diagramKind = kind;
  DrawingChanged();
}

}  // namespace qp
