// The picture files of a sheet: SVG texts as whole text elements with each
// character where the renderer put it, the PNG's size in pixels at its
// resolution, the PDF one page of the paper with its font embedded, and
// every picture masked outside the inner frame as a printed page is.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <numbers>
#include <regex>
#include <sstream>
#include <vector>

#include "common/gbk_text.h"
#include "common/settings_block.h"
#include "drawing/cairo_picture.h"
#include "drawing/network_drawing.h"
#include "drawing/svg_picture.h"
#include "support/test_files.h"

namespace qp {
namespace {

constexpr double kSvgDpi = 600.0;

std::unique_ptr<SettingsBlock> DefaultSheet() {
  auto b = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*b);
  return b;
}

std::vector<double> Numbers(const std::string& list) {
  std::vector<double> v;
  std::istringstream in(list);
  for (double d; in >> d;) v.push_back(d);
  return v;
}

std::string Attribute(const std::string& element, const std::string& name) {
  std::smatch m;
  if (!std::regex_search(element, m, std::regex(" " + name + "=\"([^\"]*)\""))) return {};
  return m[1];
}

struct SvgText {
  std::string element, text;
};

std::vector<SvgText> TextsOf(const std::string& svg) {
  std::vector<SvgText> texts;
  const std::regex pattern("<text([^>]*)>([^<]*)</text>");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), pattern); it != std::sregex_iterator(); ++it)
    texts.push_back({(*it)[1], (*it)[2]});
  return texts;
}

// The characters' screen places (SVG user units) from a text element's x and
// y lists under its transform "rotate(a) scale(s 1)", as SVG defines them.
std::vector<std::pair<double, double>> ScreenPlaces(const std::string& element) {
  double a = 0, s = 1;
  std::smatch m;
  const std::string transform = Attribute(element, "transform");
  if (std::regex_search(transform, m, std::regex("rotate\\(([-0-9.]+)\\)"))) a = std::stod(m[1]) * std::numbers::pi / 180;
  if (std::regex_search(transform, m, std::regex("scale\\(([-0-9.]+) 1\\)"))) s = std::stod(m[1]);
  const auto xs = Numbers(Attribute(element, "x")), ys = Numbers(Attribute(element, "y"));
  std::vector<std::pair<double, double>> places;
  for (size_t i = 0; i < xs.size() && i < ys.size(); ++i) {
    const double x = xs[i] * s, y = ys[i];
    places.push_back({x * std::cos(a) - y * std::sin(a), x * std::sin(a) + y * std::cos(a)});
  }
  return places;
}

TEST(PictureTexts, EachTextIsOneSvgElementWithEveryCharacterInPlace) {
  struct Case {
    const char* name;
    int direction;      // tenths of a degree, azimuth (900 reads east)
    const char* utf8;
    TextFont font;
    std::vector<double> advancesMm;  // from one character to the next
  };
  const Case cases[] = {
      {"east, double width", 900, "测量控制网", TextFont{{}, 8.f, 4.f, 0.5f}, {8.5, 8.5, 8.5, 8.5}},
      {"north, single width", 0, "12.1", TextFont{{}, 4.f, 2.f, 0.2f}, {2.2, 2.2, 2.2}},
      {"south-east, mixed, wide", 1350, "A北 7", TextFont{{}, 3.f, 2.f, 0.2f}, {2.2, 4.2, 2.2}},
      {"reading west", 2700, "<&>", TextFont{{}, 5.f, 2.5f, 0.f}, {2.5, 2.5}},
  };
  auto block = DefaultSheet();
  const auto fine = DeriveSheetForResolution(*block, PictureResolution(*block));
  ASSERT_TRUE(fine);
  ASSERT_EQ(fine->geometry.resolution, kSvgDpi);
  const double pxPerMm = kSvgDpi / 25.4;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const GroundPoint ref{8300, 1800};
    const std::string svg = SvgPictureText(*block, [&](EntitySink& sink, SettingsBlock& sheet) {
      EntityEmitter out(sink, *SheetGeometryOf(sheet));
      out.Text(EntityCategory::Texts, ref, c.direction, c.font, Rgb{}, Gbk(c.utf8));
    });
    const auto texts = TextsOf(svg);
    ASSERT_EQ(texts.size(), 1u) << svg.substr(svg.size() - 600);
    std::string escaped = c.utf8;
    escaped = std::regex_replace(escaped, std::regex("&"), "&amp;");
    escaped = std::regex_replace(escaped, std::regex("<"), "&lt;");
    escaped = std::regex_replace(escaped, std::regex(">"), "&gt;");
    EXPECT_EQ(texts[0].text, escaped);
    const auto places = ScreenPlaces(texts[0].element);
    ASSERT_EQ(places.size(), c.advancesMm.size() + 1);

    // Reading direction on screen: east is +x, north is -y.
    const double az = c.direction * 0.1 * std::numbers::pi / 180;
    const double along[2] = {std::sin(az), -std::cos(az)};
    for (size_t i = 0; i + 1 < places.size(); ++i) {
      const double dx = places[i + 1].first - places[i].first, dy = places[i + 1].second - places[i].second;
      EXPECT_NEAR(std::hypot(dx, dy), c.advancesMm[i] * pxPerMm, 1.5) << "character " << i;
      EXPECT_NEAR(dx * along[0] + dy * along[1], std::hypot(dx, dy), 0.01 * std::hypot(dx, dy) + 0.1);
    }
    // The first baseline lies below the reference corner (the top of the
    // characters), less than one character height away.
    const CanvasPoint corner = MapToCanvas(fine->geometry, ref);
    const double cx = corner.column, cy = fine->geometry.canvasHeightPx - corner.row - 1;
    const double down[2] = {-along[1], along[0]};
    const double ox = places[0].first - cx, oy = places[0].second - cy;
    EXPECT_GT(ox * down[0] + oy * down[1], 0.5 * c.font.height * pxPerMm);
    EXPECT_LT(std::hypot(ox, oy), c.font.height * pxPerMm);
  }
}

