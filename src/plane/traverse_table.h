// The record's traverse table: the traverses the closure check found, kept
// (result region C) for the adjustment's change check and for the network
// diagram. Layout, in bytes from the start of the record:
//
//   662505 .. 662511   7 bytes, zero (the table starts 8-aligned)
//   662512 .. 769007   the traverse table: 1024 entries of 104 bytes
//   769008 .. 777199   reserved, zero
//   777200             closure-check count: number of table entries in use
//
// One entry of the traverse table, offsets within the entry:
//
//     0  char[11]  start orientation point O
//    11  char[11]  start point P
//    22  char[11]  end point E
//    33  char[11]  end orientation point K
//    44  float     azimuth misclosure fβ (seconds; 9999.9 beyond ±9999)
//    48  float     X misclosure fx (cm)
//    52  float     Y misclosure fy (cm)
//    56  int32     number of legs P .. E
//    60  int32     kind code, 3 for a traverse
//    64  double    total length of the legs (m)
//    72  double    relative closure T (length / linear misclosure)
//    80  double    label X of the closure text (m), placed by the diagram
//    88  double    label Y (m)
//    96  uint8     drawing flag, 1 once the search has ended
//    97  7 bytes   zero
//
// The record region starts at an odd offset, so entries are moved in and out
// of the record byte-wise (memcpy), never through a pointer cast.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/name_slot.h"
#include "plane/plane_model.h"
#include "plane/plane_network.h"

namespace qp {

inline constexpr size_t kTraverseTableOffset = 662512;
inline constexpr size_t kTraverseEntrySize = 104;
static_assert(kTraverseTableOffset >= offsetof(PlaneNetwork, resultRegionC));
static_assert(kTraverseTableOffset % 8 == 0);
static_assert(kTraverseTableOffset + kMaxTraverses * kTraverseEntrySize <= offsetof(PlaneNetwork, closureCheckCount));

inline constexpr int32_t kTraverseKind = 3;

struct TraverseClosure {
  NameSlot startOrientation{};  // O
  NameSlot start{};             // P
  NameSlot end{};               // E
  NameSlot endOrientation{};    // K
  float azimuthMisclosure = 0.0f;  // seconds
  float fx = 0.0f;                 // cm
  float fy = 0.0f;                 // cm
  int32_t legs = 0;
  int32_t kind = kTraverseKind;
  double length = 0.0;    // m
  double relative = 0.0;  // T
  double labelX = 0.0;
  double labelY = 0.0;
  uint8_t drawn = 0;
};

// Number of traverse entries in use, kept within the table.
int TraverseCount(const PlaneNetwork& net);
TraverseClosure ReadTraverseClosure(const PlaneNetwork& net, int index);
void StoreTraverseClosure(PlaneNetwork& net, int index, const TraverseClosure& entry);
// Empties the traverse table (count 0, region C zero).
void ClearClosureChecks(PlaneNetwork& net);
// Removes the entries holding a value that is not finite (a damaged file);
// the later entries move up unchanged. Returns the number removed.
int DropNonFiniteTraverses(PlaneNetwork& net);

}  // namespace qp
