#include "app/sheet_printing.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <functional>

#include "app/qt_drawing_device.h"
#include "app/qt_text.h"
#include "drawing/cairo_picture.h"
#include "drawing/declutter_setting.h"
#include "drawing/drawing_export.h"
#include "drawing/dxf_picture.h"
#include "drawing/entity_list.h"
#include "drawing/network_drawing.h"
#include "drawing/renderer.h"
#include "drawing/sheet_resolution.h"
#include "drawing/svg_picture.h"
#include "drawing/view_state.h"

namespace qp {
namespace {

// The diagram and the frame of the open network for a sheet, masked outside
// the sheet as on paper.
std::function<void(EntitySink&)> SheetDrawing(CQuorvexPDoc& doc, SettingsBlock& settings) {
  return [&doc, &settings](EntitySink& sink) {
    DrawContext context;
    context.maskOutsideSheet = true;
    context.flagged = doc.FlaggedObservations();
    context.declutter = DeclutterFor(doc.CurrentDataPath());
    doc.DrawSheet(sink, settings, IsPlaneMode(doc.State().workMode), context);
  };
}

// The sheet for a device: at `dotsPerInch` when the canvas fits, otherwise at
// the largest resolution that fits (the painter is then scaled up by `zoom`).
std::optional<DeviceSheet> DeviceSheetFor(const SettingsBlock& block, double dotsPerInch, double& zoom) {
  zoom = 1.0;
  if (auto sheet = DeriveSheetForResolution(block, dotsPerInch)) return sheet;
  const double paper = std::max(PaperHeightMillimetres(block), PaperWidthMillimetres(block));
  if (paper <= 0) return std::nullopt;
  const double fitting = std::floor((kMaxCanvasPixels - 8) * 25.4 / paper);
  if (fitting < 10 || fitting >= dotsPerInch) return std::nullopt;
  zoom = dotsPerInch / fitting;
  return DeriveSheetForResolution(block, fitting);
}

void RenderSheet(QPainter& painter, const DeviceSheet& sheet, const EntityList& entities) {
  QtDrawingDevice device(painter);
  RenderSettings settings = RenderSettingsFor(sheet.geometry, sheet.block.opaqueTextBackground != 0);
  settings.lineWidths = sheet.lineWidths;
  Renderer renderer(device, settings);
  entities.Replay(renderer);
}

// The printer's resolution as the sheet is re-derived for it: the mean dots
// per inch of the page's two axes.
double PrinterDotsPerInch(const QPrinter& printer) {
  const QPageLayout layout = printer.pageLayout();
  const QRect px = layout.paintRectPixels(printer.resolution());
  const QRectF mm = layout.paintRect(QPageLayout::Millimeter);
  if (mm.width() <= 0 || mm.height() <= 0) return printer.resolution();
  return px.height() * 12.7 / mm.height() + px.width() * 12.7 / mm.width();
}

}  // namespace

int PrintSheet(QPrinter& printer, CQuorvexPDoc& doc, QString* error) {
  double zoom = 1.0;
  const double dpi = PrinterDotsPerInch(printer);
  auto sheet = DeviceSheetFor(doc.Settings(), dpi, zoom);
  if (!sheet) {
    if (error) *error = QStringLiteral("图幅设置数据错误, 无法打印图形 !");
    return 0;
  }
  EntityList entities(sheet->geometry);
  SheetDrawing(doc, sheet->block)(entities);

  const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  const int pages = PrintPageCount(PaperHeightMillimetres(sheet->block), PaperWidthMillimetres(sheet->block),
                                   printable.height(), printable.width());
  const int across = std::max(1, static_cast<int>(std::ceil(PaperWidthMillimetres(sheet->block) / printable.width())));
  const QRect pagePx = printer.pageLayout().paintRectPixels(printer.resolution());

  QPainter painter;
  if (!painter.begin(&printer)) {
    if (error) *error = QStringLiteral("无法开始打印 !");
    return 0;
  }
  for (int page = 0; page < pages; ++page) {
    if (page > 0) printer.newPage();
    const int row = page / across, column = page % across;
    painter.save();
    painter.setClipRect(QRect(QPoint(0, 0), pagePx.size()));
    painter.translate(-column * pagePx.width(), -row * pagePx.height());
    painter.scale(zoom, zoom);
    RenderSheet(painter, *sheet, entities);
    painter.restore();
  }
  painter.end();
  return pages;
}

bool SaveSheetPicture(const QString& path, CQuorvexPDoc& doc, QString* error) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  const std::string file = path.toStdString();
  std::string reason;
  auto fail = [&](const QString& why) {
    if (error) *error = why;
    return false;
  };
  // A picture never replaces the open data file, its .vec file or the statistics report.
  if (const auto clash = FindFileClash(DrawingExportFiles(doc.CurrentDataPath(), {{file, "图形文件"}}))) {
    return fail(FromGbk(FileClashMessage(*clash)));
  }
  auto settings = std::make_unique<SettingsBlock>(doc.Settings());
  // The pictures draw the sheet re-derived for their own resolution.
  const SheetEntities sheet = [&doc](EntitySink& sink, SettingsBlock& block) { SheetDrawing(doc, block)(sink); };
  bool ok = false;
  if (suffix == QLatin1String("svg")) {
    ok = WriteSvgPicture(file, *settings, sheet, &reason);
  } else if (suffix == QLatin1String("dxf")) {
    ok = WriteDxfPicture(file, *settings, SheetDrawing(doc, *settings), &reason);
  } else if (suffix == QLatin1String("pdf")) {
    ok = WritePdfPicture(file, *settings, sheet, &reason);
  } else if (suffix == QLatin1String("png")) {
    // At the sheet's own resolution, within what a picture may be drawn at.
    const double dpi = std::clamp<double>(std::isfinite(settings->resolution) ? settings->resolution : kDefaultPngDpi,
                                          kMinPngDpi, kMaxPngDpi);
    ok = WritePngPicture(file, *settings, dpi, sheet, &reason);
  } else {
    return fail(QStringLiteral("图形文件应为 PDF, PNG, SVG 或 DXF 文件"));
  }
  return ok || fail(FromGbk(reason));
}

}  // namespace qp
