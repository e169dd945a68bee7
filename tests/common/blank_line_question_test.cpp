#include "common/blank_line_question.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/gbk_text.h"
#include "support/scripted_platform.h"

namespace qp {
namespace {

using testing::ScriptedPlatform;

TEST(BlankLineQuestion, AsksBeforeATableIsCutAndNotesTheRefusedLine) {
  const std::string cut = "A,1,2\r\nB,3,4\r\n\r\nC,5,6\r\nD,7,8\r\n";
  const TableBoxName directions{"方向观测值", 4, 0};
  struct Case {
    const char* name;
    std::vector<Answer> answers;  // none: the default button
    bool goesOn;
  } cases[] = {{"default", {}, false}, {"no", {Answer::No}, false}, {"yes", {Answer::Yes}, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedPlatform platform;
    for (Answer a : c.answers) platform.answers.push_back(a);
    const BlankLineRefusal refusal;
    EXPECT_EQ(ConfirmBlankLineCut(cut, directions, platform), c.goesOn);
    EXPECT_EQ(platform.QuestionsUtf8(),
              std::vector<std::string>{"[方向观测值]第[2]行为空行, 其后2行将不被读入, 继续吗?"});
    EXPECT_EQ(platform.questionDefaults.at(0), Answer::No);
    ASSERT_EQ(refusal.Refused().has_value(), !c.goesOn);
    if (!c.goesOn) {
      EXPECT_EQ(refusal.Refused()->box, 4);
      EXPECT_EQ(refusal.Refused()->line, 2);
    }
  }
}

TEST(BlankLineQuestion, BoxesAreAskedInOrderUntilTheFirstNo) {
  // Lines counted from 1 in these messages; box 1 is not asked about.
  const std::vector<std::string> boxes = {"A,1\r\n\r\nB,2", "X,1\r\n\r\nY,2", "C,1\r\nD,2", "E,1\r\nF,2\r\n\r\nG,3"};
  const int order[] = {3, 2, 0};
  auto caption = [](int box) { return box == 0 ? "已知高程点" : "高差观测值"; };
  ScriptedPlatform platform;
  platform.Answering({Answer::Yes});
  const BlankLineRefusal refusal;
  EXPECT_FALSE(ConfirmBlankLineCuts(boxes, order, +caption, 1, platform));
  EXPECT_EQ(platform.QuestionsUtf8(), (std::vector<std::string>{"[高差观测值]第[3]行为空行, 其后1行将不被读入, 继续吗?",
                                                                "[已知高程点]第[2]行为空行, 其后1行将不被读入, 继续吗?"}));
  ASSERT_TRUE(refusal.Refused());
  EXPECT_EQ(refusal.Refused()->box, 0);
  EXPECT_EQ(refusal.Refused()->line, 1);
  // A box without a cut asks nothing.
  ScriptedPlatform quiet;
  EXPECT_TRUE(ConfirmBlankLineCuts(boxes, std::vector<int>{2}, +caption, 1, quiet));
  EXPECT_TRUE(quiet.questions.empty());
}

}  // namespace
}  // namespace qp
