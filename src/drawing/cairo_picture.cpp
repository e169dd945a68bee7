#include "drawing/cairo_picture.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <cmath>
#include <memory>
#include <span>

#include "common/binary_file.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "drawing/cairo_device.h"
#include "drawing/renderer.h"

namespace qp {
namespace {

constexpr double kPointsPerInch = 72.0;

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

// Draws the sheet on `cr`, whose user units are the pixels of `sheet`.
void DrawSheet(cairo_t* cr, DeviceSheet& sheet, const SheetEntities& drawEntities) {
  CairoDevice device(cr, sheet.geometry.resolution);
  RenderSettings render = RenderSettingsFor(sheet.geometry, sheet.block.opaqueTextBackground != 0);
  render.lineWidths = sheet.lineWidths;
  Renderer renderer(device, render);
  drawEntities(renderer, sheet.block);
}

std::string Failed(std::string* error, const std::string& why) {
  if (error) *error = why;
  return {};
}

bool WriteBytes(const std::string& path, const std::string& bytes, std::string* error) {
  if (bytes.empty()) return false;
  const std::span<const unsigned char> view(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  if (WriteFileAtomically(path, {view})) return true;
  if (error) *error = FormatText("无法写入图形文件 %s", DecodeUserTextToGbk(path).c_str());
  return false;
}

}  // namespace

std::string PdfPictureBytes(const SettingsBlock& settings, const SheetEntities& drawEntities, std::string* error) {
  auto sheet = PictureSheet(settings, PictureResolution(settings), error);
  if (!sheet) return {};
  const double toPoints = kPointsPerInch / sheet->geometry.resolution;
  // The page is the paper; the canvas (a whole number of pixels) lies in it from the top-left corner.
  const double widthPt = PaperWidthMillimetres(sheet->block) / 25.4 * kPointsPerInch;
  const double heightPt = PaperHeightMillimetres(sheet->block) / 25.4 * kPointsPerInch;
  std::string pdf;
  Surface surface(cairo_pdf_surface_create_for_stream(AppendBytes, &pdf, widthPt, heightPt));
  cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE,
                                 GbkToUtf8(SheetText(sheet->block, kNetworkNameSlot)).c_str());
  cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "QuorvexPlus");
  {
    Context cr(cairo_create(surface.get()));
    cairo_scale(cr.get(), toPoints, toPoints);
    DrawSheet(cr.get(), *sheet, drawEntities);
    cairo_show_page(cr.get());
  }
  cairo_surface_finish(surface.get());
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS || pdf.empty())
    return Failed(error, FormatText("PDF: %s", cairo_status_to_string(cairo_surface_status(surface.get()))));
  return pdf;
}

std::string PngPictureBytes(const SettingsBlock& settings, double dotsPerInch, const SheetEntities& drawEntities,
                            std::string* error) {
  if (!(dotsPerInch >= kMinPngDpi && dotsPerInch <= kMaxPngDpi))
    return Failed(error, FormatText("图形分辨率应在 %d 到 %d dpi 之间", kMinPngDpi, kMaxPngDpi));
  auto sheet = PictureSheet(settings, dotsPerInch, error);
  if (!sheet) return {};
  const int width = sheet->geometry.canvasWidthPx, height = sheet->geometry.canvasHeightPx;
  if (width > kMaxPngSide || height > kMaxPngSide || int64_t{width} * height > kMaxPngPixels) {
    return Failed(error, FormatText("图形过大(%d x %d 像素), 请降低分辨率", width, height));
  }
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    return Failed(error, FormatText("PNG: %s", cairo_status_to_string(cairo_surface_status(surface.get()))));
  {
    Context cr(cairo_create(surface.get()));
    cairo_set_source_rgb(cr.get(), 1, 1, 1);
    cairo_paint(cr.get());
    DrawSheet(cr.get(), *sheet, drawEntities);
  }
  cairo_surface_flush(surface.get());
  std::string png;
  const cairo_status_t status = cairo_surface_write_to_png_stream(surface.get(), AppendBytes, &png);
  if (status != CAIRO_STATUS_SUCCESS || png.empty())
    return Failed(error, FormatText("PNG: %s", cairo_status_to_string(status)));
  return png;
}

bool WritePdfPicture(const std::string& path, const SettingsBlock& settings, const SheetEntities& drawEntities,
                     std::string* error) {
  return WriteBytes(path, PdfPictureBytes(settings, drawEntities, error), error);
}

bool WritePngPicture(const std::string& path, const SettingsBlock& settings, double dotsPerInch,
                     const SheetEntities& drawEntities, std::string* error) {
  return WriteBytes(path, PngPictureBytes(settings, dotsPerInch, drawEntities, error), error);
}

}  // namespace qp
