// Draws an accepted network's sheet through the checking sink into the
// renderer on a counting device: what the screen view does on opening.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "common/settings_block.h"
#include "fuzz_support.h"
#include "height/height_network.h"
#include "plane/plane_network.h"

namespace qp::fuzz {

// False when the sheet of `settings` cannot be drawn (then nothing may be
// emitted). The figures must be finite.
bool DrawAndCheck(SettingsBlock& settings, const PlaneNetwork* plane, const HeightNetwork* height);

// A network data file as the fuzz input: loaded as the dialog opens it
// (--dump through `run`) and as the drawing opens it (`open`), then drawn;
// neither may change the file.
template <class Network, class OpenDrawing>
void CheckNetworkFile(std::span<const uint8_t> input, const std::string& fileName, CommandRunner run,
                      OpenDrawing open) {
  CheckDataFileCommand(input, fileName, run, false);
  auto settings = std::make_unique<SettingsBlock>();
  auto net = std::make_unique<Network>();
  QuietPlatform platform;
  const std::string path = ScratchPath(fileName);
  if (open(path, *settings, *net, platform)) {
    if constexpr (std::is_same_v<Network, PlaneNetwork>) {
      DrawAndCheck(*settings, net.get(), nullptr);
    } else {
      DrawAndCheck(*settings, nullptr, net.get());
    }
  }
  FUZZ_CHECK(ReadBytes(path) == std::vector<uint8_t>(input.begin(), input.end()),
             "opening the drawing changed the data file");
}

}  // namespace qp::fuzz
