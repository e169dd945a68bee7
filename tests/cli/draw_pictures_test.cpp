// `quorvex draw` with every picture of a computed network: the SVG holds each
// text of the .vec as one element with the same string, the PDF and PNG
// open, the DXF sorts its entities onto the layers and uses the Song style;
// pictures that would overwrite an input, or a bad resolution, are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <vector>

#include "cli/draw_command.h"
#include "cli/height_command.h"
#include "cli/plane_command.h"
#include "common/gbk_text.h"
#include "drawing/dxf_picture.h"
#include "drawing/text_layout.h"
#include "drawing/vec_file.h"
#include "computed_example.h"
#include "quorvex_program.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::ScriptedPlatform;
using testing::SourcePath;
using testing::TempDir;

std::vector<std::string> VecTexts(const std::string& bytes) {
  const auto parsed =
      ParseVecEntities(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
  std::vector<std::string> texts;
  if (!parsed) return texts;
  for (const auto& e : parsed->entities)
    if (e.header.kind == static_cast<uint8_t>(EntityKind::Text)) texts.push_back(GbkToUtf8(TextOf(e.text)));
  return texts;
}

std::string Unescaped(std::string s) {
  for (const auto& [from, to] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}})
    s = std::regex_replace(s, std::regex(from), to);
  return s;
}

std::vector<std::string> SvgTexts(const std::string& svg) {
  std::vector<std::string> texts;
  const std::regex pattern("<text[^>]*>([^<]*)</text>");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), pattern); it != std::sregex_iterator(); ++it)
    texts.push_back(Unescaped((*it)[1]));
  return texts;
}

// The DXF as (group code, value) pairs.
std::vector<std::pair<int, std::string>> DxfPairs(const std::string& dxf) {
  std::vector<std::pair<int, std::string>> pairs;
  std::istringstream in(dxf);
  std::string code, value;
  while (std::getline(in, code) && std::getline(in, value)) {
    auto trim = [](std::string& s) { s.erase(0, s.find_first_not_of(" \r")), s.erase(s.find_last_not_of(" \r") + 1); };
    trim(code), trim(value);
    pairs.push_back({std::stoi(code), value});
  }
  return pairs;
}

struct DxfSummary {
  std::map<std::string, std::map<std::string, int>> entitiesByLayer;  // layer -> entity type -> count
  std::vector<std::string> layers;
  std::string styleFontFile, styleFace;
  int whiteHatches = 0;  // filled with true-colour white
};

DxfSummary Summarise(const std::string& dxf) {
  DxfSummary s;
  std::string entity, section, table;
  for (const auto& [code, value] : DxfPairs(dxf)) {
    if (code == 0) entity = value;
    if (code == 2 && entity == "SECTION") section = value;
    if (code == 2 && entity == "TABLE") table = value;
    if (section == "TABLES" && entity == "LAYER" && code == 2) s.layers.push_back(value);
    if (section == "TABLES" && entity == "STYLE" && code == 3) s.styleFontFile = value;
    if (section == "TABLES" && entity == "STYLE" && code == 1000) s.styleFace = GbkToUtf8(value);
    if (section == "ENTITIES" && code == 8) ++s.entitiesByLayer[value][entity];
    if (section == "ENTITIES" && entity == "HATCH" && code == 420 && value == "16777215") ++s.whiteHatches;
  }
  return s;
}

