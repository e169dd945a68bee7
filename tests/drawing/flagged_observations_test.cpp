// The flags the diagrams take from the flags file beside the statistics
// report: the reader gives exactly the rows the report marks, and nothing
// from a file that is cut off, damaged or no longer the report's; the set
// matches observations in their own sense; the cache follows both files.
#include "drawing/flagged_observations.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/gbk_text.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

struct Row {
  const char* kind;
  const char* from;  // UTF-8
  const char* to;
  enum { kSound, kFlagged, kPopeOnly, kUncontrolled, kUntested } state;
};

// A network of every kind of row: flagged ones with a GBK name, a name of
// exactly ten bytes, one with a blank inside and a damaged one of eleven
// bytes (the table cuts it to ten).
const Row kRows[] = {
    {kDirectionKind, "GP02", "N2", Row::kFlagged},
    {kDirectionKind, "N2", "GP02", Row::kSound},
    {kDistanceKind, "城北", "N2", Row::kFlagged},
    {kDistanceKind, "城北控制点", "A B", Row::kFlagged},
    {kFixedAzimuthKind, "GP01", "GP02", Row::kUntested},
    {kWeightedDistanceKind, "GP01", "N3", Row::kPopeOnly},
    {kHeightDifferenceKind, "BM1", "Z1", Row::kUncontrolled},
    {kWeightedAzimuthKind, "ABCDEFGHIJK", "N3", Row::kFlagged},
};

std::vector<FlaggedObservation> Expected() {
  return {{ObservationKind::Direction, "GP02", "N2"},
          {ObservationKind::Distance, Gbk("城北"), "N2"},
          {ObservationKind::Distance, Gbk("城北控制点"), "A B"},
          {ObservationKind::WeightedAzimuth, "ABCDEFGHIJ", "N3"}};
}

bool WriteReport(const std::string& path) {
  std::vector<ObservationEntry> entries;
  AdjustmentStatistics s;
  s.sigma0Prior = 1.8;
  s.sigma0Post = 3.1;
  s.redundancy = 6;
  s.globalTested = true;
  s.baardaChosen = true;
  s.popeUsable = true;
  for (const Row& r : kRows) {
    ObservationEntry e;
    e.kind = Gbk(r.kind);
    e.from = Utf8ToGbk(r.from);
    e.to = Utf8ToGbk(r.to);
    e.v = -9.171;
    ObservationTest t;
    t.tested = r.state != Row::kUntested;
    t.controlled = r.state != Row::kUncontrolled && t.tested;
    t.baardaFlag = r.state == Row::kFlagged;
    t.popeFlag = r.state == Row::kFlagged || r.state == Row::kPopeOnly;
    if (r.state == Row::kUntested) e.untestable = Gbk("固定值作为条件, 没有多余观测分量");
    s.flagged += t.baardaFlag;
    entries.push_back(e);
    s.tests.push_back(t);
  }
  s.largest = 0;
  StatisticsReportText text;
  text.title = Gbk("观测值检验<个数:9>");  // a title that looks like the table's heading
  text.units = "方向 秒";
  return WriteStatisticsReport(path, text, 1767225600, entries, s, CofactorView{});
}

// The rows of the report's observation table that carry the blunder mark.
std::vector<std::string> MarkedRows(const std::string& report) {
  std::vector<std::string> rows;
  for (size_t at = 0, end; (end = report.find("\r\n", at)) != std::string::npos; at = end + 2) {
    const std::string row = report.substr(at, end - at);
    if (row.ends_with(Gbk(" 粗差?"))) rows.push_back(row);
  }
  return rows;
}

