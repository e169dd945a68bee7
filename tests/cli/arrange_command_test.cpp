// "注记整理" on computed example networks: the movable texts overprint less
// (by the collision counter's measure, counted here pair by pair), a text
// placed by hand on free paper stays, the result does not depend on the run,
// only label positions reach the data file, and `quorvex arrange` writes
// nothing for a file it cannot read.
#include "cli/arrange_command.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/height_command.h"
#include "cli/plane_command.h"
#include "common/binary_file.h"
#include "drawing/drawing_export.h"
#include "workflow/drawing_files.h"
#include "drawing/label_arrangement.h"
#include "drawing/network_drawing.h"
#include "drawing/text_footprint.h"
#include "height/height_file.h"
#include "plane/plane_file.h"
#include "plane/plane_network.h"
#include "quorvex_program.h"
#include "support/record_drawing.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::RunQuorvexProgram;
using testing::ScriptedPlatform;
using testing::SourcePath;
using testing::TempDir;

struct Texts : EntitySink {
  void Shape(const EntityHeader&, const ShapeBlock&, std::span<const GroundPoint>) override {}
  void Text(const EntityHeader&, const TextBlock& b) override { blocks.push_back(b); }
  std::vector<TextBlock> blocks;
};

bool Arrangeable(MovableKind k) {
  return k == MovableKind::PlaneName || k == MovableKind::TraverseLabel || k == MovableKind::HeightName ||
         k == MovableKind::LoopLabel;
}

// Arranges the record's texts (the plane one when `plane` is given).
std::optional<int> ArrangeRecord(SettingsBlock& settings, PlaneNetwork* plane, HeightNetwork* height,
                                 const LabelMarks& marks = {}) {
  if (plane) {
    return testing::ChangeLayout(
        *plane, [&](PlaneModel& model) { return ArrangePlaneLabels(settings, model, marks, DrawContext{}); });
  }
  return testing::ChangeLayout(
      *height, [&](HeightModel& model) { return ArrangeHeightLabels(settings, model, marks, DrawContext{}); });
}

// Overprinting pairs of the sheet's texts with at least one arrangeable text among them.
int MovableOverprints(SettingsBlock& settings, const PlaneNetwork* plane, const HeightNetwork* height) {
  Texts texts;
  MovableItemList items;
  EXPECT_TRUE(testing::DrawRecordSheet(texts, settings, plane, height, DrawContext{}, &items));
  const double m = settings.scale * 0.001;
  std::vector<TextFootprint> footprints;
  std::vector<bool> movable;
  for (const TextBlock& b : texts.blocks) {
    const auto f = TextFootprintOf(b, m);
    if (!f) continue;
    bool isMovable = false;
    for (const MovableItem& item : items.Items()) {
      isMovable = isMovable || (item.isText && Arrangeable(item.kind) && item.text.x == b.x && item.text.y == b.y &&
                                TextOf(item.text) == TextOf(b));
    }
    footprints.push_back(*f);
    movable.push_back(isMovable);
  }
  int pairs = 0;
  for (size_t i = 0; i < footprints.size(); ++i)
    for (size_t j = i + 1; j < footprints.size(); ++j)
      if ((movable[i] || movable[j]) && Overprint(footprints[i], footprints[j])) ++pairs;
  return pairs;
}

std::string Computed(const TempDir& dir, const std::string& example, bool plane) {
  ScriptedPlatform platform;
  CommandOptions options;
  options.dataPath = dir.File(example + (plane ? ".NAP" : ".NAH"));
  options.inputPath = SourcePath((plane ? "examples/plane/" : "examples/height/") + example + ".txt");
  const int status = plane ? RunPlaneCommand(options, platform) : RunHeightCommand(options, platform);
  EXPECT_EQ(status, 0) << example << ": " << platform.LastMessageUtf8();
  return options.dataPath;
}

