// Makes the seed corpus of every harness from the bundled examples: the data
// files the commands write for them, the drafts the dialogs would keep, the
// vector files of their drawings, and the example texts themselves.
//   fuzz_seed_maker OUTDIR   (one folder per harness below OUTDIR)
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/command_options.h"
#include "cli/exercise_command.h"
#include "cli/height_command.h"
#include "cli/local_command.h"
#include "cli/plane_command.h"
#include "cli/transform_command.h"
#include "cli/zone_command.h"
#include "common/binary_file.h"
#include "drawing/draw_context.h"
#include "drawing/network_drawing.h"
#include "drawing/vec_file.h"
#include "fuzz_support.h"
#include "height/height_file.h"
#include "height/height_model_record.h"
#include "height/height_input_form.h"
#include "plane/plane_file.h"
#include "plane/plane_model_record.h"
#include "plane/plane_input_form.h"
#include "statistics/statistics_report.h"

namespace fs = std::filesystem;
using namespace qp;

namespace {

fs::path out;

std::vector<fs::path> Examples(const std::string& folder, const std::string& prefix = "") {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(fuzz::SourcePath("examples/" + folder))) {
    const fs::path& p = entry.path();
    if (p.extension() == ".txt" && p.filename().string().rfind(prefix, 0) == 0) found.push_back(p);
  }
  std::sort(found.begin(), found.end());
  return found;
}

// Runs a command on an example text into `dataPath`; a run that stops with a
// message still leaves a data file worth fuzzing.
void RunExample(fuzz::CommandRunner run, const fs::path& text, const fs::path& dataPath) {
  fuzz::QuietPlatform platform;
  CommandOptions options;
  options.dataPath = dataPath.string();
  options.inputPath = text.string();
  fuzz::CapturedOutput quiet;
  run(options, platform);
}

void Keep(const std::string& harness, const fs::path& from, const std::string& name) {
  if (!fs::exists(from)) return;
  fs::create_directories(out / harness);
  fs::copy_file(from, out / harness / name, fs::copy_options::overwrite_existing);
}

void KeepBytes(const std::string& harness, const std::string& name, std::span<const uint8_t> bytes) {
  fs::create_directories(out / harness);
  fuzz::WriteBytes((out / harness / name).string(), bytes);
}

// The flags the computation left beside the data file, recorded for the
// statistics_flags harness's report.
void KeepFlags(const fs::path& dataPath, const std::string& name) {
  const auto flagged = ReadFlaggedObservations(StatisticsReportPathFor(dataPath.string()));
  const std::string report = fuzz::ScratchPath("seed统计检验.txt");
  fuzz::WriteBytes(report, std::vector<uint8_t>(fuzz::kFlagsFuzzReportBytes, 'r'));
  if (WriteReportFlags(report, flagged)) Keep("statistics_flags", FlagsPathBesideReport(report), name);
}

void PlaneSeeds() {
  for (const fs::path& text : Examples("plane")) {
    const std::string stem = text.stem().string();
    const fs::path nap = fuzz::ScratchPath(stem + ".NAP");
    RunExample(RunPlaneCommand, text, nap);
    Keep("plane_file", nap, stem + ".NAP");
    Keep("draw_command", nap, stem + ".NAP");
    KeepFlags(nap, stem + ".flags");
    // Slope-distance modes leave their trigonometric height network beside it.
    Keep("height_file", fuzz::ScratchPath(stem + "BPT.NAH"), stem + "BPT.NAH");

    auto settings = std::make_unique<SettingsBlock>();
    auto net = std::make_unique<PlaneNetwork>();
    if (!ReadWritePlaneFile(nap.string(), FileDirection::Read, *settings, *net)) continue;
    PlaneInputForm form;
    FillPlaneFormFromRecord(form, *net);
    const fs::path draft = fuzz::ScratchPath(stem + ".PTP");
    if (WritePlaneDraft(draft.string(), form)) Keep("plane_draft", draft, stem + ".PTP");
    KeepBytes("sheet_settings", stem, BytesOf(*settings));
    const DrawContext context;
    const PlaneModel model = PlaneModelFromRecord(*net);
    const auto vec = BuildVecFile(*settings, [&](EntitySink& sink) {
      DrawNetworkSheet(sink, *settings, model, context);
    });
    KeepBytes("vec", stem + ".vec", vec);
  }
}

void HeightSeeds() {
  for (const fs::path& text : Examples("height")) {
    const std::string stem = text.stem().string();
    const fs::path nah = fuzz::ScratchPath(stem + ".NAH");
    RunExample(RunHeightCommand, text, nah);
    Keep("height_file", nah, stem + ".NAH");
    Keep("draw_command", nah, stem + ".NAH");
    KeepFlags(nah, stem + "H.flags");

    auto settings = std::make_unique<SettingsBlock>();
    auto net = std::make_unique<HeightNetwork>();
    if (!ReadHeightFile(nah.string(), *settings, *net)) continue;
    HeightInputForm form;
    FillHeightFormFromRecord(form, *net);
    const fs::path side = fuzz::ScratchPath(stem + ".HTP");
    if (WriteHeightSideFile(side.string(), form)) Keep("height_side", side, stem + ".HTP");
    const DrawContext context;
    const HeightModel model = HeightModelFromRecord(*net);
    const auto vec = BuildVecFile(*settings, [&](EntitySink& sink) {
      DrawNetworkSheet(sink, *settings, model, context);
    });
    KeepBytes("vec", stem + ".vec", vec);
  }
}

void ToolSeeds(const std::string& harness, const std::string& folder, const std::string& prefix,
               const std::string& extension, fuzz::CommandRunner run) {
  for (const fs::path& text : Examples(folder, prefix)) {
    const std::string name = text.stem().string() + extension;
    RunExample(run, text, fuzz::ScratchPath(name));
    Keep(harness, fuzz::ScratchPath(name), name);
  }
}

// The input texts, each behind the byte that picks its command in the harness.
void TextSeeds() {
  const struct {
    const char* folder;
    const char* prefix;
    uint8_t selector;
  } kinds[] = {{"plane", "", 0}, {"height", "", 1}, {"tools", "zone", 2},
               {"tools", "transform", 3}, {"tools", "local", 4}, {"exercise", "", 5}};
  for (const auto& kind : kinds) {
    for (const fs::path& text : Examples(kind.folder, kind.prefix)) {
      std::vector<uint8_t> bytes{kind.selector};
      const std::vector<uint8_t> body = fuzz::ReadBytes(text.string());
      bytes.insert(bytes.end(), body.begin(), body.end());
      KeepBytes("input_text", std::string(kind.folder) + "_" + text.stem().string(), bytes);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  out = argv[1];
  PlaneSeeds();
  HeightSeeds();
  ToolSeeds("zone_file", "tools", "zone", ".GST", RunZoneCommand);
  ToolSeeds("transform_file", "tools", "transform", ".TRS", RunTransformCommand);
  ToolSeeds("local_file", "tools", "local", ".SLT", RunLocalCommand);
  ToolSeeds("exercise_file", "exercise", "", ".STY", RunExerciseCommand);
  TextSeeds();
  for (const auto& entry : fs::directory_iterator(out)) {
    const auto n = std::distance(fs::directory_iterator(entry.path()), fs::directory_iterator());
    std::printf("%-16s %ld seeds\n", entry.path().filename().c_str(), static_cast<long>(n));
  }
  return 0;
}