TEST(FlaggedObservations, TheFlagsFileHoldsTheMarkedRowsAndNothingFromDamage) {
  TempDir dir;
  const std::string path = dir.File("NET统计检验.txt");
  const std::string flagsPath = dir.File("NET统计检验.flags");
  ASSERT_EQ(FlagsPathBesideReport(path), flagsPath);
  ASSERT_TRUE(WriteReport(path));
  EXPECT_EQ(ReadFlaggedObservations(path), Expected());
  const std::string report = ReadBytes(path);
  const std::string flags = ReadBytes(flagsPath);
  // The report marks the same rows, in the same order.
  const std::vector<std::string> rows = MarkedRows(report);
  ASSERT_EQ(rows.size(), Expected().size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_NE(rows[i].find(Expected()[i].from), std::string::npos) << i;
    EXPECT_NE(rows[i].find(Expected()[i].to), std::string::npos) << i;
  }

  // Cut anywhere: nothing at all.
  for (size_t n = 0; n < flags.size(); ++n) {
    WriteBytes(flagsPath, flags.substr(0, n));
    ASSERT_TRUE(ReadFlaggedObservations(path).empty()) << n << " bytes";
  }
  std::mt19937 random(16);
  std::string noise(200000, '\0');
  for (char& c : noise) c = static_cast<char>(random() % 256);
  const std::string padding(kMaxFlagsFileBytes, '\n');
  const std::string line = "direction GP02 N2\n";
  const std::string head = flags.substr(0, flags.find("\nflags ") + 1);
  const struct {
    const char* what;
    std::string bytes;
  } damaged[] = {
      {"noise", noise},
      {"noise after the version line", flags.substr(0, flags.find('\n') + 1) + noise},
      {"another version", "QuorvexPlus statistics flags 2" + flags.substr(flags.find('\n'))},
      {"a row more than counted", flags.substr(0, flags.size() - 4) + line + "end\n"},
      {"bytes after the end", flags + "x"},
      {"too long", flags + padding},
      {"a count beyond the bound", head + "flags 8193\n" + "end\n"},
      {"a huge count", head + "flags 99999999999999999999\n"},
      {"a count written otherwise", head + "flags 01\n" + line + "end\n"},
      {"a signed count", head + "flags +1\n" + line + "end\n"},
      {"an unknown kind", head + "flags 1\nbearing GP02 N2\nend\n"},
      {"a bad escape", head + "flags 1\ndirection GP%G2 N2\nend\n"},
      {"an escaped plain byte", head + "flags 1\ndirection GP%30 N2\nend\n"},
      {"a name too long", head + "flags 1\ndirection ABCDEFGHIJK N2\nend\n"},
      {"a missing name", head + "flags 1\ndirection GP02\nend\n"},
      {"a CR LF line", head + "flags 1\ndirection GP02 N2\r\nend\n"},
      {"another report's length", "QuorvexPlus statistics flags 1\nreport 7\nflags 1\n" + line + "end\n"},
  };
  for (const auto& d : damaged) {
    WriteBytes(flagsPath, d.bytes);
    EXPECT_TRUE(ReadFlaggedObservations(path).empty()) << d.what;
  }
  WriteBytes(flagsPath, head + "flags 1\n" + line + "end\n");
  EXPECT_EQ(ReadFlaggedObservations(path), (std::vector<FlaggedObservation>{{ObservationKind::Direction, "GP02", "N2"}}));

  // Nothing without the report, or when it was written again without its flags.
  WriteBytes(flagsPath, flags);
  WriteBytes(path, report + "\r\n");
  EXPECT_TRUE(ReadFlaggedObservations(path).empty());
  std::filesystem::remove(path);
  EXPECT_TRUE(ReadFlaggedObservations(path).empty());
  EXPECT_TRUE(ReadFlaggedObservations(dir.path()).empty());
  StatisticsReportText text;
  ASSERT_TRUE(WriteUntestedStatisticsReport(path, text, 0, "没有多余观测, 观测值不能检验."));
  EXPECT_TRUE(ReadFlaggedObservations(path).empty());
  EXPECT_TRUE(std::filesystem::exists(flagsPath));
}

