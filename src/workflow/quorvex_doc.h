// The one document of a run: its network session (the plane and height
// records with their backup copies, the drawing settings block, the report
// section number, the normal equations), the models the drawing reads and the
// document state. It sequences the network commands; the main window only
// asks for file names, shows dialogs and refreshes itself. No toolkit here.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "workflow/document_state.h"
#include "common/platform_services.h"
#include "common/report_file.h"
#include "common/settings_block.h"
#include "drawing/draw_context.h"
#include "drawing/drawing_export.h"
#include "workflow/drawing_files.h"
#include "drawing/label_marks.h"
#include "drawing/flagged_observations.h"
#include "drawing/movable_items.h"
#include "drawing/network_drawing.h"
#include "height/height_model.h"
#include "height/height_network.h"
#include "plane/plane_model.h"
#include "plane/plane_network.h"
#include "workflow/network_session.h"

namespace qp {

// The settings dialogs as the window shows them. Each returns true when the
// user confirmed; a confirmed dialog has stored its values itself (the map
// sheet dialog into `settings`, a display dialog into the network record).
// `heightMode` is set for the height network's sheet.
using SheetDialogRunner = std::function<bool(SettingsBlock& settings, bool heightMode)>;
using PlaneDisplayRunner = std::function<bool(PlaneModel&)>;
using HeightDisplayRunner = std::function<bool(HeightModel&)>;

class CQuorvexPDoc {
 public:
  explicit CQuorvexPDoc(std::string programDirectory);

  DocumentState& State() { return state_; }
  const DocumentState& State() const { return state_; }
  PlaneNetwork& Plane() { return *session_.plane; }
  const PlaneNetwork& Plane() const { return *session_.plane; }
  HeightNetwork& Height() { return *session_.height; }
  const HeightNetwork& Height() const { return *session_.height; }
  // The networks as the drawing reads them: built from the records whenever
  // these are read, recomputed or changed by a command (DrawingChanged); the
  // move tools change their layout and put it back into the records at once.
  const PlaneModel& PlaneNetworkModel() const { return *planeModel_; }
  const HeightModel& HeightNetworkModel() const { return *heightModel_; }
  SettingsBlock& Settings() { return *session_.settings; }
  const SettingsBlock& Settings() const { return *session_.settings; }

  // The document title after the title rule (UTF-8).
  const std::string& Title() const { return title_; }
  void SetTitle(std::string_view utf8Title);

  // The command table's rule, with the sheet confirmation "距离丈量" needs.
  // For the view commands the view adds its own conditions.
  bool IsEnabled(int commandId) const;

  // "P数据文件" / "H数据文件" (`plane` or not) once the file dialog has
  // chosen `path`: reads the data file, or creates a new network there after
  // the new-file question. True when the network is open (WorkMode 1 / 3)
  // and its editing should follow.
  bool OpenDataFile(const std::string& path, bool plane, PlatformServices& platform);

  // "P数据编辑": the edit-and-compute cycle with the input dialog shown by
  // `runDialog`. A computed network becomes a drawing that is ready. A
  // computation with slope distances (modes 2-4) replaces the height network
  // by the trigonometric one derived from it and writes it as "…BPT.NAH".
  NetworkEditResult EditPlane(PlatformServices& platform, const PlaneDialogRunner& runDialog);

  // "H数据编辑": the height network's edit-and-compute cycle.
  NetworkEditResult EditHeight(PlatformServices& platform, const HeightDialogRunner& runDialog);

  // What the last computation of the open network did, with its main
  // figures and the global test's verdict its statistics report gave
  // (UTF-8); for the status bar right after "P数据编辑" / "H数据编辑" computed.
  std::string ComputationSummary() const;

  // "P图形文件" / "H图形文件" once the file dialog has chosen `path`: the
  // drawing is read without computing it (WorkMode 2 / 4, the drawing ready,
  // the title and the paths taken from `path`); a plane one then runs the
  // near-pair warning, which may switch to the partial relative ellipses. A
  // file that cannot be read or drawn is reported and nothing changes. True
  // when the drawing is open.
  bool OpenDrawingFile(const std::string& path, bool plane, PlatformServices& platform);

  // "保存数据": after "请确认保存当前图形数据..." (not asked again when
  // `confirmed`) the current network's data file is written and the modified
  // flag cleared.
  SaveResult SaveDrawing(PlatformServices& platform, bool confirmed = false);

  // "注记整理": the movable texts of the drawing shown are arranged, the view
  // redraws (`redraw`), and the user keeps the result (written as saving
  // writes it) or has the drawing back as it was. False when nothing is shown.
  bool ArrangeLabels(PlatformServices& platform, const std::function<void()>& redraw);

  // The texts the user placed by hand: read beside the data file when a
  // network opens, written beside it whenever the data file is written from
  // the drawing (saving, the settings dialogs, arranging).
  LabelMarks& Marks() { return marks_; }
  const LabelMarks& Marks() const { return marks_; }

