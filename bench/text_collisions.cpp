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
#include "drawing/text_layout.h"
#include "drawing/vec_file.h"

namespace qp {
namespace {

constexpr double kCollidingShare = 0.15;

struct Point {
  double x, y;  // paper millimetres
};
using Polygon = std::vector<Point>;

struct PlacedText {
  std::string text;  // UTF-8
  Polygon box;       // counter-clockwise or clockwise, convex
  double area;
  double minX, maxX, minY, maxY;
};

double SignedArea(const Polygon& p) {
  double a = 0.0;
  for (size_t i = 0; i < p.size(); ++i) {
    const Point& u = p[i];
    const Point& v = p[(i + 1) % p.size()];
    a += u.x * v.y - v.x * u.y;
  }
  return 0.5 * a;
}

// The part of convex `subject` inside convex `clip` (Sutherland-Hodgman),
// `clip` counter-clockwise.
Polygon Clip(Polygon subject, const Polygon& clip) {
  for (size_t e = 0; e < clip.size() && !subject.empty(); ++e) {
    const Point a = clip[e];
    const Point b = clip[(e + 1) % clip.size()];
    const auto inside = [&](const Point& p) { return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x) >= 0.0; };
    Polygon out;
    for (size_t i = 0; i < subject.size(); ++i) {
      const Point& p = subject[i];
      const Point& q = subject[(i + 1) % subject.size()];
      const bool pin = inside(p), qin = inside(q);
      if (pin) out.push_back(p);
      if (pin != qin) {
        const double dx = q.x - p.x, dy = q.y - p.y;
        const double den = (b.x - a.x) * dy - (b.y - a.y) * dx;
        if (den != 0.0) {
          const double t = ((b.y - a.y) * (p.x - a.x) - (b.x - a.x) * (p.y - a.y)) / den;
          out.push_back({p.x + t * dx, p.y + t * dy});
        }
      }
    }
    subject = std::move(out);
  }
  return subject;
}

std::vector<PlacedText> TextsOf(const VecDrawing& drawing) {
  const double m = drawing.settings.scale * 0.001;  // ground metres per paper millimetre
  std::vector<PlacedText> texts;
  for (const VecEntity& e : drawing.entities) {
    if (e.IsShape()) continue;
    const std::string_view text = TextOf(e.text);
    if (text.empty() || !(m > 0.0)) continue;
    const TextBox box = TextBoxOf(e.text, m);
    // The box runs to the end of the last gap; the glyphs end before it.
    const double advance = TextAdvanceMillimetres(text, e.text.width, e.text.gap);
    const double keep = advance > 0.0 ? std::max(0.0, (advance - e.text.gap) / advance) : 0.0;
    const GroundPoint& ref = box.corners[0];
    const GroundPoint& end = box.corners[1];
    const GroundPoint along{(end.x - ref.x) * keep, (end.y - ref.y) * keep};
    const GroundPoint down{box.corners[3].x - ref.x, box.corners[3].y - ref.y};
    // Paper axes: x east, y north, both from the ground coordinates.
    const auto paper = [m](double north, double east) { return Point{east / m, north / m}; };
    PlacedText t;
    t.text = GbkToUtf8(std::string(text));
    t.box = {paper(ref.x, ref.y), paper(ref.x + along.x, ref.y + along.y),
             paper(ref.x + along.x + down.x, ref.y + along.y + down.y), paper(ref.x + down.x, ref.y + down.y)};
    if (SignedArea(t.box) < 0.0) std::reverse(t.box.begin(), t.box.end());
    t.area = std::fabs(SignedArea(t.box));
    if (!(t.area > 0.0)) continue;
    t.minX = t.maxX = t.box[0].x;
    t.minY = t.maxY = t.box[0].y;
    for (const Point& p : t.box) {
      t.minX = std::min(t.minX, p.x), t.maxX = std::max(t.maxX, p.x);
      t.minY = std::min(t.minY, p.y), t.maxY = std::max(t.maxY, p.y);
    }
    texts.push_back(std::move(t));
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
      if (a.maxX <= b.minX || b.maxX <= a.minX || a.maxY <= b.minY || b.maxY <= a.minY) continue;
      const double overlap = std::fabs(SignedArea(Clip(a.box, b.box)));
      const double share = overlap / std::min(a.area, b.area);
      if (share <= kCollidingShare) continue;
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