// Width and height in pixels from a PNG's header.
std::pair<int, int> PngSize(const std::string& png) {
  if (png.size() < 24 || png.compare(1, 3, "PNG") != 0) return {0, 0};
  auto be = [&](size_t at) {
    return static_cast<int>(static_cast<unsigned char>(png[at]) << 24 | static_cast<unsigned char>(png[at + 1]) << 16 |
                            static_cast<unsigned char>(png[at + 2]) << 8 | static_cast<unsigned char>(png[at + 3]));
  };
  return {be(16), be(20)};
}

void FrameOnly(EntitySink& sink, SettingsBlock& sheet) { DrawNetworkSheet(sink, sheet, DrawnNetwork{}, DrawContext{}); }

TEST(Pictures, PngSizeFollowsTheResolutionAndTooLargeOrOutOfRangeIsRefused) {
  // The default paper: 540 mm wide, 580 mm high; a canvas side is whole
  // pixels rounded down to a multiple of 4.
  auto side = [](double mm, int dpi) { return static_cast<int>(std::floor(mm * dpi / 25.4)) / 4 * 4; };
  struct Case {
    int dpi;
    bool written;
  };
  const Case cases[] = {{50, true}, {300, true}, {72, true}, {49, false}, {1201, false}, {1200, false}};
  testing::TempDir dir;
  auto block = DefaultSheet();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    const std::string path = dir.File("sheet.png");
    std::filesystem::remove(path);
    std::string error;
    EXPECT_EQ(WritePngPicture(path, *block, c.dpi, FrameOnly, &error), c.written) << GbkToUtf8(error);
    EXPECT_EQ(std::filesystem::exists(path), c.written);
    if (!c.written) {
      EXPECT_FALSE(error.empty());
      continue;
    }
    EXPECT_EQ(PngSize(testing::ReadBytes(path)), std::make_pair(side(540, c.dpi), side(580, c.dpi)));
  }
  std::string error;
  EXPECT_FALSE(WritePngPicture(dir.File("missing/sheet.png"), *block, 100, FrameOnly, &error));
  EXPECT_NE(error.find(Gbk("无法写入图形文件")), std::string::npos);
}

TEST(Pictures, PdfIsOnePageOfThePaperWithItsFontEmbedded) {
  auto block = DefaultSheet();
  block->showGridLabels = 1;
  std::string error;
  const std::string pdf = PdfPictureBytes(*block, FrameOnly, &error);
  ASSERT_FALSE(pdf.empty()) << GbkToUtf8(error);
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(pdf, m, std::regex("/MediaBox \\[ *0 0 ([0-9.]+) ([0-9.]+) *\\]")));
  EXPECT_NEAR(std::stod(m[1]), 540 / 25.4 * 72, 0.01);
  EXPECT_NEAR(std::stod(m[2]), 580 / 25.4 * 72, 0.01);
  const std::regex page("/Type */Page[^s]");
  EXPECT_EQ(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()), 1);
  // The texts' glyphs travel with the file, and map back to their characters.
  EXPECT_TRUE(std::regex_search(pdf, std::regex("/FontFile[23]?")));
  EXPECT_NE(pdf.find("/ToUnicode"), std::string::npos);

  testing::TempDir dir;
  EXPECT_FALSE(WritePdfPicture(dir.File("missing/sheet.pdf"), *block, FrameOnly, &error));
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing/sheet.pdf")));
}

