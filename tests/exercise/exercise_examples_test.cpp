// The bundled examples, run end to end through `quorvex exercise`, against
// an independent least-squares solution of the same numbers.
#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <sstream>

#include "cli/exercise_command.h"
#include "cli/input_text.h"
#include "common/gbk_text.h"
#include "common/numeric_field.h"
#include "independent_least_squares.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::Matrix;
using testing::Vector;

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string s = text;
  if (s.find_first_of("123456789") == std::string::npos && s[0] == '-') s.erase(0, 1);
  return s;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// An example file read as plain numbers.
struct ExampleData {
  std::map<std::string, std::string> settings;  // UTF-8
  std::map<std::string, Matrix> sections;

  int Count(const char* key) const { return std::stoi(settings.at(key)); }
  Matrix Rows(const char* name, size_t rows, size_t columns, size_t firstColumn = 0) const {
    Matrix m(rows, Vector(columns, 0.0));
    auto it = sections.find(name);
    if (it == sections.end()) return m;
    for (size_t i = 0; i < rows && i < it->second.size(); ++i)
      for (size_t j = 0; j < columns && firstColumn + j < it->second[i].size(); ++j)
        m[i][j] = it->second[i][firstColumn + j];
    return m;
  }
  Vector Column(const char* name, size_t rows) const {
    Vector v;
    for (const auto& row : Rows(name, rows, 1)) v.push_back(row[0]);
    return v;
  }
};

ExampleData ReadExample(const std::string& path) {
  std::string error;
  const auto doc = ReadInputFile(path, error);
  EXPECT_TRUE(doc) << GbkToUtf8(error);
  ExampleData data;
  if (!doc) return data;
  for (const auto& s : doc->settings) data.settings[s.key] = GbkToUtf8(s.value);
  for (const auto& section : doc->sections) {
    Matrix rows;
    for (const auto& line : Lines(section.body)) {
      if (Trim(line).empty()) continue;
      Vector row;
      std::istringstream cells(line);
      for (std::string cell; std::getline(cells, cell, ',');) row.push_back(LeadingNumber(cell));
      rows.push_back(row);
    }
    data.sections[section.name] = rows;
  }
  return data;
}

// What the command printed, by section; [结果] as key → value.
struct Printed {
  std::map<std::string, std::vector<std::string>> sections;
  std::map<std::string, std::string> results;
};

Printed ParsePrinted(const std::string& out) {
  Printed p;
  std::string current;
  for (const auto& line : Lines(out)) {
    if (line.empty() || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      current = line.substr(1, line.size() - 2);
      continue;
    }
    if (current == "结果") {
      const size_t eq = line.find(" =");
      p.results[line.substr(0, eq)] = eq + 3 <= line.size() ? line.substr(eq + 3) : "";
    } else {
      p.sections[current].push_back(line);
    }
  }
  return p;
}

std::vector<std::string> FixedColumn(const Vector& v) {
  std::vector<std::string> out;
  for (double x : v) out.push_back(Fixed(x, 4));
  return out;
}

std::vector<std::string> FixedRows(const Matrix& m) {
  std::vector<std::string> out;
  for (const auto& row : m) {
    std::string line;
    for (size_t j = 0; j < row.size(); ++j) line += (j ? "," : "") + Fixed(row[j], 4);
    out.push_back(line);
  }
  return out;
}

struct ExamplesTest : ::testing::Test {
  testing::TempDir dir;
  testing::ScriptedPlatform platform;

  Printed Run(const std::string& example, std::string* raw = nullptr) {
    CommandOptions options;
    options.dataPath = dir.File("EX.STY");
    options.inputPath = testing::SourcePath("examples/exercise/" + example);
    std::ostringstream captured;
    auto* old = std::cout.rdbuf(captured.rdbuf());
    const int status = RunExerciseCommand(options, platform);
    std::cout.rdbuf(old);
    EXPECT_EQ(status, 0) << platform.LastMessageUtf8();
    if (raw) *raw = captured.str();
    return ParsePrinted(captured.str());
  }

  void ExpectPrecision(const Printed& printed, const testing::LeastSquares& ls) {
    EXPECT_EQ(printed.sections.at("权"), FixedColumn(ls.corrections));
    EXPECT_EQ(printed.results.at("MO"), Fixed(ls.m0, 2));
    EXPECT_EQ(printed.results.at("[PVV]"), Fixed(ls.pvv, 2));
    for (size_t f = 0; f < 3; ++f) {
      const std::string n = std::to_string(f + 1);
      if (f < ls.reciprocalWeights.size()) {
        const double q = ls.reciprocalWeights[f];
        EXPECT_EQ(printed.results.at("权倒数" + n), Fixed(q, 4));
        EXPECT_EQ(printed.results.at("中误差" + n), Fixed(ls.m0 * std::sqrt(std::max(q, 0.0)), 4));
      } else {
        EXPECT_EQ(printed.results.at("权倒数" + n), "");
      }
    }
  }
};

