// Draws an accepted network's sheet through the checking sink into the
// renderer on a counting device: what the screen view does on opening.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "cli/display_command.h"
#include "cli/sheet_command.h"
#include "common/settings_block.h"
#include "drawing/label_arrangement.h"
#include "drawing/network_drawing.h"
#include "fuzz_support.h"
#include "height/height_model_record.h"
#include "height/height_network.h"
#include "plane/plane_model_record.h"
#include "plane/plane_network.h"

namespace qp::fuzz {

// False when the sheet of `settings` cannot be drawn (then nothing may be
// emitted). The figures must be finite.
bool DrawAndCheck(const SettingsBlock& settings, DrawnNetwork network);

// A network data file as the fuzz input: loaded as the input dialog opens it
// (--dump through `run`), as the sheet and display dialogs open it (their
// dumps) and as the drawing opens it (`open`), then drawn, arranged ("注记整理")
// and drawn again; none may change the file or print a NaN or an infinity.
template <class Network, class OpenDrawing>
void CheckNetworkFile(std::span<const uint8_t> input, const std::string& fileName, CommandRunner run,
                      OpenDrawing open) {
  CheckDataFileCommand(input, fileName, run, false);
  CheckDataFileCommand(input, fileName, RunSheetCommand, false);
  CheckDataFileCommand(input, fileName, RunDisplayCommand, false);
  auto settings = std::make_unique<SettingsBlock>();
  auto net = std::make_unique<Network>();
  QuietPlatform platform;
  const std::string path = ScratchPath(fileName);
  if (open(path, *settings, *net, platform)) {
    if constexpr (std::is_same_v<Network, PlaneNetwork>) {
      PlaneModel model = PlaneModelFromRecord(*net);
      DrawAndCheck(*settings, model);
      if (ArrangePlaneLabels(*settings, model, LabelMarks{}, DrawContext{})) DrawAndCheck(*settings, model);
    } else {
      HeightModel model = HeightModelFromRecord(*net);
      DrawAndCheck(*settings, model);
      if (ArrangeHeightLabels(*settings, model, LabelMarks{}, DrawContext{})) DrawAndCheck(*settings, model);
    }
  }
  FUZZ_CHECK(ReadBytes(path) == std::vector<uint8_t>(input.begin(), input.end()),
             "opening the drawing changed the data file");
}

}  // namespace qp::fuzz
