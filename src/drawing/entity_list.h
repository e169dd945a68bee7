// A drawing kept as its entity stream: the view records the diagram and the
// frame once when the document changes and replays them on every paint,
// passing on only the entities whose canvas box meets the part of the
// canvas being painted, so a full-capacity network repaints quickly at any
// zoom.
#pragma once

#include <vector>

#include "drawing/entities.h"

namespace qp {

struct CanvasBox {
  int rowMin = 0, rowMax = -1, columnMin = 0, columnMax = -1;
  bool Meets(const CanvasBox& o) const {
    return rowMin <= o.rowMax && o.rowMin <= rowMax && columnMin <= o.columnMax && o.columnMin <= columnMax;
  }
};

class EntityList : public EntitySink {
 public:
  explicit EntityList(const SheetGeometry& sheet) : sheet_(sheet) {}

  void Shape(const EntityHeader& header, const ShapeBlock& block, std::span<const GroundPoint> points) override;
  void Text(const EntityHeader& header, const TextBlock& block) override;

  size_t Size() const { return entries_.size(); }
  void Clear();
  // Every entity in order.
  void Replay(EntitySink& sink) const;
  // The entities whose box meets `visible` (canvas pixels), in order.
  void Replay(EntitySink& sink, const CanvasBox& visible) const;

 private:
  struct Entry {
    EntityHeader header;
    bool isText;
    ShapeBlock shape;  // when !isText
    TextBlock text;    // when isText
    size_t firstPoint, pointCount;
    CanvasBox box;
  };
  void Send(EntitySink& sink, const Entry& e) const;

  SheetGeometry sheet_;
  std::vector<Entry> entries_;
  std::vector<GroundPoint> points_;
};

}  // namespace qp
