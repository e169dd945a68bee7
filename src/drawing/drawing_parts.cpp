#include "drawing/drawing_parts.h"

#include <cstring>

namespace qp {
namespace {

bool NamesPoint(const MovableItem& item) {
  return item.kind == MovableKind::PlaneName || item.kind == MovableKind::HeightName;
}

bool SameText(const TextBlock& a, const TextBlock& b) {
  return a.x == b.x && a.y == b.y && std::memcmp(a.text, b.text, kTextSize) == 0;
}

}  // namespace

void PointNameTagger::Enter(DrawingPart part) {
  if (part == part_) return;
  part_ = part;
  target_.BeginPart(part);
}

void PointNameTagger::Flush() {
  if (!held_) return;
  const auto& items = items_.Items();
  const bool name = items.size() > held_->itemsBefore && NamesPoint(items.back()) && items.back().isText &&
                    SameText(items.back().text, held_->block);
  Enter(name ? DrawingPart::PointNames : DrawingPart::Diagram);
  target_.Text(held_->header, held_->block);
  held_.reset();
}

void PointNameTagger::BeginPart(DrawingPart part) {
  Flush();
  Enter(part);
}

void PointNameTagger::Shape(const EntityHeader& header, const ShapeBlock& block, std::span<const GroundPoint> points) {
  Flush();
  Enter(DrawingPart::Diagram);
  target_.Shape(header, block, points);
}

void PointNameTagger::Text(const EntityHeader& header, const TextBlock& block) {
  Flush();
  held_ = Held{header, block, items_.Items().size()};
}

void PointNameTagger::Finish() {
  Flush();
  Enter(DrawingPart::Diagram);
}

}  // namespace qp
