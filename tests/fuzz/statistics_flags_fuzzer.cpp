// The flags file beside a statistics report: read with a report of the length
// the seeds record; what is accepted is exactly what the writer makes of it.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "statistics/statistics_flags.h"

using namespace qp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ClearScratch();
  const std::string report = fuzz::ScratchPath("NET统计检验.txt");
  const std::string flags = FlagsPathBesideReport(report);
  fuzz::WriteBytes(report, std::vector<uint8_t>(fuzz::kFlagsFuzzReportBytes, 'r'));
  fuzz::WriteBytes(flags, std::span<const uint8_t>(data, size));
  const std::vector<FlaggedObservation> read = ReadFlaggedObservations(report);
  if (read.empty()) return 0;
  FUZZ_CHECK(read.size() <= kMaxFlaggedObservations && size <= kMaxFlagsFileBytes, "more read than is bounded");
  for (const FlaggedObservation& f : read) {
    FUZZ_CHECK(!f.from.empty() && !f.to.empty() && ReportedName(f.from) == f.from && ReportedName(f.to) == f.to,
               "a name the report could not show");
  }
  FUZZ_CHECK(WriteReportFlags(report, read), "the flags read cannot be written");
  const std::vector<uint8_t> rewritten = fuzz::ReadBytes(flags);
  FUZZ_CHECK(rewritten.size() == size && std::equal(rewritten.begin(), rewritten.end(), data),
             "the flags read do not write back to the same file");
  return 0;
}
