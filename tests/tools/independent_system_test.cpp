#include "tools/independent_system.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include <cmath>

#include "common/binary_file.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "geodesy/gauss_projection.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"
#include "tool_test_support.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::ScriptedPlatform;
using testing::TempDir;
using testing::WriteBytes;

struct IndependentFormTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  IndependentSystemForm form;
  std::string slt = dir.File("L.SLT");

  void SetUp() override {
    ASSERT_TRUE(form.CreateFile(slt));
    form.systemName = Gbk("测试独立坐标系统");
    form.referenceName = "R0";
    form.meridianText = "117";
    form.referenceXText = "3380000";
    form.referenceYText = "520000";
    form.systemIndex = 1;
    form.heightText = "500";
    form.setXText = "50000";
    form.setYText = "50000";
    form.radiusText = "20000";
  }
  ConversionOutcome Convert(const std::string& nationalLines, Answer confirm = Answer::No) {
    form.modeIndex = kNationalToIndependent;
    form.nationalText = nationalLines;
    platform.messages.clear();
    platform.Answering({confirm});
    const ConversionOutcome outcome = form.Execute(platform).outcome;
    platform.answers.clear();
    return outcome;
  }
  ConversionOutcome ConvertBack(const std::string& independentLines) {
    form.modeIndex = kIndependentToNational;
    form.independentText = independentLines;
    platform.messages.clear();
    return form.Execute(platform).outcome;
  }
};

