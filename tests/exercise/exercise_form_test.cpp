#include "exercise/exercise_form.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

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
  bool Compute(int entry) {
    if (!form.computing()) form.ToggleComputing();
    return form.SelectCombo(C::Display, entry);
  }
  // The triangle of the textbooks: three angles, misclosure +6″, written as
  // the condition v1 + v2 + v3 = −6.
  void Triangle() {
    Select(kConditionAdjustment, 3, 1, 1);
    Fill(G::Coefficients, {{"1", "1", "1"}});
    FillColumn(G::Constants, {"-6"});
  }
};

TEST_F(ExerciseFormTest, CountRulesOfEachMethod) {
  struct Case {
    int method, n, t, r, s, u;
    C combo;
    int expected;  // combo index after the method setup
  } cases[] = {
      {kConditionAdjustment, 5, 1, 9, 0, 0, C::Conditions, 4},   // r ≤ n
      {kConditionAdjustment, 6, 1, 2, 0, 2, C::Parameters, 0},   // u below r
      {kConditionAdjustment, 6, 1, 2, 0, 1, C::Parameters, 1},
      {kConditionAdjustment, 10, 1, 10, 0, 2, C::Parameters, 0}, // u + nIndex ≤ 10
      {kConditionAdjustment, 10, 1, 10, 0, 1, C::Parameters, 1},
      {kIndirectAdjustment, 5, 9, 1, 0, 0, C::Unknowns, 4},      // t ≤ n
      {kIndirectAdjustment, 10, 10, 1, 3, 0, C::Restrictions, 1},  // t + s ≤ 11
      {kIndirectAdjustment, 10, 9, 1, 3, 0, C::Restrictions, 2},
      {kNormalEquations, 2, 7, 1, 0, 0, C::Unknowns, 6},
  };
  for (const auto& c : cases) {
    Select(c.method, c.n, c.t, c.r, c.s, c.u);
    EXPECT_EQ(form.ComboIndex(c.combo), c.expected) << c.method << " n=" << c.n << " r=" << c.r << " t=" << c.t;
  }
}

TEST_F(ExerciseFormTest, EnabledCellsAndLabels) {
  const auto enabled = [this](G grid) {
    int count = 0;
    for (int i = 0; i < form.Rows(grid); ++i)
      for (int j = 0; j < form.Columns(grid); ++j) count += form.CellEnabled(grid, i, j);
    return count;
  };
  Select(kNormalEquations, 4, 3, 1);  // the lower triangle only
  EXPECT_EQ(std::vector<int>({enabled(G::Coefficients), enabled(G::Constants), enabled(G::Weights),
                              enabled(G::Restrictions), enabled(G::WeightFunctions)}),
            std::vector<int>({6, 3, 0, 0, 0}));
  EXPECT_FALSE(form.ComboEnabled(C::Observations) || form.ComboEnabled(C::Functions));
  EXPECT_EQ(form.ColumnLabel(2) + form.ColumnLabel(3), "X3/K3");

  Select(kConditionAdjustment, 5, 1, 2, 0, 1, 2);
  EXPECT_EQ(std::vector<int>({enabled(G::Coefficients), enabled(G::Constants), enabled(G::Weights),
                              enabled(G::Restrictions), enabled(G::WeightFunctions)}),
            std::vector<int>({10, 2, 5, 0, 10}));
  EXPECT_FALSE(form.ComboEnabled(C::Unknowns) || form.ComboEnabled(C::Restrictions));
  EXPECT_EQ(form.ColumnLabel(3) + form.ColumnLabel(4), "V4X1");  // the last column is the parameter's
  EXPECT_EQ(GbkToUtf8(form.FunctionLabel(1)), "Ф2");

  Select(kIndirectAdjustment, 5, 2, 1, 1, 0, 1);
  EXPECT_EQ(std::vector<int>({enabled(G::Coefficients), enabled(G::Constants), enabled(G::Weights),
                              enabled(G::Restrictions), enabled(G::WeightFunctions)}),
            std::vector<int>({10, 5, 5, 2, 2}));
  EXPECT_FALSE(form.ComboEnabled(C::Conditions) || form.ComboEnabled(C::Parameters));
  EXPECT_EQ(form.RowLabel(4) + form.RowLabel(5) + form.ColumnLabel(1), "V5X2");
}