TEST(LabelArrangement, MovableTextsOverprintLessOnTheExamples) {
  struct Case {
    const char* example;
    bool plane;
    int kind;
  } cases[] = {
      {"fixed_weighted", true, 2}, {"national_mode4", true, 5}, {"slope_mode2", true, 5},
      {"polar_traverse", true, 7}, {"closures", false, 1},      {"levelling", false, 3},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.example) + " kind " + std::to_string(c.kind));
    const std::string path = Computed(dir, c.example, c.plane);
    ScriptedPlatform platform;
    auto settings = std::make_unique<SettingsBlock>();
    auto plane = std::make_unique<PlaneNetwork>();
    auto height = std::make_unique<HeightNetwork>();
    if (c.plane) {
      ASSERT_TRUE(OpenPlaneDrawing(path, *settings, *plane, platform));
      plane->displayMode = c.kind;
    } else {
      ASSERT_TRUE(OpenHeightDrawing(path, *settings, *height, platform));
      height->diagramKind = c.kind;
    }
    PlaneNetwork* p = c.plane ? plane.get() : nullptr;
    HeightNetwork* h = c.plane ? nullptr : height.get();
    const int before = MovableOverprints(*settings, p, h);
    const auto moved = ArrangeRecord(*settings, p, h);
    ASSERT_TRUE(moved);
    const int after = MovableOverprints(*settings, p, h);
    EXPECT_TRUE(after == 0 || after < before) << before << " -> " << after;
    EXPECT_LE(after, before);
    if (before > 0) {
      EXPECT_GT(*moved, 0);
    }
    // Arranging what is arranged finds nothing more to overprint less.
    ASSERT_TRUE(ArrangeRecord(*settings, p, h));
    EXPECT_LE(MovableOverprints(*settings, p, h), after);
  }
}

struct OpenPlane {
  std::unique_ptr<SettingsBlock> settings = std::make_unique<SettingsBlock>();
  std::unique_ptr<PlaneNetwork> net = std::make_unique<PlaneNetwork>();
};

OpenPlane Open(const std::string& path) {
  OpenPlane open;
  ScriptedPlatform platform;
  EXPECT_TRUE(OpenPlaneDrawing(path, *open.settings, *open.net, platform));
  return open;
}

TEST(LabelArrangement, HandPlacedTextStaysWhenFreeAndMovesWhenItCollides) {
  TempDir dir;
  const std::string path = Computed(dir, "triangulation", true);
  const double m = Open(path).settings->scale * 0.001;
  // Name 0 put 12 mm east and 9 mm north of its place: clear of the sheet's
  // texts and symbols there (checked below), yet not its default place.
  struct Case {
    float north, east;  // its label offset (mm)
    bool onAnotherName;
  } cases[] = {{9.0f, 12.0f, false}, {0.0f, 0.0f, true}};
  for (const Case& c : cases) {
    OpenPlane open = Open(path);
    PlaneNetwork& net = *open.net;
    float north = c.north, east = c.east;
    if (c.onAnotherName) {
      // Exactly onto the name of point 1 (same length of name assumed by the layout).
      north = static_cast<float>((net.x[1] - net.x[0]) / m);
      east = static_cast<float>((net.y[1] - net.y[0]) / m);
    }
    net.labelOffsetX[0] = north;
    net.labelOffsetY[0] = east;
    if (!c.onAnotherName) {
      ASSERT_EQ(MovableOverprints(*open.settings, &net, nullptr), 0);
    }
    LabelMarks marks;
    MarkPlacedByHand(marks, MovableKind::PlaneName, 0, {north, east});
    ASSERT_TRUE(ArrangeRecord(*open.settings, &net, nullptr, marks));
    if (c.onAnotherName) {
      EXPECT_FALSE(net.labelOffsetX[0] == north && net.labelOffsetY[0] == east);
      EXPECT_EQ(MovableOverprints(*open.settings, &net, nullptr), 0);
    } else {
      EXPECT_EQ(net.labelOffsetX[0], north);
      EXPECT_EQ(net.labelOffsetY[0], east);
      // Not placed by hand, the same text goes back to where arranging puts
      // it when it was never moved.
      OpenPlane unmoved = Open(path);
      ASSERT_TRUE(ArrangeRecord(*unmoved.settings, unmoved.net.get(), nullptr));
      OpenPlane again = Open(path);
      again.net->labelOffsetX[0] = north;
      again.net->labelOffsetY[0] = east;
      ASSERT_TRUE(ArrangeRecord(*again.settings, again.net.get(), nullptr));
      EXPECT_NEAR(again.net->labelOffsetX[0], unmoved.net->labelOffsetX[0], 1e-3);
      EXPECT_NEAR(again.net->labelOffsetY[0], unmoved.net->labelOffsetY[0], 1e-3);
    }
  }
}

