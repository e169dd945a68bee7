// The document's rules without any window: command enabling, the title,
// the selectors' entries, opening and closing plane and height data files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "workflow/document_state.h"
#include "workflow/quorvex_doc.h"
#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "height/height_file.h"
#include "plane/plane_file.h"
#include "plane/plane_model_record.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp::testing {
namespace {

std::set<int> Allowed(const DocumentState& s) {
  std::set<int> ids;
  for (int id : AllCommandIds()) {
    if (CommandRuleAllows(s, id)) ids.insert(id);
  }
  return ids;
}

DocumentState StateOf(int mode, int tool, bool ready) {
  DocumentState s;
  s.workMode = mode;
  s.toolState = tool;
  s.moveKind = tool == kMoveTool ? 1 : 0;
  s.drawingReady = ready;
  return s;
}

std::set<int> Plus(std::set<int> a, const std::set<int>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

TEST(CommandEnabling, FollowsTheCommandTableInEveryWorkModeAndToolState) {
  const std::set<int> always = {135, 57664, 57665};
  const std::set<int> drawing = {162, 182, 30100, 30102, 30103, 57607, 57609, 57606};  // idle with a drawing
  // The view commands as far as the document decides them.
  const std::set<int> planeView = {140, 147, 148, 181, 161}, planeViewBusy = {140, 147, 161};
  const std::set<int> heightView = {140, 147, 148, 181, 160}, heightViewBusy = {140, 147};
  const auto with = [&](const std::set<int>& ids) { return Plus(ids, always); };

  struct Case {
    const char* what;
    DocumentState state;
    std::set<int> expected;
  };
  const Case cases[] = {
      // Nothing open: the file commands, the tools, help, About and exit.
      {"nothing open", StateOf(0, kNoTool, false), with({141, 137, 144, 138, 134, 168, 175, 185})},
      {"nothing open, measuring", StateOf(0, kMeasureTool, false), with({141, 137, 144, 138})},
      {"nothing open, drawing left over", StateOf(0, kNoTool, true), with({141, 137, 144, 138})},
      {"plane data before a drawing", StateOf(1, kNoTool, false), with({142, 143, 158, 136})},
      {"plane data computed", StateOf(1, kNoTool, true),
       Plus(Plus(with({142, 143, 158, 136, 177, 172, 30101}), drawing), planeView)},
      {"plane data, measuring", StateOf(1, kMeasureTool, true), Plus(with({142, 143, 158}), planeViewBusy)},
      {"plane data, choosing a place", StateOf(1, kLocateTool, true), Plus(with({142, 143, 158}), planeViewBusy)},
      {"plane drawing", StateOf(2, kNoTool, true), Plus(Plus(with({143, 158, 136, 177}), drawing), planeView)},
      {"plane drawing, moving texts", StateOf(2, kMoveTool, true), Plus(with({143, 158}), planeViewBusy)},
      {"height data before a drawing", StateOf(3, kNoTool, false), with({145, 146, 159, 136})},
      {"height data computed", StateOf(3, kNoTool, true),
       Plus(Plus(with({145, 146, 159, 136, 178, 172, 30101}), drawing), heightView)},
      {"height drawing", StateOf(4, kNoTool, true), Plus(Plus(with({146, 159, 136, 178}), drawing), heightView)},
      {"height drawing, moving points", StateOf(4, kMoveTool, true), Plus(with({146, 159}), heightViewBusy)},
      {"height drawing, measuring, not ready", StateOf(4, kMeasureTool, false), with({146, 159})},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Allowed(c.state), c.expected) << c.what;
    for (int id : AllCommandIds()) EXPECT_EQ(IsCommandEnabled(c.state, id), c.expected.count(id) == 1) << c.what;
  }

  // Whatever the mode: a busy tool blocks closing, exporting, saving and
  // printing; one network at a time.
  for (int mode = 0; mode <= 4; ++mode) {
    for (int tool : {kMeasureTool, kMoveTool, kLocateTool}) {
      for (bool ready : {false, true}) {
        const DocumentState s = StateOf(mode, tool, ready);
        for (int id : {136, 177, 178, 162, 182, 30100, 30102, 30103, 57607, 57609, 57606, 148, 160, 181})
          EXPECT_FALSE(CommandRuleAllows(s, id)) << mode << " " << tool << " " << id;
        for (int id : {141, 137, 144, 138}) EXPECT_EQ(CommandRuleAllows(s, id), mode == 0) << mode << " " << id;
      }
    }
  }
  EXPECT_FALSE(IsCommandBuilt(0));
  EXPECT_FALSE(IsCommandBuilt(999));
}

TEST(CommandTable, MenusAndToolbarCarryEveryCommandOnce) {
  std::multiset<int> menuIds;
  for (const MenuInfo& menu : MainMenus()) {
    for (const CommandInfo& item : menu.items) {
      if (item.id != 0) menuIds.insert(item.id);
    }
  }
  const std::set<int> table = {141, 142, 143, 158, 137, 177, 144, 145, 146, 159, 138, 178, 172,
                               162, 182, 30100, 57607, 57609, 57606, 136, 134, 168, 175, 185, 135, 57664, 57665, 30101, 30102,
                               30103, 140, 147, 148, 160, 161, 181};
  EXPECT_EQ(std::set<int>(menuIds.begin(), menuIds.end()), table);
  EXPECT_EQ(menuIds.count(kCmdOpenReport), 2u);  // P打开文本 and H打开文本
  EXPECT_EQ(menuIds.count(kCmdStatisticsReport), 2u);  // 统计检验 beside each
  EXPECT_EQ(menuIds.count(kCmdExportCoordinates), 2u);  // 导出坐标 in both network menus
  for (int viewTool : {140, 147, 148, 160, 161, 181}) EXPECT_EQ(menuIds.count(viewTool), 1u) << viewTool;

  std::vector<int> toolbar;
  for (const CommandInfo& b : ToolbarCommands()) toolbar.push_back(b.id);
  EXPECT_EQ(toolbar, (std::vector<int>{57664, 140, 147, 148, 160, 161, 162, 30102, 181}));
}

TEST(DocumentTitle, CutsLongPathsAndFallsBackToTheApplicationTitle) {
  const std::string app = kUntitledTitle;
  // 200 bytes with backslashes and slashes: the last component remains.
  const std::string longWindows = "C:\\" + std::string(180, 'd') + "\\sub\\NET.NAP";
  ASSERT_GT(longWindows.size(), 128u);
  EXPECT_EQ(DocumentTitleFor(longWindows), "NET.NAP");
  EXPECT_EQ(DocumentTitleFor("/home/" + std::string(150, 'u') + "/控制网.NAP"), "控制网.NAP");
  // 128 bytes are kept whole.
  const std::string exactly128 = "/data/" + std::string(116, 'x') + "/a.NAP";
  ASSERT_EQ(exactly128.size(), 128u);
  EXPECT_EQ(DocumentTitleFor(exactly128), exactly128);
  // Length counts GBK bytes: "/" and 63 Chinese characters are 127 GBK bytes
  // (190 in UTF-8) and stay whole; one character more is cut.
  std::string chinese63;
  for (int i = 0; i < 63; ++i) chinese63 += "网";
  EXPECT_EQ(DocumentTitleFor("/" + chinese63), "/" + chinese63);
  EXPECT_EQ(DocumentTitleFor("/" + chinese63 + "图"), chinese63 + "图");

  EXPECT_EQ(DocumentTitleFor(""), app);
  EXPECT_EQ(DocumentTitleFor("ab"), app);
  EXPECT_EQ(DocumentTitleFor("abc"), "abc");
  EXPECT_EQ(DocumentTitleFor("无标题1"), app);
  EXPECT_EQ(DocumentTitleFor("网"), app);  // two GBK bytes
}

TEST(DiagramSelector, ListsSevenOrEightPlaneKindsFourHeightKindsAndNothingWhenClosed) {
  EXPECT_TRUE(DiagramSelectorItems(0, true).empty());
  for (int mode : {1, 2}) {
    EXPECT_EQ(DiagramSelectorItems(mode, false).size(), 7u);
    const auto eight = DiagramSelectorItems(mode, true);
    ASSERT_EQ(eight.size(), 8u);
    EXPECT_EQ(eight.front(), "控制网图");
    EXPECT_EQ(eight.back(), "边长方位角");
  }
  for (int mode : {3, 4}) {
    EXPECT_EQ(DiagramSelectorItems(mode, true),
              (std::vector<std::string>{"高程控制网网图", "高差观测值", "高差平差值误差", "高差平差值"}));
  }

  struct Case {
    int calcMode, redundancy, sides;
    bool drawingReady, want;
  };
  const Case cases[] = {
      {kReducedObservations, 4, 6, true, true},
      {kReducedObservations, 4, 6, false, false},  // confirmed, not computed
      {kPrecisionEstimate, 4, 6, true, false},     // an estimate has no azimuths to show
      {kReducedObservations, 0, 6, true, false},   // estimated for lack of redundancy
      {kReducedObservations, 4, 0, true, false},
  };
  for (const Case& c : cases) {
    auto net = std::make_unique<PlaneNetwork>();
    ResetPlaneNetwork(*net, "a.NAP");
    net->calcMode = c.calcMode;
    net->redundancy = c.redundancy;
    net->sideCount = c.sides;
    EXPECT_EQ(PlaneSidesComputed(PlaneModelFromRecord(*net), c.drawingReady), c.want)
        << c.calcMode << " " << c.redundancy << " " << c.sides;
  }
}

struct PlaneDocumentTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  CQuorvexPDoc doc{"/opt/quorvex/"};
};

