// The display settings forms: the confirmation's ranges, the height edits
// evaluated keystroke by keystroke, the closure lists and their buttons, font
// choices, and records with damaged display fields.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "common/format.h"
#include "common/gbk_text.h"
#include "drawing/display_fixture.h"
#include "drawing/display_form.h"
#include "height/height_model_record.h"
#include "plane/plane_network.h"
#include "plane/plane_model_record.h"
#include "support/scripted_platform.h"

namespace qp {
namespace {

using testing::HeightWithLoops;
using testing::PlaneWithTraverses;
using testing::ScriptedPlatform;

PlaneModel PlaneModelWithTraverses() { return PlaneModelFromRecord(*PlaneWithTraverses()); }
HeightModel HeightModelWithLoops() { return HeightModelFromRecord(*HeightWithLoops()); }

TEST(DisplayForm, ClosureListsTheirButtonsAndTheFlagsConfirmed) {
  const PlaneDisplayForm plane(PlaneModelWithTraverses());
  EXPECT_EQ(plane.ClosureLines(), (std::vector<std::string>{Gbk("[Y]A0,A,B,B0, -1.37s[1/1.72万](4)"),
                                                             Gbk("[N]B0,B,C,C0, 38.70s[1/14.46万](12)")}));
  EXPECT_EQ(plane.Closures()[1].tableIndex, 2);

  auto net = HeightWithLoops();
  HeightModel model = HeightModelFromRecord(*net);
  HeightDisplayForm form(model);
  EXPECT_EQ(form.ClosureLines(), (std::vector<std::string>{"[Y]K1,K2,-1.75mm,2(1)", "[N]A,B,-3.02mm,2(2)",
                                                            "[Y]K1,K2,D,0.33mm,4(3)", "[Y]K1,A,C,D,1.70mm,4(4)"}));
  ScriptedPlatform platform;
  platform.Answering({Answer::No, Answer::Yes, Answer::Yes});
  EXPECT_FALSE(form.ShowAllClosures(platform));
  EXPECT_TRUE(form.HideAllClosures(platform));
  EXPECT_EQ(form.ClosureLine(0), "[N]K1,K2,-1.75mm,2(1)");
  // The default shows every closure but those of quadrilaterals.
  EXPECT_TRUE(form.RestoreDefaultClosures(platform));
  EXPECT_EQ(form.ClosureLines(), (std::vector<std::string>{"[Y]K1,K2,-1.75mm,2(1)", "[Y]A,B,-3.02mm,2(2)",
                                                            "[Y]K1,K2,D,0.33mm,4(3)", "[N]K1,A,C,D,1.70mm,4(4)"}));
  EXPECT_EQ(platform.QuestionsUtf8(),
            (std::vector<std::string>{"请确认闭合差全部显示...", "请确认闭合差全部关闭...", "请确认闭合差显示恢复默认设置..."}));
  EXPECT_TRUE(form.ToggleClosure(2));  // double click
  EXPECT_EQ(form.ClosureLine(2), "[N]K1,K2,D,0.33mm,4(3)");

  platform.Answering({Answer::No, Answer::Yes});
  EXPECT_FALSE(form.Confirm(model, platform));
  EXPECT_TRUE(model.loops[4].drawn);
  EXPECT_TRUE(form.Confirm(model, platform));
  EXPECT_EQ(platform.QuestionsUtf8().back(), "请确认退出...");
  net->loops[0].drawFlag = 2;  // a flag left alone keeps its byte
  PutHeightLayout(model, *net);
  const uint8_t want[] = {2, 1, 0, 1, 0};  // entry 3 is not listed and keeps its flag
  for (int i = 0; i < 5; ++i) EXPECT_EQ(net->loops[i].drawFlag, want[i]) << i;
}

TEST(DisplayForm, PlaneConfirmationKeepsRadiusDistanceAndKindInRange) {
  struct Case {
    const char* radius;
    const char* distance;
    int32_t calcMode;
    int kind;
    double wantRadius, wantDistance;
    int wantKind;
  };
  const Case cases[] = {
      {"2", "10", kReducedObservations, 7, 3, 30, 7},
      {"40", "500", kReducedObservations, 5, 30, 200, 5},
      {"12.5", "150", kPrecisionEstimate, 7, 12.5, 150, 6},  // estimated: no adjusted values to show
  };
  for (const Case& c : cases) {
    auto net = PlaneWithTraverses();
    net->calcMode = c.calcMode;
    PlaneModel model = PlaneModelFromRecord(*net);
    PlaneDisplayForm form(model);
    form.ellipseRadiusText = c.radius;
    form.warningDistanceText = c.distance;
    form.kindIndex = c.kind;
    form.breakthroughWarning = false;
    form.ToggleClosure(0);
    form.Apply(model);
    PutPlaneLayout(model, *net);
    EXPECT_EQ(ReadTraverseClosure(*net, 0).drawn, 0);
    EXPECT_EQ(ReadTraverseClosure(*net, 2).drawn, 0);
    EXPECT_EQ(net->maxEllipseRadius, c.wantRadius) << c.radius;
    EXPECT_EQ(net->warningDistance, c.wantDistance) << c.distance;
    EXPECT_EQ(net->displayMode, c.wantKind) << c.kind;
    EXPECT_EQ(net->breakthroughWarning, 0);
  }
}

TEST(DisplayForm, HeightEditsAreEvaluatedOnEveryKeystroke) {
  struct Case {
    std::vector<const char*> keystrokes;  // the edit's text after each change
    float wantHeight;
    const char* wantEdit;
  };
  const Case cases[] = {
      {{"6", "6.", "6.0", "6.05"}, 6.05f, "6.05"},
      {{"6", "6.", "6.1"}, 6.0f, ""},  // 6 after the first key, then the edit empties
      {{"0"}, 2.0f, ""},               // the stored height stays
      {{"x"}, 2.0f, ""},
  };
  for (const Case& c : cases) {
    HeightDisplayForm form(HeightModelWithLoops());
    for (const char* text : c.keystrokes) form.EditHeight(DiagramFontRole::Number, text);
    const DiagramFont& f = form.Font(DiagramFontRole::Number);
    EXPECT_FLOAT_EQ(f.height, c.wantHeight) << c.keystrokes.back();
    EXPECT_FLOAT_EQ(f.width, c.wantHeight / 2) << c.keystrokes.back();
    EXPECT_EQ(form.HeightText(DiagramFontRole::Number), c.wantEdit);
    EXPECT_EQ(form.FontCaption(DiagramFontRole::Number), Gbk("宋体") + Format("," "%.1f", c.wantHeight));
    EXPECT_EQ(form.Font(DiagramFontRole::Text).height, 3.0f) << "the other font is untouched";
  }
}

TEST(DisplayForm, FontChoicesConvertPixelsAndRespectTheLimits) {
  struct Case {
    std::string face;
    double heightPx, widthPx;  // at 254 dpi: 10 pixels a millimetre
    bool taken;
    float wantHeight, wantWidth;
  };
  const std::string longFace(31, 'F');
  const Case cases[] = {
      {Gbk("黑体"), 24, 12, true, 2.4f, 1.2f},
      {Gbk("黑体"), -24, 0, true, 2.4f, 1.2f},  // no width of its own: half the height
      {"Arial", 100, 40, true, 6.0f, 3.0f},      // at most 6 mm high
      {longFace, 24, 12, false, 3.0f, 1.5f},     // face too long: the choice is dropped
  };
  for (const Case& c : cases) {
    PlaneDisplayForm form(PlaneModelWithTraverses());
    FontChoice choice{c.face, c.heightPx, c.widthPx, 0x0000FF};
    EXPECT_EQ(form.ChooseFont(DiagramFontRole::Text, choice, 254), c.taken) << c.heightPx;
    EXPECT_FLOAT_EQ(form.Font(DiagramFontRole::Text).height, c.wantHeight);
    EXPECT_FLOAT_EQ(form.Font(DiagramFontRole::Text).width, c.wantWidth);
    EXPECT_EQ(form.TextColour(), c.taken ? 0x0000FF : 0);
    if (c.taken) {
      EXPECT_EQ(form.FontCaption(DiagramFontRole::Text), c.face + Format(",%.1f", c.wantHeight));
    }
  }
}

TEST(DisplayForm, DamagedRecordsGiveASaneForm) {
  auto plane = PlaneWithTraverses();
  plane->displayMode = 99;
  plane->textFontHeight = std::numeric_limits<float>::quiet_NaN();
  plane->numberFontWidth = std::numeric_limits<float>::infinity();
  plane->maxEllipseRadius = std::numeric_limits<double>::quiet_NaN();
  std::memset(plane->textFontFace, 'F', sizeof plane->textFontFace);  // no terminating zero
  plane->closureCheckCount = 1 << 30;
  {
    PlaneModel model = PlaneModelFromRecord(*plane);
    PlaneDisplayForm form(model);
    EXPECT_EQ(form.kindIndex, 0);
    EXPECT_EQ(form.Font(DiagramFontRole::Text).height, 3.0f);
    EXPECT_EQ(form.Font(DiagramFontRole::Text).face.size(), 32u);
    EXPECT_EQ(form.Font(DiagramFontRole::Number).width, 1.0f);
    EXPECT_EQ(form.ellipseRadiusText, "6");
    EXPECT_LE(form.Closures().size(), static_cast<size_t>(kMaxTraverses));
    form.Apply(model);
    PutPlaneLayout(model, *plane);
    EXPECT_EQ(plane->displayMode, 0);
    EXPECT_EQ(plane->maxEllipseRadius, 6.0);
    EXPECT_EQ(plane->textFontHeight, 3.0f);
    EXPECT_EQ(plane->textFontFace[31], 'F') << "a face left alone keeps its bytes";
  }
  plane->closureCheckCount = -7;
  EXPECT_TRUE(PlaneDisplayForm(PlaneModelFromRecord(*plane)).Closures().empty());

  auto height = HeightWithLoops();
  height->diagramKind = -3;
  height->numberFontHeight = -1.0f;
  height->loops[0].kind = 1000;
  height->loops[1].sections[0] = std::numeric_limits<int32_t>::max();
  height->loopCount = 1 << 30;
  height->capacities[kCapacityLoops] = 3;  // the entries beyond the capacity are not read
  HeightDisplayForm form(HeightModelFromRecord(*height));
  EXPECT_EQ(form.kindIndex, 0);
  EXPECT_EQ(form.Font(DiagramFontRole::Number).height, 2.0f);
  EXPECT_EQ(form.ClosureLines(), (std::vector<std::string>{Format("[N]A,B,-3.02mm,%d(2)", std::numeric_limits<int>::max()),
                                                            "[Y]K1,K2,D,0.33mm,4(3)"}));
}

}  // namespace
}  // namespace qp
