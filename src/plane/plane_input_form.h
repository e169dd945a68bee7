// The plane network input dialog ("平面控制网解算") without its window: the
// settings and the ten table texts as the user typed them, the name list, and
// what the dialog does with them — filling from the record or the draft file,
// reading and checking every line on confirmation, writing the draft on cancel.
// All texts are GBK; table texts use CR LF line ends as an edit box does.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "common/platform_services.h"
#include "common/rejected_entry.h"
#include "plane/plane_network.h"

namespace qp {

// The ten table text boxes, in the order of the draft file.
enum PlaneTextBox : int {
  kKnownPointsBox = 0,
  kApproxPointsBox,
  kPrecisionPairsBox,
  kKnownHeightsBox,
  kDirectionsBox,
  kFixedAzimuthsBox,
  kWeightedAzimuthsBox,
  kDistanceLinesBox,
  kFixedDistancesBox,
  kWeightedDistancesBox,
  kPlaneTextBoxCount
};

// The name the user knows a box by (UTF-8): its section in the input text.
const char* PlaneBoxCaption(int box);

// Items of the name list's insert-mode combo.
enum PlaneInsertMode : int {
  kInsertNone = 0,
  // 1..10: known points, approximate points, precision end-points, directions,
  // fixed azimuths, weighted azimuths, distance lines, fixed distances,
  // weighted distances, known heights
  kInsertDelete = 11,
};

struct PlaneInputForm {
  int calcMode = kReducedObservations;  // combo "解算方式"
  int closureMode = 1;                  // combo "闭 合 差"
  std::string networkName;              // edit "控制网名"
  std::string directionError;           // the three "定权元素" edits
  std::string distanceFixedError;
  std::string distanceScaleError;
  std::string yOffset;                  // "Y坐标平移"
  std::string projectionHeight;         // "投影面高程"
  std::string refraction;               // "折光系数"
  int verticalAngleKind = 0;            // 0 "竖直角", 1 "天顶距"
  int distanceColumnOrder = 0;
  std::array<std::string, kPlaneTextBoxCount> boxes;
  std::vector<std::string> nameList;    // the list box
  int insertMode = kInsertNone;
  std::string newName;                  // the edit beside "点名增加&A"
  std::string fileName;                 // read-only "文件名称"
  bool restoredFromDraft = false;
};

// Which controls accept input for the current calculation mode.
struct PlaneFormEnabling {
  bool refraction = false;
  bool knownHeights = false;
  bool verticalAngleKind = false;
  bool distanceColumnOrder = false;
  bool yOffset = false;
  bool projectionHeight = false;
};
PlaneFormEnabling PlaneFormEnablingFor(int calcMode, bool restoredFromDraft);

// Texts shown by the combos and the captions/tooltips of the dialog (GBK).
const std::vector<std::string>& PlaneCalcModeItems();
const std::vector<std::string>& PlaneClosureModeItems();
const std::vector<std::string>& VerticalAngleKindItems();
const std::vector<std::string>& DistanceColumnOrderItems();
const std::vector<std::string>& PlaneInsertModeItems();

// The draft file path for a report path: its last three characters become "PTP".
std::string PlaneDraftPath(const std::string& reportPath);

// Dialog initialisation: from the draft when the record was never computed
// (falling back to the record's settings with empty tables), otherwise from the
// record; the name list from the record; the file name from the record.
void InitializePlaneForm(PlaneInputForm& form, const PlaneNetwork& net, const std::string& draftPath);

// Fills settings and tables from the record in the dialog's line formats
// (mode 4 forces Y offset 500000.0 and projection height 0.0).
void FillPlaneFormFromRecord(PlaneInputForm& form, const PlaneNetwork& net);

// The draft file (.PTP): a 184-byte header and the ten texts.
bool WritePlaneDraft(const std::string& path, const PlaneInputForm& form);
bool ReadPlaneDraft(const std::string& path, PlaneInputForm& form);

// Changing the calculation-mode combo stores the mode into the record at once.
void SelectPlaneCalcMode(PlaneInputForm& form, PlaneNetwork& net, int calcMode);

// "点名增加&A" and a click on list item `index`.
void AddNameToPlaneList(PlaneInputForm& form, PlaneNetwork& net, PlatformServices& platform);
void ClickPlaneNameListItem(PlaneInputForm& form, PlaneNetwork& net, int index);

// Reads the settings and every table into the record, forms the reduced
// distances and runs the duplicate checks. Shows the first failure's message
// and refuses, naming the table line when it is about one. The record may be
// partly refilled on failure.
InputCheck ReadPlaneInput(const PlaneInputForm& form, PlaneNetwork& net, PlatformServices& platform);

// The steps of the confirmation that follow reading the input (point list,
// approximate coordinates, report ...). Returns false to keep the dialog open.
using PlaneConfirmationSteps = std::function<bool(PlaneNetwork&, PlatformServices&)>;

// "确定": asks "请确认继续 ...", reads the input, runs `laterSteps`, deletes the
// draft. Accepted when the dialog closes as confirmed; otherwise with the
// table line refused, when one was.
InputCheck ConfirmPlaneForm(const PlaneInputForm& form, PlaneNetwork& net, PlatformServices& platform,
                            const std::string& draftPath, const PlaneConfirmationSteps& laterSteps);

// The confirmation without its question (the command-line driver's "yes").
// A box that a blank line would cut short is confirmed first, box by box in
// the order of reading.
InputCheck RunPlaneConfirmation(const PlaneInputForm& form, PlaneNetwork& net, PlatformServices& platform,
                                const std::string& draftPath, const PlaneConfirmationSteps& laterSteps);

// "取消": asks "请确认放弃 ..."; on Yes writes the draft when the record was
// never computed. True when the dialog closes as cancelled.
bool CancelPlaneForm(const PlaneInputForm& form, const PlaneNetwork& net, PlatformServices& platform,
                     const std::string& draftPath);

}  // namespace qp
