// The statistics report "<stem>统计检验.txt" (GBK, CR LF) in the conventions
// of the network reports: title block, numbered sections framed by rules.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "statistics/adjustment_statistics.h"

namespace qp {

// The kinds of observation the report's tables name (UTF-8 literals; the
// entries and the report hold them in GBK).
inline constexpr const char kDirectionKind[] = "方向";
inline constexpr const char kDistanceKind[] = "边长";
inline constexpr const char kFixedAzimuthKind[] = "固定方位";
inline constexpr const char kFixedDistanceKind[] = "固定边长";
inline constexpr const char kWeightedAzimuthKind[] = "加权方位";
inline constexpr const char kWeightedDistanceKind[] = "加权边长";
inline constexpr const char kHeightDifferenceKind[] = "高差";

struct StatisticsReportText {
  std::string title;         // GBK: the network's name
  const char* units = "";    // UTF-8 legend of the observation units, e.g. "方向 秒; 边长 厘米"
  const char* effectUnit = "";  // UTF-8 unit of the effect on the points, "厘米" or "毫米"
};

// "<data path without its last four characters>统计检验.txt".
std::string StatisticsReportPathFor(const std::string& dataPath);

// After a computation of the network in `dataPath`: when it succeeded,
// `write` writes the statistics report to the path it is given; when it
// failed, or the report cannot be written, there is none, since one left
// from an earlier computation no longer belongs to the data.
void RenewStatisticsReport(const std::string& dataPath, bool computed,
                           const std::function<bool(const std::string& path)>& write);

// Writes the whole report; false when it cannot be created or written.
bool WriteStatisticsReport(const std::string& path, const StatisticsReportText& text, std::time_t now,
                           const std::vector<ObservationEntry>& entries, const AdjustmentStatistics& s,
                           const CofactorView& q);

// A report that only says why the network could not be tested (no
// redundancy, a precision estimate of a design). `reason` is UTF-8.
bool WriteUntestedStatisticsReport(const std::string& path, const StatisticsReportText& text, std::time_t now,
                                   const char* reason);

// An observation the report flags as a suspected blunder ("粗差?" in the
// table of section 2). Texts are GBK, the names as the table shows them
// (see ReportedName).
struct FlaggedObservation {
  std::string kind;
  std::string from;
  std::string to;
  friend bool operator==(const FlaggedObservation&, const FlaggedObservation&) = default;
};

// The flagged observations of a statistics report, in the table's order. A
// report that is missing, cannot be read, has no observation table (the
// untested report) or is damaged gives what could be read of the table,
// usually nothing. At most the first kMaxReadReportBytes of the file are read
// and at most kMaxFlaggedObservations rows are returned.
inline constexpr size_t kMaxReadReportBytes = 4u << 20;  // a full-capacity report is under 1 MB
inline constexpr size_t kMaxFlaggedObservations = 8192;  // more than any network holds
std::vector<FlaggedObservation> ReadFlaggedObservations(const std::string& path);

// A point name as the report's tables show it: its first ten bytes, without
// trailing blanks. Names compare with the report's after this.
std::string ReportedName(std::string_view name);

}  // namespace qp
