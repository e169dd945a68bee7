// The items of a diagram that the view's text-move and point-move tools pick
// up: point names, closure labels, the height diagram's difference texts and
// point symbols. The diagram builders list them while they draw, with the
// same geometry, so what the mouse hits is what is on the sheet.
#pragma once

#include <vector>

#include "drawing/entities.h"
#include "drawing/text_layout.h"

namespace qp {

enum class MovableKind {
  PlaneName,         // a plane point's name: stored as its LabelOffset (mm)
  TraverseLabel,     // a plane traverse closure text: its label position (m)
  HeightName,        // a height point's name: its LabelOffset (mm)
  DifferenceText,    // the text of a height difference
  LoopLabel,         // a height loop closure text: its label position (m)
  HeightPoint,       // a height point's symbol: its diagram position (m)
};

struct MovableItem {
  MovableKind kind;
  int index;                // point, traverse, observation or loop index in its record
  GroundPoint reference;    // the point that moves with the mouse (text: its top-left corner)
  GroundPoint outline[5];   // closed box around the item, on the ground
  bool isText = false;
  TextBlock text{};         // a text item as it was drawn (redrawn highlighted under the mouse)
};

// Whether `p` lies inside the item's outline.
bool ItemContains(const MovableItem& item, GroundPoint p);

class MovableItemList {
 public:
  // A text item, boxed as the text is laid out.
  void AddText(MovableKind kind, int index, const TextBlock& block, double m);
  // A point symbol, boxed by `halfSize` metres around its centre.
  void AddSymbol(MovableKind kind, int index, GroundPoint centre, double halfSize);
  const std::vector<MovableItem>& Items() const { return items_; }
  // The last item whose box contains `p` (the one drawn on top), or -1.
  int HitTest(GroundPoint p) const;

 private:
  std::vector<MovableItem> items_;
};

}  // namespace qp