  // "P导出图形" / "H导出图形" by the work mode: the sheet as "….vec" beside
  // the data file. A file that cannot be written is reported. True when written.
  bool ExportDrawing(PlatformServices& platform);

  // "边框匹配": the sheet fitted to the current network keeping its scale
  // (a larger standard one, with a message, when it would overrun the
  // paper); the new canvas size is in Settings(). True when the view must
  // redraw.
  bool FitSheet(PlatformServices& platform);

  // "P图幅设置" / "H图幅设置": `runDialog` shows the map sheet dialog on
  // Settings(). Confirmed, the data file is written with the new settings;
  // cancelled, the file is read back. True when the view must redraw.
  bool EditSheetSettings(PlatformServices& platform, const SheetDialogRunner& runDialog);
  // "P显示设置" / "H显示设置": the display dialog on the network record, then
  // the same write-or-reread (the plane ellipse scale is recomputed first).
  bool EditPlaneDisplay(PlatformServices& platform, const PlaneDisplayRunner& runDialog);
  bool EditHeightDisplay(PlatformServices& platform, const HeightDisplayRunner& runDialog);

  // "关闭文档" (and the close at exit): a drawing with moved texts or points
  // is saved first (with the save question); then back to WorkMode 0 with
  // the application title.
  void CloseNetwork(PlatformServices& platform);

  // The sheet of the open network (the plane one when `plane`, else the
  // height one) with its diagram in `sink`, the movable items listed in
  // `items`; false when the sheet cannot be drawn.
  bool DrawSheet(EntitySink& sink, const SettingsBlock& settings, bool plane, const DrawContext& context,
                 MovableItemList* items = nullptr) const;
  // A move tool put `item` down with its reference at `moved` (`m` ground
  // metres per paper mm): the network's layout takes it. Gives the value now
  // stored for the item, nothing for an item the network does not hold.
  std::optional<GroundPoint> StoreMovedItem(bool plane, const MovableItem& item, GroundPoint moved, double m);
  // The vertex editor's three interior control points of a height curve.
  void StoreCurve(int observation, const GroundPoint interior[3]);

  // The view moved a text or a point (or entered a move tool): the drawing
  // data differ from the data file. Also counts as a change of the drawing.
  void MarkDrawingModified();
  // Changes whenever the drawing must be built again (computation, opening,
  // settings, diagram kind, fitting, moved items, closing): the view rebuilds
  // what it keeps of the drawing when this differs from what it saw.
  uint64_t DrawingGeneration() const { return generation_; }
  bool ShowsPlaneDrawing() const { return state_.ShowsPlaneDrawing(); }
  bool ShowsHeightDrawing() const { return state_.ShowsHeightDrawing(); }

  // The data file of the open network (modes 1/2: plane, 3/4: height); empty
  // when nothing is open.
  std::string CurrentDataPath() const;
  // The report of the open network (WorkMode 1: plane, 3: height); empty
  // when neither is open.
  std::string CurrentReportPath() const;

  // The observations the statistics report beside the open network's data
  // file flags, drawn in red on the diagrams of observation values (plane
  // kind 5, height kind 1); null for the other kinds and when nothing is
  // open. The report is read again only after a change of the drawing or of
  // the report itself, so the view may ask at every rebuild (a new zoom).
  const FlaggedObservationSet* FlaggedObservations();

  // The dialog bar's selectors for the current work mode (UTF-8).
  std::vector<std::string> DiagramItems() const;
  std::vector<std::string> PointNames() const;
  // The diagram kind of the open network's record (plane display mode,
  // height diagram kind); -1 in mode 0. Selector entry i is kind i.
  int CurrentDiagramKind() const;
  // The selector chose `kind`: it goes into the record in memory only (the
  // data file is written by saving and by the settings dialogs). Kinds the
  // selector does not list are ignored.
  void SelectDiagramKind(int kind);

 private:
  NetworkSession session_;
  std::unique_ptr<PlaneModel> planeModel_;
  std::unique_ptr<HeightModel> heightModel_;
  DocumentState state_;
  std::string title_;
  uint64_t generation_ = 0;
  FlaggedObservationCache flagged_;
  LabelMarks marks_;

  // The open network's record for the drawing functions: one of the two is
  // set in modes 1-4, neither in mode 0.
  PlaneNetwork* CurrentPlane() const;
  HeightNetwork* CurrentHeight() const;
  // The network of `workMode` was read from `path`: the paths, the marks, the
  // title and the work mode follow.
  void Opened(const std::string& path, int workMode);
  // A settings dialog ended: `finish` wrote or read back the data file.
  bool AfterSettingsDialog(bool confirmed, bool fileDone);
  // The models follow the records (read, recomputed, changed by a command).
  void BuildModels();
  // The models are built again and the title of the sheet shown follows
  // them; the flags are read again too: a computation may have rewritten the
  // report within the file system's time resolution.
  void DrawingChanged();
  // The model of the drawing shown, neither when none is.
  DrawnNetwork ShownNetwork() const;
};

}  // namespace qp
