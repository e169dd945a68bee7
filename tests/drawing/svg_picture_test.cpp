// The SVG picture of a small hand-made sheet: well-formed, sized as the
// paper, drawn where the renderer draws, texts as UTF-8 characters.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "drawing/svg_picture.h"
#include "support/test_files.h"

namespace qp {
namespace {

// Tags balance, attributes are quoted and every '&' starts an entity.
bool WellFormed(const std::string& xml, std::string* why) {
  std::vector<std::string> open;
  for (size_t i = 0; i < xml.size(); ++i) {
    if (xml[i] == '&') {
      const size_t end = xml.find(';', i);
      const std::string entity = end == std::string::npos ? "" : xml.substr(i, end - i + 1);
      if (entity != "&amp;" && entity != "&lt;" && entity != "&gt;" && entity != "&quot;" && entity != "&apos;")
        return *why = "bad entity at " + std::to_string(i), false;
      continue;
    }
    if (xml[i] != '<') continue;
    const size_t close = xml.find('>', i);
    if (close == std::string::npos) return *why = "unclosed tag", false;
    const std::string tag = xml.substr(i + 1, close - i - 1);
    i = close;
    if (tag.front() == '?' || tag.back() == '/') continue;
    if (tag.find('<') != std::string::npos) return *why = "'<' inside a tag", false;
    if (std::count(tag.begin(), tag.end(), '"') % 2) return *why = "unbalanced quotes in <" + tag + ">", false;
    const std::string name = tag.substr(tag.front() == '/', tag.find_first_of(" \n/", 1) - (tag.front() == '/'));
    if (tag.front() != '/') {
      open.push_back(name);
    } else if (open.empty() || open.back() != name) {
      return *why = "</" + name + "> does not close <" + (open.empty() ? "" : open.back()) + ">", false;
    } else {
      open.pop_back();
    }
  }
  return open.empty() || (*why = "<" + open.back() + "> left open", false);
}

// A default sheet (580 x 540 mm of paper, south-west corner 8000, 1600) with
// a line, a filled triangle, an ellipse, a closed curve and texts.
void DrawSample(EntitySink& sink, SettingsBlock&) {
  auto block = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*block);
  EntityEmitter e(sink, *SheetGeometryOf(*block));
  e.Polyline(EntityCategory::Lines, DrawStyle::Make(0, 6, 0), std::vector<GroundPoint>{{8000, 1600}, {8500, 2100}});
  e.Polygon(EntityCategory::Symbols, DrawStyle::Make(0, 1, 0, 15),
            std::vector<GroundPoint>{{8200, 1800}, {8200, 1850}, {8250, 1825}});
  const GroundPoint box[4] = {{8300, 1700}, {8300, 1650}, {8400, 1650}, {8400, 1700}};
  e.Ellipse(EntityCategory::Lines, DrawStyle::Make(0, 1, 1), box);
  e.Spline(EntityCategory::Texts, DrawStyle::Make(1, 3, 12, 50),
           std::vector<GroundPoint>{{8100, 1900}, {8150, 2000}, {8050, 2050}, {8000, 1950}}, true);
  e.Text(EntityCategory::Texts, {8450, 1700}, 900, TextFont{{}, 8.f, 4.f, 0.5f}, Rgb{0, 0, 0}, Gbk("测量控制网"));
  e.Text(EntityCategory::Texts, {8300, 1950}, 0, TextFont{{}, 4.f, 2.f, 0.2f}, Rgb{255, 0, 0}, Gbk("A<&>B 北"));
}

TEST(SvgPicture, TheSheetAsAWellFormedPicture) {
  auto block = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*block);
  std::string error;
  const std::string svg = SvgPictureText(*block, DrawSample, &error);
  ASSERT_FALSE(svg.empty()) << GbkToUtf8(error);
  std::string why;
  EXPECT_TRUE(WellFormed(svg, &why)) << why;
  // 12752 x 13700 pixels at 600 dpi.
  EXPECT_NE(svg.find("width=\"539.835mm\" height=\"579.967mm\" viewBox=\"0 0 12752 13700\""), std::string::npos)
      << svg.substr(0, 400);
  // The line from the south-west corner: canvas (709, 472) -> screen (472, 13700 - 709 - 1).
  EXPECT_NE(svg.find("points=\"472,12990 "), std::string::npos);
  EXPECT_NE(svg.find("stroke-width=\"19\""), std::string::npos);  // weight 6 at 600 dpi
  for (const char* piece : {">测量控制网</text>", ">A&lt;&amp;&gt;B 北</text>", "'宋体'",
                            "rotate(-90)", "fill=\"#ff0000\"", "<polygon fill=\"#ffffff\""})
    EXPECT_NE(svg.find(piece), std::string::npos) << piece;
}

TEST(SvgPicture, WrittenWholeOrNotAtAll) {
  testing::TempDir dir;
  auto block = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*block);
  std::string error;
  ASSERT_TRUE(WriteSvgPicture(dir.File("sheet.svg"), *block, DrawSample, &error));
  EXPECT_EQ(testing::ReadBytes(dir.File("sheet.svg")), SvgPictureText(*block, DrawSample));

  EXPECT_FALSE(WriteSvgPicture(dir.File("missing/sheet.svg"), *block, DrawSample, &error));
  EXPECT_NE(error.find(Gbk("无法写入图形文件")), std::string::npos);

  // A damaged sheet is refused before anything is drawn or written.
  block->scale = 0;
  bool drawn = false;
  error.clear();
  EXPECT_FALSE(WriteSvgPicture(dir.File("damaged.svg"), *block, [&](EntitySink&, SettingsBlock&) { drawn = true; }, &error));
  EXPECT_FALSE(drawn);
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(FileExists(dir.File("damaged.svg")));
}

}  // namespace
}  // namespace qp
