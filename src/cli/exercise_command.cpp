#include "cli/exercise_command.h"

#include <algorithm>
#include <array>
#include <iostream>

#include "cli/command_support.h"
#include "cli/input_text.h"
#include "cli/run_files.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/numeric_field.h"
#include "exercise/exercise_file.h"
#include "exercise/exercise_form.h"

namespace qp {
namespace {

struct GridSection {
  const char* name;  // UTF-8
  ExerciseGrid grid;
};

// The grids in the order of the input text.
constexpr std::array<GridSection, 6> kGridSections = {{
    {"系数", ExerciseGrid::Coefficients},
    {"常数项", ExerciseGrid::Constants},
    {"权", ExerciseGrid::Weights},
    {"限制条件", ExerciseGrid::Restrictions},
    {"限制条件常数项", ExerciseGrid::RestrictionConstants},
    {"权函数式", ExerciseGrid::WeightFunctions},
}};

// The method, and the count combos: a count as a number of at most two digits
// (n, t, r from 1; s, u, k from 0) or the combo's item text.
std::vector<SettingBinding> ExerciseSettingBindings(const ExerciseForm& form, ExerciseSelections& s) {
  return {
      ComboSetting("方式选择", form.ComboItems(ExerciseCombo::Method), &s.method),
      NumberedComboSetting("观测值个数", form.ComboItems(ExerciseCombo::Observations), 1, 2, &s.nIndex),
      NumberedComboSetting("未知数个数", form.ComboItems(ExerciseCombo::Unknowns), 1, 2, &s.tIndex),
      NumberedComboSetting("限制条件数", form.ComboItems(ExerciseCombo::Restrictions), 0, 2, &s.restrictionCount),
      NumberedComboSetting("条件式个数", form.ComboItems(ExerciseCombo::Conditions), 1, 2, &s.rIndex),
      NumberedComboSetting("附参数个数", form.ComboItems(ExerciseCombo::Parameters), 0, 2, &s.parameterCount),
      NumberedComboSetting("权函数式个数", form.ComboItems(ExerciseCombo::Functions), 0, 2, &s.functionCount),
  };
}

std::vector<SectionBinding> ExerciseSectionBindings(std::array<std::string, kGridSections.size()>& boxes) {
  std::vector<SectionBinding> bindings;
  for (size_t i = 0; i < kGridSections.size(); ++i) bindings.push_back({kGridSections[i].name, &boxes[i]});
  return bindings;
}

// One grid row a line, cells separated by commas; trailing empty cells and
// rows are left out.
std::string GridText(const ExerciseForm& form, ExerciseGrid grid) {
  std::vector<std::string> lines;
  for (int row = 0; row < form.Rows(grid); ++row) {
    int used = 0;
    for (int column = 0; column < form.Columns(grid); ++column) {
      if (!Trim(form.Cell(grid, row, column)).empty()) used = column + 1;
    }
    std::string line;
    for (int column = 0; column < used; ++column) {
      if (column > 0) line += ",";
      line += std::string(Trim(form.Cell(grid, row, column)));
    }
    lines.push_back(line);
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

// Puts a section's text into its grid. Every value must land in a cell the
// chosen method and counts use: a value the dialog could not take is an
// error naming its line rather than something silently dropped.
bool FillGrid(ExerciseForm& form, const GridSection& section, const std::string& box, int headerLine,
              std::string& error) {
  const ExerciseGrid grid = section.grid;
  for (int row = 0; row < form.Rows(grid); ++row) {
    for (int column = 0; column < form.Columns(grid); ++column) form.SetCell(grid, row, column, std::string());
  }
  const auto lines = SplitLines(box);  // blank lines have no values to place
  const std::string name = Utf8ToGbk(section.name);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int lineNo = headerLine + 1 + static_cast<int>(i);
    const int row = static_cast<int>(i);
    std::vector<std::string_view> cells;
    for (size_t start = 0;;) {
      const size_t comma = lines[i].find(',', start);
      cells.push_back(Trim(lines[i].substr(start, comma == std::string_view::npos ? std::string_view::npos
                                                                                 : comma - start)));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
    for (size_t j = 0; j < cells.size(); ++j) {
      if (cells[j].empty()) continue;
      const int column = static_cast<int>(j);
      if (!form.CellEnabled(grid, row, column)) {
        error = InputLineError(lineNo, FormatText("[%s]第%d行第%d个值不在所选方式和个数的范围内", name.c_str(),
                                                  row + 1, column + 1));
        return false;
      }
      form.SetCell(grid, row, column, std::string(cells[j]));
    }
  }
  return true;
}

// Fills the form from --input, when given.
bool ApplyInput(const CommandOptions& options, ExerciseForm& form, PlatformServices& platform) {
  ExerciseSelections selections = form.Selections();
  std::array<std::string, kGridSections.size()> boxes;
  const auto fillGrids = [&](const InputDocument& doc, std::string& error) {
    // The counts are taken together, so their order in the file does not matter.
    form.SetSelections(selections);
    for (size_t i = 0; i < kGridSections.size(); ++i) {
      const auto section = std::find_if(doc.sections.begin(), doc.sections.end(),
                                        [&](const InputSection& s) { return s.name == kGridSections[i].name; });
      const int headerLine = section == doc.sections.end() ? 0 : section->line;
      if (!FillGrid(form, kGridSections[i], boxes[i], headerLine, error)) return false;
    }
    return true;
  };
  return ApplyInputOption(options, ExerciseSettingBindings(form, selections), ExerciseSectionBindings(boxes), platform,
                          {}, fillGrids);
}

std::string DumpExerciseForm(const ExerciseForm& form) {
  ExerciseSelections selections = form.Selections();
  std::array<std::string, kGridSections.size()> boxes;
  for (size_t i = 0; i < kGridSections.size(); ++i) boxes[i] = GridText(form, kGridSections[i].grid);
  return DumpInputText(ExerciseSettingBindings(form, selections), ExerciseSectionBindings(boxes));
}

// What the chosen display entry shows: the grid with its two columns and the
// result fields, in the dialog's texts.
std::string ResultText(const ExerciseForm& form) {
  const auto items = form.ComboItems(ExerciseCombo::Display);
  std::string out = "# " + GbkToUtf8(items.at(form.ComboIndex(ExerciseCombo::Display))) + "\n";
  for (const auto& section : {kGridSections[0], kGridSections[1], kGridSections[2]}) {
    out += "[" + std::string(section.name) + "]\n" + TerminalText(GridText(form, section.grid)) + "\n";
  }
  static const char* const kFieldNames[kResultFieldCount] = {"权倒数1", "权倒数2", "权倒数3", "中误差1",
                                                             "中误差2", "中误差3", "MO",      "[PVV]"};
  out += "[结果]\n";
  for (int f = 0; f < kResultFieldCount; ++f) {
    const std::string value = GbkToUtf8(form.ResultField(f));
    out += std::string(kFieldNames[f]) + (value.empty() ? " =" : " = " + value) + "\n";
  }
  return out;
}

}  // namespace

int RunExerciseCommand(const CommandOptions& options, PlatformServices& platform) {
  const std::string& path = options.dataPath;
  if (!CheckNoInputOverwritten(DialogRunFiles(options), platform)) return 1;
  ExerciseFile record = DefaultExercise();
  auto load = [&] {
    const auto read = ReadExerciseFile(path);
    if (read) record = *read;
    return read.has_value();
  };
  auto create = [&] { return WriteExerciseFile(path, record); };
  if (!OpenDataFile(path, load, create, "平差数据文件错误 !", "平差数据文件写入错误 !", platform)) return 1;

  ExerciseForm form(platform);
  form.OpenWith(record, std::string());
  if (!ApplyInput(options, form, platform)) return 1;
  if (options.dump) {
    std::cout << DumpExerciseForm(form);
    return 0;
  }

  // "计算结果": the grid is read into the record, which is kept in the file
  // once it could be solved; a run that stops with a message leaves the file
  // as it was.
  form.ToggleComputing();
  const int lastEntry = static_cast<int>(form.ComboItems(ExerciseCombo::Display).size()) - 1;
  const int entry = std::min(options.show.value_or(lastEntry), lastEntry);
  if (!form.SelectCombo(ExerciseCombo::Display, entry)) return 1;
  if (!WriteExerciseFile(path, form.record())) {
    platform.ShowMessage(Gbk("平差数据文件写入错误 !"));
    return 1;
  }
  std::cout << ResultText(form);
  return 0;
}

}  // namespace qp
