#include "drawing/entity_list.h"

#include <algorithm>
#include <climits>

#include "drawing/text_layout.h"

namespace qp {
namespace {

void Include(CanvasBox& box, CanvasPoint c) {
  box.rowMin = std::min(box.rowMin, c.row);
  box.rowMax = std::max(box.rowMax, c.row);
  box.columnMin = std::min(box.columnMin, c.column);
  box.columnMax = std::max(box.columnMax, c.column);
}

CanvasBox EmptyBox() { return CanvasBox{INT_MAX, INT_MIN, INT_MAX, INT_MIN}; }

// Grows the box by `by` pixels each way without overflowing.
void Grow(CanvasBox& box, int by) {
  if (box.rowMin > box.rowMax) return;
  box.rowMin = box.rowMin > INT_MIN + by ? box.rowMin - by : INT_MIN;
  box.columnMin = box.columnMin > INT_MIN + by ? box.columnMin - by : INT_MIN;
  box.rowMax = box.rowMax < INT_MAX - by ? box.rowMax + by : INT_MAX;
  box.columnMax = box.columnMax < INT_MAX - by ? box.columnMax + by : INT_MAX;
}

}  // namespace

void EntityList::Clear() {
  entries_.clear();
  points_.clear();
}

void EntityList::Shape(const EntityHeader& header, const ShapeBlock& block, std::span<const GroundPoint> points) {
  Entry e{header, false, block, {}, points_.size(), points.size(), EmptyBox()};
  points_.insert(points_.end(), points.begin(), points.end());
  for (const GroundPoint& p : points) Include(e.box, MapToCanvas(sheet_, p));
  // Curves swing a little beyond their control points; thick pens reach
  // beyond the line: a margin keeps both inside the box.
  // Far points map to the ends of the int range: the span is taken wide.
  const long long span = std::max(static_cast<long long>(e.box.rowMax) - e.box.rowMin,
                                  static_cast<long long>(e.box.columnMax) - e.box.columnMin);
  const int swing = static_cast<int>(std::min<long long>(span / 4, 1 << 20));
  Grow(e.box, 64 + (block.type >= 3 && block.type != kShapeEllipse ? swing : 0));
  entries_.push_back(e);
}

void EntityList::Text(const EntityHeader& header, const TextBlock& block) {
  Entry e{header, true, {}, block, 0, 0, EmptyBox()};
  const TextBox box = TextBoxOf(block, sheet_.GroundPerMillimetre());
  for (const GroundPoint& p : box.corners) Include(e.box, MapToCanvas(sheet_, p));
  Grow(e.box, 16);
  entries_.push_back(e);
}

void EntityList::Send(EntitySink& sink, const Entry& e) const {
  if (e.isText)
    sink.Text(e.header, e.text);
  else
    sink.Shape(e.header, e.shape, std::span<const GroundPoint>(points_.data() + e.firstPoint, e.pointCount));
}

void EntityList::Replay(EntitySink& sink) const {
  for (const Entry& e : entries_) Send(sink, e);
}

void EntityList::Replay(EntitySink& sink, const CanvasBox& visible) const {
  for (const Entry& e : entries_)
    if (e.box.Meets(visible)) Send(sink, e);
}

}  // namespace qp
