// The height network input dialog ("高程控制网解算") without its window: the
// settings and the five table texts as the user typed them, the name list, and
// what the dialog does with them — filling from the record or the side file,
// reading and checking every line on confirmation, writing the raw-data
// report, keeping unfinished input on cancel. All texts are GBK; table texts
// use CR LF line ends as an edit box does.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "common/platform_services.h"
#include "common/rejected_entry.h"
#include "common/report_file.h"
#include "height/height_kinds.h"
#include "height/height_network.h"

namespace qp {

// The name the user knows a box by (UTF-8): its section in the input text.
const char* HeightBoxCaption(int box);

// Items of the name list's insertion combo.
enum HeightInsertMode : int {
  kHeightInsertNone = 0,
  // 1..5: known heights, approximate heights, precision pairs, height
  // differences, plane coordinates
  kHeightInsertDelete = 6,
};

struct HeightInputForm {
  int mode = kHeightAdjust;        // combo "解算方式"
  std::string networkName;         // edit "控制网名"
  int kind = kLevellingNetwork;    // combo "网形类别"
  std::string priorError;          // edit "验前误差" (mm)
  std::array<std::string, kHeightTextBoxCount> boxes;
  std::vector<std::string> nameList;  // the list box
  int insertMode = kHeightInsertNone;
  std::string newName;             // the edit beside "点名增加&A"
  std::string fileName;            // read-only "文件名称"
};

// Texts of the combos (GBK).
const std::vector<std::string>& HeightModeItems();
const std::vector<std::string>& HeightKindItems();
const std::vector<std::string>& HeightInsertModeItems();

// The side file path for a data file path: its last three characters become "HTP".
std::string HeightSidePath(const std::string& dataPath);

// Dialog start: a network entered through the dialog (derived marker
// negative) comes back from its side file when there is one; otherwise the
// settings and tables are filled from the record. The name list and the file
// name always come from the record.
void InitializeHeightForm(HeightInputForm& form, const HeightNetwork& net, const std::string& sidePath);

// Settings and tables from the record in the dialog's line formats.
void FillHeightFormFromRecord(HeightInputForm& form, const HeightNetwork& net);

// The side file (.HTP): a 184-byte header and the five texts.
bool WriteHeightSideFile(const std::string& path, const HeightInputForm& form);
bool ReadHeightSideFile(const std::string& path, HeightInputForm& form);

// "点名增加&A" and a click on list item `index`.
void AddNameToHeightList(HeightInputForm& form, HeightNetwork& net, PlatformServices& platform);
void ClickHeightNameListItem(HeightInputForm& form, HeightNetwork& net, int index);

// Reading on confirmation: the counts set to 0, the settings, then the five
// tables in the order known heights, approximate heights, precision pairs,
// height differences, plane coordinates. Shows the first failure's message
// and refuses, naming the table line; the record then holds what was read so far.
InputCheck ParseAll(const HeightInputForm& form, HeightNetwork& net, PlatformServices& platform);
InputCheck ParseHeightDifferences(const std::string& box, HeightNetwork& net, PlatformServices& platform);

// Where a confirmation writes: the raw-data report, the side file it removes,
// and the running section number of the network's reports.
struct HeightReportTarget {
  std::string reportPath;  // file-system path
  std::string sidePath;
  SectionNumber& section;
};

// "确定": asks "请确认继续 ...", then runs the confirmation. Accepted when the
// dialog closes as confirmed; otherwise with the table line refused, when one was.
InputCheck ConfirmHeightDialog(const HeightInputForm& form, HeightNetwork& net, PlatformServices& platform,
                               const HeightReportTarget& target);

// The confirmation without its question (the command-line driver's "yes"):
// a box that a blank line would cut short confirmed first (in the order of
// reading), parsing, the checks, the point list and approximate heights, the basic
// conditions, the raw-data report; the side file is then removed.
InputCheck RunHeightConfirmation(const HeightInputForm& form, HeightNetwork& net, PlatformServices& platform,
                                 const HeightReportTarget& target);

// "取消": asks "请确认放弃 ..."; on Yes writes the side file for a network
// entered through the dialog. True when the dialog closes as cancelled.
bool CancelHeightForm(const HeightInputForm& form, const HeightNetwork& net, PlatformServices& platform,
                      const std::string& sidePath);

}  // namespace qp
