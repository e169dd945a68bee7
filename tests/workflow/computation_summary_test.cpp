// The status line after a computation, from the results the bundled examples
// leave in their data files, against the figures their golden reports print.
#include "workflow/computation_summary.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>

#include "cli/height_command.h"
#include "cli/plane_command.h"
#include "common/gbk_text.h"
#include "common/settings_block.h"
#include "height/height_file.h"
#include "height/height_model_record.h"
#include "plane/plane_file.h"
#include "plane/plane_model_record.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::SourcePath;

// The last precision section of a golden report: its unit-weight error and
// weakest point as printed.
struct PrintedFigures {
  std::string m0, weakestName, weakestError;
};

PrintedFigures FiguresOf(const std::string& goldenPath) {
  const std::string text = GbkToUtf8(ReadBytes(goldenPath));
  static const std::regex m0(R"(\n\s*单位权中误差=\s*([0-9.]+))");
  static const std::regex weakest(R"(最弱点(?:点位|高程)中误差\(\s*(\S+)\)=\s*([0-9.]+))");
  PrintedFigures f;
  for (std::sregex_iterator it(text.begin(), text.end(), m0), end; it != end; ++it) f.m0 = (*it)[1];
  for (std::sregex_iterator it(text.begin(), text.end(), weakest), end; it != end; ++it) {
    f.weakestName = (*it)[1];
    f.weakestError = (*it)[2];
  }
  return f;
}

struct SummaryCase {
  const char* example;  // under examples/ and tests/<network>/golden/
  bool adjusted;
};

TEST(ComputationSummary, GivesTheFiguresTheReportPrints) {
  const SummaryCase cases[] = {
      {"plane/triangulation", true},  {"plane/polar_traverse", true},   {"plane/intersection_resection", true},
      {"plane/trilateration", true},  {"plane/slope_mode2", true},      {"plane/projected_mode3", true},
      {"plane/national_mode4", true}, {"plane/fixed_weighted", true},   {"plane/design_estimate", false},
      {"height/levelling", true},     {"height/trigonometric", true},   {"height/free", true},
      {"height/closures", true},      {"height/estimate", false},
  };
  for (const SummaryCase& c : cases) {
    SCOPED_TRACE(c.example);
    const std::string name(c.example);
    const bool height = name.starts_with("height/");
    testing::TempDir dir;
    testing::ScriptedPlatform platform;
    CommandOptions options;
    options.dataPath = dir.File(height ? "NET.NAH" : "NET.NAP");
    options.inputPath = SourcePath("examples/" + name + ".txt");
    ASSERT_EQ(height ? RunHeightCommand(options, platform) : RunPlaneCommand(options, platform), 0)
        << platform.LastMessageUtf8();

    const size_t slash = name.find('/');
    const PrintedFigures printed =
        FiguresOf(SourcePath("tests/" + name.substr(0, slash) + "/golden/" + name.substr(slash + 1) + ".txt"));
    ASSERT_FALSE(printed.weakestName.empty());
    const char* errorUnit = height ? "mm" : "cm";
    const std::string weakest = "最弱点 " + printed.weakestName + " " + printed.weakestError + " " + errorUnit;
    const std::string expected = c.adjusted ? "平差完成: m0=±" + printed.m0 + (height ? " mm" : "″") + ", " + weakest
                                            : "估算完成: " + weakest;

    // The results as the document reads them back from the data file.
    auto settings = std::make_unique<SettingsBlock>();
    std::string summary;
    if (height) {
      auto net = std::make_unique<HeightNetwork>();
      ASSERT_TRUE(ReadHeightFile(options.dataPath, *settings, *net));
      summary = HeightComputationSummary(HeightModelFromRecord(*net), GlobalTestOutcome::NotMade);
    } else {
      auto net = std::make_unique<PlaneNetwork>();
      ASSERT_TRUE(ReadWritePlaneFile(options.dataPath, FileDirection::Read, *settings, *net));
      summary = PlaneComputationSummary(PlaneModelFromRecord(*net), GlobalTestOutcome::NotMade);
    }
    EXPECT_EQ(summary, expected);
  }
}

TEST(ComputationSummary, NamesTheGlobalTestsVerdictAndCopesWithoutUnknownPoints) {
  HeightModel levelled;
  levelled.mode = kHeightAdjust;
  levelled.sigma0 = 1.25;
  levelled.points = {{"A", HeightPointRole::Known}, {"B", HeightPointRole::Unknown, 10.0, 2.5f},
                     {"C", HeightPointRole::Unknown, 11.0, 3.25f}};
  levelled.differences.resize(3);
  levelled.Index();
  EXPECT_EQ(HeightComputationSummary(levelled, GlobalTestOutcome::Passed),
            "平差完成: m0=±1.250 mm, 最弱点 C 3.25 mm; 整体检验通过");
  EXPECT_EQ(HeightComputationSummary(levelled, GlobalTestOutcome::Rejected),
            "平差完成: m0=±1.250 mm, 最弱点 C 3.25 mm; 整体检验拒绝");

  PlaneModel fixedOnly;  // every point known: nothing to name as weakest
  fixedOnly.calcMode = 1;
  fixedOnly.redundancy = 2;
  fixedOnly.sigma0 = 0.5;
  fixedOnly.points.resize(2);
  fixedOnly.knownCount = 2;
  EXPECT_EQ(PlaneComputationSummary(fixedOnly, GlobalTestOutcome::NotMade), "平差完成: m0=±0.500″");
  PlaneModel empty;
  EXPECT_EQ(PlaneComputationSummary(empty, GlobalTestOutcome::NotMade), "估算完成: 没有待定点");
}

}  // namespace
}  // namespace qp
