// The observations the statistical tests flag are red on the diagrams of
// observation values: the example with a planted blunder and a levelling
// network with one, computed and drawn by the command line. Exactly the
// flagged observations are red, and everything else is drawn as without the
// report.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/draw_command.h"
#include "cli/height_command.h"
#include "cli/plane_command.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "drawing/text_layout.h"
#include "drawing/vec_file.h"
#include "height/height_file.h"
#include "plane/plane_file.h"
#include "statistics/statistics_report.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::ScriptedPlatform;
using testing::SourcePath;
using testing::TempDir;

const uint32_t kRedWord = ColourWord(PaletteColour(kRed));

bool IsRed(const VecEntity& e) {
  return e.IsShape() ? DrawStyle{e.shape.style}.PenColourIndex() == kRed : e.text.colour == kRedWord;
}

// Whether two entities are the same but for the pen colour and weight of a
// shape or the colour of a text.
bool SameButColour(const VecEntity& a, const VecEntity& b) {
  if (std::memcmp(&a.header, &b.header, sizeof a.header) != 0) return false;
  if (!a.IsShape()) {
    TextBlock t = a.text;
    t.colour = b.text.colour;
    return std::memcmp(&t, &b.text, sizeof t) == 0;
  }
  ShapeBlock s = a.shape;
  s.style = b.shape.style;
  if (std::memcmp(&s, &b.shape, sizeof s) != 0 || a.points.size() != b.points.size()) return false;
  for (size_t i = 0; i < a.points.size(); ++i)
    if (a.points[i].x != b.points[i].x || a.points[i].y != b.points[i].y) return false;
  return true;
}

struct Drawn {
  std::vector<std::string> redTexts;  // UTF-8
  std::vector<VecEntity> redShapes;
  bool redInSvg = false;
  int redInDxf = 0;  // entities of colour number 1
};

int RedDxfEntities(const std::string& dxf) {
  int red = 0;
  for (size_t at = dxf.find("\n 62\n1\n"); at != std::string::npos; at = dxf.find("\n 62\n1\n", at + 1)) ++red;
  return red;
}

// `quorvex draw` with the report beside the data file and again without it:
// the red entities of the first, after checking that the second has none and
// that the first is the second with those recoloured or added. The report is
// put back afterwards.
Drawn DrawWithAndWithoutFlags(const std::string& dataPath, int kind) {
  Drawn drawn;
  const std::string reportPath = StatisticsReportPathFor(dataPath);
  const std::string report = ReadBytes(reportPath);
  ScriptedPlatform platform;
  CommandOptions draw;
  draw.dataPath = dataPath;
  draw.kind = kind;
  const std::string vecPath = dataPath.substr(0, dataPath.size() - 3) + "vec";
  draw.svgPath = vecPath + ".svg";
  draw.dxfPath = vecPath + ".dxf";
  EXPECT_EQ(RunDrawCommand(draw, platform), 0) << platform.LastMessageUtf8();
  const auto flagged = ReadVecFile(vecPath);
  drawn.redInSvg = ReadBytes(*draw.svgPath).find("#ff0000") != std::string::npos;
  drawn.redInDxf = RedDxfEntities(ReadBytes(*draw.dxfPath));

  std::filesystem::remove(reportPath);
  EXPECT_EQ(RunDrawCommand(draw, platform), 0) << platform.LastMessageUtf8();
  const auto plain = ReadVecFile(vecPath);
  EXPECT_EQ(ReadBytes(*draw.svgPath).find("#ff0000"), std::string::npos);
  EXPECT_EQ(RedDxfEntities(ReadBytes(*draw.dxfPath)), 0);
  testing::WriteBytes(reportPath, report);
  if (!flagged || !plain) {
    ADD_FAILURE() << "no .vec file";
    return drawn;
  }
  for (const VecEntity& e : plain->entities) EXPECT_FALSE(IsRed(e));

  size_t j = 0;
  for (const VecEntity& e : flagged->entities) {
    const bool red = IsRed(e);
    const VecEntity* p = j < plain->entities.size() ? &plain->entities[j] : nullptr;
    if (p && SameButColour(e, *p) && (red || (e.shape.style == p->shape.style && e.text.colour == p->text.colour))) {
      ++j;  // drawn as before, or recoloured red
    } else if (!red || !e.IsShape()) {  // only red lines may be added
      ADD_FAILURE() << "entity " << &e - flagged->entities.data() << " differs";
      return drawn;
    }
    if (red && e.IsShape()) drawn.redShapes.push_back(e);
    if (red && !e.IsShape()) drawn.redTexts.push_back(GbkToUtf8(TextOf(e.text)));
  }
  EXPECT_EQ(j, plain->entities.size());
  return drawn;
}

void ExpectPoints(const VecEntity& e, std::initializer_list<GroundPoint> want) {
  ASSERT_EQ(e.points.size(), want.size());
  size_t i = 0;
  for (const GroundPoint& p : want) {
    EXPECT_NEAR(e.points[i].x, p.x, 1e-9) << i;
    EXPECT_NEAR(e.points[i].y, p.y, 1e-9) << i;
    ++i;
  }
}

