#include "drawing/flagged_observations.h"

#include <system_error>

#include "common/gbk_text.h"

namespace qp {
namespace {

std::string Key(std::string_view kindGbk, std::string_view from, std::string_view to) {
  std::string key(kindGbk);
  key += '\0';
  key += ReportedName(from);
  key += '\0';
  key += ReportedName(to);
  return key;
}

bool EitherWayRound(std::string_view kindGbk) {
  return kindGbk == Gbk(kDistanceKind) || kindGbk == Gbk(kFixedDistanceKind) ||
         kindGbk == Gbk(kWeightedDistanceKind);
}

}  // namespace

FlaggedObservationSet::FlaggedObservationSet(const std::vector<FlaggedObservation>& flagged) {
  for (const FlaggedObservation& f : flagged) {
    keys_.insert(Key(f.kind, f.from, f.to));
    if (EitherWayRound(f.kind)) keys_.insert(Key(f.kind, f.to, f.from));
  }
}

bool FlaggedObservationSet::Contains(const char* kindUtf8, std::string_view from, std::string_view to) const {
  return !keys_.empty() && keys_.contains(Key(Gbk(kindUtf8), from, to));
}

FlaggedObservationSet FlaggedObservationsFor(const std::string& dataPath) {
  return FlaggedObservationSet(ReadFlaggedObservations(StatisticsReportPathFor(dataPath)));
}

const FlaggedObservationSet& FlaggedObservationCache::For(const std::string& dataPath) {
  const std::filesystem::path report(StatisticsReportPathFor(dataPath));
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(report, error);
  const bool present = !error;
  std::filesystem::file_time_type time{};
  if (present) time = std::filesystem::last_write_time(report, error);
  if (valid_ && dataPath == dataPath_ && present == present_ && (!present || (size == size_ && time == time_)))
    return set_;
  dataPath_ = dataPath;
  present_ = present;
  size_ = present ? size : 0;
  time_ = time;
  valid_ = true;
  set_ = present ? FlaggedObservationsFor(dataPath) : FlaggedObservationSet();
  return set_;
}

void FlaggedObservationCache::Clear() {
  valid_ = false;
  set_ = FlaggedObservationSet();
}

}  // namespace qp
