#include "cli/draw_command.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>

#include "cli/run_files.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/settings_block.h"
#include "drawing/declutter_setting.h"
#include "drawing/drawing_export.h"
#include "drawing/dxf_picture.h"
#include "drawing/flagged_observations.h"
#include "drawing/network_drawing.h"
#include "height/height_network.h"
#include "plane/plane_network.h"

// The SVG picture writer is connected here as soon as drawing/svg_picture.h
// (and its source in src/drawing/CMakeLists.txt) is part of the tree.
#if __has_include("drawing/svg_picture.h")
#include "drawing/svg_picture.h"
#define QUORVEX_HAS_SVG_PICTURE 1
#endif

namespace qp {
namespace {

// `reasonGbk`, when given, follows the path (UTF-8, as typed) after a colon.
void Tell(PlatformServices& platform, const char* utf8Format, const std::string& path,
          const std::string& reasonGbk = {}) {
  std::string named = DecodeUserTextToGbk(path);
  if (!reasonGbk.empty()) named += ": " + reasonGbk;
  platform.ShowMessage(FormatText(utf8Format, named.c_str()), Icon::Error);
}

// The pictures beside the .vec file; false after the message of the first
// that cannot be written.
bool WritePictures(const CommandOptions& options, SettingsBlock& settings,
                   const std::function<void(EntitySink&)>& draw, PlatformServices& platform) {
  if (options.svgPath) {
#ifdef QUORVEX_HAS_SVG_PICTURE
    std::string error;
    if (!WriteSvgPicture(*options.svgPath, settings, draw, &error)) {
      Tell(platform, "SVG图形文件写入错误 !\r\n%s", *options.svgPath, error);
      return false;
    }
#else
    Tell(platform, "本程序不含SVG图形输出 !\r\n%s", *options.svgPath);
    return false;
#endif
  }
  if (options.dxfPath) {
    std::string error;
    if (!WriteDxfPicture(*options.dxfPath, settings, draw, &error)) {
      Tell(platform, "DXF图形文件写入错误 !\r\n%s", *options.dxfPath, error);
      return false;
    }
  }
  return true;
}

}  // namespace

int MaxDiagramKind(NetworkFileKind network) { return network == NetworkFileKind::Plane ? 7 : 3; }

int RunDrawCommand(const CommandOptions& options, PlatformServices& platform) {
  const NetworkFileKind network = NetworkFileKindOf(options.dataPath);
  if (network == NetworkFileKind::Unknown) return 2;  // checked with the usage text by the driver
  std::vector<FileUse> pictures;
  if (options.svgPath) pictures.push_back({*options.svgPath, "SVG图形文件"});
  if (options.dxfPath) pictures.push_back({*options.dxfPath, "DXF图形文件"});
  if (!CheckNoInputOverwritten(DrawingExportFiles(options.dataPath, std::move(pictures)), platform)) return 1;
  auto settings = std::make_unique<SettingsBlock>();
  // The observations the statistics report beside the data file flags are
  // red on the diagrams of observation values, in every picture as in the .vec.
  const FlaggedObservationSet flagged = FlaggedObservationsFor(options.dataPath);
  DrawContext context;
  context.flagged = &flagged;
  context.declutter = DeclutterFor(options.dataPath);
  std::string vecPath;

  if (network == NetworkFileKind::Plane) {
    auto net = std::make_unique<PlaneNetwork>();
    if (!OpenPlaneDrawing(options.dataPath, *settings, *net, platform)) return 1;
    if (options.kind) net->displayMode = *options.kind;
    if (!ExportPlaneDrawing(options.dataPath, *settings, *net, platform, &vecPath)) {
      Tell(platform, "矢量图形文件写入错误 !\r\n%s", vecPath);
      return 1;
    }
    const auto draw = [&](EntitySink& sink) { DrawNetworkSheet(sink, *settings, net.get(), nullptr, context); };
    return WritePictures(options, *settings, draw, platform) ? 0 : 1;
  }

  auto net = std::make_unique<HeightNetwork>();
  if (!OpenHeightDrawing(options.dataPath, *settings, *net, platform)) return 1;
  if (options.kind) net->diagramKind = *options.kind;
  if (!ExportHeightDrawing(options.dataPath, *settings, *net, platform, &vecPath)) {
    Tell(platform, "矢量图形文件写入错误 !\r\n%s", vecPath);
    return 1;
  }
  const auto draw = [&](EntitySink& sink) { DrawNetworkSheet(sink, *settings, nullptr, net.get(), context); };
  return WritePictures(options, *settings, draw, platform) ? 0 : 1;
}

}  // namespace qp
