// The point lists of the coordinate tools: one "name, x, y" line per point in
// a multi-line edit, read by one rule shared by the three tools, and written
// back in the tools' line formats.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/platform_services.h"
#include "common/rejected_entry.h"

namespace qp {

struct ListedPoint {
  std::string name;  // GBK, 1 to 10 bytes
  double x = 0.0;
  double y = 0.0;
};

struct PointListRules {
  const char* caption = "";  // the list as its messages name it (UTF-8)
  int box = 0;              // the list's box in its dialog, for the refused line
  int firstLineNumber = 0;  // the number messages give the first line
  int capacity = 1024;      // lines after this many points are not read
  bool (*acceptX)(double) = nullptr;  // nullptr: any value
  bool (*acceptY)(double) = nullptr;
};

// Reads the edit's text: it is trimmed and ended with CR LF; lines end in
// CR LF, and an empty line (or one not ended by CR LF) ends the list without a
// message. Each line is "name, x, y" (a further comma stays in the y text);
// the name has 1 to 10 bytes, x and y are non-empty numeric fields. The first
// bad line shows its message ("<caption>第[n]行数据不正确!", or of its
// "点名", "X坐标" or "Y坐标") and is refused (RejectEntry).
InputCheck ReadPointList(std::string_view text, const PointListRules& rules, std::vector<ListedPoint>& points,
                         PlatformServices& platform);

// "%-10s,%11.3f,%11.3f\r\n": the result lines of the output edits.
std::string ResultLine(std::string_view name, double x, double y);
// "%s,%.3f,%.3f\r\n": the lines an input edit is filled with from a data file.
std::string InputLine(std::string_view name, double x, double y);

// The points put into slots first, first + 1, ... of a data file's list.
void StoreList(const std::vector<ListedPoint>& points, char (*names)[11], double* x, double* y, int first);
// The `line`s of slots first..last of a data file's list.
std::string ListLines(std::string (*line)(std::string_view, double, double), const char (*names)[11],
                      const double* x, const double* y, int first, int last);

// The program that shows a report (the system's text editor) and how it is
// started: the report path as its one argument.
inline constexpr const char* kTextEditorProgram = "xdg-open";
void OpenInTextEditor(PlatformServices& platform, const std::string& reportPath);

// Texts of the coordinate-system combos (GBK): "54坐标系统", "80坐标系统",
// "2000坐标系统", "WGS84坐标系统".
const std::vector<std::string>& GeodeticSystemItems();
// The item of GeodeticSystemItems a stored system selector stands for: 0 to 3,
// any other stored value the 1980 system, as files written before the 2000
// and WGS 84 systems read.
int GeodeticSystemIndex(int selector);

}  // namespace qp
