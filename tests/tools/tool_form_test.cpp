// What the three coordinate tools' forms share: a data file that can no longer
// be written, and the point lists put into a record and read back from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"
#include "tools/independent_system.h"
#include "tools/point_list.h"
#include "tools/system_transform.h"
#include "tools/zone_transform.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::ScriptedPlatform;
using testing::TempDir;

// Turns the chosen data file into a folder, which no record can be written to.
void MakeUnwritable(const std::string& path) {
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
}

// A tool run on a chosen file that cannot be written any more: the result is
// still shown and the report written, the file's message is shown once and
// the run counts as failed.
struct UnwritableCase {
  const char* tool;
  std::function<bool(const std::string& path, ScriptedPlatform& platform)> run;  // true when accepted
  const char* message;
  const char* reportText;  // a text the report holds
};

TEST(ToolForms, ADataFileThatCannotBeWrittenIsToldAndTheReportIsStillWritten) {
  const UnwritableCase cases[] = {
      {"zone", [](const std::string& path, ScriptedPlatform& platform) {
         ZoneTransformForm form;
         if (!form.CreateFile(path)) return true;
         MakeUnwritable(path);
         form.oldMeridianText = "117";
         form.newMeridianText = "120";
         form.inputText = "P1,3380000,500000\r\n";
         return form.Execute(platform).accepted;
       }, "换带数据文件写入错误 !", "换带后坐标"},
      {"system", [](const std::string& path, ScriptedPlatform& platform) {
         SystemTransformForm form;
         if (!form.CreateFile(path)) return true;
         MakeUnwritable(path);
         form.oldText = "A,1000,2000\r\nB,1500,2600\r\nC,900,2900\r\n";
         form.newText = "A,1010,2010\r\nB,1510,2610\r\n";
         return form.Execute(platform).accepted;
       }, "坐标转换数据文件写入错误 !", "旧系统下坐标转换到新系统结果"},
      {"independent", [](const std::string& path, ScriptedPlatform& platform) {
         IndependentSystemForm form;
         if (!form.CreateFile(path)) return true;
         MakeUnwritable(path);
         form.meridianText = "117";
         form.referenceXText = "3380000";
         form.referenceYText = "520000";
         form.setXText = form.setYText = "50000";
         form.radiusText = "20000";
         form.nationalText = "N1,3385000,525000\r\n";
         return form.Execute(platform) == ConversionOutcome::Converted && form.WroteFiles();
       }, "独立坐标系统数据文件写入错误 !", "转换到独立坐标系统"},
  };
  for (const UnwritableCase& c : cases) {
    SCOPED_TRACE(c.tool);
    TempDir dir;
    ScriptedPlatform platform;
    const std::string path = dir.File("DATA.BIN");
    EXPECT_FALSE(c.run(path, platform));
    const std::vector<std::string> messages = platform.MessagesUtf8();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), c.message), 1);
    EXPECT_NE(GbkToUtf8(ReadBytes(ReportPathFor(path))).find(c.reportText), std::string::npos);
  }
}

TEST(ToolForms, AListStoredFromAnySlotReadsBackInEitherLineForm) {
  const std::vector<ListedPoint> points = {{"K1", 1.5, -2.25}, {Gbk("滨江01"), 3380000.0004, 38500000.0}};
  for (const int first : {0, 1, 5}) {
    SCOPED_TRACE(first);
    char names[8][11] = {};
    double x[8] = {};
    double y[8] = {};
    StoreList(points, names, x, y, first);
    EXPECT_EQ(SlotText(names[first + 1]), Gbk("滨江01"));
    EXPECT_TRUE(SlotText(names[first + 2]).empty());  // nothing past the list
    EXPECT_EQ(ListLines(InputLine, names, x, y, first, first + 1),
              "K1,1.500,-2.250\r\n" + Gbk("滨江01") + ",3380000.000,38500000.000\r\n");
    EXPECT_EQ(ListLines(ResultLine, names, x, y, first, first), "K1        ,      1.500,     -2.250\r\n");
    EXPECT_TRUE(ListLines(ResultLine, names, x, y, first, first - 1).empty());  // an empty list
  }
}

}  // namespace
}  // namespace qp
