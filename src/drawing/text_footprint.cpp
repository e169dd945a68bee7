#include "drawing/text_footprint.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "drawing/text_layout.h"

namespace qp {
namespace {

using Polygon = std::vector<PaperPoint>;

// The part of convex `subject` inside the convex, counter-clockwise `clip`
// (Sutherland-Hodgman).
Polygon Clip(Polygon subject, std::span<const PaperPoint> clip) {
  for (size_t e = 0; e < clip.size() && !subject.empty(); ++e) {
    const PaperPoint a = clip[e];
    const PaperPoint b = clip[(e + 1) % clip.size()];
    const auto inside = [&](const PaperPoint& p) { return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x) >= 0.0; };
    Polygon out;
    for (size_t i = 0; i < subject.size(); ++i) {
      const PaperPoint& p = subject[i];
      const PaperPoint& q = subject[(i + 1) % subject.size()];
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

}  // namespace

double SignedPolygonArea(std::span<const PaperPoint> p) {
  double a = 0.0;
  for (size_t i = 0; i < p.size(); ++i) {
    const PaperPoint& u = p[i];
    const PaperPoint& v = p[(i + 1) % p.size()];
    a += u.x * v.y - v.x * u.y;
  }
  return 0.5 * a;
}

std::optional<TextFootprint> TextFootprintOf(const TextBlock& block, double m) {
  const std::string_view text = TextOf(block);
  if (text.empty() || !(m > 0.0) || !std::isfinite(m)) return std::nullopt;
  const TextBox box = TextBoxOf(block, m);
  // The box runs to the end of the last gap; the glyphs end before it.
  const double advance = TextAdvanceMillimetres(text, block.width, block.gap);
  const double keep = advance > 0.0 ? std::max(0.0, (advance - block.gap) / advance) : 0.0;
  const GroundPoint& ref = box.corners[0];
  const GroundPoint& end = box.corners[1];
  const GroundPoint along{(end.x - ref.x) * keep, (end.y - ref.y) * keep};
  const GroundPoint down{box.corners[3].x - ref.x, box.corners[3].y - ref.y};
  const auto paper = [m](double north, double east) { return PaperPoint{east / m, north / m}; };
  TextFootprint f;
  f.box = {paper(ref.x, ref.y), paper(ref.x + along.x, ref.y + along.y),
           paper(ref.x + along.x + down.x, ref.y + along.y + down.y), paper(ref.x + down.x, ref.y + down.y)};
  if (SignedPolygonArea(f.box) < 0.0) std::reverse(f.box.begin(), f.box.end());
  f.area = std::fabs(SignedPolygonArea(f.box));
  if (!(f.area > 0.0) || !std::isfinite(f.area)) return std::nullopt;
  f.minX = f.maxX = f.box[0].x;
  f.minY = f.maxY = f.box[0].y;
  for (const PaperPoint& p : f.box) {
    f.minX = std::min(f.minX, p.x), f.maxX = std::max(f.maxX, p.x);
    f.minY = std::min(f.minY, p.y), f.maxY = std::max(f.maxY, p.y);
  }
  return f;
}

double OverlapArea(std::span<const PaperPoint> subject, const TextFootprint& footprint) {
  if (subject.size() < 3) return 0.0;
  Polygon s(subject.begin(), subject.end());
  if (SignedPolygonArea(s) < 0.0) std::reverse(s.begin(), s.end());
  return std::fabs(SignedPolygonArea(Clip(std::move(s), footprint.box)));
}

double OverlapArea(const TextFootprint& a, const TextFootprint& b) {
  if (!a.BoundsMeet(b)) return 0.0;
  return OverlapArea(a.box, b);
}

double OverlapShare(const TextFootprint& a, const TextFootprint& b) {
  const double smaller = std::min(a.area, b.area);
  return smaller > 0.0 ? OverlapArea(a, b) / smaller : 0.0;
}

bool SegmentMeets(PaperPoint p, PaperPoint q, const TextFootprint& f) {
  if (std::max(p.x, q.x) < f.minX || std::min(p.x, q.x) > f.maxX || std::max(p.y, q.y) < f.minY ||
      std::min(p.y, q.y) > f.maxY) {
    return false;
  }
  // Clip the segment against each edge of the convex box (Cyrus-Beck).
  double t0 = 0.0, t1 = 1.0;
  const double dx = q.x - p.x, dy = q.y - p.y;
  for (size_t e = 0; e < f.box.size(); ++e) {
    const PaperPoint a = f.box[e];
    const PaperPoint b = f.box[(e + 1) % f.box.size()];
    // Inside is to the left of a->b: cross(b - a, x - a) >= 0.
    const double ex = b.x - a.x, ey = b.y - a.y;
    const double start = ex * (p.y - a.y) - ey * (p.x - a.x);
    const double rate = ex * dy - ey * dx;
    if (rate == 0.0) {
      if (start < 0.0) return false;
      continue;
    }
    const double t = -start / rate;
    if (rate > 0.0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  return true;
}

}  // namespace qp
