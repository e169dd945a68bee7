// Tells a sink which diagram texts name points. The builders list every
// point name among the movable items right after they emit it (that is what
// the view's text-move tool picks up), so a text is held back until the next
// entity shows whether the list grew by a name; the order of the entities is
// kept.
#pragma once

#include <optional>

#include "drawing/entities.h"
#include "drawing/movable_items.h"

namespace qp {

class PointNameTagger : public EntitySink {
 public:
  // `items` is the list the diagram builder fills while it draws into this sink.
  PointNameTagger(EntitySink& target, const MovableItemList& items) : target_(target), items_(items) {}

  void BeginPart(DrawingPart part) override;
  void Shape(const EntityHeader& header, const ShapeBlock& block, std::span<const GroundPoint> points) override;
  void Text(const EntityHeader& header, const TextBlock& block) override;
  // Passes on the text held back, and leaves the target in the diagram part.
  void Finish();

 private:
  struct Held {
    EntityHeader header;
    TextBlock block;
    size_t itemsBefore;
  };
  void Flush();
  void Enter(DrawingPart part);

  EntitySink& target_;
  const MovableItemList& items_;
  std::optional<Held> held_;
  DrawingPart part_ = DrawingPart::Diagram;
};

}  // namespace qp
