// Independent coordinate system ("独立坐标系统建立与计算"). A project's local
// plane system is a Gauss-Krüger projection whose central meridian passes
// through a reference point, computed on the national ellipsoid raised by the
// projection surface height H and shifted so that the reference point gets its
// set coordinates. Point lists are converted national -> independent and back,
// within a valid radius of the reference point.
//
// The record below is the byte image of the .SLT file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qp {

enum IndependentMode : int { kNationalToIndependent = 0, kIndependentToNational = 1 };

inline constexpr int kIndependentCapacity = 1024;
inline constexpr size_t kIndependentFileSize = 55744;

struct IndependentSystemFile {
  int32_t mode;                  // 0 national -> independent, 1 independent -> national
  char systemName[65];           // report title, 1..32 bytes
  char referenceName[11];
  double meridian;               // national central meridian of the reference point, D.MS
  double referenceX;             // national coordinates of the reference point
  double referenceY;             // without zone number
  double referenceL;             // computed longitude, D.MS
  double referenceB;             // computed latitude, D.MS
  double referenceXH;            // reference point on the raised surface around its own meridian
  double referenceYH;            // 500000 by construction
  int32_t system;                // 0 System54, 1 System80
  uint8_t unused140[4];
  double height;                 // projection surface height H, m
  double setX;                   // the reference point in the independent system
  double setY;
  double radius;                 // valid radius, at least 1000 m
  uint8_t confirmed;             // 1 once the reference data are frozen
  uint8_t unused177[3];
  int32_t nationalCount;
  char nationalNames[kIndependentCapacity][11];
  double nationalX[kIndependentCapacity];
  double nationalY[kIndependentCapacity];
  int32_t independentCount;
  char independentNames[kIndependentCapacity][11];
  uint8_t unused39100[4];
  double independentX[kIndependentCapacity];
  double independentY[kIndependentCapacity];
  uint8_t reserved[256];
};

static_assert(sizeof(IndependentSystemFile) == kIndependentFileSize);
static_assert(offsetof(IndependentSystemFile, mode) == 0);
static_assert(offsetof(IndependentSystemFile, systemName) == 4);
static_assert(offsetof(IndependentSystemFile, referenceName) == 69);
static_assert(offsetof(IndependentSystemFile, meridian) == 80);
static_assert(offsetof(IndependentSystemFile, referenceX) == 88);
static_assert(offsetof(IndependentSystemFile, referenceY) == 96);
static_assert(offsetof(IndependentSystemFile, referenceL) == 104);
static_assert(offsetof(IndependentSystemFile, referenceB) == 112);
static_assert(offsetof(IndependentSystemFile, referenceXH) == 120);
static_assert(offsetof(IndependentSystemFile, referenceYH) == 128);
static_assert(offsetof(IndependentSystemFile, system) == 136);
static_assert(offsetof(IndependentSystemFile, unused140) == 140);
static_assert(offsetof(IndependentSystemFile, height) == 144);
static_assert(offsetof(IndependentSystemFile, setX) == 152);
static_assert(offsetof(IndependentSystemFile, setY) == 160);
static_assert(offsetof(IndependentSystemFile, radius) == 168);
static_assert(offsetof(IndependentSystemFile, confirmed) == 176);
static_assert(offsetof(IndependentSystemFile, unused177) == 177);
static_assert(offsetof(IndependentSystemFile, nationalCount) == 180);
static_assert(offsetof(IndependentSystemFile, nationalNames) == 184);
static_assert(offsetof(IndependentSystemFile, nationalX) == 11448);
static_assert(offsetof(IndependentSystemFile, nationalY) == 19640);
static_assert(offsetof(IndependentSystemFile, independentCount) == 27832);
static_assert(offsetof(IndependentSystemFile, independentNames) == 27836);
static_assert(offsetof(IndependentSystemFile, unused39100) == 39100);
static_assert(offsetof(IndependentSystemFile, independentX) == 39104);
static_assert(offsetof(IndependentSystemFile, independentY) == 47296);
static_assert(offsetof(IndependentSystemFile, reserved) == 55488);

// One of the record's two point lists.
struct IndependentListSlots {
  char (*names)[11];
  double* x;
  double* y;
  int32_t& count;
};
inline IndependentListSlots NationalList(IndependentSystemFile& f) {
  return {f.nationalNames, f.nationalX, f.nationalY, f.nationalCount};
}
inline IndependentListSlots IndependentList(IndependentSystemFile& f) {
  return {f.independentNames, f.independentX, f.independentY, f.independentCount};
}

// Latitude and longitude of the reference point, and its place on the raised
// surface around its own meridian. The message (GBK) when the numbers
// overflow, empty when they did not.
std::string ComputeReference(IndependentSystemFile& image);

// Carries the points of the list `image.mode` converts from into the other
// list, each first checked against the valid radius around the reference
// point in its own system. The message (GBK) naming the first point too far
// or that cannot be converted, empty when there was none.
std::string ConvertPointList(IndependentSystemFile& image);

}  // namespace qp
