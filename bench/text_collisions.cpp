// Counts the texts of a drawing that overprint one another: every text of a
// .vec file as the rectangle its glyphs cover on paper (from its reference
// point along its direction, the advance of its characters less the gap
// after the last one, by the character height), and every pair of texts
// whose rectangles overlap by more than 15 % of the smaller one.
//
//   text_collisions [--pairs] FILE.vec...
//
// Prints one line per file, "<file> <texts> texts <pairs> pairs", and with
// --pairs each colliding pair (UTF-8) with its overlap in % of the smaller
// text. The measure the sheets' text placement is judged by; see
// bench/text_collisions.sh for the figures of the examples.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/gbk_text.h"
#include "drawing/text_footprint.h"
#include "drawing/text_layout.h"
#include "drawing/vec_file.h"

namespace qp {
namespace {

struct PlacedText {
  std::string text;  // UTF-8
  TextFootprint footprint;
};

std::vector<PlacedText> TextsOf(const VecDrawing& drawing) {
  const double m = drawing.settings.scale * 0.001;  // ground metres per paper millimetre
  std::vector<PlacedText> texts;
  for (const VecEntity& e : drawing.entities) {
    if (e.IsShape()) continue;
    const auto footprint = TextFootprintOf(e.text, m);
    if (!footprint) continue;
    texts.push_back({GbkToUtf8(std::string(TextOf(e.text))), *footprint});
  }
  return texts;
}

int Count(const char* path, bool listPairs) {
  const auto drawing = ReadVecFile(path);
  if (!drawing) {
    std::fprintf(stderr, "%s: not a vector drawing file\n", path);
    return -1;
  }
  const std::vector<PlacedText> texts = TextsOf(*drawing);
  int pairs = 0;
  for (size_t i = 0; i < texts.size(); ++i) {
    for (size_t j = i + 1; j < texts.size(); ++j) {
      const PlacedText& a = texts[i];
      const PlacedText& b = texts[j];
      if (!Overprint(a.footprint, b.footprint)) continue;
      const double share = OverlapShare(a.footprint, b.footprint);
      ++pairs;
      if (listPairs) std::printf("  \"%s\" / \"%s\" %.0f%%\n", a.text.c_str(), b.text.c_str(), 100.0 * share);
    }
  }
  std::printf("%s %zu texts %d pairs\n", path, texts.size(), pairs);
  return pairs;
}

}  // namespace
}  // namespace qp

int main(int argc, char** argv) {
  bool listPairs = false;
  int first = 1;
  if (argc > 1 && std::strcmp(argv[1], "--pairs") == 0) listPairs = true, first = 2;
  if (first >= argc) {
    std::fprintf(stderr, "usage: text_collisions [--pairs] FILE.vec...\n");
    return 2;
  }
  int total = 0;
  bool failed = false;
  for (int i = first; i < argc; ++i) {
    const int n = qp::Count(argv[i], listPairs);
    if (n < 0) failed = true;
    else total += n;
  }
  if (argc - first > 1) std::printf("total %d pairs\n", total);
  return failed ? 1 : 0;
}
