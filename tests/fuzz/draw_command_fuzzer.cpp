// Whole commands on a network data file (.NAP or .NAH, told apart by the
// input's length): the map sheet and display dialogs' dumps, then `draw` with
// an SVG and a DXF picture. Nothing may crash or abort (the DXF library
// prints every real into a fixed buffer), the data file never changes, a
// refusal comes with a message and leaves no temporary file, and a picture
// named like one of the run's inputs is refused before anything is written.
#include <filesystem>
#include <iterator>
#include <set>
#include <string>

#include "cli/command_options.h"
#include "cli/display_command.h"
#include "cli/draw_command.h"
#include "cli/sheet_command.h"
#include "common/gbk_text.h"
#include "fuzz_support.h"
#include "height/height_file.h"
#include "plane/plane_file.h"

using namespace qp;

namespace {

// The settings block and the record up to the point coordinates (the plane
// table's X and Y; the height diagram's positions).
constexpr size_t kPlaneHotPrefix = 4544 + 28080;
constexpr size_t kHeightHotPrefix = 4544 + 102800;

// Draws the file with both pictures; checks what is left in the scratch folder.
void CheckDraw(const std::string& dataPath, const std::string& stem, const std::vector<uint8_t>& original) {
  fuzz::QuietPlatform platform;
  CommandOptions options;
  options.dataPath = dataPath;
  options.svgPath = fuzz::ScratchPath(stem + ".svg");
  options.dxfPath = fuzz::ScratchPath(stem + ".dxf");
  const int status = RunDrawCommand(options, platform);
  FUZZ_CHECK(status == 0 || status == 1, "draw ended with status " + std::to_string(status));
  FUZZ_CHECK(status == 0 || !platform.messages.empty(), "a refused drawing without a message");
  FUZZ_CHECK(fuzz::ReadBytes(dataPath) == original, "draw changed the data file");
  const std::set<std::string> allowed = {std::filesystem::path(dataPath).filename().string(), stem + ".vec",
                                         stem + ".svg", stem + ".dxf"};
  for (const auto& entry : std::filesystem::directory_iterator(fuzz::ScratchDir())) {
    const std::string name = entry.path().filename().string();
    FUZZ_CHECK(allowed.count(name) == 1, "draw left " + name + " behind");
  }
  if (status == 0) {
    FUZZ_CHECK(std::filesystem::exists(*options.svgPath) && std::filesystem::exists(*options.dxfPath),
               "a successful drawing without its pictures");
  }
}

// Pictures named like the data file (as spelled, or otherwise), its .vec file
// or the statistics report and its flags: refused with a message, nothing written.
void CheckPicturesOverInputs(const std::string& dataPath, const std::string& stem,
                             const std::vector<uint8_t>& original) {
  fuzz::ClearScratch();
  fuzz::WriteBytes(dataPath, original);
  const std::string spelledOtherwise = fuzz::ScratchDir() + "/./" + std::filesystem::path(dataPath).filename().string();
  const std::string clashes[] = {dataPath, spelledOtherwise, fuzz::ScratchPath(stem + ".vec"),
                                 fuzz::ScratchPath(stem + "统计检验.txt"),
                                 fuzz::ScratchPath(stem + "统计检验.flags")};
  for (const std::string& target : clashes) {
    for (const bool svg : {true, false}) {
      fuzz::QuietPlatform platform;
      CommandOptions options;
      options.dataPath = dataPath;
      (svg ? options.svgPath : options.dxfPath) = target;
      FUZZ_CHECK(RunDrawCommand(options, platform) == 1, "a picture over an input was not refused: " + target);
      FUZZ_CHECK(!platform.messages.empty(), "a picture over an input refused without a message");
      FUZZ_CHECK(fuzz::ReadBytes(dataPath) == original, "a refused picture changed the data file");
      FUZZ_CHECK(std::distance(std::filesystem::directory_iterator(fuzz::ScratchDir()),
                               std::filesystem::directory_iterator()) == 1,
                 "a refused picture wrote a file");
    }
  }
}

}  // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
  if (size == kHeightFileSize) {
    return fuzz::MutateFixedSize(data, size, maxSize, seed, kHeightFileSize, kHeightHotPrefix);
  }
  return fuzz::MutateFixedSize(data, size, maxSize, seed, kPlaneFileSize, kPlaneHotPrefix);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  const std::string stem = "NET";
  const std::string name = stem + (size == kHeightFileSize ? ".NAH" : ".NAP");
  fuzz::CheckDataFileCommand(input, name, RunSheetCommand, false);
  fuzz::CheckDataFileCommand(input, name, RunDisplayCommand, false);

  const std::vector<uint8_t> original(input.begin(), input.end());
  fuzz::ClearScratch();
  const std::string path = fuzz::ScratchPath(name);
  fuzz::WriteBytes(path, original);
  CheckDraw(path, stem, original);
  CheckPicturesOverInputs(path, stem, original);
  return 0;
}
