// Texts placed clear of one another: the measure a candidate place is judged
// by, the declutter candidates, and the sheets of the example networks as the
// command line computes and draws them.
#include "drawing/text_placement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "cli/draw_command.h"
#include "cli/height_command.h"
#include "cli/plane_command.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/settings_block.h"
#include "drawing/label_marks.h"
#include "drawing/text_layout.h"
#include "drawing/vec_file.h"
#include "height/height_file.h"
#include "height/height_network.h"
#include "support/command_input.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

constexpr double kPi = std::numbers::pi;

// A text of `chars` characters 1 mm wide, 2 mm high, with its top-left
// corner at (x, y) paper mm (m = 1: ground metres are paper millimetres).
TextBlock Text(double x, double y, int direction = 900, int chars = 10) {
  return MakeTextBlock(GroundPoint{y, x}, direction, TextFont{"", 2.0f, 1.0f, 0.2f}, Rgb{}, std::string(chars, '8'));
}

TEST(SheetOccupancy, CostsACandidateByOverprintsSharedAreaAndLines) {
  // The obstacle: 10 characters from x 0 to 11.8 mm (less the last gap),
  // y from 0 down to -2 mm.
  struct Case {
    const char* what;
    TextBlock candidate;
    double cost;
  };
  const Case cases[] = {
      {"on top of it", Text(0, 0), 100 + 11.8 * 2},
      {"half a height lower: half shared, an overprint", Text(0, -1), 100 + 11.8},
      {"its last 1.18 mm: a tenth, no overprint", Text(10.62, 0), 1.18 * 2},
      {"clear of it", Text(0, -5), 0},
      {"across the line x = 30", Text(25, -10), 1},
      {"on the symbol at (40, -20), half of it", Text(40, -19), 2},
  };
  SheetOccupancy sheet(1.0);
  sheet.AddText(Text(0, 0));
  sheet.AddLine(GroundPoint{-30, 30}, GroundPoint{-5, 30});
  sheet.AddSymbol(GroundPoint{-20, 40}, 1.0);
  for (const Case& c : cases) EXPECT_NEAR(sheet.Cost(c.candidate), c.cost, 1e-6) << c.what;
}

TEST(SheetOccupancy, ChoosesTheCheapestAndTheFirstAmongEqualsThenHoldsIt) {
  SheetOccupancy sheet(1.0);
  sheet.AddText(Text(0, 0));
  const TextBlock candidates[] = {Text(0, 0), Text(0, -3), Text(0, 3)};
  EXPECT_EQ(sheet.Place(candidates), 1u);
  // The text placed is an obstacle now: the next one takes the free row above.
  EXPECT_EQ(sheet.Place(candidates), 2u);
  const TextBlock none[] = {Text(0, 0)};
  EXPECT_EQ(sheet.Cheapest(none), 0u);
  EXPECT_EQ(sheet.Cheapest({}), 0u);
}

// Signed distance (mm) of a point from the line through `from` at `azimuth`,
// positive to its left (azimuth - 90°).
double Left(GroundPoint p, GroundPoint from, double azimuth) {
  return (p.x - from.x) * std::cos(azimuth - kPi / 2) + (p.y - from.y) * std::sin(azimuth - kPi / 2);
}

TEST(Declutter, CandidatesSlideAlongTheLineThenMirrorAcrossIt) {
  // A text along 30°, its foot 0.5 mm left of the line through the origin:
  // it covers 0.5 to 2.5 mm left of the line.
  const double azimuth = kPi / 6;
  const GroundPoint from{0, 0};
  TextBlock fixed = Text(0, 0, 300);
  fixed.x = 2.5 * std::cos(azimuth - kPi / 2);
  fixed.y = 2.5 * std::sin(azimuth - kPi / 2);
  const std::vector<TextBlock> c = DeclutterCandidates(fixed, from, azimuth, 1.0);
  ASSERT_EQ(c.size(), 14u);
  EXPECT_EQ(c[0].x, fixed.x);
  EXPECT_EQ(c[0].y, fixed.y);
  const double length = 12.0;  // the advance of ten characters 1 mm wide with 0.2 mm gaps
  const double slides[] = {0, 0.25, -0.25, 0.5, -0.5, 0.75, -0.75};
  for (size_t i = 0; i < c.size(); ++i) {
    const TextBox box = TextBoxOf(c[i], 1.0);
    const double top = Left(box.corners[0], from, azimuth), foot = Left(box.corners[3], from, azimuth);
    // The first seven on their side; the others mirrored, covering 0.5 to
    // 2.5 mm right of the line, still reading the same way.
    EXPECT_NEAR(top, i < 7 ? 2.5 : -0.5, 1e-9) << i;
    EXPECT_NEAR(foot, i < 7 ? 0.5 : -2.5, 1e-9) << i;
    const double along = (c[i].x - fixed.x) * std::cos(azimuth) + (c[i].y - fixed.y) * std::sin(azimuth);
    EXPECT_NEAR(along, slides[i % 7] * length, 1e-6) << i;  // float sizes
    EXPECT_EQ(c[i].direction, 300);
  }
}

// ---- the example networks

struct ExampleSheet {
  const char* example;   // examples/<folder>/<name>.txt
  bool height;
  int kinds;
  // The most overprinting pairs of the default drawing, per kind (the
  // remaining ones are texts whose place is fixed).
  std::vector<int> most;
};

const ExampleSheet kSheets[] = {
    {"height/trigonometric", true, 4, {0, 4, 0, 0}},
    {"height/closures", true, 4, {0, 1, 0, 0}},
    {"height/levelling", true, 4, {0, 0, 0, 0}},
    {"height/estimate", true, 4, {0, 0, 0, 0}},
    {"plane/planted_blunder", false, 8, {0, 0, 1, 1, 0, 3, 5, 2}},
    {"plane/national_mode4", false, 8, {0, 0, 1, 1, 0, 2, 0, 4}},
};

