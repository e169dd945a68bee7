#include "exercise/exercise_form.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "common/gbk_text.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::ScriptedPlatform;
using testing::TempDir;
using testing::WriteBytes;
using G = ExerciseGrid;
using C = ExerciseCombo;

struct ExerciseFormTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  ExerciseForm form{platform};
  std::string state = dir.File("QuorvexPlusA.sys");

  void SetUp() override { form.Open(state); }

  // Counts as the user sees them: n, t, r from 1.
  void Select(int method, int n, int t, int r, int s = 0, int u = 0, int k = 0) {
    form.SetSelections({method, n - 1, t - 1, s, r - 1, u, k});
  }
  void Fill(G grid, const std::vector<std::vector<std::string>>& rows) {
    for (size_t i = 0; i < rows.size(); ++i)
      for (size_t j = 0; j < rows[i].size(); ++j) form.SetCell(grid, int(i), int(j), rows[i][j]);
  }
  void FillColumn(G grid, const std::vector<std::string>& values) {
    for (size_t i = 0; i < values.size(); ++i) form.SetCell(grid, int(i), 0, values[i]);
  }
  std::vector<std::string> Column(G grid, int rows) const {
    std::vector<std::string> v;
    for (int i = 0; i < rows; ++i) v.push_back(form.Cell(grid, i, 0));
    return v;
  }
  std::vector<std::string> Results() const {
    std::vector<std::string> v;
    for (int f = 0; f < kResultFieldCount; ++f) v.push_back(form.ResultField(f));
    return v;
  }
  bool Compute(int entry) {
    if (!form.computing()) form.ToggleComputing();
    return form.SelectCombo(C::Display, entry);
  }
  // The triangle of the textbooks: three angles, misclosure +6″, written as
  // the condition v1 + v2 + v3 = −6.
  void Triangle(int k = 0) {
    Select(kConditionAdjustment, 3, 1, 1, 0, 0, k);
    Fill(G::Coefficients, {{"1", "1", "1"}});
    FillColumn(G::Constants, {"-6"});
  }
};

TEST_F(ExerciseFormTest, CountRulesOfEachMethod) {
  // Condition adjustment: r ≤ n, t = n − r, u below r and u + nIndex ≤ 10.
  Select(kConditionAdjustment, 5, 1, 9);
  EXPECT_EQ(form.ComboIndex(C::Conditions), 4);
  EXPECT_EQ(form.record().tIndex, 0);
  Select(kConditionAdjustment, 6, 1, 2, 0, 2);
  EXPECT_EQ(form.ComboIndex(C::Parameters), 0);
  Select(kConditionAdjustment, 6, 1, 2, 0, 1);
  EXPECT_EQ(form.ComboIndex(C::Parameters), 1);
  Select(kConditionAdjustment, 10, 1, 10, 0, 2);
  EXPECT_EQ(form.ComboIndex(C::Parameters), 0);
  Select(kConditionAdjustment, 10, 1, 10, 0, 1);
  EXPECT_EQ(form.ComboIndex(C::Parameters), 1);
  EXPECT_TRUE(form.ComboEnabled(C::Conditions) && form.ComboEnabled(C::Parameters));
  EXPECT_FALSE(form.ComboEnabled(C::Unknowns) || form.ComboEnabled(C::Restrictions));

  // Indirect adjustment: t ≤ n, r = n − t, t + s ≤ 11.
  Select(kIndirectAdjustment, 5, 9, 1);
  EXPECT_EQ(form.ComboIndex(C::Unknowns), 4);
  EXPECT_EQ(form.record().rIndex, 0);
  Select(kIndirectAdjustment, 10, 10, 1, 3);
  EXPECT_EQ(form.ComboIndex(C::Restrictions), 1);
  Select(kIndirectAdjustment, 10, 9, 1, 3);
  EXPECT_EQ(form.ComboIndex(C::Restrictions), 2);
  EXPECT_FALSE(form.ComboEnabled(C::Conditions) || form.ComboEnabled(C::Parameters));

  // Normal equations: only t.
  Select(kNormalEquations, 2, 7, 1);
  EXPECT_EQ(form.ComboIndex(C::Unknowns), 6);
  EXPECT_TRUE(form.ComboEnabled(C::Unknowns));
  EXPECT_FALSE(form.ComboEnabled(C::Observations) || form.ComboEnabled(C::Functions));
  EXPECT_EQ(form.ComboItems(C::Display).size(), 2u);
}

