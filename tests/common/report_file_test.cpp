#include "common/report_file.h"

#include <gtest/gtest.h>

#include "common/gbk_text.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::TempDir;

TEST(ReportFile, TitleBlockLayout) {
  TempDir dir;
  const std::string path = dir.File("net.txt");
  SectionNumber section;
  section.value = 9;
  ReportFile report;
  ASSERT_TRUE(report.Create(path));
  report.WriteTitleBlock(Gbk("控制网名"), 1767225600, section);  // 2026-01-01 00:00:00 UTC
  ASSERT_TRUE(report.Close());
  EXPECT_EQ(section.value, 1);
  const std::string expected = "\r\n\r\n" + std::string(20, ' ') + Gbk("控制网名") + "\r\n  " + std::string(63, '=') +
                               "\r\n" + std::string(21, ' ') + "Thu Jan  1 00:00:00 2026\n\r\n";
  EXPECT_EQ(ReadBytes(path), expected);
}

TEST(ReportFile, AppendedSectionsContinueTheNumbering) {
  TempDir dir;
  const std::string path = dir.File("net.txt");
  SectionNumber section;
  {
    ReportFile report;
    ASSERT_TRUE(report.Create(path));
    report.WriteTitleBlock("T", 0, section);
    for (int i = 0; i < 7; ++i) report.Printf("%18d.\r\n", section.Take());
    ASSERT_TRUE(report.Close());
  }
  ReportFile more;
  ASSERT_TRUE(more.OpenForAppend(path));
  more.Printf("%18d.\r\n", section.Take());
  more.Rule();
  ASSERT_TRUE(more.Close());
  const std::string text = ReadBytes(path);
  EXPECT_NE(text.find(std::string(17, ' ') + "7.\r\n" + std::string(17, ' ') + "8.\r\n  ---"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 67), "  " + std::string(63, '-') + "\r\n");
}

TEST(ReportFile, MissingReportCannotBeAppendedTo) {
  TempDir dir;
  ReportFile report;
  EXPECT_FALSE(report.OpenForAppend(dir.File("none.txt")));
  EXPECT_FALSE(report.Create(dir.File("no/dir/net.txt")));
  EXPECT_EQ(ReportPathFor("/a/NET.NAP"), "/a/NET.txt");
}

TEST(ReportFile, TimeLineNeverOverflows) {
  EXPECT_EQ(AsctimeText(1767225600), "Thu Jan  1 00:00:00 2026\n");
  EXPECT_FALSE(AsctimeText(std::time_t{400000000000}).empty());  // year 14645
}

}  // namespace
}  // namespace qp
