#include "drawing/flagged_observations.h"

#include <system_error>

namespace qp {
namespace {

std::string Key(ObservationKind kind, std::string_view from, std::string_view to) {
  std::string key(1, static_cast<char>(kind));
  key += ReportedName(from);
  key += '\0';
  key += ReportedName(to);
  return key;
}

bool EitherWayRound(ObservationKind kind) {
  return kind == ObservationKind::Distance || kind == ObservationKind::FixedDistance ||
         kind == ObservationKind::WeightedDistance;
}

FlaggedObservationCache::FileStamp StampOf(const std::string& path) {
  FlaggedObservationCache::FileStamp stamp;
  std::error_code error;
  stamp.size = std::filesystem::file_size(path, error);
  stamp.present = !error;
  if (stamp.present) stamp.time = std::filesystem::last_write_time(path, error);
  if (!stamp.present) stamp.size = 0;
  return stamp;
}

}  // namespace

FlaggedObservationSet::FlaggedObservationSet(const std::vector<FlaggedObservation>& flagged) {
  for (const FlaggedObservation& f : flagged) {
    keys_.insert(Key(f.kind, f.from, f.to));
    if (EitherWayRound(f.kind)) keys_.insert(Key(f.kind, f.to, f.from));
  }
}

bool FlaggedObservationSet::Contains(const char* kindUtf8, std::string_view from, std::string_view to) const {
  if (keys_.empty()) return false;
  const auto kind = ObservationKindOfText(kindUtf8);
  return kind && keys_.contains(Key(*kind, from, to));
}

FlaggedObservationSet FlaggedObservationsFor(const std::string& dataPath) {
  return FlaggedObservationSet(ReadFlaggedObservations(StatisticsReportPathFor(dataPath)));
}

const FlaggedObservationSet& FlaggedObservationCache::For(const std::string& dataPath) {
  const std::string report = StatisticsReportPathFor(dataPath);
  const FileStamp reportStamp = StampOf(report);
  const FileStamp flagsStamp = StampOf(FlagsPathBesideReport(report));
  if (valid_ && dataPath == dataPath_ && reportStamp == report_ && flagsStamp == flags_) return set_;
  dataPath_ = dataPath;
  report_ = reportStamp;
  flags_ = flagsStamp;
  valid_ = true;
  set_ = reportStamp.present && flagsStamp.present ? FlaggedObservationsFor(dataPath) : FlaggedObservationSet();
  return set_;
}

void FlaggedObservationCache::Clear() {
  valid_ = false;
  set_ = FlaggedObservationSet();
}

}  // namespace qp