Vector Weights(const ExampleData& data, size_t n) {
  Vector p = data.Column("权", n);
  for (double& w : p)
    if (std::fabs(w) < 0.005) w = 1.0;
  return p;
}

TEST_F(ExamplesTest, NormalEquations) {
  const ExampleData data = ReadExample(testing::SourcePath("examples/exercise/normal_equations.txt"));
  const size_t t = data.Count("未知数个数");
  Matrix n = data.Rows("系数", t, t);
  for (size_t i = 0; i < t; ++i)
    for (size_t j = i + 1; j < t; ++j) n[i][j] = n[j][i];
  const Matrix inverse = testing::CholeskyInverse(n);
  const Printed printed = Run("normal_equations.txt");
  EXPECT_EQ(printed.sections.at("系数"), FixedRows(inverse));
  EXPECT_EQ(printed.sections.at("常数项"), FixedColumn(testing::Product(inverse, data.Column("常数项", t))));
}

TEST_F(ExamplesTest, ConditionAdjustment) {
  const ExampleData data = ReadExample(testing::SourcePath("examples/exercise/condition.txt"));
  const size_t n = data.Count("观测值个数"), r = data.Count("条件式个数"), k = data.Count("权函数式个数");
  ASSERT_EQ(data.Count("附参数个数"), 0);
  const auto ls = testing::Condition(data.Rows("系数", r, n), {}, data.Column("常数项", r), Weights(data, n),
                                     data.Rows("权函数式", k, n));
  const Printed printed = Run("condition.txt");
  EXPECT_EQ(printed.sections.at("系数"), FixedRows(ls.inverse));
  EXPECT_EQ(printed.sections.at("常数项"), FixedColumn(ls.solution));
  ExpectPrecision(printed, ls);
}

TEST_F(ExamplesTest, ConditionAdjustmentWithParameters) {
  const ExampleData data = ReadExample(testing::SourcePath("examples/exercise/condition_parameters.txt"));
  const size_t n = data.Count("观测值个数"), r = data.Count("条件式个数"), u = data.Count("附参数个数");
  ASSERT_GT(u, 0u);
  const auto ls = testing::Condition(data.Rows("系数", r, n - u), data.Rows("系数", r, u, n - u),
                                     data.Column("常数项", r), Weights(data, n - u), {});
  const Printed printed = Run("condition_parameters.txt");
  EXPECT_EQ(printed.sections.at("常数项"), FixedColumn(ls.solution));  // correlates, then the parameter
  ExpectPrecision(printed, ls);
}

TEST_F(ExamplesTest, IndirectAdjustment) {
  const ExampleData data = ReadExample(testing::SourcePath("examples/exercise/indirect.txt"));
  const size_t n = data.Count("观测值个数"), t = data.Count("未知数个数"), k = data.Count("权函数式个数");
  const auto ls = testing::Indirect(data.Rows("系数", n, t), data.Column("常数项", n), Weights(data, n), {}, {},
                                    data.Rows("权函数式", k, t));
  const Printed printed = Run("indirect.txt");
  EXPECT_EQ(printed.sections.at("系数"), FixedRows(ls.inverse));
  EXPECT_EQ(printed.sections.at("常数项"), FixedColumn(ls.solution));
  ExpectPrecision(printed, ls);
}

TEST_F(ExamplesTest, IndirectAdjustmentWithRestrictions) {
  const ExampleData data = ReadExample(testing::SourcePath("examples/exercise/indirect_restrictions.txt"));
  const size_t n = data.Count("观测值个数"), t = data.Count("未知数个数"), s = data.Count("限制条件数"),
               k = data.Count("权函数式个数");
  ASSERT_GT(s, 0u);
  const auto ls = testing::Indirect(data.Rows("系数", n, t), data.Column("常数项", n), Weights(data, n),
                                    data.Rows("限制条件", s, t), data.Column("限制条件常数项", s),
                                    data.Rows("权函数式", k, t));
  const Printed printed = Run("indirect_restrictions.txt");
  EXPECT_EQ(printed.sections.at("常数项"), FixedColumn(ls.solution));  // unknowns, then the correlate
  ExpectPrecision(printed, ls);
}

// The four adjustments describe one levelling network: they must agree.
TEST_F(ExamplesTest, EquivalentModelsOfOneNetworkAgree) {
  const Printed condition = Run("condition.txt");
  for (const char* other : {"condition_parameters.txt", "indirect.txt", "indirect_restrictions.txt"}) {
    const Printed printed = Run(other);
    EXPECT_EQ(printed.sections.at("权"), condition.sections.at("权")) << other;
    EXPECT_EQ(printed.results.at("MO"), condition.results.at("MO")) << other;
    EXPECT_EQ(printed.results.at("[PVV]"), condition.results.at("[PVV]")) << other;
  }
  const Printed indirect = Run("indirect.txt");
  EXPECT_EQ(indirect.results.at("权倒数1"), condition.results.at("权倒数1"));
  EXPECT_EQ(indirect.results.at("权倒数2"), condition.results.at("权倒数2"));
}

}  // namespace
}  // namespace qp