TEST_F(IndependentFormTest, ReferenceDataAreValidated) {
  struct Case {
    std::string* field;
    const char* value;
    const char* message;
  };
  const Case cases[] = {
      {&form.systemName, "  ", "标题名称不正确 !"},
      {&form.systemName, "123456789012345678901234567890123", "标题名称不正确 !"},
      {&form.referenceName, "", "参考点点名不正确 !"},
      {&form.referenceName, "ABCDEFGHIJK", "参考点点名不正确 !"},
      {&form.referenceYText, "38520000", "参考点国家坐标系统的坐标不正确 !"},  // no zone number
      {&form.referenceYText, "99999.99", "参考点国家坐标系统的坐标不正确 !"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    const std::string kept = *c.field;
    *c.field = c.value;
    EXPECT_EQ(Convert("R0,3380000,520000\r\n"), ConversionOutcome::Stopped);
    EXPECT_EQ(platform.LastMessageUtf8(), c.message);
    *c.field = kept;
  }
  form.systemName = "  " + std::string(32, 'N') + "  ";  // trimmed to 32 bytes
  form.referenceYText = "1000000";
  form.referenceXText = "0";
  form.radiusText = "500";
  EXPECT_EQ(Convert("R0,0,1000000\r\n"), ConversionOutcome::Converted) << platform.LastMessageUtf8();
  EXPECT_EQ(form.Record().radius, 1000.0);
  EXPECT_EQ(SlotText(form.Record().systemName), std::string(32, 'N'));
  // A national y must be written without its zone number too.
  EXPECT_EQ(Convert("P1,3380000,38520000\r\n"), ConversionOutcome::Stopped);
  EXPECT_EQ(platform.LastMessageUtf8(), "国家坐标系统坐标点第[0]行Y坐标不正确!");
  EXPECT_EQ(Convert(""), ConversionOutcome::Stopped);
  EXPECT_EQ(platform.LastMessageUtf8(), "国家坐标系统数据输入不正确 !");
  // Northings past the pole have no latitude to convert through.
  form.referenceXText = "20000000";
  form.radiusText = "1e9";
  EXPECT_EQ(Convert("R0,3380000,520000\r\n"), ConversionOutcome::Stopped);
  EXPECT_EQ(platform.LastMessageUtf8(), "参考点信息不正确, 无法计算 !");
  form.referenceXText = "3380000";
  EXPECT_EQ(Convert("R0,3380000,520000\r\nP,20000000,520000\r\n"), ConversionOutcome::Stopped);
  EXPECT_EQ(platform.LastMessageUtf8(), "国家坐标系统第[2]个坐标无法转换 !");
}

TEST_F(IndependentFormTest, PointsOutsideTheRadiusStopTheConversion) {
  form.radiusText = "1000";
  ASSERT_EQ(Convert("R0,3380000,520000\r\n"), ConversionOutcome::Converted);
  const std::string file = ReadBytes(slt);
  EXPECT_EQ(Convert("P1,3381000.001,520000\r\nP2,3380000,520000\r\n"), ConversionOutcome::Stopped);
  EXPECT_EQ(platform.LastMessageUtf8(), "国家坐标系统第[1]个超过设定的范围 !");
  EXPECT_EQ(Convert("P2,3380000,520000\r\nP1,3380000,521000.001\r\n"), ConversionOutcome::Stopped);
  EXPECT_EQ(platform.LastMessageUtf8(), "国家坐标系统第[2]个超过设定的范围 !");
  EXPECT_EQ(ReadBytes(slt), file);
  EXPECT_EQ(Convert("P1,3381000,520000\r\n"), ConversionOutcome::Converted);  // exactly on the circle
}

TEST_F(IndependentFormTest, ReferencePointGetsItsSetCoordinates) {
  ASSERT_EQ(Convert("R0,3380000,520000\r\n"), ConversionOutcome::Converted);
  EXPECT_NEAR(form.Record().independentX[0], 50000.0, 1e-6);
  EXPECT_NEAR(form.Record().independentY[0], 50000.0, 1e-6);
  EXPECT_EQ(form.independentText, "R0        ,  50000.000,  50000.000\r\n");
  EXPECT_EQ(form.Record().referenceYH, 500000.0);
  // On the national central meridian without height the system is a shift.
  form.referenceYText = "500000";
  form.heightText = "0";
  ASSERT_EQ(Convert("P1,3384321.123,503456.789\r\nP2,3371234.5,494321.987\r\n"), ConversionOutcome::Converted);
  const IndependentSystemFile& r = form.Record();
  for (int i = 0; i < 2; ++i) {
    EXPECT_NEAR(r.independentX[i] - 50000.0, r.nationalX[i] - 3380000.0, 1e-3);
    EXPECT_NEAR(r.independentY[i] - 50000.0, r.nationalY[i] - 500000.0, 1e-3);
  }
}

TEST_F(IndependentFormTest, ConversionsRoundTripThroughTheRaisedSurface) {
  const std::string national = "N1,3385123.456,525432.100\r\nN2,3372345.678,511111.111\r\nN3,3391000,531000\r\n";
  ASSERT_EQ(Convert(national, Answer::Yes), ConversionOutcome::Converted);
  const IndependentSystemFile there = form.Record();
  std::string independent;
  for (int i = 0; i < there.independentCount; ++i) {
    independent += Format("%s,%.6f,%.6f\r\n", SlotText(there.independentNames[i]).data(), there.independentX[i],
                          there.independentY[i]);
  }
  ASSERT_EQ(ConvertBack(independent), ConversionOutcome::Converted) << platform.LastMessageUtf8();
  EXPECT_EQ(form.nationalText,
            "N1        ,3385123.456, 525432.100\r\nN2        ,3372345.678, 511111.111\r\n"
            "N3        ,3391000.000, 531000.000\r\n");
  for (int i = 0; i < there.nationalCount; ++i) {
    EXPECT_NEAR(form.Record().nationalX[i], there.nationalX[i], 1e-4);
    EXPECT_NEAR(form.Record().nationalY[i], there.nationalY[i], 1e-4);
  }
  EXPECT_EQ(platform.LastMessageUtf8(), "独立到国家坐标系统转换完成...");
}

// The local system is a transverse Mercator projection on the ellipsoid
// raised by H around the reference point's meridian.
TEST_F(IndependentFormTest, LocalSystemAgreesWithAnIndependentProjection) {
  if (!testing::Cs2csAvailable()) GTEST_SKIP() << "cs2cs (proj-bin) is not installed";
  ASSERT_EQ(Convert("R0,3380000,520000\r\nN1,3391000,531000\r\nN2,3370000,509000\r\n"), ConversionOutcome::Converted);
  const IndependentSystemFile& r = form.Record();
  const EllipsoidAxes axes = AxesOf(GeodeticSystem::System80);
  const double H = 500.0;
  std::vector<std::pair<double, double>> geographic;
  std::vector<std::pair<double, double>> national;
  for (int i = 0; i < r.nationalCount; ++i) national.emplace_back(r.nationalY[i], r.nationalX[i]);
  const auto lonLat = testing::Cs2cs(testing::TransverseMercator(117.0, axes.a, axes.b),
                                     testing::Geographic(axes.a, axes.b), national, dir.path());
  ASSERT_TRUE(lonLat);
  // The same latitude and longitude on the raised ellipsoid.
  const auto local = testing::Cs2cs(
      testing::Geographic(axes.a + H, axes.b + H),
      testing::TransverseMercator(testing::DmsToDegrees(r.referenceL), axes.a + H, axes.b + H), *lonLat, dir.path());
  ASSERT_TRUE(local);
  for (int i = 0; i < r.nationalCount; ++i) {
    EXPECT_NEAR(r.independentX[i] - 50000.0, (*local)[i].second - (*local)[0].second, 1e-3) << i;
    EXPECT_NEAR(r.independentY[i] - 50000.0, (*local)[i].first - (*local)[0].first, 1e-3) << i;
  }
}

TEST_F(IndependentFormTest, ConfirmationFreezesTheReference) {
  // A new file: only national -> independent.
  IndependentEnabling e = form.Enabling();
  EXPECT_TRUE(e.referenceGroup && e.systemName && e.radius && e.nationalEdit);
  EXPECT_FALSE(e.independentEdit || e.modeCombo || e.viewReport);
  EXPECT_EQ(ConvertBack("I1,50000,50000\r\n"), ConversionOutcome::Stopped);
  EXPECT_EQ(platform.LastMessageUtf8(), "参考点信息确认后才能进行独立坐标到国家坐标的转换 !");

  // Declining the question converts but does not confirm.
  ASSERT_EQ(Convert("R0,3380000,520000\r\n", Answer::No), ConversionOutcome::Converted);
  EXPECT_EQ(platform.QuestionsUtf8().back(), "请确认参考点信息输入正确并且不再修改 ...");
  EXPECT_EQ(platform.questionDefaults.back(), Answer::No);
  EXPECT_FALSE(form.Confirmed());
  EXPECT_TRUE(form.Enabling().viewReport);
  EXPECT_EQ(platform.LastMessageUtf8(), "国家到独立坐标系统转换完成...");

  ASSERT_EQ(Convert("R0,3380000,520000\r\n", Answer::Yes), ConversionOutcome::Converted);
  EXPECT_TRUE(form.Confirmed());
  e = form.Enabling();
  EXPECT_FALSE(e.referenceGroup || e.systemName || e.radius);
  EXPECT_TRUE(e.nationalEdit && e.independentEdit && e.modeCombo && e.viewReport);

  // Frozen: edits of the reference controls no longer count, and no question
  // is asked again.
  const size_t questions = platform.questions.size();
  form.setXText = "0";
  form.referenceYText = "bad";
  ASSERT_EQ(Convert("R0,3380000,520000\r\n"), ConversionOutcome::Converted);
  EXPECT_NEAR(form.Record().independentX[0], 50000.0, 1e-6);
  EXPECT_EQ(platform.questions.size(), questions);

  // The file reopens frozen, with both modes available.
  IndependentSystemForm reopened;
  reopened.ChooseFile(slt, platform);
  EXPECT_TRUE(reopened.Confirmed());
  EXPECT_EQ(reopened.setXText, "50000.000");
  EXPECT_EQ(reopened.meridianText, "117.000000");
  EXPECT_EQ(reopened.radiusText, "20000");
  EXPECT_EQ(reopened.nationalText, "R0        ,3380000.000, 520000.000\r\n");
  EXPECT_TRUE(reopened.Enabling().modeCombo);
  EXPECT_FALSE(reopened.Enabling().viewReport);

  platform.launched.clear();
  form.ViewReport(platform);
  EXPECT_EQ(platform.launched, std::vector<std::string>{std::string("xdg-open ") + dir.File("L.txt")});
}

TEST_F(IndependentFormTest, IndependentListRules) {
  ASSERT_EQ(Convert("R0,3380000,520000\r\n", Answer::Yes), ConversionOutcome::Converted);
  EXPECT_EQ(ConvertBack("I1,50000,50000\r\nI2,5x,1\r\n"), ConversionOutcome::Stopped);
  EXPECT_EQ(platform.MessagesUtf8(),
            (std::vector<std::string>{"独立坐标系统坐标点第[1]行X坐标不正确!", "独立坐标系统数据输入不正确 !"}));
  EXPECT_EQ(ConvertBack(""), ConversionOutcome::NothingToDo);
  EXPECT_TRUE(platform.messages.empty());
  // Local coordinates may be negative; the radius counts from the set point.
  EXPECT_EQ(ConvertBack("I1,49000,-50\r\n"), ConversionOutcome::Stopped);
  EXPECT_EQ(platform.LastMessageUtf8(), "独立坐标系统第[1]个超过设定的范围 !");
  form.independentText.clear();
  EXPECT_EQ(ConvertBack("I1,45000,40000.5\r\n"), ConversionOutcome::Converted);
}

TEST_F(IndependentFormTest, OnlyTheNationalListNamesTheLineThatStoppedIt) {
  form.modeIndex = kNationalToIndependent;
  form.nationalText = "R0,3380000,520000\r\nN1,3380000\r\n";
  const Conversion stopped = form.Execute(platform);
  EXPECT_EQ(stopped.outcome, ConversionOutcome::Stopped);
  ASSERT_TRUE(stopped.rejected);
  EXPECT_EQ(stopped.rejected->box, 0);
  EXPECT_EQ(stopped.rejected->line, 1);
  EXPECT_EQ(GbkToUtf8(stopped.rejected->message), platform.LastMessageUtf8());
  // The independent list's refusal is followed by the conversion's own
  // message, which is what the user reads last: no line is named.
  ASSERT_EQ(Convert("R0,3380000,520000\r\n", Answer::Yes), ConversionOutcome::Converted);
  form.modeIndex = kIndependentToNational;
  form.independentText = "I1,50000,50000\r\nI2,5x,1\r\n";
  const Conversion back = form.Execute(platform);
  EXPECT_EQ(back.outcome, ConversionOutcome::Stopped);
  EXPECT_FALSE(back.rejected);
}

TEST_F(IndependentFormTest, ChoosingFiles) {
  // No to the new-file question: the defaults, and no file.
  IndependentSystemForm fresh;
  platform.Answering({Answer::No});
  fresh.ChooseFile(dir.File("NEW.SLT"), platform);
  EXPECT_EQ(platform.QuestionsUtf8().back(), "请确认新建独立坐标系统转换数据文件 ...");
  EXPECT_FALSE(fresh.FileChosen());
  EXPECT_FALSE(FileExists(dir.File("NEW.SLT")));
  EXPECT_EQ(GbkToUtf8(fresh.systemName), "XX工程独立坐标系统");
  EXPECT_EQ(GbkToUtf8(fresh.referenceName), "参考点名称");
  EXPECT_EQ(fresh.meridianText, "111.000000");
  EXPECT_EQ(fresh.referenceYText, "0.000");
  EXPECT_EQ(fresh.radiusText, "1000");
  const IndependentEnabling e = fresh.Enabling();
  EXPECT_FALSE(e.referenceGroup || e.nationalEdit || e.independentEdit || e.modeCombo);

  platform.Answering({Answer::Yes});
  fresh.ChooseFile(dir.File("NEW.SLT"), platform);
  EXPECT_TRUE(fresh.FileChosen());
  EXPECT_EQ(ReadBytes(dir.File("NEW.SLT")).size(), kIndependentFileSize);

  // A file of another length is not read; declining leaves no file chosen,
  // so nothing can be written over the earlier one.
  ASSERT_EQ(Convert("R0,3380000,520000\r\n", Answer::Yes), ConversionOutcome::Converted);
  const std::string saved = ReadBytes(slt);
  WriteBytes(dir.File("BAD.SLT"), saved + "x");
  platform.Answering({Answer::No});
  form.ChooseFile(dir.File("BAD.SLT"), platform);
  EXPECT_FALSE(form.FileChosen());
  EXPECT_EQ(Convert("R0,3380000,520000\r\n"), ConversionOutcome::NothingToDo);
  EXPECT_EQ(ReadBytes(slt), saved);
  EXPECT_EQ(ReadBytes(dir.File("BAD.SLT")), saved + "x");

  // One of the right length with a count out of range is refused outright:
  // no question, the file and the earlier choice stay.
  form.ChooseFile(slt, platform);
  ASSERT_TRUE(form.FileChosen());
  std::string damaged = saved;
  const int32_t negative = -1;
  std::memcpy(damaged.data() + offsetof(IndependentSystemFile, nationalCount), &negative, 4);
  WriteBytes(dir.File("DAMAGED.SLT"), damaged);
  platform.questions.clear();
  platform.Answering({Answer::Yes});
  form.ChooseFile(dir.File("DAMAGED.SLT"), platform);
  EXPECT_TRUE(platform.questions.empty());
  EXPECT_EQ(platform.LastMessageUtf8(), "独立坐标系统数据文件错误 !");
  EXPECT_EQ(ReadBytes(dir.File("DAMAGED.SLT")), damaged);
  EXPECT_TRUE(form.FileChosen());
}

}  // namespace
}  // namespace qp