TEST(FlaggedDiagram, PlantedBlunderIsRedOnTheObservationValues) {
  TempDir dir;
  ScriptedPlatform platform;
  CommandOptions options;
  options.dataPath = dir.File("NET.NAP");
  options.inputPath = SourcePath("examples/plane/planted_blunder.txt");
  ASSERT_EQ(RunPlaneCommand(options, platform), 0) << platform.LastMessageUtf8();
  const std::vector<FlaggedObservation> expected = {{ObservationKind::Direction, "GP02", "N2"},
                                                    {ObservationKind::Distance, Gbk("城北"), "N2"}};
  ASSERT_EQ(ReadFlaggedObservations(StatisticsReportPathFor(options.dataPath)), expected);

  auto net = std::make_unique<PlaneNetwork>();
  SettingsBlock settings;
  ASSERT_TRUE(ReadWritePlaneFile(options.dataPath, FileDirection::Read, settings, *net));
  const auto at = [&](const char* utf8) {
    for (int i = 0; i < net->pointCount; ++i)
      if (SlotText(net->pointName[i]) == Gbk(utf8)) return GroundPoint{net->x[i], net->y[i]};
    ADD_FAILURE() << utf8;
    return GroundPoint{};
  };
  const GroundPoint gp02 = at("GP02"), n2 = at("N2"), north = at("城北");

  const Drawn drawn = DrawWithAndWithoutFlags(options.dataPath, 5);
  // The direction's value near its station and the half of its line of sight
  // there; the distance's value and its whole side.
  EXPECT_TRUE(drawn.redInSvg);
  EXPECT_EQ(drawn.redInDxf, 4);
  EXPECT_EQ(drawn.redTexts, (std::vector<std::string>{"237.544640", "3295.9522"}));
  ASSERT_EQ(drawn.redShapes.size(), 2u);
  EXPECT_EQ(drawn.redShapes[0].shape.type, kShapePolyline);
  ExpectPoints(drawn.redShapes[0], {gp02, {(gp02.x + n2.x) / 2, (gp02.y + n2.y) / 2}});
  ExpectPoints(drawn.redShapes[1], {north, n2});

  // The other kinds show no flags.
  const Drawn ellipses = DrawWithAndWithoutFlags(options.dataPath, 3);
  EXPECT_TRUE(ellipses.redTexts.empty() && ellipses.redShapes.empty() && !ellipses.redInSvg);
}

TEST(FlaggedDiagram, PlantedLevellingBlunderIsRedWithItsCurve) {
  TempDir dir;
  // The levelling example with 10 mm added to the line J4-BM3.
  std::string input = ReadBytes(SourcePath("examples/height/levelling.txt"));
  const size_t line = input.find("J4,BM3,6.92806");
  ASSERT_NE(line, std::string::npos);
  input.replace(line, 14, "J4,BM3,6.93806");
  testing::WriteBytes(dir.File("input.txt"), input);

  ScriptedPlatform platform;
  CommandOptions options;
  options.dataPath = dir.File("NET.NAH");
  options.inputPath = dir.File("input.txt");
  ASSERT_EQ(RunHeightCommand(options, platform), 0) << platform.LastMessageUtf8();
  const std::vector<FlaggedObservation> expected = {{ObservationKind::HeightDifference, "J4", "BM3"}};
  ASSERT_EQ(ReadFlaggedObservations(StatisticsReportPathFor(options.dataPath)), expected);

  auto net = std::make_unique<HeightNetwork>();
  SettingsBlock settings;
  ASSERT_TRUE(ReadHeightFile(options.dataPath, settings, *net));
  int flagged = -1;
  for (int i = 0; i < net->observationCount; ++i)
    if (SlotText(net->from[i]) == "J4" && SlotText(net->to[i]) == "BM3") flagged = i;
  ASSERT_GE(flagged, 0);

  const Drawn drawn = DrawWithAndWithoutFlags(options.dataPath, 1);
  EXPECT_TRUE(drawn.redInSvg);
  EXPECT_EQ(drawn.redInDxf, 3);  // the curve (sampled), its arrow and the text
  EXPECT_EQ(drawn.redTexts, (std::vector<std::string>{"   6.9381(3.20)"}));
  ASSERT_EQ(drawn.redShapes.size(), 2u);  // the curve and its arrow, recoloured
  EXPECT_EQ(drawn.redShapes[0].shape.type, kShapeSpline);
  const double(&c)[kCurvePointCount][2] = net->curve[flagged];
  ExpectPoints(drawn.redShapes[0], {{c[0][0], c[0][1]}, {c[1][0], c[1][1]}, {c[2][0], c[2][1]},
                                    {c[3][0], c[3][1]}, {c[4][0], c[4][1]}});
  EXPECT_EQ(drawn.redShapes[1].shape.type, kShapePolyline);

  const Drawn adjusted = DrawWithAndWithoutFlags(options.dataPath, 3);
  EXPECT_TRUE(adjusted.redTexts.empty() && adjusted.redShapes.empty() && !adjusted.redInSvg);
}

}  // namespace
}  // namespace qp
