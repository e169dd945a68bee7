#include "tools/zone_transform.h"

#include "tools/point_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

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

struct ZoneFormTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  ZoneTransformForm form;
  std::string gst = dir.File("Z.GST");

  void SetUp() override {
    ASSERT_TRUE(form.CreateFile(gst));
    form.oldMeridianText = "117";
    form.newMeridianText = "120";
    form.title = Gbk("换带");
  }
  // Runs "换带执行" on `lines` (GBK), one point a line.
  bool Run(const std::string& lines) {
    form.inputText = lines;
    platform.messages.clear();
    return form.Execute(platform).accepted;
  }
};

TEST_F(ZoneFormTest, TheShownYCarriesTheZoneNumberOnRequestOnly) {
  form.displayIndex = kZoneShowCoordinates;
  ASSERT_TRUE(Run("P1,3380000,500000"));
  const double y = form.Record().newY[0];
  EXPECT_EQ(form.OutputText(), Format("P1        ,%11.3f,%11.3f\r\n", form.Record().newX[0], y));
  form.zoneNumberIndex = kThreeDegreeZoneNumber;  // 120 degrees: 3-degree zone 40
  ASSERT_TRUE(Run("P1,3380000,500000"));
  EXPECT_EQ(form.OutputText(), Format("P1        ,%11.3f,%11.3f\r\n", form.Record().newX[0], y + 40e6));
  EXPECT_EQ(form.Record().newY[0], y);  // the file keeps Y without it
  form.zoneNumberIndex = kSixDegreeZoneNumber;  // 120 degrees is no 6-degree zone's meridian
  EXPECT_FALSE(Run("P1,3380000,500000"));
  EXPECT_EQ(platform.LastMessageUtf8(), "换带后经度不是6度带的中央子午线, 不能输出带号 !");
}

TEST_F(ZoneFormTest, InputLinesFollowTheListRules) {
  struct Case {
    const char* input;  // UTF-8, lines joined by CR LF
    const char* message;  // empty: accepted
    int count;
  };
  const Case cases[] = {
      {"P1,-1,500000", "换带前坐标点第[0]行X坐标不正确!", 0},
      {"P1,3380000,500000\r\nP2,3380000", "换带前坐标第[1]行数据不正确!", 0},
      {",3380000,500000", "换带前坐标第[0]行数据不正确!", 0},
      {"P1, ,500000", "换带前坐标第[0]行数据不正确!", 0},  // the x text is looked for after trimming
      {"ab", "换带前坐标第[0]行数据不正确!", 0},
      {"ABCDEFGHIJK,3380000,500000", "换带前坐标点第[0]行点名[1--10个字符]不正确!", 0},
      {"六个汉字的名,3380000,500000", "换带前坐标点第[0]行点名[1--10个字符]不正确!", 0},
      {"五个汉字名,3380000,500000", "", 1},  // ten GBK bytes
      {"P1,,500000", "换带前坐标第[0]行数据不正确!", 0},
      {"P1,1.2.3,500000", "换带前坐标点第[0]行X坐标不正确!", 0},
      {"P1,3380000,", "换带前坐标点第[0]行Y坐标不正确!", 0},
      {"P1,3380000,500000,7", "换带前坐标点第[0]行Y坐标不正确!", 0},  // a further comma stays in y
      {"P1,3380000,-5", "换带前坐标点第[0]行Y坐标不正确!", 0},
      {"P1,3380000-,500000", "", 1},  // the number rule does not check positions
      {"  P1 , 3380000 , 500000  ", "", 1},
      {"P1,3380000,500000\r\n\r\nP2,bad,bad", "", 1},  // an empty line ends the list (after a yes)
      {"P1,3380000,500000\nP2,bad,bad", "", 0},       // so does a bare line feed
      {"", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    platform.Answering({Answer::Yes});  // the question before a list is cut, if asked
    const bool ok = Run(Utf8ToGbk(c.input));
    platform.answers.clear();
    if (*c.message) {
      EXPECT_FALSE(ok);
      EXPECT_EQ(platform.LastMessageUtf8(), c.message);
    } else {
      EXPECT_TRUE(ok) << platform.LastMessageUtf8();
      EXPECT_EQ(form.Record().count, c.count);
    }
  }
}

TEST_F(ZoneFormTest, MeridianAndTitleRules) {
  struct Case {
    const char* oldMeridian;
    const char* newMeridian;
    const char* message;
  };
  const Case cases[] = {
      {"0.4", "120", "换带前经度输入错误 !"},   {"abc", "120", "换带前经度输入错误 !"},
      {"117", "", "换带后经度输入错误 !"},      {"111", "123.1", "换带前后度差超过了12度 !"},
      {"123.1", "111", "换带前后度差超过了12度 !"}, {"111", "123", ""},
      {"117x", "120.30", ""},  // the leading number counts
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.oldMeridian) + " -> " + c.newMeridian);
    form.oldMeridianText = c.oldMeridian;
    form.newMeridianText = c.newMeridian;
    EXPECT_EQ(Run("P1,3380000,500000\r\n"), !*c.message);
    if (*c.message) {
      EXPECT_EQ(platform.LastMessageUtf8(), c.message);
    }
  }
  form.oldMeridianText = "117";
  form.newMeridianText = "120";
  form.title = Gbk("十六个汉字的标题刚好是三十二字节");  // 32 bytes
  EXPECT_TRUE(Run(""));
  EXPECT_EQ(SlotText(form.Record().title), form.title);
  form.title += "x";
  EXPECT_FALSE(Run(""));
  EXPECT_EQ(platform.LastMessageUtf8(), "标题字符数超过了32 !");
}