struct Placed {
  std::string text;
  TextFootprint footprint;
};

std::vector<Placed> TextsOf(const std::string& vec) {
  const auto drawing = ReadVecFile(vec);
  std::vector<Placed> out;
  if (!drawing) return out;
  for (const VecEntity& e : drawing->entities) {
    if (e.IsShape()) continue;
    if (const auto f = TextFootprintOf(e.text, drawing->settings.scale * 0.001))
      out.push_back({GbkToUtf8(std::string(TextOf(e.text))), *f});
  }
  return out;
}

int Overprints(const std::vector<Placed>& texts) {
  int n = 0;
  for (size_t i = 0; i < texts.size(); ++i)
    for (size_t j = i + 1; j < texts.size(); ++j) n += Overprint(texts[i].footprint, texts[j].footprint);
  return n;
}

struct ExampleSheets : ::testing::Test {
  testing::TempDir dir;
  testing::ScriptedPlatform platform;

  std::string Compute(const ExampleSheet& s) {
    const std::string data = dir.File(s.height ? "NET.NAH" : "NET.NAP");
    const std::string input = testing::ReadBytes(testing::SourcePath(std::string("examples/") + s.example + ".txt"));
    const CommandOptions options = testing::OptionsWithInput(dir, data, input, false);
    EXPECT_EQ(s.height ? RunHeightCommand(options, platform) : RunPlaneCommand(options, platform), 0)
        << s.example << platform.LastMessageUtf8();
    return data;
  }
  std::string Draw(const std::string& data, int kind) {
    CommandOptions options;
    options.dataPath = data;
    options.kind = kind;
    EXPECT_EQ(RunDrawCommand(options, platform), 0) << platform.LastMessageUtf8();
    return dir.File("NET.vec");
  }
};

TEST_F(ExampleSheets, RepeatedLinesNeverOverprintAndTheDefaultSheetStaysWithinItsBound) {
  for (const ExampleSheet& s : kSheets) {
    const std::string data = Compute(s);
    auto net = std::make_unique<HeightNetwork>();
    auto settings = std::make_unique<SettingsBlock>();
    if (s.height) {
      ASSERT_TRUE(ReadHeightFile(data, *settings, *net));
    }
    for (int kind = 0; kind < s.kinds; ++kind) {
      SCOPED_TRACE(std::string(s.example) + " kind " + std::to_string(kind));
      const std::vector<Placed> texts = TextsOf(Draw(data, kind));
      ASSERT_FALSE(texts.empty());
      EXPECT_LE(Overprints(texts), s.most[static_cast<size_t>(kind)]);
      if (!s.height || kind == 0) continue;
      // The observation texts come first, one per line: no two lines between
      // the same two points (either direction) overprint.
      ASSERT_GE(static_cast<int>(texts.size()), net->observationCount);
      for (int i = 0; i < net->observationCount; ++i) {
        for (int j = i + 1; j < net->observationCount; ++j) {
          const std::string_view a = SlotText(net->from[i]), b = SlotText(net->to[i]);
          const std::string_view c = SlotText(net->from[j]), d = SlotText(net->to[j]);
          if (!((a == c && b == d) || (a == d && b == c))) continue;
          EXPECT_FALSE(Overprint(texts[i].footprint, texts[j].footprint)) << texts[i].text << " / " << texts[j].text;
        }
      }
    }
  }
}

TEST_F(ExampleSheets, DeclutterOffChangesNoByteAndOnMovesOnlyTexts) {
  for (const ExampleSheet& s : kSheets) {
    const std::string data = Compute(s);
    for (int kind = 1; kind < s.kinds; ++kind) {
      SCOPED_TRACE(std::string(s.example) + " kind " + std::to_string(kind));
      ASSERT_TRUE(WriteLabelMarks(data, LabelMarks{}));  // no marks: no file
      const std::string plain = testing::ReadBytes(Draw(data, kind));
      // Marks that say "off" (a hand mark keeps the file) draw the same bytes.
      LabelMarks marks;
      MarkPlacedByHand(marks, MovableKind::LoopLabel, 0, GroundPoint{1, 2});
      ASSERT_TRUE(WriteLabelMarks(data, marks));
      EXPECT_EQ(testing::ReadBytes(Draw(data, kind)), plain);
      // On: the same entities, the shapes untouched, the same texts, and
      // never more overprints than without.
      marks.declutter = true;
      ASSERT_TRUE(WriteLabelMarks(data, marks));
      const std::string vec = Draw(data, kind);
      const auto on = ReadVecFile(vec);
      const auto off = ParseVecEntities(std::span(reinterpret_cast<const unsigned char*>(plain.data()), plain.size()));
      ASSERT_TRUE(on && off);
      ASSERT_EQ(on->entities.size(), off->entities.size());
      for (size_t e = 0; e < on->entities.size(); ++e) {
        const VecEntity &a = on->entities[e], &b = off->entities[e];
        ASSERT_EQ(a.IsShape(), b.IsShape()) << e;
        if (a.IsShape()) {
          EXPECT_EQ(a.points, b.points) << e;
        } else {
          EXPECT_EQ(TextOf(a.text), TextOf(b.text)) << e;
          EXPECT_EQ(a.text.direction, b.text.direction) << e;
        }
      }
      const std::string offPath = dir.File("off.vec");
      testing::WriteBytes(offPath, plain);
      EXPECT_LE(Overprints(TextsOf(vec)), Overprints(TextsOf(offPath)));
    }
  }
}

}  // namespace
}  // namespace qp
