// The height network data file (.NAH): loaded as the dialog opens it (--dump)
// and as the drawing opens it, then drawn.
#include <memory>

#include "cli/height_command.h"
#include "drawing/drawing_export.h"
#include "fuzz_support.h"
#include "network_drawing_check.h"
#include "height/height_file.h"

using namespace qp;

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
  return fuzz::MutateFixedSize(data, size, maxSize, seed, kHeightFileSize, 8192);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  fuzz::CheckDataFileCommand(input, "NET.NAH", RunHeightCommand, false);

  auto settings = std::make_unique<SettingsBlock>();
  auto net = std::make_unique<HeightNetwork>();
  fuzz::QuietPlatform platform;
  const std::string path = fuzz::ScratchPath("NET.NAH");
  if (OpenHeightDrawing(path, *settings, *net, platform)) fuzz::DrawAndCheck(*settings, nullptr, net.get());
  FUZZ_CHECK(fuzz::ReadBytes(path) == std::vector<uint8_t>(input.begin(), input.end()),
             "opening the drawing changed the data file");
  return 0;
}