TEST_F(ZoneFormTest, ZoneNumberIsDroppedForTheProjectionOnly) {
  ASSERT_TRUE(Run("A,3000000.0,38500000.0\r\nB,3000000.0,500000.0\r\n"));
  const ZoneTransformFile& r = form.Record();
  EXPECT_EQ(r.oldY[0], 38500000.0);
  EXPECT_EQ(r.newX[0], r.newX[1]);
  EXPECT_EQ(r.newY[0], r.newY[1]);
  EXPECT_NE(ReadBytes(form.ReportPath()).find("38500000.0000"), std::string::npos);
}

TEST_F(ZoneFormTest, DisplaySelectionChoosesColumnsAndRunsAgain) {
  ASSERT_TRUE(Run("P1,3380000,500000\r\n"));
  const ZoneTransformFile& r = form.Record();
  EXPECT_EQ(form.OutputText(), Format("P1        ,%11.3f,%11.3f,%8.5f,%8.5f\r\n", r.newX[0], r.newY[0], r.longitude[0],
                                      r.latitude[0]));
  // On the central meridian the longitude is the meridian itself (117.00000),
  // and it comes first.
  ASSERT_TRUE(form.SelectDisplay(kZoneShowGeographic, platform));
  EXPECT_EQ(form.OutputText(), Format("P1        ,117.00000,%8.5f\r\n", r.latitude[0]));
  ASSERT_TRUE(form.SelectDisplay(kZoneShowCoordinates, platform));
  EXPECT_EQ(form.OutputText(), Format("P1        ,%11.3f,%11.3f\r\n", r.newX[0], r.newY[0]));
  // Every run saves, reports and offers the report (No by default).
  EXPECT_EQ(platform.questions.size(), 3u);
  EXPECT_EQ(platform.QuestionsUtf8().back(), "换带计算完成...\r\n" + dir.File("Z.txt") + "\r\n\r\n查看转换结果 ?");
  EXPECT_EQ(platform.questionDefaults.back(), Answer::No);
  EXPECT_TRUE(platform.launched.empty());
  platform.Answering({Answer::Yes});
  ASSERT_TRUE(form.Execute(platform));
  ASSERT_EQ(platform.launched.size(), 1u);
  EXPECT_EQ(platform.launched[0], std::string(kTextEditorProgram) + " " + dir.File("Z.txt"));
}

TEST_F(ZoneFormTest, ListHolds1024PointsAndIgnoresTheRest) {
  std::string lines;
  for (int i = 0; i < 1024; ++i) lines += Format("P%d,%d.5,%d.25\r\n", i, 3300000 + 97 * i, 400000 + 193 * i);
  lines += "P1024,bad,bad\r\n";
  ASSERT_TRUE(Run(lines)) << platform.LastMessageUtf8();
  EXPECT_EQ(form.Record().count, 1024);
  EXPECT_EQ(SlotText(form.Record().names[1023]), "P1023");
  // Written and read back whole.
  ZoneTransformForm again;
  ASSERT_TRUE(again.LoadFile(gst));
  EXPECT_EQ(again.inputText.substr(0, 27), "P0,3300000.500,400000.250\r\n");
  EXPECT_EQ(std::memcmp(&again.Record(), &form.Record(), sizeof(ZoneTransformFile)), 0);
}