cairo_status_t ReadFromString(void* closure, unsigned char* data, unsigned int length) {
  auto* source = static_cast<std::pair<const std::string*, size_t>*>(closure);
  if (source->second + length > source->first->size()) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, source->first->data() + source->second, length);
  source->second += length;
  return CAIRO_STATUS_SUCCESS;
}

// A thick line from inside the sheet out across the inner frame: masked, the
// part between the inner and the outer frame is white in the PNG (and the
// SVG paints the white strips over it); unmasked, it shows there.
TEST(Pictures, MaskedOutsideTheInnerFrameAsOnPaper) {
  auto block = DefaultSheet();
  constexpr int kDpi = 100;
  const auto sheet = DeriveSheetForResolution(*block, kDpi);
  ASSERT_TRUE(sheet);
  const double m = block->scale * 0.001;
  ASSERT_GT(block->frameSpacing, 4);
  const double x = block->cornerX + 50 * m, west = block->cornerY;
  const GroundPoint inside{x, west + 20 * m}, between{x, west - 2 * m};
  for (const bool masked : {true, false}) {
    SCOPED_TRACE(masked ? "masked" : "not masked");
    const SheetEntities draw = [&](EntitySink& sink, SettingsBlock& s) {
      EntityEmitter out(sink, *SheetGeometryOf(s));
      const GroundPoint line[2] = {{x, west + 60 * m}, {x, west - 30 * m}};
      out.Polyline(EntityCategory::Lines, DrawStyle::Make(0, 6, 0), line);
      DrawContext context;
      context.maskOutsideSheet = masked;
      DrawNetworkSheet(sink, s, DrawnNetwork{}, context);
    };
    std::string error;
    const std::string png = PngPictureBytes(*block, kDpi, draw, &error);
    ASSERT_FALSE(png.empty()) << GbkToUtf8(error);
    std::pair<const std::string*, size_t> source{&png, 0};
    cairo_surface_t* image = cairo_image_surface_create_from_png_stream(ReadFromString, &source);
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    auto dark = [&](GroundPoint p) {
      const CanvasPoint c = MapToCanvas(sheet->geometry, p);
      const int row = sheet->geometry.canvasHeightPx - c.row - 1;
      const unsigned char* px = cairo_image_surface_get_data(image) + row * cairo_image_surface_get_stride(image) + c.column * 4;
      return px[0] < 128 && px[1] < 128 && px[2] < 128;
    };
    EXPECT_TRUE(dark(inside));
    EXPECT_EQ(dark(between), !masked);
    cairo_surface_destroy(image);

    const std::string svg = SvgPictureText(*block, draw);
    const std::regex strip("<polygon fill=\"#ffffff\" stroke=\"none\"");
    EXPECT_EQ(std::distance(std::sregex_iterator(svg.begin(), svg.end(), strip), std::sregex_iterator()),
              masked ? 4 : 0);
  }
}

// The PNG is drawn in bands of rows: a line across the whole sheet and a text
// that straddles a band's edge come out whole.
TEST(Pictures, PngBandsJoinWithoutSeams) {
  auto block = DefaultSheet();
  constexpr int kDpi = 150;
  const auto sheet = DeriveSheetForResolution(*block, kDpi);
  ASSERT_TRUE(sheet);
  const double m = block->scale * 0.001;
  const double south = block->cornerX + 5 * m, north = block->cornerX + 495 * m, y = block->cornerY + 100 * m;
  const SheetEntities draw = [&](EntitySink& sink, SettingsBlock& s) {
    EntityEmitter out(sink, *SheetGeometryOf(s));
    const GroundPoint line[2] = {{south, y}, {north, y}};
    out.Polyline(EntityCategory::Lines, DrawStyle::Make(0, 6, 0), line);
  };
  std::string error;
  const std::string png = PngPictureBytes(*block, kDpi, draw, &error);
  ASSERT_FALSE(png.empty()) << GbkToUtf8(error);
  std::pair<const std::string*, size_t> source{&png, 0};
  cairo_surface_t* image = cairo_image_surface_create_from_png_stream(ReadFromString, &source);
  ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
  const int height = sheet->geometry.canvasHeightPx;
  const CanvasPoint from = MapToCanvas(sheet->geometry, {south, y}), to = MapToCanvas(sheet->geometry, {north, y});
  ASSERT_GT(to.row - from.row, 2000);  // across several bands
  int light = 0;
  for (int row = from.row + 2; row <= to.row - 2; ++row) {
    const unsigned char* px =
        cairo_image_surface_get_data(image) + (height - row - 1) * cairo_image_surface_get_stride(image) + from.column * 4;
    if (px[0] > 100) ++light;
  }
  EXPECT_EQ(light, 0);
  cairo_surface_destroy(image);
}

}  // namespace
}  // namespace qp
