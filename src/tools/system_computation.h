// Old/new system transformation ("坐标系统转换对话框"): plane coordinates of an
// old system are carried into a new one through common points, known in both.
// The transformation is conformal, a complex polynomial of degree 1 to 3 in the
// old coordinates reduced to their centroid, estimated by least squares.
//
// The record below is the byte image of the .TRS file. Point arrays are
// indexed from 1; slot 0 is not used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qp {

inline constexpr int kSystemListCapacity = 1019;  // points in each list, slots 1..1019
inline constexpr size_t kSystemFileSize = 71864;

struct SystemTransformFile {
  int32_t oldCount;
  int32_t newCount;
  int32_t commonCount;            // m, common points found
  char oldNames[1024][11];
  uint8_t unused11276[4];
  double oldX[1024];
  double oldY[1024];
  double transformedX[1024];      // old points carried into the new system
  double transformedY[1024];
  char newNames[1024][11];
  double newX[1024];
  double newY[1024];
  double sigma;                   // mm, written when there are redundant common points
  int32_t parameterCount;         // f = 4, 6 or 8
  uint8_t unused71708[4];
  double parameters[10];          // entries 1..f
  char title[72];                 // at most 32 bytes and a zero
};

static_assert(sizeof(SystemTransformFile) == kSystemFileSize);
static_assert(offsetof(SystemTransformFile, oldCount) == 0);
static_assert(offsetof(SystemTransformFile, newCount) == 4);
static_assert(offsetof(SystemTransformFile, commonCount) == 8);
static_assert(offsetof(SystemTransformFile, oldNames) == 12);
static_assert(offsetof(SystemTransformFile, unused11276) == 11276);
static_assert(offsetof(SystemTransformFile, oldX) == 11280);
static_assert(offsetof(SystemTransformFile, oldY) == 19472);
static_assert(offsetof(SystemTransformFile, transformedX) == 27664);
static_assert(offsetof(SystemTransformFile, transformedY) == 35856);
static_assert(offsetof(SystemTransformFile, newNames) == 44048);
static_assert(offsetof(SystemTransformFile, newX) == 55312);
static_assert(offsetof(SystemTransformFile, newY) == 63504);
static_assert(offsetof(SystemTransformFile, sigma) == 71696);
static_assert(offsetof(SystemTransformFile, parameterCount) == 71704);
static_assert(offsetof(SystemTransformFile, unused71708) == 71708);
static_assert(offsetof(SystemTransformFile, parameters) == 71712);
static_assert(offsetof(SystemTransformFile, title) == 71792);

// Pairs the points of the new list with those of the old list of the same
// name, moves the common points to the front of both lists (in the order of
// the new list), estimates the transformation and carries every old point
// into the new system. The message (GBK) of the first thing that failed, or
// empty when it did not: a name matched twice, fewer than two common points,
// a new point without an old one, or common points too close to solve (the
// lists are reordered and some results written then).
std::string FitSystemTransform(SystemTransformFile& image);

}  // namespace qp