TEST_F(ZoneFormTest, ARefusedPointNamesItsLineOfTheInputList) {
  const struct {
    const char* what;
    const char* lines;
    int line;
  } cases[] = {
      {"read", "P1,3380000,500000\r\nP2,x,500000\r\n", 1},
      {"transformed", "P1,3380000,500000\r\nP2,3380000,500000\r\nP3,10100000,500000\r\n", 2},
  };
  for (const auto& c : cases) {
    form.inputText = c.lines;
    const InputCheck check = form.Execute(platform);
    EXPECT_FALSE(check) << c.what;
    ASSERT_TRUE(check.rejected) << c.what;
    EXPECT_EQ(check.rejected->box, 0) << c.what;
    EXPECT_EQ(check.rejected->line, c.line) << c.what;
    EXPECT_EQ(check.rejected->message, platform.messages.back()) << c.what;
  }
  // A refused setting names no line.
  form.oldMeridianText = "0";
  const InputCheck setting = form.Execute(platform);
  EXPECT_FALSE(setting);
  EXPECT_FALSE(setting.rejected);
}

TEST_F(ZoneFormTest, OverflowNeverReachesOutputReportOrFile) {
  ASSERT_TRUE(Run("P1,3380000,500000\r\n"));
  const std::string file = ReadBytes(gst);
  const std::string report = ReadBytes(form.ReportPath());
  const std::string output = form.OutputText();
  // A northing beyond the pole, and 300 digits (a valid numeric field).
  EXPECT_FALSE(Run("P1,3380000,500000\r\nP2,10100000,500000\r\n"));
  EXPECT_EQ(platform.LastMessageUtf8(), "换带前坐标点第[1]行坐标超出换带计算范围!");
  EXPECT_FALSE(Run("P1," + std::string(300, '9') + ",500000\r\n"));
  EXPECT_EQ(platform.LastMessageUtf8(), "换带前坐标点第[0]行坐标超出换带计算范围!");
  form.oldMeridianText = form.newMeridianText = "1e308";
  EXPECT_FALSE(Run("P1,3380000,500000\r\n"));
  EXPECT_EQ(platform.LastMessageUtf8(), "换带前坐标点第[0]行坐标超出换带计算范围!");
  EXPECT_EQ(ReadBytes(gst), file);
  EXPECT_EQ(ReadBytes(form.ReportPath()), report);
  EXPECT_EQ(form.OutputText(), output);
}

TEST_F(ZoneFormTest, ChoosingAFile) {
  ASSERT_TRUE(Run("P1,3380000.1234,500000\r\nP2,3381000,501000\r\n"));
  const std::string saved = ReadBytes(gst);
  ASSERT_EQ(saved.size(), kZoneFileSize);

  // Without a chosen file the output edit is all there is.
  ZoneTransformForm loaded;
  loaded.oldMeridianText = "117";
  loaded.newMeridianText = "120";
  loaded.inputText = "Q,3380000,500000\r\n";
  platform.questions.clear();
  ASSERT_TRUE(loaded.Execute(platform));
  EXPECT_EQ(loaded.OutputText().substr(0, 11), "Q         ,");
  EXPECT_TRUE(platform.questions.empty());
  // A file of the right length fills the controls.
  loaded.ChooseFile(gst, platform);
  EXPECT_TRUE(platform.questions.empty());
  EXPECT_TRUE(loaded.FileChosen());
  EXPECT_EQ(loaded.inputText, "P1,3380000.123,500000.000\r\nP2,3381000.000,501000.000\r\n");
  EXPECT_EQ(loaded.oldMeridianText, "117.000000");
  EXPECT_EQ(loaded.newMeridianText, "120.000000");
  EXPECT_EQ(loaded.title, Gbk("换带"));
  EXPECT_EQ(loaded.FileNameText(), gst);

  // One byte more or less counts as missing: the new-file question follows,
  // and No leaves both that file and the earlier choice alone.
  for (const std::string& bad : {saved.substr(1), saved + '\0'}) {
    const std::string other = dir.File("OTHER.GST");
    WriteBytes(other, bad);
    platform.questions.clear();
    platform.Answering({Answer::No});
    loaded.ChooseFile(other, platform);
    ASSERT_EQ(platform.QuestionsUtf8(), std::vector<std::string>{"请确认新建坐标换带数据文件 ..."});
    EXPECT_EQ(ReadBytes(other), bad);
    EXPECT_EQ(loaded.DataPath(), gst);
    EXPECT_EQ(loaded.FileNameText(), gst);
  }
  // Yes creates it empty.
  platform.Answering({Answer::Yes});
  loaded.ChooseFile(dir.File("NEW.GST"), platform);
  EXPECT_EQ(ReadBytes(dir.File("NEW.GST")), std::string(kZoneFileSize, '\0'));
  EXPECT_EQ(loaded.DataPath(), dir.File("NEW.GST"));
  EXPECT_EQ(loaded.FileNameText(), dir.File("NEW.GST"));
}

