// The height input dialog's side file (.HTP): read back into the dialog, then
// every table parsed into a new record as on confirmation.
#include <cmath>
#include <memory>

#include "fuzz_support.h"
#include "height/height_input_form.h"
#include "height/height_network.h"

using namespace qp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ClearScratch();
  const std::string path = fuzz::ScratchPath("NET.HTP");
  const std::vector<uint8_t> original(data, data + size);
  fuzz::WriteBytes(path, original);

  HeightInputForm form;
  const bool read = ReadHeightSideFile(path, form);
  FUZZ_CHECK(fuzz::ReadBytes(path) == original, "reading the side file changed it");
  if (!read) return 0;

  auto net = std::make_unique<HeightNetwork>();
  ResetHeightNetwork(*net, "NET.NAH");
  fuzz::QuietPlatform platform;
  if (!ParseAll(form, *net, platform)) {
    FUZZ_CHECK(!platform.messages.empty(), "input refused without a message");
  }
  const auto within = [](int32_t count, int capacity) { return count >= 0 && count <= capacity; };
  FUZZ_CHECK(within(net->knownCount, kMaxHeightPoints) && within(net->approxCount, kMaxHeightPoints) &&
                 within(net->nameCount, kMaxHeightPoints) && within(net->coordinateCount, kMaxHeightPoints) &&
                 within(net->observationCount, kMaxHeightDifferences) && within(net->pairCount, kMaxHeightPairs),
             "a table count beyond its capacity");
  for (int i = 0; i < net->knownCount + net->approxCount && i < kMaxHeightPoints; ++i) {
    FUZZ_CHECK(std::isfinite(net->height[i]), "a non-finite height read");
  }
  for (int i = 0; i < net->observationCount && i < kMaxHeightDifferences; ++i) {
    FUZZ_CHECK(std::isfinite(net->observed[i]) && std::isfinite(net->weightElement[i]),
               "a non-finite height difference read");
  }
  return 0;
}
