#include "exercise/exercise_form.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/numeric_field.h"

namespace qp {
namespace {

constexpr int kGrid = kExerciseGridSize;

std::vector<std::string> NumberedItems(const char* utf8Format, int first, int last) {
  std::vector<std::string> items;
  for (int i = first; i <= last; ++i) items.push_back(FormatText(utf8Format, i));
  return items;
}

const std::vector<std::string>& MethodItems() {
  static const std::vector<std::string> items = {Gbk("法方程解算"), Gbk("条件平差"), Gbk("间接平差")};
  return items;
}

const std::vector<std::string>& DisplayItemsFor(int method) {
  static const std::vector<std::string> normal = {Gbk("原始数据"), Gbk("法方程系数逆阵和未知数的解")};
  static const std::vector<std::string> adjustment = {Gbk("原始数据"), Gbk("法方程系数和常数项"),
                                                      Gbk("法方程系数逆阵及未知数的解和改正数")};
  return method == kNormalEquations ? normal : adjustment;
}

bool IsNegativeZeroText(const std::string& text) {
  return text.size() > 1 && text[0] == '-' &&
         std::all_of(text.begin() + 1, text.end(), [](char c) { return c == '0' || c == '.'; });
}

// Cell texts: "%.4f" with a zero as an empty cell, as the raw data are shown
// (more digits only when four decimals would change the stored value), and
// the "%.4f" / "%.2f" of the results with a negative zero written as zero.
std::string FixedText(double value, int decimals) {
  std::string text = Format("%.*f", decimals, value);
  if (IsNegativeZeroText(text)) text.erase(0, 1);
  return text;
}

std::string RawCellText(double value) {
  if (value == 0.0 || !std::isfinite(value)) return std::string();
  std::string text = FixedText(value, 4);
  if (LeadingNumber(text) == value) return text;
  // Four decimals would round the stored value the next time the grid is
  // read; the shortest text that reads back exactly is shown instead.
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// The grids, and the record's value behind a cell of one.
constexpr ExerciseGrid kGrids[] = {ExerciseGrid::Coefficients, ExerciseGrid::Constants, ExerciseGrid::Weights,
                                   ExerciseGrid::Restrictions, ExerciseGrid::RestrictionConstants,
                                   ExerciseGrid::WeightFunctions};

double& RecordCell(ExerciseFile& r, ExerciseGrid grid, int row, int column) {
  switch (grid) {
    case ExerciseGrid::Coefficients: return r.coefficients[row][column];
    case ExerciseGrid::Constants: return r.constants[row];
    case ExerciseGrid::Weights: return r.weights[row];
    case ExerciseGrid::Restrictions: return r.restrictions[row][column];
    case ExerciseGrid::RestrictionConstants: return r.restrictionConstants[row];
    case ExerciseGrid::WeightFunctions: return r.weightFunctions[row][column];
  }
  return r.constants[0];  // not reached
}

}  // namespace

ExerciseForm::ExerciseForm(PlatformServices& platform) : platform_(platform), record_(DefaultExercise()) {
  ResizeMainGrid(kGrid);
}

// --- Opening and closing ---------------------------------------------------

void ExerciseForm::Open(const std::string& statePath) {
  statePath_ = statePath;
  std::optional<ExerciseFile> record;
  if (!statePath.empty()) record = ReadExerciseFile(statePath);
  if (!record) {
    record = DefaultExercise();
    WriteState(*record);
  }
  SetRecord(*record);
}

void ExerciseForm::OpenWith(const ExerciseFile& record, const std::string& statePath) {
  statePath_ = statePath;
  SetRecord(record);
}

bool ExerciseForm::OpenFile(const std::string& path) {
  if (computing_) return false;
  const auto record = ReadExerciseFile(path);
  if (!record) return ShowAndFail(platform_, Gbk("平差数据文件错误 !"));
  SetRecord(*record);
  return true;
}

bool ExerciseForm::SaveFile(const std::string& path) {
  if (computing_) return false;
  ReadGrid();
  return WriteExerciseFile(path, record_);
}

bool ExerciseForm::Exit() {
  if (computing_) return false;
  if (!ConfirmYesNoDefaultNo(platform_, Gbk("请确认保存数据并退出 ..."))) return false;
  ReadGrid();
  WriteState(record_);
  return true;
}

bool ExerciseForm::Escape() { return ConfirmYesNoDefaultNo(platform_, Gbk("请确认退出 ...")); }

void ExerciseForm::SetRecord(const ExerciseFile& record) {
  record_ = record;
  computing_ = false;
  ApplyMethodSetup();
  ShowRawData();
}

void ExerciseForm::WriteState(const ExerciseFile& record) {
  // A state file that cannot be written is not worth a message.
  if (!statePath_.empty()) WriteExerciseFile(statePath_, record);
}

// --- Combos ------------------------------------------------------------------

std::vector<std::string> ExerciseForm::ComboItems(ExerciseCombo combo) const {
  switch (combo) {
    case ExerciseCombo::Method: return MethodItems();
    case ExerciseCombo::Observations: return NumberedItems("n=%d", 1, kGrid);
    case ExerciseCombo::Unknowns: return NumberedItems("t=%d", 1, kGrid);
    case ExerciseCombo::Restrictions: return NumberedItems("s=%d", 0, kMaxRestrictions);
    case ExerciseCombo::Conditions: return NumberedItems("r=%d", 1, kGrid);
    case ExerciseCombo::Parameters: return NumberedItems("u=%d", 0, kMaxParameters);
    case ExerciseCombo::Functions: return NumberedItems("%d个权函数式", 0, kMaxWeightFunctions);
    case ExerciseCombo::Display: return DisplayItemsFor(record_.method);
  }
  return {};
}

int ExerciseForm::ComboIndex(ExerciseCombo combo) const {
  switch (combo) {
    case ExerciseCombo::Method: return record_.method;
    case ExerciseCombo::Observations: return record_.nIndex;
    case ExerciseCombo::Unknowns: return record_.tIndex;
    case ExerciseCombo::Restrictions: return record_.restrictionCount;
    case ExerciseCombo::Conditions: return record_.rIndex;
    case ExerciseCombo::Parameters: return record_.parameterCount;
    case ExerciseCombo::Functions: return record_.functionCount;
    case ExerciseCombo::Display: return display_;
  }
  return 0;
}

bool ExerciseForm::ComboEnabled(ExerciseCombo combo) const {
  if (combo == ExerciseCombo::Display) return computing_;
  if (computing_) return false;
  const int method = record_.method;
  switch (combo) {
    case ExerciseCombo::Method: return true;
    case ExerciseCombo::Observations: return method != kNormalEquations;
    case ExerciseCombo::Unknowns: return method != kConditionAdjustment;
    case ExerciseCombo::Restrictions: return method == kIndirectAdjustment;
    case ExerciseCombo::Conditions: return method == kConditionAdjustment;
    case ExerciseCombo::Parameters: return method == kConditionAdjustment;
    case ExerciseCombo::Functions: return method != kNormalEquations;
    case ExerciseCombo::Display: break;
  }
  return false;
}

bool ExerciseForm::SelectCombo(ExerciseCombo combo, int index) {
  if (!ComboEnabled(combo)) return false;
  if (index < 0 || index >= static_cast<int>(ComboItems(combo).size())) return false;
  if (combo == ExerciseCombo::Display) {
    if (index == 0) {
      display_ = 0;
      ShowRawData();
      return true;
    }
    const ExerciseOutcome outcome = SolveExercise(record_);
    if (!outcome.solution) {
      // The grid stays as it was.
      if (!outcome.message.empty()) platform_.ShowMessage(outcome.message);
      return false;
    }
    display_ = index;
    ShowSolution(*outcome.solution, index);
    return true;
  }
  ExerciseSelections s = Selections();
  switch (combo) {
    case ExerciseCombo::Method: s.method = index; break;
    case ExerciseCombo::Observations: s.nIndex = index; break;
    case ExerciseCombo::Unknowns: s.tIndex = index; break;
    case ExerciseCombo::Restrictions: s.restrictionCount = index; break;
    case ExerciseCombo::Conditions: s.rIndex = index; break;
    case ExerciseCombo::Parameters: s.parameterCount = index; break;
    case ExerciseCombo::Functions: s.functionCount = index; break;
    case ExerciseCombo::Display: break;
  }
  SetSelections(s);
  return true;
}

ExerciseSelections ExerciseForm::Selections() const {
  return {record_.method, record_.nIndex, record_.tIndex, record_.restrictionCount,
          record_.rIndex, record_.parameterCount, record_.functionCount};
}

void ExerciseForm::SetSelections(const ExerciseSelections& s) {
  if (computing_) return;
  record_.method = s.method;
  record_.nIndex = s.nIndex;
  record_.tIndex = s.tIndex;
  record_.restrictionCount = s.restrictionCount;
  record_.rIndex = s.rIndex;
  record_.parameterCount = s.parameterCount;
  record_.functionCount = s.functionCount;
  ApplyMethodSetup();
}

// The counts follow from each other: a condition adjustment has t = n − r
// and fewer parameters than conditions, an indirect adjustment r = n − t and
// at most eleven unknowns and restrictions together.
void ExerciseForm::ApplyMethodSetup() {
  ExerciseFile& r = record_;
  r.method = std::clamp<int32_t>(r.method, kNormalEquations, kIndirectAdjustment);
  r.nIndex = std::clamp(r.nIndex, 0, kGrid - 1);
  r.tIndex = std::clamp(r.tIndex, 0, kGrid - 1);
  r.rIndex = std::clamp(r.rIndex, 0, kGrid - 1);
  r.restrictionCount = std::clamp(r.restrictionCount, 0, kMaxRestrictions);
  r.parameterCount = std::clamp(r.parameterCount, 0, kMaxParameters);
  r.functionCount = std::clamp(r.functionCount, 0, kMaxWeightFunctions);
  switch (r.method) {
    case kConditionAdjustment:
      r.rIndex = std::min(r.rIndex, r.nIndex);
      r.tIndex = r.nIndex - r.rIndex;
      if (r.parameterCount > r.rIndex || r.parameterCount + r.nIndex > kGrid) r.parameterCount = 0;
      break;
    case kIndirectAdjustment:
      r.tIndex = std::min(r.tIndex, r.nIndex);
      r.rIndex = r.nIndex - r.tIndex;
      if (r.restrictionCount + r.tIndex > kGrid) r.restrictionCount = kGrid - r.tIndex;
      break;
    default:
      break;
  }
  display_ = 0;
}

// --- Buttons -----------------------------------------------------------------

void ExerciseForm::ToggleComputing() {
  if (!ComputeEnabled()) return;
  if (!computing_) {
    ReadGrid();
    WriteState(record_);
    computing_ = true;
    display_ = 0;
  } else {
    computing_ = false;
    ApplyMethodSetup();
  }
}

std::string ExerciseForm::ComputeCaption() const { return computing_ ? Gbk("重新设置") : Gbk("计算结果"); }

std::string ExerciseForm::Hint() const {
  if (!computing_) return {};
  const std::string blanks = blankCells_ > 0 ? FormatText("(%d个空白单元格按0计算, 空白的权按1) ", blankCells_) : "";
  return Gbk("已计算") + blanks + Gbk(": 用\"显示选择\"在表格中查看法方程和解, 权倒数和中误差在下方; \"重新设置\"修改输入");
}

// --- Grids ---------------------------------------------------------------------

int ExerciseForm::Rows(ExerciseGrid grid) const {
  switch (grid) {
    case ExerciseGrid::Coefficients:
    case ExerciseGrid::Constants:
    case ExerciseGrid::Weights: return gridSize_;
    case ExerciseGrid::Restrictions:
    case ExerciseGrid::RestrictionConstants: return kMaxRestrictions;
    case ExerciseGrid::WeightFunctions: return kMaxWeightFunctions;
  }
  return 0;
}

int ExerciseForm::Columns(ExerciseGrid grid) const {
  switch (grid) {
    case ExerciseGrid::Coefficients: return gridSize_;
    case ExerciseGrid::Restrictions:
    case ExerciseGrid::WeightFunctions: return kGrid;
    default: return 1;
  }
}

std::string& ExerciseForm::CellRef(ExerciseGrid grid, int row, int column) {
  switch (grid) {
    case ExerciseGrid::Coefficients: return coefficients_[row * gridSize_ + column];
    case ExerciseGrid::Constants: return constants_[row];
    case ExerciseGrid::Weights: return weights_[row];
    case ExerciseGrid::Restrictions: return restrictions_[row * kGrid + column];
    case ExerciseGrid::RestrictionConstants: return restrictionConstants_[row];
    case ExerciseGrid::WeightFunctions: return functions_[row * kGrid + column];
  }
  return results_[0];  // not reached
}

const std::string& ExerciseForm::Cell(ExerciseGrid grid, int row, int column) const {
  static const std::string empty;
  if (row < 0 || column < 0 || row >= Rows(grid) || column >= Columns(grid)) return empty;
  return const_cast<ExerciseForm*>(this)->CellRef(grid, row, column);
}

void ExerciseForm::SetCell(ExerciseGrid grid, int row, int column, std::string text) {
  if (row < 0 || column < 0 || row >= Rows(grid) || column >= Columns(grid)) return;
  CellRef(grid, row, column) = std::move(text);
}

bool ExerciseForm::CellEnabled(ExerciseGrid grid, int row, int column) const {
  if (row < 0 || column < 0 || row >= Rows(grid) || column >= Columns(grid)) return false;
  const ExerciseFile& r = record_;
  switch (r.method) {
    case kNormalEquations:
      // Only the lower triangle: the matrix is symmetric.
      if (grid == ExerciseGrid::Coefficients) return row <= r.tIndex && column <= row;
      return grid == ExerciseGrid::Constants && row <= r.tIndex;
    case kConditionAdjustment:
      switch (grid) {
        case ExerciseGrid::Coefficients: return row <= r.rIndex && column <= r.nIndex;
        case ExerciseGrid::Constants: return row <= r.rIndex;
        case ExerciseGrid::Weights: return row <= r.nIndex;
        case ExerciseGrid::WeightFunctions: return row < r.functionCount && column <= r.nIndex;
        default: return false;
      }
    case kIndirectAdjustment:
      switch (grid) {
        case ExerciseGrid::Coefficients: return row <= r.nIndex && column <= r.tIndex;
        case ExerciseGrid::Constants:
        case ExerciseGrid::Weights: return row <= r.nIndex;
        case ExerciseGrid::Restrictions: return row < r.restrictionCount && column <= r.tIndex;
        case ExerciseGrid::RestrictionConstants: return row < r.restrictionCount;
        case ExerciseGrid::WeightFunctions: return row < r.functionCount && column <= r.tIndex;
      }
  }
  return false;
}

std::string ExerciseForm::RowLabel(int row) const {
  if (record_.method == kIndirectAdjustment && row >= 0 && row <= record_.nIndex) return Format("V%d", row + 1);
  return std::string();
}

std::string ExerciseForm::ColumnLabel(int column) const {
  if (column < 0) return std::string();
  const ExerciseFile& r = record_;
  switch (r.method) {
    case kNormalEquations:
      if (column <= r.tIndex) return Format("X%d/K%d", column + 1, column + 1);
      break;
    case kConditionAdjustment: {
      // The last u columns hold the coefficients of the parameters.
      const int observations = r.nIndex + 1 - r.parameterCount;
      if (column < observations) return Format("V%d", column + 1);
      if (column <= r.nIndex) return Format("X%d", column - observations + 1);
      break;
    }
    case kIndirectAdjustment:
      if (column <= r.tIndex) return Format("X%d", column + 1);
      break;
  }
  return std::string();
}

std::string ExerciseForm::FunctionLabel(int row) const {
  if (record_.method != kNormalEquations && row >= 0 && row < record_.functionCount) {
    return FormatText("Ф%d", row + 1);
  }
  return std::string();
}

// --- Grid and record -----------------------------------------------------------

void ExerciseForm::ResizeMainGrid(int size) {
  gridSize_ = size;
  coefficients_.assign(static_cast<size_t>(size) * size, std::string());
  constants_.assign(size, std::string());
  weights_.assign(size, std::string());
  results_.fill(std::string());
}

void ExerciseForm::ReadGrid() {
  ExerciseFile& r = record_;
  std::memset(r.coefficients, 0, sizeof r.coefficients);
  std::memset(r.constants, 0, sizeof r.constants);
  std::memset(r.weights, 0, sizeof r.weights);
  std::memset(r.restrictions, 0, sizeof r.restrictions);
  std::memset(r.restrictionConstants, 0, sizeof r.restrictionConstants);
  std::memset(r.weightFunctions, 0, sizeof r.weightFunctions);
  // A blank cell counts as 0 (a blank weight as 1); the hint says how many
  // were, so that a forgotten entry does not pass unnoticed.
  blankCells_ = 0;
  const auto value = [this](ExerciseGrid grid, int row, int column) {
    const std::string& cell = Cell(grid, row, column);
    if (Trim(cell).empty()) ++blankCells_;
    return LeadingNumber(cell);
  };
  for (const ExerciseGrid grid : kGrids) {
    for (int i = 0; i < kGrid; ++i) {
      for (int j = 0; j < kGrid; ++j) {
        if (!CellEnabled(grid, i, j)) continue;
        const double v = value(grid, i, j);
        RecordCell(r, grid, i, j) = grid == ExerciseGrid::Weights && std::fabs(v) < 0.005 ? 1.0 : v;
        // The normal matrix is entered as its lower triangle.
        if (grid == ExerciseGrid::Coefficients && r.method == kNormalEquations) r.coefficients[j][i] = v;
      }
    }
  }
}

void ExerciseForm::ShowRawData() {
  ResizeMainGrid(kGrid);
  restrictions_.fill(std::string());
  restrictionConstants_.fill(std::string());
  functions_.fill(std::string());
  for (const ExerciseGrid grid : kGrids) {
    for (int i = 0; i < kGrid; ++i) {
      for (int j = 0; j < kGrid; ++j) {
        if (CellEnabled(grid, i, j)) CellRef(grid, i, j) = RawCellText(RecordCell(record_, grid, i, j));
      }
    }
  }
}

void ExerciseForm::ShowSolution(const ExerciseSolution& s, int entry) {
  // A bordered system of order 11 does not fit ten rows: the grid grows.
  ResizeMainGrid(std::max(kGrid, s.order));
  const int g = s.order;
  const bool normalMatrix = record_.method != kNormalEquations && entry == 1;
  const std::vector<double>& matrix = normalMatrix ? s.normal : s.inverse;
  const std::vector<double>& column = normalMatrix ? s.rightSide : s.solution;
  for (int i = 0; i < g; ++i) {
    for (int j = 0; j < g; ++j) CellRef(ExerciseGrid::Coefficients, i, j) = FixedText(matrix[i * g + j], 4);
    constants_[i] = FixedText(column[i], 4);
  }
  if (record_.method == kNormalEquations) return;
  const std::vector<double>& third = normalMatrix ? s.weights : s.corrections;
  for (size_t l = 0; l < third.size(); ++l) weights_[l] = FixedText(third[l], 4);
  if (normalMatrix) return;
  for (size_t f = 0; f < s.reciprocalWeights.size(); ++f) {
    const double q = s.reciprocalWeights[f];
    results_[kReciprocalWeightField + f] = FixedText(q, 4);
    // A function of quantities the conditions fix has q = 0, which rounding
    // can turn into a tiny negative number.
    results_[kStandardErrorField + f] = FixedText(s.m0 * std::sqrt(std::max(q, 0.0)), 4);
  }
  results_[kUnitWeightErrorField] = FixedText(s.m0, 2);
  results_[kPvvField] = FixedText(s.pvv, 2);
}

// --- Texts ---------------------------------------------------------------------

const std::string& ExerciseToolTip(ExerciseTip tip) {
  static const std::vector<std::string> tips = {
      Gbk("选择解算方式"),
      Gbk("选择观测值个数,包括条件平差附参数的个数"),
      Gbk("选择间接平差和法方程解算中未知数的个数"),
      Gbk("选择间接平差限制条件的个数"),
      Gbk("选择权函数式的个数"),
      Gbk("选择条件式的个数"),
      Gbk("选择显示内容,选择<原始数据>时可重新修改输入的内容"),
      Gbk("计算和重新输入数据转换"),
      Gbk("打开数据文件"),
      Gbk("保存数据文件"),
      Gbk("选择条件平差中附参数的个数"),
      Gbk("输入误差方程或条件方程或法方程的系数阵,显示法方程的系数阵或法方程的系数阵逆阵"),
      Gbk("输入权函数式"),
      Gbk("输入误差方程或条件方程或法方程的常数项,显示法方程的常数项或未知数的解"),
      Gbk("输入观测值的权,显示观测值的改正数"),
      Gbk("间接平差中输入限制条件"),
      Gbk("显示权函数式对应的权倒数"),
      Gbk("显示权函数式对应中误差"),
      Gbk("显示单位权中误差"),
      Gbk("显示[PVV]"),
  };
  return tips.at(static_cast<size_t>(tip));
}

const ExerciseDialogTexts& ExerciseTexts() {
  static const ExerciseDialogTexts texts = {
      Gbk("测量平差习题解算"), Gbk("限制条件"), Gbk("权函数式"), Gbk("权倒数,中误差,MO,[PVV]"),
      Gbk("打开文件"),         Gbk("保存文件"), Gbk("退出"),     Gbk("平差数据文件(*.STY)|*.STY||"),
      "STY",                   Gbk("平差数据文件"),
  };
  return texts;
}

}  // namespace qp