TEST(LabelArrangement, DamagedRecordsAreArrangedWithoutHarm) {
  TempDir dir;
  const std::string path = Computed(dir, "triangulation", true);
  struct Case {
    int point;
    double x;
    float offsetNorth, offsetEast;
  } cases[] = {
      {0, 0.0, 1e30f, 0.0f},                                        // a name far off the sheet
      {1, 1e300, 0.0f, 0.0f},                                       // a point far away, its sides with it
      {2, 0.0, std::numeric_limits<float>::quiet_NaN(), -5e3f},     // a damaged offset
  };
  for (const Case& c : cases) {
    OpenPlane open = Open(path);
    if (c.x != 0.0) open.net->x[c.point] = c.x;
    open.net->labelOffsetX[c.point] = c.offsetNorth;
    open.net->labelOffsetY[c.point] = c.offsetEast;
    const auto moved = ArrangeRecord(*open.settings, open.net.get(), nullptr);
    ASSERT_TRUE(moved) << c.point;
    for (int i = 0; i < open.net->pointCount; ++i) {
      EXPECT_FALSE(std::isnan(open.net->labelOffsetX[i]) && i != c.point) << i;
    }
  }
}

// The record after arranging, with its label positions taken back to those
// before: what else arranging changed.
void ExpectOnlyLabelsChanged(const std::string& before, const std::string& after) {
  auto settingsA = std::make_unique<SettingsBlock>();
  auto settingsB = std::make_unique<SettingsBlock>();
  auto a = std::make_unique<PlaneNetwork>();
  auto b = std::make_unique<PlaneNetwork>();
  ASSERT_TRUE(ReadWritePlaneFile(before, FileDirection::Read, *settingsA, *a));
  ASSERT_TRUE(ReadWritePlaneFile(after, FileDirection::Read, *settingsB, *b));
  int moved = 0;
  for (int i = 0; i < kMaxPlanePoints; ++i) {
    moved += b->labelOffsetX[i] != a->labelOffsetX[i] || b->labelOffsetY[i] != a->labelOffsetY[i];
    b->labelOffsetX[i] = a->labelOffsetX[i];
    b->labelOffsetY[i] = a->labelOffsetY[i];
  }
  for (int t = 0; t < TraverseCount(*a); ++t) {
    const TraverseClosure old = ReadTraverseClosure(*a, t);
    TraverseClosure now = ReadTraverseClosure(*b, t);
    moved += now.labelX != old.labelX || now.labelY != old.labelY;
    now.labelX = old.labelX;
    now.labelY = old.labelY;
    StoreTraverseClosure(*b, t, now);
  }
  EXPECT_GT(moved, 0);
  EXPECT_EQ(std::memcmp(a.get(), b.get(), sizeof(PlaneNetwork)), 0);
  // The sheet's title slot carries the title of the kind, as after any drawing.
  const size_t title = offsetof(SettingsBlock, sheetTexts) + kDiagramTitleSlot * 65;
  std::memcpy(reinterpret_cast<char*>(settingsB.get()) + title, reinterpret_cast<const char*>(settingsA.get()) + title, 65);
  EXPECT_EQ(std::memcmp(settingsA.get(), settingsB.get(), sizeof(SettingsBlock)), 0);
}

