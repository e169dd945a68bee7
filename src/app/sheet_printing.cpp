#include "app/sheet_printing.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <functional>

#include "app/qt_drawing_device.h"
#include "app/qt_text.h"
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

bool ShowsPlane(const CQuorvexPDoc& doc) {
  const int mode = doc.State().workMode;
  return mode == kPlaneData || mode == kPlaneDrawing;
}

// The diagram and the frame of the open network for a sheet, masked outside
// the sheet as on paper.
std::function<void(EntitySink&)> SheetDrawing(CQuorvexPDoc& doc, SettingsBlock& settings) {
  return [&doc, &settings](EntitySink& sink) {
    DrawContext context;
    context.maskOutsideSheet = true;
    context.flagged = doc.FlaggedObservations();
    context.declutter = DeclutterFor(doc.CurrentDataPath());
    const bool plane = ShowsPlane(doc);
    DrawNetworkSheet(sink, settings, plane ? &doc.Plane() : nullptr, plane ? nullptr : &doc.Height(), context);
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

}  // namespace

double PrinterDotsPerInch(const QPrinter& printer) {
  const QPageLayout layout = printer.pageLayout();
  const QRect px = layout.paintRectPixels(printer.resolution());
  const QRectF mm = layout.paintRect(QPageLayout::Millimeter);
  if (mm.width() <= 0 || mm.height() <= 0) return printer.resolution();
  return px.height() * 12.7 / mm.height() + px.width() * 12.7 / mm.width();
}

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
  if (suffix == QLatin1String("svg") || suffix == QLatin1String("dxf")) {
    auto settings = std::make_unique<SettingsBlock>(doc.Settings());
    const bool ok = suffix == QLatin1String("svg") ? WriteSvgPicture(file, *settings, SheetDrawing(doc, *settings), &reason)
                                                   : WriteDxfPicture(file, *settings, SheetDrawing(doc, *settings), &reason);
    return ok || fail(FromGbk(reason));
  }
  if (suffix != QLatin1String("pdf") && suffix != QLatin1String("png")) {
    return fail(QStringLiteral("图形文件应为 PDF, PNG, SVG 或 DXF 文件"));
  }
  const double wanted = suffix == QLatin1String("pdf") ? 600.0 : doc.Settings().resolution;
  double zoom = 1.0;
  auto sheet = DeviceSheetFor(doc.Settings(), wanted, zoom);
  if (!sheet) return fail(QStringLiteral("图幅设置数据错误, 无法绘制图形 !"));
  EntityList entities(sheet->geometry);
  SheetDrawing(doc, sheet->block)(entities);
  const double dpi = sheet->block.resolution;
  const QString temporary = path + QStringLiteral(".part");
  bool written = false;
  if (suffix == QLatin1String("pdf")) {
    QPdfWriter pdf(temporary);
    pdf.setResolution(static_cast<int>(dpi));
    pdf.setPageSize(QPageSize(QSizeF(PaperWidthMillimetres(sheet->block), PaperHeightMillimetres(sheet->block)),
                              QPageSize::Millimeter));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(FromGbk(SheetText(sheet->block, kNetworkNameSlot)));
    pdf.setCreator(QStringLiteral("QuorvexPlus"));
    QPainter painter;
    if (painter.begin(&pdf)) {
      RenderSheet(painter, *sheet, entities);
      written = painter.end();
    }
  } else {
    QImage image(sheet->block.canvasWidthPx, sheet->block.canvasHeightPx, QImage::Format_RGB32);
    if (!image.isNull()) {
      image.fill(Qt::white);
      image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254 + 0.5));
      image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254 + 0.5));
      QPainter painter(&image);
      RenderSheet(painter, *sheet, entities);
      painter.end();
      written = image.save(temporary, "PNG");
    }
  }
  if (written) {
    QFile::remove(path);
    written = QFile::rename(temporary, path);
  }
  if (!written) {
    QFile::remove(temporary);
    return fail(QStringLiteral("无法写入图形文件 %1").arg(path));
  }
  return true;
}

}  // namespace qp
