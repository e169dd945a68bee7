// Every example network computed by the plane command, its stored record
// turned into the model and the model's point list and sets, results,
// directions, heights, sides and traverses put back: the record keeps every byte, also when the entries
// beyond its counts and its reserved regions hold random bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "cli/plane_command.h"
#include "common/name_slot.h"
#include "plane/closure_checks.h"
#include "plane/plane_file.h"
#include "plane/plane_model_record.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ScriptedPlatform;
using testing::SourcePath;
using testing::TempDir;

template <typename T, size_t N>
void Scramble(T (&table)[N], int32_t count, std::mt19937& random) {
  const size_t used = count < 0 ? 0 : std::min(static_cast<size_t>(count), N);
  auto* bytes = reinterpret_cast<unsigned char*>(table + used);
  for (size_t i = 0; i < (N - used) * sizeof(T); ++i) bytes[i] = static_cast<unsigned char>(random());
}

void ScrambleUnlisted(PlaneNetwork& net, std::mt19937& random) {
  for (auto* table : {&net.x, &net.y}) Scramble(*table, net.pointCount, random);
  for (auto* table : {&net.pointE, &net.pointF, &net.pointQ}) Scramble(*table, net.pointCount, random);
  for (auto* table : {&net.sideMs, &net.sideMt, &net.sideE, &net.sideF, &net.sideQ}) {
    Scramble(*table, net.sideCount, random);
  }
  for (auto* table : {&net.pairMs, &net.pairMt, &net.pairE, &net.pairF, &net.pairQ}) {
    Scramble(*table, net.precisionPairCount, random);
  }
  Scramble(net.reserved36, 0, random);
  Scramble(net.resultRegionA1, 0, random);
  Scramble(net.resultRegionA2, 0, random);
  Scramble(net.resultRegionD, 0, random);
}

class PlaneModelRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(PlaneModelRoundTrip, GivesBackTheRecordByteForByte) {
  TempDir dir;
  ScriptedPlatform platform;
  CommandOptions options;
  options.dataPath = dir.File("NET.NAP");
  options.inputPath = SourcePath(std::string("examples/plane/") + GetParam() + ".txt");
  RunPlaneCommand(options, platform);  // failing examples leave their confirmed network
  auto settings = std::make_unique<SettingsBlock>();
  auto net = std::make_unique<PlaneNetwork>();
  ASSERT_TRUE(ReadWritePlaneFile(options.dataPath, FileDirection::Read, *settings, *net));
  std::mt19937 random(7);
  for (bool scrambled : {false, true}) {
    if (scrambled) ScrambleUnlisted(*net, random);
    const auto before = std::make_unique<PlaneNetwork>(*net);
    const PlaneModel model = PlaneModelFromRecord(*net);
    EXPECT_EQ(model.pointCount(), net->pointCount);
    // The counts the raw-data report prints are the model's own.
    EXPECT_EQ(model.NonStationCount(), net->nonStationCount);
    EXPECT_EQ(model.GivenCount() - model.knownCount, net->approxCount);
    EXPECT_EQ(model.distanceLines.size(), static_cast<size_t>(net->distanceLineCount));
    PutPlanePointList(model, *net);
    PutPlaneResults(model, *net);
    PutPlaneDirections(model, *net);
    PutPlaneHeights(model, *net);
    PutPlaneSides(model, *net);
    PutPlaneTraverses(model, *net);
    PutPlaneLayout(model, *net);
    EXPECT_EQ(std::memcmp(before.get(), net.get(), sizeof(PlaneNetwork)), 0) << (scrambled ? "scrambled" : "as stored");
  }
}

// Style and traverse bytes a damaged file may hold: they are carried as they
// are, and a changed flag or face changes only its own bytes.
TEST(PlaneModelLayout, DamagedStyleAndTraverseBytesComeBackAsTheyWere) {
  auto net = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*net, "x.NAP");
  SetSlotText(net->pointName[0], "A");
  net->pointCount = 1;
  net->displayMode = 99;
  net->breakthroughWarning = 2;
  SetSlotText(net->textFontFace, "F");
  net->textFontFace[10] = 'Z';  // after the terminating zero
  TraverseClosure t;
  SetSlotText(t.start, "A");
  SetSlotText(t.end, "GONE");  // a name the point table does not hold
  t.kind = 5;
  t.drawn = 2;
  StoreTraverseClosure(*net, 0, t);
  StoreTraverseClosure(*net, 1, t);
  net->closureCheckCount = 2;
  uint8_t* entries = reinterpret_cast<uint8_t*>(net.get()) + kTraverseTableOffset;
  entries[100] = 0xAB;  // reserved bytes of the first entry
  entries[kTraverseEntrySize + 100] = 0xCD;

  const auto before = std::make_unique<PlaneNetwork>(*net);
  PlaneModel model = PlaneModelFromRecord(*net);
  EXPECT_EQ(model.diagram.kind, 99);
  ASSERT_EQ(model.traverses.size(), 2u);
  EXPECT_FALSE(model.traverses[0].IsTraverse());
  EXPECT_EQ(model.traverses[0].end, -1);
  PutPlaneLayout(model, *net);
  EXPECT_EQ(std::memcmp(before.get(), net.get(), sizeof(PlaneNetwork)), 0);

  model.traverses[1].drawn = false;
  model.diagram.textFace = "G";
  PutPlaneLayout(model, *net);
  EXPECT_EQ(entries[96], 2);
  EXPECT_EQ(entries[kTraverseEntrySize + 96], 0);
  EXPECT_EQ(entries[kTraverseEntrySize + 100], 0xCD);
  EXPECT_EQ(SlotText(net->textFontFace), "G");
  EXPECT_EQ(net->textFontFace[10], 0) << "a new face is written whole";
  EXPECT_EQ(ReadTraverseClosure(*net, 1).kind, 5);
}

INSTANTIATE_TEST_SUITE_P(Examples, PlaneModelRoundTrip,
                         ::testing::Values("datum_deficient", "design_estimate", "fixed_weighted", "gross_errors",
                                           "intersection_resection", "national_mode4", "not_converging",
                                           "planted_blunder", "polar_traverse", "projected_mode3", "rank_deficient",
                                           "slope_mode2", "triangulation", "trilateration"));

}  // namespace
}  // namespace qp
