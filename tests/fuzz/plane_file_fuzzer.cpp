// The plane network data file (.NAP): loaded as the dialog opens it (--dump)
// and as the drawing opens it, then drawn.
#include <memory>

#include "cli/plane_command.h"
#include "drawing/drawing_export.h"
#include "fuzz_support.h"
#include "network_drawing_check.h"
#include "plane/plane_file.h"

using namespace qp;

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
  return fuzz::MutateFixedSize(data, size, maxSize, seed, kPlaneFileSize, 16384);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  fuzz::CheckDataFileCommand(input, "NET.NAP", RunPlaneCommand, false);

  auto settings = std::make_unique<SettingsBlock>();
  auto net = std::make_unique<PlaneNetwork>();
  fuzz::QuietPlatform platform;
  const std::string path = fuzz::ScratchPath("NET.NAP");
  if (OpenPlaneDrawing(path, *settings, *net, platform)) fuzz::DrawAndCheck(*settings, net.get(), nullptr);
  FUZZ_CHECK(fuzz::ReadBytes(path) == std::vector<uint8_t>(input.begin(), input.end()),
             "opening the drawing changed the data file");
  return 0;
}