TEST(ArrangeCommand, WritesTheSameDataTwiceAndOnlyLabelPositionsChange) {
  TempDir dir;
  const std::string path = Computed(dir, "fixed_weighted", true);
  const std::string original = ReadBytes(path);
  const std::string copy = dir.File("COPY.NAP");
  testing::WriteBytes(copy, original);
  testing::WriteBytes(dir.File("ORIG.NAP"), original);
  std::string firstMessage;
  for (const std::string& p : {path, copy}) {
    ScriptedPlatform platform;
    CommandOptions options;
    options.dataPath = p;
    options.kind = 5;
    ASSERT_EQ(RunArrangeCommand(options, platform), 0) << platform.LastMessageUtf8();
    const std::string last = platform.LastMessageUtf8();
    EXPECT_EQ(last.rfind("注记整理完成, 移动了 ", 0), 0u) << last;
    EXPECT_EQ(last.find(" 移动了 0 "), std::string::npos);
    if (firstMessage.empty()) firstMessage = last;
    EXPECT_EQ(last, firstMessage);
  }
  EXPECT_NE(ReadBytes(path), original);
  EXPECT_EQ(ReadBytes(path), ReadBytes(copy));
  // Nothing was placed by hand: no marks file to keep.
  EXPECT_FALSE(FileExists(LabelMarksPath(path)));
  ExpectOnlyLabelsChanged(dir.File("ORIG.NAP"), path);
}

TEST(ArrangeCommand, KeepsTheMarksAndRefusesADamagedFile) {
  TempDir dir;
  const std::string path = Computed(dir, "closures", false);
  LabelMarks marks;
  MarkPlacedByHand(marks, MovableKind::HeightName, 0, {5.0, 5.0});  // stale: the name holds 0, 0
  ASSERT_TRUE(WriteLabelMarks(path, marks));
  ScriptedPlatform platform;
  CommandOptions options;
  options.dataPath = path;
  ASSERT_EQ(RunArrangeCommand(options, platform), 0) << platform.LastMessageUtf8();
  EXPECT_EQ(ReadLabelMarks(path).handPlaced.size(), 1u);

  const std::string damaged = dir.File("BAD.NAH");
  testing::WriteBytes(damaged, ReadBytes(path).substr(0, 1000));
  options.dataPath = damaged;
  EXPECT_EQ(RunArrangeCommand(options, platform), 1);
  EXPECT_EQ(platform.LastMessageUtf8(), "高程网数据文件错误 !");
  EXPECT_EQ(ReadBytes(damaged).size(), 1000u);
  EXPECT_FALSE(FileExists(LabelMarksPath(damaged)));
  EXPECT_EQ(RunQuorvexProgram("arrange " + dir.File("MISSING.NAP")), 1);
  EXPECT_FALSE(FileExists(dir.File("MISSING.NAP")));
  EXPECT_EQ(RunQuorvexProgram("arrange " + path + " --svg " + dir.File("X.svg")), 2);
  EXPECT_EQ(RunQuorvexProgram("arrange " + path + " --kind 4"), 2);

  // The save question is answered like every other: --no keeps the file as it was.
  TempDir other;
  const std::string fresh = Computed(other, "closures", false);
  const std::string before = ReadBytes(fresh);
  EXPECT_EQ(RunQuorvexProgram("arrange " + fresh + " --no"), 0);
  EXPECT_EQ(ReadBytes(fresh), before);
  EXPECT_EQ(RunQuorvexProgram("arrange " + fresh + " --yes"), 0);
  EXPECT_NE(ReadBytes(fresh), before);
  EXPECT_EQ(RunQuorvexProgram("arrange " + fresh + " --yes --no"), 2);
}

}  // namespace
}  // namespace qp