TEST_F(ExerciseFormTest, EnabledCellsAndLabels) {
  Select(kNormalEquations, 4, 3, 1);
  EXPECT_TRUE(form.CellEnabled(G::Coefficients, 2, 2));
  EXPECT_FALSE(form.CellEnabled(G::Coefficients, 1, 2));  // upper triangle
  EXPECT_FALSE(form.CellEnabled(G::Coefficients, 3, 0));
  EXPECT_FALSE(form.CellEnabled(G::Weights, 0, 0));
  EXPECT_EQ(form.ColumnLabel(2), "X3/K3");
  EXPECT_EQ(form.ColumnLabel(3), "");

  Select(kConditionAdjustment, 5, 1, 2, 0, 1, 2);
  EXPECT_TRUE(form.CellEnabled(G::Coefficients, 1, 4));
  EXPECT_FALSE(form.CellEnabled(G::Coefficients, 2, 0));
  EXPECT_TRUE(form.CellEnabled(G::Weights, 4, 0));
  EXPECT_TRUE(form.CellEnabled(G::WeightFunctions, 1, 4));
  EXPECT_FALSE(form.CellEnabled(G::WeightFunctions, 2, 0));
  EXPECT_FALSE(form.CellEnabled(G::Restrictions, 0, 0));
  EXPECT_EQ(form.ColumnLabel(3), "V4");
  EXPECT_EQ(form.ColumnLabel(4), "X1");  // the parameter's column
  EXPECT_EQ(GbkToUtf8(form.FunctionLabel(1)), "Ф2");

  Select(kIndirectAdjustment, 5, 2, 1, 1, 0, 1);
  EXPECT_TRUE(form.CellEnabled(G::Coefficients, 4, 1));
  EXPECT_FALSE(form.CellEnabled(G::Coefficients, 0, 2));
  EXPECT_TRUE(form.CellEnabled(G::Restrictions, 0, 1));
  EXPECT_TRUE(form.CellEnabled(G::RestrictionConstants, 0, 0));
  EXPECT_FALSE(form.CellEnabled(G::Restrictions, 1, 0));
  EXPECT_EQ(form.RowLabel(4), "V5");
  EXPECT_EQ(form.RowLabel(5), "");
  EXPECT_EQ(form.ColumnLabel(1), "X2");
}

TEST_F(ExerciseFormTest, ReadingTheGridAppliesTheCellRules) {
  Select(kIndirectAdjustment, 4, 2, 1);
  Fill(G::Coefficients, {{"1", "2abc"}, {"abc", " -3.5"}, {"1e1", ""}, {"", "1"}});
  FillColumn(G::Weights, {"", "0.004", "-0.004", "0.005"});
  form.SetCell(G::Coefficients, 0, 5, "99");  // a cell outside the counts is not read
  form.ToggleComputing();
  const ExerciseFile& r = form.record();
  EXPECT_EQ(r.coefficients[0][1], 2.0);
  EXPECT_EQ(r.coefficients[1][0], 0.0);
  EXPECT_EQ(r.coefficients[1][1], -3.5);
  EXPECT_EQ(r.coefficients[2][0], 10.0);
  EXPECT_EQ(r.coefficients[0][5], 0.0);
  EXPECT_EQ(std::vector<double>(r.weights, r.weights + 5), (std::vector<double>{1.0, 1.0, 1.0, 0.005, 0.0}));

  // The lower triangle of normal equations is the whole symmetric matrix.
  form.ToggleComputing();
  Select(kNormalEquations, 4, 2, 1);
  Fill(G::Coefficients, {{"4"}, {"1", "3"}});
  form.ToggleComputing();
  EXPECT_EQ(form.record().coefficients[0][1], 1.0);
  EXPECT_EQ(form.record().coefficients[1][0], 1.0);
  EXPECT_EQ(form.record().coefficients[2][0], 0.0);  // cleared, not left from the indirect adjustment
  EXPECT_EQ(form.record().weights[0], 0.0);
}

