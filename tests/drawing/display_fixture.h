// Networks with closure lists for the display settings tests: the points of
// two listed traverses, the traverses and one entry of another kind; one loop of every listed kind and
// one that is not listed.
#pragma once

#include <initializer_list>
#include <memory>

#include "common/name_slot.h"
#include "height/height_network.h"
#include "plane/plane_network.h"

namespace qp::testing {

inline std::unique_ptr<PlaneNetwork> PlaneWithTraverses() {
  auto net = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*net, "NET.NAP");
  auto traverse = [](const char* o, const char* p, const char* e, const char* k, float fb, double t, int legs,
                     int32_t kind, uint8_t drawn) {
    TraverseClosure c;
    SetSlotText(c.startOrientation, o);
    SetSlotText(c.start, p);
    SetSlotText(c.end, e);
    SetSlotText(c.endOrientation, k);
    c.azimuthMisclosure = fb;
    c.relative = t;
    c.legs = legs;
    c.kind = kind;
    c.drawn = drawn;
    return c;
  };
  const char* points[] = {"A0", "A", "B", "B0", "C", "C0"};
  for (const char* name : points) SetSlotText(net->pointName[net->pointCount++], name);
  StoreTraverseClosure(*net, 0, traverse("A0", "A", "B", "B0", -1.37f, 17200.0, 4, kTraverseKind, 1));
  StoreTraverseClosure(*net, 1, traverse("X", "Y", "Z", "W", 1.0f, 1.0, 1, 5, 1));  // not a traverse: not listed
  StoreTraverseClosure(*net, 2, traverse("B0", "B", "C", "C0", 38.7f, 144600.0, 12, kTraverseKind, 0));
  net->closureCheckCount = 3;
  return net;
}

inline std::unique_ptr<HeightNetwork> HeightWithLoops() {
  auto net = std::make_unique<HeightNetwork>();
  ResetHeightNetwork(*net, "NET.NAH");
  auto loop = [&net](int i, int32_t kind, std::initializer_list<const char*> names, float w,
                     std::initializer_list<int32_t> sections, uint8_t flag) {
    LoopEntry& e = net->loops[i];
    int n = 0;
    for (const char* name : names) SetSlotText(e.names[n++], name);
    n = 0;
    for (int32_t s : sections) e.sections[n++] = s;
    e.kind = kind;
    e.closure = w;
    e.drawFlag = flag;
  };
  loop(0, kLoopKnownLine, {"K1", "K2"}, -1.75f, {2}, 1);
  loop(1, kLoopTwoLines, {"A", "B"}, -3.02f, {1, 1}, 0);
  loop(2, kLoopTriangle, {"K1", "K2", "D"}, 0.33f, {2, 1, 1}, 1);
  loop(3, kLoopNone, {"Q", "R"}, 9.0f, {1}, 1);  // not listed
  loop(4, kLoopQuadrilateral, {"K1", "A", "C", "D"}, 1.7f, {1, 1, 1, 1}, 1);
  net->loopCount = 5;
  return net;
}

}  // namespace qp::testing
