// The height network model against the data file record: every example
// network, computed through the command line, read into the model and put
// back gives the stored record byte for byte, and the model holds what the
// record holds; a damaged record gives a bounded model.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "cli/height_command.h"
#include "cli/plane_command.h"
#include "common/name_slot.h"
#include "height/height_file.h"
#include "height/height_model_record.h"
#include "support/command_input.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

struct HeightModelRoundTrip : ::testing::TestWithParam<const char*> {
  testing::TempDir dir;
  testing::ScriptedPlatform platform;
  std::unique_ptr<SettingsBlock> settings = std::make_unique<SettingsBlock>();
  std::unique_ptr<HeightNetwork> net = std::make_unique<HeightNetwork>();

  // The record the command line stores for example `name`.
  void Compute(const std::string& name) {
    CommandOptions options;
    if (name == "derived") {
      // The height differences a mode-2 plane computation hands over.
      options.dataPath = dir.File("SLOPE.NAP");
      options.inputPath = testing::SourcePath("examples/plane/slope_mode2.txt");
      ASSERT_EQ(RunPlaneCommand(options, platform), 0) << platform.LastMessageUtf8();
      options = CommandOptions{};
      options.dataPath = dir.File("SLOPEBPT.NAH");
    } else {
      options.dataPath = dir.File("NET.NAH");
      options.inputPath = testing::SourcePath("examples/height/" + name + ".txt");
    }
    ASSERT_EQ(RunHeightCommand(options, platform), 0) << platform.LastMessageUtf8();
    ASSERT_TRUE(ReadHeightFile(options.dataPath, *settings, *net));
  }
};

TEST_P(HeightModelRoundTrip, PuttingTheModelBackGivesTheSameRecord) {
  ASSERT_NO_FATAL_FAILURE(Compute(GetParam()));
  const HeightModel model = HeightModelFromRecord(*net);
  auto back = std::make_unique<HeightNetwork>(*net);
  PutHeightResults(model, *back);
  PutHeightLoops(model, *back);
  PutHeightLayout(model, *back);
  EXPECT_EQ(std::memcmp(back.get(), net.get(), sizeof(HeightNetwork)), 0);

  // The tables by index, each observation joined to its points by name.
  ASSERT_EQ(model.PointCount(), net->pointCount);
  EXPECT_EQ(model.KnownCount(), net->knownCount);
  EXPECT_EQ(model.ApproxCount(), net->approxCount);
  EXPECT_EQ(model.Redundancy(), net->redundancy);
  ASSERT_EQ(static_cast<int>(model.differences.size()), net->observationCount);
  for (const HeightDifference& d : model.differences) {
    ASSERT_TRUE(d.Joined()) << d.fromName << " " << d.toName;
    EXPECT_EQ(model.points[d.from].name, d.fromName);
    EXPECT_EQ(model.points[d.to].name, d.toName);
  }
  EXPECT_EQ(static_cast<int>(model.loops.size()), net->loopCount);
  for (size_t k = 0; k < model.loops.size(); ++k) {
    EXPECT_EQ(model.loops[k].closure, net->loops[k].closure);
    EXPECT_EQ(model.loops[k].names[1], SlotText(net->loops[k].names[1]));
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, HeightModelRoundTrip,
                         ::testing::Values("levelling", "trigonometric", "free", "estimate", "closures", "derived"));

TEST(HeightModelFromRecord, DamagedCountsGiveABoundedModel) {
  auto net = std::make_unique<HeightNetwork>();
  ResetHeightNetwork(*net, "x.NAH");
  // Counts a damaged file may hold: beyond the arrays, negative, more known
  // points than points.
  net->pointCount = 1 << 30;
  net->knownCount = 1 << 30;
  net->approxCount = -7;
  net->observationCount = 99999;
  net->pairCount = -1;
  net->coordinateCount = 1 << 20;
  net->loopCount = 5000;
  const HeightModel m = HeightModelFromRecord(*net);
  EXPECT_EQ(m.PointCount(), kMaxHeightPoints);
  EXPECT_EQ(m.KnownCount(), kMaxHeightPoints);
  EXPECT_EQ(m.UnknownPointCount(), 0);
  EXPECT_EQ(m.differences.size(), static_cast<size_t>(kMaxHeightDifferences));
  EXPECT_TRUE(m.pairs.empty());
  EXPECT_EQ(m.coordinates.size(), static_cast<size_t>(kMaxHeightPoints));
  EXPECT_EQ(m.loops.size(), static_cast<size_t>(kMaxLoopEntries));
  // Empty names are one point; a difference between two of them is joined
  // to that first point.
  EXPECT_EQ(m.Find(""), 0);
  EXPECT_EQ(m.differences.back().from, 0);

  net->pointCount = 3;
  net->knownCount = 1;
  net->approxCount = 5;  // more than the points left
  SetSlotText(net->pointName[0], "A");
  SetSlotText(net->pointName[1], "B");
  SetSlotText(net->pointName[2], "A");  // a repeated name keeps the first
  net->observationCount = 1;
  SetSlotText(net->from[0], "B");
  SetSlotText(net->to[0], "Z");
  const HeightModel small = HeightModelFromRecord(*net);
  EXPECT_EQ(small.ApproxCount(), 2);
  EXPECT_EQ(small.points[2].role, HeightPointRole::Approximate);
  EXPECT_EQ(small.Find("A"), 0);
  EXPECT_EQ(small.differences[0].from, 1);
  EXPECT_EQ(small.differences[0].to, -1);
  EXPECT_FALSE(small.differences[0].Joined());
  // The errors of the later differences sit in the record's second block.
  // Style bytes of a damaged file come back as they were; the kind drawn
  // stays within the four.
  net->diagramKind = 99;
  SetSlotText(net->numberFontFace, "F");
  net->numberFontFace[20] = 'Z';
  net->loopCount = 1;
  net->loops[0].drawFlag = 2;
  {
    HeightModel styled = HeightModelFromRecord(*net);
    EXPECT_EQ(styled.diagram.DrawnKind(), 3);
    auto back = std::make_unique<HeightNetwork>(*net);
    PutHeightLayout(styled, *back);
    EXPECT_EQ(std::memcmp(back.get(), net.get(), sizeof(HeightNetwork)), 0);
    styled.loops[0].drawn = false;
    styled.diagram.kind = 1;
    PutHeightLayout(styled, *back);
    EXPECT_EQ(back->loops[0].drawFlag, 0);
    EXPECT_EQ(back->diagramKind, 1);
    EXPECT_EQ(back->numberFontFace[20], 'Z');
  }
  net->observationCount = kLowDifferenceErrors + 2;
  SetDifferenceError(*net, kLowDifferenceErrors + 1, 2.5f);
  HeightModel late = HeightModelFromRecord(*net);
  EXPECT_EQ(late.differences[kLowDifferenceErrors + 1].error, 2.5f);
  late.differences[kLowDifferenceErrors].error = 0.75f;
  PutHeightResults(late, *net);
  EXPECT_EQ(net->differenceErrorHigh[0], 0.75f);
}

}  // namespace
}  // namespace qp