// The texts on the names layer, sorted.
std::vector<std::string> NamesLayerTexts(const std::string& dxf) {
  std::vector<std::string> names;
  std::string entity, layer, text;
  for (const auto& [code, value] : DxfPairs(dxf)) {
    if (code == 0) {
      if (entity == "TEXT" && layer == kDxfNameLayer) names.push_back(GbkToUtf8(text));
      entity = value, layer.clear(), text.clear();
    }
    if (code == 8) layer = value;
    if (code == 1) text = value;
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(DrawPictures, EveryPictureOfTheComputedExamples) {
  struct Case {
    const char* example;
    bool plane;
    int kind;
    std::vector<std::string> names;
    int symbols;  // closed point symbols on the symbols layer, each filled by a hatch
    int white;    // of them filled white (△, □ and ○ around a point's dot)
  };
  const Case cases[] = {
      {"plane/triangulation.txt", true, 2, {"GP01", "GP02", "N2", "N3", "城北"}, 10, 5},
      {"plane/triangulation.txt", true, 5, {"GP01", "GP02", "N2", "N3", "城北"}, 10, 5},
      {"height/levelling.txt", false, 1,
       {"BM1(52.3140)", "BM2(48.9025)", "BM3(61.0478)", "J1", "J2", "J3", "J4", "Z1", "Z2", "Z3", "Z4", "Z5", "Z6",
        "Z7"},
       14, 14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.example) + " kind " + std::to_string(c.kind));
    TempDir dir;
    ScriptedPlatform platform;
    CommandOptions compute;
    compute.dataPath = dir.File(c.plane ? "N.NAP" : "N.NAH");
    compute.inputPath = SourcePath(std::string("examples/") + c.example);
    ASSERT_EQ(c.plane ? RunPlaneCommand(compute, platform) : RunHeightCommand(compute, platform), 0)
        << platform.LastMessageUtf8();
    const std::string data = ReadBytes(compute.dataPath);

    CommandOptions draw;
    draw.dataPath = compute.dataPath;
    draw.kind = c.kind;
    draw.svgPath = dir.File("n.svg");
    draw.pdfPath = dir.File("n.pdf");
    draw.pngPath = dir.File("n.png");
    draw.dpi = 150;
    draw.dxfPath = dir.File("n.dxf");
    ASSERT_EQ(RunDrawCommand(draw, platform), 0) << platform.LastMessageUtf8();
    EXPECT_EQ(ReadBytes(compute.dataPath), data);

    // One text element per text entity, holding the same string.
    std::vector<std::string> vec = VecTexts(ReadBytes(dir.File("N.vec"))), svg = SvgTexts(ReadBytes(*draw.svgPath));
    ASSERT_FALSE(vec.empty());
    std::sort(vec.begin(), vec.end());
    std::sort(svg.begin(), svg.end());
    EXPECT_EQ(svg, vec);

    EXPECT_EQ(ReadBytes(*draw.pdfPath).substr(0, 5), "%PDF-");
    EXPECT_EQ(ReadBytes(*draw.pngPath).substr(1, 3), "PNG");

    const std::string dxf = ReadBytes(*draw.dxfPath);
    const DxfSummary s = Summarise(dxf);
    EXPECT_EQ(s.layers, (std::vector<std::string>{"0", kDxfLineLayer, kDxfSymbolLayer, kDxfNameLayer, kDxfValueLayer,
                                                  kDxfFrameLayer}));
    EXPECT_EQ(s.styleFontFile, kDxfSongFontFile);
    EXPECT_EQ(s.styleFace, "宋体");
    EXPECT_EQ(NamesLayerTexts(dxf), c.names);
    auto count = [&](const char* layer, const char* type) {
      auto l = s.entitiesByLayer.find(layer);
      if (l == s.entitiesByLayer.end()) return 0;
      auto t = l->second.find(type);
      return t == l->second.end() ? 0 : t->second;
    };
    EXPECT_EQ(count(kDxfSymbolLayer, "HATCH"), c.symbols);
    EXPECT_EQ(s.whiteHatches, c.white);
    EXPECT_GT(count(kDxfValueLayer, "TEXT"), 0);
    EXPECT_GT(count(kDxfFrameLayer, "TEXT"), 0);
    EXPECT_GT(count(kDxfLineLayer, "LWPOLYLINE"), 0);
    // Nothing is left on the default layer, and no text among the lines and symbols.
    EXPECT_EQ(s.entitiesByLayer.count("0"), 0u);
    EXPECT_EQ(count(kDxfLineLayer, "TEXT") + count(kDxfSymbolLayer, "TEXT"), 0);
  }
}

TEST(DrawPictures, PicturesOverAnInputOrABadResolutionAreRefused) {
  TempDir dir;
  const std::string nap = dir.File("T.NAP");
  ASSERT_NO_FATAL_FAILURE(testing::ComputeTriangulation(nap));
  const std::string data = ReadBytes(nap);
  const std::string report = ReadBytes(dir.File("T统计检验.txt"));
  struct Case {
    std::string arguments;
    int status;
    const char* written;  // the picture file expected, or null
  };
  const std::string draw = "draw " + nap;
  const Case cases[] = {
      {draw + " --png " + dir.File("t.png") + " --dpi 72", 0, "t.png"},
      {draw + " --pdf " + dir.File("t.pdf"), 0, "t.pdf"},
      {draw + " --png " + nap, 1, nullptr},
      {draw + " --pdf " + dir.File("T.vec"), 1, nullptr},
      {draw + " --pdf " + dir.File("T统计检验.txt"), 1, nullptr},
      {draw + " --png " + dir.File("same") + " --svg " + dir.File("same"), 1, nullptr},
      {draw + " --png " + dir.File("x.png") + " --dpi 49", 2, nullptr},
      {draw + " --png " + dir.File("x.png") + " --dpi 1201", 2, nullptr},
      {draw + " --png " + dir.File("x.png") + " --dpi 3e2", 2, nullptr},
      {draw + " --dpi 300", 2, nullptr},
      {draw + " --png " + dir.File("x.png") + " --dpi 300 --dpi 200", 2, nullptr},
      {draw + " --pdf", 2, nullptr},
      {draw + " --png " + dir.File("missing/x.png"), 1, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    for (const char* name : {"t.png", "t.pdf", "same", "x.png"}) std::filesystem::remove(dir.File(name));
    EXPECT_EQ(testing::RunQuorvexProgram(c.arguments), c.status);
    if (c.written) {
      EXPECT_GT(std::filesystem::file_size(dir.File(c.written)), 100u);
    }
    for (const char* name : {"same", "x.png"}) EXPECT_FALSE(std::filesystem::exists(dir.File(name))) << name;
  }
  // Usage errors are written in UTF-8 like every other terminal text.
  EXPECT_NE(testing::QuorvexProgramErrors(draw + " --png " + dir.File("x.png") + " --dpi 49", dir.File("err.txt"))
                .find("--dpi 后应为 50 到 1200 之间的分辨率: 49"),
            std::string::npos);
  std::filesystem::remove(dir.File("err.txt"));
  EXPECT_EQ(ReadBytes(nap), data);
  EXPECT_EQ(ReadBytes(dir.File("T统计检验.txt")), report);
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
  }
}

}  // namespace
}  // namespace qp