TEST_F(PlaneDocumentTest, NewDataFileIsCreatedAfterTheQuestionAndOpensThePlaneNetwork) {
  const std::string path = dir.File("新网.NAP");
  platform.Answering({Answer::Yes});
  ASSERT_TRUE(doc.OpenDataFile(path, true, platform));
  EXPECT_EQ(platform.QuestionsUtf8(), std::vector<std::string>{"请确认新建平面网数据文件 ..."});
  EXPECT_EQ(platform.questionDefaults.at(0), Answer::No);
  EXPECT_EQ(ReadBytes(path).size(), kPlaneFileSize);
  EXPECT_EQ(doc.State().workMode, kPlaneData);
  EXPECT_EQ(doc.State().dataPath, path);
  EXPECT_EQ(doc.CurrentReportPath(), dir.File("新网.txt"));
  EXPECT_EQ(SlotText(doc.Plane().dataFilePath), Utf8ToGbk(path));
  EXPECT_EQ(doc.Plane().lastComputedPointCount, -1);  // a fresh network
  EXPECT_EQ(doc.Title(), path);
  EXPECT_FALSE(doc.IsEnabled(kCmdPlaneDataFile));
  EXPECT_TRUE(doc.IsEnabled(kCmdPlaneDataEdit));
  EXPECT_FALSE(doc.IsEnabled(kCmdOpenReport));  // nothing computed yet

  doc.CloseNetwork(platform);
  EXPECT_EQ(doc.State().workMode, kNothingOpen);
  EXPECT_EQ(doc.Title(), kUntitledTitle);
  EXPECT_TRUE(doc.DiagramItems().empty());
  EXPECT_TRUE(doc.IsEnabled(kCmdPlaneDataFile));

  // The same file again is read without a question.
  platform.questions.clear();
  ASSERT_TRUE(doc.OpenDataFile(path, true, platform));
  EXPECT_TRUE(platform.questions.empty());
  EXPECT_EQ(doc.DiagramItems().size(), 7u);
}

