// What the data files' fixed layout has no room for: which texts the user
// placed by hand (so the label arrangement leaves them where they are) and
// whether the declutter option is on. It is kept in a small UTF-8 text file
// beside the data file, NET.NAP -> NET.NAP.labels (a plane and a height file
// of one name keep their own), so the data file stays byte for byte what
// other installations read and write; they simply do not see the marks. A
// missing or damaged file reads as "nothing placed by hand, declutter off".
//
// A mark names the item and the position the record stored for it when it
// was placed. A mark whose item no longer holds that position (the network
// was recomputed from scratch, another installation moved the text) no
// longer counts, so stale marks never pin a text down.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "drawing/entities.h"
#include "drawing/movable_items.h"
#include "height/height_model.h"
#include "plane/plane_model.h"

namespace qp {

struct LabelMark {
  MovableKind kind = MovableKind::PlaneName;
  int index = 0;
  GroundPoint stored;  // the record's value for the item (offset in mm or position in m)
};

struct LabelMarks {
  bool declutter = false;             // "注记避让": slide colliding value texts clear
  std::vector<LabelMark> handPlaced;  // one per item at most

  bool Empty() const { return !declutter && handPlaced.empty(); }
};

// NET.NAP -> NET.NAP.labels.
std::string LabelMarksPath(const std::string& dataPath);

// The marks kept beside `dataPath`; the defaults when there are none or the
// file is damaged (unknown lines are skipped).
LabelMarks ReadLabelMarks(const std::string& dataPath);

// Writes the marks beside `dataPath` (through a temporary file), or removes
// the file when there is nothing to keep. False when it cannot be written.
bool WriteLabelMarks(const std::string& dataPath, const LabelMarks& marks);

// The value the network's layout holds for a movable item: a name's label
// offset (paper mm), a traverse or loop label position, a height difference's
// middle control point, a height point's diagram position (m). Nothing for an
// index outside the network's tables.
std::optional<GroundPoint> StoredLabelValue(const PlaneModel& model, MovableKind kind, int index);
std::optional<GroundPoint> StoredLabelValue(const HeightModel& model, MovableKind kind, int index);

// Records that the user placed the item by hand, now holding `stored`.
void MarkPlacedByHand(LabelMarks& marks, MovableKind kind, int index, GroundPoint stored);
// Whether the item was placed by hand and still holds the value it was placed at.
bool IsPlacedByHand(const LabelMarks& marks, MovableKind kind, int index, GroundPoint stored);

}  // namespace qp
