// The plane input dialog's draft file (.PTP): read back into the dialog, then
// every table read into a new record as on confirmation.
#include <cmath>
#include <memory>

#include "fuzz_support.h"
#include "plane/plane_input_form.h"
#include "plane/plane_network.h"

using namespace qp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ClearScratch();
  const std::string path = fuzz::ScratchPath("NET.PTP");
  const std::vector<uint8_t> original(data, data + size);
  fuzz::WriteBytes(path, original);

  PlaneInputForm form;
  const bool read = ReadPlaneDraft(path, form);
  FUZZ_CHECK(fuzz::ReadBytes(path) == original, "reading the draft changed it");
  if (!read) return 0;

  auto net = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*net, "NET.NAP");
  fuzz::QuietPlatform platform;
  if (!ReadPlaneInput(form, *net, platform)) {
    FUZZ_CHECK(!platform.messages.empty(), "input refused without a message");
  }
  // Whatever was read, and however far, stays within the tables.
  const auto within = [](int32_t count, int capacity) { return count >= 0 && count <= capacity; };
  FUZZ_CHECK(within(net->knownCount, kMaxPlanePoints) && within(net->approxCount, kMaxPlanePoints) &&
                 within(net->nameCount, kMaxPlanePoints) && within(net->directionCount, kMaxDirections) &&
                 within(net->fixedAzimuthCount, kMaxSmallTable) &&
                 within(net->weightedAzimuthCount, kMaxSmallTable) &&
                 within(net->distanceLineCount, kMaxDistanceLines) &&
                 within(net->fixedDistanceCount, kMaxSmallTable) &&
                 within(net->weightedDistanceCount, kMaxSmallTable) &&
                 within(net->knownHeightCount, kMaxSmallTable) &&
                 within(net->precisionPairCount, kMaxSmallTable) &&
                 within(net->reducedCount, kMaxReducedDistances),
             "a table count beyond its capacity");
  for (int i = 0; i < net->knownCount + net->approxCount && i < kMaxPlanePoints; ++i) {
    FUZZ_CHECK(std::isfinite(net->x[i]) && std::isfinite(net->y[i]), "a non-finite coordinate read");
  }
  for (int i = 0; i < net->directionCount && i < kMaxDirections; ++i) {
    FUZZ_CHECK(std::isfinite(net->direction[i]), "a non-finite direction read");
  }
  return 0;
}
