#include "cli/draw_command.h"

#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "common/file_clash.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/settings_block.h"
#include "drawing/cairo_picture.h"
#include "drawing/declutter_setting.h"
#include "drawing/diagram_kinds.h"
#include "drawing/drawing_export.h"
#include "workflow/drawing_files.h"
#include "drawing/dxf_picture.h"
#include "drawing/flagged_observations.h"
#include "drawing/network_drawing.h"
#include "drawing/svg_picture.h"
#include "height/height_model_record.h"
#include "plane/plane_model_record.h"

namespace qp {
namespace {

// `reasonGbk`, when given, follows the path (UTF-8, as typed) after a colon.
void Tell(PlatformServices& platform, const char* utf8Format, const std::string& path,
          const std::string& reasonGbk = {}) {
  std::string named = DecodeUserTextToGbk(path);
  if (!reasonGbk.empty()) named += ": " + reasonGbk;
  platform.ShowMessage(FormatText(utf8Format, named.c_str()), Icon::Error);
}

// The drawing as the pictures take it: the sheet (re-derived by each
// picture for its resolution) masked outside the inner frame as on paper,
// and unmasked in ground coordinates for the DXF.
struct PictureDrawing {
  SheetEntities sheet;
  std::function<void(EntitySink&)> ground;
};

// The pictures beside the .vec file; false after the message of the first
// that cannot be written.
bool WritePictures(const CommandOptions& options, SettingsBlock& settings, const PictureDrawing& draw,
                   PlatformServices& platform) {
  std::string error;
  auto written = [&](bool ok, const char* format, const std::string& path) {
    if (!ok) Tell(platform, format, path, error);
    return ok;
  };
  if (options.svgPath && !written(WriteSvgPicture(*options.svgPath, settings, draw.sheet, &error),
                                  "SVG图形文件写入错误 !\r\n%s", *options.svgPath))
    return false;
  if (options.dxfPath && !written(WriteDxfPicture(*options.dxfPath, settings, draw.ground, &error),
                                  "DXF图形文件写入错误 !\r\n%s", *options.dxfPath))
    return false;
  if (options.pdfPath && !written(WritePdfPicture(*options.pdfPath, settings, draw.sheet, &error),
                                  "PDF图形文件写入错误 !\r\n%s", *options.pdfPath))
    return false;
  const int dpi = options.dpi.value_or(kDefaultPngDpi);
  if (options.pngPath && !written(WritePngPicture(*options.pngPath, settings, dpi, draw.sheet, &error),
                                  "PNG图形文件写入错误 !\r\n%s", *options.pngPath))
    return false;
  return true;
}

// The sheet of the network for the pictures.
PictureDrawing DrawingOf(const SettingsBlock& settings, DrawnNetwork network, const DrawContext& context) {
  DrawContext masked = context;
  masked.maskOutsideSheet = true;
  return PictureDrawing{
      [=](EntitySink& sink, SettingsBlock& sheet) { DrawNetworkSheet(sink, sheet, network, masked); },
      [=, &settings](EntitySink& sink) { DrawNetworkSheet(sink, settings, network, context); }};
}

// One kind of network: the record read without computing, the diagram kind
// of --kind for this drawing only (the .vec file's block titled for it), the
// .vec file and then the pictures.
template <typename Record, typename Open, typename ModelOf>
int DrawNetwork(const CommandOptions& options, SettingsBlock& settings, const DrawContext& context,
                PlatformServices& platform, Open open, ModelOf modelOf) {
  auto net = std::make_unique<Record>();
  if (!open(options.dataPath, settings, *net, platform)) return 1;
  auto model = modelOf(*net);
  if (options.kind) model.diagram.kind = *options.kind;
  UpdateDiagramTitle(settings, model);
  std::string vecPath;
  if (!ExportNetworkDrawing(options.dataPath, settings, model, platform, &vecPath)) {
    Tell(platform, "矢量图形文件写入错误 !\r\n%s", vecPath);
    return 1;
  }
  return WritePictures(options, settings, DrawingOf(settings, model, context), platform) ? 0 : 1;
}

}  // namespace

bool IsDrawOption(const std::string& option) {
  return option == "--kind" || option == "--svg" || option == "--dxf" || option == "--pdf" || option == "--png" ||
         option == "--dpi";
}

std::string ParseDrawOption(const std::string& option, const std::string& value, CommandOptions& options) {
  const bool digits = !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
  if (option == "--kind") {
    if (options.kind) return "--kind 只能给出一次";
    if (!digits || value.size() > 2) return "--kind 后应为图形种类编号: " + value;
    options.kind = std::stoi(value);
    return {};
  }
  if (option == "--dpi") {
    if (options.dpi) return "--dpi 只能给出一次";
    if (!digits || value.size() > 4 || std::stoi(value) < kMinPngDpi || std::stoi(value) > kMaxPngDpi) {
      return Format("--dpi 后应为 %d 到 %d 之间的分辨率: %s", kMinPngDpi, kMaxPngDpi, value.c_str());
    }
    options.dpi = std::stoi(value);
    return {};
  }
  std::optional<std::string>& path = option == "--svg"   ? options.svgPath
                                     : option == "--dxf" ? options.dxfPath
                                     : option == "--pdf" ? options.pdfPath
                                                         : options.pngPath;
  if (path) return option + " 只能给出一次";
  path = value;
  return {};
}

int MaxDiagramKind(NetworkFileKind network) {
  return (network == NetworkFileKind::Plane ? kPlaneDiagramKinds : kHeightDiagramKinds) - 1;
}

int RunDrawCommand(const CommandOptions& options, PlatformServices& platform) {
  const NetworkFileKind network = NetworkFileKindOf(options.dataPath);
  if (network == NetworkFileKind::Unknown) return 2;  // checked with the usage text by the driver
  std::vector<FileUse> pictures;
  if (options.svgPath) pictures.push_back({*options.svgPath, "SVG图形文件"});
  if (options.dxfPath) pictures.push_back({*options.dxfPath, "DXF图形文件"});
  if (options.pdfPath) pictures.push_back({*options.pdfPath, "PDF图形文件"});
  if (options.pngPath) pictures.push_back({*options.pngPath, "PNG图形文件"});
  if (!CheckNoInputOverwritten(DrawingExportFiles(options.dataPath, std::move(pictures)), platform)) return 1;
  auto settings = std::make_unique<SettingsBlock>();
  // The observations the statistics report beside the data file flags are
  // red on the diagrams of observation values, in every picture as in the .vec.
  const FlaggedObservationSet flagged = FlaggedObservationsFor(options.dataPath);
  const DrawContext context{.flagged = &flagged, .declutter = DeclutterFor(options.dataPath)};
  if (network == NetworkFileKind::Plane) {
    return DrawNetwork<PlaneNetwork>(options, *settings, context, platform, OpenPlaneDrawing, PlaneModelFromRecord);
  }
  return DrawNetwork<HeightNetwork>(options, *settings, context, platform, OpenHeightDrawing, HeightModelFromRecord);
}

}  // namespace qp