TEST_F(ExerciseFormTest, RawDataShowFourDecimalsWithoutLosingValues) {
  Select(kIndirectAdjustment, 3, 2, 1);
  Fill(G::Coefficients, {{"1", "0"}, {"-2.5", "0.33333"}, {"1e-7", "123456.78905"}});
  ASSERT_TRUE(form.SaveFile(dir.File("A.STY")));
  ASSERT_TRUE(form.OpenFile(dir.File("A.STY")));
  EXPECT_EQ(form.Cell(G::Coefficients, 0, 0), "1.0000");
  EXPECT_EQ(form.Cell(G::Coefficients, 0, 1), "");
  EXPECT_EQ(form.Cell(G::Coefficients, 1, 0), "-2.5000");
  EXPECT_EQ(form.Cell(G::Coefficients, 1, 1), "0.33333");
  EXPECT_EQ(form.Cell(G::Coefficients, 2, 0), "1e-07");
  EXPECT_EQ(Column(G::Weights, 4), (std::vector<std::string>{"1.0000", "1.0000", "1.0000", ""}));
  // Opening and saving again changes no byte.
  ASSERT_TRUE(form.SaveFile(dir.File("B.STY")));
  EXPECT_EQ(ReadBytes(dir.File("A.STY")), ReadBytes(dir.File("B.STY")));
}

TEST_F(ExerciseFormTest, ComputingFreezesTheInputAndKeepsTheState) {
  Triangle();
  EXPECT_EQ(GbkToUtf8(form.ComputeCaption()), "计算结果");
  form.ToggleComputing();
  EXPECT_EQ(GbkToUtf8(form.ComputeCaption()), "重新设置");
  EXPECT_FALSE(form.ComboEnabled(C::Method) || form.ComboEnabled(C::Observations) || form.FileButtonsEnabled());
  EXPECT_TRUE(form.ComboEnabled(C::Display));
  const auto saved = ReadExerciseFile(state);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->method, kConditionAdjustment);
  EXPECT_EQ(saved->constants[0], -6.0);

  ASSERT_TRUE(form.SelectCombo(C::Display, 2));
  EXPECT_FALSE(form.ComputeEnabled());
  form.ToggleComputing();  // ignored while results are shown
  EXPECT_TRUE(form.computing());
  ASSERT_TRUE(form.SelectCombo(C::Display, 0));
  EXPECT_EQ(form.Cell(G::Constants, 0, 0), "-6.0000");
  EXPECT_EQ(form.ResultField(kUnitWeightErrorField), "");
  form.ToggleComputing();
  EXPECT_TRUE(form.ComboEnabled(C::Method) && form.FileButtonsEnabled());
  EXPECT_FALSE(form.ComboEnabled(C::Display));
}

TEST_F(ExerciseFormTest, TextbookTriangle) {
  Triangle(1);
  Fill(G::WeightFunctions, {{"1", "0", "0"}});  // the first adjusted angle
  ASSERT_TRUE(Compute(1));
  EXPECT_EQ(form.Cell(G::Coefficients, 0, 0), "3.0000");
  EXPECT_EQ(Column(G::Weights, 3), (std::vector<std::string>{"1.0000", "1.0000", "1.0000"}));
  EXPECT_EQ(Results(), std::vector<std::string>(8));
  ASSERT_TRUE(form.SelectCombo(C::Display, 2));
  EXPECT_EQ(form.Cell(G::Coefficients, 0, 0), "0.3333");
  EXPECT_EQ(form.Cell(G::Coefficients, 0, 1), "");
  EXPECT_EQ(form.Cell(G::Constants, 0, 0), "-2.0000");
  EXPECT_EQ(Column(G::Weights, 4), (std::vector<std::string>{"-2.0000", "-2.0000", "-2.0000", ""}));
  // q = 1 − 1/3, m0 = √(12/1), standard error m0·√q.
  EXPECT_EQ(Results(), (std::vector<std::string>{"0.6667", "", "", "2.8284", "", "", "3.46", "12.00"}));
}

TEST_F(ExerciseFormTest, ParametersReduceTheRedundancy) {
  // The triangle with the third adjusted angle as parameter: r = 2, u = 1, redundancy 1.
  Select(kConditionAdjustment, 4, 1, 2, 0, 1, 1);
  Fill(G::Coefficients, {{"1", "1", "1", "0"}, {"0", "0", "1", "-1"}});
  FillColumn(G::Constants, {"-6", "0"});
  Fill(G::WeightFunctions, {{"1"}});
  ASSERT_TRUE(Compute(2));
  // Correlates k1 = −2, k2 = 0, then the parameter x = v3 = −2.
  EXPECT_EQ(Column(G::Constants, 3), (std::vector<std::string>{"-2.0000", "0.0000", "-2.0000"}));
  EXPECT_EQ(Column(G::Weights, 4), (std::vector<std::string>{"-2.0000", "-2.0000", "-2.0000", ""}));
  // No weight functions with parameters.
  EXPECT_EQ(Results(), (std::vector<std::string>{"", "", "", "", "", "", "3.46", "12.00"}));
}

