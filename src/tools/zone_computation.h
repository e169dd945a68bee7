// The record of the Gauss zone transformation, the byte image of its .GST
// data file, and the transformation of its points: plane coordinates are
// projected back to latitude and longitude around the old central meridian
// and forward again around the new one, on the same ellipsoid.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "common/rejected_entry.h"

namespace qp {

inline constexpr int kZoneCapacity = 1024;
inline constexpr size_t kZoneFileSize = 60512;

struct ZoneTransformFile {
  int32_t system;                     // 0 System54, 1 System80, 2 System2000, 3 WGS84 (combo index)
  int32_t count;                      // points, 0..1024
  double oldMeridian;                 // central meridian before, D.MS
  double newMeridian;                 // central meridian after, D.MS
  char names[kZoneCapacity][11];
  double oldX[kZoneCapacity];         // as entered
  double oldY[kZoneCapacity];         // as entered, possibly with the zone number
  double latitude[kZoneCapacity];     // D.MS
  double longitude[kZoneCapacity];    // D.MS
  double newX[kZoneCapacity];
  double newY[kZoneCapacity];         // with 500000 m false easting, no zone number
  char title[72];                     // at most 32 bytes and a zero
};

static_assert(sizeof(ZoneTransformFile) == kZoneFileSize);
static_assert(offsetof(ZoneTransformFile, system) == 0);
static_assert(offsetof(ZoneTransformFile, count) == 4);
static_assert(offsetof(ZoneTransformFile, oldMeridian) == 8);
static_assert(offsetof(ZoneTransformFile, newMeridian) == 16);
static_assert(offsetof(ZoneTransformFile, names) == 24);
static_assert(offsetof(ZoneTransformFile, oldX) == 11288);
static_assert(offsetof(ZoneTransformFile, oldY) == 19480);
static_assert(offsetof(ZoneTransformFile, latitude) == 27672);
static_assert(offsetof(ZoneTransformFile, longitude) == 35864);
static_assert(offsetof(ZoneTransformFile, newX) == 44056);
static_assert(offsetof(ZoneTransformFile, newY) == 52248);
static_assert(offsetof(ZoneTransformFile, title) == 60440);

// Fills the latitudes, longitudes and new coordinates of points 0..count-1.
// The first point that cannot be transformed (a northing beyond the pole, or
// numbers that overflow the series) is refused as line i of box 0, with its
// message; the points before it are filled then.
std::optional<RejectedEntry> TransformZonePoints(ZoneTransformFile& image);

// The number of the zone of width `widthDegrees` (3 or 6) whose central
// meridian is `meridianDms` (D.MS): 3-degree zone n lies on 3n degrees,
// 6-degree zone n on 6n - 3. None when the meridian is no such zone's: 117
// degrees is both 3-degree zone 39 and 6-degree zone 20, 114 only 3-degree
// zone 38.
std::optional<int> ZoneNumberOf(double meridianDms, int widthDegrees);

}  // namespace qp