TEST_F(PlaneDocumentTest, AnsweringNoCreatesNothingAndAnUnreadableFileIsNeverReplaced) {
  const std::string fresh = dir.File("N.NAP");
  platform.Answering({Answer::No});
  EXPECT_FALSE(doc.OpenDataFile(fresh, true, platform));
  EXPECT_FALSE(FileExists(fresh));
  EXPECT_EQ(doc.State().workMode, kNothingOpen);
  EXPECT_EQ(doc.Title(), kUntitledTitle);

  platform.Answering({Answer::Yes});
  EXPECT_FALSE(doc.OpenDataFile(dir.File("missing/N.NAP"), true, platform));
  EXPECT_EQ(platform.LastMessageUtf8(), "平面网数据文件写入错误 !");
  EXPECT_EQ(doc.State().workMode, kNothingOpen);

  const std::string damaged = dir.File("D.NAP");
  const std::string bytes(kPlaneFileSize - 1, '\x01');
  WriteBytes(damaged, bytes);
  platform.questions.clear();
  EXPECT_FALSE(doc.OpenDataFile(damaged, true, platform));
  EXPECT_EQ(platform.LastMessageUtf8(), "平面网数据文件错误 !");
  EXPECT_TRUE(platform.questions.empty());
  EXPECT_EQ(ReadBytes(damaged), bytes);
  EXPECT_EQ(doc.State().workMode, kNothingOpen);
}

// A data file named like a file its computation writes (here its report) is
// refused before the new-file question, and nothing is created.
TEST_F(PlaneDocumentTest, ADataFileNamedLikeItsOwnReportIsRefused) {
  const auto opens = [&](const std::string& path, bool plane) {
    return doc.OpenDataFile(path, plane, platform);
  };
  for (const bool plane : {true, false}) {
    const std::string path = dir.File(plane ? "P.txt" : "H.txt");
    platform.Answering({Answer::Yes});
    platform.questions.clear();
    EXPECT_FALSE(opens(path, plane));
    EXPECT_TRUE(platform.questions.empty());
    EXPECT_EQ(platform.LastMessageUtf8(), "报告文件与数据文件是同一个文件, 不能覆盖, 未写入任何文件 !\r\n" + path);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(doc.State().workMode, kNothingOpen);
  }
}