TEST_F(ExerciseFormTest, WithoutRedundancyM0AndPvvAreZero) {
  Select(kIndirectAdjustment, 2, 2, 1);
  Fill(G::Coefficients, {{"1", "0"}, {"1", "1"}});
  FillColumn(G::Constants, {"3", "5"});
  ASSERT_TRUE(Compute(2));
  EXPECT_EQ(Column(G::Constants, 2), (std::vector<std::string>{"3.0000", "2.0000"}));
  EXPECT_EQ(form.ResultField(kUnitWeightErrorField), "0.00");
  EXPECT_EQ(form.ResultField(kPvvField), "0.00");
}

TEST_F(ExerciseFormTest, SingleUnknownNormalEquationIsSolved) {
  Select(kNormalEquations, 4, 1, 1);
  Fill(G::Coefficients, {{"4"}});
  FillColumn(G::Constants, {"2"});
  ASSERT_TRUE(Compute(1));
  EXPECT_EQ(form.Cell(G::Coefficients, 0, 0), "0.2500");
  EXPECT_EQ(form.Cell(G::Constants, 0, 0), "0.5000");
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ExerciseFormTest, FailedComputationLeavesTheGridAsItWas) {
  Select(kNormalEquations, 4, 2, 1);
  Fill(G::Coefficients, {{"1"}, {"1", "1"}});
  FillColumn(G::Constants, {"1", "2"});
  form.ToggleComputing();
  const std::string before = form.Cell(G::Coefficients, 1, 0) + form.Cell(G::Constants, 1, 0);
  EXPECT_FALSE(form.SelectCombo(C::Display, 1));
  EXPECT_EQ(platform.MessagesUtf8(), std::vector<std::string>{"矩阵求逆条件不满足 !"});
  EXPECT_EQ(form.Cell(G::Coefficients, 1, 0) + form.Cell(G::Constants, 1, 0), before);
  EXPECT_EQ(form.ComboIndex(C::Display), 0);
  EXPECT_TRUE(form.ComputeEnabled());

  // Numbers that overflow are refused the same way rather than shown as inf or nan.
  form.ToggleComputing();
  Select(kIndirectAdjustment, 2, 2, 1);
  Fill(G::Coefficients, {{"1e200", "0"}, {"0", "1"}});
  FillColumn(G::Constants, {"1", "1"});
  EXPECT_FALSE(Compute(1));
  EXPECT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(form.Cell(G::Coefficients, 0, 0), "1e200");
}

TEST_F(ExerciseFormTest, BorderedSystemOfElevenGrowsTheGrid) {
  // t = 10 unknowns, one restriction x1 + … + x10 = 0, n = 10 direct observations.
  Select(kIndirectAdjustment, 10, 10, 1, 1, 0, 1);
  for (int i = 0; i < 10; ++i) {
    form.SetCell(G::Coefficients, i, i, "1");
    form.SetCell(G::Constants, i, 0, std::to_string(i + 1));
    form.SetCell(G::Restrictions, 0, i, "1");
    form.SetCell(G::WeightFunctions, 0, i, "1");  // the sum, fixed by the restriction
  }
  ASSERT_TRUE(Compute(2)) << platform.LastMessageUtf8();
  ASSERT_EQ(form.Rows(G::Coefficients), 11);
  ASSERT_EQ(form.Columns(G::Coefficients), 11);
  EXPECT_EQ(form.Cell(G::Constants, 0, 0), "-4.5000");  // 1 − 55/10
  EXPECT_EQ(form.Cell(G::Constants, 10, 0), "5.5000");  // the correlate
  EXPECT_EQ(form.Cell(G::Coefficients, 10, 10), "-0.1000");
  EXPECT_EQ(form.ResultField(kReciprocalWeightField), "0.0000");
  EXPECT_EQ(form.ResultField(kStandardErrorField), "0.0000");
  for (int i = 0; i < 11; ++i)
    for (int j = 0; j < 11; ++j) {
      const std::string& cell = form.Cell(G::Coefficients, i, j);
      EXPECT_EQ(cell.find_first_not_of("-0123456789."), std::string::npos) << cell;
    }
  ASSERT_TRUE(form.SelectCombo(C::Display, 0));
  EXPECT_EQ(form.Rows(G::Coefficients), 10);
}

