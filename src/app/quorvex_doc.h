// The one document of a run: the plane and height network records with their
// backup copies, the drawing settings block, the report section number, the
// normal equations and the document state. It sequences the network
// commands; the main window only asks for file names, shows dialogs and
// refreshes itself. No toolkit here.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/document_state.h"
#include "common/platform_services.h"
#include "common/report_file.h"
#include "common/settings_block.h"
#include "height/height_network.h"
#include "height/height_workflow.h"
#include "plane/normal_equation_store.h"
#include "plane/plane_network.h"
#include "plane/plane_workflow.h"

namespace qp {

class CQuorvexPDoc {
 public:
  explicit CQuorvexPDoc(std::string programDirectory);

  DocumentState& State() { return state_; }
  const DocumentState& State() const { return state_; }
  PlaneNetwork& Plane() { return *plane_; }
  const PlaneNetwork& Plane() const { return *plane_; }
  HeightNetwork& Height() { return *height_; }
  const HeightNetwork& Height() const { return *height_; }
  SettingsBlock& Settings() { return *settings_; }

  // The document title after the title rule (UTF-8).
  const std::string& Title() const { return title_; }
  void SetTitle(std::string_view utf8Title);

  bool IsEnabled(int commandId) const { return IsCommandEnabled(state_, commandId); }

  // "P数据文件" once the file dialog has chosen `path`: reads the data file,
  // or creates a new network there after the new-file question. True when the
  // plane network is open (WorkMode 1) and its editing should follow.
  bool OpenPlaneDataFile(const std::string& path, PlatformServices& platform);

  // "P数据编辑": the edit-and-compute cycle with the input dialog shown by
  // `runDialog`. A computed network becomes a drawing that is ready. A
  // computation with slope distances (modes 2-4) replaces the height network
  // by the trigonometric one derived from it and writes it as "…BPT.NAH".
  PlaneEditResult EditPlane(PlatformServices& platform, const PlaneDialogRunner& runDialog);

  // "H数据文件" once the file dialog has chosen `path`, as for the plane
  // network; true when the height network is open (WorkMode 3).
  bool OpenHeightDataFile(const std::string& path, PlatformServices& platform);

  // "H数据编辑": the height network's edit-and-compute cycle.
  HeightEditResult EditHeight(PlatformServices& platform, const HeightDialogRunner& runDialog);

  // "关闭文档" (and the close at exit): back to WorkMode 0 with the
  // application title.
  void CloseNetwork();

  // The report of the open network (WorkMode 1: plane, 3: height); empty
  // when neither is open.
  std::string CurrentReportPath() const;

  // The dialog bar's selectors for the current work mode (UTF-8).
  std::vector<std::string> DiagramItems() const;
  std::vector<std::string> PointNames() const;
  // The current plane or height diagram kind; -1 in mode 0.
  int CurrentDiagramKind() const;
  void SelectDiagramKind(int kind);

 private:
  std::unique_ptr<PlaneNetwork> plane_;
  std::unique_ptr<PlaneNetwork> planeBackup_;
  std::unique_ptr<HeightNetwork> height_;
  std::unique_ptr<HeightNetwork> heightBackup_;
  std::unique_ptr<SettingsBlock> settings_;
  std::unique_ptr<NormalEquationStore> normals_;
  SectionNumber section_;
  DocumentState state_;
  std::string title_;
};

}  // namespace qp
