// The plane control network record: settings, every input table, the working
// tables derived from them, capacities, results and display settings. It is
// the byte image stored in the second section of a .NAP file, so every field
// keeps its width and position. Allocate it on the heap (about 780 KiB).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "plane/plane_kinds.h"

namespace qp {

inline constexpr int kNameSlotSize = 11;

using NameSlot = char[kNameSlotSize];

// Indices into PlaneNetwork::limits.
enum PlaneLimit : int {
  kLimitPoints = 0,         // 1024 coordinate points
  kLimitDirections = 1,     // 2048 directions and reduced distances
  kLimitSmallTable = 2,     // 64 entries of each small table
  kLimitDistanceLines = 3,  // 4096 distance lines
  kLimitReserved = 4,       // 128
};

struct PlaneNetwork {
  // General settings.
  int32_t calcMode;                       // 0
  float reservedSingle;                   // 4
  double refraction;                      // 8, K
  double projectionHeight;                // 16, H0 (m)
  double yOffset;                         // 24, false easting removed before the scale term
  int32_t lastComputedPointCount;         // 32, -1: never computed
  uint8_t reserved36[4];                  // 36
  double sigma0;                          // 40, seconds
  char networkName[65];                   // 48
  char dataFilePath[263];                 // 113
  double directionError;                  // 376, mu (seconds)
  double distanceFixedError;              // 384, a (mm)
  double distanceScaleError;              // 392, b (ppm)

  // Name list and point table.
  int32_t nameCount;                      // 400
  NameSlot nameList[kMaxPlanePoints];     // 404
  int32_t knownCount;                     // 11668
  int32_t approxCount;                    // 11672
  int32_t unknownPointCount;              // 11676
  int32_t nonStationCount;                // 11680
  int32_t pointCount;                     // 11684
  int32_t unknownCount;                   // 11688
  int32_t redundancy;                     // 11692
  double x[kMaxPlanePoints];              // 11696, north
  double y[kMaxPlanePoints];              // 19888, east
  double h[kMaxPlanePoints];              // 28080
  NameSlot pointName[kMaxPlanePoints];    // 36272

  // Directions: the working table sorted into sets, and the table as entered.
  int32_t directionCount;                 // 47536
  uint8_t pad47540[4];
  double direction[kMaxDirections];       // 47544, D.MS
  NameSlot directionStation[kMaxDirections];  // 63928
  NameSlot directionTarget[kMaxDirections];   // 86456
  double inputDirection[kMaxDirections];      // 108984, D.MS
  NameSlot inputStation[kMaxDirections];      // 125368
  NameSlot inputTarget[kMaxDirections];       // 147896
  int32_t setStart[kMaxPlanePoints + 8];      // 170424

  // Azimuths.
  int32_t fixedAzimuthCount;              // 174552
  uint8_t pad174556[4];
  double fixedAzimuth[kMaxSmallTable];    // 174560, D.MS
  NameSlot fixedAzimuthFrom[kMaxSmallTable];  // 175072
  NameSlot fixedAzimuthTo[kMaxSmallTable];    // 175776
  int32_t weightedAzimuthCount;           // 176480
  uint8_t pad176484[4];
  double weightedAzimuth[kMaxSmallTable];     // 176488, D.MS
  double weightedAzimuthWeight[kMaxSmallTable];  // 177000
  NameSlot weightedAzimuthFrom[kMaxSmallTable];  // 177512
  NameSlot weightedAzimuthTo[kMaxSmallTable];    // 178216

  // Reduced distances: the lengths the computation uses.
  int32_t reducedCount;                   // 178920
  uint8_t pad178924[4];
  double reducedLength[kMaxReducedDistances];     // 178928
  NameSlot reducedFrom[kMaxReducedDistances];     // 195312
  NameSlot reducedTo[kMaxReducedDistances];       // 217840
  double reducedHeightDiff[kMaxReducedDistances]; // 240368, from-point to to-point

  // Distance lines as entered.
  int32_t distanceLineCount;              // 256752
  uint8_t pad256756[4];
  double lineDistance[kMaxDistanceLines];     // 256760, horizontal or slope
  NameSlot lineFrom[kMaxDistanceLines];       // 289528
  NameSlot lineTo[kMaxDistanceLines];         // 334584
  float instrumentHeight[kMaxDistanceLines];  // 379640
  float targetHeight[kMaxDistanceLines];      // 396024
  double verticalAngle[kMaxDistanceLines];    // 412408, D.MS as typed

