#include "drawing/cairo_picture.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <memory>
#include <span>
#include <vector>

#include "common/binary_file.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "drawing/cairo_device.h"
#include "drawing/entity_list.h"
#include "drawing/renderer.h"

namespace qp {
namespace {

constexpr double kPointsPerInch = 72.0;
// A PNG is drawn in bands of this many rows, so its canvas is never held whole.
constexpr int kPngBandRows = 512;

using Surface = std::unique_ptr<cairo_surface_t, decltype([](cairo_surface_t* s) { cairo_surface_destroy(s); })>;
using Context = std::unique_ptr<cairo_t, decltype([](cairo_t* c) { cairo_destroy(c); })>;

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

// Draws the sheet on `cr`, whose user units are the pixels of `sheet`.
void DrawSheet(cairo_t* cr, DeviceSheet& sheet, const SheetEntities& drawEntities) {
  CairoDevice device(cr, sheet.geometry.resolution);
  Renderer renderer(device, RenderSettingsFor(sheet.geometry, sheet.block.opaqueTextBackground != 0));
  drawEntities(renderer, sheet.block);
}

std::string Failed(std::string* error, const std::string& why) {
  if (error) *error = why;
  return {};
}

// libpng writing into a string. libpng reports a failure by a long jump to
// the setjmp of the call that failed: no frame it jumps over holds anything
// with a destructor.
class PngEncoder {
 public:
  explicit PngEncoder(std::string& out) : out_(out) {
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png_) info_ = png_create_info_struct(png_);
  }
  ~PngEncoder() {
    if (png_) png_destroy_write_struct(&png_, info_ ? &info_ : nullptr);
  }
  PngEncoder(const PngEncoder&) = delete;
  PngEncoder& operator=(const PngEncoder&) = delete;

  // 8-bit RGB, with the resolution as the picture's physical size.
  bool Begin(int width, int height, double dotsPerInch) {
    if (!png_ || !info_ || setjmp(png_jmpbuf(png_))) return false;
    png_set_write_fn(png_, &out_, Append, nullptr);
    png_set_IHDR(png_, info_, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const auto perMetre = static_cast<png_uint_32>(dotsPerInch / 0.0254 + 0.5);
    png_set_pHYs(png_, info_, perMetre, perMetre, PNG_RESOLUTION_METER);
    png_write_info(png_, info_);
    return true;
  }
  bool Rows(unsigned char* first, int rowBytes, int count) {
    if (setjmp(png_jmpbuf(png_))) return false;
    for (int r = 0; r < count; ++r) png_write_row(png_, first + static_cast<size_t>(r) * rowBytes);
    return true;
  }
  bool End() {
    if (setjmp(png_jmpbuf(png_))) return false;
    png_write_end(png_, nullptr);
    return true;
  }

 private:
  static void Append(png_structp png, png_bytep data, size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
  }

  std::string& out_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

bool WriteBytes(const std::string& path, const std::string& bytes, std::string* error) {
  if (bytes.empty()) return false;
  if (WriteFileAtomically(path, bytes)) return true;
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
  // The entities once; each band draws those that reach into it.
  EntityList entities(sheet->geometry);
  drawEntities(entities, sheet->block);
  const RenderSettings render = RenderSettingsFor(sheet->geometry, sheet->block.opaqueTextBackground != 0);

  const int bandRows = std::min(height, kPngBandRows);
  Surface band(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, bandRows));
  if (cairo_surface_status(band.get()) != CAIRO_STATUS_SUCCESS)
    return Failed(error, FormatText("PNG: %s", cairo_status_to_string(cairo_surface_status(band.get()))));
  std::string png;
  PngEncoder encoder(png);
  if (!encoder.Begin(width, height, sheet->geometry.resolution)) return Failed(error, "PNG: libpng");
  std::vector<unsigned char> rgb(static_cast<size_t>(width) * 3 * bandRows);
  for (int top = 0; top < height; top += bandRows) {
    const int rows = std::min(bandRows, height - top);
    {
      Context cr(cairo_create(band.get()));
      cairo_set_source_rgb(cr.get(), 1, 1, 1);
      cairo_paint(cr.get());
      cairo_translate(cr.get(), 0, -top);
      CairoDevice device(cr.get(), sheet->geometry.resolution);
      Renderer renderer(device, render);
      // Screen rows top..top + rows - 1 are canvas rows height - top - rows .. height - top - 1.
      entities.Replay(renderer, CanvasBox{height - top - rows, height - top - 1, 0, width - 1});
    }
    cairo_surface_flush(band.get());
    const unsigned char* data = cairo_image_surface_get_data(band.get());
    const int stride = cairo_image_surface_get_stride(band.get());
    for (int r = 0; r < rows; ++r) {
      const auto* pixels = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(r) * stride);
      unsigned char* out = rgb.data() + static_cast<size_t>(r) * width * 3;
      for (int c = 0; c < width; ++c) {
        out[3 * c] = static_cast<unsigned char>(pixels[c] >> 16);
        out[3 * c + 1] = static_cast<unsigned char>(pixels[c] >> 8);
        out[3 * c + 2] = static_cast<unsigned char>(pixels[c]);
      }
    }
    if (!encoder.Rows(rgb.data(), width * 3, rows)) return Failed(error, "PNG: libpng");
  }
  if (!encoder.End()) return Failed(error, "PNG: libpng");
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
