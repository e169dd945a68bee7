// The settings block's drawing fields: the example plane and height networks
// drawn on a sheet whose block comes from the input (the bytes it holds
// replace the start of the example's block), through the renderer.
#include <cstring>
#include <memory>

#include "cli/command_options.h"
#include "cli/height_command.h"
#include "cli/plane_command.h"
#include "fuzz_support.h"
#include "height/height_file.h"
#include "network_drawing_check.h"
#include "plane/plane_file.h"

using namespace qp;

namespace {

struct Examples {
  SettingsBlock planeSettings;
  PlaneNetwork plane;
  SettingsBlock heightSettings;
  HeightNetwork height;
  PlaneModel planeModel;
  HeightModel heightModel;
};

// Computes the two examples once, into the scratch folder.
const Examples& ComputedExamples() {
  static const std::unique_ptr<Examples> examples = [] {
    auto e = std::make_unique<Examples>();
    fuzz::QuietPlatform platform;
    CommandOptions options;
    options.dataPath = fuzz::ScratchPath("EXAMPLE.NAP");
    options.inputPath = fuzz::SourcePath("examples/plane/triangulation.txt");
    {
      fuzz::CapturedOutput quiet;
      FUZZ_CHECK(RunPlaneCommand(options, platform) == 0, "the plane example does not compute");
      options.dataPath = fuzz::ScratchPath("EXAMPLE.NAH");
      options.inputPath = fuzz::SourcePath("examples/height/levelling.txt");
      FUZZ_CHECK(RunHeightCommand(options, platform) == 0, "the height example does not compute");
    }
    FUZZ_CHECK(ReadWritePlaneFile(fuzz::ScratchPath("EXAMPLE.NAP"), FileDirection::Read, e->planeSettings, e->plane),
               "the plane example does not read back");
    FUZZ_CHECK(ReadHeightFile(fuzz::ScratchPath("EXAMPLE.NAH"), e->heightSettings, e->height),
               "the height example does not read back");
    e->planeModel = PlaneModelFromRecord(e->plane);
    e->heightModel = HeightModelFromRecord(e->height);
    return e;
  }();
  return *examples;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Examples& examples = ComputedExamples();
  const size_t used = std::min(size, sizeof(SettingsBlock));

  auto settings = std::make_unique<SettingsBlock>(examples.planeSettings);
  std::memcpy(static_cast<void*>(settings.get()), data, used);
  fuzz::DrawAndCheck(*settings, examples.planeModel);

  *settings = examples.heightSettings;
  std::memcpy(static_cast<void*>(settings.get()), data, used);
  fuzz::DrawAndCheck(*settings, examples.heightModel);
  return 0;
}
