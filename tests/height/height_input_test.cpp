// Reading the height input dialog: settings, line and number rules, every
// table's messages with line numbers from 1, capacities; filling from the
// record, the side file, the name list.
#include <gtest/gtest.h>

#include "common/binary_file.h"
#include "height_form_fixture.h"

namespace qp {
namespace {

using HeightInput = testing::HeightFormTest;

TEST_F(HeightInput, SettingsAndLineRules) {
  form.kind = kTrigonometricNetwork;
  form.priorError = "0";
  // The last line needs no line end; a blank line ends the table.
  Type(kHeightDifferencesBox, " A , B , 1.234 , 2.5 \r\nB,C,-0.5,0\r\n\r\nC,D,x,y");
  ASSERT_EQ(Parse(), "");
  EXPECT_EQ(net->kind, kTrigonometricNetwork);
  EXPECT_EQ(net->priorError, 1.0);
  ASSERT_EQ(net->observationCount, 2);
  EXPECT_EQ(SlotText(net->to[0]), "B");
  EXPECT_EQ(net->observed[0], 1.234);
  EXPECT_EQ(net->weightElement[0], 2.5);

  form.networkName = "  " + std::string(64, 'N') + "  ";  // trimmed, 64 bytes fit
  ASSERT_EQ(Parse(), "");
  form.networkName = std::string(65, 'N');
  EXPECT_EQ(Parse(), "控制网名不得大于32个汉字 !");

  form.networkName = "N";
  for (const char* overflowing : {"1e160", "1e30", "100000", "1e999"}) {
    form.priorError = overflowing;
    EXPECT_EQ(Parse(), "验前误差超出范围, 不能计算 !") << overflowing;
  }
  form.priorError = "99999.99";
  EXPECT_EQ(Parse(), "");
}

TEST_F(HeightInput, ATableCutByABlankLineIsConfirmedFirst) {
  Type(kHeightKnownBox, "A,100");
  Type(kHeightDifferencesBox, "A,B,1,1\r\nB,C,1,1\r\nC,A,-2,1\r\n\r\nC,D,1,1");
  // No, the default: nothing is read or written.
  EXPECT_FALSE(RunHeightConfirmation(form, *net, platform, Target()));
  EXPECT_EQ(platform.QuestionsUtf8(),
            std::vector<std::string>{"[高差观测值]第[4]行为空行, 其后1行将不被读入, 继续吗?"});
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(net->observationCount, 0);
  EXPECT_FALSE(FileExists(Target().reportPath));
  // Yes: the network up to the blank line, as it always was.
  platform.Answering({Answer::Yes});
  EXPECT_EQ(Confirm(), "");
  EXPECT_EQ(net->observationCount, 3);
  EXPECT_TRUE(FileExists(Target().reportPath));
}

TEST_F(HeightInput, EveryTableNamesItsFault) {
  struct BadLine {
    HeightTextBox box;
    const char* text;
    const char* message;
  };
  const BadLine cases[] = {
      {kHeightKnownBox, "A,1\r\nAB", "已知点第[2]行数据不正确!"},
      {kHeightKnownBox, " ,100", "已知点第[1]行数据不正确!"},
      {kHeightKnownBox, "ABCDEFGHIJK,1", "已知点第[1]行起点点名[1--15个字符]不正确!"},
      {kHeightKnownBox, "AB,", "已知点第[1]行定高程不正确!"},
      {kHeightApproxBox, "A,1\r\nB,1e3", "已知概略高程的点第[2]行定高程不正确!"},
      {kHeightApproxBox, "十一个字节名字,1", "已知概略高程的点第[1]行起点点名[1--15个字符]不正确!"},
      {kHeightPairsBox, "AB,", "精度端点第[1]行终点名[1--10个字符]不正确!"},
      {kHeightPairsBox, "A , A", "精度端点第[1]行点名相同不正确!"},
      {kHeightDifferencesBox, "A,B,1.2.3,2.5", "高差观测值第[1]行高差不正确!"},
      {kHeightDifferencesBox, "A,B,-20000000000,2.5", "高差观测值第[1]行高差不正确!"},
      {kHeightDifferencesBox, "A,B,-0.5,", "高差观测值第[1]行定权元素不正确!"},
      {kHeightDifferencesBox, "A,B,-0.5,-1", "高差观测值第[1]行定权元素不正确!"},
      {kHeightDifferencesBox, "A,B,1", "高差观测值第[1]行数据不正确!"},
      {kHeightDifferencesBox, "A,,1,1", "高差观测值第[1]行终点点名[1--15个字符]不正确!"},
      {kHeightCoordinatesBox, "A,,2", "已知点坐标第[1]行X坐标不正确!"},
      {kHeightCoordinatesBox, "A,1,2,3", "已知点坐标第[1]行Y坐标不正确!"},
  };
  for (const BadLine& c : cases) {
    SetUp();
    Type(c.box, c.text);
    EXPECT_EQ(Parse(), c.message) << c.text;
  }
  // The tables are read in a fixed order; the first failure ends the reading.
  SetUp();
  Type(kHeightCoordinatesBox, "bad");
  Type(kHeightKnownBox, "bad");
  EXPECT_EQ(Parse(), "已知点第[1]行数据不正确!");
}

TEST_F(HeightInput, CapacitiesEndTablesWithoutAMessage) {
  std::string lines, known;
  for (int i = 0; i < 2561; ++i) lines += "A" + std::to_string(i) + ",B,1,1\r\n";
  Type(kHeightDifferencesBox, lines + "bad line");
  for (int i = 0; i < 2000; ++i) known += "K" + std::to_string(i) + ",1\r\n";
  Type(kHeightKnownBox, known);
  Type(kHeightApproxBox, known);
  ASSERT_EQ(Parse(), "");
  EXPECT_EQ(net->observationCount, 2560);
  EXPECT_EQ(net->approxCount, 48);  // the point list holds 2048
  // A damaged capacity can neither overflow an array nor go negative.
  net->capacities[kCapacityDifferences] = 100000;
  ASSERT_EQ(Parse(), "");
  EXPECT_EQ(net->observationCount, 2560);
  net->capacities[kCapacityDifferences] = -5;
  ASSERT_EQ(Parse(), "");
  EXPECT_EQ(net->observationCount, 0);
}

TEST_F(HeightInput, FillingFromTheRecordKeepsTypedDigits) {
  Type(kHeightKnownBox, "A,100.12345\r\nB,101");
  Type(kHeightApproxBox, "C,99.123456");
  Type(kHeightDifferencesBox, "A,C,-0.9876,0.125\r\nC,B,1.5,2");
  Type(kHeightCoordinatesBox, "A,1000,2000");
  form.priorError = "0.707";
  ASSERT_EQ(Parse(), "");
  HeightInputForm filled;
  FillHeightFormFromRecord(filled, *net);
  EXPECT_EQ(filled.priorError, "0.707");
  EXPECT_EQ(filled.boxes[kHeightKnownBox], "A,100.12345\r\nB,101.0000\r\n");
  EXPECT_EQ(filled.boxes[kHeightApproxBox], "C,99.1235\r\n");
  EXPECT_EQ(filled.boxes[kHeightDifferencesBox], "A,C,-0.9876,0.125\r\nC,B,1.5000,2.00\r\n");
  EXPECT_EQ(filled.boxes[kHeightCoordinatesBox], "A,  1000.0000,  2000.0000\r\n");
}

TEST_F(HeightInput, SideFileKeepsUnfinishedInput) {
  const std::string side = dir.File("net.HTP");
  form.mode = kHeightEstimate;
  form.networkName = Gbk("  二十个汉字的名字二十个汉字的名字二十  ");  // 38 bytes: kept whole
  Type(kHeightDifferencesBox, "A,B,1,1\r\nunfinished");
  platform.Answering({Answer::No});
  EXPECT_FALSE(CancelHeightForm(form, *net, platform, side));
  EXPECT_FALSE(FileExists(side));
  platform.Answering({Answer::Yes});
  ASSERT_TRUE(CancelHeightForm(form, *net, platform, side));
  EXPECT_EQ(platform.QuestionsUtf8().back(), "请确认放弃 ...");

  HeightInputForm restored;
  InitializeHeightForm(restored, *net, side);
  EXPECT_EQ(restored.mode, kHeightEstimate);
  EXPECT_EQ(GbkToUtf8(restored.networkName), "二十个汉字的名字二十个汉字的名字二十");
  EXPECT_EQ(restored.boxes[kHeightDifferencesBox], "A,B,1,1\r\nunfinished\r\n");
  EXPECT_EQ(restored.boxes[kHeightKnownBox], "\r\n");

  // A derived network always shows its record.
  net->derivedMarker = 3;
  InitializeHeightForm(restored, *net, side);
  EXPECT_EQ(restored.boxes[kHeightKnownBox], "");
  // A damaged side file counts as none.
  net->derivedMarker = -1;
  std::string header(184, '\0');
  header[140] = 50;  // the first text would end beyond the file
  testing::WriteBytes(side, header);
  InitializeHeightForm(restored, *net, side);
  EXPECT_EQ(GbkToUtf8(restored.networkName), "控制网名");
}

TEST_F(HeightInput, NameList) {
  form.nameList = {"A"};
  form.newName = "  B  ";
  AddNameToHeightList(form, *net, platform);
  EXPECT_EQ(form.nameList, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(SlotText(net->nameList[net->nameCount - 1]), "B");
  form.newName = "B";
  AddNameToHeightList(form, *net, platform);
  EXPECT_EQ(platform.LastMessageUtf8(), "点名已存在 !");
  form.newName = "ABCDEFGHIJK";
  AddNameToHeightList(form, *net, platform);
  EXPECT_EQ(form.nameList.size(), 2u);

  form.insertMode = 4;  // height differences
  ClickHeightNameListItem(form, *net, 1);
  ClickHeightNameListItem(form, *net, 0);
  EXPECT_EQ(form.boxes[kHeightDifferencesBox], "B,A,");
  form.insertMode = kHeightInsertDelete;
  ClickHeightNameListItem(form, *net, 0);
  ClickHeightNameListItem(form, *net, 0);  // the last entry stays
  EXPECT_EQ(form.nameList, (std::vector<std::string>{"B"}));
  EXPECT_EQ(net->nameCount, 1);
}

}  // namespace
}  // namespace qp