TEST_F(ExerciseFormTest, StateFileAndDataFiles) {
  // Opening wrote the defaults to the missing state file.
  const auto defaults = ReadExerciseFile(state);
  ASSERT_TRUE(defaults);
  EXPECT_EQ(ReadBytes(state), std::string(reinterpret_cast<const char*>(&*defaults), kExerciseFileSize));
  EXPECT_EQ(defaults->nIndex, 3);
  EXPECT_EQ(defaults->tIndex, 3);

  // A state file of another length is replaced by the defaults.
  WriteBytes(state, "short");
  form.Open(state);
  EXPECT_EQ(ReadBytes(state).size(), kExerciseFileSize);

  // A chosen .STY of another length changes nothing and is left alone.
  Triangle();
  const std::string bad = dir.File("BAD.STY");
  WriteBytes(bad, std::string(1511, '\1'));
  EXPECT_FALSE(form.OpenFile(bad));
  EXPECT_EQ(platform.LastMessageUtf8(), "平差数据文件错误 !");
  EXPECT_EQ(ReadBytes(bad), std::string(1511, '\1'));
  EXPECT_EQ(form.ComboIndex(C::Method), kConditionAdjustment);
  EXPECT_EQ(form.Cell(G::Constants, 0, 0), "-6");

  // Save, then the byte layout: restriction count at 976, u at 1496.
  Select(kIndirectAdjustment, 4, 2, 1, 1);
  Fill(G::Restrictions, {{"0", "2.5"}});
  const std::string sty = dir.File("X.STY");
  ASSERT_TRUE(form.SaveFile(sty));
  const std::string bytes = ReadBytes(sty);
  ASSERT_EQ(bytes.size(), kExerciseFileSize);
  int32_t count;
  double value;
  std::memcpy(&count, bytes.data() + 976, 4);
  std::memcpy(&value, bytes.data() + 984 + 8, 8);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(value, 2.5);

  // Esc closes without saving; "退出" asks with No as default and saves on Yes.
  const std::string stateBefore = ReadBytes(state);
  platform.Answering({Answer::Yes});
  EXPECT_TRUE(form.Escape());
  EXPECT_FALSE(form.Exit());  // the default answer is No
  EXPECT_EQ(platform.questionDefaults.back(), Answer::No);
  EXPECT_EQ(ReadBytes(state), stateBefore);
  platform.Answering({Answer::Yes});
  EXPECT_TRUE(form.Exit());
  EXPECT_EQ(ReadBytes(state), bytes);
}

TEST(ExerciseFile, ReadingBringsCountsIntoRangeAndDropsNonFiniteValues) {
  TempDir dir;
  ExerciseFile r = DefaultExercise();
  r.method = 7;
  r.nIndex = 40;
  r.restrictionCount = -2;
  r.functionCount = 9;
  r.coefficients[0][0] = std::nan("");
  r.weights[1] = INFINITY;
  r.constants[2] = 1.5;
  ASSERT_TRUE(WriteExerciseFile(dir.File("R.STY"), r));
  const auto read = ReadExerciseFile(dir.File("R.STY"));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->method, kIndirectAdjustment);
  EXPECT_EQ(read->nIndex, 9);
  EXPECT_EQ(read->restrictionCount, 0);
  EXPECT_EQ(read->functionCount, 3);
  EXPECT_EQ(read->coefficients[0][0], 0.0);
  EXPECT_EQ(read->weights[1], 0.0);
  EXPECT_EQ(read->constants[2], 1.5);
}

TEST(ExerciseFile, StatePathFallsBackToTheConfigurationFolder) {
  TempDir dir;
  EXPECT_EQ(ExerciseStatePath(dir.path()), dir.File("QuorvexPlusA.sys"));

  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  ::setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
  const std::string path = ExerciseStatePath(dir.File("no-such-program-folder"));
  old ? ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(path, dir.File("config/QuorvexPlus/QuorvexPlusA.sys"));
  EXPECT_TRUE(WriteExerciseFile(path, DefaultExercise()));
}

}  // namespace
}  // namespace qp
