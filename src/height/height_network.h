// The height control network record: settings, the point list with heights,
// the plane coordinates of the diagram, the height differences, the precision
// pairs, the closure table, capacities, results and diagram settings. It is
// the byte image stored in the second section of a .NAH file, so every field
// keeps its width and position. Allocate it on the heap (about 580 KiB).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "height/height_kinds.h"

namespace qp {

inline constexpr int kMaxHeightPoints = 2048;
inline constexpr int kMaxHeightDifferences = 2560;
inline constexpr int kMaxHeightPairs = 64;
inline constexpr int kMaxLoopEntries = 1024;
inline constexpr int kHeightNameSlot = 11;
// Errors of the first 2048 height differences sit in one block, those of the
// rest in a second one near the end of the record (see DifferenceError).
inline constexpr int kLowDifferenceErrors = 2048;

using HeightNameSlot = char[kHeightNameSlot];

// Indices into HeightNetwork::capacities.
enum HeightCapacity : int {
  kCapacityPoints = 0,       // 2048 points
  kCapacityDifferences = 1,  // 2560 height differences
  kCapacityPairs = 2,        // 64 precision pairs
  kCapacityLoops = 3,        // 1024 closure-table entries
};

// One entry of the closure table.
struct LoopEntry {
  HeightNameSlot names[4];  // 0, the loop's points in order; unused slots empty
  float closure;            // 44, mm
  int32_t sections[4];      // 48, sections of each line of the loop, 0 where none
  int32_t kind;             // 64, LoopKind
  uint8_t pad68[4];
  double labelX;            // 72, position of the closure text (m)
  double labelY;            // 80
  uint8_t drawFlag;         // 88, 1: the closure is written on the diagram
  uint8_t pad89[7];
};
static_assert(sizeof(LoopEntry) == 96);

struct HeightNetwork {
  int32_t mode;                         // 0, HeightMode
  int32_t derivedFlag;                  // 4, 1: derived from a plane network
  int32_t kind;                         // 8, HeightKind
  uint8_t pad12[4];
  double sigma0;                        // 16, mm
  double largestCorrection;             // 24, mm
  char networkName[65];                 // 32
  char dataFilePath[263];               // 97
  double priorError;                    // 360, mm

  int32_t knownCount;                   // 368
  int32_t approxCount;                  // 372
  int32_t unknownPointCount;            // 376
  int32_t pointCount;                   // 380
  int32_t unknownCount;                 // 384
  int32_t redundancy;                   // 388
  int32_t nameCount;                    // 392
  HeightNameSlot nameList[kMaxHeightPoints];   // 396, the dialog's name list
  HeightNameSlot pointName[kMaxHeightPoints];  // 22924, known, approximate, then the rest
  uint8_t pad45452[4];
  double height[kMaxHeightPoints];      // 45456, m

  // Per point results and diagram layout.
  float heightError[kMaxHeightPoints];  // 61840, m_H (mm), 0 for known points
  double diagramX[kMaxHeightPoints];    // 70032, diagram position (m)
  double diagramY[kMaxHeightPoints];    // 86416
  float labelOffsetX[kMaxHeightPoints]; // 102800, name label offset (paper mm)
  float labelOffsetY[kMaxHeightPoints]; // 110992

  int32_t coordinateCount;              // 119184
  HeightNameSlot coordinateName[kMaxHeightPoints];  // 119188
  uint8_t pad141716[4];
  double coordinateX[kMaxHeightPoints]; // 141720
  double coordinateY[kMaxHeightPoints]; // 158104

  int32_t observationCount;             // 174488
  uint8_t pad174492[4];
  double observed[kMaxHeightDifferences];       // 174496, m
  double weightElement[kMaxHeightDifferences];  // 194976
  float differenceErrorLow[kLowDifferenceErrors];  // 215456, mm
  HeightNameSlot from[kMaxHeightDifferences];   // 223648
  HeightNameSlot to[kMaxHeightDifferences];     // 251808
  double curve[kMaxHeightDifferences][kCurvePointCount][2];  // 279968, (X, Y) control points (m)

  int32_t pairCount;                    // 484768
  HeightNameSlot pairFrom[kMaxHeightPairs];  // 484772
  HeightNameSlot pairTo[kMaxHeightPairs];    // 485476
  uint8_t pad486180[4];
  double pairDifference[kMaxHeightPairs];   // 486184, H_to - H_from (m)
  float pairError[kMaxHeightPairs];         // 486696, mm

  int32_t loopCount;                    // 486952
  uint8_t pad486956[4];
  LoopEntry loops[kMaxLoopEntries];     // 486960

  // Diagram fonts, laid out as in the plane record.
  char numberFontFace[32];              // 585264
  float numberFontHeight;               // 585296, mm
  float numberFontWidth;                // 585300
  char textFontFace[32];                // 585304
  int32_t textColour;                   // 585336
  float textFontHeight;                 // 585340
  float textFontWidth;                  // 585344
  uint8_t reserved585348[4];

  int32_t capacities[4];                // 585352
  int32_t derivedMarker;                // 585368, -1 entered; else derived point count
  int32_t diagramKind;                  // 585372, 0..3
  int32_t lastComputedPointCount;       // 585376, -1: never computed
  uint8_t pad585380[4];
  float differenceErrorHigh[kMaxHeightDifferences - kLowDifferenceErrors];  // 585384
  uint8_t reserved587432[591872 - 587432];
};

inline constexpr size_t kHeightNetworkSize = 591872;
static_assert(sizeof(HeightNetwork) == kHeightNetworkSize);

// Resets the record to a new, empty network whose data file is `dataFilePath` (GBK).
void ResetHeightNetwork(HeightNetwork& net, std::string_view dataFilePath);

// The error (mm) of adjusted height difference `i`.
float DifferenceError(const HeightNetwork& net, int i);
void SetDifferenceError(HeightNetwork& net, int i, float error);

// The number of entries a table may take: the record's capacity, kept within
// the array that holds the table and never negative, so a damaged data file
// can neither overflow an array nor disable a table by accident.
int HeightCapacityOf(const HeightNetwork& net, HeightCapacity which);

// A count of the record kept within [0, capacity].
int BoundedCount(int32_t count, int capacity);

}  // namespace qp
