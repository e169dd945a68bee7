// The observations the statistics report beside a network's data file flags
// as suspected blunders, as the diagrams of observation values look them up
// to draw them in red (plane kind 5, height kind 1). They come from the flags
// file written with the report after every successful computation and
// removed with it when one fails, so a drawing opened later shows the same
// flags, and none once the report is gone.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "statistics/statistics_report.h"

namespace qp {

class FlaggedObservationSet {
 public:
  FlaggedObservationSet() = default;
  explicit FlaggedObservationSet(const std::vector<FlaggedObservation>& flagged);

  bool Empty() const { return keys_.empty(); }
  size_t Size() const { return keys_.size(); }

  // Whether the observation of kind `kindUtf8` (one of kObservationKinds'
  // texts, e.g. kDirectionKind) from `from` to `to` (GBK names as the records hold
  // them) is flagged. Directions, azimuths and height differences match in
  // their own sense only (a direction belongs to its station, a difference
  // B-A is another levelling than A-B); a distance matches either way round.
  bool Contains(const char* kindUtf8, std::string_view from, std::string_view to) const;

 private:
  std::unordered_set<std::string> keys_;
};

// The flags of the report beside `dataPath` (StatisticsReportPathFor); an
// empty set when there are none or they cannot be read.
FlaggedObservationSet FlaggedObservationsFor(const std::string& dataPath);

// The same for a view that redraws often: the flags are read again only when
// the data path, or the size or modification time of the report or of its
// flags file, changed.
class FlaggedObservationCache {
 public:
  const FlaggedObservationSet& For(const std::string& dataPath);
  void Clear();

  // A file's size and modification time, or that it is missing.
  struct FileStamp {
    bool present = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type time{};
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
  };

 private:
  std::string dataPath_;
  FileStamp report_;
  FileStamp flags_;
  bool valid_ = false;
  FlaggedObservationSet set_;
};

}  // namespace qp
