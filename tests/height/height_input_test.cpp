// Reading the height input dialog: settings, line and number rules, every
// table's messages with line numbers from 1, capacities; the side file, the
// filling from the record, the name list, cancel.
#include <gtest/gtest.h>

#include "common/binary_file.h"
#include "height_form_fixture.h"

namespace qp {
namespace {

using HeightInput = testing::HeightFormTest;

TEST_F(HeightInput, Settings) {
  form.mode = kHeightEstimate;
  form.kind = kTrigonometricNetwork;
  form.priorError = "0";
  form.nameList = {"A", "B"};
  ASSERT_EQ(Parse(), "");
  EXPECT_EQ(net->mode, kHeightEstimate);
  EXPECT_EQ(net->kind, kTrigonometricNetwork);
  EXPECT_EQ(net->priorError, 1.0);
  EXPECT_EQ(net->nameCount, 2);
  form.priorError = " 2.5mm";
  ASSERT_EQ(Parse(), "");
  EXPECT_EQ(net->priorError, 2.5);

  form.networkName = "  " + std::string(64, 'N') + "  ";  // trimmed: 64 bytes fit
  ASSERT_EQ(Parse(), "");
  EXPECT_EQ(SlotText(net->networkName).size(), 64u);
  form.networkName = std::string(65, 'N');
  EXPECT_EQ(Parse(), "控制网名不得大于32个汉字 !");
}

TEST_F(HeightInput, LineAndNumberRules) {
  // The last line needs no line end; a blank line ends the table.
  Type(kHeightDifferencesBox, " A , B , 1.234 , 2.5 \r\nB,C,-0.5,0\r\n\r\nC,D,x,y");
  Type(kHeightKnownBox, "A,100\r\nABCDEFGHIJ,-12.5");
  ASSERT_EQ(Parse(), "");
  ASSERT_EQ(net->observationCount, 2);
  EXPECT_EQ(SlotText(net->from[0]), "A");
  EXPECT_EQ(SlotText(net->to[0]), "B");
  EXPECT_EQ(net->observed[0], 1.234);
  EXPECT_EQ(net->weightElement[0], 2.5);
  EXPECT_EQ(net->observed[1], -0.5);
  ASSERT_EQ(net->knownCount, 2);
  EXPECT_EQ(SlotText(net->pointName[1]), "ABCDEFGHIJ");
  EXPECT_EQ(net->height[1], -12.5);
  // Approximate heights follow the known points.
  Type(kHeightApproxBox, "P,50.5");
  ASSERT_EQ(Parse(), "");
  EXPECT_EQ(SlotText(net->pointName[2]), "P");
  EXPECT_EQ(net->approxCount, 1);
}

TEST_F(HeightInput, EveryTableNamesItsFault) {
  struct BadLine {
    HeightTextBox box;
    const char* text;
    const char* message;
  };
  const BadLine cases[] = {
      {kHeightKnownBox, "A,1\r\nAB", "已知点第[2]行数据不正确!"},
      {kHeightKnownBox, "A1", "已知点第[1]行数据不正确!"},
      {kHeightKnownBox, "A 100", "已知点第[1]行数据不正确!"},
      {kHeightKnownBox, " ,100", "已知点第[1]行数据不正确!"},
      {kHeightKnownBox, "ABCDEFGHIJK,1", "已知点第[1]行起点点名[1--15个字符]不正确!"},
      {kHeightKnownBox, "A,1e3", "已知点第[1]行定高程不正确!"},
      {kHeightKnownBox, "A,", "已知点第[1]行数据不正确!"},  // two bytes
      {kHeightKnownBox, "AB,", "已知点第[1]行定高程不正确!"},
      {kHeightApproxBox, "A,1\r\nB,--1", "已知概略高程的点第[2]行定高程不正确!"},
      {kHeightApproxBox, "A", "已知概略高程的点第[1]行数据不正确!"},
      {kHeightApproxBox, "十一个字节名字,1", "已知概略高程的点第[1]行起点点名[1--15个字符]不正确!"},
      {kHeightPairsBox, "A,B,C\r\nAB", "精度端点第[2]行数据不正确!"},
      {kHeightPairsBox, "AB,", "精度端点第[1]行终点名[1--10个字符]不正确!"},
      {kHeightPairsBox, "A,ABCDEFGHIJK", "精度端点第[1]行终点名[1--10个字符]不正确!"},
      {kHeightPairsBox, "A , A", "精度端点第[1]行点名相同不正确!"},
      {kHeightDifferencesBox, "A,B,1.2.3,2.5", "高差观测值第[1]行高差不正确!"},
      {kHeightDifferencesBox, "A,B,-0.5,", "高差观测值第[1]行定权元素不正确!"},
      {kHeightDifferencesBox, "A,B,-0.5,-1", "高差观测值第[1]行定权元素不正确!"},
      {kHeightDifferencesBox, "A,B,1,2,3", "高差观测值第[1]行定权元素不正确!"},
      {kHeightDifferencesBox, "A,B,1", "高差观测值第[1]行数据不正确!"},
      {kHeightDifferencesBox, "A,,1,1", "高差观测值第[1]行终点点名[1--15个字符]不正确!"},
      {kHeightDifferencesBox, "A,B,,1", "高差观测值第[1]行高差不正确!"},
      {kHeightDifferencesBox, "ABCDEFGHIJK,B,1,1", "高差观测值第[1]行起点点名[1--15个字符]不正确!"},
      {kHeightCoordinatesBox, "A,1,2\r\nB,1", "已知点坐标第[2]行数据不正确!"},
      {kHeightCoordinatesBox, "ABCDEFGHIJK,1,2", "已知点坐标第[1]行起点点名[1--10个字符]不正确!"},
      {kHeightCoordinatesBox, "A,,2", "已知点坐标第[1]行X坐标不正确!"},
      {kHeightCoordinatesBox, "A,1,2y", "已知点坐标第[1]行Y坐标不正确!"},
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
  std::string lines;
  for (int i = 0; i < 2561; ++i) lines += "A" + std::to_string(i) + ",B" + std::to_string(i) + ",1,1\r\n";
  lines += "bad line";
  Type(kHeightDifferencesBox, lines);
  std::string known, approx;
  for (int i = 0; i < 2000; ++i) known += "K" + std::to_string(i) + ",1\r\n";
  for (int i = 0; i < 100; ++i) approx += "P" + std::to_string(i) + ",1\r\n";
  Type(kHeightKnownBox, known);
  Type(kHeightApproxBox, approx);
  ASSERT_EQ(Parse(), "");
  EXPECT_EQ(net->observationCount, 2560);
  EXPECT_EQ(SlotText(net->from[2559]), "A2559");
  EXPECT_EQ(net->knownCount, 2000);
  EXPECT_EQ(net->approxCount, 48);  // the point list holds 2048
  // A damaged capacity can neither overflow an array nor go negative.
  net->capacities[kCapacityDifferences] = 100000;
  ASSERT_EQ(Parse(), "");
  EXPECT_EQ(net->observationCount, 2560);
  net->capacities[kCapacityDifferences] = -5;
  ASSERT_EQ(Parse(), "");
  EXPECT_EQ(net->observationCount, 0);
}

TEST_F(HeightInput, FillingFromTheRecordRoundTrips) {
  Type(kHeightKnownBox, "A,100.12345\r\nB,101");
  Type(kHeightApproxBox, "C,99.123456");
  Type(kHeightDifferencesBox, "A,C,-0.9876,0.125\r\nC,B,1.5,2");
  Type(kHeightPairsBox, "C,D");
  Type(kHeightCoordinatesBox, "A,1000,2000");
  form.priorError = "0.707";
  ASSERT_EQ(Parse(), "");
  HeightInputForm filled;
  FillHeightFormFromRecord(filled, *net);
  EXPECT_EQ(filled.mode, kHeightAdjust);
  EXPECT_EQ(GbkToUtf8(filled.networkName), "测试高程网");
  EXPECT_EQ(filled.priorError, "0.707");
  // Typed values keep every digit; the usual formats otherwise.
  EXPECT_EQ(filled.boxes[kHeightKnownBox], "A,100.12345\r\nB,101.0000\r\n");
  EXPECT_EQ(filled.boxes[kHeightApproxBox], "C,99.1235\r\n");
  EXPECT_EQ(filled.boxes[kHeightDifferencesBox], "A,C,-0.9876,0.125\r\nC,B,1.5000,2.00\r\n");
  EXPECT_EQ(filled.boxes[kHeightPairsBox], "C,D\r\n");
  EXPECT_EQ(filled.boxes[kHeightCoordinatesBox], "A,  1000.0000,  2000.0000\r\n");
}

TEST_F(HeightInput, SideFileKeepsUnfinishedInput) {
  const std::string side = dir.File("net.HTP");
  EXPECT_EQ(HeightSidePath("/data/net.NAH"), "/data/net.HTP");
  form.mode = kHeightEstimate;
  form.kind = kTrigonometricNetwork;
  form.networkName = Gbk("  二十个汉字的名字二十个汉字的名字二十  ");  // 38 bytes: kept whole
  form.priorError = "0";
  Type(kHeightKnownBox, "  A,1\r\n");
  Type(kHeightDifferencesBox, "A,B,1,1\r\nunfinished");
  Type(kHeightCoordinatesBox, "A,1,2");

  // Cancel asks first; No keeps the dialog open and writes nothing.
  platform.Answering({Answer::No});
  EXPECT_FALSE(CancelHeightForm(form, *net, platform, side));
  EXPECT_FALSE(FileExists(side));
  platform.Answering({Answer::Yes});
  ASSERT_TRUE(CancelHeightForm(form, *net, platform, side));
  EXPECT_EQ(platform.questionDefaults.back(), Answer::No);
  EXPECT_EQ(platform.QuestionsUtf8().back(), "请确认放弃 ...");

  // The dialog of the network entered by hand comes back from the side file.
  HeightInputForm restored;
  InitializeHeightForm(restored, *net, side);
  EXPECT_EQ(restored.mode, kHeightEstimate);
  EXPECT_EQ(restored.kind, kTrigonometricNetwork);
  EXPECT_EQ(GbkToUtf8(restored.networkName), "二十个汉字的名字二十个汉字的名字二十");
  EXPECT_EQ(restored.priorError, "1.00");
  EXPECT_EQ(restored.boxes[kHeightKnownBox], "A,1\r\n");
  EXPECT_EQ(restored.boxes[kHeightApproxBox], "\r\n");
  EXPECT_EQ(restored.boxes[kHeightDifferencesBox], "A,B,1,1\r\nunfinished\r\n");
  EXPECT_EQ(restored.boxes[kHeightCoordinatesBox], "A,1,2\r\n");
  EXPECT_EQ(restored.fileName, "net.NAH");

  // A derived network always shows its record, and its cancel writes nothing.
  net->derivedMarker = 3;
  HeightInputForm derived;
  InitializeHeightForm(derived, *net, side);
  EXPECT_EQ(derived.boxes[kHeightKnownBox], "");
  RemoveFileIfExists(side);
  platform.Answering({Answer::Yes});
  ASSERT_TRUE(CancelHeightForm(form, *net, platform, side));
  EXPECT_FALSE(FileExists(side));

  // A damaged side file counts as none.
  net->derivedMarker = -1;
  testing::WriteBytes(side, std::string(100, 'x'));
  HeightInputForm fromRecord;
  InitializeHeightForm(fromRecord, *net, side);
  EXPECT_EQ(GbkToUtf8(fromRecord.networkName), "控制网名");
  std::string header(184, '\0');
  header[140] = 50;  // the first text would end beyond the file
  testing::WriteBytes(side, header);
  InitializeHeightForm(fromRecord, *net, side);
  EXPECT_EQ(GbkToUtf8(fromRecord.networkName), "控制网名");
}

TEST_F(HeightInput, NameList) {
  form.nameList = {"A"};
  net->nameCount = 1;
  SetSlotText(net->nameList[0], "A");
  form.newName = "  B  ";
  AddNameToHeightList(form, *net, platform);
  EXPECT_EQ(form.nameList, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(net->nameCount, 2);
  EXPECT_EQ(SlotText(net->nameList[1]), "B");
  EXPECT_EQ(form.newName, "");
  form.newName = "B";
  AddNameToHeightList(form, *net, platform);
  EXPECT_EQ(platform.LastMessageUtf8(), "点名已存在 !");
  for (const char* ignored : {"", "ABCDEFGHIJK"}) {
    form.newName = ignored;
    AddNameToHeightList(form, *net, platform);
    EXPECT_EQ(form.nameList.size(), 2u);
  }

  form.insertMode = 4;  // height differences
  form.boxes[kHeightDifferencesBox] = "X";
  ClickHeightNameListItem(form, *net, 1);
  ClickHeightNameListItem(form, *net, 0);
  EXPECT_EQ(form.boxes[kHeightDifferencesBox], "XB,A,");
  form.insertMode = 5;  // plane coordinates
  ClickHeightNameListItem(form, *net, 0);
  EXPECT_EQ(form.boxes[kHeightCoordinatesBox], "A,");
  form.insertMode = kHeightInsertNone;
  ClickHeightNameListItem(form, *net, 0);
  ClickHeightNameListItem(form, *net, 7);
  EXPECT_EQ(form.boxes[kHeightKnownBox], "");

  form.insertMode = kHeightInsertDelete;
  ClickHeightNameListItem(form, *net, 0);
  EXPECT_EQ(form.nameList, (std::vector<std::string>{"B"}));
  EXPECT_EQ(net->nameCount, 1);
  EXPECT_EQ(SlotText(net->nameList[0]), "B");
  ClickHeightNameListItem(form, *net, 0);  // the last entry stays
  EXPECT_EQ(form.nameList.size(), 1u);
}

}  // namespace
}  // namespace qp