TEST_F(ZoneFormTest, DamagedFilesAreNotTaken) {
  ASSERT_TRUE(Run("P1,3380000,500000\r\n"));
  const std::string saved = ReadBytes(gst);
  auto patched = [&](size_t offset, const void* bytes, size_t size) {
    std::string copy = saved;
    std::memcpy(copy.data() + offset, bytes, size);
    return copy;
  };
  const int32_t tooMany = 1025;
  const int32_t negative = -1;
  const double nan = std::nan("");
  for (const std::string& bad : {patched(4, &tooMany, 4), patched(4, &negative, 4),
                                 patched(offsetof(ZoneTransformFile, oldX), &nan, 8)}) {
    WriteBytes(gst, bad);
    ZoneTransformForm other;
    EXPECT_FALSE(other.LoadFile(gst));
    EXPECT_FALSE(other.FileChosen());
    // Chosen in the dialog it is refused, not offered for replacement, and
    // the file chosen before stays.
    const std::string kept = dir.File("KEPT.GST");
    WriteBytes(kept, saved);
    ASSERT_TRUE(other.LoadFile(kept));
    platform.questions.clear();
    platform.Answering({Answer::Yes});
    other.ChooseFile(gst, platform);
    EXPECT_TRUE(platform.questions.empty());
    EXPECT_EQ(platform.LastMessageUtf8(), "换带数据文件错误 !");
    EXPECT_EQ(ReadBytes(gst), bad);
    EXPECT_EQ(other.DataPath(), kept);
  }
  // A stray value in a slot no list uses is tidied, never written back.
  WriteBytes(gst, patched(offsetof(ZoneTransformFile, newX) + 8 * 500, &nan, 8));
  ZoneTransformForm other;
  ASSERT_TRUE(other.LoadFile(gst));
  EXPECT_EQ(other.Record().newX[500], 0.0);
}

// The series agree with an independent transverse Mercator implementation to
// well under a millimetre within 3 degrees of both central meridians, on the
// 1954, 1980, 2000 and WGS 84 ellipsoids.
TEST_F(ZoneFormTest, AgreesWithAnIndependentTransverseMercator) {
  if (!testing::Cs2csAvailable()) GTEST_SKIP() << "cs2cs (proj-bin) is not installed";
  ASSERT_EQ(GeodeticSystemItems().size(), 4u);
  for (int system = 0; system < 4; ++system) {
    SCOPED_TRACE(system);
    const EllipsoidAxes axes = AxesOf(GeodeticSystemFromSelector(system));
    std::vector<std::pair<double, double>> geographic;
    for (double lat = 18.0; lat <= 53.0; lat += 5.0) {
      for (double lon = 117.2; lon <= 119.9; lon += 0.45) geographic.emplace_back(lon, lat);
    }
    const std::string ll = testing::Geographic(axes.a, axes.b);
    const auto before = testing::Cs2cs(ll, testing::TransverseMercator(117.0, axes.a, axes.b), geographic, dir.path());
    const auto after = testing::Cs2cs(ll, testing::TransverseMercator(120.0, axes.a, axes.b), geographic, dir.path());
    ASSERT_TRUE(before && after);
    form.systemIndex = system;
    std::string lines;
    for (size_t i = 0; i < before->size(); ++i) {
      lines += Format("P%zu,%.6f,%.6f\r\n", i, (*before)[i].second, (*before)[i].first);
    }
    ASSERT_TRUE(Run(lines)) << platform.LastMessageUtf8();
    const ZoneTransformFile& r = form.Record();
    ASSERT_EQ(r.count, static_cast<int>(geographic.size()));
    for (int i = 0; i < r.count; ++i) {
      EXPECT_NEAR(r.newX[i], (*after)[i].second, 2e-4) << i;
      EXPECT_NEAR(r.newY[i], (*after)[i].first, 2e-4) << i;
      // 1e-8 degrees is about a millimetre.
      EXPECT_NEAR(testing::DmsToDegrees(r.latitude[i]), geographic[i].second, 1e-8) << i;
      EXPECT_NEAR(testing::DmsToDegrees(r.longitude[i]), geographic[i].first, 1e-8) << i;
    }
  }
}

}  // namespace
}  // namespace qp
