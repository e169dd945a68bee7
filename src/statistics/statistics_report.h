// The statistics report "<stem>统计检验.txt" (GBK, CR LF) in the conventions
// of the network reports: title block, numbered sections framed by rules.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "statistics/adjustment_statistics.h"

namespace qp {

struct StatisticsReportText {
  std::string title;         // GBK: the network's name
  const char* units = "";    // UTF-8 legend of the observation units, e.g. "方向 秒; 边长 厘米"
  const char* effectUnit = "";  // UTF-8 unit of the effect on the points, "厘米" or "毫米"
};

// "<data path without its last four characters>统计检验.txt".
std::string StatisticsReportPathFor(const std::string& dataPath);

// Writes the whole report; false when it cannot be created or written.
bool WriteStatisticsReport(const std::string& path, const StatisticsReportText& text, std::time_t now,
                           const std::vector<ObservationEntry>& entries, const AdjustmentStatistics& s,
                           const CofactorView& q);

// A report that only says why the network could not be tested (no
// redundancy, a precision estimate of a design). `reason` is UTF-8.
bool WriteUntestedStatisticsReport(const std::string& path, const StatisticsReportText& text, std::time_t now,
                                   const char* reason);

}  // namespace qp