TEST(FlaggedObservations, AFailedComputationLeavesNeitherFile) {
  TempDir dir;
  const std::string data = dir.File("NET.NAP");
  const std::string report = StatisticsReportPathFor(data);
  const std::string flags = FlagsPathBesideReport(report);
  const auto write = [](const std::string& path) { return WriteReport(path); };
  RenewStatisticsReport(data, true, write);
  EXPECT_EQ(ReadFlaggedObservations(report), Expected());
  RenewStatisticsReport(data, false, write);
  EXPECT_FALSE(std::filesystem::exists(report) || std::filesystem::exists(flags));
  RenewStatisticsReport(data, true, write);
  RenewStatisticsReport(data, true, [](const std::string& path) { return !WriteReport(path); });
  EXPECT_FALSE(std::filesystem::exists(report) || std::filesystem::exists(flags));
  // A writer that leaves no flags: those of the report before it are gone.
  RenewStatisticsReport(data, true, write);
  RenewStatisticsReport(data, true, [](const std::string& path) {
    testing::WriteBytes(path, "report");
    return true;
  });
  EXPECT_TRUE(std::filesystem::exists(report));
  EXPECT_FALSE(std::filesystem::exists(flags));
}

TEST(FlaggedObservations, MatchedInTheirOwnSenseAndReadAgainWhenTheReportChanges) {
  TempDir dir;
  const std::string data = dir.File("NET.NAP");
  FlaggedObservationCache cache;
  EXPECT_TRUE(cache.For(data).Empty());

  ASSERT_TRUE(WriteReport(StatisticsReportPathFor(data)));
  const FlaggedObservationSet& set = cache.For(data);
  EXPECT_TRUE(set.Contains(kDirectionKind, "GP02", "N2"));
  EXPECT_FALSE(set.Contains(kDirectionKind, "N2", "GP02"));  // the other station's direction
  EXPECT_FALSE(set.Contains(kDistanceKind, "GP02", "N2"));
  EXPECT_TRUE(set.Contains(kDistanceKind, Gbk("城北"), "N2"));
  EXPECT_TRUE(set.Contains(kDistanceKind, "N2", Gbk("城北")));  // a distance either way round
  EXPECT_TRUE(set.Contains(kDistanceKind, "A B", Gbk("城北控制点")));
  EXPECT_TRUE(set.Contains(kWeightedAzimuthKind, "ABCDEFGHIJK", "N3"));
  EXPECT_FALSE(set.Contains(kWeightedAzimuthKind, "N3", "ABCDEFGHIJK"));
  EXPECT_FALSE(set.Contains(kWeightedDistanceKind, "GP01", "N3"));  // Pope's flag, Baarda's test chosen
  EXPECT_FALSE(set.Contains(kHeightDifferenceKind, "BM1", "Z1"));

  const FlaggedObservationSet levelling(
      std::vector<FlaggedObservation>{{ObservationKind::HeightDifference, "Z2", "Z1"}});
  EXPECT_TRUE(levelling.Contains(kHeightDifferenceKind, "Z2", "Z1"));
  EXPECT_FALSE(levelling.Contains(kHeightDifferenceKind, "Z1", "Z2"));  // the return levelling

  // A failed computation removed the report; the next one wrote another.
  std::filesystem::remove(StatisticsReportPathFor(data));
  EXPECT_TRUE(cache.For(data).Empty());
  ASSERT_TRUE(WriteReport(StatisticsReportPathFor(data)));
  EXPECT_FALSE(cache.For(data).Empty());
  std::filesystem::remove(FlagsPathBesideReport(StatisticsReportPathFor(data)));
  EXPECT_TRUE(cache.For(data).Empty());
  ASSERT_TRUE(WriteReport(StatisticsReportPathFor(data)));
  EXPECT_EQ(cache.For(data).Size(), 6u);  // the distances are kept both ways round
  StatisticsReportText text;
  ASSERT_TRUE(WriteUntestedStatisticsReport(StatisticsReportPathFor(data), text, 0, "没有多余观测."));
  EXPECT_TRUE(cache.For(data).Empty());
  EXPECT_TRUE(cache.For(dir.File("OTHER.NAP")).Empty());
}

}  // namespace
}  // namespace qp
