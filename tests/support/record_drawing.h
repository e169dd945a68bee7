// The drawing on a record, for tests that set up and inspect records: the
// model is built from the record, drawn or changed, and a changed layout is
// put back, as the holders of a record do.
#pragma once

#include <optional>
#include <utility>

#include "drawing/height_item_moves.h"
#include "drawing/network_drawing.h"
#include "height/height_model_record.h"
#include "plane/plane_model_record.h"

namespace qp::testing {

inline PlaneModel ModelOf(const PlaneNetwork& net) { return PlaneModelFromRecord(net); }
inline HeightModel ModelOf(const HeightNetwork& net) { return HeightModelFromRecord(net); }
inline void PutLayout(const PlaneModel& model, PlaneNetwork& net) { PutPlaneLayout(model, net); }
inline void PutLayout(const HeightModel& model, HeightNetwork& net) { PutHeightLayout(model, net); }

// Runs `change` on the record's model and puts the layout back; gives what
// `change` gives.
template <class Record, class Change>
decltype(auto) ChangeLayout(Record& net, Change&& change) {
  struct PutBack {
    Record& net;
    decltype(ModelOf(net)) model;
    ~PutBack() { PutLayout(model, net); }
  } held{net, ModelOf(net)};
  return std::forward<Change>(change)(held.model);
}

inline void MoveRecordItem(HeightNetwork& net, const MovableItem& item, GroundPoint to, double m) {
  ChangeLayout(net, [&](HeightModel& model) { StoreMovedHeightItem(model, item, to, m); });
}

inline void SetRecordCurve(HeightNetwork& net, int observation, const GroundPoint interior[3]) {
  ChangeLayout(net, [&](HeightModel& model) { StoreCurveControlPoints(model, observation, interior); });
}

inline bool DrawRecordSheet(EntitySink& sink, const SettingsBlock& settings, const PlaneNetwork* plane,
                            const HeightNetwork* height, const DrawContext& context,
                            MovableItemList* items = nullptr) {
  if (plane) return DrawNetworkSheet(sink, settings, PlaneModelFromRecord(*plane), context, items);
  if (height) return DrawNetworkSheet(sink, settings, HeightModelFromRecord(*height), context, items);
  return DrawNetworkSheet(sink, settings, DrawnNetwork{}, context, items);
}

}  // namespace qp::testing
