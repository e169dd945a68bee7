#include "drawing/movable_items.h"

namespace qp {
namespace {

// Whether p lies inside the convex quadrilateral q[0..3] (either winding).
bool Inside(const GroundPoint (&q)[5], GroundPoint p) {
  int sign = 0;
  for (int i = 0; i < 4; ++i) {
    const GroundPoint a = q[i], b = q[i + 1];
    const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
    const int s = cross > 0 ? 1 : cross < 0 ? -1 : 0;
    if (s == 0) continue;
    if (sign == 0) sign = s;
    else if (s != sign) return false;
  }
  return true;
}

}  // namespace

void MovableItemList::AddText(MovableKind kind, int index, const TextBlock& block, double m) {
  const TextBox box = TextBoxOf(block, m);
  MovableItem item{kind, index, GroundPoint{block.x, block.y}, {}};
  for (int i = 0; i < 5; ++i) item.outline[i] = box.corners[i];
  item.isText = true;
  item.text = block;
  items_.push_back(item);
}

void MovableItemList::AddSymbol(MovableKind kind, int index, GroundPoint c, double h) {
  items_.push_back(MovableItem{kind, index, c,
                               {{c.x + h, c.y - h}, {c.x + h, c.y + h}, {c.x - h, c.y + h}, {c.x - h, c.y - h},
                                {c.x + h, c.y - h}}});
}

bool ItemContains(const MovableItem& item, GroundPoint p) { return Inside(item.outline, p); }

int MovableItemList::HitTest(GroundPoint p) const {
  for (int i = static_cast<int>(items_.size()) - 1; i >= 0; --i)
    if (ItemContains(items_[i], p)) return i;
  return -1;
}

}  // namespace qp
