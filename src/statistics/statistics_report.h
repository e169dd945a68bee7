// The statistics report "<stem>统计检验.txt" (GBK, CR LF) in the conventions
// of the network reports: title block, numbered sections framed by rules.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "statistics/adjustment_statistics.h"
#include "statistics/statistics_flags.h"

namespace qp {

struct StatisticsReportText {
  std::string title;         // GBK: the network's name
  const char* units = "";    // UTF-8 legend of the observation units, e.g. "方向 秒; 边长 厘米"
  const char* effectUnit = "";  // UTF-8 unit of the effect on the points, "厘米" or "毫米"
};

// "<data path without its last four characters>统计检验.txt".
std::string StatisticsReportPathFor(const std::string& dataPath);
// Its flags file, "...统计检验.flags" (FlagsPathBesideReport).
std::string StatisticsFlagsPathFor(const std::string& dataPath);
// What the flags file is to the user when a run would write over it (UTF-8).
inline constexpr const char kStatisticsFlagsRole[] = "统计检验标记文件";

// After a computation of the network in `dataPath`: when it succeeded,
// `write` writes the statistics report to the path it is given, and its flags
// file beside it; when it failed, or they cannot be written, there are none,
// since those left from an earlier computation no longer belong to the data.
void RenewStatisticsReport(const std::string& dataPath, bool computed,
                           const std::function<bool(const std::string& path)>& write);

// Writes the whole report and then its flags file (WriteReportFlags); false
// when either cannot be created or written.
bool WriteStatisticsReport(const std::string& path, const StatisticsReportText& text, std::time_t now,
                           const std::vector<ObservationEntry>& entries, const AdjustmentStatistics& s,
                           const CofactorView& q);

// A report that only says why the network could not be tested (no
// redundancy, a precision estimate of a design), with a flags file that
// flags nothing. `reason` is UTF-8.
bool WriteUntestedStatisticsReport(const std::string& path, const StatisticsReportText& text, std::time_t now,
                                   const char* reason);

// A computed network's observations as the tests take them.
struct TestedObservations {
  std::vector<ObservationEntry> entries;
  CofactorView q;
};

// The report of a computed network: when its observations cannot be tested
// (a precision estimate, no redundancy) the report that says why; else those
// `observe` gives tested against the prior error `mu`, with the global test's
// verdict in `outcome` when one is given.
bool TestAndWriteStatisticsReport(const std::string& path, const StatisticsReportText& text, std::time_t now,
                                  bool adjusted, int redundancy, double mu,
                                  const std::function<TestedObservations()>& observe,
                                  const StatisticsOptions& options, GlobalTestOutcome* outcome);

}  // namespace qp
