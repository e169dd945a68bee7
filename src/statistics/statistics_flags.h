// The observations a statistics report flags as suspected blunders, kept as
// data in a small text file beside the report ("<stem>统计检验.flags"), which
// the diagrams of observation values read to draw them in red. The file is
// written and removed with the report and records the report's length: flags
// whose report is gone or was written again by something else are none.
//
//   QuorvexPlus statistics flags 1
//   report <bytes of the report>
//   flags <count>
//   <kind> <from> <to>            one line per flagged observation
//   end
//
// Kinds are the words of kObservationKinds; names are the report's (see
// ReportedName) with every byte outside '!'..'~' and '%' itself written %XX.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "statistics/adjustment_statistics.h"

namespace qp {

enum class ObservationKind : uint8_t {
  Direction,
  Distance,
  FixedAzimuth,
  FixedDistance,
  WeightedAzimuth,
  WeightedDistance,
  HeightDifference,
};

struct ObservationKindName {
  ObservationKind kind;
  const char* text;  // UTF-8, as the report's tables and the entries name it
  const char* word;  // in the flags file
};

// The kinds as the report's tables name them (UTF-8 literals; the entries and
// the report hold them in GBK).
inline constexpr const char kDirectionKind[] = "方向";
inline constexpr const char kDistanceKind[] = "边长";
inline constexpr const char kFixedAzimuthKind[] = "固定方位";
inline constexpr const char kFixedDistanceKind[] = "固定边长";
inline constexpr const char kWeightedAzimuthKind[] = "加权方位";
inline constexpr const char kWeightedDistanceKind[] = "加权边长";
inline constexpr const char kHeightDifferenceKind[] = "高差";

// In the order of the enumeration.
inline constexpr ObservationKindName kObservationKinds[] = {
    {ObservationKind::Direction, kDirectionKind, "direction"},
    {ObservationKind::Distance, kDistanceKind, "distance"},
    {ObservationKind::FixedAzimuth, kFixedAzimuthKind, "fixed-azimuth"},
    {ObservationKind::FixedDistance, kFixedDistanceKind, "fixed-distance"},
    {ObservationKind::WeightedAzimuth, kWeightedAzimuthKind, "weighted-azimuth"},
    {ObservationKind::WeightedDistance, kWeightedDistanceKind, "weighted-distance"},
    {ObservationKind::HeightDifference, kHeightDifferenceKind, "height-difference"},
};

static_assert([] {
  for (size_t i = 0; i < std::size(kObservationKinds); ++i) {
    if (static_cast<size_t>(kObservationKinds[i].kind) != i) return false;
  }
  return true;
}());

// The kind named `textUtf8` (one of the literals above); nothing for another text.
std::optional<ObservationKind> ObservationKindOfText(std::string_view textUtf8);

// A suspected blunder: its kind and the names as the report's tables show
// them (GBK; see ReportedName).
struct FlaggedObservation {
  ObservationKind kind = ObservationKind::Direction;
  std::string from;
  std::string to;
  friend bool operator==(const FlaggedObservation&, const FlaggedObservation&) = default;
};

// The observations the tests flag, in the order of the entries: those tested,
// controlled and over the critical value of the chosen test. Nothing when the
// redundancy numbers do not sum as they must (no test is made then), and
// nothing for an entry without a name.
std::vector<FlaggedObservation> FlaggedObservationsOf(const std::vector<ObservationEntry>& entries,
                                                      const AdjustmentStatistics& s);

// A point name as the report's tables show it: its first ten bytes, without
// trailing blanks. Names compare with the report's after this.
std::string ReportedName(std::string_view name);

// The flags file beside the report at `reportPath` (".txt" becomes ".flags").
std::string FlagsPathBesideReport(const std::string& reportPath);

// Writes the flags of the report at `reportPath`, which must be complete.
// False when the file cannot be written; a failed write leaves no file half
// written.
bool WriteReportFlags(const std::string& reportPath, const std::vector<FlaggedObservation>& flagged);

// The flags of the report at `reportPath`. Nothing when either file is
// missing, the report's length is not the one recorded, or the flags file is
// longer than kMaxFlagsFileBytes, of another version or damaged anywhere.
inline constexpr size_t kMaxFlaggedObservations = 8192;  // more than any network holds
inline constexpr size_t kMaxFlagsFileBytes = 1u << 20;   // 8192 lines of at most 100 bytes
std::vector<FlaggedObservation> ReadFlaggedObservations(const std::string& reportPath);

}  // namespace qp
