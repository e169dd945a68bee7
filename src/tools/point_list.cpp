#include "tools/point_list.h"

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/numeric_field.h"
#include "common/table_line_reader.h"
#include "geodesy/gauss_projection.h"

namespace qp {
namespace {

// The text before the first comma and the text after it. The comma must not
// be the first byte.
bool SplitAtComma(std::string_view text, std::string_view& before, std::string_view& after) {
  const size_t comma = text.find(',');
  if (comma == std::string_view::npos || comma == 0) return false;
  before = text.substr(0, comma);
  after = text.substr(comma + 1);
  return true;
}

bool ReadCoordinate(std::string_view field, bool (*accept)(double), double& value) {
  if (field.empty() || !IsNumericField(field)) return false;
  value = LeadingNumber(field);
  return accept == nullptr || accept(value);
}

}  // namespace

InputCheck ReadPointList(std::string_view text, const PointListRules& rules, std::vector<ListedPoint>& points,
                         PlatformServices& platform) {
  points.clear();
  TableLineReader reader(text);
  while (static_cast<int>(points.size()) < rules.capacity && reader.Next()) {
    const std::string_view line = reader.Line();
    const int lineNumber = reader.LineNumber() + rules.firstLineNumber;
    const auto reject = [&](const char* utf8Format) {
      const std::string message = Gbk(rules.caption) + FormatText(utf8Format, lineNumber);
      return RejectEntry(platform, rules.box, reader.LineNumber(), message);
    };
    std::string_view name;
    std::string_view rest;
    std::string_view xText;
    std::string_view yText;
    if (line.size() < 3 || !SplitAtComma(line, name, rest) || !SplitAtComma(Trim(rest), xText, yText)) {
      return reject("第[%d]行数据不正确!");
    }
    ListedPoint point;
    point.name = std::string(Trim(name));
    if (!IsValidPointName(point.name)) {
      return reject("点第[%d]行点名[1--10个字符]不正确!");
    }
    if (!ReadCoordinate(Trim(xText), rules.acceptX, point.x)) {
      return reject("点第[%d]行X坐标不正确!");
    }
    if (!ReadCoordinate(Trim(yText), rules.acceptY, point.y)) {
      return reject("点第[%d]行Y坐标不正确!");
    }
    points.push_back(std::move(point));
  }
  if (static_cast<int>(points.size()) >= rules.capacity) {
    TableOverflowRecorder::NoteCut(text, static_cast<int>(points.size()), reader);
  }
  return Accepted();
}

std::string ResultLine(std::string_view name, double x, double y) {
  return Format("%-10s,%11.3f,%11.3f\r\n", std::string(name).c_str(), x, y);
}

std::string InputLine(std::string_view name, double x, double y) {
  return Format("%s,%.3f,%.3f\r\n", std::string(name).c_str(), x, y);
}

void StoreList(const std::vector<ListedPoint>& points, char (*names)[11], double* x, double* y, int first) {
  for (size_t i = 0; i < points.size(); ++i) {
    SetSlotText(names[first + i], points[i].name);
    x[first + i] = points[i].x;
    y[first + i] = points[i].y;
  }
}

std::string ListLines(std::string (*line)(std::string_view, double, double), const char (*names)[11],
                      const double* x, const double* y, int first, int last) {
  std::string text;
  for (int i = first; i <= last; ++i) text += line(SlotText(names[i]), x[i], y[i]);
  return text;
}

void OpenInTextEditor(PlatformServices& platform, const std::string& reportPath) {
  // Whether the editor starts is not checked: a missing editor is no error of
  // the computation.
  platform.Launch(kTextEditorProgram, {reportPath}, "");
}

const std::vector<std::string>& GeodeticSystemItems() {
  static const std::vector<std::string> items = {Gbk("54坐标系统"), Gbk("80坐标系统"), Gbk("2000坐标系统"),
                                                  Gbk("WGS84坐标系统")};
  return items;
}

int GeodeticSystemIndex(int selector) { return static_cast<int>(GeodeticSystemFromSelector(selector)); }

}  // namespace qp
