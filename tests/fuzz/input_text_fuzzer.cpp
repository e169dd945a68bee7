// The command-line input text: parsed, then, as the input file of one
// command chosen by the first byte, applied and run to the end on a new data
// file — the whole computation of whatever network or exercise the text
// describes; and once more with the text stored under the name of the
// report the run would write, which must be refused with the text kept.
#include <filesystem>
#include <string_view>

#include "cli/command_options.h"
#include "cli/exercise_command.h"
#include "cli/height_command.h"
#include "cli/input_text.h"
#include "cli/local_command.h"
#include "cli/plane_command.h"
#include "cli/transform_command.h"
#include "cli/zone_command.h"
#include "common/gbk_text.h"
#include "common/report_file.h"
#include "fuzz_support.h"

using namespace qp;

namespace {

struct Target {
  const char* fileName;
  fuzz::CommandRunner run;
  // A network stores its confirmed input before computing, so a failed
  // computation leaves it changed; the tools and the solver change nothing
  // when they stop with a message.
  bool keepsFileOnStop;
  // The solver writes no report: its input named like its data file then.
  bool writesReport;
};

const Target kTargets[] = {
    {"NET.NAP", RunPlaneCommand, false, true},  {"NET.NAH", RunHeightCommand, false, true},
    {"DATA.GST", RunZoneCommand, true, true},   {"DATA.TRS", RunTransformCommand, true, true},
    {"DATA.SLT", RunLocalCommand, true, true},  {"DATA.STY", RunExerciseCommand, true, false},
};

void CheckParsed(const InputDocument& doc) {
  for (const InputSection& section : doc.sections) {
    const std::string& body = section.body;
    // The boxes take edit-box text: every line ends in CR LF, no bare LF.
    for (size_t i = 0; i < body.size(); ++i) {
      if (body[i] == '\n') FUZZ_CHECK(i > 0 && body[i - 1] == '\r', "a bare line feed in a section");
    }
    FUZZ_CHECK(section.line > 0, "a section without its line");
  }
  for (const InputSetting& setting : doc.settings) FUZZ_CHECK(setting.line > 0, "a setting without its line");
}

// The input text under the name of a file the run writes: refused with a
// message, the text kept, nothing else written.
void CheckInputNamedLikeAnOutput(const Target& target, std::span<const uint8_t> text) {
  fuzz::ClearScratch();
  CommandOptions options;
  options.dataPath = fuzz::ScratchPath(target.fileName);
  options.inputPath = target.writesReport ? ReportPathFor(options.dataPath) : options.dataPath;
  fuzz::WriteBytes(*options.inputPath, text);
  fuzz::QuietPlatform platform;
  int status;
  {
    fuzz::CapturedOutput out;
    status = target.run(options, platform);
  }
  FUZZ_CHECK(status == 1 && !platform.messages.empty(), "a run writing over its input text was not refused");
  FUZZ_CHECK(fuzz::ReadBytes(*options.inputPath) == std::vector<uint8_t>(text.begin(), text.end()),
             "the input text was overwritten");
  FUZZ_CHECK(std::distance(std::filesystem::directory_iterator(fuzz::ScratchDir()),
                           std::filesystem::directory_iterator()) == 1,
             "a refused run wrote a file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const Target& target = kTargets[data[0] % std::size(kTargets)];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  std::string error;
  const std::optional<InputDocument> doc = ParseInputText(text, error);
  if (!doc) {
    FUZZ_CHECK(!error.empty(), "a text refused without a reason");
    return 0;
  }
  CheckParsed(*doc);

  fuzz::ClearScratch();
  const std::string dataPath = fuzz::ScratchPath(target.fileName);
  const std::string inputPath = fuzz::ScratchPath("input.txt");
  fuzz::WriteBytes(inputPath, {data + 1, size - 1});
  fuzz::QuietPlatform platform;
  CommandOptions options;
  options.dataPath = dataPath;
  // A new data file as the command makes it, then the input run over it.
  options.dump = true;
  {
    fuzz::CapturedOutput out;
    FUZZ_CHECK(target.run(options, platform) == 0, "a new data file could not be made");
  }
  const std::vector<uint8_t> created = fuzz::ReadBytes(dataPath);
  options.dump = false;
  options.inputPath = inputPath;
  platform.messages.clear();
  int status;
  {
    fuzz::CapturedOutput out;
    status = target.run(options, platform);
    FUZZ_CHECK(!fuzz::HasNonFiniteNumber(out.Text()), "a NaN or infinity in the output");
  }
  fuzz::CheckReportOf(dataPath);
  if (status != 0) {
    FUZZ_CHECK(!platform.messages.empty(), "a stopped run without a message");
    FUZZ_CHECK(!target.keepsFileOnStop || fuzz::ReadBytes(dataPath) == created,
               "a run that stopped with a message changed the data file: " + GbkToUtf8(platform.messages.back()));
  }
  CheckInputNamedLikeAnOutput(target, {data + 1, size - 1});
  return 0;
}