  // Fixed and weighted distances, known heights.
  int32_t fixedDistanceCount;             // 445176
  uint8_t pad445180[4];
  double fixedDistance[kMaxSmallTable];   // 445184
  NameSlot fixedDistanceFrom[kMaxSmallTable];  // 445696
  NameSlot fixedDistanceTo[kMaxSmallTable];    // 446400
  int32_t weightedDistanceCount;          // 447104
  uint8_t pad447108[4];
  double weightedDistance[kMaxSmallTable];       // 447112
  double weightedDistanceWeight[kMaxSmallTable]; // 447624
  NameSlot weightedDistanceFrom[kMaxSmallTable]; // 448136
  NameSlot weightedDistanceTo[kMaxSmallTable];   // 448840
  int32_t knownHeightCount;               // 449544
  NameSlot knownHeightName[kMaxSmallTable];  // 449548
  uint8_t pad450252[4];
  double knownHeight[kMaxSmallTable];     // 450256

  // Results, precision end-points, limits, display settings.
  uint8_t resultRegionA1[4096];           // 450768, drawing data
  float labelOffsetX[kMaxPlanePoints];    // 454864, paper mm
  float labelOffsetY[kMaxPlanePoints];    // 458960
  float pointE[kMaxPlanePoints];          // 463056, error ellipse semi-axes (cm)
  float pointF[kMaxPlanePoints];          // 467152
  float pointQ[kMaxPlanePoints];          // 471248, major-axis azimuth D.MS
  uint8_t resultRegionA2[8192];           // 475344, drawing data
  int32_t sideCount;                      // 483536
  NameSlot sideFrom[kMaxSides];           // 483540
  NameSlot sideTo[kMaxSides];             // 528596
  float sideMs[kMaxSides];                // 573652
  float sideMt[kMaxSides];                // 590036
  float sideE[kMaxSides];                 // 606420
  float sideF[kMaxSides];                 // 622804
  float sideQ[kMaxSides];                 // 639188
  uint8_t sideSymbol[kMaxSides];          // 655572
  int32_t precisionPairCount;             // 659668
  NameSlot pairFirst[kMaxSmallTable];     // 659672
  NameSlot pairSecond[kMaxSmallTable];    // 660376
  float pairMs[kMaxSmallTable];           // 661080
  float pairMt[kMaxSmallTable];           // 661336
  float pairE[kMaxSmallTable];            // 661592
  float pairF[kMaxSmallTable];            // 661848
  float pairQ[kMaxSmallTable];            // 662104
  char numberFontFace[32];                // 662360
  float numberFontHeight;                 // 662392, mm
  float numberFontWidth;                  // 662396
  char textFontFace[32];                  // 662400
  int32_t textColour;                     // 662432, 0x00BBGGRR of the diagram texts
  float textFontHeight;                   // 662436
  float textFontWidth;                    // 662440
  uint8_t reserved662444[4];
  int32_t limits[5];                      // 662448
  int32_t displayMode;                    // 662468
  double maxEllipseRadius;                // 662472, mm
  double maxSemiAxis;                     // 662480
  double ellipseScale;                    // 662488
  double warningDistance;                 // 662496, m
  uint8_t breakthroughWarning;            // 662504
  uint8_t resultRegionC[777200 - 662505]; // 662505, closure-check results
  int32_t closureCheckCount;              // 777200
  int32_t verticalAngleKind;              // 777204, 0 vertical angle, 1 zenith distance
  int32_t distanceColumnOrder;            // 777208
  int32_t closureMode;                    // 777212
  uint8_t resultRegionD[21504];           // 777216, drawing data
};

inline constexpr size_t kPlaneNetworkSize = 798720;
static_assert(sizeof(PlaneNetwork) == kPlaneNetworkSize);

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
inline constexpr int kTraverseTableSize = 1024;
inline constexpr size_t kTraverseTableOffset = 662512;
inline constexpr size_t kTraverseEntrySize = 104;
static_assert(kTraverseTableOffset >= offsetof(PlaneNetwork, resultRegionC));
static_assert(kTraverseTableOffset % 8 == 0);
static_assert(kTraverseTableOffset + kTraverseTableSize * kTraverseEntrySize <= offsetof(PlaneNetwork, closureCheckCount));

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

// Writes only the place of entry `index`'s closure text and its drawing flag
// (a flag that already says the same keeps its byte); the entry's other bytes
// stay as they are.
void StoreTraverseLabel(PlaneNetwork& net, int index, double labelX, double labelY, bool drawn);

// A count read from the record, kept within its array.
int ClampedCount(int32_t count, int capacity);

// Number of traverse entries in use, kept within the table.
int TraverseCount(const PlaneNetwork& net);
TraverseClosure ReadTraverseClosure(const PlaneNetwork& net, int index);
void StoreTraverseClosure(PlaneNetwork& net, int index, const TraverseClosure& entry);
// Empties the traverse table (count 0, region C zero).
void ClearClosureChecks(PlaneNetwork& net);
// Removes the entries holding a value that is not finite (a damaged file);
// the later entries move up unchanged. Returns the number removed.
int DropNonFiniteTraverses(PlaneNetwork& net);

// Resets the record to a new, empty network whose data file is `dataFilePath` (GBK).
void ResetPlaneNetwork(PlaneNetwork& net, std::string_view dataFilePath);

}  // namespace qp