// The desktop reads through the same reader as the commands: a NaN or an
// infinity in the settings block is reset and named once, and the file stays.
TEST_F(PlaneDocumentTest, NonFiniteSheetValuesAreResetAndToldOnOpening) {
  const std::string path = dir.File("N.NAP");
  platform.Answering({Answer::Yes});
  ASSERT_TRUE(doc.OpenDataFile(path, true, platform));
  doc.CloseNetwork(platform);
  std::string bytes = ReadBytes(path);
  const double nan = std::nan(""), inf = HUGE_VAL;
  std::memcpy(bytes.data() + offsetof(SettingsBlock, cornerY), &inf, 8);
  std::memcpy(bytes.data() + offsetof(SettingsBlock, previousCornerY), &nan, 8);
  WriteBytes(path, bytes);
  platform.messages.clear();
  ASSERT_TRUE(doc.OpenDataFile(path, true, platform));
  EXPECT_EQ(platform.MessagesUtf8(),
            std::vector<std::string>{"数据文件中的无效数值已恢复为缺省值: 西南角Y, 原西南角Y"});
  EXPECT_EQ(doc.Settings().cornerY, 1600.0);
  EXPECT_EQ(doc.Settings().previousCornerY, 1600.0);
  EXPECT_EQ(ReadBytes(path), bytes);
}

TEST_F(PlaneDocumentTest, HeightDataFileIsCreatedAfterTheQuestionReadAgainAndNeverReplacedWhenDamaged) {
  const std::string path = dir.File("水准网.NAH");
  platform.Answering({Answer::No});
  EXPECT_FALSE(doc.OpenDataFile(path, false, platform));
  EXPECT_FALSE(FileExists(path));
  EXPECT_EQ(doc.State().workMode, kNothingOpen);

  platform.Answering({Answer::Yes});
  ASSERT_TRUE(doc.OpenDataFile(path, false, platform));
  EXPECT_EQ(platform.QuestionsUtf8(),
            (std::vector<std::string>{"请确认新建高程网数据文件 ...", "请确认新建高程网数据文件 ..."}));
  EXPECT_EQ(platform.questionDefaults.back(), Answer::No);
  EXPECT_EQ(ReadBytes(path).size(), kHeightFileSize);
  EXPECT_EQ(doc.State().workMode, kHeightData);
  EXPECT_EQ(doc.CurrentReportPath(), dir.File("水准网.txt"));
  EXPECT_EQ(SlotText(doc.Height().dataFilePath), Utf8ToGbk(path));
  EXPECT_EQ(doc.Title(), path);
  EXPECT_TRUE(doc.IsEnabled(kCmdHeightDataEdit));
  for (int id : {kCmdHeightDataFile, kCmdPlaneDataFile, kCmdPlaneDataEdit, kCmdOpenReport}) {
    EXPECT_FALSE(doc.IsEnabled(id)) << id;
  }
  EXPECT_FALSE(doc.OpenDataFile(dir.File("P.NAP"), true, platform));  // one network at a time
  EXPECT_EQ(doc.DiagramItems().size(), 4u);
  EXPECT_EQ(doc.CurrentDiagramKind(), 0);

  doc.CloseNetwork(platform);
  platform.questions.clear();
  ASSERT_TRUE(doc.OpenDataFile(path, false, platform));
  EXPECT_TRUE(platform.questions.empty());
  doc.CloseNetwork(platform);

  // A new file that cannot be written is reported and opens nothing.
  platform.Answering({Answer::Yes});
  EXPECT_FALSE(doc.OpenDataFile(dir.File("missing/N.NAH"), false, platform));
  EXPECT_EQ(platform.LastMessageUtf8(), "高程网数据文件写入错误 !");
  EXPECT_EQ(doc.State().workMode, kNothingOpen);
  platform.questions.clear();

  const std::string damaged = dir.File("D.NAH");
  const std::string bytes(kHeightFileSize + 1, '\x02');
  WriteBytes(damaged, bytes);
  EXPECT_FALSE(doc.OpenDataFile(damaged, false, platform));
  EXPECT_EQ(platform.LastMessageUtf8(), "高程网数据文件错误 !");
  EXPECT_TRUE(platform.questions.empty());
  EXPECT_EQ(ReadBytes(damaged), bytes);
  EXPECT_EQ(doc.State().workMode, kNothingOpen);
}

}  // namespace
}  // namespace qp::testing
