// The flags the diagrams take from the statistics report: the reader gives
// exactly the rows the writer marked, whatever is cut off or damaged; the set
// matches observations in their own sense; the cache follows the report.
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
  return {{Gbk("方向"), "GP02", "N2"},
          {Gbk("边长"), Gbk("城北"), "N2"},
          {Gbk("边长"), Gbk("城北控制点"), "A B"},
          {Gbk("加权方位"), "ABCDEFGHIJ", "N3"}};
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

// Whether `got` is the start of `all`.
bool IsPrefix(const std::vector<FlaggedObservation>& got, const std::vector<FlaggedObservation>& all) {
  return got.size() <= all.size() && std::equal(got.begin(), got.end(), all.begin());
}

TEST(FlaggedObservations, TheReaderGivesExactlyTheMarkedRowsAndNothingFromDamage) {
  TempDir dir;
  const std::string path = dir.File("NET统计检验.txt");
  ASSERT_TRUE(WriteReport(path));
  const std::vector<FlaggedObservation> all = ReadFlaggedObservations(path);
  EXPECT_EQ(all, Expected());
  const std::string report = ReadBytes(path);

  // Cut anywhere: never a row that was not marked, never one out of order.
  const std::string cut = dir.File("cut.txt");
  for (size_t n = 0; n < report.size(); n += 3) {
    WriteBytes(cut, report.substr(0, n));
    const auto got = ReadFlaggedObservations(cut);
    ASSERT_TRUE(IsPrefix(got, all)) << n << " bytes";
  }

  // Nothing from a missing file, a directory, the untested report, noise, a
  // marked row outside the table, or a table beyond the bytes that are read.
  EXPECT_TRUE(ReadFlaggedObservations(dir.File("missing.txt")).empty());
  EXPECT_TRUE(ReadFlaggedObservations(dir.path()).empty());
  StatisticsReportText text;
  ASSERT_TRUE(WriteUntestedStatisticsReport(cut, text, 0, "没有多余观测, 观测值不能检验."));
  EXPECT_TRUE(ReadFlaggedObservations(cut).empty());
  std::mt19937 random(16);
  std::string noise(200000, '\0');
  for (char& c : noise) c = static_cast<char>(random() % 256);
  WriteBytes(cut, noise);
  EXPECT_TRUE(ReadFlaggedObservations(cut).empty());
  WriteBytes(cut, Gbk("    6  方向    GP02       N2            -9.171   2.803   59.4   -6.61   -3.27 粗差?\r\n"));
  EXPECT_TRUE(ReadFlaggedObservations(cut).empty());
  WriteBytes(cut, std::string(kMaxReadReportBytes, '\n') + report);
  EXPECT_TRUE(ReadFlaggedObservations(cut).empty());
  WriteBytes(cut, report + std::string(kMaxReadReportBytes, 'x'));
  EXPECT_EQ(ReadFlaggedObservations(cut), all);
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

  const FlaggedObservationSet levelling(std::vector<FlaggedObservation>{{Gbk("高差"), "Z2", "Z1"}});
  EXPECT_TRUE(levelling.Contains(kHeightDifferenceKind, "Z2", "Z1"));
  EXPECT_FALSE(levelling.Contains(kHeightDifferenceKind, "Z1", "Z2"));  // the return levelling

  // A failed computation removed the report; the next one wrote another.
  std::filesystem::remove(StatisticsReportPathFor(data));
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
