#include "plane/plane_network.h"

#include <cstring>

#include "common/byte_fields.h"
#include "common/diagram_fonts.h"
#include "common/finite_values.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "plane/plane_network_layout.h"

namespace qp {
namespace {

uint8_t* TableBytes(PlaneNetwork& net) {
  return reinterpret_cast<uint8_t*>(&net) + kTraverseTableOffset;
}
const uint8_t* TableBytes(const PlaneNetwork& net) {
  return reinterpret_cast<const uint8_t*>(&net) + kTraverseTableOffset;
}

// Visits every field of a traverse entry with its byte offset in the entry:
// the four names of 11 bytes, then the values, the drawing flag last.
template <typename Closure, typename Visit>
void ForEachTraverseField(Closure& t, Visit visit) {
  visit(0, t.startOrientation);
  visit(11, t.start);
  visit(22, t.end);
  visit(33, t.endOrientation);
  visit(44, t.azimuthMisclosure);
  visit(48, t.fx);
  visit(52, t.fy);
  visit(56, t.legs);
  visit(60, t.kind);
  visit(64, t.length);
  visit(72, t.relative);
  visit(80, t.labelX);
  visit(88, t.labelY);
  visit(96, t.drawn);
}

}  // namespace

int ClampedCount(int32_t count, int capacity) {
  if (count < 0) return 0;
  return count > capacity ? capacity : static_cast<int>(count);
}

int TraverseCount(const PlaneNetwork& net) { return ClampedCount(net.closureCheckCount, kTraverseTableSize); }

TraverseClosure ReadTraverseClosure(const PlaneNetwork& net, int index) {
  TraverseClosure t;
  if (index < 0 || index >= kTraverseTableSize) return t;
  const uint8_t* e = TableBytes(net) + static_cast<size_t>(index) * kTraverseEntrySize;
  ForEachTraverseField(t, [e](size_t at, auto& field) { std::memcpy(&field, e + at, sizeof field); });
  return t;
}

void StoreTraverseClosure(PlaneNetwork& net, int index, const TraverseClosure& t) {
  if (index < 0 || index >= kTraverseTableSize) return;
  uint8_t* e = TableBytes(net) + static_cast<size_t>(index) * kTraverseEntrySize;
  std::memset(e, 0, kTraverseEntrySize);
  ForEachTraverseField(t, [e](size_t at, const auto& field) { std::memcpy(e + at, &field, sizeof field); });
}

void StoreTraverseLabel(PlaneNetwork& net, int index, double labelX, double labelY, bool drawn) {
  if (index < 0 || index >= kTraverseTableSize) return;
  uint8_t* e = TableBytes(net) + static_cast<size_t>(index) * kTraverseEntrySize;
  PutField(e, 80, labelX);
  PutField(e, 88, labelY);
  if ((e[96] != 0) != drawn) e[96] = drawn ? 1 : 0;
}

int DropNonFiniteTraverses(PlaneNetwork& net) {
  const int count = TraverseCount(net);
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    const TraverseClosure t = ReadTraverseClosure(net, i);
    if (!AllFinite({t.azimuthMisclosure, t.fx, t.fy, t.length, t.relative, t.labelX, t.labelY})) continue;
    // Entries move as they are, bytes and all.
    if (kept != i) {
      std::memmove(TableBytes(net) + static_cast<size_t>(kept) * kTraverseEntrySize,
                   TableBytes(net) + static_cast<size_t>(i) * kTraverseEntrySize, kTraverseEntrySize);
    }
    ++kept;
  }
  if (kept == count) return 0;
  std::memset(TableBytes(net) + static_cast<size_t>(kept) * kTraverseEntrySize, 0,
              static_cast<size_t>(count - kept) * kTraverseEntrySize);
  net.closureCheckCount = kept;
  return count - kept;
}

void ClearClosureChecks(PlaneNetwork& net) {
  std::memset(net.resultRegionC, 0, sizeof net.resultRegionC);
  net.closureCheckCount = 0;
}


void ResetPlaneNetwork(PlaneNetwork& net, std::string_view dataFilePath) {
  std::memset(&net, 0, sizeof net);
  net.calcMode = kReducedObservations;
  net.reservedSingle = 1.0f;
  net.refraction = 0.14;
  net.projectionHeight = 0.0;
  net.yOffset = 500000.0;
  net.lastComputedPointCount = -1;
  SetSlotText(net.networkName, Gbk("控制网名"));
  SetSlotText(net.dataFilePath, dataFilePath);
  net.directionError = 1.8;
  net.distanceFixedError = 3.0;
  net.distanceScaleError = 2.0;
  net.closureMode = 1;
  net.verticalAngleKind = 0;
  net.distanceColumnOrder = 0;

  net.limits[kLimitPoints] = kMaxPlanePoints;
  net.limits[kLimitDirections] = kMaxDirections;
  net.limits[kLimitSmallTable] = kMaxSmallTable;
  net.limits[kLimitDistanceLines] = kMaxDistanceLines;
  net.limits[kLimitReserved] = 128;

  // Diagram fonts and ellipse display.
  SetStartingDiagramFonts(net);
  net.displayMode = 0;
  net.maxEllipseRadius = 6.0;
  net.maxSemiAxis = 0.0;
  net.ellipseScale = 1.0;
  net.warningDistance = 100.0;
  net.breakthroughWarning = 1;
}

}  // namespace qp