TEST_F(ExerciseFormTest, ReadingTheGridAppliesTheCellRules) {
  Select(kIndirectAdjustment, 4, 2, 1);
  Fill(G::Coefficients, {{"1", "2abc"}, {"abc", " -3.5"}, {"1e1", ""}, {"", "1"}});
  FillColumn(G::Weights, {"", "0.004", "-0.004", "0.005"});
  form.SetCell(G::Coefficients, 0, 5, "99");  // a cell outside the counts is not read
  form.ToggleComputing();
  const ExerciseFile& r = form.record();
  EXPECT_EQ(std::vector<double>({r.coefficients[0][1], r.coefficients[1][0], r.coefficients[1][1],
                                 r.coefficients[2][0], r.coefficients[0][5]}),
            std::vector<double>({2.0, 0.0, -3.5, 10.0, 0.0}));
  EXPECT_EQ(std::vector<double>(r.weights, r.weights + 5), (std::vector<double>{1.0, 1.0, 1.0, 0.005, 0.0}));
  // Two coefficients, one weight and the four constants were blank: the hint says so.
  EXPECT_NE(GbkToUtf8(form.Hint()).find("(7个空白单元格按0计算"), std::string::npos) << GbkToUtf8(form.Hint());

  // The lower triangle of normal equations is the whole symmetric matrix.
  form.ToggleComputing();
  EXPECT_TRUE(form.Hint().empty());
  Select(kNormalEquations, 4, 2, 1);
  Fill(G::Coefficients, {{"4"}, {"1", "3"}});
  form.ToggleComputing();
  EXPECT_EQ(form.record().coefficients[0][1], 1.0);
  EXPECT_EQ(form.record().coefficients[2][0], 0.0);  // cleared, not left from the indirect adjustment
  EXPECT_EQ(form.record().weights[0], 0.0);
}

TEST_F(ExerciseFormTest, RawDataShowFourDecimalsWithoutLosingValues) {
  Select(kIndirectAdjustment, 3, 2, 1);
  Fill(G::Coefficients, {{"1", "0"}, {"-2.5", "0.33333"}, {"1e-7", "123456.78905"}});
  ASSERT_TRUE(form.SaveFile(dir.File("A.STY")));
  ASSERT_TRUE(form.OpenFile(dir.File("A.STY")));
  EXPECT_EQ(form.Cell(G::Coefficients, 0, 0) + "|" + form.Cell(G::Coefficients, 0, 1) + "|" +
                form.Cell(G::Coefficients, 1, 0) + "|" + form.Cell(G::Coefficients, 1, 1) + "|" +
                form.Cell(G::Coefficients, 2, 0),
            "1.0000||-2.5000|0.33333|1e-07");
  EXPECT_EQ(Column(G::Weights, 4), (std::vector<std::string>{"1.0000", "1.0000", "1.0000", ""}));
  // Opening and saving again changes no byte.
  ASSERT_TRUE(form.SaveFile(dir.File("B.STY")));
  EXPECT_EQ(ReadBytes(dir.File("A.STY")), ReadBytes(dir.File("B.STY")));
}

TEST_F(ExerciseFormTest, ComputingFreezesTheInputAndKeepsTheState) {
  Triangle();
  form.ToggleComputing();
  EXPECT_EQ(GbkToUtf8(form.ComputeCaption()), "重新设置");
  EXPECT_FALSE(form.ComboEnabled(C::Method) || form.ComboEnabled(C::Observations) || form.FileButtonsEnabled());
  EXPECT_EQ(ReadExerciseFile(state)->constants[0], -6.0);

  ASSERT_TRUE(form.SelectCombo(C::Display, 2));
  form.ToggleComputing();  // ignored while results are shown
  EXPECT_TRUE(form.computing());
  ASSERT_TRUE(form.SelectCombo(C::Display, 0));
  EXPECT_EQ(form.Cell(G::Constants, 0, 0) + form.ResultField(kUnitWeightErrorField), "-6.0000");
  form.ToggleComputing();
  EXPECT_TRUE(form.ComboEnabled(C::Method) && !form.ComboEnabled(C::Display));
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
  ASSERT_TRUE(form.SelectCombo(C::Display, 0));
  EXPECT_EQ(form.Rows(G::Coefficients), 10);
}

TEST_F(ExerciseFormTest, StateFileAndDataFiles) {
  // Opening wrote the defaults to the missing state file.
  ASSERT_TRUE(ReadExerciseFile(state));
  EXPECT_EQ(ReadExerciseFile(state)->tIndex, 3);

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

  const std::string sty = dir.File("X.STY");
  ASSERT_TRUE(form.SaveFile(sty));
  const std::string bytes = ReadBytes(sty);

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
  r.method = 7, r.nIndex = 40, r.restrictionCount = -2, r.functionCount = 9;
  r.coefficients[0][0] = std::nan(""), r.weights[1] = INFINITY, r.constants[2] = 1.5;
  ASSERT_TRUE(WriteExerciseFile(dir.File("R.STY"), r));
  const auto read = ReadExerciseFile(dir.File("R.STY"));
  ASSERT_TRUE(read);
  EXPECT_EQ(std::vector<int>({read->method, read->nIndex, read->restrictionCount, read->functionCount}),
            std::vector<int>({kIndirectAdjustment, 9, 0, 3}));
  EXPECT_EQ(std::vector<double>({read->coefficients[0][0], read->weights[1], read->constants[2]}),
            std::vector<double>({0.0, 0.0, 1.5}));
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
