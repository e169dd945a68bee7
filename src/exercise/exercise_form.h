// The exercise solver dialog ("测量平差习题解算") without its window: the
// combo selections, the cell texts of the grids, the labels and result fields,
// and what the buttons do with them. A toolkit dialog shows these texts, passes
// every edit back with SetCell and calls one method per control action; after
// each call it reads the whole state again. All texts are GBK.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "common/platform_services.h"
#include "exercise/exercise_file.h"
#include "exercise/exercise_solver.h"

namespace qp {

enum class ExerciseCombo {
  Method,        // "方式选择": 法方程解算, 条件平差, 间接平差
  Observations,  // "观测值个数": n=1 … n=10 (index nIndex)
  Unknowns,      // "未知数个数": t=1 … t=10 (index tIndex)
  Restrictions,  // "限制条件数": s=0 … s=3
  Conditions,    // "条件式个数": r=1 … r=10 (index rIndex)
  Parameters,    // "附参数个数": u=0 … u=3
  Functions,     // 0个权函数式 … 3个权函数式
  Display,       // "显示选择": the method's display entries
};

enum class ExerciseGrid {
  Coefficients,          // the main grid: 10 × 10, larger while a bordered system is shown
  Constants,             // the column beside it (one cell per grid row)
  Weights,               // the next column (one cell per grid row)
  Restrictions,          // "限制条件": 3 × 10
  RestrictionConstants,  // 3 × 1
  WeightFunctions,       // "权函数式": 3 × 10
};

// The eight fields of the group "权倒数,中误差,MO,[PVV]".
enum ExerciseResultField : int {
  kReciprocalWeightField = 0,  // 0…2: weight reciprocal of weight function 1…3
  kStandardErrorField = 3,     // 3…5: its standard error
  kUnitWeightErrorField = 6,   // m0
  kPvvField = 7,               // [PVV]
  kResultFieldCount = 8,
};

// Everything the combos hold, as indices (which equal the record's fields).
struct ExerciseSelections {
  int method = kNormalEquations;
  int nIndex = 3;
  int tIndex = 3;
  int restrictionCount = 0;
  int rIndex = 0;
  int parameterCount = 0;
  int functionCount = 0;
};

class ExerciseForm {
 public:
  explicit ExerciseForm(PlatformServices& platform);

  // --- Opening and closing -------------------------------------------------

  // The dialog opens on its state file: the record is read from it (the
  // defaults, written to it, when it is missing or not 1512 bytes long), the
  // raw data are shown and nothing is being computed.
  void Open(const std::string& statePath);
  // Opens on a record already read; `statePath` (may be empty: none) is where
  // "计算结果" and "退出" keep it.
  void OpenWith(const ExerciseFile& record, const std::string& statePath);

  // "打开文件" with the path the file dialog gave. A file that is not exactly
  // 1512 bytes long changes nothing: "平差数据文件错误 !" and false.
  bool OpenFile(const std::string& path);
  // "保存文件": reads the grid into the record and writes it to `path`.
  // False when it could not be written (the dialog stays silent about it).
  bool SaveFile(const std::string& path);
  // "退出" and Esc: ask their question; true when the dialog closes. "退出"
  // saves the grid to the state file first.
  bool Exit();
  bool Escape();

  // --- Combos -------------------------------------------------------------

  // Items of a combo (GBK). The display items depend on the method.
  std::vector<std::string> ComboItems(ExerciseCombo combo) const;
  int ComboIndex(ExerciseCombo combo) const;
  bool ComboEnabled(ExerciseCombo combo) const;
  // A new selection in a method or count combo applies the method setup; in
  // the display combo it shows the raw data or runs the computation. Returns
  // false when the selection was not taken (disabled combo, index out of
  // range, failed computation: then the grid and the display stay as they were).
  bool SelectCombo(ExerciseCombo combo, int index);
  // Every method and count combo at once, then one method setup.
  ExerciseSelections Selections() const;
  void SetSelections(const ExerciseSelections& selections);

  // --- Buttons --------------------------------------------------------------

  // "计算结果" / "重新设置".
  void ToggleComputing();
  bool computing() const { return computing_; }
  std::string ComputeCaption() const;
  // One line on where the results are, while computing; empty otherwise.
  std::string Hint() const;
  bool ComputeEnabled() const { return display_ == 0; }
  // "退出", "打开文件", "保存文件".
  bool FileButtonsEnabled() const { return !computing_; }

  // --- Grids, labels, results ------------------------------------------------

  int Rows(ExerciseGrid grid) const;
  int Columns(ExerciseGrid grid) const;
  const std::string& Cell(ExerciseGrid grid, int row, int column) const;
  // An edit in a cell; ignored outside the grid.
  void SetCell(ExerciseGrid grid, int row, int column, std::string text);
  // Whether the cell takes input under the current method and counts.
  bool CellEnabled(ExerciseGrid grid, int row, int column) const;
  // True while the grid shows results rather than the raw data.
  bool ShowingResults() const { return display_ != 0; }

  // Labels of the main grid's rows and columns and of the weight-function rows.
  std::string RowLabel(int row) const;
  std::string ColumnLabel(int column) const;
  std::string FunctionLabel(int row) const;

  const std::string& ResultField(int field) const { return results_.at(field); }

  const ExerciseFile& record() const { return record_; }
  const std::string& statePath() const { return statePath_; }

 private:
  std::string& CellRef(ExerciseGrid grid, int row, int column);
  void SetRecord(const ExerciseFile& record);
  void ApplyMethodSetup();
  void ReadGrid();
  void ShowRawData();
  void ShowSolution(const ExerciseSolution& solution, int entry);
  void ResizeMainGrid(int size);
  void WriteState(const ExerciseFile& record);

  PlatformServices& platform_;
  ExerciseFile record_;
  std::string statePath_;
  bool computing_ = false;
  int blankCells_ = 0;  // enabled cells the last reading found blank
  int display_ = 0;
  int gridSize_ = kExerciseGridSize;  // rows and columns of the main grid
  std::vector<std::string> coefficients_;
  std::vector<std::string> constants_;
  std::vector<std::string> weights_;
  std::array<std::string, kMaxRestrictions * kExerciseGridSize> restrictions_;
  std::array<std::string, kMaxRestrictions> restrictionConstants_;
  std::array<std::string, kMaxWeightFunctions * kExerciseGridSize> functions_;
  std::array<std::string, kResultFieldCount> results_;
};

// Texts of the dialog (GBK).
enum class ExerciseTip {
  Method, Observations, Unknowns, Restrictions, Functions, Conditions, Display, Compute, OpenFile, SaveFile,
  Parameters, CoefficientGrid, WeightFunctionGrid, ConstantsColumn, WeightsColumn, RestrictionGrid,
  ReciprocalWeights, StandardErrors, UnitWeightError, Pvv,
};
const std::string& ExerciseToolTip(ExerciseTip tip);

struct ExerciseDialogTexts {
  std::string caption;           // "测量平差习题解算"
  std::string restrictionGroup;  // "限制条件"
  std::string functionGroup;     // "权函数式"
  std::string resultGroup;       // "权倒数,中误差,MO,[PVV]"
  std::string openButton, saveButton, exitButton;
  std::string fileFilter;        // "平差数据文件(*.STY)|*.STY||"
  std::string fileExtension;     // "STY"
  std::string fileDialogTitle;   // "平差数据文件"
};
const ExerciseDialogTexts& ExerciseTexts();

}  // namespace qp
